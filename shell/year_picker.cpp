#include "shell/year_picker.h"

#include <QComboBox>
#include <QTreeWidget>

#include "archive/catalog.h"
#include "localization/status_line.h"
#include "sheet/compose.h"
#include "sheet/current_sheet.h"
#include "sheet/export_gate.h"
#include "shell/control_ids.h"
#include "shell/controls.h"

namespace mirvane::shell {
namespace {

std::vector<int> rows;

int SelectedLocation(const QWidget& window) {
    const auto* location = qobject_cast<const QComboBox*>(FindControl(window, IDC_LOCATION));
    const int index = location != nullptr ? location->currentIndex() : -1;
    return index < 0 || index >= static_cast<int>(kArchiveLocationCount) ? 0 : index;
}

QTreeWidget* YearList(const QWidget& window) {
    return qobject_cast<QTreeWidget*>(FindControl(window, IDC_YEAR_LIST));
}

}  // namespace

const std::vector<int>& yearListRows = rows;

std::array<int, 4> InitialTickPositions(int count) {
    return {0, count / 3, (2 * count) / 3, count - 1};
}

void FillYearList(QWidget& window) {
    QTreeWidget* list = YearList(window);
    if (list == nullptr) {
        return;
    }
    list->clear();
    rows = ArchiveRowsOf(archiveLocations[static_cast<std::size_t>(SelectedLocation(window))]);
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(rows.size()));
    for (const int row : rows) {
        auto* item = new QTreeWidgetItem({QString::number(archiveCatalog[row].year)});
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
                       Qt::ItemNeverHasChildren);
        item->setCheckState(0, Qt::Unchecked);
        items.append(item);
    }
    list->addTopLevelItems(items);
    const int count = static_cast<int>(items.size());
    for (const int position : InitialTickPositions(count)) {
        if (position >= 0 && position < count) {
            items[position]->setCheckState(0, Qt::Checked);
        }
    }
}

void ComposeSheet(const QWidget& window) {
    if (exportBusy) {
        return;
    }
    const QTreeWidget* list = YearList(window);
    std::vector<int> selection;
    for (std::size_t i = 0; list != nullptr && i < rows.size(); ++i) {
        const QTreeWidgetItem* item = list->topLevelItem(static_cast<int>(i));
        // Anything but "not ticked" counts as ticked, a partial tick included.
        if (item != nullptr && item->checkState(0) != Qt::Unchecked) {
            selection.push_back(rows[i]);
        }
    }
    std::optional<Sheet> sheet = ComposeFromArchive(selection);
    if (!sheet) {
        SetStatus(TextId::SelectYearsStatus, true);
        return;
    }
    ReplaceCurrentSheet(std::move(*sheet));
    SetStatus(TextId::ReadyStatus, false);
}

}  // namespace mirvane::shell
