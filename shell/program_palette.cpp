#include "shell/program_palette.h"

#include "render/palette.h"

namespace mirvane::shell {
namespace {

// The selection keeps the light scheme's blue, which body ink and white both read well against.
constexpr QRgb kSelection = 0xff308cc6;
constexpr QRgb kSelectedText = 0xffffffff;

}  // namespace

QPalette ProgramPalette() {
    const QColor paper = QColor::fromRgba(palette::kPaper);
    const QColor body = QColor::fromRgba(palette::kBody);
    const QColor muted = QColor::fromRgba(palette::kMuted);
    // Derives the bevel shades (light, mid, dark, shadow) from paper.
    QPalette colours(paper, paper);
    for (const QPalette::ColorRole role :
         {QPalette::Window, QPalette::Base, QPalette::AlternateBase, QPalette::Button,
          QPalette::ToolTipBase}) {
        colours.setColor(role, paper);
    }
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::ToolTipText}) {
        colours.setColor(role, body);
    }
    colours.setColor(QPalette::BrightText, paper);
    colours.setColor(QPalette::PlaceholderText, muted);
    colours.setColor(QPalette::Highlight, QColor::fromRgba(kSelection));
    colours.setColor(QPalette::HighlightedText, QColor::fromRgba(kSelectedText));
    colours.setColor(QPalette::Link, QColor::fromRgba(palette::kAccent));
    colours.setColor(QPalette::LinkVisited, QColor::fromRgba(palette::kInk));
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        colours.setColor(QPalette::Disabled, role, muted);
    }
    return colours;
}

}  // namespace mirvane::shell
