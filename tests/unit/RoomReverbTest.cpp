// Whole-reverb properties measured on the room's output with fixed seeds: decay time against
// the decay setting, stereo decorrelation, first arrival, reset, determinism, click-free
// size and diffusion sweeps, and a tail that dies away completely.

#include <gtest/gtest.h>

#include "RoomHarness.h"

#include <cmath>

namespace
{
constexpr double pi = juce::MathConstants<double>::pi;

std::vector<float> sine(double frequency, double amplitude, double rate, size_t length)
{
    std::vector<float> x(length);
    for (size_t i = 0; i < length; ++i)
        x[i] = (float) (amplitude * std::sin(2.0 * pi * frequency * (double) i / rate));
    return x;
}

float largestJump(const std::vector<float>& x, size_t from)
{
    float m = 0.0f;
    for (size_t i = std::max<size_t>(from, 1); i < x.size(); ++i)
        m = std::max(m, std::abs(x[i] - x[i - 1]));
    return m;
}
} // namespace

//==============================================================================
struct DecayCase
{
    float decay;
    float dampingIntensity;
    double setSeconds;        // T of the decay setting: 0.5 + decay² × 2 s
    double lowest, highest;   // accepted measured/T
};

class RoomDecayTime : public ::testing::TestWithParam<DecayCase> {};

// Without damping the measured time runs 7–12 % above T: the loop-gain rule counts the mean
// base delay plus half the diffusion range, while the real loops are longer by the diffusor's
// per-channel spread (on average 14 % of the base delay) and one sample of read-before-write,
// so each pass loses slightly less per second than the rule assumes. Accepted: −5 % … +15 %.
// With the default damping (tail low-pass at 5 kHz blended in at 60 %) the high frequencies
// die sooner and the broadband time comes out 13–17 % below T. Accepted: −25 % … 0 %.
TEST_P(RoomDecayTime, SchroederDecayTracksTheSetTime)
{
    const auto c = GetParam();
    RoomHarness h(48000.0, 7, { { "decay", c.decay }, { "dampingIntensity", c.dampingIntensity } });
    const auto [left, right] = h.impulseResponse(c.setSeconds * 2.5);

    for (const auto* response : { &left, &right })
    {
        const auto measured = schroederDecaySeconds(*response, 48000.0);
        RecordProperty("measuredSeconds", juce::String(measured, 3).toStdString());
        EXPECT_GE(measured / c.setSeconds, c.lowest) << "measured " << measured << " s for T = " << c.setSeconds << " s";
        EXPECT_LE(measured / c.setSeconds, c.highest) << "measured " << measured << " s for T = " << c.setSeconds << " s";
    }
}

INSTANTIATE_TEST_SUITE_P(Room, RoomDecayTime,
                         ::testing::Values(DecayCase { 0.0f, 0.0f, 0.5, 0.95, 1.15 },
                                           DecayCase { 0.5f, 0.0f, 1.0, 0.95, 1.15 },
                                           DecayCase { 1.0f, 0.0f, 2.5, 0.95, 1.15 },
                                           DecayCase { 0.0f, 0.5f, 0.5, 0.75, 1.0 },
                                           DecayCase { 0.5f, 0.5f, 1.0, 0.75, 1.0 },
                                           DecayCase { 1.0f, 0.5f, 2.5, 0.75, 1.0 }),
                         [](const auto& info) {
                             return "Decay" + std::to_string((int) (info.param.decay * 10))
                                    + (info.param.dampingIntensity > 0 ? "DefaultDamping" : "NoDamping");
                         });

//==============================================================================
TEST(RoomReverb, LeftAndRightAreDecorrelated)
{
    // The same impulse in both inputs: the two output taps come from different ring
    // channels, so their responses share almost nothing at any lag up to 1 ms.
    for (const juce::int64 seed : { 1, 2, 3 })
    {
        RoomHarness h(48000.0, seed);
        const auto [left, right] = h.impulseResponse(2.0);
        double ll = 0, rr = 0;
        for (size_t i = 0; i < left.size(); ++i)
        {
            ll += (double) left[i] * left[i];
            rr += (double) right[i] * right[i];
        }
        ASSERT_GT(ll, 0.0);
        double worst = 0;
        for (int lag = -48; lag <= 48; ++lag)
        {
            double lr = 0;
            for (size_t i = 48; i + 48 < left.size(); ++i)
                lr += (double) left[i] * right[(size_t) ((long) i + lag)];
            worst = std::max(worst, std::abs(lr) / std::sqrt(ll * rr));
        }
        EXPECT_LT(worst, 0.2) << "seed " << seed;
    }
}

