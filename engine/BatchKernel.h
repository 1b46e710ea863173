// The batch kernels behind runBatch, and a way to choose one by hand (tests, benchmarks).
#pragma once

#include "BatchRunner.h"
#include "BitBoard.h"

#include <cstdint>
#include <memory>
#include <type_traits>

namespace tivla {

enum class BatchKernel {
    // The fastest one this processor runs.
    Automatic,
    // Portable 64-bit words.
    Scalar,
    // 256-bit registers of one, two or four lines.
    Avx2,
    // 512-bit registers of two, four or eight lines (AVX-512 F, VL, VBMI2, VPOPCNTDQ).
    Avx512,
};

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
void runBatchGenerationsWith(BatchKernel kernel, Board& board, long long steps,
                             BatchStatisticsHook hook, void* context);

template <typename Statistics>
void runBatchWith(BatchKernel kernel, Board& board, long long steps, Statistics&& statistics) {
    using Hook = std::remove_reference_t<Statistics>;
    void* context = const_cast<void*>(static_cast<const void*>(std::addressof(statistics)));
    runBatchGenerationsWith(
        kernel, board, steps,
        [](void* hookContext, const Board& current) {
            (*static_cast<Hook*>(hookContext))(current);
        },
        context);
}

} // namespace tivla
