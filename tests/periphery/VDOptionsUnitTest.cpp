#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include <filesystem>
#include <ostream>
#include <vector>

#include "TestDirs.h"
#include "TrayUnit.h"
#include "VDMainUnit.h"
#include "VDOptionsUnit.h"
#include "platform/Paths.h"
#include "platform/Registry.h"

namespace {

const std::string kExpectedValue = platform::ExecutablePath() + " -tray";

std::string runValue()
{
    platform::TRegistry reg(platform::KEY_READ);
    if (!reg.OpenKeyReadOnly(kRunKey) || !reg.ValueExists(kTrayAutostartValue))
        return "<absent>";
    return reg.ReadString(kTrayAutostartValue);
}

void setRunValue(const char* text)
{
    platform::TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kRunKey, true));
    if (text)
        reg.WriteString(kTrayAutostartValue, text);
    else if (reg.ValueExists(kTrayAutostartValue))
        reg.DeleteValue(kTrayAutostartValue);
}

bool desktopEntryExists() { return std::filesystem::exists(TrayAutostartDesktopFile().toStdString()); }

class OptionsPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = ElevatedShellExecuteEx;
        ElevatedShellExecuteEx = [this](platform::TShellExecuteInfo& info) {
            started.push_back(info);
            return true;
        };
        setRunValue(nullptr);
        std::filesystem::remove(TrayAutostartDesktopFile().toStdString());
    }
    void TearDown() override { ElevatedShellExecuteEx = saved; }

    std::function<bool(platform::TShellExecuteInfo&)> saved;
    std::vector<platform::TShellExecuteInfo> started;
};

// What the user does on the page, and what the registry, the desktop entry
// and the started programs show afterwards.
struct PageCase {
    const char* name;
    const char* valueAtOpen;     // nullptr: no value
    const char* valueChangedTo;  // changed by another program after opening ("-" = delete, nullptr = no change)
    int clicks;                  // user clicks on the box
    bool boxAfterOpen;
    bool boxAtEnd;
    const char* valueAtEnd;      // "<absent>", "<exe>" or a literal
    bool desktopEntryAtEnd;
    size_t starts;
    friend void PrintTo(const PageCase& c, std::ostream* os) { *os << c.name; }
};

class OptionsPageCases : public OptionsPageTest, public ::testing::WithParamInterface<PageCase> {};

