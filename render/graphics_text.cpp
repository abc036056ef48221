// Text for Graphics: lines laid out by Qt, with whole lines only and an ellipsis on the last
// line shown when text is left out.
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainterPath>
#include <QTextLayout>
#include <cmath>

#include "render/graphics.h"

namespace mirvane::imaging {
namespace {

// Qt rounds a font's pixel size to a whole number; a fractional size (40.5 px on a 4500-pixel
// sheet) is drawn at the nearest whole size under a scale that makes up the difference.
struct SizedFont {
    QFont font;
    qreal scale = 1;
};

SizedFont MakeFont(const Font& wanted) {
    const int pixels = std::max(1, static_cast<int>(std::lround(wanted.pixelSize)));
    QFont font;
    font.setFamilies({wanted.family});
    font.setPixelSize(pixels);
    font.setWeight(wanted.style == FontStyle::Bold ? QFont::Bold : QFont::Normal);
    // Unhinted, grey-scale glyphs come out the same offscreen, on X11 and on any screen.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(
        QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoSubpixelAntialias));
    return SizedFont{font, wanted.pixelSize / pixels};
}

// One line as laid out: where it starts in the whole text, and its characters.
struct Line {
    qsizetype offset = 0;
    QString text;
};

void ChopTrailingSpaces(QString& text) {
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1).isSpace()) {
        --end;
    }
    text.truncate(end);
}

// Lays out at most `maxLines` + 1 lines of `text`, so the caller sees whether any was left out.
std::vector<Line> LayOutLines(const QString& text, const QFont& font, const QPaintDevice* device,
                              qreal width, bool wrap, std::size_t maxLines) {
    std::vector<Line> lines;
    qsizetype paragraphStart = 0;
    while (lines.size() <= maxLines && paragraphStart <= text.size()) {
        qsizetype end = text.indexOf(u'\n', paragraphStart);
        if (end < 0) {
            end = text.size();
        }
        QString paragraph = text.mid(paragraphStart, end - paragraphStart);
        if (paragraph.endsWith(u'\r')) {
            paragraph.chop(1);
        }
        if (!wrap || paragraph.isEmpty()) {
            lines.push_back(Line{paragraphStart, paragraph});
        } else {
            QTextLayout layout(paragraph, font, device);
            QTextOption option;
            option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
            layout.setTextOption(option);
            layout.beginLayout();
            for (QTextLine line = layout.createLine(); line.isValid() && lines.size() <= maxLines;
                 line = layout.createLine()) {
                line.setLineWidth(width);
                QString part = paragraph.mid(line.textStart(), line.textLength());
                ChopTrailingSpaces(part);
                lines.push_back(Line{paragraphStart + line.textStart(), part});
            }
            layout.endLayout();
        }
        paragraphStart = end + 1;
    }
    return lines;
}

// Everything from `offset` on, as one line.
QString RestOnOneLine(const QString& text, qsizetype offset) {
    QString rest = text.mid(offset);
    rest.replace(u'\r', u' ');
    rest.replace(u'\n', u' ');
    return rest;
}

}  // namespace

Status Graphics::DrawString(const QString& text, const QRectF& layout, const Font& font, QRgb argb,
                            const TextFormat& format) {
    if (!painter_.isActive()) {
        return Record(Status::WrongState);
    }
    if (font.family.isEmpty() || QGuiApplication::instance() == nullptr) {
        return Record(Status::FontFamilyNotFound);
    }
    if (!std::isfinite(font.pixelSize) || font.pixelSize <= 0 || !std::isfinite(layout.x()) ||
        !std::isfinite(layout.y()) || !std::isfinite(layout.width()) ||
        !std::isfinite(layout.height())) {
        return Record(Status::InvalidParameter);
    }
    if (text.isEmpty() || layout.width() <= 0 || layout.height() <= 0) {
        return Status::Ok;
    }
    const SizedFont sized = MakeFont(font);
    const QPaintDevice* device = painter_.device();
    const QFontMetricsF metrics(sized.font, device);
    // The box in the font's own units.
    const qreal width = layout.width() / sized.scale;
    const qreal height = layout.height() / sized.scale;
    const qreal lineHeight = metrics.lineSpacing();
    const std::size_t maxLines =
        std::max<std::size_t>(1, static_cast<std::size_t>(std::floor(height / lineHeight)));

    const std::vector<Line> lines =
        LayOutLines(text, sized.font, device, width, format.wrap, maxLines);
    const std::size_t shown = std::min(lines.size(), maxLines);
    const bool leftOut = lines.size() > maxLines;
    const qreal top = format.alignment == TextAlignment::Centered
                          ? (height - static_cast<qreal>(shown) * lineHeight) / 2
                          : 0;

    painter_.save();
    painter_.translate(layout.topLeft());
    painter_.scale(sized.scale, sized.scale);
    // Glyph outlines filled like any shape: the painter's glyph cache gave pixels that varied
    // slightly with the texts drawn before, and with the platform's gamma.
    painter_.setRenderHint(QPainter::Antialiasing, true);
    const QBrush brush(QColor::fromRgba(argb));
    const QRectF box(0, 0, width, height);
    // Only a line taller than the box, or an ellipsis wider than it, could spill out.
    bool clipped = static_cast<qreal>(shown) * lineHeight > height;
    if (clipped) {
        painter_.setClipRect(box, Qt::IntersectClip);
    }
    for (std::size_t i = 0; i < shown; ++i) {
        QString line =
            leftOut && i + 1 == shown ? RestOnOneLine(text, lines[i].offset) : lines[i].text;
        qreal advance = metrics.horizontalAdvance(line);
        if (advance > width) {
            line = metrics.elidedText(line, Qt::ElideRight, width);
            advance = metrics.horizontalAdvance(line);
        }
        if (advance > width && !clipped) {
            clipped = true;
            painter_.setClipRect(box, Qt::IntersectClip);
        }
        const qreal x = format.alignment == TextAlignment::Centered ? (width - advance) / 2 : 0;
        const qreal baseline = top + static_cast<qreal>(i) * lineHeight + metrics.ascent();
        QPainterPath outlines;
        outlines.addText(QPointF(x, baseline), sized.font, line);
        painter_.fillPath(outlines, brush);
    }
    painter_.restore();
    return Status::Ok;
}

}  // namespace mirvane::imaging
