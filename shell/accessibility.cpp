#include "shell/accessibility.h"

#include <QAccessibleWidget>
#include <QComboBox>
#include <QHeaderView>
#include <QPointer>
#include <QTreeWidget>
#include <QVariant>
#include <array>
#include <vector>

#include "localization/accessible_text.h"
#include "localization/clock_text.h"
#include "localization/status_line.h"
#include "localization/ui_text.h"
#include "sheet/current_sheet.h"
#include "shell/control_ids.h"
#include "shell/controls.h"
#include "shell/modal_window.h"
#include "shell/painted_text.h"

namespace mirvane::shell {
namespace {

// On Linux Qt names a drop-down list by its current item and leaves the label to a relation;
// ours are named by the label they stand under, and their item is their value.
class LabelledSelector : public QAccessibleWidget {
  public:
    explicit LabelledSelector(QComboBox* selector)
        : QAccessibleWidget(selector, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override {
        switch (t) {
            case QAccessible::Name:
                return widget()->accessibleName();
            case QAccessible::Value:
                return Selector()->currentText();
            default:
                return QAccessibleWidget::text(t);
        }
    }

    // The list that drops down, with the items.
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(Selector()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child != nullptr && child->object() == Selector()->view() ? 0 : -1;
    }

    QStringList actionNames() const override {
        return QStringList{showMenuAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == showMenuAction() || action == pressAction()) {
            Selector()->showPopup();
        } else {
            QAccessibleWidget::doAction(action);
        }
    }

  private:
    QComboBox* Selector() const { return static_cast<QComboBox*>(widget()); }
};

// One year of the year list: a check box named by its year. Qt's own tree cell would toggle the
// selection on its action; a tool ticks the year instead, as Space does.
class YearItem : public QAccessibleInterface, public QAccessibleActionInterface {
  public:
    YearItem(QTreeWidget* list, int row) : list_(list), row_(row) {}

