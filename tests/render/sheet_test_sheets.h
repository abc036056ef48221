// Sheets of pictures drawn on the fly, and renders of them, for the renderer's tests.
#pragma once

#include <gtest/gtest.h>

#include "archive/frame_preparation.h"
#include "render/sheet_renderer.h"
#include "support/test_images.h"

namespace mirvane::testing {

inline QImage FlatImage(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A frame as composition makes it: the picture's JPEG bytes and its preview.
inline Frame FrameOf(const QImage& picture, std::int32_t year) {
    std::optional<Frame> frame = PrepareFrame(JpegOf(picture), year);
    EXPECT_TRUE(frame.has_value());
    return frame.value_or(Frame{});
}

struct Rendered {
    QImage image;
    bool ok = false;
};

inline Rendered Render(const Sheet& sheet, std::int32_t width, std::int32_t columns,
                       bool fullResolution, UiLanguage language = UiLanguage::English) {
    const SheetGeometry geometry =
        ComputeSheetGeometry(width, columns, static_cast<std::int32_t>(sheet.frames.size()));
    imaging::Bitmap target;
    EXPECT_EQ(imaging::CreateBitmap(width, geometry.height, imaging::PixelFormat::Pargb32, &target),
              imaging::Status::Ok);
    bool ok = false;
    {
        imaging::Graphics graphics(target);
        ok = RenderSheet(graphics, sheet, geometry, fullResolution, language);
    }
    return Rendered{target.Image(), ok};
}

}  // namespace mirvane::testing
