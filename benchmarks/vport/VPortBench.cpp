// Adding and removing a virtual DVD device (loop device, letter, mount,
// state) against "losetup -r -f --show IMAGE" plus "losetup -d" on the
// same image, in one run. Needs root; works in a temporary system folder.

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "VPortDriver.h"
#include "burnkit.h"

extern char** environ;

namespace {

// Runs a program; its first line of output.
std::string Run(std::vector<std::string> args)
{
    std::string out = std::filesystem::temp_directory_path() / ("vport_bench_out." + std::to_string(getpid()));
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid;
    std::string line;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status;
        waitpid(pid, &status, 0);
        std::ifstream in(out);
        std::getline(in, line);
    }
    posix_spawn_file_actions_destroy(&actions);
    std::filesystem::remove(out);
    return line;
}

// A temporary system folder with the driver installed and one small ISO.
struct Setup {
    std::string dir;
    std::string image;
    Setup()
    {
        char tmpl[] = "/tmp/vport_bench.XXXXXX";
        dir = mkdtemp(tmpl);
        setenv("KORVANTA_SYSTEM_DIR", (dir + "/system").c_str(), 1);
        std::filesystem::create_directories(dir + "/system");
        std::filesystem::create_directories(dir + "/tree");
        std::ofstream(dir + "/tree/hello.txt") << "hello\n";
        image = dir + "/disc.iso";
        Run({"xorriso", "-as", "mkisofs", "-quiet", "-V", "BENCH", "-o", image, dir + "/tree"});
        vport::VPortInstall("1.0.0.0");
    }
    ~Setup()
    {
        try {
            vport::VPortUninstall();
        } catch (...) {
        }
        std::filesystem::remove_all(dir);
    }
};

Setup& Shared()
{
    static Setup setup;
    return setup;
}

void BM_VPortAddRemove(benchmark::State& state)
{
    if (geteuid() != 0) {
        state.SkipWithError("loop devices need root");
        return;
    }
    const std::string image = Shared().image;
    for (auto _ : state) {
        int32_t id = -1;
        uint32_t status = 0;
        if (Burnkit_VPort_DeviceAddLocalEx(VPORT_DEVICE_TYPE_DVD, image.c_str(), &id, 0, &status) != EN_SUCCESS ||
            Burnkit_VPort_DeviceRemove(id, &status) != EN_SUCCESS) {
            state.SkipWithError("add or remove failed");
            return;
        }
    }
}
BENCHMARK(BM_VPortAddRemove)->Unit(benchmark::kMillisecond);

void BM_LosetupAttachDetach(benchmark::State& state)
{
    if (geteuid() != 0) {
        state.SkipWithError("loop devices need root");
        return;
    }
    const std::string image = Shared().image;
    for (auto _ : state) {
        std::string node = Run({"losetup", "-r", "-f", "--show", image});
        if (node.empty()) {
            state.SkipWithError("losetup failed");
            return;
        }
        Run({"losetup", "-d", node});
    }
}
BENCHMARK(BM_LosetupAttachDetach)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
