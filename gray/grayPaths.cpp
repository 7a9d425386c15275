// Chooses the gray path from what the CPU offers and the operating system saves on a
// thread switch, once, and caches the choice in an atomic so capture threads may race here.
// AVX2 needs the OS to save YMM state (XGETBV); Windows XP does not, so it falls back.
#include "grayKernels.h"
#include "grayMixKernels.h"

#include <atomic>

#if GRAY_X86
#include <cpuid.h>
#endif

static constexpr int32_t PATH_NOT_CHOSEN = -1;
static std::atomic<int32_t> chosenPath{PATH_NOT_CHOSEN};

#if GRAY_X86
static constexpr unsigned CPUID_FEATURES = 1;
static constexpr unsigned CPUID_EXTENDED_FEATURES = 7;
static constexpr unsigned EDX_SSE2 = 1u << 26;
static constexpr unsigned ECX_SSSE3 = 1u << 9;
static constexpr unsigned ECX_OSXSAVE = 1u << 27;
static constexpr unsigned ECX_AVX = 1u << 28;
static constexpr unsigned EBX_AVX2 = 1u << 5;
static constexpr unsigned XCR0_XMM_YMM = (1u << 1) | (1u << 2);

// XGETBV by opcode bytes so no assembler or target flag needs to know the mnemonic.
static unsigned readXcr0Low()
{
    unsigned eax = 0, edx = 0;
    __asm__ volatile(".byte 0x0f, 0x01, 0xd0" : "=a"(eax), "=d"(edx) : "c"(0));
    return eax;
}

static bool cpuHas(GrayPath path)
{
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(CPUID_FEATURES, &eax, &ebx, &ecx, &edx))
        return false;
    bool sse2 = (edx & EDX_SSE2) != 0;
    bool ssse3 = sse2 && (ecx & ECX_SSSE3) != 0;
    switch (path) {
    case GRAY_PATH_SSE2:
        return sse2;
    case GRAY_PATH_SSSE3:
        return ssse3;
    case GRAY_PATH_AVX2: {
        if (!ssse3 || (ecx & ECX_OSXSAVE) == 0 || (ecx & ECX_AVX) == 0)
            return false;
        if ((readXcr0Low() & XCR0_XMM_YMM) != XCR0_XMM_YMM)
            return false;
        unsigned eax7 = 0, ebx7 = 0, ecx7 = 0, edx7 = 0;
        if (!__get_cpuid_count(CPUID_EXTENDED_FEATURES, 0, &eax7, &ebx7, &ecx7, &edx7))
            return false;
        return (ebx7 & EBX_AVX2) != 0;
    }
    default:
        return false;
    }
}
#endif

bool grayPathAvailable(GrayPath path)
{
    if (path == GRAY_PATH_SCALAR)
        return true;
#if GRAY_X86
    return cpuHas(path);
#else
    return false;
#endif
}

GrayPath bestGrayPath()
{
    static constexpr GrayPath FASTEST_FIRST[] = {GRAY_PATH_AVX2, GRAY_PATH_SSSE3, GRAY_PATH_SSE2};
    for (GrayPath path : FASTEST_FIRST)
        if (grayPathAvailable(path))
            return path;
    return GRAY_PATH_SCALAR;
}

GrayPath activeGrayPath()
{
    int32_t path = chosenPath.load(std::memory_order_relaxed);
    if (path == PATH_NOT_CHOSEN) {
        int32_t best = bestGrayPath();
        // Another thread may have chosen (or a test forced) meanwhile: keep what it stored.
        if (chosenPath.compare_exchange_strong(path, best, std::memory_order_relaxed))
            path = best;
    }
    return (GrayPath)path;
}

bool forceGrayPath(GrayPath path)
{
    if (path < GRAY_PATH_SCALAR || path >= GRAY_PATH_COUNT || !grayPathAvailable(path))
        return false;
    chosenPath.store(path, std::memory_order_relaxed);
    return true;
}

const char *grayPathName(GrayPath path)
{
    switch (path) {
    case GRAY_PATH_SCALAR: return "scalar";
    case GRAY_PATH_SSE2: return "sse2";
    case GRAY_PATH_SSSE3: return "ssse3";
    case GRAY_PATH_AVX2: return "avx2";
    default: return "unknown";
    }
}

const GrayRunners *activeGrayRunners()
{
    switch (activeGrayPath()) {
#if GRAY_X86
    case GRAY_PATH_SSE2: return &graySse2Runners;
    case GRAY_PATH_SSSE3: return &graySsse3Runners;
    case GRAY_PATH_AVX2: return &grayAvx2Runners;
#endif
    default: return &grayScalarRunners;
    }
}

const GrayMixRunners *activeGrayMixRunners()
{
    switch (activeGrayPath()) {
#if GRAY_X86
    case GRAY_PATH_SSE2: return &graySse2MixRunners;
    case GRAY_PATH_SSSE3: return &graySsse3MixRunners;
    case GRAY_PATH_AVX2: return &grayAvx2MixRunners;
#endif
    default: return &grayScalarMixRunners;
    }
}
