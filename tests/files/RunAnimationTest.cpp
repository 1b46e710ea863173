// The animation's limits, each at the limit, one below and one above, with the whole output
// compared, and which generations a plan takes.
#include "files/RunAnimation.h"

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

struct GifCounts {
    int frames = -1;
    int width = 0;
};

int readFromString(GifFileType* gif, GifByteType* data, int length) {
    auto* rest = static_cast<std::string_view*>(gif->UserData);
    const std::size_t taken = std::min<std::size_t>(length, rest->size());
    std::copy_n(rest->data(), taken, data);
    rest->remove_prefix(taken);
    return static_cast<int>(taken);
}

// giflib's own decoder: how many frames the file holds.
GifCounts decoded(const std::string& bytes) {
    std::string_view rest(bytes);
    int error = 0;
    GifFileType* gif = DGifOpen(&rest, readFromString, &error);
    GifCounts counts;
    if (gif != nullptr && DGifSlurp(gif) == GIF_OK) {
        counts = {gif->ImageCount, gif->SWidth};
    }
    DGifCloseFile(gif, &error);
    return counts;
}

} // namespace

TEST(RunAnimation, PlansTheCycleAloneOrEveryKthGenerationOnce) {
    const struct {
        long long steps;
        long long every;
        std::optional<BatchCycle> cycle;
        AnimationPlan plan;
    } cases[] = {
        {100, 1, std::nullopt, {0, 101, false}},
        {100, 7, std::nullopt, {0, 15, false}},
        {100, 1, BatchCycle{30, 0}, {0, 30, true}},
        // Frames 12, 16, ... 68: the next one, 72, would show the board of 12 again.
        {100, 4, BatchCycle{30, 10}, {12, 15, true}},
        {100, 5, BatchCycle{30, 10}, {10, 6, true}},
        {100, 60, BatchCycle{30, 1}, {60, 1, true}},
    };
    for (const auto& c : cases) {
        const AnimationPlan plan = planAnimation(c.steps, c.every, c.cycle);
        EXPECT_EQ(plan.firstStep, c.plan.firstStep) << c.steps << " " << c.every;
        EXPECT_EQ(plan.frames, c.plan.frames) << c.steps << " " << c.every;
        EXPECT_EQ(plan.loops, c.plan.loops) << c.steps << " " << c.every;
    }
}

TEST(RunAnimation, TenThousandFramesAreWrittenAndOneMoreIsRefusedBeforeDrawing) {
    const auto board = tinyBoard();
    AnimationSettings settings;
    settings.style = {1, 0};
    for (const long long frames : {kMaxAnimationFrames - 1, kMaxAnimationFrames}) {
        const AnimationResult result = animateRun(*board, settings, {0, frames, false});
        ASSERT_TRUE(result.bytes) << frames;
        EXPECT_EQ(decoded(*result.bytes).frames, frames);
    }
    const AnimationResult refused =
        animateRun(*board, settings, {0, kMaxAnimationFrames + 1, false});
    EXPECT_FALSE(refused.bytes);
    EXPECT_EQ(refused.error->text(),
              "Анимация вышла бы из 10001 кадров, а их может быть не больше 10000: задайте "
              "меньше поколений или больший шаг --every. Файл не записан");
}

TEST(RunAnimation, TheByteLimitTakesAFileOfExactlyItsSizeAndRefusesOneByteMore) {
    auto board = std::make_unique<Board>();
    board->BoardSize = 40;
    for (const auto& [x, y] : {std::pair{10, 9}, {10, 10}, {10, 11}, {20, 20}, {21, 20}}) {
        board->Cells[x][y] = kAlive;
    }
    AnimationSettings settings;
    const AnimationPlan plan{0, 5, true};
    const std::string whole = *animateRun(*board, settings, plan).bytes;
    EXPECT_EQ(decoded(whole).frames, 5);
    EXPECT_EQ(decoded(whole).width, 640);
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
