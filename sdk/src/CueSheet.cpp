#include "CueSheet.h"

#include "SdkError.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <sstream>

namespace kvsdk {

namespace {

[[noreturn]] void Refuse(int line, const std::string& reason) {
    throw SdkError(EN_UNRECOGNIZED_MEDIA, "line " + std::to_string(line) + ": " + reason);
}

std::string Upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::toupper(c); });
    return s;
}

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return {};
    size_t e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

// Splits off the first whitespace-separated word.
std::string FirstWord(const std::string& s, std::string& rest) {
    size_t e = s.find_first_of(" \t");
    if (e == std::string::npos) {
        rest.clear();
        return s;
    }
    rest = Trim(s.substr(e));
    return s.substr(0, e);
}

std::vector<std::string> Words(const std::string& s) {
    std::vector<std::string> words;
    std::istringstream in(s);
    std::string w;
    while (in >> w)
        words.push_back(w);
    return words;
}

int ParseNumber(const std::string& s, int line, const char* what, int lo, int hi) {
    if (s.empty() || s.size() > 3 || !std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c); }))
        Refuse(line, std::string("bad ") + what + " '" + s + "'");
    int v = std::stoi(s);
    if (v < lo || v > hi)
        Refuse(line, std::string(what) + " " + s + " out of range");
    return v;
}

// mm:ss:ff into frames.
int32_t ParseMsf(const std::string& s, int line) {
    int parts[3];
    size_t pos = 0;
    for (int i = 0; i < 3; ++i) {
        size_t e = i < 2 ? s.find(':', pos) : s.size();
        if (e == std::string::npos || e == pos)
            Refuse(line, "bad time '" + s + "' (expected mm:ss:ff)");
        std::string part = s.substr(pos, e - pos);
        if (part.size() > 2 || !std::all_of(part.begin(), part.end(), [](unsigned char c) { return std::isdigit(c); }))
            Refuse(line, "bad time '" + s + "' (expected mm:ss:ff)");
        parts[i] = std::stoi(part);
        pos = e + 1;
    }
    if (parts[1] >= 60 || parts[2] >= 75)
        Refuse(line, "bad time '" + s + "' (seconds below 60, frames below 75)");
    return (parts[0] * 60 + parts[1]) * 75 + parts[2];
}

bool ParseMode(const std::string& word, TrackMode& mode) {
    static const struct {
        const char* Name;
        TrackMode Mode;
    } kModes[] = {
        {"MODE1/2048", TrackMode::Mode1_2048},
        {"MODE1/2352", TrackMode::Mode1_2352},
        {"MODE2/2352", TrackMode::Mode2_2352},
        {"AUDIO", TrackMode::Audio},
    };
    for (const auto& m : kModes)
        if (Upper(word) == m.Name) {
            mode = m.Mode;
            return true;
        }
    return false;
}

void CheckTrackComplete(const CueTrack& t) {
    if (t.Index01 < 0)
        Refuse(t.Line, "track " + std::to_string(t.Number) + " has no INDEX 01");
}

}  // namespace

