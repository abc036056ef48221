#include "shell/main_window.h"

#include <QDropEvent>
#include <QMimeData>
#include <QPaintEvent>
#include <QTemporaryDir>
#include <stdexcept>

#include "localization/status_line.h"
#include "localization/ui_text.h"
#include "main_window_fixture.h"
#include "shell/dropped_files.h"
#include "shell/export_busy.h"
#include "shell/selectors.h"
#include "shell/window_painting.h"
#include "shell/year_picker.h"
#include "support/pair_files.h"

namespace mirvane::shell::testing {
namespace {

constexpr int kWaitMs = 5000;

std::vector<int> AllIds() {
    return {100, 101, 104, 105, 102, 103, 106, 107, 108, 109, 110};
}

// Records the rectangles of the window's paint events.
class PaintRecorder : public QObject {
  public:
    explicit PaintRecorder(QWidget& window) { window.installEventFilter(this); }
    std::vector<QRect> rects;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            rects.push_back(static_cast<QPaintEvent*>(event)->rect());
        }
        return false;
    }
};

TEST_F(MainWindowTest, CreatesItsControlsInTabOrderWithTheirContents) {
    EXPECT_EQ(window_->windowTitle(), "Mirvane");
    EXPECT_EQ(window_->size(), QSize(1164, 801));
    EXPECT_EQ(window_->minimumSize(), QSize(1004, 701));

    // Tab walks the controls in the order they were made.
    std::vector<int> order;
    QWidget* widget = Find(100);
    for (std::size_t i = 0; i < AllIds().size(); ++i) {
        order.push_back(widget->property(kControlIdProperty).toInt());
        do {
            widget = widget->nextInFocusChain();
        } while (!(widget->focusPolicy() & Qt::TabFocus) ||
                 widget->parentWidget() != window_.get());
    }
    EXPECT_EQ(order, AllIds());
    EXPECT_EQ(widget, Find(100)) << "and comes back round to the first";

    const auto items = [this](int id) {
        QStringList texts;
        for (int i = 0; i < Selector(id)->count(); ++i) {
            texts.append(Selector(id)->itemText(i));
        }
        return texts;
    };
    EXPECT_EQ(items(100), (QStringList{"Aral Sea", "Columbia Glacier", "Lake Powell"}));
    EXPECT_EQ(items(104), (QStringList{"2", "3"}));
    EXPECT_EQ(items(105), (QStringList{"3000 px", "4500 px"}));
    for (const int id : {100, 104, 105}) {
        EXPECT_EQ(Selector(id)->currentIndex(), 0) << id;
    }
    const std::vector<std::pair<int, QString>> captions = {
        {102, "Compose sheet"}, {103, "Open saved pair"},
        {106, "Export PNG"},    {107, "Open exports"},
        {108, "Help"},          {109, "Hide to tray"},
        {110, "Exit"}};
    for (const auto& [id, caption] : captions) {
        EXPECT_EQ(Find<QAbstractButton>(id)->text(), caption) << id;
    }

    EXPECT_TRUE(Years()->isHeaderHidden());
    EXPECT_EQ(Years()->columnCount(), 1);
    EXPECT_EQ(Years()->columnWidth(0), 222);
    EXPECT_EQ(Years()->indentation(), 0);
    EXPECT_TRUE(Years()->topLevelItem(0)->flags() & Qt::ItemIsUserCheckable);
}

TEST_F(MainWindowTest, ColumnsChoiceRepaintsThePreviewAndPngWidthChangesNothing) {
    const QRect well(324, 191, window_->width() - 362, window_->height() - 307 - 46);
    const QImage twoColumns = window_->grab(well).toImage();

    Selector(105)->setCurrentIndex(1);
    EXPECT_EQ(SelectedPngWidth(*window_), 4500);
    EXPECT_EQ(window_->grab(well).toImage(), twoColumns);

    PaintRecorder paints(*window_);
    Selector(104)->setCurrentIndex(1);
    EXPECT_EQ(SelectedColumnCount(*window_), 3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !paints.rects.empty(); }, kWaitMs));
    EXPECT_EQ(paints.rects.front(), window_->rect()) << "the whole window, preview included";
    EXPECT_NE(window_->grab(well).toImage(), twoColumns) << "the sheet reflowed to 3 columns";
}

TEST_F(MainWindowTest, TheClockRepaintsOnlyTheFooterBand) {
    EXPECT_TRUE(window_->Clock().isActive());
    PaintRecorder paints(*window_);
    window_->TickClock();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !paints.rects.empty(); }, kWaitMs));
    EXPECT_EQ(paints.rects.front(), FooterBandRect(*window_));
}

