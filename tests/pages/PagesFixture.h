#pragma once

// Fixtures of the page tests: ISO images made by the test, the
// virtual-device driver installed into the test's own system folder, a
// watch over the loop devices and mounts the tests make, and an answerer
// for message boxes.

#include <QObject>
#include <QStringList>
#include <QTimer>

#include <string>
#include <vector>

#include "TestDirs.h"

namespace pagestest {

// Makes an ISO9660 image with one small file and the volume label Label.
// Throws when the image cannot be made.
void MakeIso(const std::string& path, const std::string& label);

// Installs the driver into the test's system folder with the built
// drvinst.exe; returns its exit code.
int InstallDriver();
// Runs drvinst.exe with the driver's uninstall line; returns its exit code.
int UninstallDriver();

// The loop device ("/dev/loopN") backed by File, "" when none.
std::string LoopDeviceOf(const std::string& file);
// Whether the loop device is read-only.
bool LoopIsReadOnly(const std::string& node);
// Mount points of /proc/mounts that lie under Folder.
std::vector<std::string> MountsUnder(const std::string& folder);

// Target ids of the driver's devices, in list order (empty when the list
// cannot be read).
std::vector<int32_t> ListedTargetIds();
// Adds a DVD device over the image; returns its target id, -1 on failure.
int32_t AddDevice(const std::string& image);
// The device's drive letter ("E"), "" when none.
std::string LetterOf(int32_t targetId);
// Removes every device of the driver, then detaches any loop device still
// backed by a file under ImagesFolder and unmounts what the driver mounted
// under the system folder.
void RemoveAllDevices(const std::string& imagesFolder);

// While alive, every message box that shows is recorded and answered with
// its first button.
class MessageBoxAnswerer : public QObject {
public:
    MessageBoxAnswerer();
    QStringList Texts;

private:
    QTimer timer_;
};

}  // namespace pagestest
