// Whole sheets compared with reference pictures, brought down to 1000 pixels wide. The tolerance
// admits what another libjpeg-turbo or FreeType build may change in a pixel here and there, not a
// text moved by a few units, a lost frame or another colour. MIRVANE_UPDATE_GOLDEN=1 rewrites the
// references.
#include <gtest/gtest.h>

#include "localization/ui_text.h"
#include "sheet_test_sheets.h"

namespace mirvane {
namespace {

using testing::FrameOf;

constexpr int kGoldenWidth = 1000;
constexpr double kMaxMeanDifference = 0.5;
constexpr double kMaxShareFarOff = 0.0001;  // of pixels with a channel more than 40 levels off

// Flat shapes: any misplaced photograph shows, and the references stay small.
QImage Photo(int width, int height, int seed) {
    QImage image =
        testing::FlatImage(width, height, QColor::fromHsv(seed * 47 % 360, 60, 200).rgb());
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromHsv(seed * 67 % 360, 200, 160));
    painter.drawEllipse(QRectF(width * 0.2, height * 0.3, width * 0.35, height * 0.4));
    painter.fillRect(QRectF(width * 0.6, height * 0.1, width * 0.3, height * 0.15), Qt::black);
    return image;
}

void ExpectLikeGolden(const QImage& rendered, const QString& name) {
    const QImage small = rendered.scaledToWidth(kGoldenWidth, Qt::SmoothTransformation)
                             .convertToFormat(QImage::Format_RGB32);
    const QString path = QStringLiteral(MIRVANE_GOLDEN_DIR "/") + name + QStringLiteral(".png");
    if (qEnvironmentVariableIntValue("MIRVANE_UPDATE_GOLDEN") == 1) {
        ASSERT_TRUE(small.save(path));
    }
    const QImage golden = QImage(path).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(golden.size(), small.size()) << path.toStdString();
    double sum = 0;
    int farOff = 0;
    for (int y = 0; y < small.height(); ++y) {
        for (int x = 0; x < small.width(); ++x) {
            const QRgb a = small.pixel(x, y);
            const QRgb b = golden.pixel(x, y);
            const int d[] = {std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                             std::abs(qBlue(a) - qBlue(b))};
            sum += d[0] + d[1] + d[2];
            farOff += std::max({d[0], d[1], d[2]}) > 40;
        }
    }
    const double pixels = static_cast<double>(small.width()) * small.height();
    EXPECT_LE(sum / (3 * pixels), kMaxMeanDifference) << name.toStdString();
    EXPECT_LE(farOff, kMaxShareFarOff * pixels) << name.toStdString();
}

TEST(SheetGolden, LooksLikeItsReference) {
    std::vector<Frame> six;
    for (int i = 0; i < 6; ++i) {
        six.push_back(FrameOf(i == 4 ? Photo(700, 1400, 11) : Photo(1500 + 100 * i, 1000, 6 + i),
                              1990 + 5 * i));
    }
    const struct {
        const char* name;
        Sheet sheet;
        std::int32_t width, columns;
        bool fullResolution;
        UiLanguage language;
    } cases[] = {
        {"archive_3_frames_2_columns",
         Sheet{QStringLiteral("Aral Sea"),
               {FrameOf(Photo(1600, 1100, 1), 2000), FrameOf(Photo(900, 1300, 2), 2006),
                FrameOf(Photo(2000, 600, 3), 2012)},
               true},
         3000, 2, true, UiLanguage::English},
        {"pairs_2_frames_3_columns_de",
         Sheet{UiTextIn(TextId::SavedMomentsTitle, UiLanguage::German),
               {FrameOf(Photo(1200, 900, 4), 2011), FrameOf(Photo(1200, 900, 5), 2011)},
               false},
         3000, 3, false, UiLanguage::German},
        {"archive_6_frames_3_columns_4500_fr",
         Sheet{QStringLiteral("Columbia Glacier, Prince William Sound, Alaska: thirty-eight years "
                              "of retreat"),
               six, true},
         4500, 3, true, UiLanguage::French},
    };
    for (const auto& c : cases) {
        const testing::Rendered rendered =
            testing::Render(c.sheet, c.width, c.columns, c.fullResolution, c.language);
        ASSERT_TRUE(rendered.ok) << c.name;
        ExpectLikeGolden(rendered.image, QString::fromLatin1(c.name));
    }
}

}  // namespace
}  // namespace mirvane
