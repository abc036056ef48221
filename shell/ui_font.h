// The font of the window's child controls.
#pragma once

#include <QFont>

namespace mirvane::shell {

// "Segoe UI" where the system has it, otherwise the bundled sans (once render/fonts registered
// it), 13 device-independent pixels, unhinted so text looks the same on every screen. Qt scales
// the size to the screen's pixel ratio itself.
QFont UiFont();

}  // namespace mirvane::shell
