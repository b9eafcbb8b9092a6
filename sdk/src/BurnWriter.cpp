#include "BurnWriter.h"

#include "SdkError.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

namespace kvsdk {

namespace {

constexpr int kDataBlock = 2048;
constexpr int kAudioBlock = 2352;
constexpr int kFifoChunks = 2560;  // 5 MiB of 2048-byte chunks

bool HasSuffix(const std::string& path, const char* suffix) {
    size_t n = std::strlen(suffix);
    if (path.size() < n)
        return false;
    for (size_t i = 0; i < n; ++i)
        if (std::tolower(static_cast<unsigned char>(path[path.size() - n + i])) != suffix[i])
            return false;
    return true;
}

// Image files that hold more than user data: writing an ISO session over
// them would make them unreadable as what their name says.
void RequireIsoImage(const std::string& path) {
    for (const char* suffix : {".cue", ".bin", ".nrg", ".toc", ".mds", ".ccd"})
        if (HasSuffix(path, suffix))
            throw SdkError(EN_NOT_IMPLEMENTED,
                           "Cannot write to image " + path + ": only ISO images can be written");
}

// Collects the writer library's queued failure texts.
std::string BurnMessages() {
    std::string all;
    int code = 0, osErr = 0;
    char text[BURN_MSGS_MESSAGE_LEN];
    char severity[80];
    while (burn::burn_msgs_obtain(const_cast<char*>("FAILURE"), &code, text, &osErr, severity) > 0) {
        if (!all.empty())
            all += "; ";
        all += text;
    }
    return all;
}

void DropMessages() {
    BurnMessages();
}

class GrabbedDrive {
public:
    explicit GrabbedDrive(const BurnTarget& target) : Path_(target.Path) {
        EnsureBurnLibrary();
        DropMessages();
        std::string address = target.Type == BurnTarget::Kind::ImageFile ? "stdio:" + target.Path : target.Path;
        if (burn::burn_drive_scan_and_grab(&Infos_, const_cast<char*>(address.c_str()), 1) <= 0 ||
            Infos_ == nullptr) {
            Infos_ = nullptr;
            std::string why = BurnMessages();
            throw SdkError(EN_NOT_FOUND, "Cannot open drive " + target.Path + (why.empty() ? "" : ": " + why));
        }
        Drive_ = Infos_[0].drive;
    }
    ~GrabbedDrive() {
        if (Infos_ != nullptr) {
            burn::burn_drive_release(Drive_, 0);
            burn::burn_drive_info_free(Infos_);
        }
    }
    GrabbedDrive(const GrabbedDrive&) = delete;
    GrabbedDrive& operator=(const GrabbedDrive&) = delete;

    burn::burn_drive* Get() const { return Drive_; }

