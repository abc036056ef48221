// The command line of mirvane-sheet, parsed without side effects.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "localization/ui_language.h"
#include "pairs/user_photos.h"

namespace mirvane::tools {

// Help: --help or -h wherever an option may stand; the other options then do not matter.
enum class Command { List, Archive, Pairs, Pair, Photos, Help };

inline constexpr std::size_t kPhotosPerPair = 2;

struct SheetOptions {
    Command command = Command::List;
    QString place;                     // archive: a location name, exactly
    std::vector<int> years;            // archive
    QStringList pairFiles;             // pairs, as given
    std::vector<PhotoRequest> photos;  // pair, photos: in the order given
    std::optional<QString> title;      // photos: nothing for the pair import's title
    std::optional<QString> credit;     // photos: nothing for the pair files' credit line
    int columns = 2;
    int width = 3000;
    std::optional<UiLanguage> language;  // nothing: the user's UI language
    QString output;  // a file or a folder (pair: the pair file); empty: the exports folder
    bool timings = false;
};

// A photograph named on the command line: "YEAR=PHOTO", where YEAR is all digits, or "PHOTO".
PhotoRequest PhotoArgument(const QString& argument);

// The options of `arguments` (without the program name), or nothing when they are not a valid
// command line; `error` then says why.
std::optional<SheetOptions> ParseSheetOptions(const QStringList& arguments, QString* error);

}  // namespace mirvane::tools
