// Draws a whole contact sheet: paper, title band, the framed photographs with their years and
// frame numbers, the rule and the credit line. The window's preview and the PNG export both
// draw through here, so they look alike.
#pragma once

#include <QRectF>
#include <QRgb>
#include <QString>
#include <QTransform>

#include "localization/ui_language.h"
#include "platform/threads.h"
#include "render/full_resolution_photos.h"
#include "render/graphics.h"
#include "render/sheet_geometry.h"
#include "sheet/sheet.h"

namespace mirvane {

// Draws `sheet` laid out by `geometry` (computed for this sheet) in sheet pixels, through the
// context's transform. Preview (fullResolution false): each frame's preview bitmap. Full
// resolution (true): as SheetBands draws it, in one band. False when a photograph failed to
// decode or draw (what was drawn so far stays) or when the sheet has no frame or more than the
// grid holds (nothing is drawn). Other drawing failures only leave their status in the context.
// The context's state is as it was on return.
bool RenderSheet(imaging::Graphics& graphics, const Sheet& sheet, const SheetGeometry& geometry,
                 bool fullResolution, UiLanguage language);

// A sheet drawn at full resolution in horizontal bands, top to bottom, so that the whole sheet
// never needs to exist at once: each frame's bytes are decoded afresh at no more than the size
// drawn, ahead of the first band that shows it, and freed after the last. The photographs of at
// most two card rows exist at once. Only the frames' years and bytes are read, so any thread may
// export a copy of the sheet; `sheet` must outlive this object.
class SheetBands {
  public:
    // `toDevice` maps sheet pixels onto the device of the whole sheet; photographs are decoded
    // for it.
    SheetBands(const Sheet& sheet, const SheetGeometry& geometry, UiLanguage language,
               const QTransform& toDevice = QTransform(),
               const platform::ThreadStarter& start = platform::StartThread);

    // Draws the whole sheet's device rows [top, top + rows) into a context whose device is that
    // band, its transform the whole sheet's; bands come in order from the top. Fails as
    // RenderSheet does. The context's state is as it was on return.
    bool Draw(imaging::Graphics& graphics, int top, int rows);

  private:
    const Sheet& sheet_;
    const SheetGeometry geometry_;
    const UiLanguage language_;
    const QTransform toDevice_;
    FullResolutionPhotos photos_;
};

// The one way the program draws a text: the program's font family at `sizePx` world units,
// regular or bold, starting at the layout's top-left corner, on one line or wrapping, and ending
// in an ellipsis where it does not fit. A failure is left in the context's last status.
void DrawTextBox(imaging::Graphics& graphics, const QString& text, const QRectF& layout,
                 float sizePx, QRgb argb, bool bold, bool wrap);

// Draws the whole of `image` as large as fits into `rect`, centred, keeping its proportions;
// the rest of the rectangle is left as it was. True when the drawing call succeeded.
bool DrawImageFitted(imaging::Graphics& graphics, const imaging::Bitmap& image, const QRectF& rect);

}  // namespace mirvane
