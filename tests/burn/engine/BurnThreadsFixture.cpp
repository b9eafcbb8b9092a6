#include "BurnThreadsFixture.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "sbCallBackEventer.h"

namespace burnthreads {

BurnThreadsTest::BurnThreadsTest()
{
    sbCallBackEventer->OnWriteProgress = [this](TObject*, int32_t Percent) { Events.Progress.push_back(Percent); };
    sbCallBackEventer->OnAllowCancelWrite = [this](TObject*, bool Allow) { Events.CancelAllowed.push_back(Allow); };
    sbCallBackEventer->OnBufferDisable = [this](TObject*) { ++Events.BufferDisabled; };
    Burner.OnAction() = [this](TObject*, const std::string& Message, TsbLogItemType) { Actions.push_back(Message); };
}

BurnThreadsTest::~BurnThreadsTest()
{
    sbCallBackEventer->OnWriteProgress = nullptr;
    sbCallBackEventer->OnAllowCancelWrite = nullptr;
    sbCallBackEventer->OnBufferDisable = nullptr;
}

void BurnThreadsTest::CreateTree(BURNKIT_CALLBACK Callback, void* Context)
{
    ASSERT_EQ(EN_SUCCESS, Burnkit_ISO9660JolietFileTree_Create(&Burner.ISO9660JolietFileTree, Burner.ExceptionText,
                                                               1024, &Burner.SystemError, Callback, Context, 1, 0))
        << Burner.ExceptionText;
}

void BurnThreadsTest::AddFile(const std::string& Source)
{
    ASSERT_EQ(EN_SUCCESS, Burnkit_ISO9660JolietFileTree_AddFile(Burner.ISO9660JolietFileTree, Burner.ExceptionText,
                                                                1024, &Burner.SystemError, Source.c_str(), "/",
                                                                nullptr))
        << Burner.ExceptionText;
}

void BurnThreadsTest::AddFolder(const std::string& Source)
{
    ASSERT_EQ(EN_SUCCESS, Burnkit_ISO9660JolietFileTree_AddFolder(Burner.ISO9660JolietFileTree,
                                                                  Burner.ExceptionText, 1024, &Burner.SystemError,
                                                                  Source.c_str(), "/", nullptr))
        << Burner.ExceptionText;
}

int64_t BurnThreadsTest::BuildImage()
{
    const char16_t exe[] = u"/opt/korvanta/kvvd2021.exe";
    EXPECT_EQ(EN_SUCCESS, Burnkit_ISO9660JolietFileTree_BuildImage(Burner.ISO9660JolietFileTree,
                                                                   Burner.ExceptionText, 1024, &Burner.SystemError, 0,
                                                                   0, 1, Burner.DiscLabel().c_str(), exe, exe))
        << Burner.ExceptionText;
    uint32_t high = 0;
    uint32_t low = Burnkit_ISO9660JolietFileTree_GetSizeInUCHARs(Burner.ISO9660JolietFileTree, &high);
    return static_cast<int64_t>((static_cast<uint64_t>(high) << 32) | low);
}

void BurnThreadsTest::RunImageFile(const std::string& Out, int64_t Total, bool ReadOnly)
{
    kvtest::writeFile(Out, "");
    int fd = open(Out.c_str(), ReadOnly ? O_RDONLY : O_WRONLY | O_TRUNC);
    ASSERT_GE(fd, 0);
    Burner.FIPV.FileHandle = static_cast<uintptr_t>(fd);
    Burner.FIPV.TotalSizeInUCHARs = Total;
    Burner.FIPV.CurrentUnstoredSizeInUCHARs = Total;
    Burner.BurnOptions().Mode = bmImageFile;
    RunBurn();
    close(fd);
}

void BurnThreadsTest::RunBurn()
{
    auto thread = sbStartBurnThread(Burner);
    Burner.WaitForBurnThread();
    thread->wait();
    EXPECT_TRUE(thread->Terminated());
    EXPECT_EQ(nullptr, thread->Burner());
}

std::unique_ptr<TsbEraseThread> BurnThreadsTest::RunErase()
{
    auto thread = sbStartEraseThread(Burner);
    Burner.WaitForEraseThread();
    thread->wait();
    return thread;
}

int64_t BurnThreadsTest::FileSize(const std::string& Path)
{
    struct stat st {};
    return stat(Path.c_str(), &st) == 0 ? st.st_size : -1;
}

}  // namespace burnthreads
