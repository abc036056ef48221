// mirvane-sheet's pair and photos commands, run as a user runs them, in a folder of their own.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "archive/photo_limits.h"
#include "pairs/pair_header.h"
#include "support/exif_segments.h"
#include "support/pair_files.h"
#include "support/test_images.h"

namespace mirvane {
namespace {

struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;
};

class PhotoCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const Bytes jpeg = testing::JpegOf(testing::DetailedImage(64, 48));
        Write("a.jpg", jpeg);
        Write("b.png", testing::EncodeWithQt(testing::QuadrantImage(30, 40), "png"));
        Write("empty.jpg", {});
        Write("big.jpg", jpeg);
        ASSERT_TRUE(QFile(dir_.filePath("big.jpg")).resize(qint64(kMaxPhotoBytes) + 1));
        Write("tiny.gif", testing::TinyGif());
        Write("cut.jpg", Bytes(jpeg.begin(), jpeg.end() - jpeg.size() / 3));
        Write("wide.jpg", testing::FlatGreyJpeg(kMaxPhotoSide + 1, 1));
        Write("taken.qmp", {1, 2, 3});
        Write("dated.jpg",
              testing::WithExif(
                  jpeg, testing::ExifBlock().AddText(0x9003, "1990:06:01 09:30:00", true).Tiff()));
    }
    void Write(const QString& name, const Bytes& bytes) {
        ASSERT_TRUE(testing::WriteBytes(dir_.filePath(name), bytes));
    }
    Outcome Sheet(const QString& arguments) const {
        QProcess process;
        process.setWorkingDirectory(dir_.path());
        process.start(MIRVANE_SHEET, arguments.split(u' '));
        Outcome run;
        if (process.waitForFinished(120'000) && process.exitStatus() == QProcess::NormalExit) {
            run.exitCode = process.exitCode();
        }
        run.out = QString::fromUtf8(process.readAllStandardOutput());
        run.err = QString::fromUtf8(process.readAllStandardError());
        return run;
    }
    QStringList Entries() const {
        return QDir(dir_.path()).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    }
    QTemporaryDir dir_;
};

// Each refusal: exit status 1, one line on standard error that names the input and the rule,
// and no file left behind.
TEST_F(PhotoCommandsTest, EveryRefusalIsOneLineNamingTheInputAndTheRuleAndLeavesNoFile) {
    const QStringList before = Entries();
    const std::pair<const char*, const char*> cases[] = {
        {"pair 1799=a.jpg 2000=b.png -o p.qmp", "a.jpg: year 1799 is outside 1800-2200"},
        {"pair 2000=a.jpg 2201=b.png -o p.qmp", "b.png: year 2201 is outside 1800-2200"},
        {"pair 2000=a.jpg 2000=b.png -o p.qmp", "a.jpg, b.png: both are of the same year"},
        {"pair 2000=big.jpg 2001=b.png -o p.qmp", "big.jpg: is larger than 41943040 bytes"},
        {"pair 2000=empty.jpg 2001=b.png -o p.qmp", "empty.jpg: is empty"},
        {"pair 2000=tiny.gif 2001=b.png -o p.qmp", "tiny.gif: is not a JPEG, PNG or BMP"},
        {"pair 2000=a.jpg 2001=cut.jpg -o p.qmp", "cut.jpg: cannot be decoded"},
        {"pair 2000=wide.jpg 2001=b.png -o p.qmp", "wide.jpg: is larger than 24000 pixels"},
        {"pair 2000=missing.jpg 2001=b.png -o p.qmp", "missing.jpg: cannot be read"},
        {"pair 2000=a.jpg b.png -o p.qmp", "b.png: has no EXIF date: give its year as YEAR=b.png"},
        {"pair 2000=a.jpg 2001=b.png -o taken.qmp", "taken.qmp: exists already"},
        {"pair 2000=a.jpg 2001=b.png -o p.png", "p.png: the name of a pair file ends in .qmp"},
        {"photos 2000=a.jpg 2000=b.png 2001=cut.jpg -o s.png", "cut.jpg: cannot be decoded"},
        {"photos 2000=a.jpg b.png -o s.png", "b.png: has no "},
    };
    for (const auto& [arguments, line] : cases) {
        SCOPED_TRACE(arguments);
        const Outcome run = Sheet(arguments);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.startsWith(QString("mirvane-sheet: ") + line)) << run.err.toStdString();
        EXPECT_EQ(run.err.count(u'\n'), 1) << run.err.toStdString();
        EXPECT_EQ(run.err.back(), u'\n');
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_EQ(Entries(), before);
    }
    EXPECT_EQ(testing::ReadBytes(dir_.filePath("taken.qmp")), (Bytes{1, 2, 3}));
}

TEST_F(PhotoCommandsTest, PairWritesTheFileItPrintsAndPhotosRendersASheet) {
    const Outcome pair = Sheet("pair 2010=a.jpg dated.jpg -o p.qmp");
    EXPECT_EQ(pair.exitCode, 0) << pair.err.toStdString();
    EXPECT_EQ(pair.out, "p.qmp\n");
    const std::optional<PairFileHeader> header =
        ParsePairHeader(testing::ReadBytes(dir_.filePath("p.qmp")));
    ASSERT_TRUE(header.has_value());
    EXPECT_EQ(header->firstYear, 2010u);
    EXPECT_EQ(header->secondYear, 1990u);

    const Outcome photos = Sheet("photos 2010=a.jpg 1990=b.png 2010=a.jpg --columns 3 -o s.png");
    EXPECT_EQ(photos.exitCode, 0) << photos.err.toStdString();
    EXPECT_EQ(QImage(dir_.filePath("s.png")).width(), 3000);
    EXPECT_EQ(Entries(),
              (QStringList{"a.jpg", "b.png", "big.jpg", "cut.jpg", "dated.jpg", "empty.jpg",
                           "p.qmp", "s.png", "taken.qmp", "tiny.gif", "wide.jpg"}));
}

}  // namespace
}  // namespace mirvane
