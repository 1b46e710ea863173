// The animation's frame and byte limits: at the limit, one below and one above.
#include "files/RunAnimation.h"
#include "tests/support/TempDirectory.h"

#include <gif_lib.h>

#include <gtest/gtest.h>

using namespace tivla;

namespace {

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

// Too many frames is refused before anything is drawn, too many bytes once encoded.
TEST(RunAnimation, FrameAndByteLimitsTakeTheLimitAndRefuseOneMore) {
    Board board; // 1 x 1: the smallest frames, so ten thousand of them take no time
    board.BoardSize = 1;
    board.Cells[0][0] = kAlive;
    AnimationSettings settings;
    const std::string five = *animateRun(board, settings, {0, 5, true}).bytes;
    const struct {
        long long frames;
        std::size_t maxBytes;
        std::string refusal;
    } cases[] = {
        {kMaxAnimationFrames - 1, kMaxAnimationBytes, ""},
        {kMaxAnimationFrames, kMaxAnimationBytes, ""},
        {kMaxAnimationFrames + 1, kMaxAnimationBytes,
         "Анимация вышла бы из 10001 кадров, а их может быть не больше 10000: задайте меньше "
         "поколений или больший шаг --every. Файл не записан"},
        {5, five.size() + 1, ""},
        {5, five.size(), ""},
        {5, five.size() - 1,
         "Анимация заняла бы больше " + std::to_string(five.size() - 1) +
             " байт: задайте меньше кадров или клетки мельче. Файл не записан"},
    };
    for (const auto& c : cases) {
        settings.maxBytes = c.maxBytes;
        const AnimationResult result = animateRun(board, settings, {0, c.frames, c.frames == 5});
        EXPECT_EQ(result.error ? result.error->text() : "", c.refusal) << c.frames;
        EXPECT_EQ(result.bytes.has_value(), c.refusal.empty()) << c.frames;
        if (result.bytes) {
            EXPECT_EQ(decodedFrames(*result.bytes), c.frames);
            EXPECT_TRUE(c.frames != 5 || *result.bytes == five) << c.maxBytes;
        }
    }
}
