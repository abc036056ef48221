#include "tools/sheet_options.h"

#include <gtest/gtest.h>

namespace mirvane::tools {
namespace {

std::optional<SheetOptions> Parse(const QString& line) {
    QString error;
    return ParseSheetOptions(line.split(u' ', Qt::SkipEmptyParts), &error);
}

TEST(ParseSheetOptions, ReadsEveryOptionOfBothSheetCommands) {
    const auto archive = Parse(
        "archive --place Lake --years 2000,2010 --columns 3 --width 4500 --lang de -o x "
        "--timings");
    ASSERT_TRUE(archive.has_value());
    EXPECT_EQ(archive->command, Command::Archive);
    EXPECT_EQ(archive->years, (std::vector<int>{2000, 2010}));
    EXPECT_EQ(archive->columns, 3);
    EXPECT_EQ(archive->width, 4500);
    EXPECT_EQ(archive->language, UiLanguage::German);
    EXPECT_EQ(archive->output, "x");
    EXPECT_TRUE(archive->timings);

    const auto pairs = Parse("pairs a.qmp --width 3000 b.qmp");
    ASSERT_TRUE(pairs.has_value());
    EXPECT_EQ(pairs->pairFiles, (QStringList{"a.qmp", "b.qmp"}));
    EXPECT_EQ(pairs->columns, 2);
    EXPECT_FALSE(pairs->language.has_value());
}

TEST(ParseSheetOptions, AsksForHelpWhereverAnOptionMayStand) {
    for (const char* line : {"--help", "-h", "list --help", "archive --place X --years 2000 -h",
                             "pairs a.qmp --help", "pairs --help", "-h bogus"}) {
        const auto options = Parse(line);
        ASSERT_TRUE(options.has_value()) << line;
        EXPECT_EQ(options->command, Command::Help) << line;
    }
    // The value of an option stays a value, even when it looks like a request for help.
    const auto named = Parse("archive --place X --years 2000 -o -h");
    ASSERT_TRUE(named.has_value());
    EXPECT_EQ(named->command, Command::Archive);
    EXPECT_EQ(named->output, "-h");
}

TEST(ParseSheetOptions, RefusesWhatIsNoValidCommandLine) {
    for (const char* line : {"", "list extra", "draw", "archive --place X", "archive --years 2000",
                             "archive --place X --years 2000,abc", "pairs",
                             "pairs a.qmp --columns 4", "pairs a.qmp --width 3001",
                             "pairs a.qmp --lang it", "pairs a.qmp -o", "archive --bogus 1"}) {
        EXPECT_FALSE(Parse(line).has_value()) << line;
    }
}

}  // namespace
}  // namespace mirvane::tools
