#include "tools/sheet_options.h"

#include <gtest/gtest.h>

#include <limits>

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

TEST(ParseSheetOptions, ReadsTheCommandsOnOwnPhotographs) {
    const auto pair = Parse("pair 2010=a.jpg b.png -o p.qmp");
    ASSERT_TRUE(pair.has_value());
    EXPECT_EQ(pair->command, Command::Pair);
    ASSERT_EQ(pair->photos.size(), 2u);
    EXPECT_EQ(pair->photos[0].year, 2010);
    EXPECT_EQ(pair->photos[1].path, "b.png");
    EXPECT_EQ(pair->output, "p.qmp");

    const auto photos =
        Parse("photos a.jpg 1990=b.jpg c.jpg --title T --credit C --columns 3 --lang fr");
    ASSERT_TRUE(photos.has_value());
    EXPECT_EQ(photos->command, Command::Photos);
    EXPECT_EQ(photos->photos.size(), 3u);
    EXPECT_EQ(photos->title, "T");
    EXPECT_EQ(photos->credit, "C");
    EXPECT_EQ(photos->columns, 3);
    EXPECT_FALSE(Parse("photos a.jpg b.jpg")->title.has_value());
}

TEST(PhotoArgument, ALeadingRunOfDigitsBeforeTheFirstEqualsSignIsTheYear) {
    const std::pair<const char*, PhotoRequest> cases[] = {
        {"2010=a.jpg", {"a.jpg", 2010}},
        {"0042=a=b.jpg", {"a=b.jpg", 42}},
        {"2010=", {"", 2010}},
        {"99999999999999999999=a.jpg", {"a.jpg", std::numeric_limits<std::int64_t>::max()}},
        {"a.jpg", {"a.jpg", std::nullopt}},
        {"summer=2010.jpg", {"summer=2010.jpg", std::nullopt}},
        {"=a.jpg", {"=a.jpg", std::nullopt}},
        {"/photos/2010=a.jpg", {"/photos/2010=a.jpg", std::nullopt}},
        {"-5=a.jpg", {"-5=a.jpg", std::nullopt}},
    };
    for (const auto& [argument, expected] : cases) {
        const PhotoRequest request = PhotoArgument(argument);
        EXPECT_EQ(request.path, expected.path) << argument;
        EXPECT_EQ(request.year, expected.year) << argument;
    }
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
    for (const char* line : {"",
                             "list extra",
                             "draw",
                             "archive --place X",
                             "archive --years 2000",
                             "archive --place X --years 2000,abc",
                             "pairs",
                             "pairs a.qmp --columns 4",
                             "pairs a.qmp --width 3001",
                             "pairs a.qmp --lang it",
                             "pairs a.qmp -o",
                             "archive --bogus 1",
                             "pair a.jpg -o p.qmp",
                             "pair a.jpg b.jpg",
                             "pair a b c -o p.qmp",
                             "pair a.jpg b.jpg -o p.qmp --width 3000",
                             "photos a.jpg",
                             "photos a b c d e f g",
                             "photos a b --place X",
                             "pairs a.qmp --title T",
                             "archive --place X --years 2000 --credit C"}) {
        EXPECT_FALSE(Parse(line).has_value()) << line;
    }
}

}  // namespace
}  // namespace mirvane::tools