    void WaitIdle(const BurnTarget& target, int64_t total, bool blanking,
                  burn::burn_source* fifo) const {
        using namespace std::chrono_literals;
        burn::burn_progress progress {};
        while (burn::burn_drive_get_status(Drive_, &progress) == burn::BURN_DRIVE_SPAWNING)
            std::this_thread::sleep_for(2ms);
        int64_t lastDone = -1;
        while (burn::burn_drive_get_status(Drive_, &progress) != burn::BURN_DRIVE_IDLE) {
            int64_t done = 0;
            if (blanking)
                done = progress.sectors > 0 ? total * progress.sector / progress.sectors : 0;
            else
                done = std::min<int64_t>(static_cast<int64_t>(progress.sector) * kDataBlock, total);
            if (done != lastDone && target.Callback != nullptr) {
                int64_t t = total;
                target.Callback(BURNKIT_CALLBACK_REASON_WRITE_PROGRESS, target.Context, &t, &done);
                lastDone = done;
            }
            uint32_t size = 0, free = 0;
            if (fifo != nullptr) {
                int fifoSize = 0, fifoFree = 0;
                char* status = nullptr;
                if (burn::burn_fifo_inquire_status(fifo, &fifoSize, &fifoFree, &status) >= 0) {
                    size = static_cast<uint32_t>(fifoSize);
                    free = static_cast<uint32_t>(fifoFree);
                }
            } else {
                size = progress.buffer_capacity;
                free = progress.buffer_available;
            }
            if (size > 0 && target.Callback != nullptr)
                target.Callback(BURNKIT_CALLBACK_REASON_BUFFER_STATE, target.Context, &size, &free);
            std::this_thread::sleep_for(10ms);
        }
    }

private:
    std::string Path_;
    burn::burn_drive_info* Infos_ = nullptr;
    burn::burn_drive* Drive_ = nullptr;
};

struct DiscDeleter {
    void operator()(burn::burn_disc* d) const { burn::burn_disc_free(d); }
};
struct SessionDeleter {
    void operator()(burn::burn_session* s) const { burn::burn_session_free(s); }
};
struct TrackDeleter {
    void operator()(burn::burn_track* t) const { burn::burn_track_free(t); }
};
struct OptsDeleter {
    void operator()(burn::burn_write_opts* o) const { burn::burn_write_opts_free(o); }
};

void ReportProgress(const BurnTarget& target, int64_t total, int64_t done) {
    if (target.Callback != nullptr)
        target.Callback(BURNKIT_CALLBACK_REASON_WRITE_PROGRESS, target.Context, &total, &done);
}

// Offset and length of the samples of a WAV file.
bool WaveData(int fd, off_t fileSize, off_t* offset, off_t* length) {
    unsigned char header[12];
    if (pread(fd, header, 12, 0) != 12 || std::memcmp(header, "RIFF", 4) != 0 ||
        std::memcmp(header + 8, "WAVE", 4) != 0)
        return false;
    off_t pos = 12;
    while (pos + 8 <= fileSize) {
        unsigned char chunk[8];
        if (pread(fd, chunk, 8, pos) != 8)
            return false;
        uint32_t size = chunk[4] | (chunk[5] << 8) | (chunk[6] << 16) | (static_cast<uint32_t>(chunk[7]) << 24);
        if (std::memcmp(chunk, "data", 4) == 0) {
            *offset = pos + 8;
            *length = std::min<off_t>(size, fileSize - pos - 8);
            return true;
        }
        pos += 8 + size + (size & 1);
    }
    return false;
}

}  // namespace

BurnSourcePtr FileSource(const std::string& path, bool* isAudio) {
    EnsureBurnLibrary();
    *isAudio = false;
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        ThrowSystemError("Cannot open " + path, errno, EN_NOT_FOUND);
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        throw SdkError(EN_INVALID_INPUT_PARAMETER, "Cannot write " + path + ": not a file");
    }
    off_t offset = 0, length = st.st_size;
    if (HasSuffix(path, ".wav")) {
        if (!WaveData(fd, st.st_size, &offset, &length)) {
            close(fd);
            throw SdkError(EN_UNSUPPORTED_AUDIO, "Cannot write " + path + ": not a WAV file");
        }
        *isAudio = true;
    }
    if (lseek(fd, offset, SEEK_SET) < 0) {
        int err = errno;
        close(fd);
        ThrowSystemError("Cannot read " + path, err);
    }
    // The source owns the descriptor from here on and closes it when freed.
    burn::burn_source* source = burn::burn_fd_source_new(fd, -1, length);
    if (source == nullptr) {
        close(fd);
        throw SdkError(EN_MEMORY_ALLOCATION_FAILED, "Cannot read " + path);
    }
    return BurnSourcePtr(source);
}

