#include "render/full_resolution_photos.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>

#include "sheet_test_sheets.h"

namespace mirvane {
namespace {

TEST(FullResolutionPhotos, ComeEachOnceAtTheSizeDrawnWithAtMostTwoAlive) {
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
    FullResolutionPhotos photos(frames, [&](std::size_t index, QSize upright) {
        started += asked[index].exchange(true) ? 0 : 1;
        EXPECT_EQ(upright, QSize(1600, 1200));
        return QSize(300 + static_cast<int>(index), 200);
    });
    std::vector<bool> seen(frames.size());
    for (std::size_t taken = 0; taken < frames.size(); ++taken) {
        const FullResolutionPhotos::Ready ready = photos.TakeNext();
        EXPECT_LE(started - static_cast<int>(taken), 2) << "taking the photograph " << taken;
        const std::size_t i = ready.index;
        ASSERT_LT(i, frames.size());
        EXPECT_FALSE(seen[i]);
        seen[i] = true;
        if (i == 3) {
            EXPECT_EQ(ready.photo, nullptr);
            continue;
        }
        ASSERT_NE(ready.photo, nullptr) << i;
        EXPECT_EQ(ready.photo->bitmap.Size(), QSize(300 + static_cast<int>(i), 200));
        EXPECT_EQ(QSize(ready.photo->width, ready.photo->height), QSize(1600, 1200));
        const QRgb centre = ready.photo->bitmap.Image().pixel(150, 100);
        EXPECT_LE(std::abs(qRed(centre) - qRed(colours[i])), 8) << i;
        EXPECT_LE(std::abs(qBlue(centre) - qBlue(colours[i])), 8) << i;
    }
    EXPECT_EQ(photos.TakeNext().photo, nullptr);
}

// A decoding thread that cannot start leaves its share to the other; with neither, the drawing
// thread decodes. Every photograph still comes, once, in every case.
TEST(FullResolutionPhotos, ComeAllWhenDecodingThreadsCannotStart) {
    std::vector<Frame> frames;
    for (int i = 0; i < 3; ++i) {
        frames.push_back(testing::FrameOf(testing::FlatImage(400, 300, 0xff406080), 2000 + i));
    }
    for (std::size_t refused : {1, 2}) {  // the first start (no thread), the second (one)
        std::size_t starts = 0;
        const platform::ThreadStarter start = [&](std::function<void()> body) {
            return ++starts == refused ? std::jthread() : platform::StartThread(std::move(body));
        };
        FullResolutionPhotos photos(
            frames, [](std::size_t, QSize) { return QSize(40, 30); }, start);
        std::vector<bool> seen(frames.size());
        for (std::size_t taken = 0; taken < frames.size(); ++taken) {
            const FullResolutionPhotos::Ready ready = photos.TakeNext();
            ASSERT_LT(ready.index, frames.size());
            EXPECT_FALSE(seen[ready.index]);
            seen[ready.index] = true;
            ASSERT_NE(ready.photo, nullptr);
            EXPECT_EQ(ready.photo->bitmap.Size(), QSize(40, 30));
        }
        EXPECT_EQ(starts, refused) << "no start is tried after one fails";
    }
}

}  // namespace
}  // namespace mirvane
