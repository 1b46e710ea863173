// Processor feature detection for the batch kernels.
#include "CpuFeatures.h"

namespace tivla {

CpuFeatures detectCpuFeatures() {
    CpuFeatures features;
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
    // The runtime also checks that the system saves the wide registers.
    __builtin_cpu_init();
    features.popcnt = __builtin_cpu_supports("popcnt");
    features.avx2 = __builtin_cpu_supports("avx2");
    features.avx512 = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl") &&
                      __builtin_cpu_supports("avx512vbmi2") &&
                      __builtin_cpu_supports("avx512vpopcntdq") && __builtin_cpu_supports("bmi2");
#endif
    return features;
}

} // namespace tivla
