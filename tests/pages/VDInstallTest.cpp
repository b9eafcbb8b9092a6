// The driver installer window: the command lines it gives the tool, the
// order of the runs, the registry value and the program's end.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QString>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "TestDirs.h"
#include "VDHelpers.h"
#include "VDInstallUnit.h"
#include "platform/Registry.h"

namespace {

using Calls = std::vector<std::vector<std::string>>;

// A stand-in tool: logs each call (one argument a line, "--" after each
// call) and ends "-check" with the code kept in probe-exit.
const char* kFakeTool = R"SH(#!/bin/sh
dir=$(dirname "$0")
for a in "$@"; do printf '%s\n' "$a"; done >> "$dir/calls.log"
echo -- >> "$dir/calls.log"
if [ "$1" = "-check" ]; then exit "$(cat "$dir/probe-exit")"; fi
exit 0
)SH";

Calls readCalls(const std::string& path)
{
    Calls calls;
    std::ifstream in(path);
    std::vector<std::string> call;
    for (std::string line; std::getline(in, line);) {
        if (line == "--") {
            calls.push_back(call);
            call.clear();
        } else {
            call.push_back(line);
        }
    }
    return calls;
}

int32_t readVDInstalled()
{
    platform::TRegistry reg(platform::KEY_READ);
    reg.RootKey = platform::HKEY_LOCAL_MACHINE;
    if (!reg.OpenKeyReadOnly("Software\\KorvantaInt\\General"))
        return -1;
    return reg.ReadInteger("VDInstalled");
}

void writeVDInstalled(int32_t value)
{
    platform::TRegistry reg;
    reg.RootKey = platform::HKEY_LOCAL_MACHINE;
    reg.OpenKey("Software\\KorvantaInt\\General", true);
    reg.WriteInteger("VDInstalled", value);
}

TEST(DrvInstCommandLineTest, LinesAreExactToTheCharacter)
{
    const QString folder = QStringLiteral("/opt/korvanta drive/");
    struct Case {
        QString actual;
        const char* expected;
    };
    const Case cases[] = {
        {DrvInstProbeParameters(), "-check ROOT\\VPortLite "},
        {DrvInstUpdateParameters(folder), "-update ROOT\\VPortLite \"/opt/korvanta drive/vportlite.inf\""},
        {DrvInstInstallParameters(folder), "-install ROOT\\VPortLite \"/opt/korvanta drive/vportlite.inf\""},
        {DrvInstRemoveParameters(),
         "-uninstall ROOT\\VPortLite \"You have to reboot your machine to complete uninstallation\""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.actual.toStdString(), c.expected);
}

struct RunCase {
    const char* name;
    int install;
    int probeExit;
    std::vector<const char*> expectedCommands;  // first argument of each call
    int32_t expectedVDInstalled;
};
void PrintTo(const RunCase& c, std::ostream* os) { *os << c.name; }

class VDInstallRunTest : public ::testing::TestWithParam<RunCase> {
protected:
    void SetUp() override
    {
        ResetApplicationTerminated();
        folder_ = dir_.path() + "/tool folder/";
        kvtest::writeFile(folder_ + "drvinst.exe", kFakeTool);
        ::chmod((folder_ + "drvinst.exe").c_str(), 0755);
        kvtest::writeFile(folder_ + "probe-exit", std::to_string(GetParam().probeExit));
        // The opposite of what the run must write.
        writeVDInstalled(GetParam().expectedVDInstalled == 1 ? 0 : 1);
    }

    kvtest::TempDir dir_;
    std::string folder_;
};

TEST_P(VDInstallRunTest, RunsTheToolWritesTheStateAndEnds)
{
    const RunCase& c = GetParam();
    TVDInstallForm form;
    form.ToolFolder = QString::fromStdString(folder_);
    form.install = c.install;
    form.FormActivate();

    const Calls calls = readCalls(folder_ + "calls.log");
    ASSERT_EQ(calls.size(), c.expectedCommands.size());
    const std::string inf = folder_ + "vportlite.inf";
    for (size_t i = 0; i < calls.size(); ++i) {
        const std::string command = c.expectedCommands[i];
        std::vector<std::string> expected{command, "ROOT\\VPortLite"};
        if (command == "-update" || command == "-install")
            expected.push_back(inf);  // one argument although the folder has a blank
        if (command == "-uninstall")
            expected.push_back("You have to reboot your machine to complete uninstallation");
        EXPECT_EQ(calls[i], expected) << "call " << i;
    }
    EXPECT_EQ(readVDInstalled(), c.expectedVDInstalled);
    EXPECT_TRUE(ApplicationTerminated());

    // Later activations do nothing.
    form.FormActivate();
    EXPECT_EQ(readCalls(folder_ + "calls.log").size(), calls.size());
}

INSTANTIATE_TEST_SUITE_P(Runs, VDInstallRunTest,
                         ::testing::Values(RunCase{"ProbeFindsDriverUpdates", 1, 0, {"-check", "-update"}, 1},
                                           RunCase{"ProbeMissesDriverInstalls", 1, 1, {"-check", "-install"}, 1},
                                           RunCase{"OtherProbeCodeInstalls", 1, 7, {"-check", "-install"}, 1},
                                           RunCase{"RemovalRunsOnlyTheRemoveLine", 0, 0, {"-uninstall"}, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(VDInstallMissingToolTest, StillRecordsInstalledAndEnds)
{
    kvtest::TempDir empty;
    ResetApplicationTerminated();
    writeVDInstalled(0);
    TVDInstallForm form;
    form.ToolFolder = QString::fromStdString(empty.path() + "/");
    form.install = 1;
    form.FormActivate();
    EXPECT_EQ(readVDInstalled(), 1);
    EXPECT_TRUE(ApplicationTerminated());
    EXPECT_EQ(form.cxProgressBar1->minimum(), 0);
    EXPECT_EQ(form.cxProgressBar1->maximum(), 0);  // a marquee bar
}

}  // namespace