void WriteDisc(const BurnTarget& target, BurnJob& job) {
    if (job.Tracks.empty())
        throw SdkError(EN_INVALID_INPUT_PARAMETER, "Nothing to write: no tracks");
    bool toImage = target.Type == BurnTarget::Kind::ImageFile;
    if (toImage) {
        RequireIsoImage(target.Path);
        for (const BurnTrack& track : job.Tracks)
            if (track.Audio)
                throw SdkError(EN_NOT_IMPLEMENTED,
                               "Cannot write an audio track to image " + target.Path + ": it holds data only");
        if (job.Tracks.size() > 1)
            throw SdkError(EN_NOT_IMPLEMENTED,
                           "Cannot write " + std::to_string(job.Tracks.size()) + " tracks to image " + target.Path +
                               ": it holds one data track");
    }
    GrabbedDrive drive(target);
    burn::burn_disc_status status = burn::burn_disc_get_status(drive.Get());
    if (status == burn::BURN_DISC_EMPTY || status == burn::BURN_DISC_UNREADY)
        throw SdkError(EN_SCSI_CDB_FAILED, "No disc in drive " + target.Path);
    if (status == burn::BURN_DISC_FULL || status == burn::BURN_DISC_UNSUITABLE)
        throw SdkError(EN_INVALID_STATE, "The disc in drive " + target.Path + " cannot be written");

    std::unique_ptr<burn::burn_write_opts, OptsDeleter> opts(burn::burn_write_opts_new(drive.Get()));
    std::unique_ptr<burn::burn_disc, DiscDeleter> disc(burn::burn_disc_create());
    std::unique_ptr<burn::burn_session, SessionDeleter> session(burn::burn_session_create());
    if (!opts || !disc || !session)
        throw SdkError(EN_MEMORY_ALLOCATION_FAILED, "Cannot prepare the write to " + target.Path);

    bool anyAudio = std::any_of(job.Tracks.begin(), job.Tracks.end(), [](const BurnTrack& t) { return t.Audio; });
    burn::burn_write_types type = burn::BURN_WRITE_SAO;
    int block = burn::BURN_BLOCK_SAO;
    if (job.WriteMode == BurnJob::Mode::TrackAtOnce) {
        type = burn::BURN_WRITE_TAO;
        block = anyAudio ? burn::BURN_BLOCK_RAW0 : burn::BURN_BLOCK_MODE1;
    } else if (job.WriteMode == BurnJob::Mode::DiscAtOnceRaw && !toImage) {
        type = burn::BURN_WRITE_RAW;
        block = burn::BURN_BLOCK_RAW96R;
    }
    if (toImage) {
        // The pseudo-drive takes plain data in one session.
        type = job.WriteMode == BurnJob::Mode::TrackAtOnce ? burn::BURN_WRITE_TAO : burn::BURN_WRITE_SAO;
        block = burn::BURN_BLOCK_SAO;
    }
    burn::burn_write_opts_set_write_type(opts.get(), type, block);
    burn::burn_write_opts_set_simulate(opts.get(), job.Simulate ? 1 : 0);
    burn::burn_write_opts_set_underrun_proof(opts.get(), job.Bup ? 1 : 0);
    burn::burn_write_opts_set_multi(opts.get(), job.MultiSession && !toImage ? 1 : 0);
    burn::burn_write_opts_set_perform_opc(opts.get(), 0);

    std::vector<std::unique_ptr<burn::burn_track, TrackDeleter>> tracks;
    std::vector<BurnSourcePtr> fifos;
    int64_t total = 0;
    for (BurnTrack& t : job.Tracks) {
        std::unique_ptr<burn::burn_track, TrackDeleter> track(burn::burn_track_create());
        if (!track)
            throw SdkError(EN_MEMORY_ALLOCATION_FAILED, "Cannot prepare the write to " + target.Path);
        burn::burn_track_define_data(track.get(), 0, 0, 1, t.Audio ? BURN_AUDIO : BURN_MODE1);
        BurnSourcePtr fifo(burn::burn_fifo_source_new(t.Source.get(), t.Audio ? kAudioBlock : kDataBlock,
                                                      kFifoChunks, 0));
        if (!fifo)
            throw SdkError(EN_MEMORY_ALLOCATION_FAILED, "Cannot prepare the write to " + target.Path);
        if (burn::burn_track_set_source(track.get(), fifo.get()) != burn::BURN_SOURCE_OK)
            throw SdkError(EN_FAILURE, "Cannot prepare the write to " + target.Path + ": " + BurnMessages());
        off_t size = t.Source->get_size(t.Source.get());
        total += size > 0 ? size : 0;
        if (burn::burn_session_add_track(session.get(), track.get(), BURN_POS_END) <= 0)
            throw SdkError(EN_FAILURE, "Cannot prepare the write to " + target.Path + ": " + BurnMessages());
        tracks.push_back(std::move(track));
        fifos.push_back(std::move(fifo));
    }
    if (burn::burn_disc_add_session(disc.get(), session.get(), BURN_POS_END) <= 0)
        throw SdkError(EN_FAILURE, "Cannot prepare the write to " + target.Path + ": " + BurnMessages());

    char reasons[BURN_REASONS_LEN] = "";
    if (burn::burn_precheck_write(opts.get(), disc.get(), reasons, 0) <= 0)
        throw SdkError(EN_ILLEGAL_OPERATION_FOR_TRACK, "Drive " + target.Path + " cannot write this: " + reasons);

    ReportProgress(target, total, 0);
    burn::burn_disc_write(opts.get(), disc.get());
    drive.WaitIdle(target, total, false, fifos.size() == 1 ? fifos.front().get() : nullptr);
    bool good = burn::burn_drive_wrote_well(drive.Get()) == 1;
    std::string why = BurnMessages();
    if (!good)
        throw SdkError(EN_FAILURE, "Writing to " + target.Path + " failed" + (why.empty() ? "" : ": " + why));
    if (toImage && !job.Simulate && truncate(target.Path.c_str(), total) != 0)
        ThrowSystemError("Cannot set the size of image " + target.Path, errno);
    ReportProgress(target, total, total);
}