CueSheet ParseCueSheet(const std::string& input) {
    std::string text = input;
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        text.erase(0, 3);
    if (text.find('\0') != std::string::npos)
        Refuse(1, "not a text file");

    CueSheet sheet;
    CueTrack* track = nullptr;
    int lastNumber = 0;
    std::istringstream in(text);
    std::string raw;
    int line = 0;
    while (std::getline(in, raw)) {
        ++line;
        std::string rest;
        std::string keyword = Upper(FirstWord(Trim(raw), rest));
        if (keyword.empty())
            continue;
        if (keyword == "FILE") {
            if (track != nullptr)
                CheckTrackComplete(*track);
            track = nullptr;
            std::string name, type;
            if (!rest.empty() && rest[0] == '"') {
                size_t close = rest.find('"', 1);
                if (close == std::string::npos)
                    Refuse(line, "FILE name has no closing quote");
                name = rest.substr(1, close - 1);
                type = Trim(rest.substr(close + 1));
            } else {
                size_t e = rest.find_last_of(" \t");
                if (e == std::string::npos)
                    Refuse(line, "FILE needs a name and a type");
                name = Trim(rest.substr(0, e));
                type = Trim(rest.substr(e));
            }
            if (name.empty())
                Refuse(line, "FILE has an empty name");
            if (Upper(type) != "BINARY")
                Refuse(line, "unsupported file type '" + type + "' (only BINARY)");
            sheet.Files.push_back(CueFile{name, {}, line});
        } else if (keyword == "TRACK") {
            if (sheet.Files.empty())
                Refuse(line, "TRACK before FILE");
            if (track != nullptr)
                CheckTrackComplete(*track);
            std::vector<std::string> w = Words(rest);
            if (w.size() != 2)
                Refuse(line, "TRACK needs a number and a mode");
            CueTrack t;
            t.Line = line;
            t.Number = ParseNumber(w[0], line, "track number", 1, 99);
            if (!ParseMode(w[1], t.Mode))
                Refuse(line, "unsupported track mode '" + w[1] + "'");
            if (lastNumber != 0 && t.Number != lastNumber + 1)
                Refuse(line, "track " + std::to_string(t.Number) + " follows track " + std::to_string(lastNumber) +
                                 " (tracks must be numbered in order)");
            lastNumber = t.Number;
            sheet.Files.back().Tracks.push_back(t);
            track = &sheet.Files.back().Tracks.back();
        } else if (keyword == "INDEX") {
            if (track == nullptr)
                Refuse(line, "INDEX outside a TRACK");
            std::vector<std::string> w = Words(rest);
            if (w.size() != 2)
                Refuse(line, "INDEX needs a number and a time");
            int number = ParseNumber(w[0], line, "index number", 0, 99);
            int32_t frame = ParseMsf(w[1], line);
            if (number == 0) {
                if (track->Index00 >= 0 || track->Index01 >= 0)
                    Refuse(line, "INDEX 00 must come first in its track");
                track->Index00 = frame;
            } else if (number == 1) {
                if (track->Index01 >= 0)
                    Refuse(line, "second INDEX 01");
                if (track->Index00 > frame)
                    Refuse(line, "INDEX 01 lies before INDEX 00");
                track->Index01 = frame;
            } else if (track->Index01 < 0 || frame < track->Index01) {
                Refuse(line, "INDEX " + w[0] + " before INDEX 01");
            }
        } else if (keyword == "PREGAP" || keyword == "POSTGAP") {
            if (track == nullptr)
                Refuse(line, keyword + " outside a TRACK");
            std::vector<std::string> w = Words(rest);
            if (w.size() != 1)
                Refuse(line, keyword + " needs a time");
            int32_t frames = ParseMsf(w[0], line);
            if (keyword == "PREGAP") {
                if (track->Index00 >= 0 || track->Index01 >= 0)
                    Refuse(line, "PREGAP must come before the track's INDEX lines");
                track->Pregap = frames;
            } else {
                if (track->Index01 < 0)
                    Refuse(line, "POSTGAP before INDEX 01");
                track->Postgap = frames;
            }
        } else if (keyword == "REM" || keyword == "TITLE" || keyword == "PERFORMER" || keyword == "SONGWRITER" ||
                   keyword == "CATALOG" || keyword == "ISRC" || keyword == "FLAGS" || keyword == "CDTEXTFILE") {
            continue;
        } else {
            Refuse(line, "unknown command '" + keyword.substr(0, 40) + "'");
        }
    }
    if (track != nullptr)
        CheckTrackComplete(*track);
    if (lastNumber == 0)
        Refuse(line == 0 ? 1 : line, "the cue sheet has no tracks");
    for (const CueFile& f : sheet.Files)
        if (f.Tracks.empty())
            Refuse(f.Line, "FILE without a TRACK");
    return sheet;
}

