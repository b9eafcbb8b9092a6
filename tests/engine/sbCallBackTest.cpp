#include <gtest/gtest.h>
#include <sys/mman.h>

#include <QLocale>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "CasePrint.h"
#include "sbCallBack.h"
#include "sbCallBackEventer.h"

namespace {

// Records what the fan-out passes on; restores the previous handlers.
class EventRecorder : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(sbCallBackEventer, nullptr);
        saved_ = *sbCallBackEventer;
        sbCallBackEventer->OnWriteProgress = [this](TObject* s, int32_t p) {
            EXPECT_EQ(s, sbCallBackEventer);
            progress.push_back(p);
        };
        sbCallBackEventer->OnBufferStatus = [this](TObject*, int32_t p) { buffer.push_back(p); };
        sbCallBackEventer->OnFileTreeAdd = [this](TObject*, const std::string& n, void* node) {
            added.push_back(n);
            nodes.push_back(node);
        };
        sbCallBackEventer->OnFileTreeRemove = [this](TObject*, const std::string& n, void*) {
            removed.push_back(n);
        };
        savedGrab_ = GrabInProgress;
    }
    void TearDown() override
    {
        *sbCallBackEventer = saved_;
        GrabInProgress = savedGrab_;
    }

    static void Progress(uint32_t reason, int64_t total, int64_t done)
    {
        BurnkitCallBack(reason, nullptr, &total, &done);
    }
    static void Buffer(uint32_t size, uint32_t freeAmount)
    {
        BurnkitCallBack(13, nullptr, &size, &freeAmount);
    }

    std::vector<int32_t> progress, buffer;
    std::vector<std::string> added, removed;
    std::vector<void*> nodes;

private:
    TsbCallBackEventer saved_;
    bool savedGrab_ = false;
};

TEST_F(EventRecorder, ProgressPercentagesArePassedOnOnlyWhenTheyChange)
{
    Progress(12, 200, 100);  // a known last value: 50
    progress.clear();
    Progress(12, 200, 1);
    Progress(12, 200, 2);
    Progress(12, 200, 3);
    EXPECT_EQ(progress, (std::vector<int32_t>{0, 1}));
}

TEST_F(EventRecorder, ProgressIsRememberedAcrossGrabs)
{
    GrabInProgress = true;
    Progress(11, 1000, 1000);  // one grab ends at 100
    GrabInProgress = false;
    progress.clear();
    GrabInProgress = true;
    Progress(11, 10, 10);  // the next grab's 100 is not reported again
    Progress(11, 10, 5);
    EXPECT_EQ(progress, (std::vector<int32_t>{50}));
}

TEST_F(EventRecorder, GrabProgressOutsideAGrabChangesNothing)
{
    Progress(12, 100, 30);
    progress.clear();
    GrabInProgress = false;
    Progress(11, 100, 70);
    EXPECT_TRUE(progress.empty());
    EXPECT_EQ(sbCallBackState::LastPercent(), 30);
    GrabInProgress = true;
    Progress(11, 100, 30);  // still remembered as 30: not passed on
    Progress(11, 0, 30);    // a zero total gives no report
    Progress(11, 3, 5);     // above 100 is passed on unchanged
    EXPECT_EQ(progress, (std::vector<int32_t>{166}));
}

TEST_F(EventRecorder, BufferFillIsPassedOnEveryTime)
{
    struct {
        uint32_t size, freeAmount;
        int32_t fill;
    } cases[] = {{1000, 250, 75}, {1000, 1000, 0}, {1000, 0, 100}, {1000, 250, 75},
                 {3, 1, 67},       {1000, 2000, -100}, {100000000, 50000000, 50}};
    std::vector<int32_t> expected;
    for (const auto& c : cases) {
        Buffer(c.size, c.freeAmount);
        expected.push_back(c.fill);
    }
    Buffer(0, 10);  // no report for an empty buffer
    EXPECT_EQ(buffer, expected);
}

TEST_F(EventRecorder, WaveCallBackReportsReasonOneOnly)
{
    EXPECT_EQ(WaveCallBack(1, 40, nullptr), 0);
    EXPECT_EQ(WaveCallBack(2, 55, nullptr), 0);
    EXPECT_EQ(buffer, (std::vector<int32_t>{40}));
}

TEST_F(EventRecorder, TreeNodesReachTheFanOutAndTheCounter)
{
    int32_t counter = 5;
    int node = 0;
    BurnkitCallBack(0, &counter, const_cast<char*>("A.TXT"), &node);
    BurnkitCallBack(0, &counter, const_cast<char*>("B.TXT"), &node);
    BurnkitCallBack(1, &counter, const_cast<char*>("A.TXT"), &node);
    BurnkitCallBack(2, &counter, const_cast<char*>("C.TXT"), &node);
    for (uint32_t reason : {4u, 9u, 14u, 99u}) BurnkitCallBack(reason, &counter, nullptr, nullptr);
    EXPECT_EQ(counter, 6);
    EXPECT_EQ(added, (std::vector<std::string>{"A.TXT", "B.TXT"}));
    EXPECT_EQ(removed, (std::vector<std::string>{"A.TXT"}));
    EXPECT_EQ(nodes.front(), &node);
}

