#include "pairs/pair_header.h"

#include <gtest/gtest.h>

#include "archive/photo_limits.h"
#include "support/pair_files.h"

namespace mirvane {
namespace {

using testing::PairHeaderBytes;
using testing::PairHeaderFields;

// A header and `first + second` image bytes of 0x55, without looking inside them.
Bytes FileOf(const PairHeaderFields& fields, std::size_t imageBytes) {
    Bytes file = PairHeaderBytes(fields);
    file.resize(file.size() + imageBytes, 0x55);
    return file;
}

PairHeaderFields Valid() {
    return {.firstYear = 2004, .secondYear = 1999, .firstSize = 10, .secondSize = 6};
}

TEST(ParsePairHeader, AcceptsAValidFileWithYearsInEitherOrder) {
    const auto header = ParsePairHeader(FileOf(Valid(), 16));
    ASSERT_TRUE(header.has_value());
    EXPECT_EQ(header->firstYear, 2004u);
    EXPECT_EQ(header->secondYear, 1999u);
    EXPECT_EQ(header->firstSize, 10u);
    EXPECT_EQ(header->secondSize, 6u);

    PairHeaderFields edges = Valid();
    edges.firstYear = 1800;
    edges.secondYear = 2200;
    EXPECT_TRUE(ParsePairHeader(FileOf(edges, 16)).has_value());
}

TEST(ParsePairHeader, RefusesEveryBrokenHeaderRule) {
    EXPECT_FALSE(ParsePairHeader({}).has_value());
    EXPECT_FALSE(ParsePairHeader(Bytes(23, 0)).has_value());
    EXPECT_FALSE(
        ParsePairHeader(
            FileOf({.firstYear = 2000, .secondYear = 2001, .firstSize = 0, .secondSize = 0}, 0))
            .has_value())
        << "a header alone";

    auto refuses = [](auto change) {
        PairHeaderFields fields = Valid();
        change(fields);
        return !ParsePairHeader(FileOf(fields, 16)).has_value();
    };
    EXPECT_TRUE(refuses([](auto& f) { f.magic = 'Q' | 'M' << 8 | 'P' << 16 | '2' << 24; }));
    EXPECT_TRUE(refuses([](auto& f) { f.magic = '1' | 'P' << 8 | 'M' << 16 | 'Q' << 24; }));
    EXPECT_TRUE(refuses([](auto& f) { f.version = 2; }));
    EXPECT_TRUE(refuses([](auto& f) { f.version = 0; }));
    EXPECT_TRUE(refuses([](auto& f) { f.firstYear = 1799; }));
    EXPECT_TRUE(refuses([](auto& f) { f.secondYear = 2201; }));
    EXPECT_TRUE(refuses([](auto& f) { f.firstYear = 0xffffffffu; }));
    EXPECT_TRUE(refuses([](auto& f) { f.secondYear = f.firstYear; }));
    EXPECT_TRUE(refuses([](auto& f) { f.firstSize = 0, f.secondSize = 16; }));
    EXPECT_TRUE(refuses([](auto& f) { f.firstSize = 16, f.secondSize = 0; }));
    // Sizes that wrap around in 32 bits must not make the length rule pass.
    EXPECT_TRUE(refuses([](auto& f) { f.firstSize = 0xfffffff8u, f.secondSize = 24; }));
}

TEST(ParsePairHeader, LengthMustMatchExactly) {
    EXPECT_FALSE(ParsePairHeader(FileOf(Valid(), 17)).has_value()) << "a trailing byte";
    EXPECT_FALSE(ParsePairHeader(FileOf(Valid(), 15)).has_value()) << "one byte short";
}

TEST(ParsePairHeader, PhotographsMayBeFortyMebibytesEach) {
    const auto size = std::uint32_t(kMaxPhotoBytes);
    const auto parses = [](std::uint32_t first, std::uint32_t second) {
        return ParsePairHeader(FileOf({.firstYear = 2000,
                                       .secondYear = 2001,
                                       .firstSize = first,
                                       .secondSize = second},
                                      std::size_t{first} + second))
            .has_value();
    };
    EXPECT_TRUE(parses(size, 1));
    EXPECT_TRUE(parses(1, size));
    EXPECT_FALSE(parses(size + 1, 1)) << "the first photograph";
    EXPECT_FALSE(parses(1, size + 1)) << "the second photograph";
}

}  // namespace
}  // namespace mirvane
