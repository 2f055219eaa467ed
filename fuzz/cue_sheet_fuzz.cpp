// Cue sheets are untrusted text: any bytes must parse into files and tracks or fail with the
// reader's one error type, and a data track found in them must lie in frames the reader can copy
// its 2048 bytes out of, within a file of any size.
#include "base/error.h"
#include "disc/cue_sheet.h"
#include "disc/disc_limits.h"
#include "disc/iso9660_volume.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > kestrova::kCueSheetKind.maxBytes) {
        return 0;
    }
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const kestrova::CueSheet sheet = kestrova::ParseCueSheet(text);
        if (sheet.files.size() > kestrova::kMaxCueFiles ||
            sheet.tracks.size() > kestrova::kMaxCueTracks) {
            __builtin_trap();
        }
        for (const kestrova::CueFile& file : sheet.files) {
            for (const char c : file.name) {
                if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
                    __builtin_trap();
                }
            }
            if (file.name.empty()) {
                __builtin_trap();
            }
        }
        for (const kestrova::CueTrack& track : sheet.tracks) {
            if (track.file >= sheet.files.size() || track.number < 1 || track.number > 99) {
                __builtin_trap();
            }
        }
        const std::optional<kestrova::CueDataTrack> found = kestrova::FirstCueDataTrack(sheet);
        if (!found) {
            return 0;
        }
        const kestrova::CueFrameLayout layout = found->layout;
        if (found->file >= sheet.files.size() || layout.frameBytes == 0 ||
            layout.dataAt + kestrova::kIsoSectorBytes > layout.frameBytes) {
            __builtin_trap();
        }
        // Whatever the file's size, the frames counted lie inside it.
        const uint64_t sizes[] = {0, found->startByte, found->startByte + layout.frameBytes - 1,
                                  found->startByte + uint64_t{700} * 1024 * 1024, UINT64_MAX};
        for (const uint64_t fileBytes : sizes) {
            const uint32_t frames = kestrova::CueTrackSectors(*found, fileBytes);
            if (frames > 0 && (fileBytes - found->startByte) / layout.frameBytes < frames) {
                __builtin_trap();
            }
            if (found->frames && frames > *found->frames) {
                __builtin_trap();
            }
        }
    } catch (const kestrova::Error&) {
    }
    return 0;
}
