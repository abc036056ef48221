// The painting tests' window, sheet and golden pixels, probed at DIP positions well inside each
// painted area (or just either side of an edge) so that one table serves every scale.
#pragma once

#include <gtest/gtest.h>

#include <QPaintEvent>
#include <QWidget>
#include <cmath>

#include "archive/frame_preparation.h"
#include "localization/status_line.h"
#include "render/fonts.h"
#include "render/pixel_probes.h"
#include "render/sheet_geometry.h"
#include "sheet/current_sheet.h"
#include "shell/window_metrics.h"
#include "shell/window_painting.h"
#include "support/test_images.h"

namespace mirvane::testing {

constexpr QRgb kPaperColour = 0xfff7f3eb;
constexpr QRgb kLeftPanelColour = 0xffebe2e4;
constexpr QRgb kWellColour = 0xffdbd1d4;
constexpr QRgb kShadowColour = 0xffbfb1b7;
constexpr QRgb kFirstFrameColour = 0xff285a8c;

class PaintedWindow : public QWidget {
  public:
    PaintedWindow() {
        setAttribute(Qt::WA_OpaquePaintEvent);
        resize(1164, 801);
    }
    int columns = 2;

  protected:
    void paintEvent(QPaintEvent* event) override {
        shell::PaintMainWindow(*this, event->rect(), columns);
    }
};

// A sheet of `frames` flat photographs, the first kFirstFrameColour, and a normal status.
class PaintingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(RegisterFonts());
        ShowSheetOf(4);
        SetStatusText(QStringLiteral("Ready. Your contact sheet is fully offline."), false);
    }
    void TearDown() override { ReplaceCurrentSheet(Sheet{}); }

    static void ShowSheetOf(int frames) {
        Sheet sheet{QStringLiteral("Aral Sea"), {}, true};
        for (int i = 0; i < frames; ++i) {
            QImage picture(320, 240, QImage::Format_RGB32);
            picture.fill(qRgb(40 + 30 * i, 90, 140));
            sheet.frames.push_back(PrepareFrame(JpegOf(picture), 2000 + 6 * i).value());
        }
        ReplaceCurrentSheet(std::move(sheet));
    }
};

inline int ChannelDistance(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}

// The device pixels of a DIP rectangle, edges rounded outwards.
inline QRect DeviceRect(float scale, float x, float y, float width, float height) {
    const int left = static_cast<int>(std::floor(x * scale));
    const int top = static_cast<int>(std::floor(y * scale));
    return QRect(left, top, static_cast<int>(std::ceil((x + width) * scale)) - left,
                 static_cast<int>(std::ceil((y + height) * scale)) - top);
}

// The device pixel holding the DIP point (x, y).
inline QRgb At(const QImage& image, float scale, float x, float y) {
    const QRect pixel = DeviceRect(scale, x, y, 0, 0);
    return Opaque(image, pixel.left(), pixel.top());
}

// The largest `measure` of a pixel in `area`.
inline int MaxOver(const QImage& image, const QRect& area, int (*measure)(QRgb)) {
    int best = -255;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            best = std::max(best, measure(image.pixel(x, y)));
        }
    }
    return best;
}
inline int Redness(QRgb p) {
    return qRed(p) - qGreen(p);
}
inline int Darkness(QRgb p) {
    return 255 - qGray(p);
}

// The window at `scale` with the four-frame sheet in `columns` columns.
inline void ExpectGoldenWindow(const QImage& image, float scale, int columns = 2) {
    SCOPED_TRACE(::testing::Message() << "scale " << scale << ", " << columns << " columns");
    const shell::ClientArea client =
        shell::ClientAreaOf(image.deviceIndependentSize().toSize(), scale);
    ASSERT_EQ(image.size(), client.pixels);
    const float w = client.w;
    const float h = client.h;
    const int right = image.width() - 1;
    const int headerBottom = static_cast<int>(108 * scale) - 1;

    // The header's gradient runs from ink at the top left to its end colour at the bottom right.
    EXPECT_LE(ChannelDistance(Opaque(image, 0, 0), 0xff412b3d), 2);
    EXPECT_LE(ChannelDistance(Opaque(image, right, headerBottom), 0xff70484e), 2);

    // The left panel (0, 108, 294, h - 108).
    const QRect panel = DeviceRect(scale, 0, 108, 294, h - 108);
    EXPECT_EQ(Opaque(image, 5, headerBottom + 1), kLeftPanelColour);
    EXPECT_EQ(Opaque(image, panel.right(), 300), kLeftPanelColour);
    EXPECT_EQ(Opaque(image, panel.right() + 1, 300), kPaperColour);

    // The preview well (324, 191, w - 362, h - 307).
    const QRect well = DeviceRect(scale, 324, 191, w - 362, h - 307);
    EXPECT_EQ(Opaque(image, well.left() - 1, well.top() + 20), kPaperColour);
    EXPECT_EQ(Opaque(image, well.left(), well.top() + 20), kWellColour);
    EXPECT_EQ(Opaque(image, well.left() + 20, well.top() - 1), kPaperColour);
    EXPECT_EQ(Opaque(image, well.left() + 20, static_cast<int>(std::ceil(191 * scale))),
              kWellColour);
    EXPECT_EQ(Opaque(image, well.right(), well.bottom()), kWellColour);
    EXPECT_EQ(Opaque(image, well.right() + 1, well.bottom() + 1), kPaperColour);

    // The sheet's shadow 5 DIPs right of and below it, and its first photograph.
    const SheetGeometry geometry = ComputeSheetGeometry(3000, columns, 4);
    const auto sheetH = static_cast<float>(geometry.height);
    const shell::PreviewPlacement p = shell::PlacePreview(w, h, sheetH);
    const float x1 = p.ox + 3000 * p.k;
    const float y1 = p.oy + sheetH * p.k;
    EXPECT_EQ(At(image, scale, x1 + 2.5f, (p.oy + y1) / 2), kShadowColour);
    EXPECT_EQ(At(image, scale, (p.ox + x1) / 2, y1 + 2.5f), kShadowColour);
    EXPECT_EQ(At(image, scale, p.ox + 2, y1 + 2.5f), kWellColour);
    EXPECT_EQ(At(image, scale, x1 + 2.5f, p.oy + 2), kWellColour);
    const float photoX = geometry.margin + geometry.cellWidth / 2;
    const float photoY = 480 + (geometry.cellHeight - 147) / 2;
    EXPECT_LE(ChannelDistance(At(image, scale, p.ox + photoX * p.k, p.oy + photoY * p.k),
                              kFirstFrameColour),
              4);

    // The footer's paper and the clock in body colour.
    EXPECT_EQ(At(image, scale, 305, h - 20), kPaperColour);
    EXPECT_EQ(At(image, scale, w - 300, h - 5), kPaperColour);
    EXPECT_GT(MaxOver(image, DeviceRect(scale, w - 292, h - 34, 270, 25), Darkness), 120);
}

}  // namespace mirvane::testing
