#include <gtest/gtest.h>

#include <QFont>

#include "CasePrint.h"
#include "VDMainSequence.h"
#include "VDMainUnit.h"

namespace {

std::vector<std::string> Words(const QStringList& args)
{
    std::vector<std::string> words;
    for (const QString& a : args)
        words.push_back(a.toStdString());
    return words;
}

struct TModeCase {
    QStringList args;  // without the executable
    TStartMode mode;
};
void PrintTo(const TModeCase& c, std::ostream* os) { *os << kvtest::Arguments(Words(c.args)); }

class StartModeTest : public ::testing::TestWithParam<TModeCase> {};

TEST_P(StartModeTest, ChoosesTheBranchOfTheArgumentVector)
{
    QStringList args{QStringLiteral("kvvd2021.exe")};
    args += GetParam().args;
    EXPECT_EQ(ClassifyCommandLine(args), GetParam().mode) << args.join(' ').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Forms, StartModeTest,
    ::testing::Values(TModeCase{{}, TStartMode::smNormal},
                      TModeCase{{"-installvd"}, TStartMode::smInstallDriver},
                      TModeCase{{"-installvd", "-tray"}, TStartMode::smInstallDriver},
                      TModeCase{{"-installvd", "-uninstallvd"}, TStartMode::smInstallDriver},
                      TModeCase{{"-uninstallvd"}, TStartMode::smUninstallDriver},
                      TModeCase{{"-uninstallvd", "x", "y"}, TStartMode::smUninstallDriver},
                      TModeCase{{"-tray"}, TStartMode::smTray},
                      TModeCase{{"-tray", "x"}, TStartMode::smNormal},
                      TModeCase{{"x", "-tray"}, TStartMode::smNormal},
                      TModeCase{{"x", "-installvd"}, TStartMode::smNormal},
                      TModeCase{{"-TRAY"}, TStartMode::smNormal},
                      TModeCase{{"-INSTALLVD"}, TStartMode::smNormal},
                      TModeCase{{"/add", "a.iso"}, TStartMode::smNormal},
                      TModeCase{{"/remove"}, TStartMode::smNormal}));

struct TActivationCase {
    QStringList args;  // without the executable
    QString addImage;
    QString removeDrive;
    bool removeRoad;
    bool addRoad;
};
void PrintTo(const TActivationCase& c, std::ostream* os) { *os << kvtest::Arguments(Words(c.args)); }

class ActivationCommandTest : public ::testing::TestWithParam<TActivationCase> {};

TEST_P(ActivationCommandTest, ReadsImageAndDriveFromTheCommandLine)
{
    const auto& c = GetParam();
    QStringList args{QStringLiteral("kvvd2021.exe")};
    args += c.args;
    // Only "/data/a.iso" and "-tray" exist as files here.
    const auto exists = [](const QString& f) { return f == "/data/a.iso" || f == "-TRAY"; };
    const TActivationCommand cmd = ParseActivationCommand(args, exists);
    SCOPED_TRACE(args.join(' ').toStdString());
    EXPECT_EQ(cmd.CmdAddImage, c.addImage);
    EXPECT_EQ(cmd.CmdRemoveDrive, c.removeDrive);
    EXPECT_EQ(cmd.RemoveRoad, c.removeRoad);
    EXPECT_EQ(cmd.AddRoad, c.addRoad);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ActivationCommandTest,
    ::testing::Values(TActivationCase{{}, "", "", false, false},
                      TActivationCase{{"/add"}, "", "", false, true},
                      TActivationCase{{"/add", "/data/a.iso"}, "/data/a.iso", "", false, true},
                      // a path is taken only with exactly two arguments
                      TActivationCase{{"/add", "/data/a.iso", "x"}, "", "", false, true},
                      TActivationCase{{"/add", "/missing.iso"}, "/missing.iso", "", false, true},
                      TActivationCase{{"/remove"}, "", "", true, false},
                      TActivationCase{{"/remove", "e"}, "", "e:\\", true, false},
                      TActivationCase{{"/remove", "e:"}, "", "e:\\", true, false},
                      TActivationCase{{"/remove", "e:\\"}, "", "e:\\", true, false},
                      TActivationCase{{"/remove", "e", "f"}, "", "", true, false},
                      TActivationCase{{"/data/a.iso"}, "/data/a.iso", "", false, true},
                      TActivationCase{{"/data/a.iso", "x", "y"}, "/data/a.iso", "", false, true},
                      TActivationCase{{"/missing.iso"}, "", "", false, false},
                      // keywords compare with case
                      TActivationCase{{"/ADD", "/data/a.iso"}, "", "", false, false},
                      TActivationCase{{"-TRAY"}, "-TRAY", "", false, true},
                      TActivationCase{{"/REMOVE", "e"}, "", "", false, false}));

TEST(DefaultFontTest, GrowsOnePointFrom250DotsPerInch)
{
    QFont icon(QStringLiteral("DejaVu Sans"));
    icon.setPointSize(9);
    EXPECT_EQ(DefaultFontFor(icon, 96).pointSize(), 9);
    EXPECT_EQ(DefaultFontFor(icon, 249).pointSize(), 9);
    EXPECT_EQ(DefaultFontFor(icon, 250).pointSize(), 10);
    EXPECT_EQ(DefaultFontFor(icon, 250).family(), icon.family());
}

}  // namespace