TEST_F(MainWindowTest, BusyGateGreysExactlyTheControlsThatCouldChangeTheSheet) {
    SetExportBusy(*window_, true);
    EXPECT_TRUE(exportBusy);
    for (const int id : AllIds()) {
        const bool staysUsable = id == 107 || id == 108 || id == 109;
        EXPECT_EQ(Find(id)->isEnabled(), staysUsable) << id;
    }

    // Nothing that would replace the sheet gets through, even when asked directly.
    const QString status = statusText;
    TickOnly({2001, 2002});
    ComposeSheet(*window_);
    OpenDroppedFiles({QUrl::fromLocalFile("/nowhere/a.qmp")});
    EXPECT_EQ(SheetYears(), (std::vector<int>{2000, 2006, 2012, 2018}));
    EXPECT_EQ(statusText, status);

    // Exit only brings the window back while an export runs.
    window_->showMinimized();
    window_->Commands().Dispatch(110, kClicked);
    EXPECT_FALSE(window_->isMinimized());
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(programEnds_, 0);

    SetExportBusy(*window_, false);
    EXPECT_FALSE(exportBusy);
    for (const int id : AllIds()) {
        EXPECT_TRUE(Find(id)->isEnabled()) << id;
    }
    Click(110);
    EXPECT_EQ(programEnds_, 1);
    EXPECT_FALSE(window_->Clock().isActive());
}

TEST_F(MainWindowTest, EscapeAndEnterReachTheWindowFromEveryKindOfControl) {
    int escapes = 0;
    int enters = 0;
    window_->Commands().Set(2, [&](int) { ++escapes; });
    window_->Commands().Set(1, [&](int) { ++enters; });
    for (const int id : {100, 101, 102}) {
        QTest::keyClick(Find(id), Qt::Key_Escape);
        QTest::keyClick(Find(id), Qt::Key_Return);
        QTest::keyClick(Find(id), Qt::Key_Enter);
    }
    EXPECT_EQ(escapes, 3);
    EXPECT_EQ(enters, 6);
}

