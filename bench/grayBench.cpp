// Time per frame of each gray kernel on every path this CPU runs, fastest first down to the
// scalar one, beside memcpy of the same number of bytes into a second buffer. Single-threaded.
// Goals at 1920x1080: 32 bpp NTSC <= 0.9x memcpy, HDTV <= 1.1x; 24 and 16 bpp <= 4x.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "gray.h"
#include "grayPaths.h"

namespace {

struct FrameSize {
    int32_t width;
    int32_t height;
};

constexpr FrameSize FRAME_SIZES[] = {{1280, 800}, {1920, 1080}, {3840, 2160}};
constexpr int32_t DEPTHS[] = {32, 24, 16};
constexpr int32_t SIZE_COUNT = sizeof FRAME_SIZES / sizeof FRAME_SIZES[0];
constexpr int32_t DEPTH_COUNT = sizeof DEPTHS / sizeof DEPTHS[0];
constexpr double MS_PER_SECOND = 1e3;

// Seconds per memcpy of each frame size and depth, from the memcpy runs registered first.
double memcpySeconds[SIZE_COUNT][DEPTH_COUNT];

size_t frameBytes(const FrameSize &size, int32_t depth)
{
    return (size_t)dibRowStride(size.width, depth) * (size_t)size.height;
}

std::vector<uint8_t> noiseFrame(size_t bytes)
{
    std::vector<uint8_t> frame(bytes);
    uint32_t state = 0x2545F491u;
    for (uint8_t &b : frame) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        b = (uint8_t)state;
    }
    return frame;
}

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void benchMemcpy(benchmark::State &state, int32_t sizeIndex, int32_t depthIndex)
{
    const size_t bytes = frameBytes(FRAME_SIZES[sizeIndex], DEPTHS[depthIndex]);
    std::vector<uint8_t> source = noiseFrame(bytes), destination(bytes);
    auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        memcpy(destination.data(), source.data(), bytes);
        benchmark::ClobberMemory();
    }
    double perFrame = secondsSince(start) / (double)state.iterations();
    memcpySeconds[sizeIndex][depthIndex] = perFrame;
    state.counters["ms_frame"] = perFrame * MS_PER_SECOND;
    state.counters["x_memcpy"] = 1.0;
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)bytes);
}

void benchKernel(benchmark::State &state, int32_t sizeIndex, int32_t depthIndex, int32_t convertType, GrayPath path)
{
    const FrameSize &size = FRAME_SIZES[sizeIndex];
    const size_t bytes = frameBytes(size, DEPTHS[depthIndex]);
    std::vector<uint8_t> frame = noiseFrame(bytes);
    const int32_t tone = 10, reverse = 0;
    if (!forceGrayPath(path)) {
        state.SkipWithError("path not available");
        return;
    }
    auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        convertFrame(frame.data(), size.width, size.height, DEPTHS[depthIndex], convertType, tone, reverse);
        benchmark::ClobberMemory();
    }
    double perFrame = secondsSince(start) / (double)state.iterations();
    state.counters["ms_frame"] = perFrame * MS_PER_SECOND;
    state.counters["x_memcpy"] = perFrame / memcpySeconds[sizeIndex][depthIndex];
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)bytes);
}

void registerAll()
{
    // Fastest first; the slower paths are what machines without AVX2 (or an OS that does not
    // save its registers) get.
    std::vector<GrayPath> paths;
    for (int32_t p = bestGrayPath(); p >= GRAY_PATH_SCALAR; --p)
        if (grayPathAvailable((GrayPath)p))
            paths.push_back((GrayPath)p);
    for (int32_t s = 0; s < SIZE_COUNT; ++s) {
        const FrameSize &size = FRAME_SIZES[s];
        const std::string sizeName = std::to_string(size.width) + "x" + std::to_string(size.height);
        for (int32_t d = 0; d < DEPTH_COUNT; ++d) {
            const std::string depthName = std::to_string(DEPTHS[d]);
            benchmark::RegisterBenchmark(("memcpy" + depthName + "/" + sizeName).c_str(), benchMemcpy, s, d)
                ->Unit(benchmark::kMillisecond);
            for (GrayPath path : paths)
                for (int32_t type : {GRAY_NTSC, GRAY_HDTV}) {
                    std::string name = std::string(type == GRAY_NTSC ? "ntsc" : "hdtv") + depthName + "/" +
                                       grayPathName(path) + "/" + sizeName;
                    benchmark::RegisterBenchmark(name.c_str(), benchKernel, s, d, type, path)
                        ->Unit(benchmark::kMillisecond);
                }
        }
    }
}

}  // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    registerAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
