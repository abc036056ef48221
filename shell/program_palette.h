// The program's own colours for every control: body ink on paper, whatever the desktop's colour
// scheme (dark and high-contrast ones included), as the painted surface around them is fixed.
#pragma once

#include <QPalette>

namespace mirvane::shell {

QPalette ProgramPalette();

}  // namespace mirvane::shell
