// The batch kernels behind runBatch, and a way to choose one by hand (tests, benchmarks).
#pragma once

#include "BatchRunner.h"
#include "BitBoard.h"

#include <cstdint>

namespace tivla {

const char* batchKernelName(BatchKernel kernel);
bool batchKernelAvailable(BatchKernel kernel);
// The kernel Automatic stands for on this processor; any other kernel as it is.
BatchKernel resolveBatchKernel(BatchKernel kernel);

// Runs `count` generations of `bits` and stores the board population (BitBoard's meaning) of
// each new generation in populations[0..count-1].
using BitGenerations = void (*)(BitBoard& bits, int count, std::int32_t* populations);

void scalarGenerations(BitBoard& bits, int count, std::int32_t* populations);
// The same kernel built for processors with a popcount instruction.
void scalarPopcntGenerations(BitBoard& bits, int count, std::int32_t* populations);
void avx2Generations(BitBoard& bits, int count, std::int32_t* populations);
void avx512Generations(BitBoard& bits, int count, std::int32_t* populations);

// runBatch with a chosen kernel, which must be available.
template <typename Statistics>
BatchOutcome runBatchWith(BatchKernel kernel, Board& board, long long steps,
                          Statistics&& statistics) {
    BatchSettings settings;
    settings.kernel = kernel;
    return runBatch(board, steps, statistics, nullptr, settings);
}

} // namespace tivla
