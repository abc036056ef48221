#include "localization/status_line.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <map>

#include "localization/relocalization.h"
#include "localization/ui_language.h"
#include "platform/locale_environment.h"

namespace mirvane {
namespace {

class StatusLineTest : public ::testing::Test {
  protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }

    static void Reset() {
        SetStatusRepaintHook({});
        SetStatusText(QString(), false);
        SetUiLanguage(UiLanguage::English);
    }
};

TEST_F(StatusLineTest, KeepsTheTextOfTheLanguageCurrentWhenSetAndItsKind) {
    SetUiLanguage(UiLanguage::German);
    SetStatus(TextId::SelectYearsStatus, true);
    SetUiLanguage(UiLanguage::French);
    EXPECT_EQ(statusText, UiTextIn(TextId::SelectYearsStatus, UiLanguage::German));
    EXPECT_TRUE(statusIsError);

    SetStatus(TextId::ReadyStatus, false);
    EXPECT_EQ(statusText, UiTextIn(TextId::ReadyStatus, UiLanguage::French));
    EXPECT_FALSE(statusIsError);
}

TEST_F(StatusLineTest, RepaintsThroughTheHookOnlyOnceOneIsRegistered) {
    SetStatus(TextId::ExportDoneStatus, false);  // no hook yet: only stored
    EXPECT_EQ(statusText, UiText(TextId::ExportDoneStatus));

    QStringList seen;
    SetStatusRepaintHook([&] { seen.append(statusText); });
    SetStatus(TextId::ExportFailedStatus, true);
    SetStatusText(QStringLiteral("busy"), false);
    // The repaint sees the new text already in place.
    EXPECT_EQ(seen, QStringList({UiText(TextId::ExportFailedStatus), QStringLiteral("busy")}));
}

TEST_F(StatusLineTest, RelocalizeChoosesAgainRelabelsThenShowsReady) {
    const UiLanguage expected = LanguageForLocaleName(platform::FirstUiLanguageName());
    SetUiLanguage(expected == UiLanguage::German ? UiLanguage::French : UiLanguage::German);
    SetStatus(TextId::ExportFailedStatus, true);

    std::map<int, QString> captions;
    int repaintsBeforeLastCaption = -1;
    int repaints = 0;
    SetStatusRepaintHook([&] { ++repaints; });
    Relocalize([&](int controlId, const QString& caption) {
        captions[controlId] = caption;
        repaintsBeforeLastCaption = repaints;
    });

    EXPECT_EQ(uiLanguage, expected);
    ASSERT_EQ(captions.size(), kMainButtonCaptions.size());
    EXPECT_EQ(captions[102], UiTextIn(TextId::ComposeButtonText, expected));
    EXPECT_EQ(captions[110], UiTextIn(TextId::ExitText, expected));
    EXPECT_EQ(repaintsBeforeLastCaption, 0);
    EXPECT_EQ(repaints, 1);
    EXPECT_EQ(statusText, UiTextIn(TextId::ReadyStatus, expected));
    EXPECT_FALSE(statusIsError);

    Relocalize({});  // a window without buttons yet still gets the status
    EXPECT_EQ(repaints, 2);
}

}  // namespace
}  // namespace mirvane
