#include "SdkFixtures.h"

#include "TestDirs.h"

#include <cstring>

namespace sdktest {

std::string Pattern(size_t size, unsigned seed) {
    std::string s(size, '\0');
    uint32_t x = 2463534242u ^ (seed * 2654435761u);
    for (size_t i = 0; i < size; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        s[i] = static_cast<char>(x & 0xFF);
    }
    return s;
}

DiscFiles MakeDiscFiles(const std::string& folder) {
    DiscFiles d;
    d.Iso = folder + "/disc.iso";
    d.Cue = folder + "/mixed.cue";
    d.DataBin = folder + "/data.bin";
    d.AudioBin = folder + "/audio.bin";
    d.IsoBytes = Pattern(40 * 2048, 1);
    d.DataTrack = Pattern(30 * 2048, 2);
    d.AudioTrack2 = Pattern(80 * 2352, 3);
    std::string pregap = Pattern(20 * 2352, 4);
    d.AudioTrack3 = Pattern(60 * 2352, 5);
    kvtest::writeFile(d.Iso, d.IsoBytes);
    kvtest::writeFile(d.DataBin, d.DataTrack);
    kvtest::writeFile(d.AudioBin, d.AudioTrack2 + pregap + d.AudioTrack3);
    kvtest::writeFile(d.Cue,
                      "FILE \"data.bin\" BINARY\n"
                      "  TRACK 01 MODE1/2048\n"
                      "    INDEX 01 00:00:00\n"
                      "FILE \"audio.bin\" BINARY\n"
                      "  TRACK 02 AUDIO\n"
                      "    INDEX 01 00:00:00\n"
                      "  TRACK 03 AUDIO\n"
                      "    INDEX 00 00:01:05\n"
                      "    INDEX 01 00:01:25\n");
    return d;
}

void WriteDriveMap(const std::string& text) { kvtest::writeFile(kvtest::systemDir() + "/drives.conf", text); }

Errors::Errors() {
    std::memset(Text, 'x', sizeof(Text));
    Text[sizeof(Text) - 1] = '\0';
    SystemError = 12345;
    std::memset(&Cdb, 0, sizeof(Cdb));
}

}  // namespace sdktest
