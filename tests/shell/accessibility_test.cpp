// The window as assistive tools and keyboard users meet it: names and roles through Qt's
// accessibility, the events the status line raises, the shortcut keys, the focus and the wait
// cursor.
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <optional>
#include <span>
#include <tuple>
#include <utility>
#include <vector>

#include "localization/clock_text.h"
#include "localization/status_line.h"
#include "localization/ui_text.h"
#include "main_window_fixture.h"
#include "shell/control_ids.h"
#include "shell/export_busy.h"
#include "shell/modal_window.h"
#include "shell/open_pair_window.h"

namespace mirvane::shell::testing {
namespace {

using Event = std::pair<QObject*, QAccessible::Event>;
std::vector<Event> raised;

void Record(QAccessibleEvent* event) {
    raised.emplace_back(event->object(), event->type());
}

class AccessibilityTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        raised.clear();
        QAccessible::installUpdateHandler(Record);
        // As when an assistive tool listens: only then does Qt raise events.
        Accessibility()->setActive(true);
    }
    void TearDown() override {
        Accessibility()->setActive(false);
        QAccessible::installUpdateHandler(nullptr);
        MainWindowTest::TearDown();
    }

    static QPlatformAccessibility* Accessibility() {
        return QGuiApplicationPrivate::platformIntegration()->accessibility();
    }

    static QAccessibleInterface* Of(QObject* object) {
        return QAccessible::queryAccessibleInterface(object);
    }

    // The window's accessible children of `role`, by name.
    QStringList Named(QAccessible::Role role) const {
        QStringList names;
        QAccessibleInterface* window = Of(window_.get());
        for (int i = 0; i < window->childCount(); ++i) {
            if (window->child(i)->role() == role) {
                names.append(window->child(i)->text(QAccessible::Name));
            }
        }
        return names;
    }

    QAccessibleInterface* Only(QAccessible::Role role) const {
        QAccessibleInterface* window = Of(window_.get());
        QAccessibleInterface* found = nullptr;
        for (int i = 0; i < window->childCount(); ++i) {
            if (window->child(i)->role() == role) {
                EXPECT_EQ(found, nullptr) << "one of role " << role;
                found = window->child(i);
            }
        }
        return found;
    }

    int Count(QObject* object, QAccessible::Event type) const {
        return static_cast<int>(std::count(raised.begin(), raised.end(), Event(object, type)));
    }
};

TEST_F(AccessibilityTest, ControlsAreNamedByTheirLabelsInTheUiLanguage) {
    struct Case {
        int id;
        QAccessible::Role role;
        QString english;
        QString german;
    };
    const std::vector<Case> cases = {
        {IDC_LOCATION, QAccessible::ComboBox, "SOURCE ARCHIVE", "BILDARCHIV"},
        {IDC_YEAR_LIST, QAccessible::List, "Select 2-6 years", "2-6 Jahre auswählen"},
        {IDC_COLUMNS, QAccessible::ComboBox, "Columns", "Spalten"},
        {IDC_PNG_WIDTH, QAccessible::ComboBox, "PNG width", "PNG-Breite"},
        {IDC_COMPOSE, QAccessible::Button, "Compose sheet", "Blatt erstellen"},
        {IDC_EXIT, QAccessible::Button, "Exit", "Beenden"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Of(Find(c.id))->role(), c.role) << c.id;
        EXPECT_EQ(Of(Find(c.id))->text(QAccessible::Name), c.english) << c.id;
    }
    // A selector's item is its value, and its list drops down on request.
    Selector(IDC_LOCATION)->setCurrentIndex(2);
    EXPECT_EQ(Of(Find(IDC_LOCATION))->text(QAccessible::Value), "Lake Powell");
    EXPECT_TRUE(Of(Find(IDC_LOCATION))
                    ->actionInterface()
                    ->actionNames()
                    .contains(QAccessibleActionInterface::showMenuAction()));

    // Each year is a check box named by its year, after the hidden header; its action ticks it.
    QAccessibleInterface* firstYear = Of(Years())->child(1);
    ASSERT_NE(firstYear, nullptr);
    EXPECT_EQ(firstYear->text(QAccessible::Name), Years()->topLevelItem(0)->text(0));
    EXPECT_TRUE(firstYear->state().checkable);
    EXPECT_TRUE(firstYear->state().checked) << "the first year is ticked after a fill";
    firstYear->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(Years()->topLevelItem(0)->checkState(0), Qt::Unchecked);
    EXPECT_EQ(Of(Years())->childCount(), 1 + Years()->topLevelItemCount());

    ChangeLanguage("de_DE");
    for (const Case& c : cases) {
        EXPECT_EQ(Of(Find(c.id))->text(QAccessible::Name), c.german) << c.id;
    }
    EXPECT_TRUE(Named(QAccessible::StaticText).contains("BILDARCHIV"));
}

