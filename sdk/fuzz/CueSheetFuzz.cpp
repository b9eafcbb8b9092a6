// Feeds arbitrary text to the cue-sheet reader and lays the result out over
// file sizes taken from the input; any outcome but a crash, a sanitizer
// report or an exception other than SdkError is a finding.

#include "CueSheet.h"
#include "SdkError.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        kvsdk::CueSheet sheet = kvsdk::ParseCueSheet(text);
        std::vector<uint64_t> sizes;
        for (size_t i = 0; i < sheet.Files.size(); ++i) {
            uint64_t seed = size > i ? data[i] : 0;
            // Whole sectors of either size, sometimes with a partial one.
            sizes.push_back(seed * 97 * (i % 2 ? 2352 : 2048) + (seed % 5 == 0 ? seed : 0));
        }
        std::vector<kvsdk::CueTrackPlacement> placements = kvsdk::LayoutCueSheet(sheet, sizes);
        for (const auto& p : placements)
            if (p.Layout.End <= p.Layout.Start || p.Layout.Index00 > p.Layout.Start)
                __builtin_trap();
    } catch (const kvsdk::SdkError&) {
    }
    return 0;
}
