#include "tools/sheet_options.h"

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

}  // namespace

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
        if (argument == "--timings") {
            options.timings = true;
        } else if (argument.startsWith("-") && argument.size() > 1 && !hasValue) {
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
        } else if (options.command == Command::Pairs && !argument.startsWith("-")) {
            options.pairFiles.append(argument);
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
    return options;
}

}  // namespace mirvane::tools
