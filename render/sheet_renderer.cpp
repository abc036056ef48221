#include "render/sheet_renderer.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "localization/ui_text.h"
#include "render/fonts.h"
#include "render/palette.h"

namespace mirvane {
namespace {

using imaging::Graphics;

constexpr QRgb kCard = 0xffffffff;
constexpr QRgb kPhotoWell = 0xffe8e2e0;
constexpr QRgb kRule = 0xffc8b8ba;

// Not localized: the archive's photographs come from these agencies whatever the language.
constexpr char16_t kArchiveCredit[] = u"NASA Earth Observatory / NASA / USGS";
constexpr char16_t kProductName[] = u"Mirvane";

QRectF Box(float x, float y, float width, float height) {
    return QRectF(x, y, width, height);
}

// A picture of `size` as large as fits into `rect`, centred; computed in single precision.
QRectF FittedRect(QSize size, const QRectF& rect) {
    const float iw = static_cast<float>(size.width());
    const float ih = static_cast<float>(size.height());
    const float rx = static_cast<float>(rect.x());
    const float ry = static_cast<float>(rect.y());
    const float rw = static_cast<float>(rect.width());
    const float rh = static_cast<float>(rect.height());
    const float k = std::min(rh / ih, rw / iw);
    const float width = iw * k;
    const float height = ih * k;
    return Box(rx + (rw - width) * 0.5f, ry + (rh - height) * 0.5f, width, height);
}

// `image` drawn whole into the place a picture of `fittedSize` takes in `rect`. A photograph
// decoded at a reduced scale is fitted by its full size, so it lands where the full decode would.
bool DrawFitted(Graphics& graphics, const imaging::Bitmap& image, QSize fittedSize,
                const QRectF& rect) {
    // A picture without pixels is refused by DrawImage, which records why.
    const QRectF destination = fittedSize.isEmpty() ? rect : FittedRect(fittedSize, rect);
    return graphics.DrawImage(image, destination, QRectF(0, 0, image.Width(), image.Height())) ==
           imaging::Status::Ok;
}

// Every position and size on the sheet, in sheet pixels, as single-precision products of the
// unit s = width / 1000.
struct Layout {
    explicit Layout(const SheetGeometry& geometry)
        : s(static_cast<float>(geometry.width) / 1000.0f),
          w(static_cast<float>(geometry.width)),
          h(static_cast<float>(geometry.height)),
          m(geometry.margin),
          g(geometry.gap),
          cw(geometry.cellWidth),
          ch(geometry.cellHeight),
          columns(geometry.columns) {}

    float CellX(std::size_t i) const {
        return static_cast<float>(static_cast<int>(i) % columns) * (cw + g) + m;
    }
    float CellY(std::size_t i) const {
        return static_cast<float>(static_cast<int>(i) / columns) * (ch + g) + 150 * s;
    }
    QRectF Well(std::size_t i) const {
        return Box(CellX(i) + 10 * s, CellY(i) + 10 * s, cw - 20 * s, ch - 49 * s);
    }

