#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

extern "C" int kvtest_run_with_app(int argc, char** argv)
{
    // Tests never need a display, also when CTest lists them at build time.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
