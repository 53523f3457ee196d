#include <atomic>

#include "avcore/effects/row_kernels.h"
#include "avcore/effects/scale_kernels.h"

namespace avfx::detail {
namespace {

std::atomic<bool> g_allowWide{true};

} // namespace

bool wideKernelsAvailable()
{
    // GCC's check includes the OS saving the wide registers (XGETBV).
    static const bool avx2 = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return avx2;
}

void allowWideKernels(bool allow) { g_allowWide = allow; }

KernelSet selectKernels(bool curve, Modulate modulate, bool invert)
{
    // The palette stays scalar+SSE2 everywhere: it beats AVX2 gathers.
    if (g_allowWide && wideKernelsAvailable())
        return {selectConvertAvx2(curve, modulate, invert), &buildChromaBlocksAvx2, &mapPalette};
    return {selectConvertSse2(curve, modulate, invert), &buildChromaBlocks, &mapPalette};
}

ScaleKernels selectScaleKernels()
{
    if (g_allowWide && wideKernelsAvailable())
        return {&scaleRowAvx2, &scaleColumnsAvx2};
    return {&scaleRowSse2, &scaleColumnsSse2};
}

} // namespace avfx::detail
