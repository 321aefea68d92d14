// The eleven host parameters: ranges, defaults and the texts hosts and the editor show.
#include "TestProcessor.h"
#include "parameters/SonarisParameterHandler.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
struct ParameterSet : testing::Test
{
    TestProcessor processor;
    SonarisParameterHandler handler { processor };

    void SetUp() override { handler.initiate(); }

    juce::RangedAudioParameter& parameter(const char* id) { return *handler.getValueTreeState().getParameter(id); }

    juce::String text(const char* id, float plain)
    {
        auto& p = parameter(id);
        return p.getText(p.convertTo0to1(plain), 100);
    }

    float plainFromText(const char* id, const char* text)
    {
        auto& p = parameter(id);
        return p.convertFrom0to1(p.getValueForText(text));
    }
};

struct Range { const char* id; float start, end, interval, centre, def; };
const Range ranges[] = {
    { "mix", 0, 1, 0.001f, 0.5f, 0.333f },
    { "predelayMs", 0, 250, 1, 51.54f, 20 },
    { "decay", 0, 1, 0.001f, 0.5f, 0.5f },
    { "highCut", 20, 22000, 10, 5000, 10000 },
    { "lowCut", 20, 2000, 10, 500, 20 },
    { "tilt", 0, 1, 0.001f, 0.5f, 0.5f },
    { "size", 0, 1, 0.01f, 0.5f, 0.5f },
    { "diffusion", 0, 1, 0.001f, 0.5f, 0.5f },
    { "dampingFreq_room_er", 20, 22000, 10, 11000, 11000 },
    { "dampingFreq_room_tl", 20, 22000, 10, 5000, 5000 },
    { "dampingIntensity", 0, 1, 0.001f, 0.5f, 0.5f },
};
} // namespace

TEST_F(ParameterSet, RangesDefaultsAndCentresInRegistrationOrder)
{
    int index = 0;
    for (const auto& r : ranges)
    {
        SCOPED_TRACE(r.id);
        EXPECT_EQ(handler.getIndex(r.id), index++);
        auto& p = parameter(r.id);
        const auto& range = p.getNormalisableRange();
        EXPECT_FLOAT_EQ(range.start, r.start);
        EXPECT_FLOAT_EQ(range.end, r.end);
        EXPECT_FLOAT_EQ(range.interval, r.interval);
        EXPECT_NEAR(range.convertFrom0to1(0.5f), r.centre, r.end * 1e-4f);
        EXPECT_NEAR(p.convertFrom0to1(p.getDefaultValue()), r.def, 1e-6f);
        EXPECT_EQ(p.getName(100), r.id);
        EXPECT_EQ(p.getLabel(), r.id);
        EXPECT_TRUE(p.isAutomatable());
    }
}

