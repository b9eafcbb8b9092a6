#include <gtest/gtest.h>

#include "platform/ResourceStrings.h"

using namespace platform;

namespace {

const HINSTANCE kModule = 0x7701;  // a module of this test only

class ResourceStrings : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        RegisterStringTable(kModule, {{1, u"&Refresh"}, {65535, u"last id"},
                                      {2, std::u16string(5000, u'x')}});
    }
    void TearDown() override { SetResStringLoader(nullptr); }
};

std::u16string upperLoader(const TResStringRec* rec)
{
    std::u16string s = DefaultLoadResString(rec);
    for (auto& c : s)
        if (c >= u'a' && c <= u'z')
            c = static_cast<char16_t>(c - 32);
    return s;
}

}  // namespace

TEST_F(ResourceStrings, LoadStringCopiesAndCuts)
{
    char16_t buf[5];
    EXPECT_EQ(LoadStringW(kModule, 1, buf, 5), 4);
    EXPECT_EQ(std::u16string(buf), u"&Ref");
    EXPECT_EQ(LoadStringW(kModule, 1, buf, 1), 0);
    EXPECT_EQ(buf[0], u'\0');
    EXPECT_EQ(LoadStringW(kModule, 99, buf, 5), 0);
    EXPECT_EQ(std::u16string(buf), u"");
    EXPECT_EQ(LoadStringW(kModule + 1, 1, buf, 5), 0);
}

TEST_F(ResourceStrings, RecordsReadTheirTableOrTheirText)
{
    static const char16_t replacement[] = u"Neu laden";
    struct Case {
        const char* what;
        uintptr_t identifier;
        std::u16string expected;
    };
    const Case cases[] = {
        {"table entry", 1, u"&Refresh"},
        {"highest table id", 65535, u"last id"},
        {"missing id", 3, u""},
        {"long entry cut to 4095", 2, std::u16string(4095, u'x')},
        {"address of a text", reinterpret_cast<uintptr_t>(replacement), u"Neu laden"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TResStringRec rec{&kModule, c.identifier};
        EXPECT_EQ(DefaultLoadResString(&rec), c.expected);
        EXPECT_EQ(LoadResString(&rec), c.expected);
    }
    EXPECT_EQ(LoadResString(nullptr), u"");
}

TEST_F(ResourceStrings, LoaderIsSwitchedForEveryLoad)
{
    TResStringRec rec{&kModule, 1};
    EXPECT_EQ(GetResStringLoader(), &DefaultLoadResString);
    SetResStringLoader(&upperLoader);
    EXPECT_EQ(GetResStringLoader(), &upperLoader);
    EXPECT_EQ(LoadResString(&rec), u"&REFRESH");
    SetResStringLoader(nullptr);  // back to the untranslated loader
    EXPECT_EQ(LoadResString(&rec), u"&Refresh");
}

TEST_F(ResourceStrings, ResetRecordKeepsItsNewText)
{
    TResStringRec rec{&kModule, 1};
    {
        std::u16string text = u"Aktualisieren";
        ResetResString(&rec, text);
        text.assign(u"overwritten");  // the record holds its own copy
    }
    EXPECT_GT(rec.Identifier, 0xFFFFu);
    EXPECT_EQ(LoadResString(&rec), u"Aktualisieren");
    ResetResString(&rec, u"Zweite");
    EXPECT_EQ(LoadResString(&rec), u"Zweite");
}
