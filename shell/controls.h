// Finding the main window's child controls by their ids.
#pragma once

#include <QWidget>

namespace mirvane::shell {

// Each control of ours carries its id under this property.
inline constexpr char kControlIdProperty[] = "mirvaneControlId";

void SetControlId(QWidget& control, int id);

// The control of `window` with the given id, or nullptr.
QWidget* FindControl(const QWidget& window, int id);

}  // namespace mirvane::shell
