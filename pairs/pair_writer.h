// Writing a pair file of two of the user's photographs, in the layout the reader takes.
#pragma once

#include <QString>
#include <optional>

#include "archive/bytes.h"
#include "platform/files.h"
#include "sheet/frame.h"

namespace mirvane {

enum class PairWriteFault {
    EqualYears,     // the reader wants two different years
    ReaderRefuses,  // another of the reader's header rules would refuse the file
    NotPairName,    // the name does not end in ".qmp", so the window would not open the file
    TargetTaken,    // something of that name exists, or it cannot be told that nothing does
    WriteFailed,    // the crash-safe write failed; nothing is left behind
};

// The whole pair file of `first` and `second`, in that order: the header, then both
// photographs' encoded bytes unchanged. Nothing when the reader's header rules would refuse it.
std::optional<Bytes> PairFileBytes(const Frame& first, const Frame& second);

// Whether a pair file may go to `target`: a name ending in ".qmp" that nothing has yet.
std::optional<PairWriteFault> CheckPairTarget(
    const QString& target, platform::FileOperations& files = platform::SystemFileOperations());

// Writes the pair file of the two frames to `target` through the crash-safe write, which never
// replaces a file. Nothing on success.
std::optional<PairWriteFault> WritePairFile(
    const QString& target, const Frame& first, const Frame& second,
    platform::FileOperations& files = platform::SystemFileOperations());

}  // namespace mirvane