TEST(RoomReverb, ImpulseFirstArrivesThroughTheEarlyDiffusorAndHadamardMix)
{
    RoomHarness h(48000.0, 21);
    h.settle();
    const auto& diffusor = h.room->getEarlyReflections().diffusor;

    // Left impulse: the even internal channels carry it; channel 0 has the shortest
    // diffusion delay, heard one sample late (read before write).
    const auto first = (size_t) diffusor.delayTimes[0] + 1;
    ASSERT_GE(first, 2u);
    for (size_t c = 2; c < 8; c += 2)
        ASSERT_GT((size_t) diffusor.delayTimes[c] + 1, first);

    std::vector<float> impulse(4800, 0.0f);
    impulse[0] = 1.0f;
    const auto [left, right] = h.run(impulse, std::vector<float>(4800, 0.0f));

    for (size_t i = 0; i < first; ++i)
    {
        ASSERT_EQ(left[i], 0.0f) << i;
        ASSERT_EQ(right[i], 0.0f) << i;
    }
    // One channel through the orthonormal mix (1/√8), then the early gain and the output gain.
    const auto expected = 0.35355339f * 0.89099997f * 0.64799994f;
    EXPECT_NEAR(std::abs(left[first]), expected, 1.0e-6f);
    EXPECT_NEAR(std::abs(right[first]), expected, 1.0e-6f);
    EXPECT_EQ(left[first] < 0, diffusor.flipPolarity[4]);
    EXPECT_EQ(right[first] < 0, diffusor.flipPolarity[5]);
}

TEST(RoomReverb, SilenceAfterResetStaysSilent)
{
    // Largest size: the swept tail lines interpolate, so their memory matters too.
    RoomHarness h(48000.0, 5, { { "decay", 1.0f }, { "size", 1.0f } });
    h.run(sine(300.0, 0.8, 48000.0, 48000), sine(170.0, 0.8, 48000.0, 48000));
    h.room->reset();
    const auto [left, right] = h.run(std::vector<float>(96000, 0.0f), {});
    for (size_t i = 0; i < left.size(); ++i)
    {
        ASSERT_EQ(left[i], 0.0f) << i;
        ASSERT_EQ(right[i], 0.0f) << i;
    }
}

TEST(RoomReverb, SameSeedIsBitIdenticalOtherSeedDiffers)
{
    const auto input = sine(220.0, 0.5, 48000.0, 24000);
    auto render = [&](juce::int64 seed) {
        RoomHarness h(48000.0, seed);
        return h.run(input, input).first;
    };
    const auto a = render(42), b = render(42), c = render(43);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
}

TEST(RoomReverb, MonoBlockWritesOnlyItsChannel)
{
    RoomHarness stereo(48000.0, 8), mono(48000.0, 8);
    const auto input = sine(500.0, 0.5, 48000.0, 9600);
    const auto [expected, unused] = stereo.run(input, input);

    juce::AudioBuffer<float> buffer(1, RoomHarness::blockSize);
    for (size_t b = 0; b < input.size() / RoomHarness::blockSize; ++b)
    {
        buffer.copyFrom(0, 0, input.data() + b * RoomHarness::blockSize, RoomHarness::blockSize);
        mono.processBlock(buffer);
        for (int i = 0; i < RoomHarness::blockSize; ++i)
            ASSERT_EQ(buffer.getSample(0, i), expected[b * RoomHarness::blockSize + (size_t) i]);
    }
}

//==============================================================================
struct SweepCase
{
    const char* control;
    double frequency;
};

class RoomSweep : public ::testing::TestWithParam<SweepCase> {};

