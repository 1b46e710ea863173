// A run of the board as an animated GIF: which generations become frames, and the file itself.
#pragma once

#include "BoardPicture.h"
#include "FileError.h"
#include "engine/BatchRunner.h"
#include "engine/Board.h"

#include <cstddef>
#include <optional>
#include <string>

namespace tivla {

inline constexpr long long kMaxAnimationFrames = 10000;
inline constexpr std::size_t kMaxAnimationBytes = std::size_t{64} << 20;

struct AnimationSettings {
    // Generations between frames; which frames, the plan says.
    long long every = 1;
    int delayCentiseconds = 10;
    PictureStyle style;
    long long maxFrames = kMaxAnimationFrames;
    std::size_t maxBytes = kMaxAnimationBytes;
};

// Frames show the generations firstStep, firstStep + every, ... (counted from the board the run
// starts with), `frames` of them.
struct AnimationPlan {
    long long firstStep = 0;
    long long frames = 0;
    bool loops = false;
};

// Without a cycle: generations 0 to steps, every `every`-th, played once. With the cycle the
// run entered (period P from generation G on): only the cycle, from the first frame at or after
// G (a multiple of `every`) for as many frames as take the pictures back to that first one,
// P / gcd(P, every), looping for ever; the last frame then leads into the first by `every`
// generations, as every other frame into the next. A GIF can only loop from its first frame,
// so the generations before the cycle are left out: a run shorter than G + P shows them.
AnimationPlan planAnimation(long long steps, long long every,
                            const std::optional<BatchCycle>& cycle);

struct AnimationResult {
    std::optional<std::string> bytes;
    std::optional<FileError> error;
};

// The GIF of the plan's frames, run from start by the engine's batch step, or the refusal: too
// many frames (before anything is drawn) or more bytes than allowed (once the encoder passes
// them).
AnimationResult animateRun(const Board& start, const AnimationSettings& settings,
                           const AnimationPlan& plan);

} // namespace tivla