    float s, w, h, m, g, cw, ch;
    int columns;
};

void DrawTitleBand(Graphics& graphics, const Sheet& sheet, const Layout& l, UiLanguage language) {
    const float s = l.s;
    DrawTextBox(graphics, sheet.title, Box(l.m, 26 * s, 850 * s, 48 * s), 32 * s, palette::kInk,
                true, false);
    DrawTextBox(graphics, UiTextIn(TextId::SheetHeadingText, language),
                Box(l.m, 79 * s, 850 * s, 24 * s), 9 * s, palette::kMuted, true, false);
    const QString span =
        QStringLiteral("%1  /  %2").arg(sheet.frames.front().year).arg(sheet.frames.back().year);
    DrawTextBox(graphics, span, Box(l.m, 105 * s, 850 * s, 26 * s), 14 * s, palette::kBody, false,
                false);
}

void DrawCard(Graphics& graphics, const Layout& l, std::size_t i) {
    graphics.FillRectangle(imaging::SolidBrush(kCard), Box(l.CellX(i), l.CellY(i), l.cw, l.ch));
    graphics.FillRectangle(imaging::SolidBrush(kPhotoWell), l.Well(i));
}

void DrawCardCaptions(Graphics& graphics, const Frame& frame, std::size_t i, const Layout& l) {
    const float s = l.s;
    const float x = l.CellX(i);
    const float y = l.CellY(i);
    DrawTextBox(graphics, QString::number(frame.year),
                Box(x + 10 * s, y + l.ch - 32 * s, l.cw - 55 * s, 27 * s), 17 * s, palette::kInk,
                true, false);
    DrawTextBox(graphics, u'0' + QString::number(i + 1),
                Box(x + l.cw - 33 * s, y + l.ch - 27 * s, 30 * s, 21 * s), 10 * s, palette::kAccent,
                true, false);
}

void DrawFooterBand(Graphics& graphics, const Sheet& sheet, const Layout& l, UiLanguage language) {
    const float s = l.s;
    graphics.DrawLine(imaging::SolidPen(kRule, s), QPointF(l.m, l.h - 52 * s),
                      QPointF(l.w - l.m, l.h - 52 * s));
    const QString credit = sheet.credit        ? *sheet.credit
                           : sheet.fromArchive ? QString::fromUtf16(kArchiveCredit)
                                               : UiTextIn(TextId::PairCreditText, language);
    DrawTextBox(graphics, credit, Box(l.m, l.h - 44 * s, 800 * s, 27 * s), 8 * s, palette::kMuted,
                false, false);
    DrawTextBox(graphics, QString::fromUtf16(kProductName),
                Box(l.w - l.m - 100 * s, l.h - 44 * s, 100 * s, 27 * s), 10 * s, palette::kInk,
                true, false);
}

}  // namespace

void DrawTextBox(Graphics& graphics, const QString& text, const QRectF& layout, float sizePx,
                 QRgb argb, bool bold, bool wrap) {
    const imaging::Font font{SheetFontFamily(), sizePx,
                             bold ? imaging::FontStyle::Bold : imaging::FontStyle::Regular};
    graphics.DrawString(text, layout, font, argb,
                        imaging::TextFormat{wrap, imaging::TextAlignment::TopLeft});
}

bool DrawImageFitted(Graphics& graphics, const imaging::Bitmap& image, const QRectF& rect) {
    return DrawFitted(graphics, image, image.Size(), rect);
}

namespace {

bool GridHolds(const Sheet& sheet, const SheetGeometry& geometry) {
    const std::size_t count = sheet.frames.size();
    return geometry.columns > 0 && geometry.rows > 0 && count > 0 &&
           count <= static_cast<std::size_t>(geometry.columns) * geometry.rows;
}

void StartDrawing(Graphics& graphics) {
    graphics.SetSmoothingMode(imaging::SmoothingMode::AntiAlias);
    graphics.SetTextRenderingHint(imaging::TextRenderingHint::AntiAliasGridFit);
    graphics.SetInterpolationMode(imaging::InterpolationMode::HighQuality);
}

// The device rows a frame's well reaches under `toDevice`, one more on each side for the
// antialiased edge: no pixel of the frame lies outside them.
std::pair<int, int> WellRows(const QTransform& toDevice, const QRectF& well) {
    const QRect covered = toDevice.mapRect(well).toAlignedRect();
    return {covered.top() - 1, covered.bottom() + 2};
}

}  // namespace

bool RenderSheet(Graphics& graphics, const Sheet& sheet, const SheetGeometry& geometry,
                 bool fullResolution, UiLanguage language) {
    if (!GridHolds(sheet, geometry)) {
        return false;
    }
    if (fullResolution) {
        SheetBands bands(sheet, geometry, language, graphics.DeviceTransform());
        return bands.Draw(graphics, 0, std::numeric_limits<int>::max());
    }
    const imaging::ScopedGraphicsState saved(graphics);
    StartDrawing(graphics);
    const Layout l(geometry);
    graphics.FillRectangle(imaging::SolidBrush(palette::kPaper), Box(0, 0, l.w, l.h));
    DrawTitleBand(graphics, sheet, l, language);
    for (std::size_t i = 0; i < sheet.frames.size(); ++i) {
        DrawCard(graphics, l, i);
        const Frame& frame = sheet.frames[i];
        if (!frame.preview || !DrawImageFitted(graphics, *frame.preview, l.Well(i))) {
            return false;
        }
        DrawCardCaptions(graphics, frame, i, l);
    }
    DrawFooterBand(graphics, sheet, l, language);
    return true;
}

SheetBands::SheetBands(const Sheet& sheet, const SheetGeometry& geometry, UiLanguage language,
                       const QTransform& toDevice, const platform::ThreadStarter& start)
    : sheet_(sheet),
      geometry_(geometry),
      language_(language),
      toDevice_(toDevice),
      photos_(
          sheet.frames,
          // Each photograph is decoded at the least size that still covers the pixels it is
          // drawn on.
          [this](std::size_t i, QSize upright) {
              return imaging::CoveredDevicePixels(toDevice_,
                                                  FittedRect(upright, Layout(geometry_).Well(i)))
                  .size()
                  .expandedTo(QSize(1, 1));
          },
          // Two card rows: a band that meets the gap between rows shows both.
          2 * static_cast<std::size_t>(std::max(geometry.columns, 1)), start) {}

bool SheetBands::Draw(Graphics& graphics, int top, int rows) {
    if (!GridHolds(sheet_, geometry_)) {
        return false;
    }
    const imaging::ScopedGraphicsState saved(graphics);
    // The band's device shows the whole sheet's rows from `top`: the same pixels, moved up.
    if (top != 0) {
        graphics.TranslateTransform(0, static_cast<float>(-top));
    }
    StartDrawing(graphics);
    const long long bottom = static_cast<long long>(top) + rows;
    const Layout l(geometry_);
    // Paper and texts are cheap to draw and clipped to the band; only photographs are worth
    // skipping where the band does not show them.
    graphics.FillRectangle(imaging::SolidBrush(palette::kPaper), Box(0, 0, l.w, l.h));
    DrawTitleBand(graphics, sheet_, l, language_);
    for (std::size_t i = 0; i < sheet_.frames.size(); ++i) {
        DrawCard(graphics, l, i);
        const auto [first, last] = WellRows(toDevice_, l.Well(i));
        if (last > top && first < bottom) {
            const ImageData* photo = photos_.Get(i);
            if (!photo || !DrawFitted(graphics, photo->bitmap, QSize(photo->width, photo->height),
                                      l.Well(i))) {
                return false;
            }
        }
        if (last <= bottom) {
            photos_.Release(i);  // no later band shows it
        }
        DrawCardCaptions(graphics, sheet_.frames[i], i, l);
    }
    DrawFooterBand(graphics, sheet_, l, language_);
    return true;
}

}  // namespace mirvane