void BlankDisc(const BurnTarget& target, bool full) {
    if (target.Type == BurnTarget::Kind::ImageFile) {
        // The pseudo-drive has no blanking of its own: an empty image is a
        // blank disc.
        RequireIsoImage(target.Path);
        int fd = open(target.Path.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd < 0)
            ThrowSystemError("Cannot open image " + target.Path, errno, EN_NOT_FOUND);
        struct stat st {};
        if (fstat(fd, &st) != 0) {
            int err = errno;
            close(fd);
            ThrowSystemError("Cannot read image " + target.Path, err);
        }
        int64_t total = st.st_size;
        ReportProgress(target, total, 0);
        if (full) {
            std::vector<char> zeros(1 << 20, 0);
            int64_t done = 0;
            while (done < total) {
                size_t n = static_cast<size_t>(std::min<int64_t>(total - done, static_cast<int64_t>(zeros.size())));
                ssize_t w = pwrite(fd, zeros.data(), n, done);
                if (w <= 0) {
                    int err = w < 0 ? errno : EIO;
                    close(fd);
                    ThrowSystemError("Cannot blank image " + target.Path, err);
                }
                done += w;
                ReportProgress(target, total, done);
            }
            fsync(fd);
        }
        if (ftruncate(fd, 0) != 0) {
            int err = errno;
            close(fd);
            ThrowSystemError("Cannot blank image " + target.Path, err);
        }
        close(fd);
        if (!full || total == 0)
            ReportProgress(target, total, total);
        return;
    }
    GrabbedDrive drive(target);
    burn::burn_disc_status status = burn::burn_disc_get_status(drive.Get());
    if (status == burn::BURN_DISC_EMPTY || status == burn::BURN_DISC_UNREADY)
        throw SdkError(EN_SCSI_CDB_FAILED, "No disc in drive " + target.Path);
    if (burn::burn_disc_erasable(drive.Get()) != 1)
        throw SdkError(EN_INVALID_STATE, "The disc in drive " + target.Path + " is not rewritable");
    const int64_t steps = 0x10000;
    ReportProgress(target, steps, 0);
    burn::burn_disc_erase(drive.Get(), full ? 0 : 1);
    drive.WaitIdle(target, steps, true, nullptr);
    std::string why = BurnMessages();
    if (burn::burn_disc_get_status(drive.Get()) != burn::BURN_DISC_BLANK)
        throw SdkError(EN_FAILURE, "Blanking the disc in drive " + target.Path + " failed" +
                                       (why.empty() ? "" : ": " + why));
    ReportProgress(target, steps, steps);
}

}  // namespace kvsdk