TEST_F(ParameterSet, ValueTexts)
{
    struct Case { const char* id; float plain; const char* text; };
    const Case cases[] = {
        { "mix", 0.333f, "33.3" },        { "mix", 1.0f, "100.0" },
        { "decay", 0.5f, "1.00 sec" },    { "decay", 1.0f, "2.50 sec" },    { "decay", 0.0f, "0.50 sec" },
        { "tilt", 0.5f, "none" },         { "tilt", 0.0f, "100% drk" },     { "tilt", 0.25f, "50% drk" },
        { "tilt", 0.499f, "0% drk" },     { "tilt", 1.0f, "100% brt" },
        { "size", 0.5f, "11" },           { "size", 0.1f, "3.8" },          { "size", 0.16f, "4.9" },
        { "size", 0.17f, "5" },           { "size", 0.0f, "2.0" },          { "size", 1.0f, "20" },
        { "diffusion", 0.5f, "50.0" },    { "dampingIntensity", 0.5f, "50.0" },
        { "predelayMs", 20.0f, "20" },    { "highCut", 10000.0f, "10000" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(text(c.id, c.plain), juce::String(c.text)) << c.id << " at " << c.plain;

    // Between two interval steps, as a smoothed or automated value can be.
    EXPECT_EQ(SonarisParameterHandler::tiltToText(0.5005f), "0% brt");
}

TEST_F(ParameterSet, TextsReadBackThroughEachParametersOwnConversion)
{
    struct Case { const char* id; const char* text; float plain; };
    const Case cases[] = {
        { "mix", "33.3", 0.333f },   { "mix", "50 %", 0.5f },      { "mix", "200", 1.0f },
        { "decay", "1", 0.5f },      { "decay", "2.5", 1.0f },     { "decay", "9", 1.0f },
        { "decay", "0.2", 0.0f },    { "decay", "2.0 sec", 0.866f },
        { "size", "11", 0.5f },      { "size", "1", 0.0f },        { "size", "20", 1.0f },
        { "predelayMs", "12.5 ms", 13.0f }, { "tilt", "0.75", 0.75f },
    };
    for (const auto& c : cases)
        EXPECT_NEAR(plainFromText(c.id, c.text), c.plain, 1e-6f) << c.id << " from \"" << c.text << "\"";
}

TEST_F(ParameterSet, TextWithoutANumberIsReportedAndReadAsZero)
{
    testing::internal::CaptureStderr();
    const float mix = plainFromText("mix", "abc");
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(mix, 0.0f);
    EXPECT_EQ(err.rfind("Invalid input: ", 0), 0u) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);

    testing::internal::CaptureStderr();
    EXPECT_EQ(plainFromText("decay", "nan"), 0.0f);
    EXPECT_EQ(plainFromText("size", "--"), 0.0f);
    EXPECT_FALSE(testing::internal::GetCapturedStderr().empty());
}

TEST_F(ParameterSet, NumbersBeyondTheFloatRangeLandOnTheNearestEnd)
{
    testing::internal::CaptureStderr(); // "nan" is reported by the texts that report
    for (const auto& r : ranges)
    {
        SCOPED_TRACE(r.id);
        for (const char* huge : { "1e50", "inf" })
            EXPECT_EQ(parameter(r.id).getValueForText(huge), 1.0f);
        for (const char* tiny : { "-1e50", "-inf" })
            EXPECT_EQ(parameter(r.id).getValueForText(tiny), 0.0f);
        for (const char* odd : { "1e-50", "nan", "-nan" })
            EXPECT_TRUE(std::isfinite(parameter(r.id).getValueForText(odd))) << odd;
    }
    testing::internal::GetCapturedStderr();
}

TEST_F(ParameterSet, SmoothersTakeTheirRampFromTheSampleRate)
{
    handler.prepareSmoothers(44100.0);
    auto highCut = handler.getHighCutSmoother();
    auto tilt = handler.getTiltSmoother();
    highCut->setTargetValue(1.0f);
    tilt->setTargetValue(1.0f);
    int highCutSteps = 0, tiltSteps = 0;
    while (highCut->isSmoothing()) { highCut->getNextValue(); ++highCutSteps; }
    while (tilt->isSmoothing()) { tilt->getNextValue(); ++tiltSteps; }
    EXPECT_EQ(highCutSteps, 4);
    EXPECT_EQ(tiltSteps, 44);

    tilt->setTargetValue(0.0f);
    handler.prepareSmoothers(48000.0); // drops the running ramp
    EXPECT_FALSE(tilt->isSmoothing());
    EXPECT_EQ(tilt->getCurrentValue(), 0.0f);
}

TEST_F(ParameterSet, RangeSetLookUp)
{
    EXPECT_FALSE(handler.getRangeValueSet(1.0000001f).empty());
    EXPECT_TRUE(handler.getRangeValueSet(1.01f).empty());
    EXPECT_TRUE(handler.getRangeValueSet(4.0f).empty());
    auto set = handler.getRangeValueSet(1.0f);
    EXPECT_FLOAT_EQ(set["tilt_default"], 0.56f);
    EXPECT_EQ(set["no such key"], 0.0f);
}
