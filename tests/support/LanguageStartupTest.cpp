#include "EnvGuard.h"
#include "KVLanguages.h"
#include "LangFixture.h"
#include "LanguageSetup.h"
#include "LanguageStartup.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <filesystem>
#include <set>

#include <platform/Registry.h>

namespace {

using langtest::LangFixture;
using langtest::LocaleEnv;

// Runs the program's start-up over the shipped language files.
class LanguageStartup : public LangFixture {
protected:
    void SetUp() override
    {
        LangFixture::SetUp();
        namespace fs = std::filesystem;
        exeDir = dir.path() + "/";
        for (const char* folder : {"lang", "Languages"})
            fs::copy(fs::path(KV_LANG_RESOURCES_DIR) / folder, exeDir + folder,
                     fs::copy_options::recursive);
        for (auto root : {platform::HKEY_CURRENT_USER, platform::HKEY_LOCAL_MACHINE}) {
            platform::TRegistry reg;
            reg.RootKey = root;
            reg.DeleteKey("Software\\KorvantaInt");
        }
    }
    void TearDown() override
    {
        FinalizeLanguageSupport();
        KVStrings_Initialize();
        KVBStrings_Initialize();
        LangFixture::TearDown();
    }
    std::string exeDir;
};

TEST_F(LanguageStartup, GermanLocaleShowsGermanWindows)
{
    LocaleEnv env("de_DE.UTF-8");
    std::vector<std::pair<platform::TResStringRec*, QString>> englishTexts;
    for (auto* rec : allRecords())
        englishTexts.emplace_back(rec, QString::fromStdU16String(platform::DefaultLoadResString(rec)));
    ASSERT_EQ(englishTexts.size(), 180u);

    InitializeLanguageSupport(exeDir);
    EXPECT_EQ(LanguageCount, 1);
    EXPECT_EQ(LanguageTable[1].name, "Deutsch (Deutschland)");
    QString code;
    SetupLanguage(code, exeDir);
    EXPECT_EQ(code, "G");
    EXPECT_EQ(LanguageCulture, "de-de");

    const struct {
        const platform::TResStringRec* rec;
        QString text;
    } cases[] = {
        {&SAddVirtualDrive, "Virtuelles Laufwerk hinzufügen"},
        {&SColumnDeviceName, "Gerätename"},
        {&SRefresh, "&Aktualisieren"},
        {&SClose, "&Schließen"},
        {&SVirtualDrive, "&Virtuelles Laufwerk"},
        {&SAPPNAMEImages, "Korvanta 2021 Abbilder"},
        {&SMsgDlgYes, "&Ja"},
        {&SMsgDlgCancel, "&Abbrechen"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ResStr(*c.rec), c.text) << c.rec->Identifier;

    // Every text of the product is translated, except those that read the
    // same in German.
    const std::set<QString> same = {"OK", "ID", "Internet", "ISO/Joliet (ANSI)", "UDF (Unicode)", "Information", "... Disc"};
    for (const auto& [rec, english] : englishTexts) {
        if (same.count(english))
            continue;
        EXPECT_NE(ResStr(*rec), english) << rec->Identifier;
    }

    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text(), "&Ja");
    EXPECT_EQ(box.button(QMessageBox::No)->text(), "&Nein");
}

TEST_F(LanguageStartup, EnglishLocaleKeepsEnglishTexts)
{
    LocaleEnv env("en_US.UTF-8");
    InitializeLanguageSupport(exeDir);
    QString code = "x";
    SetupLanguage(code, exeDir);
    EXPECT_EQ(code, "");
    EXPECT_EQ(ResStr(SAddVirtualDrive), "Add Virtual Drive");
    EXPECT_EQ(ResStr(SAPPNAMEImages), "Korvanta 2021 Images");
    EXPECT_EQ(ResStr(SMsgDlgYes), "&Yes");
}

}  // namespace
