#include "PagesFixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QProcess>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "Burnkit.h"
#include "MakeDvdUnit.h"

namespace fs = std::filesystem;

namespace pagestest {

namespace {

std::string firstLine(const std::string& path)
{
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

int runDrvInst(const QStringList& args)
{
    const QString tool = QString::fromStdString(kvtest::runtimeDir()) + QStringLiteral("/drvinst.exe");
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(tool, args);
    if (!p.waitForFinished(30000))
        return -1;
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

}  // namespace

void MakeIso(const std::string& path, const std::string& label)
{
    kvtest::TempDir content;
    kvtest::writeFile(content.file("readme.txt"), "virtual drive test\n");
    QProcess p;
    p.start(QStringLiteral("xorriso"),
            {QStringLiteral("-as"), QStringLiteral("mkisofs"), QStringLiteral("-quiet"), QStringLiteral("-V"),
             QString::fromStdString(label), QStringLiteral("-o"), QString::fromStdString(path),
             QString::fromStdString(content.path())});
    if (!p.waitForFinished(30000) || p.exitCode() != 0 || !fs::exists(path))
        throw std::runtime_error("xorriso cannot make " + path + ": " + p.readAllStandardError().toStdString());
}

int InstallDriver()
{
    return runDrvInst({QStringLiteral("-install"), QStringLiteral("ROOT\\VPortLite"),
                       QString::fromStdString(kvtest::runtimeDir()) + QStringLiteral("/vportlite.inf")});
}

int UninstallDriver()
{
    return runDrvInst({QStringLiteral("-uninstall"), QStringLiteral("ROOT\\VPortLite"), QStringLiteral("bye")});
}

std::string LoopDeviceOf(const std::string& file)
{
    std::error_code ec;
    const fs::path wanted = fs::weakly_canonical(file, ec);
    for (const auto& entry : fs::directory_iterator("/sys/block", ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("loop", 0) != 0)
            continue;
        const std::string backing = firstLine(entry.path().string() + "/loop/backing_file");
        if (!backing.empty() && fs::path(backing) == wanted)
            return "/dev/" + name;
    }
    return {};
}

bool LoopIsReadOnly(const std::string& node)
{
    return firstLine("/sys/block/" + fs::path(node).filename().string() + "/ro") == "1";
}

std::vector<std::string> MountsUnder(const std::string& folder)
{
    std::vector<std::string> result;
    std::ifstream in("/proc/mounts");
    std::string device, mountPoint, rest;
    while (in >> device >> mountPoint && std::getline(in, rest))
        if (mountPoint.rfind(folder, 0) == 0)
            result.push_back(mountPoint);
    return result;
}

std::vector<int32_t> ListedTargetIds()
{
    TVPortDeviceListBuffer list;
    int32_t count = 0;
    uint32_t systemError = 0;
    std::vector<int32_t> ids;
    if (Burnkit_VPort_DeviceListQueryLocal(list.Data(), TVPortDeviceListBuffer::Size, &count, &systemError) !=
        EN_SUCCESS)
        return ids;
    for (int32_t i = 1; i <= TVPortDeviceListBuffer::Readable(count); ++i)
        ids.push_back(list.Entry(i).m__LONG__TargetId);
    return ids;
}

int32_t AddDevice(const std::string& image)
{
    int32_t id = -1;
    uint32_t systemError = 0;
    if (Burnkit_VPort_DeviceAddLocalEx(VPORT_DEVICE_TYPE_DVD, image.c_str(), &id, 0, &systemError) != EN_SUCCESS)
        return -1;
    return id;
}

std::string LetterOf(int32_t targetId)
{
    char letter[1024] = {};
    uint32_t systemError = 0;
    if (Burnkit_VPort_GetDeviceLetter(targetId, letter, &systemError) != EN_SUCCESS)
        return {};
    return letter;
}

void RemoveAllDevices(const std::string& imagesFolder)
{
    uint32_t systemError = 0;
    for (int32_t id : ListedTargetIds())
        Burnkit_VPort_DeviceRemove(id, &systemError);
    // Whatever the driver could not take back, the test takes back itself.
    for (const std::string& mountPoint : MountsUnder(kvtest::systemDir()))
        QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), QString::fromStdString(mountPoint)});
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(imagesFolder, ec)) {
        const std::string node = LoopDeviceOf(entry.path().string());
        if (!node.empty())
            QProcess::execute(QStringLiteral("losetup"), {QStringLiteral("-d"), QString::fromStdString(node)});
    }
}

MessageBoxAnswerer::MessageBoxAnswerer()
{
    connect(&timer_, &QTimer::timeout, this, [this] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (!box || !box->isVisible() || box->buttons().isEmpty())
                continue;
            Texts << box->text();
            box->buttons().first()->click();
        }
    });
    timer_.start(20);
}

}  // namespace pagestest