std::vector<CueTrackPlacement> LayoutCueSheet(const CueSheet& sheet, const std::vector<uint64_t>& fileSizes) {
    // Discs hold at most about 100 minutes; anything far beyond is a bad sheet.
    constexpr int64_t kMaxFrames = int64_t{1} << 30;
    std::vector<CueTrackPlacement> placements;
    int64_t discOffset = 0;  // disc LBA of the current file's frame 0
    for (size_t f = 0; f < sheet.Files.size(); ++f) {
        const CueFile& file = sheet.Files[f];
        uint64_t size = f < fileSizes.size() ? fileSizes[f] : 0;
        const size_t n = file.Tracks.size();
        // Byte position of each track's first frame (INDEX 00, else 01).
        std::vector<uint64_t> firstByte(n);
        std::vector<int64_t> firstFrame(n);
        for (size_t k = 0; k < n; ++k) {
            const CueTrack& t = file.Tracks[k];
            firstFrame[k] = t.Index00 >= 0 ? t.Index00 : t.Index01;
            if (k == 0) {
                firstByte[k] = static_cast<uint64_t>(firstFrame[k]) * StoredSectorSize(t.Mode);
            } else {
                const CueTrack& prev = file.Tracks[k - 1];
                if (firstFrame[k] <= prev.Index01)
                    Refuse(t.Line, "track " + std::to_string(t.Number) + " starts before the end of track " +
                                       std::to_string(prev.Number));
                firstByte[k] = firstByte[k - 1] +
                               static_cast<uint64_t>(firstFrame[k] - firstFrame[k - 1]) * StoredSectorSize(prev.Mode);
            }
            if (firstByte[k] > size)
                throw SdkError(EN_UNRECOGNIZED_MEDIA, "'" + file.Name + "' is truncated: track " +
                                                          std::to_string(t.Number) + " starts at byte " +
                                                          std::to_string(firstByte[k]) + ", the file has " +
                                                          std::to_string(size) + " bytes");
        }
        // The last track runs to the end of the file.
        const CueTrack& last = file.Tracks[n - 1];
        uint64_t tail = size - firstByte[n - 1];
        uint32_t lastSector = StoredSectorSize(last.Mode);
        if (tail % lastSector != 0)
            throw SdkError(EN_UNRECOGNIZED_MEDIA, "'" + file.Name + "' is truncated: its last " +
                                                      std::to_string(tail % lastSector) +
                                                      " bytes do not make a whole sector of track " +
                                                      std::to_string(last.Number));
        if (tail / lastSector > static_cast<uint64_t>(kMaxFrames))
            throw SdkError(EN_UNRECOGNIZED_MEDIA, "'" + file.Name + "' is too large for a disc");
        int64_t fileFrames = firstFrame[n - 1] + static_cast<int64_t>(tail / lastSector);

        for (size_t k = 0; k < n; ++k) {
            const CueTrack& t = file.Tracks[k];
            discOffset += t.Pregap;
            int64_t endFrame = k + 1 < n ? firstFrame[k + 1] : fileFrames;
            if (endFrame <= t.Index01)
                Refuse(t.Line, "track " + std::to_string(t.Number) + " has no sectors");
            CueTrackPlacement p;
            p.FileIndex = f;
            p.Layout.Number = t.Number;
            p.Layout.Mode = t.Mode;
            p.Layout.Index00 = static_cast<int32_t>(discOffset + firstFrame[k]);
            p.Layout.Start = static_cast<int32_t>(discOffset + t.Index01);
            p.Layout.End = static_cast<int32_t>(discOffset + endFrame);
            p.ByteOffset = firstByte[k] + static_cast<uint64_t>(t.Index01 - firstFrame[k]) * StoredSectorSize(t.Mode);
            placements.push_back(p);
            discOffset += t.Postgap;
            if (discOffset + fileFrames > kMaxFrames)
                Refuse(t.Line, "the disc would be too long");
        }
        discOffset += fileFrames;
    }
    return placements;
}

}  // namespace kvsdk
