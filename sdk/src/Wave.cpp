// Burnkit_Wave_UncompressedFileCompress: CD-quality WAV to FLAC or Ogg
// Vorbis through libsndfile.

#include "ImageDisc.h"
#include "SdkError.h"
#include "burnkit.h"

#include <sndfile.h>

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace kvsdk;

namespace {

struct SndfileCloser {
    void operator()(SNDFILE* f) const { sf_close(f); }
};
using SndfilePtr = std::unique_ptr<SNDFILE, SndfileCloser>;

// The target file: removed again unless the compression finishes.
class Target {
public:
    explicit Target(const std::string& path) : FPath(path) {}
    ~Target() {
        if (!FKeep)
            ::unlink(FPath.c_str());
    }
    void Keep() { FKeep = true; }

private:
    std::string FPath;
    bool FKeep = false;
};

constexpr sf_count_t kFramesPerChunk = 65536;

}  // namespace

extern "C" {

BURNKIT_API EXCEPTION_NUMBER Burnkit_Wave_UncompressedFileCompress(const char* SourceFile, const char* TargetFile,
                                                                   uint32_t BytesPerSecond,
                                                                   BURNKIT_WAVE_CALLBACK Callback, void* Context,
                                                                   BURNKIT_WAVE_COMPRESSION Compression) {
    return Guard(ErrorBlock{}, [&] {
        if (SourceFile == nullptr || TargetFile == nullptr || *SourceFile == '\0' || *TargetFile == '\0')
            throw SdkError(EN_INVALID_INPUT_PARAMETER, "No source or target file given", EINVAL);
        int format = 0;
        if (Compression == BURNKIT_WAVE_COMPRESSION_FLAC)
            format = SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
        else if (Compression == BURNKIT_WAVE_COMPRESSION_OGG)
            format = SF_FORMAT_OGG | SF_FORMAT_VORBIS;
        else
            throw SdkError(EN_INVALID_INPUT_PARAMETER, "Unknown compression " + std::to_string(Compression), EINVAL);

        const std::string source = SourceFile;
        const std::string target = TargetFile;
        int sourceFd = ::open(SourceFile, O_RDONLY | O_CLOEXEC);
        if (sourceFd < 0) {
            int err = errno;
            ThrowSystemError("Cannot open WAV file " + source, err, err == ENOENT ? EN_NOT_FOUND : EN_SYSTEM_CALL_FAILED);
        }
        SF_INFO inInfo{};
        SndfilePtr in(sf_open_fd(sourceFd, SFM_READ, &inInfo, SF_TRUE));
        if (!in)
            throw SdkError(EN_UNSUPPORTED_AUDIO, "Cannot read WAV file " + source + ": " + sf_strerror(nullptr));
        if ((inInfo.format & SF_FORMAT_TYPEMASK) != SF_FORMAT_WAV ||
            (inInfo.format & SF_FORMAT_SUBMASK) != SF_FORMAT_PCM_16 || inInfo.channels != 2 ||
            static_cast<uint32_t>(inInfo.samplerate) * 4 != BytesPerSecond)
            throw SdkError(EN_UNSUPPORTED_AUDIO, "WAV file " + source + " is not 16-bit stereo PCM at " +
                                                     std::to_string(BytesPerSecond) + " bytes per second");

        struct stat sourceStat {}, targetStat {};
        if (::stat(SourceFile, &sourceStat) == 0 && ::stat(TargetFile, &targetStat) == 0 &&
            sourceStat.st_dev == targetStat.st_dev && sourceStat.st_ino == targetStat.st_ino)
            throw SdkError(EN_INVALID_INPUT_PARAMETER, "The target " + target + " is the source file", EINVAL);

        int targetFd = ::open(TargetFile, O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (targetFd < 0)
            ThrowSystemError("Cannot create " + target, errno);
        Target guard(target);
        SF_INFO outInfo{};
        outInfo.samplerate = inInfo.samplerate;
        outInfo.channels = inInfo.channels;
        outInfo.format = format;
        SndfilePtr out(sf_open_fd(targetFd, SFM_WRITE, &outInfo, SF_TRUE));
        if (!out) {
            ::close(targetFd);
            throw SdkError(EN_SYSTEM_CALL_FAILED, "Cannot write " + target + ": " + sf_strerror(nullptr));
        }
        if (Compression == BURNKIT_WAVE_COMPRESSION_OGG) {
            double quality = 0.5;
            sf_command(out.get(), SFC_SET_VBR_ENCODING_QUALITY, &quality, sizeof(quality));
        }

        std::vector<short> samples(static_cast<size_t>(kFramesPerChunk) * 2);
        const sf_count_t total = inInfo.frames;
        sf_count_t done = 0;
        int32_t lastPercent = -1;
        auto report = [&] {
            int32_t percent = total == 0 ? 100 : static_cast<int32_t>(done * 100 / total);
            if (Callback != nullptr && percent != lastPercent) {
                lastPercent = percent;
                Callback(BURNKIT_WAVE_CALLBACK_REASON_PROGRESS, percent, Context);
            }
        };
        report();
        while (done < total) {
            sf_count_t want = std::min(kFramesPerChunk, total - done);
            sf_count_t got = sf_readf_short(in.get(), samples.data(), want);
            if (got != want)
                throw SdkError(EN_GENERAL_READ_ERROR, "Cannot read WAV file " + source + ": it ends after " +
                                                          std::to_string(done + (got > 0 ? got : 0)) + " of " +
                                                          std::to_string(total) + " frames");
            if (sf_writef_short(out.get(), samples.data(), got) != got)
                throw SdkError(EN_SYSTEM_CALL_FAILED,
                               "Cannot write " + target + ": " + sf_strerror(out.get()), errno != 0 ? errno : EIO);
            done += got;
            report();
        }
        sf_write_sync(out.get());
        int rc = sf_close(out.release());
        if (rc != 0)
            throw SdkError(EN_SYSTEM_CALL_FAILED, "Cannot write " + target + ": " + sf_error_number(rc), EIO);
        guard.Keep();
    });
}

}  // extern "C"
