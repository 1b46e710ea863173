// Which batch kernels this processor runs, and which one a batch uses.
#include "BatchKernel.h"

#include "CpuFeatures.h"

namespace tivla {

const char* batchKernelName(BatchKernel kernel) {
    switch (kernel) {
    case BatchKernel::Automatic:
        return "automatic";
    case BatchKernel::Scalar:
        return "scalar";
    case BatchKernel::Avx2:
        return "avx2";
    case BatchKernel::Avx512:
        return "avx512";
    }
    return "?";
}

bool batchKernelAvailable(BatchKernel kernel) {
    const CpuFeatures cpu = detectCpuFeatures();
    switch (kernel) {
    case BatchKernel::Automatic:
    case BatchKernel::Scalar:
        return true;
    case BatchKernel::Avx2:
        return cpu.avx2 && cpu.popcnt;
    case BatchKernel::Avx512:
        return cpu.avx512;
    }
    return false;
}

BatchKernel resolveBatchKernel(BatchKernel kernel) {
    if (kernel != BatchKernel::Automatic) {
        return kernel;
    }
    if (batchKernelAvailable(BatchKernel::Avx512)) {
        return BatchKernel::Avx512;
    }
    if (batchKernelAvailable(BatchKernel::Avx2)) {
        return BatchKernel::Avx2;
    }
    return BatchKernel::Scalar;
}

} // namespace tivla
