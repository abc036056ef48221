#include "render/full_resolution_photos.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>

#include "sheet_test_sheets.h"

namespace mirvane {
namespace {

TEST(FullResolutionPhotos, ComeEachOnceAtTheSizeDrawnWithAtMostTheAllowedAlive) {
    const QRgb colours[] = {0xffc02020, 0xff20c020, 0xff2020c0, 0xffc0c020, 0xff20c0c0};
    std::vector<Frame> frames;
    for (QRgb colour : colours) {
        frames.push_back(testing::FrameOf(testing::FlatImage(1600, 1200, colour), 2000));
    }
    Bytes cut(*frames[3].encodedBytes);
    cut.resize(cut.size() / 3);
    frames[3].encodedBytes = std::make_shared<const Bytes>(std::move(cut));

    // A decode asks for its size once it has read the header: photographs started minus those
    // released is how many are decoding, waiting or being drawn.
    std::atomic<int> started{0};
    std::array<std::atomic<bool>, 5> asked{};
    FullResolutionPhotos photos(
        frames,
        [&](std::size_t index, QSize upright) {
            started += asked[index].exchange(true) ? 0 : 1;
            EXPECT_EQ(upright, QSize(1600, 1200));
            return QSize(300 + static_cast<int>(index), 200);
        },
        2);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const ImageData* photo = photos.Get(i);
        EXPECT_EQ(photos.Get(i), photo) << "asked again, the same photograph";
        EXPECT_LE(started - static_cast<int>(i), 2) << "taking the photograph " << i;
        if (i == 3) {
            EXPECT_EQ(photo, nullptr);
        } else {
            ASSERT_NE(photo, nullptr) << i;
            EXPECT_EQ(photo->bitmap.Size(), QSize(300 + static_cast<int>(i), 200));
            EXPECT_EQ(QSize(photo->width, photo->height), QSize(1600, 1200));
            const QRgb centre = photo->bitmap.Image().pixel(150, 100);
            EXPECT_LE(std::abs(qRed(centre) - qRed(colours[i])), 8) << i;
            EXPECT_LE(std::abs(qBlue(centre) - qBlue(colours[i])), 8) << i;
        }
        photos.Release(i);
        EXPECT_EQ(photos.Get(i), nullptr) << "released";
    }
}

// A decoding thread that cannot start leaves its share to the other; with neither, the drawing
// thread decodes. Asked beyond what may be alive, the drawing thread decodes rather than wait.
// Every photograph still comes in every case.
TEST(FullResolutionPhotos, ComeAllWhenDecodingThreadsCannotStartOrTooManyAreHeld) {
    std::vector<Frame> frames;
    for (int i = 0; i < 3; ++i) {
        frames.push_back(testing::FrameOf(testing::FlatImage(400, 300, 0xff406080), 2000 + i));
    }
    for (std::size_t refused : {1, 2, 3}) {  // the first start (no thread), the second, neither
        std::size_t starts = 0;
        const platform::ThreadStarter start = [&](std::function<void()> body) {
            return ++starts == refused ? std::jthread() : platform::StartThread(std::move(body));
        };
        FullResolutionPhotos photos(
            frames, [](std::size_t, QSize) { return QSize(40, 30); }, 2, start);
        for (std::size_t i = 0; i < frames.size(); ++i) {
            const ImageData* photo = photos.Get(i);  // none released: all held at the end
            ASSERT_NE(photo, nullptr) << refused << " " << i;
            EXPECT_EQ(photo->bitmap.Size(), QSize(40, 30));
        }
        EXPECT_EQ(starts, std::min<std::size_t>(refused, 2)) << "no start is tried after one fails";
    }
}

}  // namespace
}  // namespace mirvane
