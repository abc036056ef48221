#include "sheet/current_sheet.h"

namespace mirvane {
namespace {

Sheet storage;

}  // namespace

const Sheet& currentSheet = storage;

void ReplaceCurrentSheet(Sheet sheet) {
    storage = std::move(sheet);
}

void ReleaseCurrentSheetFrames() {
    storage.frames.clear();
}

}  // namespace mirvane
