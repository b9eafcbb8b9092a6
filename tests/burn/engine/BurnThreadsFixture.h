#pragma once

// A burner with a file tree of the test's own, the fan-out events it sees,
// and runs of the burn and erase threads that always end before a check.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "EngineTestSupport.h"
#include "TestDirs.h"
#include "TreeFixture.h"
#include "TsbBurner.h"
#include "sbBurnThreads.h"

namespace burnthreads {

// The burner has no operation that sets Cancel; a test needs one.
class TestBurner : public TsbBurner {
public:
    void SetCancel(bool Value) { FCancel = Value; }
};

struct FanOutEvents {
    std::vector<int32_t> Progress;
    std::vector<bool> CancelAllowed;
    int BufferDisabled = 0;
};

class BurnThreadsTest : public ::testing::Test {
protected:
    BurnThreadsTest();
    ~BurnThreadsTest() override;

    // A Joliet tree in Burner.ISO9660JolietFileTree.
    void CreateTree(BURNKIT_CALLBACK Callback, void* Context);
    void AddFile(const std::string& Source);
    void AddFolder(const std::string& Source);
    // Builds the image as the staged action does; returns its size.
    int64_t BuildImage();
    // Opens Out (read-only when asked), sets FIPV for Total bytes and runs
    // the burn thread in bmImageFile mode.
    void RunImageFile(const std::string& Out, int64_t Total, bool ReadOnly = false);
    // Runs the burn thread for the burner's mode and waits for it.
    void RunBurn();
    std::unique_ptr<TsbEraseThread> RunErase();

    static int64_t FileSize(const std::string& Path);

    kvtest::TempDir Dir;
    TestBurner Burner;
    FanOutEvents Events;
    std::vector<std::string> Actions;
};

}  // namespace burnthreads
