#include "tools/photo_commands.h"

#include <cstdio>

#include "archive/frame_preparation.h"
#include "archive/photo_limits.h"
#include "localization/ui_text.h"
#include "sheet/compose.h"

namespace mirvane::tools {
namespace {

void PrintRefusal(const QString& line) {
    std::fprintf(stderr, "mirvane-sheet: %s\n", line.toUtf8().constData());
}

QString YearRange() {
    return QString("%1-%2").arg(kFirstFrameYear).arg(kLastFrameYear);
}

}  // namespace

QString PhotoRefusalText(const PhotoRequest& request, const PhotoRefusal& refusal) {
    QString rule;
    switch (refusal.fault) {
        case PhotoFault::Unreadable:
            rule = "cannot be read: no such file, not a regular file, or a read error";
            break;
        case PhotoFault::Empty:
            rule = "is empty";
            break;
        case PhotoFault::TooLarge:
            rule = QString("is larger than %1 bytes (40 MiB)").arg(kMaxPhotoBytes);
            break;
        case PhotoFault::NotAnImage:
            rule = "is not a JPEG, PNG or BMP file";
            break;
        case PhotoFault::OverPixelCaps:
            rule = QString("is larger than %1 pixels a side or %2 pixels in all")
                       .arg(kMaxPhotoSide)
                       .arg(kMaxPhotoPixels);
            break;
        case PhotoFault::Undecodable:
            rule = "cannot be decoded: the file is truncated or corrupt";
            break;
        case PhotoFault::NoYear:
            rule = "has no EXIF date: give its year as YEAR=" + request.path;
            break;
        case PhotoFault::YearOutOfRange:
            rule =
                QString(request.year ? "year %1 is outside %2" : "its EXIF year %1 is outside %2")
                    .arg(refusal.year)
                    .arg(YearRange());
            break;
        case PhotoFault::OverSheetBudget:
            rule = QString("brings the photographs to more than %1 bytes (160 MiB) together")
                       .arg(kMaxSheetPhotoBytes);
            break;
    }
    return request.path + ": " + rule;
}

QString PairWriteFaultText(const SheetOptions& options, PairWriteFault fault) {
    switch (fault) {
        case PairWriteFault::EqualYears:
            return options.photos[0].path + ", " + options.photos[1].path +
                   ": both are of the same year; a pair needs two different years";
        case PairWriteFault::ReaderRefuses:
            return options.output + ": would not be a valid pair file";
        case PairWriteFault::NotPairName:
            return options.output + ": the name of a pair file ends in .qmp";
        case PairWriteFault::TargetTaken:
            return options.output + ": exists already; nothing is overwritten";
        case PairWriteFault::WriteFailed:
            return options.output + ": cannot be written; nothing is left behind";
    }
    return options.output;
}

int WritePairCommand(const SheetOptions& options) {
    // A name that cannot be written to fails before any photograph is decoded.
    if (const std::optional<PairWriteFault> fault = CheckPairTarget(options.output)) {
        PrintRefusal(PairWriteFaultText(options, *fault));
        return 1;
    }
    auto prepared = PrepareUserPhotos(options.photos, kMaxSheetPhotoBytes);
    if (const auto* refusal = std::get_if<PhotoRefusal>(&prepared)) {
        PrintRefusal(PhotoRefusalText(options.photos[refusal->index], *refusal));
        return 1;
    }
    const auto& frames = std::get<std::vector<Frame>>(prepared);
    if (const std::optional<PairWriteFault> fault =
            WritePairFile(options.output, frames[0], frames[1])) {
        PrintRefusal(PairWriteFaultText(options, *fault));
        return 1;
    }
    std::printf("%s\n", options.output.toUtf8().constData());
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
}

std::optional<Sheet> PhotoSheet(const SheetOptions& options) {
    auto prepared = PrepareUserPhotos(options.photos, kMaxSheetPhotoBytes);
    if (const auto* refusal = std::get_if<PhotoRefusal>(&prepared)) {
        PrintRefusal(PhotoRefusalText(options.photos[refusal->index], *refusal));
        return std::nullopt;
    }
    Sheet sheet;
    sheet.title = options.title.value_or(UiText(TextId::SavedMomentsTitle));
    sheet.frames = std::move(std::get<std::vector<Frame>>(prepared));
    sheet.fromArchive = false;
    sheet.credit = options.credit;
    SortFramesByYear(sheet.frames);
    return sheet;
}

}  // namespace mirvane::tools
