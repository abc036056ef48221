#include "shell/window_painting.h"

#include <QPainter>
#include <algorithm>

#include "localization/clock_text.h"
#include "localization/status_line.h"
#include "localization/ui_language.h"
#include "localization/ui_text.h"
#include "render/palette.h"
#include "render/sheet_geometry.h"
#include "render/sheet_renderer.h"
#include "sheet/compose.h"
#include "sheet/current_sheet.h"
#include "shell/window_metrics.h"

namespace mirvane::shell {
namespace {

using imaging::Graphics;
using imaging::SolidBrush;

constexpr QRgb kLeftPanel = 0xffebe2e4;
constexpr QRgb kHeaderEnd = 0xff70484e;
constexpr QRgb kOrnament = 0x5ae9c9ad;  // translucent: where lines cross, it builds up
constexpr QRgb kProductName = 0xfffff8e8;
constexpr QRgb kTagline = 0xffead3d1;
constexpr QRgb kPreviewWell = 0xffdbd1d4;
constexpr QRgb kPreviewShadow = 0xffbfb1b7;
constexpr QRgb kErrorStatus = 0xffaa3228;

constexpr float kHeaderHeight = 108;
constexpr float kLeftPanelWidth = 294;
constexpr float kPreviewLeft = 324;
constexpr float kPreviewTop = 191;

// One line unless said otherwise.
void Text(Graphics& graphics, TextId id, const QRectF& rect, float size, QRgb colour,
          bool bold = false) {
    DrawTextBox(graphics, UiText(id), rect, size, colour, bold, false);
}

void PaintHeader(Graphics& graphics, float w) {
    graphics.FillRectangle(imaging::LinearGradientBrush(QPointF(0, 0), QPointF(w, kHeaderHeight),
                                                        palette::kInk, kHeaderEnd),
                           QRectF(0, 0, w, kHeaderHeight));
    const QPen ornament = imaging::SolidPen(kOrnament, 1);
    for (const float i : {0.0f, 23.0f, 46.0f}) {
        graphics.DrawLine(ornament, QPointF(370 + i, 0), QPointF(420 + i, kHeaderHeight));
        graphics.DrawLine(ornament, QPointF(370 + i, 40), QPointF(580 + i, 40));
    }
}

// The left panel's lowest texts, which reach into the footer band.
void PaintLeftPanelFoot(Graphics& graphics, float h) {
    Text(graphics, TextId::OfflineBadgeText, QRectF(22, h - 57, 250, 24), 11, palette::kMuted);
    Text(graphics, TextId::LanguageNameText, QRectF(22, h - 32, 250, 24), 11, palette::kBody);
}

void PaintLabels(Graphics& graphics, float w, float h) {
    DrawTextBox(graphics, QStringLiteral("Mirvane"), QRectF(26, 19, 310, 44), 31, kProductName,
                true, false);
    Text(graphics, TextId::TaglineText, QRectF(27, 64, 330, 27), 14, kTagline);
    Text(graphics, TextId::SourceArchiveLabel, QRectF(22, 132, 250, 25), 11, palette::kMuted, true);
    Text(graphics, TextId::SelectYearsLabel, QRectF(22, 208, 250, 25), 13, palette::kBody, true);
    DrawTextBox(graphics, UiText(TextId::DropHintText), QRectF(22, h - 109, 250, 45), 12,
                palette::kMuted, false, true);
    PaintLeftPanelFoot(graphics, h);
    Text(graphics, TextId::PreviewLabel, QRectF(kPreviewLeft, 132, w - 650, 30), 12,
         palette::kMuted, true);
    Text(graphics, TextId::ColumnsLabel, QRectF(w - 302, 119, 100, 23), 11, palette::kMuted);
    Text(graphics, TextId::PngWidthLabel, QRectF(w - 188, 119, 150, 23), 11, palette::kMuted);
}

// The current sheet laid out at 3000 pixels, shrunk into the well with a shadow behind it. A
// sheet that cannot be laid out leaves the well empty.
void PaintPreview(Graphics& graphics, float w, float h, int columns) {
    const Sheet& sheet = currentSheet;
    if (sheet.frames.size() < kMinSheetFrames || sheet.frames.size() > kMaxSheetFrames) {
        return;
    }
    const SheetGeometry geometry = ComputeSheetGeometry(
        3000, columns == 3 ? 3 : 2, static_cast<std::int32_t>(sheet.frames.size()));
    const auto height = static_cast<float>(geometry.height);
    const PreviewPlacement place = PlacePreview(w, h, height);
    graphics.FillRectangle(SolidBrush(kPreviewShadow),
                           QRectF(place.ox + 5, place.oy + 5, 3000 * place.k, height * place.k));
    const imaging::ScopedGraphicsState state(graphics);
    graphics.TranslateTransform(place.ox, place.oy);
    graphics.ScaleTransform(place.k, place.k);
    // A photograph that fails to draw leaves the rest of the sheet as drawn; nothing to report.
    RenderSheet(graphics, sheet, geometry, false, uiLanguage);
}

// The whole client area in DIPs onto a context that maps DIPs to device pixels.
void PaintWindowSurface(Graphics& graphics, float w, float h, int columns) {
    graphics.SetSmoothingMode(imaging::SmoothingMode::AntiAlias);
    graphics.SetTextRenderingHint(imaging::TextRenderingHint::ClearTypeGridFit);
    graphics.FillRectangle(SolidBrush(palette::kPaper), QRectF(0, 0, w, h));
    graphics.FillRectangle(SolidBrush(kLeftPanel),
                           QRectF(0, kHeaderHeight, kLeftPanelWidth, h - kHeaderHeight));
    PaintHeader(graphics, w);
    PaintLabels(graphics, w, h);
    graphics.FillRectangle(SolidBrush(kPreviewWell),
                           QRectF(kPreviewLeft, kPreviewTop, w - 362, h - 307));
    PaintPreview(graphics, w, h, columns);
    PaintFooterBand(graphics, w, h);
}

}  // namespace

void PaintFooterBand(Graphics& graphics, float w, float h) {
    // The band starts right of the left panel, whose lower texts it leaves alone.
    graphics.FillRectangle(
        SolidBrush(palette::kPaper),
        QRectF(kLeftPanelWidth + 1, h - kFooterHeight, w - kLeftPanelWidth - 1, kFooterHeight));
    DrawTextBox(graphics, statusText, QRectF(kPreviewLeft, h - 39, w - 627, 38), 11,
                statusIsError ? kErrorStatus : palette::kMuted, false, true);
    DrawTextBox(graphics, ClockText(), QRectF(w - 292, h - 34, 270, 25), 12, palette::kBody, false,
                false);
}

QImage ComposeWindowImage(QSize logicalSize, float scale, int columns) {
    const ClientArea client = ClientAreaOf(logicalSize, scale);
    imaging::Bitmap backBuffer;
    imaging::CreateBitmap(std::max(client.pixels.width(), 1), std::max(client.pixels.height(), 1),
                          imaging::PixelFormat::Pargb32, &backBuffer);
    {
        Graphics graphics(backBuffer);
        graphics.ScaleTransform(scale, scale);
        PaintWindowSurface(graphics, client.w, client.h, columns);
    }
    QImage image = std::move(backBuffer.Image());
    image.setDevicePixelRatio(scale);
    return image;
}

void PaintMainWindow(QWidget& window, const QRect& dirtyRect, int columns) {
    const auto scale = static_cast<float>(window.devicePixelRatioF());
    const ClientArea client = ClientAreaOf(window.size(), scale);
    const int bandTop = FooterBandTop(client.pixels.height(), scale);
    if (IsFooterOnlyRepaint(DeviceTop(dirtyRect.top(), scale), bandTop)) {
        // The whole bottom strip, the left panel's part included: a backing store may hand us a
        // fresh buffer holding none of the earlier paint. Qt clips it all to the dirty area.
        // The window's painter already maps DIPs to device pixels.
        Graphics graphics(window);
        const float top = client.h - kFooterHeight;
        graphics.FillRectangle(SolidBrush(palette::kPaper),
                               QRectF(0, top, client.w, kFooterHeight));
        graphics.FillRectangle(SolidBrush(kLeftPanel),
                               QRectF(0, top, kLeftPanelWidth, kFooterHeight));
        PaintLeftPanelFoot(graphics, client.h);
        PaintFooterBand(graphics, client.w, client.h);
        return;
    }
    const QImage image = ComposeWindowImage(window.size(), scale, columns);
    QPainter painter(&window);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPointF(0, 0), image);
}

QRect FooterBandRect(const QWidget& window) {
    const auto scale = static_cast<float>(window.devicePixelRatioF());
    const ClientArea client = ClientAreaOf(window.size(), scale);
    const int top = FooterBandLogicalTop(client.pixels.height(), scale);
    return QRect(0, top, window.width(), std::max(window.height() - top, 0));
}

}  // namespace mirvane::shell
