// A contact sheet: a title and two to six frames in ascending year.
#pragma once

#include <QString>
#include <vector>

#include "sheet/frame.h"

namespace mirvane {

struct Sheet {
    QString title;              // the place's name, or the pair import's localized title
    std::vector<Frame> frames;  // ascending year once composed or imported
    bool fromArchive = true;    // selects the credit line, nothing else
};

// Orders frames by year, ascending; frames of one year keep the order they had.
void SortFramesByYear(std::vector<Frame>& frames);

}  // namespace mirvane
