#include "shell/main_window_controls.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QHeaderView>
#include <QTreeWidget>

#include "archive/catalog.h"
#include "localization/relocalization.h"
#include "localization/ui_text.h"
#include "shell/accessibility.h"
#include "shell/control_ids.h"
#include "shell/controls.h"
#include "shell/layout.h"
#include "shell/owner_button.h"
#include "shell/ui_font.h"
#include "shell/ui_scale.h"

namespace mirvane::shell {
namespace {

constexpr QRgb kYearListBackground = 0xfff7f3eb;

// A drop-down list with its first item chosen; NameControls names it.
QComboBox* CreateSelector(QWidget& window, int id, const QStringList& items) {
    auto* selector = new QComboBox(&window);
    SetControlId(*selector, id);
    selector->addItems(items);
    selector->setCurrentIndex(0);
    return selector;
}

void CreateYearList(QWidget& window) {
    auto* list = new QTreeWidget(&window);
    SetControlId(*list, IDC_YEAR_LIST);
    list->setColumnCount(1);
    list->setHeaderHidden(true);
    // The column keeps its width instead of stretching to the list's.
    list->header()->setStretchLastSection(false);
    list->setColumnWidth(0, kYearColumnWidth);
    list->setRootIsDecorated(false);
    list->setIndentation(0);
    list->setUniformRowHeights(true);
    list->setFrameShape(QFrame::NoFrame);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setAllColumnsShowFocus(true);
    QPalette colours = list->palette();
    colours.setColor(QPalette::Base, QColor::fromRgba(kYearListBackground));
    // The selection stays visible while another control has the focus.
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    }
    list->setPalette(colours);
}

QStringList LocationNames() {
    QStringList names;
    for (const char16_t* location : archiveLocations) {
        names.append(QString::fromUtf16(location));
    }
    return names;
}

void ApplyUiFont(QWidget& window) {
    const QFont font = UiFont();
    for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        child->setFont(font);
    }
}

}  // namespace

void CreateMainControls(QWidget& window) {
    CreateSelector(window, IDC_LOCATION, LocationNames());
    CreateYearList(window);
    CreateSelector(window, IDC_COLUMNS, {QStringLiteral("2"), QStringLiteral("3")});
    CreateSelector(window, IDC_PNG_WIDTH, {QStringLiteral("3000 px"), QStringLiteral("4500 px")});
    for (const ButtonCaption& button : kMainButtonCaptions) {
        new OwnerButton(button.controlId, UiText(button.text), &window);
    }
    NameControls(window);
    ApplyUiFont(window);
}

void RelocalizeWindow(QWidget& window) {
    Relocalize([&window](int controlId, const QString& caption) {
        if (auto* button = qobject_cast<QAbstractButton*>(FindControl(window, controlId))) {
            button->setText(caption);
        }
    });
    NameControls(window);
}

void FollowPixelRatio(QWidget& window) {
    uiScale = static_cast<float>(window.devicePixelRatioF());
    // Qt places, sizes and letters the controls in device-independent pixels and scales them to
    // the screen itself, so the logical values are set again as they are.
    ApplyUiFont(window);
    if (auto* list = qobject_cast<QTreeWidget*>(FindControl(window, IDC_YEAR_LIST))) {
        list->setColumnWidth(0, kYearColumnWidth);
    }
    LayoutControls(window);
    window.update();
}

}  // namespace mirvane::shell
