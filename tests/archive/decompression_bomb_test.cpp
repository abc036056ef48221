#include <gtest/gtest.h>

#include <QImageReader>

#include "archive/frame_preparation.h"
#include "archive/image_data.h"
#include "archive/photo_limits.h"
#include "bomb_images.h"

namespace mirvane {
namespace {

using namespace testing;

QSize DecodedSize(Bytes bytes) {
    const std::shared_ptr<ImageData> data = DecodeImage(std::move(bytes));
    return data ? QSize(data->width, data->height) : QSize();
}

// The crafted files are refused for their size alone: at a harmless size, the very same
// construction decodes.
TEST(DecompressionBombs, TheirConstructionDecodesWithinTheCaps) {
    EXPECT_EQ(DecodedSize(FlatJpeg(64, 48)), QSize(64, 48));
    EXPECT_EQ(DecodedSize(FlatJpeg(kMaxPhotoSide, 1)), QSize(kMaxPhotoSide, 1));
    EXPECT_EQ(DecodedSize(ManyScanJpeg(64, 48, 20)), QSize(64, 48));
    EXPECT_EQ(DecodedSize(FlatPng(64, 48)), QSize(64, 48));
    EXPECT_EQ(DecodedSize(FlatPng(kMaxPhotoSide, 1)), QSize(kMaxPhotoSide, 1));
    EXPECT_EQ(DecodedSize(PngWithTextBombs(0)), QSize(1, 1));
    EXPECT_EQ(DecodedSize(PngWithManyTextChunks(10)), QSize(1, 1));
    EXPECT_EQ(DecodedSize(FlatRleBmp(64, 48)), QSize(64, 48));
    EXPECT_EQ(DecodedSize(FlatRleBmp(kMaxPhotoSide, 1)), QSize(kMaxPhotoSide, 1));

    const std::shared_ptr<ImageData> png = DecodeImage(FlatPng(40, 30));
    ASSERT_NE(png, nullptr);
    EXPECT_EQ(png->bitmap.Image().pixel(39, 29), qRgb(0, 0, 0));
    const std::shared_ptr<ImageData> png16 = DecodeImage(FlatPng(40, 30, true));
    ASSERT_NE(png16, nullptr);
    EXPECT_EQ(png16->bitmap.Image().pixel(39, 29), qRgba(0, 0, 0, 0));
}

TEST(DecompressionBombs, EveryOneIsRefused) {
    for (const Bomb& bomb : AllBombs()) {
        EXPECT_EQ(DecodeImage(bomb.bytes), nullptr) << bomb.name;
        EXPECT_FALSE(PrepareFrame(bomb.bytes, 2000).has_value()) << bomb.name;
    }
}

// libjpeg-turbo's own limit: a progressive file may have up to 500 scans.
TEST(DecoderLimits, ProgressiveJpegScansStopAt500) {
    EXPECT_EQ(DecodedSize(ManyScanJpeg(64, 48, 499)), QSize(64, 48));
    EXPECT_EQ(DecodeImage(ManyScanJpeg(64, 48, 500)), nullptr);
}

// Metadata is not what we decode a PNG for: a little of it is read past, a flood is refused.
TEST(DecoderLimits, PngTextChunksAreBoundedInNumberAndSize) {
    EXPECT_EQ(DecodedSize(PngWithManyTextChunks(500)), QSize(1, 1));
    EXPECT_EQ(DecodeImage(PngWithManyTextChunks(5000)), nullptr);
    EXPECT_EQ(DecodeImage(PngWithTextBombs(1)), nullptr);
}

// Qt decodes our BMPs; its own allocation limit admits the largest picture we accept and no
// more than the next mebibyte.
TEST(DecoderLimits, QtAllocationLimitFitsEightyMegapixels) {
    ASSERT_NE(DecodeImage(FlatRleBmp(64, 48)), nullptr);
    const std::int64_t neededBytes = kMaxPhotoPixels * 4;
    EXPECT_GE(std::int64_t{QImageReader::allocationLimit()} << 20, neededBytes);
    EXPECT_LT(std::int64_t{QImageReader::allocationLimit() - 1} << 20, neededBytes);
}

}  // namespace
}  // namespace mirvane
