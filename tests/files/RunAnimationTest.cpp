// The animation's limits, each at the limit, one below and one above, with the whole output
// compared.
#include "files/RunAnimation.h"
#include "tests/support/TempDirectory.h"

#include <gif_lib.h>

#include <gtest/gtest.h>

#include <memory>

using namespace tivla;

namespace {

// A 1 x 1 board: the smallest frames, so ten thousand of them take no time.
std::unique_ptr<Board> tinyBoard() {
    auto board = std::make_unique<Board>();
    board->BoardSize = 1;
    board->Cells[0][0] = kAlive;
    return board;
}

// giflib's own decoder: how many frames the file holds, -1 for no GIF.
int decodedFrames(const std::string& bytes) {
    test::TempDirectory dir;
    test::writeFile(dir.file("a.gif"), bytes);
    int error = 0;
    GifFileType* gif = DGifOpenFileName(dir.file("a.gif").c_str(), &error);
    const int frames = gif != nullptr && DGifSlurp(gif) == GIF_OK ? gif->ImageCount : -1;
    DGifCloseFile(gif, &error);
    return frames;
}

} // namespace

TEST(RunAnimation, TenThousandFramesAreWrittenAndOneMoreIsRefusedBeforeDrawing) {
    const auto board = tinyBoard();
    AnimationSettings settings;
    settings.style = {1, 0};
    for (const long long frames : {kMaxAnimationFrames - 1, kMaxAnimationFrames}) {
        const AnimationResult result = animateRun(*board, settings, {0, frames, false});
        ASSERT_TRUE(result.bytes) << frames;
        EXPECT_EQ(decodedFrames(*result.bytes), frames);
    }
    const AnimationResult refused =
        animateRun(*board, settings, {0, kMaxAnimationFrames + 1, false});
    EXPECT_FALSE(refused.bytes);
    EXPECT_EQ(refused.error->text(),
              "Анимация вышла бы из 10001 кадров, а их может быть не больше 10000: задайте "
              "меньше поколений или больший шаг --every. Файл не записан");
}

TEST(RunAnimation, TheByteLimitTakesAFileOfExactlyItsSizeAndRefusesOneByteMore) {
    const auto board = tinyBoard();
    AnimationSettings settings;
    const AnimationPlan plan{0, 5, true};
    const std::string whole = *animateRun(*board, settings, plan).bytes;
    EXPECT_EQ(decodedFrames(whole), 5);
    for (const std::size_t limit : {whole.size(), whole.size() + 1}) {
        settings.maxBytes = limit;
        EXPECT_EQ(animateRun(*board, settings, plan).bytes, whole) << limit;
    }
    settings.maxBytes = whole.size() - 1;
    const AnimationResult refused = animateRun(*board, settings, plan);
    EXPECT_FALSE(refused.bytes);
    EXPECT_EQ(refused.error->text(), "Анимация заняла бы больше " +
                                         std::to_string(whole.size() - 1) +
                                         " байт: задайте меньше кадров или клетки мельче. Файл "
                                         "не записан");
}
