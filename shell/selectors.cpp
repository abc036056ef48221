#include "shell/selectors.h"

#include <QComboBox>

#include "shell/control_ids.h"
#include "shell/controls.h"

namespace mirvane::shell {
namespace {

bool SecondItemSelected(const QWidget& window, int id) {
    const auto* selector = qobject_cast<const QComboBox*>(FindControl(window, id));
    return selector != nullptr && selector->currentIndex() == 1;
}

}  // namespace

int SelectedColumnCount(const QWidget& window) {
    return SecondItemSelected(window, IDC_COLUMNS) ? 3 : 2;
}

int SelectedPngWidth(const QWidget& window) {
    return SecondItemSelected(window, IDC_PNG_WIDTH) ? 4500 : 3000;
}

}  // namespace mirvane::shell
