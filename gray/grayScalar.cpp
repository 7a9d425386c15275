// Placeholder scalar kernels, to be replaced by the fast paths.
#include "gray.h"

int32_t dibRowStride(int32_t width, int32_t bitsPerPixel) { return ((width * bitsPerPixel + 31) / 32) * 4; }

namespace {
int32_t ntsc(int32_t r, int32_t g, int32_t b, int32_t tone, int32_t rev)
{
    int32_t v = (2 * r + 4 * g + b) / 7 * tone / 10;
    return rev == 1 ? 255 - v : v;
}
int32_t hdtv(int32_t r, int32_t g, int32_t b, int32_t tone, int32_t rev)
{
    int32_t s = (22 * (r ^ 2) + 66 * (g ^ 2) + 11 * (b ^ 2)) / 2;
    int32_t v = s * (2 * tone) / 1000;
    return rev == 1 ? 255 - v : v;
}
template <int32_t (*F)(int32_t, int32_t, int32_t, int32_t, int32_t), int BPP>
void run(uint8_t *p, int32_t w, int32_t h, int32_t stride, int32_t tone, int32_t rev)
{
    if (w <= 0 || h <= 0) return;
    for (int32_t y = 0; y < h; y++) {
        uint8_t *row = p + static_cast<intptr_t>(y) * stride;
        for (int32_t x = 0; x < w; x++) {
            if (BPP == 16) {
                uint16_t word = static_cast<uint16_t>(row[2 * x] | (row[2 * x + 1] << 8));
                int32_t v = F((word >> 7) & 0xF8, (word >> 2) & 0xF8, (word << 3) & 0xF8, tone, rev);
                int32_t q = v >> 3;
                uint16_t out = static_cast<uint16_t>((q << 10) | (q << 5) | q);
                row[2 * x] = static_cast<uint8_t>(out);
                row[2 * x + 1] = static_cast<uint8_t>(out >> 8);
            } else {
                uint8_t *px = row + x * (BPP / 8);
                int32_t v = F(px[2], px[1], px[0], tone, rev);
                px[0] = px[1] = px[2] = static_cast<uint8_t>(v);
                if (BPP == 32) px[3] = 0xFF;
            }
        }
    }
}
}  // namespace

void grayNtsc32(uint8_t *p, int32_t w, int32_t h, int32_t s, int32_t t, int32_t r) { run<ntsc, 32>(p, w, h, s, t, r); }
void grayNtsc24(uint8_t *p, int32_t w, int32_t h, int32_t s, int32_t t, int32_t r) { run<ntsc, 24>(p, w, h, s, t, r); }
void grayNtsc16(uint8_t *p, int32_t w, int32_t h, int32_t s, int32_t t, int32_t r) { run<ntsc, 16>(p, w, h, s, t, r); }
void grayHdtv32(uint8_t *p, int32_t w, int32_t h, int32_t s, int32_t t, int32_t r) { run<hdtv, 32>(p, w, h, s, t, r); }
void grayHdtv24(uint8_t *p, int32_t w, int32_t h, int32_t s, int32_t t, int32_t r) { run<hdtv, 24>(p, w, h, s, t, r); }
void grayHdtv16(uint8_t *p, int32_t w, int32_t h, int32_t s, int32_t t, int32_t r) { run<hdtv, 16>(p, w, h, s, t, r); }

bool convertFrame(uint8_t *p, int32_t w, int32_t h, int32_t bpp, int32_t type, int32_t tone, int32_t rev)
{
    using Kernel = void (*)(uint8_t *, int32_t, int32_t, int32_t, int32_t, int32_t);
    Kernel k = nullptr;
    if (type == 0) k = bpp == 32 ? grayNtsc32 : bpp == 24 ? grayNtsc24 : bpp == 16 ? grayNtsc16 : nullptr;
    if (type == 1) k = bpp == 32 ? grayHdtv32 : bpp == 24 ? grayHdtv24 : bpp == 16 ? grayHdtv16 : nullptr;
    if (k == nullptr) return false;
    k(p, w, h, dibRowStride(w, bpp), tone, rev);
    return true;
}
