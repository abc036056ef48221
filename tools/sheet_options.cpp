#include "tools/sheet_options.h"

#include <algorithm>
#include <limits>

#include "sheet/compose.h"

namespace mirvane::tools {
namespace {

std::optional<UiLanguage> LanguageCode(const QString& code) {
    static const std::pair<const char*, UiLanguage> kCodes[] = {{"en", UiLanguage::English},
                                                                {"de", UiLanguage::German},
                                                                {"fr", UiLanguage::French},
                                                                {"es", UiLanguage::Spanish}};
    for (const auto& [name, language] : kCodes) {
        if (code == QLatin1String(name)) {
            return language;
        }
    }
    return std::nullopt;
}

bool IsHelp(const QString& argument) {
    return argument == "--help" || argument == "-h";
}

SheetOptions HelpOptions() {
    SheetOptions help;
    help.command = Command::Help;
    return help;
}

std::optional<std::vector<int>> YearList(const QString& text) {
    std::vector<int> years;
    for (const QString& part : text.split(u',')) {
        bool ok = false;
        const int year = part.trimmed().toInt(&ok);
        if (!ok) {
            return std::nullopt;
        }
        years.push_back(year);
    }
    return years;
}

bool IsAllDigits(QStringView text) {
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// The options each command takes besides its positional arguments.
bool TakesOption(Command command, const QString& option) {
    if (command == Command::Pair) {
        return option == "-o";
    }
    if (option == "--title" || option == "--credit") {
        return command == Command::Photos;
    }
    if (option == "--place" || option == "--years") {
        return command != Command::Photos;  // pairs has always let them pass unused
    }
    return true;
}

}  // namespace

PhotoRequest PhotoArgument(const QString& argument) {
    const qsizetype equals = argument.indexOf(u'=');
    const QStringView year = QStringView(argument).first(std::max<qsizetype>(equals, 0));
    if (!IsAllDigits(year)) {
        return PhotoRequest{argument, std::nullopt};
    }
    // A year too long to count is far outside any range; the range check refuses it.
    bool ok = false;
    const qlonglong value = year.toLongLong(&ok);
    return PhotoRequest{argument.sliced(equals + 1),
                        ok ? value : std::numeric_limits<std::int64_t>::max()};
}

std::optional<SheetOptions> ParseSheetOptions(const QStringList& arguments, QString* error) {
    auto fail = [error](const QString& why) {
        *error = why;
        return std::nullopt;
    };
    if (arguments.isEmpty()) {
        return fail("no command");
    }
    const QString& command = arguments.front();
    if (IsHelp(command) || (command == "list" && arguments.size() == 2 && IsHelp(arguments[1]))) {
        return HelpOptions();
    }
    SheetOptions options;
    if (command == "list") {
        options.command = Command::List;
        return arguments.size() == 1 ? std::optional(options) : fail("list takes no options");
    }
    if (command == "archive") {
        options.command = Command::Archive;
    } else if (command == "pairs") {
        options.command = Command::Pairs;
    } else if (command == "pair") {
        options.command = Command::Pair;
    } else if (command == "photos") {
        options.command = Command::Photos;
    } else {
        return fail("unknown command " + command);
    }
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        auto value = [&] { return arguments[++i]; };
        if (IsHelp(argument)) {
            return HelpOptions();
        }
        const bool isOption = argument.startsWith("-") && argument.size() > 1;
        if (isOption && !TakesOption(options.command, argument)) {
            return fail(command + " does not take " + argument);
        }
        if (argument == "--timings") {
            options.timings = true;
        } else if (isOption && !hasValue) {
            return fail(argument + " needs a value");
        } else if (argument == "--place") {
            options.place = value();
        } else if (argument == "--years") {
            const std::optional<std::vector<int>> years = YearList(value());
            if (!years) {
                return fail("--years wants years separated by commas");
            }
            options.years = *years;
        } else if (argument == "--columns") {
            options.columns = value().toInt();
            if (options.columns != 2 && options.columns != 3) {
                return fail("--columns is 2 or 3");
            }
        } else if (argument == "--width") {
            options.width = value().toInt();
            if (options.width != 3000 && options.width != 4500) {
                return fail("--width is 3000 or 4500");
            }
        } else if (argument == "--lang") {
            options.language = LanguageCode(value());
            if (!options.language) {
                return fail("--lang is en, de, fr or es");
            }
        } else if (argument == "-o") {
            options.output = value();
        } else if (argument == "--title") {
            options.title = value();
        } else if (argument == "--credit") {
            options.credit = value();
        } else if (options.command == Command::Pairs && !isOption) {
            options.pairFiles.append(argument);
        } else if ((options.command == Command::Pair || options.command == Command::Photos) &&
                   !isOption) {
            options.photos.push_back(PhotoArgument(argument));
        } else {
            return fail("unexpected " + argument);
        }
    }
    if (options.command == Command::Archive && (options.place.isEmpty() || options.years.empty())) {
        return fail("archive needs --place and --years");
    }
    if (options.command == Command::Pairs && options.pairFiles.isEmpty()) {
        return fail("pairs needs at least one pair file");
    }
    if (options.command == Command::Pair &&
        (options.photos.size() != kPhotosPerPair || options.output.isEmpty())) {
        return fail("pair needs two photographs and -o FILE.qmp");
    }
    if (options.command == Command::Photos &&
        (options.photos.size() < kMinSheetFrames || options.photos.size() > kMaxSheetFrames)) {
        return fail("photos needs 2 to 6 photographs");
    }
    return options;
}

}  // namespace mirvane::tools
