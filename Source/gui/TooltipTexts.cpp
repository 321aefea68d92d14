#include "gui/TooltipTexts.h"

TooltipTexts::TooltipTexts()
{
    // UTF-8 source text: the typographic quotes are part of the wording.
    texts = {
        { "mixKnob",
          u8"Determines the balance of the dry, unaffected level to the wet reverb level. Set this to 100 % when using Sonaris as a send effect." },
        { "decayKnob",
          u8"Sets the length of the reverb tail. Specifically, it determines the time that it takes for the reverb level to decay to a level of minus 60 dB. Note that the Hall and Plate modes are capable of infinite decay times." },
        { "preDelayKnob",
          u8"The amount of time until the reverb sets in. Higher values will help convey a larger sense of space." },
        { "toneLabel",
          u8"The tone controls allow for optimal positioning of the reverb in the mix or allow for use in a creative manner. The default values will yield a natural and balanced sound." },
        { "tiltKnob",
          u8"Applies a “tilt” to the whole frequency band, boosting one side of the frequency range while attenuating the other. A convenient and easy way to shape the reverb character." },
        { "highCutKnob",
          u8"A simple high cut filter to remove high frequencies. For a potentially more interesting and natural way of doing something similar, consider using the “Damping” feature." },
        { "lowCutKnob",
          u8"A simple low cut filter to remove low frequencies." },
        { "shapeLabel",
          u8"The “Shape” section lets you model the space (or, in the case of Plate mode, the thin metal sheet) that produces the reverb. Note that the knobs will have different functions when in Plate mode." },
        { "sizeKnobRooms",
          u8"Determines how long it takes for a sound wave to be reflected, i.e., the size of the virtual room. Lower settings will lead to a faster reverb buildup, as each reflection will further diffuse the sound as according to the diffusion setting." },
        { "diffusionKnob",
          u8"Sets how much each reflection of a sound wave is diffused. This is akin to sound waves bouncing of of various surfaces in a space. A high diffusion simulates many different surfaces and angles, which will quickly lead to a dense reverb trail. Low settings make it possible to hear individual reflections as the reverb builds up." },
        { "dampingLabel",
          u8"In physical spaces and reverb plates alike, high frequencies tend to decay quicker than lower frequencies. This characteristic contributes to a natural sounding reverb." },
        { "dampingFrequencyKnob",
          u8"Sets the damping frequency above which the frequencies are attenuated. Frequencies below this are left untouched." },
        { "dampingIntensityKnob",
          u8"Sets the intensity above which the high frequencies are dampened. Low settings will lead to a gradual decay, while high settings lead to high frequencies being almost immediately stifled - almost like they would be with a high cut filter." },
        { "helpModeButton",
          u8"Help mode enabled. Hover over elements for information on their use." },
    };
}

juce::String TooltipTexts::tooltipFor(const std::string& key)
{
    const auto& text = texts[key];
    return juce::String::fromUTF8(text.data(), static_cast<int>(text.size()));
}
