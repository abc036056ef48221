// What assistive tools read where the window only paints: the preview's name and the mark of an
// error status.
#pragma once

#include <QString>

#include "localization/ui_language.h"
#include "sheet/sheet.h"

namespace mirvane {

// The preview's accessible name: "Sheet preview: <title>, <year>, <year>…" with the years in the
// sheet's order; just "Sheet preview" (in `language`) while the well shows no sheet, that is with
// fewer than two frames.
QString PreviewAccessibleName(const Sheet& sheet, UiLanguage language);

// The description of the status line while it carries an error: "Error" in `language`.
QString ErrorStatusDescription(UiLanguage language);

}  // namespace mirvane
