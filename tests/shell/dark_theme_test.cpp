// The window under a dark desktop theme: a dark palette and another style are set on the
// application before the window exists, as a platform theme does. Its own process, as both stay.
#include <QApplication>
#include <QLineEdit>
#include <QStyleFactory>

#include "main_window_fixture.h"
#include "render/palette.h"
#include "shell/modal_window.h"

namespace mirvane::shell::testing {
namespace {

int Luma(QRgb colour) {
    return (299 * qRed(colour) + 587 * qGreen(colour) + 114 * qBlue(colour)) / 1000;
}

struct Lumas {
    int least = 255;
    int mean = 0;
};

Lumas LumasOf(const QImage& image, const QRect& rect) {
    Lumas lumas;
    long long sum = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const int luma = Luma(image.pixel(x, y));
            lumas.least = std::min(lumas.least, luma);
            sum += luma;
        }
    }
    lumas.mean = static_cast<int>(sum / std::max<qsizetype>(1, rect.width() * rect.height()));
    return lumas;
}

class DarkThemeTest : public MainWindowTest {
  protected:
    static void SetUpTestSuite() {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QPalette dark(QColor(0x35, 0x35, 0x35), QColor(0x24, 0x24, 0x24));
        for (const QPalette::ColorRole role :
             {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
            dark.setColor(role, QColor(0xee, 0xee, 0xee));
        }
        dark.setColor(QPalette::Base, QColor(0x2d, 0x2d, 0x2d));
        QApplication::setPalette(dark);
        MainWindowTest::SetUpTestSuite();
    }
};

// Body ink (luma 44) on paper (luma 243): the text's darkest pixels are dark, the ground light.
TEST_F(DarkThemeTest, TheYearListTheSelectorsAndThePathBoxKeepBodyInkOnPaper) {
    const QImage window = window_->grab().toImage();
    const QRect row = Years()
                          ->visualItemRect(Years()->topLevelItem(0))
                          .translated(Years()->geometry().topLeft() + QPoint(0, 0));
    const QRect yearText(row.left() + 22, row.top() + 2, 40, row.height() - 4);
    const Lumas years = LumasOf(window, yearText);
    EXPECT_LT(years.least, 100) << "the year is dark";
    EXPECT_GT(years.mean, 170);
    EXPECT_EQ(window.pixel(row.left() + 150, row.center().y()), palette::kPaper);

    for (const int id : {100, 104, 105}) {
        const QRect selector = Selector(id)->geometry().adjusted(4, 4, -20, -4);
        const Lumas lumas = LumasOf(window, selector);
        EXPECT_LT(lumas.least, 100) << id << ": its text is dark";
        EXPECT_GT(lumas.mean, 200) << id << ": its ground is light";
    }

    OpenModalWindow(*window_, ModalKind::OpenPair);
    auto* path = qobject_cast<QLineEdit*>(FindControl(*OpenModal(), IDC_PAIR_PATH));
    ASSERT_NE(path, nullptr);
    path->setText(QStringLiteral("/photos/pair.qmp"));
    const QImage box = path->grab().toImage();
    const Lumas lumas = LumasOf(box, box.rect().adjusted(3, 3, -3, -3));
    EXPECT_LT(lumas.least, 100);
    EXPECT_GT(lumas.mean, 200);
    OpenModal()->close();
}

}  // namespace
}  // namespace mirvane::shell::testing
