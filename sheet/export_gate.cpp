#include "sheet/export_gate.h"

namespace mirvane {

std::atomic<bool> exportBusy{false};

}  // namespace mirvane
