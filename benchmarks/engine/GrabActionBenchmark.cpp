// A 700 MB (or $KV_BENCH_GRAB_MB) image-backed data track grabbed through
// TsbGrabAction, with its progress events wired to no-ops, against dd bs=1M
// copying the same bytes, in one run.
//
// Both sides copy under the same conditions:
// - the image is written once with real (non-sparse) data and settled;
// - one untimed copy runs before any measurement, so that the first timed
//   copy does not alone pay for reading the image and for the first use of
//   the memory that will cache the output;
// - before every timed copy, untimed, the output is removed and sync() runs,
//   so each copy starts with the image cached, no output and no dirty data;
// - the output goes to the same folder (one file system) on both sides;
// - the repetitions of both run in random interleaved order, so drifting
//   machine load favours neither side; compare the median rows.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "TsbBurner.h"
#include "sbActions.h"
#include "sbCallBackEventer.h"
#include "sbEngineUnits.h"

namespace {

constexpr size_t kBlock = 1024 * 1024;

struct Setup {
    std::string dir;
    std::string image;
    std::string out;
    int64_t bytes = 0;
};

// Copies from into to in 1 MiB blocks; false on any failure.
bool PlainCopy(const std::string& from, const std::string& to)
{
    int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
    int out = open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    bool ok = in >= 0 && out >= 0;
    std::vector<char> block(kBlock);
    while (ok) {
        ssize_t n = read(in, block.data(), block.size());
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        ok = write(out, block.data(), size_t(n)) == n;
    }
    if (in >= 0) close(in);
    if (out >= 0 && close(out) != 0) ok = false;
    return ok;
}

Setup& Fixture()
{
    static Setup s = [] {
        Setup r;
        char tmpl[] = "/var/tmp/kv-engine-bench-XXXXXX";
        r.dir = mkdtemp(tmpl);
        std::filesystem::create_directories(r.dir + "/sys");
        std::filesystem::create_directories(r.dir + "/user");
        setenv("KORVANTA_SYSTEM_DIR", (r.dir + "/sys").c_str(), 1);
        setenv("KORVANTA_USER_DIR", (r.dir + "/user").c_str(), 1);
        const char* mb = std::getenv("KV_BENCH_GRAB_MB");
        r.bytes = int64_t(mb != nullptr ? std::max(1, std::atoi(mb)) : 700) * int64_t(kBlock);
        r.image = r.dir + "/track.iso";
        r.out = r.dir + "/out.iso";
        int fd = open(r.image.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        std::vector<char> block(kBlock);
        for (int64_t done = 0; fd >= 0 && done < r.bytes; done += int64_t(kBlock)) {
            for (size_t i = 0; i < block.size(); i += 64) block[i] = char((done >> 11) + i);
            if (write(fd, block.data(), block.size()) != ssize_t(block.size())) break;
        }
        if (fd >= 0) {
            fsync(fd);
            close(fd);
        }
        if (!PlainCopy(r.image, r.out)) std::fprintf(stderr, "warm-up copy into %s failed\n", r.dir.c_str());
        std::filesystem::remove(r.out);
        sync();
        FILE* map = std::fopen((r.dir + "/sys/drives.conf").c_str(), "w");
        if (map != nullptr) {
            std::fprintf(map, "CdRom0=%s\n", r.image.c_str());
            std::fclose(map);
        }
        return r;
    }();
    return s;
}

// Untimed: no output file and no dirty data before a timed copy.
void StartClean(benchmark::State& state, const Setup& s)
{
    state.PauseTiming();
    std::filesystem::remove(s.out);
    sync();
    state.ResumeTiming();
}

void BM_GrabAction(benchmark::State& state)
{
    Setup& s = Fixture();
    sbCallBackEventer->OnWriteProgress = [](TObject*, int32_t) {};
    sbCallBackEventer->OnBufferStatus = [](TObject*, int32_t) {};
    TsbBurner burner;
    burner.TransportType() = ttSpti;
    burner.DeviceName() = "CdRom0";
    burner.PrepareGrabber();
    TsbActionList list;
    list.Burner() = &burner;
    TsbGrabAction action;
    action.OnAction() = [](TObject*, const std::string&, TsbLogItemType) {};
    list.Add()->Action() = &action;
    TsbGrabTrack* t = action.GrabTrackList()->Add();
    t->TrackNumber = 1;
    t->FileName = s.out;
    for (auto _ : state) {
        StartClean(state, s);
        action.RunAction(list.GetItems(0));
        if (!action.FinalSuccess()) {
            state.SkipWithError(burner.Message().c_str());
            break;
        }
    }
    burner.OnAction() = nullptr;
    sbCallBackEventer->OnWriteProgress = nullptr;
    sbCallBackEventer->OnBufferStatus = nullptr;
    state.SetBytesProcessed(state.iterations() * s.bytes);
}

void BM_dd(benchmark::State& state)
{
    Setup& s = Fixture();
    const std::string in = "if=" + s.image, out = "of=" + s.out;
    for (auto _ : state) {
        StartClean(state, s);
        pid_t pid = fork();
        if (pid == 0) {
            execlp("dd", "dd", in.c_str(), out.c_str(), "bs=1M", "status=none", (char*)nullptr);
            _exit(127);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (pid < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("dd failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * s.bytes);
}

BENCHMARK(BM_GrabAction)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(7)->UseRealTime();
BENCHMARK(BM_dd)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(7)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // Interleaved repetitions unless the command line says otherwise.
    std::vector<char*> args(argv, argv + argc);
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave.data());
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    Fixture();
    sbEngineInitialize();
    benchmark::RunSpecifiedBenchmarks();
    sbEngineFinalize();
    std::filesystem::remove_all(Fixture().dir);
    return 0;
}
