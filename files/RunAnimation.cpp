// The frames are drawn one at a time from a copy of the board, so memory holds three pictures
// (the first frame, the encoder's frame before and the frame drawn) and the encoded file,
// whatever the number of frames.
#include "RunAnimation.h"

#include "GifAnimation.h"

#include <memory>
#include <numeric>

namespace tivla {

namespace {

std::string sizeText(std::size_t bytes) {
    constexpr std::size_t kMebibyte = std::size_t{1} << 20;
    return bytes % kMebibyte == 0 ? std::to_string(bytes / kMebibyte) + " МиБ"
                                  : std::to_string(bytes) + " байт";
}

} // namespace

AnimationPlan planAnimation(long long steps, long long every,
                            const std::optional<BatchCycle>& cycle) {
    if (!cycle || cycle->period <= 0 || cycle->start < 0) {
        return {0, steps / every + 1, false};
    }
    const long long first = (cycle->start + every - 1) / every * every;
    return {first, cycle->period / std::gcd(cycle->period, every), true};
}

AnimationResult animateRun(const Board& start, const AnimationSettings& settings,
                           const AnimationPlan& plan) {
    if (plan.frames > settings.maxFrames) {
        return {std::nullopt,
                FileError::refusal("Анимация вышла бы из " + std::to_string(plan.frames) +
                                   " кадров, а их может быть не больше " +
                                   std::to_string(settings.maxFrames) +
                                   ": задайте меньше поколений или больший шаг --every. "
                                   "Файл не записан")};
    }
    auto board = std::make_unique<Board>(start);
    runBatch(*board, plan.firstStep, NoStatistics{});
    const BoardPicture first = BoardPicture::ofBoard(*board, settings.style);
    GifAnimation animation(first.width(), first.height(), settings.delayCentiseconds, plan.loops,
                           settings.maxBytes);
    bool ok = animation.addFrame(first);
    for (long long frame = 1; ok && frame < plan.frames; ++frame) {
        runBatch(*board, settings.every, NoStatistics{});
        ok = animation.addFrame(BoardPicture::ofBoard(*board, settings.style));
    }
    std::optional<std::string> bytes = animation.finish();
    if (bytes) {
        return {std::move(bytes), std::nullopt};
    }
    if (animation.tooLarge()) {
        return {std::nullopt,
                FileError::refusal("Анимация заняла бы больше " + sizeText(settings.maxBytes) +
                                   ": задайте меньше кадров или клетки "
                                   "мельче. Файл не записан")};
    }
    return {std::nullopt, FileError::refusal("Не хватило памяти на анимацию. Файл не записан")};
}

} // namespace tivla
