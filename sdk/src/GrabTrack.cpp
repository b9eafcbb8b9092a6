// Burnkit_Grabber_GrabTrack: copies one track into a file, data tracks as
// 2048-byte sectors, audio tracks as a WAV file.

#include "Grabber.h"

#include "ImageDisc.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace kvsdk;

namespace {

// About 1 MiB per read and write.
constexpr uint32_t kChunkBytes = 1024 * 1024;

// The output file of a grab: removed again unless the grab finishes.
class OutputFile {
public:
    explicit OutputFile(const std::string& path) : FPath(path) {
        int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0)
            ThrowSystemError("Cannot create output file " + path, errno);
        FFd = UniqueFd(fd);
    }
    ~OutputFile() {
        if (!FDone) {
            FFd.Close();
            ::unlink(FPath.c_str());
        }
    }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    void Write(const uint8_t* data, size_t size) {
        while (size > 0) {
            ssize_t n = ::write(FFd.Get(), data, size);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                ThrowSystemError("Cannot write output file " + FPath, errno);
            }
            if (n == 0)
                ThrowSystemError("Cannot write output file " + FPath, ENOSPC);
            data += n;
            size -= static_cast<size_t>(n);
        }
    }

    void Finish() {
        if (!FFd.Close())
            ThrowSystemError("Cannot write output file " + FPath, errno);
        FDone = true;
    }

private:
    std::string FPath;
    UniqueFd FFd;
    bool FDone = false;
};

void PutLe32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// The 44-byte header of a 44.1 kHz, 16-bit stereo PCM WAV file.
void WaveHeader(uint8_t h[44], uint32_t dataBytes) {
    std::memcpy(h, "RIFF", 4);
    PutLe32(h + 4, 36 + dataBytes);
    std::memcpy(h + 8, "WAVEfmt ", 8);
    PutLe32(h + 16, 16);
    h[20] = 1;  // PCM
    h[21] = 0;
    h[22] = 2;  // channels
    h[23] = 0;
    PutLe32(h + 24, 44100);
    PutLe32(h + 28, 44100 * 4);
    h[32] = 4;  // block align
    h[33] = 0;
    h[34] = 16;  // bits per sample
    h[35] = 0;
    std::memcpy(h + 36, "data", 4);
    PutLe32(h + 40, dataBytes);
}

}  // namespace

extern "C" {

BURNKIT_API EXCEPTION_NUMBER Burnkit_Grabber_GrabTrack(void* GrabberHandle, char* ExceptionText,
                                                       uint32_t ExceptionTextSize, uint32_t* SystemError,
                                                       CDB_FAILURE_INFORMATION* CDBFailureInformation,
                                                       uint8_t TrackNumber, const char* OutputFileName,
                                                       uint32_t RetryCount, uint8_t IsWaveHeader, uint8_t IsRawSectors,
                                                       uint8_t IsReportProgress) {
    ErrorBlock eb{ExceptionText, ExceptionTextSize, SystemError, CDBFailureInformation};
    return Guard(eb, [&] {
        Grabber& g = GrabberOf(GrabberHandle);
        g.TheDrive->CheckCall("Burnkit_Grabber_GrabTrack");
        if (OutputFileName == nullptr || *OutputFileName == '\0')
            throw SdkError(EN_INVALID_INPUT_PARAMETER, "No output file given", EINVAL);
        const DiscLayout& layout = g.TheDrive->Layout();
        const TrackLayout* track = layout.FindTrack(TrackNumber);
        if (track == nullptr) {
            TRACK_INFORMATION unused;
            FillTrackInformation(layout, TrackNumber, unused);  // throws the "not on the disc" failure
        }
        SectorReader& reader = g.TheDrive->Reader();
        const bool raw = IsRawSectors != 0;
        if (raw && StoredSectorSize(track->Mode) != kRawSectorSize)
            throw SdkError(EN_UNSUPPORTED_READ_MODE,
                           "Track " + std::to_string(TrackNumber) + " of drive " + g.Entry.Name + " has no raw sectors");
        const uint32_t sectorSize = raw ? kRawSectorSize : GrabbedSectorSize(track->Mode);
        const int64_t sectors = track->Length();
        const int64_t total = sectors * sectorSize;
        const bool wave = IsAudio(track->Mode) && !raw && IsWaveHeader != 0;
        if (wave && total > UINT32_MAX - 36)
            throw SdkError(EN_FILE_TOO_BIG, "Track " + std::to_string(TrackNumber) + " is too long for a WAV file");
        const uint32_t tries = RetryCount == 0 ? 1 : RetryCount;
        const bool progress = IsReportProgress != 0;

        struct stat existing {};
        if (::stat(OutputFileName, &existing) == 0 &&
            reader.ReadsFrom(static_cast<uint64_t>(existing.st_dev), static_cast<uint64_t>(existing.st_ino)))
            throw SdkError(EN_INVALID_INPUT_PARAMETER,
                           std::string("The output file ") + OutputFileName + " is the disc image being read", EINVAL);
        OutputFile out(OutputFileName);
        if (wave) {
            uint8_t header[44];
            WaveHeader(header, static_cast<uint32_t>(total));
            out.Write(header, sizeof(header));
        }
        // Chunks of at most one percent of the track, so that progress can be
        // reported at every whole percent; long tracks use the full chunk.
        const uint32_t chunkSectors =
            static_cast<uint32_t>(std::max<int64_t>(1, std::min<int64_t>(kChunkBytes / sectorSize, sectors / 100)));
        std::vector<uint8_t> buffer(static_cast<size_t>(chunkSectors) * sectorSize);
        int64_t done = 0;
        int64_t lastPercent = -1;
        auto report = [&](uint32_t filled) {
            int64_t percent = total == 0 ? 100 : done * 100 / total;
            if (!progress || (percent == lastPercent && done != total))
                return;
            lastPercent = percent;
            int64_t t = total, d = done;
            g.Report(BURNKIT_CALLBACK_REASON_GRAB_PROGRESS, &t, &d);
            uint32_t size = static_cast<uint32_t>(buffer.size());
            uint32_t free = size - filled;
            g.Report(BURNKIT_CALLBACK_REASON_BUFFER_STATE, &size, &free);
        };
        report(0);
        for (int64_t first = 0; first < sectors;) {
            uint32_t count = static_cast<uint32_t>(std::min<int64_t>(chunkSectors, sectors - first));
            for (uint32_t attempt = 1;; ++attempt) {
                try {
                    reader.ReadSectors(*track, static_cast<int32_t>(first), count, raw, buffer.data());
                    break;
                } catch (const SdkError& e) {
                    if (attempt >= tries || e.Code != EN_GENERAL_READ_ERROR)
                        throw;
                }
            }
            const size_t bytes = static_cast<size_t>(count) * sectorSize;
            out.Write(buffer.data(), bytes);
            first += count;
            done += static_cast<int64_t>(bytes);
            report(static_cast<uint32_t>(bytes));
        }
        out.Finish();
    });
}

}  // extern "C"
