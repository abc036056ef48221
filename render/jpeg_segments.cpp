#include "render/jpeg_segments.h"

#include <algorithm>

namespace mirvane::imaging::jpeg {

std::optional<ByteView> FindSegment(ByteView bytes, std::uint8_t marker, ByteView signature) {
    if (bytes.size() < 4 || bytes[0] != 0xff || bytes[1] != 0xd8) {
        return std::nullopt;
    }
    std::size_t at = 2;
    while (at + 4 <= bytes.size()) {
        if (bytes[at] != 0xff) {
            return std::nullopt;
        }
        const std::uint8_t found = bytes[at + 1];
        if (found == 0xff) {  // a fill byte before the marker
            ++at;
            continue;
        }
        if (found == 0xda || found == 0xd9) {  // the image data, or its end
            return std::nullopt;
        }
        if (found == 0x01 || (found >= 0xd0 && found <= 0xd7)) {  // markers without a length
            at += 2;
            continue;
        }
        const std::size_t length = std::size_t{bytes[at + 2]} << 8 | bytes[at + 3];
        if (length < 2 || at + 2 + length > bytes.size()) {
            return std::nullopt;
        }
        const ByteView payload = bytes.subspan(at + 4, length - 2);
        if (found == marker && payload.size() >= signature.size() &&
            std::equal(signature.begin(), signature.end(), payload.begin())) {
            return payload.subspan(signature.size());
        }
        at += 2 + length;
    }
    return std::nullopt;
}

}  // namespace mirvane::imaging::jpeg
