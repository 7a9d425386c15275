// Time per frame of each gray kernel on every path this CPU runs, fastest first down to the
// scalar one, beside memcpy of the same number of bytes into a second buffer. Single-threaded.
// Goals at 1920x1080: 32 bpp NTSC <= 0.9x memcpy, HDTV <= 1.1x; 24 and 16 bpp <= 4x.
// The partial kernels run at 60 % at 1920x1080 beside the full one of the same path, depth
// and weighting (x_full; goal <= 1.5).
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
constexpr int32_t TYPE_COUNT = 2;  // GRAY_NTSC, GRAY_HDTV
constexpr int32_t PARTIAL_SIZE_INDEX = 1;  // 1920x1080
constexpr int32_t PARTIAL_INTENSITY = 60;

// Seconds per memcpy of each frame size and depth, from the memcpy runs registered first.
double memcpySeconds[SIZE_COUNT][DEPTH_COUNT];
// Seconds per full-kernel frame, for the partial runs registered after them.
double fullSeconds[SIZE_COUNT][DEPTH_COUNT][TYPE_COUNT][GRAY_PATH_COUNT];

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

// intensity GRAY_INTENSITY_FULL times convertFrame itself; any other, the partial kernel.
void benchKernel(benchmark::State &state, int32_t sizeIndex, int32_t depthIndex, int32_t convertType, GrayPath path,
                 int32_t intensity)
{
    const FrameSize &size = FRAME_SIZES[sizeIndex];
    const size_t bytes = frameBytes(size, DEPTHS[depthIndex]);
    std::vector<uint8_t> frame = noiseFrame(bytes);
    const int32_t tone = 10, reverse = 0;
    const bool full = intensity == GRAY_INTENSITY_FULL;
    if (!forceGrayPath(path)) {
        state.SkipWithError("path not available");
        return;
    }
    auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        if (full)
            convertFrame(frame.data(), size.width, size.height, DEPTHS[depthIndex], convertType, tone, reverse);
        else
            convertFrameIntensity(frame.data(), size.width, size.height, DEPTHS[depthIndex], convertType, tone,
                                  reverse, intensity);
        benchmark::ClobberMemory();
    }
    double perFrame = secondsSince(start) / (double)state.iterations();
    double &fullFrame = fullSeconds[sizeIndex][depthIndex][convertType][path];
    if (full)
        fullFrame = perFrame;
    state.counters["ms_frame"] = perFrame * MS_PER_SECOND;
    state.counters["x_memcpy"] = perFrame / memcpySeconds[sizeIndex][depthIndex];
    state.counters["x_full"] = perFrame / fullFrame;
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)bytes);
}

std::string kernelName(int32_t type, const std::string &depthName, int32_t intensity, GrayPath path,
                       const std::string &sizeName)
{
    std::string name = std::string(type == GRAY_NTSC ? "ntsc" : "hdtv") + depthName;
    if (intensity != GRAY_INTENSITY_FULL)
        name += "@" + std::to_string(intensity);
    return name + "/" + grayPathName(path) + "/" + sizeName;
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
                    std::vector<int32_t> intensities = {GRAY_INTENSITY_FULL};
                    if (s == PARTIAL_SIZE_INDEX)
                        intensities.push_back(PARTIAL_INTENSITY);
                    for (int32_t intensity : intensities)
                        benchmark::RegisterBenchmark(kernelName(type, depthName, intensity, path, sizeName).c_str(),
                                                     benchKernel, s, d, type, path, intensity)
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
