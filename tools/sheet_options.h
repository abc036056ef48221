// The command line of mirvane-sheet, parsed without side effects.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "localization/ui_language.h"

namespace mirvane::tools {

// Help: --help or -h wherever an option may stand; the other options then do not matter.
enum class Command { List, Archive, Pairs, Help };

struct SheetOptions {
    Command command = Command::List;
    QString place;           // archive: a location name, exactly
    std::vector<int> years;  // archive
    QStringList pairFiles;   // pairs, as given
    int columns = 2;
    int width = 3000;
    std::optional<UiLanguage> language;  // nothing: the user's UI language
    QString output;                      // a file or a folder; empty: the exports folder
    bool timings = false;
};

// The options of `arguments` (without the program name), or nothing when they are not a valid
// command line; `error` then says why.
std::optional<SheetOptions> ParseSheetOptions(const QStringList& arguments, QString* error);

}  // namespace mirvane::tools
