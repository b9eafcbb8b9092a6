#pragma once
// Shared fixture of the language-support tests: a clean language library,
// the loader, hook and every product resource string restored afterwards,
// and helpers that write language files.

#include "KVBStrings.h"
#include "KVStrings.h"
#include "TestDirs.h"
#include "brm_lang2.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

// Readable QString values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace langtest {

// A PO language file of application ids "kvvd, bmvd, kvzip, bmzip".
inline std::string poFile(const std::string& languageId, const std::string& culture,
                          const std::vector<std::pair<std::string, std::string>>& texts,
                          const std::string& extraFields = "")
{
    std::string s = "msgid \"\"\nmsgstr \"\"\n\"Content-Type: text/plain; charset=UTF-8\\n\"\n"
                    "\"X-App-Id: kvvd, bmvd, kvzip, bmzip\\n\"\n";
    if (!languageId.empty())
        s += "\"X-Language-Id: " + languageId + "\\n\"\n";
    if (!culture.empty())
        s += "\"X-Culture: " + culture + "\\n\"\n";
    s += extraFields + "\n";
    for (const auto& [id, str] : texts)
        s += "msgid \"pas.resourcestring." + id + "\"\nmsgstr \"" + str + "\"\n\n";
    return s;
}

inline BRM_LANG2_TEST_COUNTERS counters()
{
    BRM_LANG2_TEST_COUNTERS c{};
    BRM_LANG2_TEST_getCounters(&c);
    return c;
}

class LangFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        BRM_LANG2_TEST_reset();
        savedLoader_ = platform::GetResStringLoader();
        for (auto* rec : allRecords())
            savedIds_.push_back(rec->Identifier);
    }
    void TearDown() override
    {
        // Whatever the test did, the binding released every library string
        // and language file exactly once.
        auto c = counters();
        EXPECT_EQ(c.stringsOut, c.stringsFreed);
        EXPECT_EQ(c.nullsOut, c.nullsFreed);
        EXPECT_EQ(c.filesOut, c.filesFreed);
        EXPECT_EQ(c.badFrees, 0);
        OnLocalString = nullptr;
        platform::SetResStringLoader(savedLoader_);
        auto recs = allRecords();
        for (size_t i = 0; i < recs.size(); ++i)
            recs[i]->Identifier = savedIds_[i];
        BRM_LANG2_TEST_reset();
    }
    static std::vector<platform::TResStringRec*> allRecords()
    {
        std::vector<platform::TResStringRec*> v(KVBStringsResetList.begin(), KVBStringsResetList.end());
        v.insert(v.end(), KVStringsButtonList.begin(), KVStringsButtonList.end());
        for (auto* r : {&SConfiguration, &SErrorCreatingVirtualDrive, &SVirtualDriveCreated, &SActions,
                        &SInternet, &SAddVirtualDrive, &SAddVirtualDriveHint, &SRemoveVirtualDrive,
                        &SRemoveVirtualDriveHint, &SDVDToISO, &SDVDToISOHint, &SStart, &SColumnID,
                        &SColumnDeviceName, &SColumnDeviceType, &SColumnDriveLetter, &SColumnDriveLabel,
                        &SCreateDriveOnRestart, &SRunAsTrayOnStartup})
            v.push_back(r);
        return v;
    }

    kvtest::TempDir dir;

private:
    platform::TResStringLoader savedLoader_ = nullptr;
    std::vector<uintptr_t> savedIds_;
};

}  // namespace langtest
