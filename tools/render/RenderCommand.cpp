#include "RenderCommand.h"

#include "AudioFileInput.h"
#include "AudioFileOutput.h"
#include "DecayAnalysis.h"
#include "DemoSignal.h"
#include "OfflineRenderer.h"
#include "ParameterAssignment.h"
#include "PresetFile.h"
#include "ProgressBar.h"
#include "RandomSeed.h"
#include "RenderError.h"
#include "ResponsePlot.h"

#include "core/PluginProcessor.h"

#include <cmath>
#include <cstdlib>
#include <iostream>

namespace
{
juce::File fileFor(const std::string& path)
{
    return juce::File::getCurrentWorkingDirectory().getChildFile(juce::String::fromUTF8(path.c_str()));
}

TailLength parseTail(const std::string& text)
{
    if (text == "auto")
        return TailLength::untilQuiet();

    char* end = nullptr;
    const double seconds = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || ! std::isfinite(seconds) || seconds < 0.0 || seconds > 3600.0)
        throw RenderError(RenderError::Kind::usage, "--tail expects auto or seconds from 0 to 3600, got \"" + text + "\"");
    return TailLength::fixed(seconds);
}

double levelDb(double gain)
{
    return gain > 0.0 ? 20.0 * std::log10(gain) : -std::numeric_limits<double>::infinity();
}

juce::var dbVar(double db)
{
    return std::isfinite(db) ? juce::var(std::round(db * 100.0) / 100.0) : juce::var();
}

struct Levels
{
    double peak = 0.0, rms = 0.0;
};

Levels measure(const juce::AudioBuffer<float>& audio)
{
    Levels levels;
    double energy = 0.0;
    for (int c = 0; c < audio.getNumChannels(); ++c)
        for (int i = 0; i < audio.getNumSamples(); ++i)
        {
            const double x = audio.getSample(c, i);
            levels.peak = juce::jmax(levels.peak, std::abs(x));
            energy += x * x;
        }
    const double count = (double) audio.getNumChannels() * audio.getNumSamples();
    levels.rms = count > 0.0 ? std::sqrt(energy / count) : 0.0;
    return levels;
}

juce::String bitsText(int bits)
{
    return bits == 32 ? juce::String("32-bit float") : juce::String(bits) + "-bit";
}

/** What the decay setting asks for, in seconds, as the plug-in shows it. */
double setDecaySeconds(juce::AudioProcessorValueTreeState& state)
{
    auto* decay = state.getParameter("decay");
    return decay != nullptr ? decay->getCurrentValueAsText().getDoubleValue() : 0.0;
}
} // namespace

RenderCommand::RenderCommand(RenderOptions optionsToUse) : options(std::move(optionsToUse))
{
}

int RenderCommand::writeDemoInput()
{
    if (options.output.empty())
        throw RenderError(RenderError::Kind::usage, "--generate-demo-input needs -o FILE");

    AudioFileOutput output(fileFor(options.output));
    const int bits = options.bits.value_or(output.defaultBits());
    output.checkBits(bits);
    const auto signal = DemoSignal::make(options.sampleRate);
    output.write(signal, options.sampleRate, bits, options.seed.value_or(0));

    if (! options.quiet && ProgressBar::stderrIsTerminal())
        std::cerr << "wrote " << output.getTarget().getFullPathName() << " (dry demo example, "
                  << signal.getNumSamples() / options.sampleRate << " s)" << std::endl;
    return 0;
}