// Offscreen, like stock GNOME, has no notification area.
TEST_F(MainWindowTest, WithoutANotificationAreaHidingMinimizesAndTheCloseBoxExits) {
    const QString status = statusText;
    QTest::keyClick(window_.get(), Qt::Key_Return);
    QTest::keyClick(window_.get(), Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_TRUE(window_->isVisible());
    EXPECT_TRUE(window_->isMinimized());
    EXPECT_EQ(statusText, status);
    EXPECT_EQ(SheetYears(), (std::vector<int>{2000, 2006, 2012, 2018}));
    EXPECT_EQ(programEnds_, 0);

    EXPECT_FALSE(window_->close()) << "the window is not destroyed; the program ends";
    EXPECT_EQ(programEnds_, 1);
}

TEST_F(MainWindowTest, AnExceptionInACommandShowsThePairErrorAndTheWindowStaysUsable) {
    window_->Commands().Set(102, [](int) { throw std::runtime_error("broken"); });
    Click(102);
    EXPECT_EQ(statusText, UiText(TextId::PairOpenFailedStatus));
    EXPECT_TRUE(statusIsError);
    EXPECT_EQ(SheetYears(), (std::vector<int>{2000, 2006, 2012, 2018}));

    window_->Commands().Set(102, [](int) { throw 42; });
    Click(102);
    EXPECT_TRUE(statusIsError);

    // The other commands still work.
    Selector(100)->setCurrentIndex(1);
    EXPECT_EQ(Years()->topLevelItemCount(), 29);
    window_->Commands().Set(102, [this](int) { ComposeSheet(*window_); });
    Click(102);
    EXPECT_EQ(currentSheet.title, "Columbia Glacier");
    EXPECT_FALSE(statusIsError);
}

TEST_F(MainWindowTest, ALanguageChangeRelabelsTheButtonsAndShowsReadyInIt) {
    ChangeLanguage("de_DE");

    EXPECT_EQ(uiLanguage, UiLanguage::German);
    EXPECT_EQ(Find<QAbstractButton>(102)->text(), "Blatt erstellen");
    EXPECT_EQ(Find<QAbstractButton>(110)->text(), "Beenden");
    EXPECT_EQ(statusText, "Bereit. Das Kontaktblatt ist vollständig offline.");
    EXPECT_FALSE(statusIsError);
    EXPECT_EQ(Selector(105)->itemText(1), "4500 px") << "selector items are not localized";
}

class DropTest : public MainWindowTest {
  protected:
    QString WritePair(const QString& name, std::uint32_t first, std::uint32_t second) {
        const QString path = dir_.filePath(name);
        EXPECT_TRUE(mirvane::testing::WriteGreyPair(path, first, second));
        return path;
    }
    // As the desktop does it: the drop goes where the entering drag was accepted.
    void Drop(const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(600, 400), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(window_.get(), &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(600, 400), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window_.get(), &drop);
    }
    QTemporaryDir dir_;
};

TEST_F(DropTest, OneToThreePairFilesBecomeTheSheet) {
    const QUrl a = QUrl::fromLocalFile(WritePair("a.qmp", 2001, 2020));
    const QUrl b = QUrl::fromLocalFile(WritePair("b.qmp", 2015, 1990));
    const QUrl c = QUrl::fromLocalFile(WritePair("c.qmp", 1985, 2015));
    const std::vector<std::pair<QList<QUrl>, std::vector<int>>> drops = {
        {{a}, {2001, 2020}},
        {{b, a}, {1990, 2001, 2015, 2020}},
        {{c, b, a}, {1985, 1990, 2001, 2015, 2015, 2020}},
    };
    for (const auto& [urls, years] : drops) {
        SetStatus(TextId::PairOpenFailedStatus, true);
        Drop(urls);
        EXPECT_EQ(currentSheet.title, "Saved moments");
        EXPECT_FALSE(currentSheet.fromArchive);
        EXPECT_EQ(SheetYears(), years);
        EXPECT_EQ(statusText, UiText(TextId::ReadyStatus));
        EXPECT_FALSE(statusIsError);
    }
}

TEST_F(DropTest, WrongCountsAndRemoteItemsShowThePairErrorAndKeepTheSheet) {
    const QUrl pair = QUrl::fromLocalFile(WritePair("a.qmp", 2001, 2002));
    for (const QList<QUrl>& urls :
         {QList<QUrl>{pair, pair, pair, pair}, QList<QUrl>{QUrl("https://example.org/a.qmp")}}) {
        SetStatus(TextId::ReadyStatus, false);
        Drop(urls);
        EXPECT_EQ(statusText, UiText(TextId::PairOpenFailedStatus));
        EXPECT_TRUE(statusIsError);
        EXPECT_EQ(SheetYears(), (std::vector<int>{2000, 2006, 2012, 2018}));
    }
}

// Pair files are only read: whatever the source proposes, the drop is a copy, and a source that
// offers no copy is refused.
TEST_F(DropTest, ADropIsACopyOrNothing) {
    const QUrl pair = QUrl::fromLocalFile(WritePair("a.qmp", 2001, 2002));
    QMimeData data;
    data.setUrls({pair});
    struct Case {
        Qt::DropActions offered;
        bool taken;
    };
    for (const Case c : {Case{Qt::CopyAction | Qt::MoveAction, true}, Case{Qt::MoveAction, false},
                         Case{Qt::LinkAction | Qt::MoveAction, false}}) {
        ReplaceCurrentSheet(Sheet{});
        QDragEnterEvent enter(QPoint(600, 400), c.offered, &data, Qt::LeftButton, Qt::NoModifier);
        enter.setDropAction(Qt::MoveAction);
        QCoreApplication::sendEvent(window_.get(), &enter);
        QDropEvent drop(QPointF(600, 400), c.offered, &data, Qt::LeftButton, Qt::NoModifier);
        drop.setDropAction(Qt::MoveAction);
        QCoreApplication::sendEvent(window_.get(), &drop);
        EXPECT_EQ(enter.isAccepted(), c.taken) << c.offered.toInt();
        EXPECT_EQ(drop.isAccepted(), c.taken) << c.offered.toInt();
        if (c.taken) {
            EXPECT_EQ(enter.dropAction(), Qt::CopyAction);
            EXPECT_EQ(drop.dropAction(), Qt::CopyAction);
        }
        EXPECT_EQ(SheetYears(), c.taken ? (std::vector<int>{2001, 2002}) : (std::vector<int>{}));
    }
}

TEST(DroppedPairPaths, OneToThreeItemsInOrderOtherwiseNone) {
    const QUrl a = QUrl::fromLocalFile("/data/a.qmp");
    const QUrl b = QUrl::fromLocalFile("/data/b c.qmp");
    EXPECT_TRUE(DroppedPairPaths({}).empty());
    EXPECT_EQ(DroppedPairPaths({b, a}), (std::vector<QString>{"/data/b c.qmp", "/data/a.qmp"}));
    EXPECT_EQ(DroppedPairPaths({a, a, a}).size(), 3u);
    EXPECT_TRUE(DroppedPairPaths({a, a, a, a}).empty());
    EXPECT_EQ(DroppedPairPaths({QUrl("https://example.org/a.qmp"), a}),
              (std::vector<QString>{QString(), "/data/a.qmp"}));
}

}  // namespace
}  // namespace mirvane::shell::testing
