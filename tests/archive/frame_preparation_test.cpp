#include "archive/frame_preparation.h"

#include <gtest/gtest.h>

#include "archive/image_data.h"
#include "support/test_images.h"

namespace mirvane {
namespace {

TEST(PreviewSize, FitsTheLongerSideInto768Pixels) {
    EXPECT_EQ(PreviewSize({1920, 1080}), QSize(768, 432));
    EXPECT_EQ(PreviewSize({2505, 2363}), QSize(768, 724));
    EXPECT_EQ(PreviewSize({5427, 6790}), QSize(613, 768));
    EXPECT_EQ(PreviewSize({720, 480}), QSize(720, 480));
    EXPECT_EQ(PreviewSize({768, 768}), QSize(768, 768));
    EXPECT_EQ(PreviewSize({20000, 1}), QSize(768, 1));
    EXPECT_EQ(PreviewSize({1135, 100}), QSize(767, 67));
    EXPECT_EQ(PreviewSize({4000, 3000}), QSize(768, 576));
    EXPECT_EQ(PreviewSize({3000, 4000}), QSize(576, 768));
}

TEST(PrepareFrame, AcceptsYears1800To2200) {
    const Bytes jpeg = testing::FlatGreyJpeg(32, 24);
    EXPECT_FALSE(PrepareFrame(jpeg, 1799).has_value());
    EXPECT_FALSE(PrepareFrame(jpeg, 2201).has_value());
    EXPECT_FALSE(PrepareFrame(jpeg, INT32_MIN).has_value());
    EXPECT_FALSE(PrepareFrame(jpeg, INT32_MAX).has_value());
    EXPECT_TRUE(PrepareFrame(jpeg, 1800).has_value());
    EXPECT_TRUE(PrepareFrame(jpeg, 2200).has_value());
}

TEST(PrepareFrame, KeepsTheBytesAndMakesAnUprightPremultipliedPreview) {
    const Bytes bytes =
        testing::WithExifOrientation(testing::JpegOf(testing::QuadrantImage(4000, 3000)), 6);
    const std::optional<Frame> frame = PrepareFrame(bytes, 2004);
    ASSERT_TRUE(frame.has_value());
    EXPECT_EQ(frame->year, 2004);
    EXPECT_EQ(*frame->encodedBytes, bytes);
    EXPECT_EQ(frame->preview->Size(), QSize(576, 768));
    EXPECT_EQ(frame->preview->Image().format(), QImage::Format_ARGB32_Premultiplied);

    const auto again = DecodeImage(*frame->encodedBytes);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->bitmap.Size(), QSize(3000, 4000));

    EXPECT_FALSE(PrepareFrame(Bytes(64, 0), 2004).has_value());
}

TEST(PrepareFrame, PngAndBmpPreviewsAreMadeLikeJpegOnes) {
    const QImage image = testing::QuadrantImage(1920, 1080);
    for (const char* format : {"png", "bmp"}) {
        const auto frame = PrepareFrame(testing::EncodeWithQt(image, format), 2010);
        ASSERT_TRUE(frame.has_value()) << format;
        EXPECT_EQ(frame->preview->Size(), QSize(768, 432));
    }
}

// A preview drawn from a reduced decode must be the same picture as one resampled from the
// full decode, not a coarser one.
TEST(PrepareFrame, ReducedDecodePreviewMatchesFullResolutionResample) {
    const Bytes bytes = testing::JpegOf(testing::DetailedImage(3200, 2400));
    const auto frame = PrepareFrame(bytes, 2001);
    ASSERT_TRUE(frame.has_value());
    const auto full = DecodeImage(bytes);
    ASSERT_NE(full, nullptr);
    imaging::Bitmap reference;
    ASSERT_EQ(imaging::ResampleHighQuality(full->bitmap, frame->preview->Size(),
                                           imaging::PixelFormat::Pargb32, &reference),
              imaging::Status::Ok);
    EXPECT_LT(testing::MeanAbsoluteDifference(frame->preview->Image(), reference.Image()), 1.5);
}

}  // namespace
}  // namespace mirvane