TEST_F(EventRecorder, HandlerExceptionNeverLeavesTheCallback)
{
    sbCallBackEventer->OnBufferStatus = [](TObject*, int32_t) { throw std::runtime_error("handler failed"); };
    uint32_t size = 10, freeAmount = 5;
    EXPECT_NO_THROW(BurnkitCallBack(13, nullptr, &size, &freeAmount));
    EXPECT_NO_THROW(WaveCallBack(1, 3, nullptr));
    EXPECT_THROW(sbRaisePendingCallbackException(), std::runtime_error);
    EXPECT_NO_THROW(sbRaisePendingCallbackException());
}

TEST(FanOutTest, UnassignedEventsDoNothingAssignedOnesKeepFiring)
{
    TsbCallBackEventer e;
    EXPECT_NO_THROW({
        e.DoFileTreeAdd("x", nullptr);
        e.DoFileTreeRemove("x", nullptr);
        e.DoWriteProgress(1);
        e.DoBufferStatus(1);
        e.DoAllowCancelWrite(true);
        e.DoBufferDisable();
    });
    std::vector<std::string> calls;
    e.OnAllowCancelWrite = [&](TObject* s, bool a) { calls.push_back(a ? "allow" : "deny"); };
    e.OnBufferDisable = [&](TObject* s) { calls.push_back(s == &e ? "disable" : "wrong sender"); };
    e.DoAllowCancelWrite(false);
    e.DoBufferDisable();
    e.DoAllowCancelWrite(true);
    EXPECT_EQ(calls, (std::vector<std::string>{"deny", "disable", "allow"}));
}

struct IsoCase {
    const char* name;
    int32_t counter;
    const char* renamed;
};
void PrintTo(const IsoCase& c, std::ostream* os) { *os << kvtest::Quoted(c.name) << " with counter " << c.counter; }

class Iso9660RenameTest : public ::testing::TestWithParam<IsoCase> {};

TEST_P(Iso9660RenameTest, KeepsExtensionAndVersionAndShortensLongBases)
{
    const IsoCase& c = GetParam();
    sbCallBackState::SetRenameCounter(c.counter);
    char area[520] = {};
    std::strcpy(area, c.name);
    MakeUniqueISO9660Name(area);
    EXPECT_STREQ(area, c.renamed);
    EXPECT_EQ(sbCallBackState::RenameCounter(), c.counter + 1);
}

INSTANTIATE_TEST_SUITE_P(Names, Iso9660RenameTest,
                         ::testing::Values(IsoCase{"README.TXT;1", 1, "README1.TXT;1"},
                                           IsoCase{"LONGFILENAME.TXT;1", 2, "LONGFIL2.TXT;1"},
                                           IsoCase{"ABCDEFGH.TXT;1", 3, "ABCDEFGH3.TXT;1"},
                                           IsoCase{"FILE.HTML;1", 4, "FILE.HT4;1"},
                                           IsoCase{"A", 5, "A05"}, IsoCase{"", 6, "006"},
                                           IsoCase{"NOEXTENSIONNAME", 12, "NOEXTEN12"}));

// A whole name area of 'N's without a terminator: the rename keeps within it.
TEST(RenameBoundTest, Iso9660NameWithoutTerminatorStaysInItsArea)
{
    std::vector<char> record(600, 'Z');
    char* area = record.data() + 1;
    std::memset(area, 'N', 520);
    sbCallBackState::SetRenameCounter(1);
    MakeUniqueISO9660Name(area);
    EXPECT_STREQ(area, "NNNNNNN1");
    EXPECT_EQ(record[0], 'Z');
    EXPECT_EQ(record[521], 'Z');
}

std::u16string ReadArea(const unsigned char* area)
{
    std::u16string s;
    for (size_t i = 0; i < 260; ++i) {
        char16_t c;
        std::memcpy(&c, area + 2 * i, 2);
        if (!c) break;
        s.push_back(c);
    }
    return s;
}

void WriteArea(unsigned char* area, const std::u16string& s)
{
    std::memcpy(area, s.c_str(), (s.size() + 1) * 2);
}

TEST(JolietRenameTest, AddsSanitisedDateTimeBeforeTheExtension)
{
    const QDateTime at(QDate(2026, 12, 9), QTime(14, 45, 7));
    QString dateTime = sbDateTimeToStr(at);
    ASSERT_TRUE(dateTime.contains("2026")) << dateTime.toStdString();
    std::u16string stamp = dateTime.toStdU16String();
    for (char16_t& c : stamp)
        if (c <= 32 || c == u':' || c == u'.') c = u'_';

    unsigned char record[541] = {};
    unsigned char* area = record + 1;  // unaligned, as in the SDK's record
    WriteArea(area, u"readme.txt");
    MakeUniqueJolietNameAt(area, at);
    EXPECT_EQ(ReadArea(area), u"readme_" + stamp + u"_txt");

    // The result has no blanks, colons or dots left.
    for (char16_t c : ReadArea(area)) EXPECT_TRUE(c > 32 && c != u':' && c != u'.');

    // Midnight leaves the time out.
    WriteArea(area, u"a.b;1");
    MakeUniqueJolietNameAt(area, QDateTime(QDate(2026, 1, 2), QTime(0, 0)));
    std::u16string dateOnly = sbDateTimeToStr(QDateTime(QDate(2026, 1, 2), QTime(0, 0))).toStdU16String();
    EXPECT_EQ(dateOnly.find(u':'), std::u16string::npos);
}

