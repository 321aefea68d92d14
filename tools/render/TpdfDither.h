#pragma once

#include <juce_core/juce_core.h>

#include <cmath>

/** Triangular-PDF dither and rounding to an integer sample grid. The result is
    a float exactly on the grid (k / 2^(bits-1)), so the file writer's own
    conversion to integers is lossless. Seeded: the same seed dithers alike. */
class TpdfDither
{
public:
    TpdfDither(int bitsToUse, juce::int64 seed) : bits(bitsToUse), random(seed)
    {
        scale = std::ldexp(1.0, bits - 1);
    }

    float process(float sample) noexcept
    {
        // Sum of two uniform values in [-0.5, 0.5): triangular over ±1 LSB.
        const double noise = (random.nextDouble() - random.nextDouble());
        const double level = std::round((double) sample * scale + noise);
        return (float) (juce::jlimit(-scale, scale - 1.0, level) / scale);
    }

    int getBits() const noexcept { return bits; }

private:
    int bits;
    double scale = 1.0;
    juce::Random random;
};
