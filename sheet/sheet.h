// A contact sheet: a title and two to six frames in ascending year.
#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "sheet/frame.h"

namespace mirvane {

struct Sheet {
    QString title;              // the place's name, or the pair import's localized title
    std::vector<Frame> frames;  // ascending year once composed or imported
    bool fromArchive = true;    // selects the credit line, unless the sheet has its own
    // A credit line of the sheet's own, printed instead of the source's; only sheets of the
    // user's photographs made by the command line have one.
    std::optional<QString> credit = std::nullopt;
};

// Orders frames by year, ascending; frames of one year keep the order they had.
void SortFramesByYear(std::vector<Frame>& frames);

}  // namespace mirvane
