#include "BrmLangTranslator.h"
#include "LangFixture.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QMessageBox>

namespace {

using langtest::counters;
using langtest::LangFixture;
using langtest::poFile;

// A module of its own, so the tests never touch the program's texts.
platform::HINSTANCE testModule = 0x7e57;

struct HookCall {
    QString id, def, found;
    intptr_t data = -1;
};
HookCall lastHook;
QString hookAnswer;

void recordingHook(const QString& sId, const QString& sDefault, const QString& sFound, intptr_t data,
                   QString& result)
{
    lastHook = {sId, sDefault, sFound, data};
    result = hookAnswer.isNull() ? sFound : hookAnswer;
}

class BrmLang2 : public LangFixture {
protected:
    void SetUp() override
    {
        LangFixture::SetUp();
        lastHook = {};
        hookAnswer = QString();
        kvtest::writeFile(dir.file("lang/de.po"),
                          poFile("G", "de-de", {{"&Refresh", "&Aktualisieren"}, {"Nothing", "Nichts"}}));
        ASSERT_TRUE(TBrmLangManager::add(QString::fromStdString(dir.path() + "/lang/"), "kvvd", "bmvd"));
    }
    static QString load(const platform::TResStringRec& rec)
    {
        return QString::fromStdU16String(loadResStringTranslated(&rec));
    }
};

TEST_F(BrmLang2, LookupKeyIsThePrefixAndTheUnchangedSourceText)
{
    OnLocalString = recordingHook;
    load(SRefresh);
    EXPECT_EQ(lastHook.id, QStringLiteral("pas.resourcestring.&Refresh"));
    EXPECT_EQ(lastHook.def, QStringLiteral("&Refresh"));
    EXPECT_EQ(lastHook.found, QStringLiteral("&Refresh"));  // no language selected: the default
    EXPECT_EQ(lastHook.data, 0);

    // Blanks at the ends stay part of the key.
    load(SRename);
    EXPECT_EQ(lastHook.id, QStringLiteral("pas.resourcestring.R&ename "));
}

TEST_F(BrmLang2, SourceTextComesFromTableOrReplacementAddress)
{
    static const char16_t replacement[] = u"Replacement text";
    ASSERT_GT(reinterpret_cast<uintptr_t>(replacement), 0xFFFFu);
    platform::RegisterString(testModule, 65535, u"Last table entry");
    const std::u16string longText(5000, u'x');
    platform::RegisterString(testModule, 7, longText);

    struct {
        platform::TResStringRec rec;
        QString expected;
    } cases[] = {
        {{&testModule, 65535}, QStringLiteral("Last table entry")},
        {{&testModule, reinterpret_cast<uintptr_t>(replacement)}, QStringLiteral("Replacement text")},
        {{&testModule, 7}, QString(4095, QLatin1Char('x'))},  // cut like a 4096-unit buffer
        {{&testModule, 12345}, QString()},                     // missing entry
    };
    OnLocalString = recordingHook;
    for (const auto& c : cases) {
        lastHook = {};
        EXPECT_EQ(load(c.rec), c.expected);
        EXPECT_EQ(lastHook.def, c.expected);
        EXPECT_EQ(lastHook.id, QStringLiteral("pas.resourcestring.") + c.expected);  // asked even when empty
    }
    EXPECT_EQ(loadResStringTranslated(nullptr), u"");
}

TEST_F(BrmLang2, HookResultReplacesTheAnswer)
{
    setCurrentLanguage("G");
    EXPECT_EQ(load(SRefresh), QStringLiteral("&Aktualisieren"));  // no hook: the library's answer

    OnLocalString = recordingHook;
    hookAnswer = QStringLiteral("From hook");
    EXPECT_EQ(load(SRefresh), QStringLiteral("From hook"));
    EXPECT_EQ(lastHook.found, QStringLiteral("&Aktualisieren"));

    hookAnswer = QLatin1String("");
    EXPECT_EQ(load(SRefresh), QString());  // an empty hook result is returned as is
}

TEST_F(BrmLang2, NullLibraryAnswerReadsAsEmpty)
{
    auto before = counters();
    EXPECT_EQ(TBrmLangManager::getLocalString("pas.resourcestring.", ""), QString());
    auto after = counters();
    EXPECT_EQ(after.nullsOut - before.nullsOut, 1);
    EXPECT_EQ(after.nullsFreed - before.nullsFreed, 1);
}

TEST_F(BrmLang2, EveryLoadAsksTheLibraryAgain)
{
    setCurrentLanguage("de-de");
    auto before = counters();
    EXPECT_EQ(load(SRefresh), QStringLiteral("&Aktualisieren"));
    EXPECT_EQ(load(SRefresh), QStringLiteral("&Aktualisieren"));
    auto after = counters();
    EXPECT_EQ(after.stringsOut - before.stringsOut, 2);
    EXPECT_EQ(after.stringsFreed - before.stringsFreed, 2);
}

TEST_F(BrmLang2, LanguageFileHandleIsReleasedWithTheLastReference)
{
    EXPECT_EQ(TBrmLangManager::getCount("bmvd"), 1);
    EXPECT_FALSE(TBrmLangManager::getLanguageFile("bmvd", 1));
    IBrmLangFilePtr first = TBrmLangManager::getLanguageFile("bmvd", 0);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->getLanguageID(), QStringLiteral("G"));
    EXPECT_EQ(first->getAppID(), QStringLiteral("kvvd, bmvd, kvzip, bmzip"));
    EXPECT_EQ(first->getNativeName(), QString());  // not declared: null from the library
    IBrmLangFilePtr second = first;
    first.reset();
    EXPECT_EQ(counters().filesFreed, 0);
    second.reset();
    EXPECT_EQ(counters().filesFreed, 1);
}

TEST_F(BrmLang2, LoadsBeforeStartUpStayEnglish)
{
    setCurrentLanguage("G");
    const QString early = ResStr(SRefresh);  // the platform's own loader
    brm_lang2_Initialize();
    EXPECT_EQ(early, QStringLiteral("&Refresh"));
    EXPECT_EQ(ResStr(SRefresh), QStringLiteral("&Aktualisieren"));
    EXPECT_EQ(OnLocalString, nullptr);
    EXPECT_EQ(OnLocalStringData, 0);
}

TEST_F(BrmLang2, QtButtonTextsFollowTheButtonResourceStrings)
{
    brm_lang2_Initialize();
    InstallBrmLangTranslator();
    setCurrentLanguage("G");
    platform::ResetResString(&SMsgDlgYes, u"&Ja");
    platform::ResetResString(&SMsgDlgCancel, u"&Abbrechen");

    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::Cancel | QMessageBox::Ok);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text(), QStringLiteral("&Ja"));
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("&Abbrechen"));
    EXPECT_EQ(box.button(QMessageBox::Ok)->text(), QStringLiteral("OK"));
    // Other texts are looked up like resource strings.
    EXPECT_EQ(QCoreApplication::translate("Any", "Nothing"), QStringLiteral("Nichts"));
    EXPECT_EQ(QCoreApplication::translate("Any", "Untranslated"), QStringLiteral("Untranslated"));
}

}  // namespace
