// brisa-render: Brisa's engine on the command line.
#include "RenderCommand.h"
#include "RenderError.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <CLI/CLI.hpp>

#include <iostream>

namespace
{
const char* examples = R"(Examples:
  brisa-render dry.wav -o wet.wav --set decay="2.0 sec" --set size=15 --set mix=40
  brisa-render dry.flac -o wet.flac --bits 24 --preset hall.brisa --tail 6
  brisa-render --impulse -o ir.wav --set decay=@1 --plot ir.png
  brisa-render dry.wav -o wet.wav --seed 7 --json > summary.json
  brisa-render --set decay="1.5 sec" --save-preset long.brisa
  brisa-render --generate-demo-input -o dry.wav

Values are read like the plug-in's value boxes: mix, diffusion and dampingIntensity in
percent, decay in seconds, size in metres, predelayMs in ms, the cut-offs in Hz, tilt
0 to 1. VALUE "@x" sets the normalised control position x (0 to 1).

Parameter IDs: mix predelayMs decay highCut lowCut tilt size diffusion
               dampingFreq_room_er dampingFreq_room_tl dampingIntensity

Exit codes: 0 done, 2 bad command line or value, 3 input or preset unreadable,
4 output not writable. Errors are one line on stderr; no partial file is left.)";
} // namespace

int main(int argc, char** argv)
{
    RenderOptions options;
    CLI::App app { "Renders audio through Brisa's reverb engine, offline.", "brisa-render" };
    app.footer(examples);

    app.add_option("input", options.input, "Dry input: WAV, AIFF or FLAC, mono or stereo, any sample rate");
    app.add_option("-o,--output", options.output, "Output file (.wav, .aif/.aiff, .flac)");
    app.add_option("--set", options.assignments, "Set a parameter: ID=VALUE (repeatable)")
        ->allow_extra_args(false) // one value per --set, so a file name after it stays the input
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    app.add_option("--preset", options.preset, "Load a saved plug-in state (blob or its XML) before --set");
    app.add_option("--save-preset", options.savePreset, "Save the resulting plug-in state");
    app.add_option("--tail", options.tail,
                   "auto (until 0.5 s below -90 dBFS, at most 40 s) or seconds after the input")
        ->capture_default_str();
    app.add_option("--block", options.blockSize, "Host block size in samples")->capture_default_str();
    app.add_option("--seed", options.seed, "Fix the diffusion's random draws (same seed, same file)");
    app.add_option("--bits", options.bits, "16 or 24 (TPDF-dithered integer) or 32 (float, WAV only); "
                                           "default 32-bit float for WAV, 24 for AIFF and FLAC")
        ->check(CLI::IsMember({ 16, 24, 32 }));
    app.add_flag("--impulse", options.impulse, "Render the impulse response (mix 100 % unless set)");
    app.add_option("--rate", options.sampleRate, "Sample rate of --impulse and --generate-demo-input")
        ->capture_default_str()
        ->check(CLI::Range(8000.0, 384000.0));
    app.add_option("--plot", options.plot, "Draw a PNG: envelopes, decay curve (impulse) and spectrograms");
    app.add_flag("--generate-demo-input", options.generateDemoInput, "Write the synthesised dry demo example to -o");
    app.add_flag("-q,--quiet", options.quiet, "Print nothing but errors");
    app.add_flag("--json", options.json, "Print a machine-readable summary on stdout");

    try
    {
        app.parse(argc, argv);
    }
    catch (const CLI::CallForHelp&)
    {
        std::cout << app.help();
        return 0;
    }
    catch (const CLI::ParseError& e)
    {
        std::cerr << "brisa-render: error: " << e.what() << " (see --help)" << std::endl;
        return 2;
    }

    // Fonts and images need the framework's singletons; no display is needed.
    juce::ScopedJuceInitialiser_GUI juce;
    try
    {
        return RenderCommand(std::move(options)).run();
    }
    catch (const RenderError& e)
    {
        std::cerr << "brisa-render: error: " << e.what() << std::endl;
        return e.exitCode();
    }
    catch (const std::exception& e)
    {
        std::cerr << "brisa-render: error: " << e.what() << std::endl;
        return 1;
    }
}
