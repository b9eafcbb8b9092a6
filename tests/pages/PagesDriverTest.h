#pragma once

// A main window over the installed virtual-device driver, in the test's own
// user and system folders. Needs root (loop devices); every device, loop
// device and mount the test made is taken back afterwards.

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>

#include <memory>
#include <string>

#include "PagesFixture.h"
#include "TestDirs.h"

class TMainForm;

class PagesDriverTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A new ISO image in the test's image folder.
    std::string NewIso(const std::string& name, const std::string& label);
    // Starts the main window as the program would with these arguments
    // (after argument 0).
    void StartMainForm(const QStringList& arguments);
    // The paths the shell was asked to open (through xdg-open), waiting up to
    // a few seconds for Count of them.
    QStringList OpenedPaths(int Count);

    kvtest::TempDir images_;
    kvtest::TempDir bin_;
    std::string savedPath_;
    TMainForm* form_ = nullptr;
};