    bool isValid() const override { return Item() != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return list_ ? list_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(list_.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }

    QString text(QAccessible::Text t) const override {
        const QTreeWidgetItem* item = Item();
        return item != nullptr && t == QAccessible::Name ? item->text(0) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        const QTreeWidgetItem* item = Item();
        if (item == nullptr) {
            return {};
        }
        const QRect local = list_->visualItemRect(item);
        return QRect(list_->viewport()->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return QAccessible::CheckBox; }
    QAccessible::State state() const override {
        QAccessible::State state;
        const QTreeWidgetItem* item = Item();
        if (item == nullptr) {
            state.invalid = true;
            return state;
        }
        state.checkable = true;
        state.checked = item->checkState(0) == Qt::Checked;
        state.selectable = true;
        state.selected = item->isSelected();
        state.focusable = true;
        state.focused = list_->hasFocus() && list_->currentItem() == item;
        state.disabled = !list_->isEnabled();
        state.invisible = list_->visualItemRect(item).isEmpty();
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override { return {toggleAction()}; }
    void doAction(const QString& action) override {
        QTreeWidgetItem* item = Item();
        if (action == toggleAction() && item != nullptr && list_->isEnabled()) {
            item->setCheckState(0,
                                item->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
        }
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

  private:
    QTreeWidgetItem* Item() const { return list_ ? list_->topLevelItem(row_) : nullptr; }

    QPointer<QTreeWidget> list_;
    const int row_;
};

// The year list: its hidden header first, as Qt counts it in the list's focus events, then the
// years.
class YearList : public QAccessibleWidget {
  public:
    explicit YearList(QTreeWidget* list) : QAccessibleWidget(list, QAccessible::List) {}
    ~YearList() override {
        for (const QAccessible::Id id : ids_) {
            QAccessible::deleteAccessibleInterface(id);
        }
    }

    int childCount() const override { return 1 + List()->topLevelItemCount(); }
    QAccessibleInterface* child(int index) const override {
        if (index == 0) {
            return QAccessible::queryAccessibleInterface(List()->header());
        }
        if (index < 1 || index >= childCount()) {
            return nullptr;
        }
        return QAccessible::accessibleInterface(ItemId(index - 1));
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (int i = 0; i < childCount(); ++i) {
            if (this->child(i) == child) {
                return i;
            }
        }
        return -1;
    }
    QAccessibleInterface* focusChild() const override {
        QTreeWidgetItem* current = List()->currentItem();
        return current != nullptr ? child(1 + List()->indexOfTopLevelItem(current)) : nullptr;
    }

  private:
    QTreeWidget* List() const { return static_cast<QTreeWidget*>(widget()); }

    // Made once a row and kept by Qt's registry, so that a tool's reference stays good.
    QAccessible::Id ItemId(int row) const {
        while (static_cast<int>(ids_.size()) <= row) {
            ids_.push_back(QAccessible::registerAccessibleInterface(
                new YearItem(List(), static_cast<int>(ids_.size()))));
        }
        return ids_[static_cast<std::size_t>(row)];
    }
    mutable std::vector<QAccessible::Id> ids_;
};

// A painted text, read afresh whenever a tool asks.
class PaintedTextAccessible : public QAccessibleWidget {
  public:
    explicit PaintedTextAccessible(PaintedText* text) : QAccessibleWidget(text, text->Role()) {}

    QString text(QAccessible::Text t) const override {
        const auto* painted = static_cast<const PaintedText*>(widget());
        switch (t) {
            case QAccessible::Name:
                return painted->Text();
            case QAccessible::Description:
                return painted->Description();
            default:
                return QAccessibleWidget::text(t);
        }
    }
};

QAccessibleInterface* CreateInterface(const QString& className, QObject* object) {
    if (className == QLatin1String("QComboBox")) {
        auto* selector = qobject_cast<QComboBox*>(object);
        if (selector != nullptr && selector->property(kControlIdProperty).isValid()) {
            return new LabelledSelector(selector);
        }
    } else if (className == QLatin1String("QTreeWidget")) {
        auto* list = qobject_cast<QTreeWidget*>(object);
        if (list != nullptr && list->property(kControlIdProperty).isValid()) {
            return new YearList(list);
        }
    } else if (className == QLatin1String("QWidget")) {
        if (auto* text = dynamic_cast<PaintedText*>(object)) {
            return new PaintedTextAccessible(text);
        }
        if (auto* modal = dynamic_cast<ModalWindow*>(object)) {
            return new QAccessibleWidget(modal, QAccessible::Dialog);
        }
    }
    return nullptr;
}

PaintedText::Read Painted(TextId id) {
    return [id] { return UiText(id); };
}

// The rectangles are those the window paints its texts in.
void CreateTexts(QWidget& window) {
    using Role = QAccessible::Role;
    new PaintedText(
        window, Role::Heading, [] { return QStringLiteral("Mirvane"); },
        [](float, float) { return QRectF(26, 19, 310, 44); });
    new PaintedText(window, Role::StaticText, Painted(TextId::TaglineText),
                    [](float, float) { return QRectF(27, 64, 330, 27); });
    new PaintedText(window, Role::StaticText, Painted(TextId::SourceArchiveLabel),
                    [](float, float) { return QRectF(22, 132, 250, 25); });
    new PaintedText(window, Role::StaticText, Painted(TextId::SelectYearsLabel),
                    [](float, float) { return QRectF(22, 208, 250, 25); });
    new PaintedText(window, Role::StaticText, Painted(TextId::DropHintText),
                    [](float, float h) { return QRectF(22, h - 109, 250, 45); });
    new PaintedText(window, Role::StaticText, Painted(TextId::OfflineBadgeText),
                    [](float, float h) { return QRectF(22, h - 57, 250, 24); });
    new PaintedText(window, Role::StaticText, Painted(TextId::LanguageNameText),
                    [](float, float h) { return QRectF(22, h - 32, 250, 24); });
    new PaintedText(window, Role::StaticText, Painted(TextId::PreviewLabel),
                    [](float w, float) { return QRectF(324, 132, w - 650, 30); });
    new PaintedText(
        window, Role::Graphic, [] { return PreviewAccessibleName(currentSheet, uiLanguage); },
        [](float w, float h) { return QRectF(324, 191, w - 362, h - 307); });
    new PaintedText(window, Role::StaticText, Painted(TextId::ColumnsLabel),
                    [](float w, float) { return QRectF(w - 302, 119, 100, 23); });
    new PaintedText(window, Role::StaticText, Painted(TextId::PngWidthLabel),
                    [](float w, float) { return QRectF(w - 188, 119, 150, 23); });
    new PaintedText(
        window, Role::StatusBar, [] { return statusText; },
        [](float w, float h) { return QRectF(324, h - 39, w - 627, 38); },
        [] { return statusIsError ? ErrorStatusDescription(uiLanguage) : QString(); });
    // Read on request only: a clock that spoke every second would drown everything else.
    new PaintedText(
        window, Role::Clock, [] { return ClockText(); },
        [](float w, float h) { return QRectF(w - 292, h - 34, 270, 25); });
}

PaintedText* FindPainted(const QWidget& window, QAccessible::Role role) {
    for (QObject* child : window.children()) {
        if (auto* text = dynamic_cast<PaintedText*>(child);
            text != nullptr && text->Role() == role) {
            return text;
        }
    }
    return nullptr;
}

constexpr char kAnnouncedName[] = "mirvaneAnnouncedName";

void Raise(QObject* object, QAccessible::Event type) {
    QAccessibleEvent event(object, type);
    QAccessible::updateAccessibility(&event);
}

}  // namespace

void InstallAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(CreateInterface);
        return true;
    }();
    static_cast<void>(installed);
}

void CreatePaintedTexts(QWidget& window) {
    CreateTexts(window);
    if (PaintedText* preview = FindPainted(window, QAccessible::Graphic)) {
        preview->setProperty(kAnnouncedName, preview->Text());
    }
}

void PlacePaintedTexts(QWidget& window) {
    for (QObject* child : window.children()) {
        if (auto* text = dynamic_cast<PaintedText*>(child)) {
            text->Follow(window.size());
        }
    }
}

void AnnounceStatus(QWidget& window) {
    if (PaintedText* status = FindPainted(window, QAccessible::StatusBar)) {
        Raise(status, QAccessible::NameChanged);
        Raise(status, QAccessible::DescriptionChanged);
        if (statusIsError) {
            Raise(status, QAccessible::Alert);
        }
    }
    if (PaintedText* preview = FindPainted(window, QAccessible::Graphic)) {
        const QString name = preview->Text();
        if (preview->property(kAnnouncedName).toString() != name) {
            preview->setProperty(kAnnouncedName, name);
            Raise(preview, QAccessible::NameChanged);
        }
    }
}

void AnnounceError(QWidget& line) {
    Raise(&line, QAccessible::NameChanged);
    Raise(&line, QAccessible::Alert);
}

void NameControls(QWidget& window) {
    struct Name {
        int controlId;
        TextId label;
    };
    static constexpr std::array<Name, 4> kNames = {{
        {IDC_LOCATION, TextId::SourceArchiveLabel},
        {IDC_YEAR_LIST, TextId::SelectYearsLabel},
        {IDC_COLUMNS, TextId::ColumnsLabel},
        {IDC_PNG_WIDTH, TextId::PngWidthLabel},
    }};
    for (const Name& name : kNames) {
        if (QWidget* control = FindControl(window, name.controlId)) {
            control->setAccessibleName(UiText(name.label));
        }
    }
}

}  // namespace mirvane::shell
