// The one font family of every text the program draws: "Segoe UI" where the system has it,
// otherwise Open Sans, which is bundled so that sheets look the same on every machine.
#pragma once

#include <QString>

namespace mirvane {

// Registers the bundled Open Sans Regular and Bold and chooses the family. Call once on the UI
// thread after the QGuiApplication exists and before any other thread draws text; later calls
// return the first call's answer. False when the bundled fonts could not be registered and the
// system has no "Segoe UI" either.
bool RegisterFonts();

// The chosen family; empty until RegisterFonts succeeded. Safe on any thread.
QString SheetFontFamily();

}  // namespace mirvane
