#include "shell/owner_button.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTest>

#include "render/fonts.h"
#include "render/pixel_probes.h"
#include "shell/button_look.h"
#include "shell/control_ids.h"
#include "shell/controls.h"

namespace mirvane::shell {
namespace {

using mirvane::testing::AllOf;
using mirvane::testing::BoundsOf;

constexpr QRgb kInk = 0xff412b3d;
constexpr QRgb kBody = 0xff302a2f;
constexpr QRgb kAccent = 0xffaf5939;
constexpr QRgb kMuted = 0xff776a74;
constexpr QRgb kFace = 0xffe1d3d5;
constexpr QRgb kLight = 0xfffff8e8;

TEST(ButtonLook, FaceAndCaptionInEveryState) {
    struct Case {
        int id;
        bool pressed, enabled;
        QRgb face, caption;
    };
    const Case cases[] = {
        {IDC_COMPOSE, false, true, kInk, kLight},  {IDC_HELP, false, true, kFace, kBody},
        {IDC_EXPORT, true, true, kAccent, kLight}, {IDC_EXIT, true, true, kAccent, kBody},
        {IDC_EXPORT, false, false, kInk, kMuted},  {IDC_OPEN_PAIR, false, false, kFace, kMuted},
        {303, false, true, kInk, kLight},          {304, false, true, kFace, kBody},
    };
    for (const Case& c : cases) {
        const ButtonLook look = ButtonLookFor(IsPrimaryButton(c.id), c.pressed, c.enabled);
        EXPECT_EQ(look.face, c.face) << c.id << c.pressed << c.enabled;
        EXPECT_EQ(look.caption, c.caption) << c.id << c.pressed << c.enabled;
    }
}

class DrawnButton : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(RegisterFonts()); }

    static QImage Draw(const OwnerButtonState& state) {
        QImage image(state.size, QImage::Format_RGB32);
        image.fill(Qt::green);
        DrawOwnerButton(image, state);
        return image;
    }

    // Where pixels clearly differ from `face`, in `area`.
    static QRect Marks(const QImage& image, const QRect& area, QRgb face) {
        return BoundsOf(image, area, [face](QRgb p) {
            return std::abs(qRed(p) - qRed(face)) + std::abs(qGreen(p) - qGreen(face)) +
                       std::abs(qBlue(p) - qBlue(face)) >
                   60;
        });
    }
};

TEST_F(DrawnButton, WideCaptionWrapsOntoCentredLines) {
    // Too wide for 70 - 8 pixels: two lines, each centred, the pair centred too.
    const QImage image = Draw({QSize(70, 60), QStringLiteral("Open Exports"), true});
    EXPECT_TRUE(AllOf(image, QRect(0, 0, 70, 4), kInk));
    EXPECT_FALSE(BoundsOf(image, image.rect(), mirvane::testing::Exactly(kLight)).isEmpty());
    std::vector<QRect> lines;
    for (int y = 0; y < 60; ++y) {
        const QRect row = Marks(image, QRect(0, y, 70, 1), kInk);
        if (!row.isEmpty() && (lines.empty() || lines.back().bottom() < y - 1)) {
            lines.push_back(row);
        } else if (!row.isEmpty()) {
            lines.back() |= row;
        }
    }
    ASSERT_EQ(lines.size(), 2u);
    for (const QRect& line : lines) {
        EXPECT_GE(line.left(), 4);
        EXPECT_NEAR(line.left(), 69 - line.right(), 2);
    }
    EXPECT_NEAR(lines[0].top(), 59 - lines[1].bottom(), 3);
}

TEST_F(DrawnButton, FocusRectangleIsDottedThreePixelsInside) {
    OwnerButtonState state{QSize(65, 34), QString(), false, false, true, true};
    const QImage focused = Draw(state);
    EXPECT_EQ(Marks(focused, focused.rect(), kFace), QRect(3, 3, 59, 28));
    for (int x = 3; x <= 61; ++x) {
        EXPECT_EQ(focused.pixel(x, 3), (x - 3) % 2 == 0 ? kBody : kFace) << x;
    }
    state.focused = false;
    EXPECT_TRUE(AllOf(Draw(state), QRect(0, 0, 65, 34), kFace));
}

TEST(OwnerButton, PressTurnsTheFaceAccentAndReleaseRestoresIt) {
    QWidget window;
    auto* button = new OwnerButton(IDC_HELP, QStringLiteral("Help"), &window);
    button->setGeometry(0, 0, 70, 34);
    EXPECT_EQ(FindControl(window, IDC_HELP), button);
    const auto face = [&] { return button->grab().toImage().pixel(1, 1); };
    EXPECT_EQ(face(), kFace);
    QTest::mousePress(button, Qt::LeftButton);
    EXPECT_EQ(face(), kAccent);
    QTest::mouseRelease(button, Qt::LeftButton);
    EXPECT_EQ(face(), kFace);
}

}  // namespace
}  // namespace mirvane::shell