TEST(JolietRenameTest, SameSecondGivesSameName)
{
    const QDateTime at(QDate(2026, 3, 4), QTime(5, 6, 7));
    unsigned char a[520] = {}, b[520] = {};
    WriteArea(a, u"x.iso");
    WriteArea(b, u"x.iso");
    MakeUniqueJolietNameAt(a, at);
    MakeUniqueJolietNameAt(b, at);
    EXPECT_EQ(ReadArea(a), ReadArea(b));
}

TEST(RenameBoundTest, LongJolietNameIsShortenedToFitTheArea)
{
    std::vector<unsigned char> record(700, 0xAB);
    unsigned char* area = record.data() + 1;
    std::u16string longName(250, u'n');
    longName += u".txt";  // 254 characters: the date would push it past 259
    WriteArea(area, longName);
    MakeUniqueJolietNameAt(area, QDateTime(QDate(2026, 12, 9), QTime(14, 45, 7)));
    std::u16string renamed = ReadArea(area);
    EXPECT_EQ(renamed.size(), 259u);
    EXPECT_EQ(renamed.substr(renamed.size() - 4), u"_txt");
    EXPECT_EQ(renamed.substr(0, 5), u"nnnnn");
    for (size_t i = 521; i < record.size(); ++i) ASSERT_EQ(record[i], 0xAB) << "written past the area at " << i;
}

// A name-collision record laid out as the SDK passes it.
struct CollisionRecord {
    unsigned char bytes[541] = {};
    void SetKind(unsigned char kind) { bytes[0] = kind; }
    void SetAttributes(uint32_t first, uint32_t second)
    {
        std::memcpy(bytes + 525, &first, 4);
        std::memcpy(bytes + 533, &second, 4);
    }
    void SetPathObject(uint32_t address) { std::memcpy(bytes + 521, &address, 4); }
    uint32_t Action() const
    {
        uint32_t a;
        std::memcpy(&a, bytes + 537, 4);
        return a;
    }
};

TEST(NameCollisionTest, FoldersMergeInJolietAndRenameInIso9660)
{
    CollisionRecord joliet;
    joliet.SetKind(1);
    joliet.SetAttributes(0x10, 0x10);
    WriteArea(joliet.bytes + 1, u"DIR");
    BurnkitCallBack(3, nullptr, joliet.bytes, nullptr);
    EXPECT_EQ(joliet.Action(), 3u);
    EXPECT_EQ(ReadArea(joliet.bytes + 1), u"DIR");

    CollisionRecord iso;
    iso.SetKind(0);
    iso.SetAttributes(0x10, 0x10);
    std::strcpy(reinterpret_cast<char*>(iso.bytes + 1), "DIR");
    sbCallBackState::SetRenameCounter(9);
    BurnkitCallBack(3, nullptr, iso.bytes, nullptr);
    EXPECT_EQ(iso.Action(), 2u);
    EXPECT_STREQ(reinterpret_cast<char*>(iso.bytes + 1), "DIR9");
}

#ifdef MAP_32BIT
TEST(NameCollisionTest, BootImagePathGivesActionOne)
{
    // The record holds the path object's address in 32 bits: place it low.
    void* low = mmap(nullptr, 4096, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_32BIT, -1, 0);
    ASSERT_NE(low, MAP_FAILED);
    struct Case {
        const char* path;
        uint32_t action;
    } cases[] = {{"/boot/BOOT.IMG", 1}, {"isolinux\\boot.img", 1}, {"boot.img", 1}, {"/boot/boot.img2", 2}};
    for (const Case& c : cases) {
        char* object = static_cast<char*>(low);
        object[0] = 'x';
        std::strcpy(object + 1, c.path);
        CollisionRecord r;
        r.SetKind(0);
        r.SetAttributes(0, 0);
        std::strcpy(reinterpret_cast<char*>(r.bytes + 1), "BOOT.IMG;1");
        r.SetPathObject(uint32_t(reinterpret_cast<uintptr_t>(low)));
        BurnkitCallBack(3, nullptr, r.bytes, nullptr);
        EXPECT_EQ(r.Action(), c.action) << c.path;
    }
    munmap(low, 4096);
}
#endif

TEST(AudioSizeToTimeTest, BytesOfCdAudioAsDays)
{
    EXPECT_DOUBLE_EQ(AudioSizeToTime(176400), 1.0 / 86400.0);
    EXPECT_DOUBLE_EQ(AudioSizeToTime(0), 0.0);
    EXPECT_DOUBLE_EQ(AudioSizeToTime(176400u * 60u), 60.0 / 86400.0);
}

}  // namespace
