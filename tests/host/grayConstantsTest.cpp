// The multiply-high constants the SIMD paths divide with: each is checked against true
// division over its whole input range, and each range against the largest value the
// arithmetic can actually produce from 8-bit components.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "grayMixKernels.h"
#include "grayPixel.h"

namespace {

constexpr uint32_t COMPONENT_VALUES = 256;
constexpr uint32_t SHORT_LIMIT = 65536;  // every operand of a 16-bit multiply-high
// HDTV's / 1000 after * 2 splits into / 4 (kept within 16 bits) and / 125.
constexpr uint32_t QUARTER = 4;
constexpr uint32_t HUNDRED_TWENTY_FIVE = 125;

uint32_t mulhi16(uint32_t a, uint32_t b)
{
    return (a * b) >> MULHI_SHIFT;
}

TEST(GrayConstants, RangesAreTheLargestReachableValues)
{
    uint32_t ntscSum = 0, hdtvWeighted = 0;
    for (uint32_t r = 0; r < COMPONENT_VALUES; ++r)
        for (uint32_t g = 0; g < COMPONENT_VALUES; ++g) {
            // Blue's weight is positive in both, so its largest term decides per (r, g).
            uint32_t blueNtsc = 0, blueHdtv = 0;
            for (uint32_t b = 0; b < COMPONENT_VALUES; ++b) {
                blueNtsc = std::max(blueNtsc, NTSC_WEIGHT_BLUE * b);
                blueHdtv = std::max(blueHdtv, HDTV_WEIGHT_BLUE * (b ^ HDTV_COMPONENT_FLIP));
            }
            ntscSum = std::max(ntscSum, NTSC_WEIGHT_RED * r + NTSC_WEIGHT_GREEN * g + blueNtsc);
            hdtvWeighted = std::max(hdtvWeighted, HDTV_WEIGHT_RED * (r ^ HDTV_COMPONENT_FLIP) +
                                                      HDTV_WEIGHT_GREEN * (g ^ HDTV_COMPONENT_FLIP) + blueHdtv);
        }
    EXPECT_EQ(ntscSum, (uint32_t)NTSC_SUM_MAX);
    EXPECT_EQ(NTSC_SUM_MAX / NTSC_WEIGHT_SUM * GRAY_TONE_MAX, NTSC_SCALED_MAX);
    EXPECT_EQ(hdtvWeighted, (uint32_t)HDTV_WEIGHTED_MAX);
    EXPECT_EQ(hdtvWeighted / HDTV_SUM_DIVISOR, (uint32_t)HDTV_HALF_MAX);
    EXPECT_EQ(HDTV_HALF_MAX * GRAY_TONE_MAX / (int32_t)QUARTER, HDTV_QUARTER_TONED_MAX);
    EXPECT_EQ(DIV125_DIVISOR, (int32_t)HUNDRED_TWENTY_FIVE);
    // The sums must fit the signed 16-bit lanes they are packed into.
    EXPECT_LT(HDTV_WEIGHTED_MAX, INT16_MAX);
}

TEST(GrayConstants, DivideBySevenOverEveryNtscSum)
{
    for (uint32_t x = 0; x <= (uint32_t)NTSC_SUM_MAX; ++x)
        ASSERT_EQ(mulhi16(x, DIV7_MULTIPLIER), x / NTSC_WEIGHT_SUM) << x;
}

TEST(GrayConstants, DivideByTenOverEveryScaledAverage)
{
    for (uint32_t x = 0; x <= (uint32_t)NTSC_SCALED_MAX; ++x)
        ASSERT_EQ(mulhi16(x, DIV10_MULTIPLIER), x / NTSC_TONE_DIVISOR) << x;
}

TEST(GrayConstants, HdtvQuarterToneProductOverEveryHalfSumAndTone)
{
    for (uint32_t tone = 0; tone <= (uint32_t)GRAY_TONE_MAX; ++tone) {
        uint32_t toneOperand = tone << HDTV_TONE_PRESHIFT;
        ASSERT_LT(toneOperand, SHORT_LIMIT);
        for (uint32_t half = 0; half <= (uint32_t)HDTV_HALF_MAX; ++half) {
            uint32_t halfOperand = half << HDTV_HALF_PRESHIFT;
            ASSERT_LT(halfOperand, SHORT_LIMIT) << half;
            ASSERT_EQ(mulhi16(halfOperand, toneOperand), half * tone / QUARTER) << half << " tone " << tone;
        }
    }
}

TEST(GrayConstants, DivideBy125OverEveryQuarterToneProduct)
{
    for (uint32_t q = 0; q <= (uint32_t)HDTV_QUARTER_TONED_MAX; ++q)
        ASSERT_EQ(mulhi16(q, DIV125_MULTIPLIER) >> DIV125_POSTSHIFT, q / HUNDRED_TWENTY_FIVE) << q;
}

TEST(GrayConstants, DivideBy100OverEveryMixSum)
{
    for (uint32_t x = 0; x <= MIX_SUM_MAX; ++x)
        ASSERT_EQ(mulhi16(x, DIV100_MULTIPLIER) >> DIV100_POSTSHIFT, x / GRAY_INTENSITY_FULL) << x;
}

// pmulhrsw: (a * b + 2^14) >> 15 on signed lanes; the rounded division adds 50 through it.
TEST(GrayConstants, RoundedDivideBy100OverEveryMixProduct)
{
    for (uint32_t x = 0; x <= MIX_PRODUCT_MAX; ++x) {
        int32_t high = (int32_t)mulhi16(x, DIV100_MULTIPLIER);
        ASSERT_LE(high, INT16_MAX) << x;
        int32_t rounded = (high * DIV64_ROUNDED_MULTIPLIER + (1 << (MULHRS_SHIFT - 1))) >> MULHRS_SHIFT;
        ASSERT_EQ(rounded, (int32_t)((x + MIX_ROUNDING) / GRAY_INTENSITY_FULL)) << x;
    }
}

// The one-multiply move of a 5-5-5 field (pmulhrsw, signed lanes) against the rule, everywhere.
TEST(GrayConstants, FieldStepMovesEveryFieldAsTheRule)
{
    for (int32_t i = GRAY_INTENSITY_NONE + 1; i < GRAY_INTENSITY_FULL; ++i)
        for (int32_t field = 0; field <= (int32_t)FIELD555_MAX; ++field)
            for (int32_t gray = 0; gray <= (int32_t)FIELD555_MAX; ++gray) {
                ASSERT_LE(fieldStep(i), INT16_MAX);
                int32_t product = (gray - field + FIELD555_OFFSET) * fieldStep(i);
                int32_t move = (product + (1 << (MULHRS_SHIFT - 1))) >> MULHRS_SHIFT;
                ASSERT_EQ((uint32_t)(field + move - i), mixComponent((uint32_t)field, (uint32_t)gray, i))
                    << "field " << field << " gray " << gray << " at " << i;
            }
}

// The whole HDTV chain against the documented step: half * (2 * tone) / 1000.
TEST(GrayConstants, HdtvChainEqualsTheDocumentedDivision)
{
    for (uint32_t tone = 0; tone <= (uint32_t)GRAY_TONE_MAX; ++tone)
        for (uint32_t half = 0; half <= (uint32_t)HDTV_HALF_MAX; ++half) {
            uint32_t quarter = mulhi16(half << HDTV_HALF_PRESHIFT, tone << HDTV_TONE_PRESHIFT);
            uint32_t v = mulhi16(quarter, DIV125_MULTIPLIER) >> DIV125_POSTSHIFT;
            ASSERT_EQ(v, half * (HDTV_TONE_FACTOR * tone) / HDTV_TONE_DIVISOR) << half << " tone " << tone;
        }
}

// The NTSC chain against the documented steps: sum / 7, then * tone / 10.
TEST(GrayConstants, NtscChainEqualsTheDocumentedDivisions)
{
    for (uint32_t tone = 0; tone <= (uint32_t)GRAY_TONE_MAX; ++tone)
        for (uint32_t sum = 0; sum <= (uint32_t)NTSC_SUM_MAX; ++sum) {
            uint32_t v = mulhi16(mulhi16(sum, DIV7_MULTIPLIER) * tone, DIV10_MULTIPLIER);
            ASSERT_EQ(v, sum / NTSC_WEIGHT_SUM * tone / NTSC_TONE_DIVISOR) << sum << " tone " << tone;
        }
}

}  // namespace
