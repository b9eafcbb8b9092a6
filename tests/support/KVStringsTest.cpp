#include "LangFixture.h"

#include <set>

namespace {

using langtest::LangFixture;

QString english(const platform::TResStringRec& rec)
{
    return QString::fromStdU16String(platform::DefaultLoadResString(&rec));
}

TEST(KVStrings, ResetListCoversBothIdentifierRangesOnce)
{
    std::set<uintptr_t> ids;
    for (const auto* rec : KVBStringsResetList) {
        ASSERT_NE(rec, nullptr);
        EXPECT_EQ(rec->Module, &platform::HInstance);
        ids.insert(rec->Identifier);
    }
    std::set<uintptr_t> expected;
    for (uintptr_t id = 64912; id <= 64971; ++id)
        expected.insert(id);
    for (uintptr_t id = 64976; id <= 65071; ++id)
        expected.insert(id);
    EXPECT_EQ(ids, expected);
    // The virtual-drive page texts are loaded afresh, never re-set.
    for (const auto* rec : {&SErrorCreatingVirtualDrive, &SActions, &SAddVirtualDrive, &SRunAsTrayOnStartup})
        EXPECT_EQ(ids.count(rec->Identifier), 0u) << rec->Identifier;
}

TEST(KVStrings, TextsKeepBlanksBreaksAndWording)
{
    struct {
        const platform::TResStringRec* rec;
        uintptr_t id;
        QString text;
    } cases[] = {
        {&SAPPNAMEIsSearchingForCDDVD, 65041, "%APPNAME%  is searching for CD/DVD/BD burning drives."},
        {&SRename, 64968, "R&ename "},
        {&SGrabbing, 65026, "Grabbing: "},
        {&SAdding, 65044, "Adding "},
        {&SAlreadyExistsInBurningList, 65047, " already exists in burning list."},
        {&SBurningOptions, 64997, " Burning Options "},
        {&SMediaNotWriteable, 65054, "Media not writeable."},
        {&SRefresh, 65001, "&Refresh"},
        {&SVirtualDrive, 64938, "&Virtual Drive"},
        {&SConfiguration, 64691, "Configuration"},
        {&SMsgDlgHelp, 64708, "&Help"},
        {&SHelp, 65023, "&Help"},
        {&SAPPNAMEImages, 65056, "%APPNAME% Images"},
        {&SDriveWasRefreshedButSessionIs, 65043,
         "Drive was refreshed, but session is already imported.\r\nDo you want to clear the list of "
         "files/folders to be burned and import new last session again?"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.rec->Identifier, c.id);
        EXPECT_EQ(english(*c.rec), c.text) << c.id;
    }
    EXPECT_TRUE(english(SVirtualDriveDriversNotInstalled)
                    .contains("install them?\r\n\r\n%APPNAME% Virtual Drive lets you mount"));
}

TEST(KVStrings, EqualTextsAreSeparateRecords)
{
    const std::pair<const platform::TResStringRec*, const platform::TResStringRec*> pairs[] = {
        {&SEraseDisc, &SEraseDisc2}, {&SISOImagesIso, &SISOImagesIso2}, {&SBurn, &SBurn2},
        {&SMsgDlgCancel, &SCancel},  {&SMsgDlgHelp, &SHelp},            {&SRemoveAll, &SRemoveAll2},
        {&SDiscLabel, &SDiscLabel2},
    };
    for (const auto& [a, b] : pairs) {
        EXPECT_NE(a->Identifier, b->Identifier);
        EXPECT_EQ(english(*a), english(*b)) << a->Identifier;
    }
}

TEST(KVStrings, IdentityGlobals)
{
    EXPECT_EQ(ProductName, "Korvanta");
    EXPECT_EQ(AppName, "Korvanta");
    EXPECT_EQ(ProductPrefix, "KV");
    EXPECT_EQ(ProductId, "KORVANTA");
    EXPECT_EQ(KVBStrings::AppName, "Korvanta");
    EXPECT_TRUE(HelpLanguage.isEmpty());
    EXPECT_TRUE(HelpSetupLanguage.isEmpty());
}

}  // namespace
