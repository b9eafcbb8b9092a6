// Grabs the data track of an image-backed drive (an ISO of 700 MB, or
// $KV_BENCH_GRAB_MB) into a file, with and without progress reports, and
// copies the same image with "dd bs=1M" in the same run. The grab should
// reach at least 80% of dd's throughput. Runs in a temporary folder that it
// removes again.
//
// Both sides copy under the same conditions: the image is written and
// settled once, and one untimed copy runs before any measurement, so that the
// first timed copy does not alone pay for reading the image and for the first
// use of the memory that will cache the output. Before every timed copy,
// untimed, the output is removed and sync() runs. The repetitions of all
// three run in random interleaved order; compare the median rows.

#include "burnkit.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

struct Fixture {
    std::string Dir, Iso, Out;
    int64_t Bytes = 0;

    Fixture() {
        char tmpl[] = "/var/tmp/kvsdk-bench-XXXXXX";
        Dir = mkdtemp(tmpl);
        Iso = Dir + "/track.iso";
        Out = Dir + "/out.iso";
        const char* mb = std::getenv("KV_BENCH_GRAB_MB");
        Bytes = int64_t{mb != nullptr ? std::atoi(mb) : 700} * 1024 * 1024;
        std::vector<char> block(1024 * 1024);
        for (size_t i = 0; i < block.size(); ++i)
            block[i] = static_cast<char>(i * 131 + 7);
        FILE* f = std::fopen(Iso.c_str(), "wb");
        for (int64_t done = 0; f != nullptr && done < Bytes; done += static_cast<int64_t>(block.size())) {
            block[0] = static_cast<char>(done >> 20);
            std::fwrite(block.data(), 1, block.size(), f);
        }
        if (f != nullptr) {
            std::fflush(f);
            fsync(fileno(f));
            std::fclose(f);
        }
        WarmUp();
        setenv("KORVANTA_SYSTEM_DIR", Dir.c_str(), 1);
        setenv("KORVANTA_USER_DIR", Dir.c_str(), 1);
        FILE* map = std::fopen((Dir + "/drives.conf").c_str(), "w");
        if (map != nullptr) {
            std::fprintf(map, "CdRom0=%s\n", Iso.c_str());
            std::fclose(map);
        }
    }
    ~Fixture() { std::filesystem::remove_all(Dir); }

    // One untimed plain copy of the image into the output, removed again.
    void WarmUp() const {
        int in = ::open(Iso.c_str(), O_RDONLY | O_CLOEXEC);
        int out = ::open(Out.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        std::vector<char> block(1024 * 1024);
        ssize_t n = 0;
        while (in >= 0 && out >= 0 && (n = ::read(in, block.data(), block.size())) > 0)
            if (::write(out, block.data(), static_cast<size_t>(n)) != n)
                break;
        if (in >= 0)
            ::close(in);
        if (out >= 0)
            ::close(out);
        std::filesystem::remove(Out);
        sync();
    }

    // Untimed: no output file and no dirty data before a timed copy.
    void StartClean(benchmark::State& state) const {
        state.PauseTiming();
        std::filesystem::remove(Out);
        sync();
        state.ResumeTiming();
    }
};

Fixture& TheFixture() {
    static Fixture f;
    return f;
}

void CountProgress(uint32_t reason, void* context, void*, void*) {
    if (reason == BURNKIT_CALLBACK_REASON_GRAB_PROGRESS)
        ++*static_cast<int64_t*>(context);
}

void Grab(benchmark::State& state, bool progress) {
    Fixture& f = TheFixture();
    int64_t reports = 0;
    char text[BURNKIT_EXCEPTION_TEXT_SIZE];
    uint32_t status;
    CDB_FAILURE_INFORMATION cdb;
    void* h = nullptr;
    if (Burnkit_Grabber_CreateEx(&h, text, sizeof(text), &status, &cdb, progress ? CountProgress : nullptr, &reports,
                                 "CdRom0", 0) != EN_SUCCESS) {
        state.SkipWithError(text);
        return;
    }
    for (auto _ : state) {
        f.StartClean(state);
        if (Burnkit_Grabber_GrabTrack(h, text, sizeof(text), &status, &cdb, 1, f.Out.c_str(), 1, 1, 0,
                                      progress ? 1 : 0) != EN_SUCCESS) {
            state.SkipWithError(text);
            break;
        }
    }
    Burnkit_Destroy(&h);
    state.SetBytesProcessed(state.iterations() * f.Bytes);
    state.counters["progress_reports"] = static_cast<double>(reports) / std::max<int64_t>(1, state.iterations());
}

void BM_GrabTrackWithProgress(benchmark::State& state) { Grab(state, true); }
void BM_GrabTrackWithoutProgress(benchmark::State& state) { Grab(state, false); }

void BM_DdBs1M(benchmark::State& state) {
    Fixture& f = TheFixture();
    const std::string in = "if=" + f.Iso, out = "of=" + f.Out;
    for (auto _ : state) {
        f.StartClean(state);
        char* argv[] = {const_cast<char*>("dd"), const_cast<char*>(in.c_str()), const_cast<char*>(out.c_str()),
                        const_cast<char*>("bs=1M"), const_cast<char*>("status=none"), nullptr};
        pid_t pid;
        if (posix_spawnp(&pid, "dd", nullptr, nullptr, argv, environ) != 0) {
            state.SkipWithError("cannot start dd");
            break;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("dd failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * f.Bytes);
}

}  // namespace

BENCHMARK(BM_DdBs1M)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(7);
BENCHMARK(BM_GrabTrackWithProgress)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(7);
BENCHMARK(BM_GrabTrackWithoutProgress)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(7);

int main(int argc, char** argv) {
    // Interleaved repetitions unless the command line says otherwise.
    std::vector<char*> args(argv, argv + argc);
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave.data());
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    TheFixture();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