TEST_P(OptionsPageCases, BoxReflectsAndWritesTheRunValue)
{
    const PageCase& c = GetParam();
    setRunValue(c.valueAtOpen);
    TOptionsForm page(nullptr);
    page.FormCreate();
    EXPECT_EQ(page.cxCheckBox1->isChecked(), c.boxAfterOpen);

    if (c.valueChangedTo)
        setRunValue(std::string(c.valueChangedTo) == "-" ? nullptr : c.valueChangedTo);
    for (int i = 0; i < c.clicks; ++i)
        page.cxCheckBox1->click();

    EXPECT_EQ(page.cxCheckBox1->isChecked(), c.boxAtEnd);
    const std::string expected = std::string(c.valueAtEnd) == "<exe>" ? kExpectedValue : c.valueAtEnd;
    EXPECT_EQ(runValue(), expected);
    EXPECT_EQ(desktopEntryExists(), c.desktopEntryAtEnd);
    ASSERT_EQ(started.size(), c.starts);
    for (const auto& s : started) {
        EXPECT_EQ(s.Verb, "runas");
        EXPECT_EQ(s.File, platform::ExecutablePath());
        EXPECT_EQ(s.Parameters, "-tray");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OptionsPageCases,
    ::testing::Values(
        PageCase{"OpenWithoutValue", nullptr, nullptr, 0, false, false, "<absent>", false, 0},
        // Opening never writes nor starts anything.
        PageCase{"OpenWithValue", "old text", nullptr, 0, true, true, "old text", false, 0},
        PageCase{"TickWritesValueAndStartsTray", nullptr, nullptr, 1, false, true, "<exe>", true, 1},
        PageCase{"ClearDeletesValue", "old text", nullptr, 1, true, false, "<absent>", false, 0},
        PageCase{"TickOverValueWrittenElsewhere", nullptr, "other", 1, false, true, "<exe>", true, 1},
        PageCase{"ClearAfterDeletedElsewhere", "old text", "-", 1, true, false, "<absent>", false, 0},
        PageCase{"TickThenClear", nullptr, nullptr, 2, false, false, "<absent>", false, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(OptionsPageTest, SetUpLoadsCaptionsHidesCloseAndFollowsOutsideChanges)
{
    TOptionsForm page(nullptr);
    page.FormCreate();
    EXPECT_EQ(page.cxCheckBox1->text().toStdString(), "Run as &Tray on Startup");
    EXPECT_EQ(page.cxButton6->text().toStdString(), "&Close");
    EXPECT_TRUE(page.cxButton6->isHidden());
    EXPECT_FALSE(page.cxCheckBox1->isChecked());

    setRunValue("elsewhere");
    page.FormCreate();
    EXPECT_TRUE(page.cxCheckBox1->isChecked());
    setRunValue(nullptr);
    page.FormCreate();
    EXPECT_FALSE(page.cxCheckBox1->isChecked());
    EXPECT_TRUE(started.empty());
    EXPECT_EQ(runValue(), "<absent>");
}

TEST_F(OptionsPageTest, MainWindowDocksOnePageAndCloseReturnsToTiles)
{
    setRunValue("old text");
    TMainForm main;
    main.show();
    main.cxButton3Click();
    ASSERT_TRUE(OptionsForm);
    TOptionsForm* first = OptionsForm;
    EXPECT_EQ(first->parentWidget(), &main);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(CurrentTabIndex, 1);
    EXPECT_EQ(main.Label1->text().toStdString(), "Configuration");
    EXPECT_TRUE(first->cxCheckBox1->isChecked());

    // Every opening reads the value again; the page object stays the same.
    setRunValue(nullptr);
    first->cxButton6Click();
    EXPECT_EQ(CurrentTabIndex, -1);
    main.cxButton3Click();
    EXPECT_EQ(OptionsForm, first);
    EXPECT_FALSE(first->cxCheckBox1->isChecked());
    EXPECT_TRUE(started.empty());
    EXPECT_EQ(runValue(), "<absent>");
}

TEST_F(OptionsPageTest, DesktopEntryRunsTheSameCommand)
{
    SetTrayAutostart(true);
    const std::string entry = kvtest::readFile(TrayAutostartDesktopFile().toStdString());
    EXPECT_NE(entry.find("[Desktop Entry]\n"), std::string::npos);
    EXPECT_NE(entry.find("Type=Application\n"), std::string::npos);
    EXPECT_NE(entry.find("\nExec=" + DesktopExecLine(QString::fromStdString(platform::ExecutablePath())).toStdString() +
                         "\n"),
              std::string::npos)
        << entry;
    EXPECT_EQ(TrayAutostartDesktopFile().toStdString(),
              std::string(getenv("XDG_CONFIG_HOME")) + "/autostart/kvvd2021-tray.desktop");
    SetTrayAutostart(false);
    EXPECT_FALSE(desktopEntryExists());
    EXPECT_EQ(runValue(), "<absent>");
}

TEST_F(OptionsPageTest, UnreadableRegistryShowsOffAndChangesNothing)
{
    const std::string hive = platform::HiveFilePath(platform::HKEY_CURRENT_USER);
    kvtest::writeFile(hive, "this is no registry file\n");
    TOptionsForm page(nullptr);
    page.FormCreate();
    EXPECT_FALSE(page.cxCheckBox1->isChecked());
    page.cxCheckBox1->click();  // no exception, no start
    EXPECT_TRUE(page.cxCheckBox1->isChecked());
    EXPECT_TRUE(started.empty());
    EXPECT_FALSE(desktopEntryExists());
    EXPECT_EQ(kvtest::readFile(hive), "this is no registry file\n");
    std::filesystem::remove(hive);
}

struct ExecCase {
    const char* path;
    const char* exec;
};

TEST(DesktopExecLineTest, QuotesAndEscapesByTheDesktopEntryRules)
{
    const ExecCase cases[] = {
        {"/opt/kv/kvvd2021.exe", "/opt/kv/kvvd2021.exe -tray"},
        {"/opt/Program Files/kvvd2021.exe", "\"/opt/Program Files/kvvd2021.exe\" -tray"},
        {"/opt/100%/kvvd2021.exe", "/opt/100%%/kvvd2021.exe -tray"},
        {"/opt/a$b/x", "\"/opt/a\\\\$b/x\" -tray"},
        {"/opt/a\"b/x", "\"/opt/a\\\\\"b/x\" -tray"},
        {"/opt/a\\b/x", "\"/opt/a\\\\\\\\b/x\" -tray"},
        {"/opt/a\nExec=evil/x", "\"/opt/a\\nExec=evil/x\" -tray"},
    };
    for (const ExecCase& c : cases)
        EXPECT_EQ(DesktopExecLine(QString::fromUtf8(c.path)).toStdString(), c.exec) << c.path;
}

}  // namespace
