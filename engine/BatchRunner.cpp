// The batch advance's core.
#include "BatchRunner.h"

#include "GenerationStep.h"

namespace tivla {

void runBatchGenerations(Board& board, long long steps, BatchStatisticsHook hook, void* context) {
    runSilentSteps(board, steps, [hook, context](const Board& current) { hook(context, current); });
}

} // namespace tivla
