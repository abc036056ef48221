// Pair files made on the fly for the tests.
#pragma once

#include <QString>

#include "archive/bytes.h"

namespace mirvane::testing {

struct PairHeaderFields {
    std::uint32_t magic = 'Q' | 'M' << 8 | 'P' << 16 | '1' << 24;
    std::uint32_t version = 1;
    std::uint32_t firstYear;
    std::uint32_t secondYear;
    std::uint32_t firstSize;
    std::uint32_t secondSize;
};

// The 24 header bytes of `fields`, little-endian.
Bytes PairHeaderBytes(const PairHeaderFields& fields);

// A well-formed pair file of the two photographs.
Bytes PairFile(std::uint32_t firstYear, const Bytes& first, std::uint32_t secondYear,
               const Bytes& second);

// Writes a small well-formed pair file of two flat grey photographs, 40 x 30 of `firstYear` and
// 30 x 40 of `secondYear`, to `path`; false on failure.
bool WriteGreyPair(const QString& path, std::uint32_t firstYear, std::uint32_t secondYear);

// Writes `bytes` to `path`, replacing any file there; false on failure.
bool WriteBytes(const QString& path, const Bytes& bytes);

// Reads a file whole for comparisons; empty when it cannot be read.
Bytes ReadBytes(const QString& path);

}  // namespace mirvane::testing
