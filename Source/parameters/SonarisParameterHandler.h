#pragma once

#include "parameters/ParameterHandler.h"
#include "parameters/ParameterRangeValues.h"

/** The reverb's eleven host parameters, their value texts and smoothers. */
class SonarisParameterHandler : public ParameterHandler
{
public:
    explicit SonarisParameterHandler(juce::AudioProcessor& processorToUse);

    /** Registers the parameters and builds the value-tree state; call once. */
    void initiate();

    /** Ramp lengths of the smoothed parameters for a sample rate; drops running ramps. */
    void prepareSmoothers(double sampleRate);

    /** A copy of the range set of an algorithm index (1: the room), or an empty map. */
    ParameterRangeValues::ValueSet getRangeValueSet(float algorithmIndex) const;

    /** Reads the leading number of a text. Text without a number is reported on
        stderr ("Invalid input: ...") and read as 0; a number beyond the float
        range is read as the largest float of its sign, so that the parameter
        lands on the nearest end of its range. */
    static float stringToFloat(const juce::String& text);

    std::shared_ptr<Smoother> getHighCutSmoother() const { return highCutSmoother; }
    std::shared_ptr<Smoother> getTiltSmoother() const { return tiltSmoother; }

    // Value texts, public so that the editor and the tests see what hosts see.
    static juce::String percentToText(float value);
    static float textToPercent(const juce::String& text);
    juce::String decayToText(float value) const;
    float textToDecay(const juce::String& text) const;
    static juce::String tiltToText(float value);
    juce::String sizeToText(float value) const;
    float textToSize(const juce::String& text) const;

private:
    std::shared_ptr<Smoother> highCutSmoother;
    std::shared_ptr<Smoother> tiltSmoother;
    ParameterRangeValues rangeValues;
};