int RenderCommand::run()
{
    if (options.generateDemoInput)
        return writeDemoInput();

    if (options.blockSize < 1 || options.blockSize > 65536)
        throw RenderError(RenderError::Kind::usage, "--block expects 1 to 65536 samples");
    if (options.impulse && ! options.input.empty())
        throw RenderError(RenderError::Kind::usage, "give either an input file or --impulse, not both");

    const bool renders = options.impulse || ! options.input.empty();
    if (! renders && options.savePreset.empty())
        throw RenderError(RenderError::Kind::usage, "no input: give an input file, --impulse or --generate-demo-input");
    if (renders && options.output.empty())
        throw RenderError(RenderError::Kind::usage, "no output: give -o FILE");

    const auto tail = parseTail(options.tail);

    // Everything the user typed is checked before any audio is touched.
    std::vector<ParameterAssignment> assignments;
    for (const auto& text : options.assignments)
        assignments.push_back(ParameterAssignment::parse(text));

    SonarisAudioProcessor processor;
    auto& state = processor.getValueTreeState();

    if (options.impulse)
        state.getParameter("mix")->setValueNotifyingHost(1.0f); // the response of the reverb itself

    if (! options.preset.empty())
        PresetFile::load(fileFor(options.preset), processor);
    for (const auto& assignment : assignments)
        assignment.apply(state);

    if (options.seed.has_value() && ! brisa_render::applyRandomSeed(processor, *options.seed))
        std::cerr << "brisa-render: warning: this build cannot fix the random draws; --seed has no effect" << std::endl;

    if (! renders)
    {
        PresetFile::save(fileFor(options.savePreset), processor);
        return 0;
    }

    AudioFileInput input;
    if (options.impulse)
    {
        input.audio = DemoSignal::impulse(2);
        input.sampleRate = options.sampleRate;
    }
    else
        input = AudioFileInput::read(fileFor(options.input));

    AudioFileOutput output(fileFor(options.output));
    const int bits = options.bits.value_or(output.defaultBits());
    output.checkBits(bits);
    if (! options.plot.empty() && ! fileFor(options.plot).getParentDirectory().isDirectory())
        throw RenderError(RenderError::Kind::output, "cannot write plot " + options.plot + ": no such folder");

    ProgressBar progress(! options.quiet);
    OfflineRenderer renderer(processor, options.blockSize);
    const auto rendered = renderer.render(input.audio, input.sampleRate, tail,
                                          [&progress](double fraction) { progress.update(fraction); });
    progress.finish();

    const double seconds = rendered.getNumSamples() / input.sampleRate;
    const double realTimeFactor = seconds / juce::jmax(1.0e-9, renderer.getProcessingSeconds());
    const auto levels = measure(rendered);

    output.write(rendered, input.sampleRate, bits,
                 options.seed.value_or(juce::Random::getSystemRandom().nextInt64()));

    ResponsePlot::DecayTimes decay;
    if (options.impulse)
    {
        decay.setSeconds = setDecaySeconds(state);
        decay.measuredSeconds = DecayAnalysis::decayTimeSeconds(DecayAnalysis::energyDecayCurveDb(rendered),
                                                                input.sampleRate);
    }

    if (! options.plot.empty())
    {
        const auto title = "Brisa  |  " + (options.impulse ? juce::String("impulse response") : fileFor(options.input).getFileName())
                         + "  |  decay " + state.getParameter("decay")->getCurrentValueAsText()
                         + ", size " + state.getParameter("size")->getCurrentValueAsText()
                         + " m, mix " + state.getParameter("mix")->getCurrentValueAsText() + " %";
        const auto image = options.impulse
                               ? ResponsePlot::drawImpulseResponse(rendered, input.sampleRate, title, decay)
                               : ResponsePlot::drawRender(input.audio, rendered, input.sampleRate, title);
        ResponsePlot::savePng(image, fileFor(options.plot));
    }

    if (! options.savePreset.empty())
        PresetFile::save(fileFor(options.savePreset), processor);

    if (! options.quiet && ProgressBar::stderrIsTerminal())
    {
        std::cerr << "wrote " << output.getTarget().getFullPathName() << " (" << rendered.getNumChannels() << " ch, "
                  << input.sampleRate << " Hz, " << bitsText(bits) << ", " << juce::String(seconds, 2) << " s)";
        if (! options.plot.empty())
            std::cerr << " and " << fileFor(options.plot).getFullPathName();
        std::cerr << "\npeak " << juce::String(levelDb(levels.peak), 1) << " dBFS, RMS "
                  << juce::String(levelDb(levels.rms), 1) << " dBFS";
        if (options.impulse)
            std::cerr << ", decay measured " << juce::String(decay.measuredSeconds, 2) << " s (set "
                      << juce::String(decay.setSeconds, 2) << " s)";
        std::cerr << "\nreal-time factor " << juce::String(realTimeFactor, 1) << "x" << std::endl;
    }

    if (options.json)
    {
        auto* summary = new juce::DynamicObject();
        summary->setProperty("input", options.impulse ? juce::var("impulse") : juce::var(fileFor(options.input).getFullPathName()));
        summary->setProperty("output", output.getTarget().getFullPathName());
        if (! options.plot.empty())
            summary->setProperty("plot", fileFor(options.plot).getFullPathName());
        summary->setProperty("sampleRate", input.sampleRate);
        summary->setProperty("channels", rendered.getNumChannels());
        summary->setProperty("bits", bits);
        summary->setProperty("blockSize", options.blockSize);
        summary->setProperty("seed", options.seed.has_value() ? juce::var(*options.seed) : juce::var());
        summary->setProperty("seconds", seconds);

        auto* settings = new juce::DynamicObject();
        for (auto* parameter : processor.getParameters())
            if (auto* ranged = dynamic_cast<juce::RangedAudioParameter*>(parameter))
            {
                auto* setting = new juce::DynamicObject();
                setting->setProperty("value", ranged->convertFrom0to1(ranged->getValue()));
                setting->setProperty("text", ranged->getCurrentValueAsText());
                settings->setProperty(ranged->getParameterID(), setting);
            }
        summary->setProperty("settings", settings);

        summary->setProperty("peak", levels.peak);
        summary->setProperty("peakDbfs", dbVar(levelDb(levels.peak)));
        summary->setProperty("rms", levels.rms);
        summary->setProperty("rmsDbfs", dbVar(levelDb(levels.rms)));
        summary->setProperty("realTimeFactor", realTimeFactor);
        if (options.impulse)
        {
            summary->setProperty("decaySetSeconds", decay.setSeconds);
            summary->setProperty("decayMeasuredSeconds", decay.measuredSeconds);
        }
        std::cout << juce::JSON::toString(juce::var(summary), false) << std::endl;
    }
    return 0;
}
