#include "shell/layout.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QTreeWidget>

#include "shell/control_ids.h"
#include "shell/controls.h"
#include "shell/owner_button.h"

namespace mirvane::shell {
namespace {

QRect PlacedAt(float w, float h, int id) {
    for (const ControlPlacement& placement : ControlLayout(w, h)) {
        if (placement.id == id) {
            return PlacedGeometry(placement.rect);
        }
    }
    return QRect();
}

TEST(ControlLayout, AnchorsEachControlToItsEdges) {
    EXPECT_EQ(PlacedAt(1164, 801, IDC_YEAR_LIST), QRect(22, 237, 248, 347));
    EXPECT_EQ(PlacedAt(1164, 801, IDC_COMPOSE), QRect(22, 596, 248, 36));
    EXPECT_EQ(PlacedAt(1164, 801, IDC_EXPORT), QRect(324, 710, 171, 36));
    EXPECT_EQ(PlacedAt(1164, 801, IDC_EXIT), QRect(1074, 34, 65, 34));
    EXPECT_EQ(PlacedAt(1164, 801, IDC_COLUMNS), QRect(862, 143, 100, 180));
    // 300 wider and 200 taller: the right column moves across, the bottom row down, the year
    // list grows and the left column's top stays.
    EXPECT_EQ(PlacedAt(1464, 1001, IDC_YEAR_LIST), QRect(22, 237, 248, 547));
    EXPECT_EQ(PlacedAt(1464, 1001, IDC_LOCATION), QRect(22, 162, 248, 240));
    EXPECT_EQ(PlacedAt(1464, 1001, IDC_HIDE_TO_TRAY), QRect(1259, 34, 105, 34));
    EXPECT_EQ(PlacedAt(1464, 1001, IDC_PNG_WIDTH), QRect(1276, 143, 150, 180));
    EXPECT_EQ(PlacedAt(1464, 1001, IDC_OPEN_PAIR), QRect(22, 843, 248, 36));
    EXPECT_EQ(PlacedAt(1464, 1001, IDC_OPEN_EXPORTS), QRect(507, 910, 176, 36));
    // Each value is rounded on its own, halves away from zero.
    EXPECT_EQ(PlacedGeometry(QRectF(0.5, -2.5, 0.5, 10.49)), QRect(1, -3, 1, 10));
}

TEST(LayoutControls, MovesTheControlsTheWindowHas) {
    QWidget window;
    window.resize(1300, 900);
    auto* location = new QComboBox(&window);
    SetControlId(*location, IDC_LOCATION);
    auto* years = new QTreeWidget(&window);
    SetControlId(*years, IDC_YEAR_LIST);
    auto* exit = new OwnerButton(IDC_EXIT, QStringLiteral("Exit"), &window);

    LayoutControls(window);  // the missing controls are skipped

    EXPECT_EQ(years->geometry(), QRect(22, 237, 248, 446));
    EXPECT_EQ(exit->geometry(), QRect(1210, 34, 65, 34));
    // A selector keeps its closed height; its list drops down by itself.
    EXPECT_EQ(location->geometry(), QRect(22, 162, 248, location->sizeHint().height()));
}

}  // namespace
}  // namespace mirvane::shell
