// The pair file: a 24-byte little-endian header, then exactly two encoded photographs.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace mirvane {

struct PairFileHeader {
    std::uint32_t magic;  // 'Q', 'M', 'P', '1' in file order
    std::uint32_t version;
    std::uint32_t firstYear;
    std::uint32_t secondYear;
    std::uint32_t firstSize;
    std::uint32_t secondSize;
};

inline constexpr std::size_t kPairHeaderSize = 24;
inline constexpr std::uint32_t kPairMagic = 'Q' | 'M' << 8 | 'P' << 16 | '1' << 24;
inline constexpr std::uint32_t kPairVersion = 1;
// The largest valid file: the header and two photographs of 40 MiB.
inline constexpr std::uint64_t kMaxPairFileBytes = 83'886'104;

// The header of a whole pair file's bytes when every rule holds, checked in a fixed order and
// stopping at the first that fails: length, magic, version 1, years in 1800-2200 and different,
// sizes 1 to 40 MiB, and a length of exactly the header plus both photographs. The photographs
// themselves are not looked at.
std::optional<PairFileHeader> ParsePairHeader(std::span<const std::uint8_t> bytes);

}  // namespace mirvane