TEST_F(AccessibilityTest, PaintedTextsAreReadable) {
    EXPECT_EQ(Named(QAccessible::Heading), QStringList{"Mirvane"});
    EXPECT_EQ(Named(QAccessible::StaticText),
              (QStringList{"Turn years into a story.", "SOURCE ARCHIVE", "Select 2-6 years",
                           UiText(TextId::DropHintText), "Offline studio / No account", "English",
                           "SHEET PREVIEW", "Columns", "PNG width"}));
    EXPECT_EQ(Named(QAccessible::Graphic),
              QStringList{"Sheet preview: Aral Sea, 2000, 2006, 2012, 2018"});
    EXPECT_EQ(Named(QAccessible::StatusBar), QStringList{statusText});
    EXPECT_EQ(Named(QAccessible::Clock), QStringList{ClockText()});

    // Each stands where its text is painted, and follows a resize.
    QAccessibleInterface* status = Only(QAccessible::StatusBar);
    const QPoint footer = window_->mapToGlobal(QPoint(330, window_->height() - 30));
    EXPECT_TRUE(status->rect().contains(footer));
    window_->resize(1300, 900);
    EXPECT_TRUE(status->rect().contains(window_->mapToGlobal(QPoint(330, 870))));
    EXPECT_EQ(window_->childAt(330, 870), nullptr) << "the mouse and drops pass through";
}

TEST_F(AccessibilityTest, EverySetStatusIsAnnouncedAndErrorsAreMarked) {
    QAccessibleInterface* status = Only(QAccessible::StatusBar);
    QAccessibleInterface* preview = Only(QAccessible::Graphic);
    QObject* statusObject = status->object();

    SetStatus(TextId::ReadyStatus, false);
    SetStatus(TextId::ReadyStatus, false);
    EXPECT_EQ(Count(statusObject, QAccessible::NameChanged), 2) << "the same text is said again";
    EXPECT_EQ(Count(statusObject, QAccessible::Alert), 0);
    EXPECT_EQ(status->text(QAccessible::Description), "");
    EXPECT_EQ(Count(preview->object(), QAccessible::NameChanged), 0) << "the sheet stayed";

    TickOnly({2000});
    Click(IDC_COMPOSE);
    EXPECT_EQ(status->text(QAccessible::Name), UiText(TextId::SelectYearsStatus));
    EXPECT_EQ(status->text(QAccessible::Description), "Error");
    EXPECT_EQ(Count(statusObject, QAccessible::Alert), 1);

    TickOnly({2006, 2018});
    Click(IDC_COMPOSE);
    EXPECT_EQ(preview->text(QAccessible::Name), "Sheet preview: Aral Sea, 2006, 2018");
    EXPECT_EQ(Count(preview->object(), QAccessible::NameChanged), 1);
    EXPECT_EQ(status->text(QAccessible::Description), "");

    raised.clear();
    window_->TickClock();
    EXPECT_TRUE(raised.empty()) << "the clock is read on request, never announced";
}

