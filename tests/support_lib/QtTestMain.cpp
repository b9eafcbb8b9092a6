#include <gtest/gtest.h>

#include <QApplication>

extern "C" int kvtest_run_with_app(int argc, char** argv)
{
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
