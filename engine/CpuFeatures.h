// What the processor offers the batch kernels, asked at run time.
#pragma once

namespace tivla {

struct CpuFeatures {
    bool popcnt = false;
    bool avx2 = false;
    // Everything the AVX-512 kernel uses: F, VL, VBMI2, VPOPCNTDQ and BMI2.
    bool avx512 = false;
};

CpuFeatures detectCpuFeatures();

} // namespace tivla
