// A 700 MB image-backed data track grabbed through TsbGrabAction, and the
// same bytes copied by dd, in one run. Both write into the same temporary
// folder; the image is written once with real (non-sparse) data.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "TsbBurner.h"
#include "sbActions.h"
#include "sbEngineUnits.h"

namespace {

constexpr int64_t kSectors = 700LL * 1024 * 1024 / 2048;

struct Setup {
    std::string dir;
    std::string image;
    std::string out;
};

Setup& Fixture()
{
    static Setup s = [] {
        Setup r;
        char tmpl[] = "/tmp/kv-engine-bench-XXXXXX";
        r.dir = mkdtemp(tmpl);
        std::filesystem::create_directories(r.dir + "/sys");
        std::filesystem::create_directories(r.dir + "/user");
        setenv("KORVANTA_SYSTEM_DIR", (r.dir + "/sys").c_str(), 1);
        setenv("KORVANTA_USER_DIR", (r.dir + "/user").c_str(), 1);
        r.image = r.dir + "/track.iso";
        r.out = r.dir + "/out.iso";
        std::ofstream img(r.image, std::ios::binary);
        std::vector<char> sector(2048);
        for (int64_t s = 0; s < kSectors; ++s) {
            for (size_t i = 0; i < sector.size(); i += 64) sector[i] = char(s + i);
            img.write(sector.data(), std::streamsize(sector.size()));
        }
        img.close();
        // Settle the written image, so that neither side pays for its flush.
        int fd = open(r.image.c_str(), O_RDONLY);
        fsync(fd);
        close(fd);
        std::ofstream(r.dir + "/sys/drives.conf") << "CdRom0=" << r.image << "\n";
        return r;
    }();
    return s;
}

void BM_GrabAction(benchmark::State& state)
{
    Setup& s = Fixture();
    TsbBurner burner;
    burner.TransportType() = ttSpti;
    burner.DeviceName() = "CdRom0";
    burner.PrepareGrabber();
    TsbActionList list;
    list.Burner() = &burner;
    TsbGrabAction action;
    list.Add()->Action() = &action;
    TsbGrabTrack* t = action.GrabTrackList()->Add();
    t->TrackNumber = 1;
    t->FileName = s.out;
    for (auto _ : state) {
        std::filesystem::remove(s.out);
        sync();
        action.RunAction(list.GetItems(0));
        if (!action.FinalSuccess()) state.SkipWithError(burner.Message().c_str());
    }
    burner.OnAction() = nullptr;
    state.SetBytesProcessed(state.iterations() * kSectors * 2048);
}

void BM_dd(benchmark::State& state)
{
    Setup& s = Fixture();
    for (auto _ : state) {
        std::filesystem::remove(s.out);
        sync();
        pid_t pid = fork();
        if (pid == 0) {
            int null = open("/dev/null", O_WRONLY);
            dup2(null, 2);
            execlp("dd", "dd", ("if=" + s.image).c_str(), ("of=" + s.out).c_str(), "bs=1M", (char*)nullptr);
            _exit(127);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) state.SkipWithError("dd failed");
    }
    state.SetBytesProcessed(state.iterations() * kSectors * 2048);
}

BENCHMARK(BM_GrabAction)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_dd)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Fixture();
    sbEngineInitialize();
    benchmark::RunSpecifiedBenchmarks();
    sbEngineFinalize();
    std::filesystem::remove_all(Fixture().dir);
    return 0;
}
