// A freshly started main window for every test, shown offscreen, in English, with no export
// running.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QByteArray>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QTest>
#include <QTreeWidget>
#include <memory>
#include <ostream>
#include <set>
#include <vector>

#include "localization/ui_language.h"
#include "render/fonts.h"
#include "sheet/current_sheet.h"
#include "sheet/export_gate.h"
#include "shell/controls.h"
#include "shell/main_window.h"

// Readable texts in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace mirvane::shell::testing {

class MainWindowTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_TRUE(RegisterFonts()); }

    void SetUp() override {
        SetUiLanguage(UiLanguage::English);
        exportBusy = false;
        window_ = std::make_unique<MainWindow>([this] { ++programEnds_; }, MakeArea());
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    }
    void TearDown() override {
        window_.reset();
        exportBusy = false;
    }

    // The notification area the window gets: the desktop's own, which offscreen has none.
    virtual std::unique_ptr<NotificationArea> MakeArea() { return SystemNotificationArea(); }

    template <typename Control = QWidget>
    Control* Find(int id) const {
        return qobject_cast<Control*>(FindControl(*window_, id));
    }
    QTreeWidget* Years() const { return Find<QTreeWidget>(101); }
    QComboBox* Selector(int id) const { return Find<QComboBox>(id); }

    void Click(int id) const { QTest::mouseClick(Find<QAbstractButton>(id), Qt::LeftButton); }

    // Tells the window the locale changed to `language`, as the desktop would, then puts the
    // environment back.
    void ChangeLanguage(const char* language) const {
        const QByteArray saved = qgetenv("LANGUAGE");
        qputenv("LANGUAGE", language);
        QEvent change(QEvent::LocaleChange);
        QCoreApplication::sendEvent(window_.get(), &change);
        if (saved.isNull()) {
            qunsetenv("LANGUAGE");
        } else {
            qputenv("LANGUAGE", saved);
        }
    }

    // Ticks exactly the list lines showing `years`.
    void TickOnly(const std::multiset<int>& years) const {
        for (int i = 0; i < Years()->topLevelItemCount(); ++i) {
            QTreeWidgetItem* item = Years()->topLevelItem(i);
            const bool tick = years.count(item->text(0).toInt()) > 0;
            item->setCheckState(0, tick ? Qt::Checked : Qt::Unchecked);
        }
    }

    std::vector<int> TickedYears() const {
        std::vector<int> years;
        for (int i = 0; i < Years()->topLevelItemCount(); ++i) {
            if (Years()->topLevelItem(i)->checkState(0) == Qt::Checked) {
                years.push_back(Years()->topLevelItem(i)->text(0).toInt());
            }
        }
        return years;
    }

    std::vector<int> ListedYears() const {
        std::vector<int> years;
        for (int i = 0; i < Years()->topLevelItemCount(); ++i) {
            years.push_back(Years()->topLevelItem(i)->text(0).toInt());
        }
        return years;
    }

    static std::vector<int> SheetYears() {
        std::vector<int> years;
        for (const Frame& frame : currentSheet.frames) {
            years.push_back(frame.year);
        }
        return years;
    }

    std::unique_ptr<MainWindow> window_;
    int programEnds_ = 0;
};

}  // namespace mirvane::shell::testing