// A sustained sine while a control moves from 0 to 1 over two seconds (one dispatched step per
// block). The output's level legitimately changes with the room (its plain jumps reach 3 times
// the input's at 110 Hz, held or swept), so what is bounded is the non-sinusoidal part of each
// jump. Measured: at most 1.6 % of the input's own largest jump. Switching the ring lengths
// under the direct signal with only the feedback faded leaves steps of 25 times the input's.
TEST_P(RoomSweep, SizeAndDiffusionSweepsDoNotClick)
{
    const auto c = GetParam();
    const double rate = 48000.0;
    const auto input = sine(c.frequency, 0.5, rate, (size_t) (rate * 4.0));
    const auto from = (size_t) rate;   // after a second at the start setting

    auto render = [&](float start, bool sweep) {
        RoomHarness h(rate, 5, { { c.control, start }, { "decay", 1.0f } });
        h.settle();
        std::vector<float> out;
        juce::AudioBuffer<float> buffer(2, RoomHarness::blockSize);
        for (size_t b = 0; b < input.size() / RoomHarness::blockSize; ++b)
        {
            if (sweep)
                h.set(c.control, (float) juce::jlimit(0.0, 1.0, ((double) b * RoomHarness::blockSize / rate - 1.0) / 2.0));
            for (int ch = 0; ch < 2; ++ch)
                buffer.copyFrom(ch, 0, input.data() + b * RoomHarness::blockSize, RoomHarness::blockSize);
            h.processBlock(buffer);
            out.insert(out.end(), buffer.getReadPointer(0), buffer.getReadPointer(0) + RoomHarness::blockSize);
        }
        return out;
    };

    // A steady sine at ω satisfies y[n] − 2cos(ω)·y[n−1] + y[n−2] = 0 whatever its level and
    // phase; what is left is the part of a jump that no sine of the input's frequency makes.
    const auto k = 2.0f * (float) std::cos(2.0 * pi * c.frequency / rate);
    const auto y = render(0.0f, true);
    float residual = 0.0f;
    for (size_t i = from; i < y.size(); ++i)
        residual = std::max(residual, std::abs(y[i] - k * y[i - 1] + y[i - 2]));

    const auto ownJump = largestJump(input, 1);
    RecordProperty("residualOverOwnJump", juce::String(residual / ownJump, 4).toStdString());
    EXPECT_LT(residual, 0.1f * ownJump);
}

INSTANTIATE_TEST_SUITE_P(Room, RoomSweep,
                         ::testing::Values(SweepCase { "size", 440.0 }, SweepCase { "size", 110.0 },
                                           SweepCase { "diffusion", 440.0 }, SweepCase { "diffusion", 110.0 }),
                         [](const auto& info) {
                             return std::string(info.param.control) + std::to_string((int) info.param.frequency) + "Hz";
                         });

//==============================================================================
TEST(RoomReverb, TailOfAFullScaleBurstFallsBelowMinus120dBWithin40Seconds)
{
    // The processor runs every block with denormals flushed; so does this test.
    juce::ScopedNoDenormals noDenormals;
    const double rate = 48000.0;
    RoomHarness h(rate, 13, { { "decay", 1.0f }, { "size", 1.0f }, { "dampingIntensity", 0.0f } });
    h.settle();

    juce::Random random(99);
    std::vector<float> burst((size_t) (rate * 0.5));
    for (auto& x : burst)
        x = random.nextBool() ? 1.0f : -1.0f;
    const auto [burstLeft, burstRight] = h.run(burst, burst);
    float burstPeak = 0.0f;
    for (const auto x : burstLeft)
        burstPeak = std::max(burstPeak, std::abs(x));
    ASSERT_GT(burstPeak, 0.1f);

    const auto [left, right] = h.run(std::vector<float>((size_t) (rate * 40.0), 0.0f), {});
    float lastSecondPeak = 0.0f;
    for (size_t i = left.size() - (size_t) rate; i < left.size(); ++i)
        lastSecondPeak = std::max({ lastSecondPeak, std::abs(left[i]), std::abs(right[i]) });
    EXPECT_LT(lastSecondPeak, 1.0e-6f) << "−120 dBFS";
    for (size_t i = 0; i < left.size(); ++i)
        ASSERT_TRUE(std::isfinite(left[i]) && std::isfinite(right[i])) << i;
}
