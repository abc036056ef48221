#include "shell/tray_icon.h"

#include <vector>

#include "localization/ui_text.h"
#include "main_window_fixture.h"
#include "shell/export_busy.h"

namespace mirvane::shell::testing {
namespace {

// Stands in for the desktop's notification area, which can be there or not, and restart.
struct FakeAreaState {
    bool available = true;
    int adds = 0;
    int removals = 0;
    bool iconShown = false;
    QString tip;
    QMenu* menu = nullptr;
    NotificationArea::Handlers handlers;
    std::function<void()> restarted;
    std::function<void()> gone;
};

class FakeArea final : public NotificationArea {
  public:
    explicit FakeArea(FakeAreaState& state) : state_(state) {}
    bool AddIcon(const QIcon&, const QString& tip, QMenu& menu, const Handlers& handlers) override {
        ++state_.adds;
        if (state_.available) {
            state_.iconShown = true;
            state_.tip = tip;
            state_.menu = &menu;
            state_.handlers = handlers;
        }
        return state_.available;
    }
    void RemoveIcon() override {
        ++state_.removals;
        state_.iconShown = false;
    }
    bool Available() override { return state_.available; }
    void WatchService(std::function<void()> appeared, std::function<void()> gone) override {
        state_.restarted = std::move(appeared);
        state_.gone = std::move(gone);
    }

  private:
    FakeAreaState& state_;
};

class TrayTest : public MainWindowTest {
  protected:
    std::unique_ptr<NotificationArea> MakeArea() override {
        return std::make_unique<FakeArea>(area_);
    }
    QStringList MenuTexts() const {
        QStringList texts;
        for (const QAction* action : window_->Tray().Menu().actions()) {
            texts << action->text();
        }
        return texts;
    }
    QAction* MenuItem(int position) const { return window_->Tray().Menu().actions().at(position); }

    FakeAreaState area_;
};

TEST_F(TrayTest, TheIconIsAddedAtCreationAndEveryWayOfClosingHidesTheWindowToIt) {
    EXPECT_EQ(area_.adds, 1);
    EXPECT_TRUE(area_.iconShown);
    EXPECT_EQ(area_.tip, "Mirvane");
    EXPECT_EQ(area_.menu, &window_->Tray().Menu());

    const auto hideThenRestore = [this](const std::function<void()>& hide) {
        hide();
        QCoreApplication::processEvents();
        EXPECT_FALSE(window_->isVisible());
        area_.handlers.clicked();
        EXPECT_TRUE(window_->isVisible());
        EXPECT_FALSE(window_->isMinimized());
    };
    hideThenRestore([this] { EXPECT_FALSE(window_->close()); });
    hideThenRestore([this] { QTest::keyClick(window_.get(), Qt::Key_Escape); });
    hideThenRestore([this] { Click(109); });
    hideThenRestore([this] { window_->showMinimized(); });
    EXPECT_EQ(area_.adds, 1) << "a shown icon is not added again";
    EXPECT_EQ(programEnds_, 0);
}

TEST_F(TrayTest, TheMenuOpensTheWindowOrExitsButNotWhileAnExportRuns) {
    EXPECT_EQ(MenuTexts(), (QStringList{"Open Mirvane", "Exit"}));
    EXPECT_TRUE(MenuItem(1)->isEnabled());

    Click(109);
    MenuItem(0)->trigger();
    EXPECT_TRUE(window_->isVisible());

    SetExportBusy(*window_, true);
    EXPECT_FALSE(MenuItem(1)->isEnabled()) << "Exit is greyed while busy";
    Click(109);
    window_->Tray().Choose(TrayCommand::Exit);  // as if chosen before the menu greyed it
    EXPECT_TRUE(window_->isVisible()) << "Exit restores instead of ending";
    EXPECT_EQ(programEnds_, 0);

    SetExportBusy(*window_, false);
    SetUiLanguage(UiLanguage::German);
    EXPECT_EQ(MenuTexts(), (QStringList{UiText(TextId::OpenAppText), "Beenden"}));
    MenuItem(1)->trigger();
    EXPECT_EQ(programEnds_, 1);
}

TEST_F(TrayTest, AnAreaThatComesBackGetsTheIconAgainWithoutShowingTheWindow) {
    Click(109);
    area_.iconShown = false;
    area_.restarted();
    EXPECT_EQ(area_.adds, 2);
    EXPECT_TRUE(area_.iconShown);
    EXPECT_FALSE(window_->isVisible());
    area_.handlers.clicked();
    EXPECT_TRUE(window_->isVisible());
}

TEST_F(TrayTest, TheIconGoesWithTheWindow) {
    window_.reset();
    EXPECT_EQ(area_.removals, 1);
}

class NoAreaAtFirstTest : public TrayTest {
  protected:
    std::unique_ptr<NotificationArea> MakeArea() override {
        area_.available = false;
        return TrayTest::MakeArea();
    }
};

TEST_F(NoAreaAtFirstTest, HidingMinimizesAndTheCloseBoxExitsUntilAnAreaAppears) {
    // Never withdrawn without a way back: each way of hiding leaves a taskbar entry.
    const std::vector<std::function<void()>> hides = {
        [this] { Click(109); },
        [this] { QTest::keyClick(window_.get(), Qt::Key_Escape); },
        [this] { window_->showMinimized(); },
    };
    for (const auto& hide : hides) {
        window_->showNormal();
        hide();
        QCoreApplication::processEvents();
        EXPECT_TRUE(window_->isVisible());
        EXPECT_TRUE(window_->isMinimized());
    }

    // The close box is Exit, which only shows the window while an export runs.
    window_->showMinimized();
    SetExportBusy(*window_, true);
    EXPECT_FALSE(window_->close());
    EXPECT_TRUE(window_->isVisible());
    EXPECT_FALSE(window_->isMinimized());
    EXPECT_EQ(programEnds_, 0);
    SetExportBusy(*window_, false);
    EXPECT_FALSE(window_->close());
    EXPECT_EQ(programEnds_, 1);

    area_.available = true;
    window_->showNormal();
    EXPECT_FALSE(window_->close());
    EXPECT_FALSE(window_->isVisible()) << "an area that appeared is used at the next close";
    EXPECT_EQ(programEnds_, 1);

    window_.reset();
    EXPECT_EQ(area_.removals, 1);
}

TEST_F(TrayTest, AnAreaThatGoesTakesTheIconAndTheCloseBoxEndsTheProgram) {
    area_.available = false;
    area_.gone();
    EXPECT_EQ(area_.removals, 1);
    EXPECT_FALSE(window_->Tray().Shown());
    Click(109);
    EXPECT_TRUE(window_->isMinimized());
    EXPECT_FALSE(window_->close());
    EXPECT_EQ(programEnds_, 1);
}

TEST_F(TrayTest, AnAreaGoneBeforeWordOfItArrivesIsNotHiddenTo) {
    area_.available = false;  // the bus has not told the window yet
    EXPECT_FALSE(window_->close());
    EXPECT_EQ(programEnds_, 1);
    EXPECT_EQ(area_.removals, 1);
    EXPECT_FALSE(window_->Tray().Shown());
}

TEST_F(NoAreaAtFirstTest, NothingIsRemovedWhenNoIconWasShown) {
    window_.reset();
    EXPECT_EQ(area_.removals, 0);
}

}  // namespace
}  // namespace mirvane::shell::testing