TEST_F(AccessibilityTest, ShortcutKeysReachTheButtonsCommandsOnlyWhileTheWindowHasTheKeyboard) {
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    const std::vector<std::tuple<Qt::Key, Qt::KeyboardModifiers, int>> keys = {
        {Qt::Key_F1, Qt::NoModifier, IDC_HELP},
        {Qt::Key_O, Qt::ControlModifier, IDC_OPEN_PAIR},
        {Qt::Key_E, Qt::ControlModifier, IDC_EXPORT},
        {Qt::Key_Return, Qt::ControlModifier, IDC_COMPOSE},
        {Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier, IDC_COMPOSE},
        {Qt::Key_Q, Qt::ControlModifier, IDC_EXIT},
    };
    std::vector<int> dispatched;
    for (const auto& [key, modifiers, id] : keys) {
        window_->Commands().Set(id, [&dispatched, id = id](int) { dispatched.push_back(id); });
    }
    for (const auto& [key, modifiers, id] : keys) {
        QTest::keyClick(Find(IDC_YEAR_LIST), key, modifiers);
    }
    EXPECT_EQ(dispatched, (std::vector<int>{IDC_HELP, IDC_OPEN_PAIR, IDC_EXPORT, IDC_COMPOSE,
                                            IDC_COMPOSE, IDC_EXIT}));

    // With a modal window open the keys are its own, even sent to the owner.
    window_->Commands().Set(IDC_HELP, [this](int) { OpenModalWindow(*window_, ModalKind::Help); });
    QTest::keyClick(Find(IDC_COMPOSE), Qt::Key_F1);
    ASSERT_NE(OpenModal(), nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(OpenModal()));
    dispatched.clear();
    for (const auto& [key, modifiers, id] : keys) {
        QTest::keyClick(Find(IDC_COMPOSE), key, modifiers);
        QTest::keyClick(OpenModal()->focusWidget(), key, modifiers);
    }
    EXPECT_TRUE(dispatched.empty());
    OpenModal()->close();
}

TEST_F(AccessibilityTest, KeysKeepTheBusyGateAndExitShowsTheWindowDuringAnExport) {
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    TickOnly({2000, 2018});
    exportBusy = true;
    QTest::keyClick(window_.get(), Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClick(window_.get(), Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(window_.get(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(SheetYears(), (std::vector<int>{2000, 2006, 2012, 2018}));
    EXPECT_EQ(OpenModal(), nullptr);
    EXPECT_EQ(programEnds_, 0);
    EXPECT_TRUE(window_->isVisible());

    exportBusy = false;
    QTest::keyClick(window_.get(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(SheetYears(), (std::vector<int>{2000, 2018}));
    QTest::keyClick(window_.get(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(programEnds_, 1);
}

TEST_F(AccessibilityTest, TheKeyboardComesBackWhenTheBusyTimeOrAModalWindowEnds) {
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    Find(IDC_EXPORT)->setFocus();
    SetExportBusy(*window_, true);
    EXPECT_NE(QApplication::focusWidget(), Find(IDC_EXPORT)) << "a greyed button lost it";
    SetExportBusy(*window_, false);
    EXPECT_EQ(QApplication::focusWidget(), Find(IDC_EXPORT));

    // Had no control of ours the keyboard, the first one gets it.
    window_->setFocus();
    SetExportBusy(*window_, true);
    SetExportBusy(*window_, false);
    EXPECT_EQ(QApplication::focusWidget(), Find(IDC_LOCATION));

    // A modal window hands it back to the control that had it when it opened.
    Find(IDC_COLUMNS)->setFocus();
    QTest::keyClick(Find(IDC_COLUMNS), Qt::Key_F1);
    ASSERT_NE(OpenModal(), nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(OpenModal()));
    QTest::keyClick(OpenModal()->focusWidget(), Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    EXPECT_EQ(QApplication::focusWidget(), Find(IDC_COLUMNS));
}

TEST_F(AccessibilityTest, AnImportShowsTheWaitCursorAndAFailureIsAnnouncedInTheDialog) {
    std::optional<Qt::CursorShape> during;
    auto* window = new OpenPairWindow(*window_, [&](std::span<const QString>) {
        const QCursor* cursor = QGuiApplication::overrideCursor();
        during = cursor != nullptr ? std::optional(cursor->shape()) : std::nullopt;
        return std::optional<Sheet>();
    });
    window->show();
    auto* path = qobject_cast<QLineEdit*>(FindControl(*window, IDC_PAIR_PATH));
    auto* error = FindControl(*window, IDC_PAIR_ERROR);
    EXPECT_EQ(Of(window)->role(), QAccessible::Dialog);
    EXPECT_EQ(Of(path)->text(QAccessible::Name), UiText(TextId::PairPathLabel));

    for (int attempt = 1; attempt <= 2; ++attempt) {
        path->setText(QStringLiteral("/nowhere.qmp"));
        QTest::keyClick(path, Qt::Key_Return);
        EXPECT_EQ(Count(error, QAccessible::Alert), attempt) << "the same error is said again";
    }
    EXPECT_EQ(during, Qt::WaitCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(Of(error)->text(QAccessible::Name), UiText(TextId::PairOpenFailedStatus));
    window->close();
}

}  // namespace
}  // namespace mirvane::shell::testing
