// brisa-render run as a child process, checked against the plug-in's processor
// driven directly: same engine, same settings, same seed, same samples.
#include "DecayAnalysis.h"
#include "RenderHelpers.h"
#include "ToolRunner.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
const juce::String tool { BRISA_RENDER_PATH };

/** A fresh folder per test. */
juce::File folderFor(const juce::String& name)
{
    auto folder = juce::File(BRISA_TEST_OUTPUT_DIR).getChildFile("render").getChildFile(name);
    folder.deleteRecursively();
    folder.createDirectory();
    return folder;
}

juce::StringArray namesIn(const juce::File& folder)
{
    juce::StringArray names;
    for (const auto& f : folder.findChildFiles(juce::File::findFilesAndDirectories | juce::File::ignoreHiddenFiles, false))
        names.add(f.getFileName());
    for (const auto& f : folder.findChildFiles(juce::File::findFilesAndDirectories, false, ".*"))
        names.addIfNotAlreadyThere(f.getFileName());
    names.sort(false);
    return names;
}

bool sameBytes(const juce::File& a, const juce::File& b)
{
    juce::MemoryBlock x, y;
    return a.loadFileAsData(x) && b.loadFileAsData(y) && x.getSize() > 0 && x == y;
}

juce::var parseJson(const juce::String& text)
{
    return juce::JSON::parse(text);
}
} // namespace

// ---------------------------------------------------------------------------
// Errors: one line on stderr naming the problem, a non-zero exit code that says
// what kind of problem it was, and no output file (not even a partial one).

struct ErrorCase
{
    const char* name;
    std::vector<const char*> args; // {in} {out} {dir} are replaced
    int exitCode;
    const char* message; // a part of the line
};

void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.name; }

class RendererErrors : public testing::TestWithParam<ErrorCase>
{
};

TEST_P(RendererErrors, PrintOneLineAndLeaveNoFile)
{
    const auto& c = GetParam();
    const auto folder = folderFor(juce::String("errors_") + c.name);
    const auto input = folder.getChildFile("in.wav");
    ASSERT_TRUE(writeWav(input, makeBurst(2, 48000.0, 0.1, 1), 48000.0));
    folder.getChildFile("notaudio.wav").replaceWithText("this is text, not audio\n");
    folder.getChildFile("notapreset.brisa").replaceWithText("<Other/>");
    ASSERT_TRUE(writeWav(folder.getChildFile("three.wav"), makeBurst(3, 48000.0, 0.1, 1), 48000.0));

    juce::StringArray args;
    for (const auto* a : c.args)
        args.add(juce::String(a).replace("{dir}", folder.getFullPathName()));

    const auto before = namesIn(folder);
    const auto result = runTool(tool, args);

    EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
    EXPECT_TRUE(result.err.startsWith("brisa-render: error: ")) << result.err;
    EXPECT_TRUE(result.err.contains(c.message)) << result.err;
    EXPECT_EQ(result.err.trimEnd().indexOfChar('\n'), -1) << "more than one line: " << result.err;
    EXPECT_TRUE(result.out.isEmpty()) << result.out;
    EXPECT_EQ(namesIn(folder), before) << "files appeared or vanished";
}

INSTANTIATE_TEST_SUITE_P(
    Table, RendererErrors,
    testing::Values(
        ErrorCase { "MissingInput", { "{dir}/absent.wav", "-o", "{dir}/out.wav" }, 3, "absent.wav does not exist" },
        ErrorCase { "UnreadableInput", { "{dir}/notaudio.wav", "-o", "{dir}/out.wav" }, 3, "cannot read input" },
        ErrorCase { "UnknownId", { "{dir}/in.wav", "-o", "{dir}/out.wav", "--set", "volume=3" }, 2,
                    "unknown parameter ID \"volume\"" },
        ErrorCase { "ValueWithoutNumber", { "{dir}/in.wav", "-o", "{dir}/out.wav", "--set", "decay=long" }, 2,
                    "\"long\" for decay holds no number" },
        ErrorCase { "NormalisedWithoutNumber", { "{dir}/in.wav", "-o", "{dir}/out.wav", "--set", "mix=@half" }, 2,
                    "holds no number" },
        ErrorCase { "ThreeChannels", { "{dir}/three.wav", "-o", "{dir}/out.wav" }, 3, "has 3 channels" },
        ErrorCase { "OutputFolderMissing", { "{dir}/in.wav", "-o", "{dir}/nowhere/out.wav" }, 4, "no such folder" },
        ErrorCase { "OutputUnderAFile", { "{dir}/in.wav", "-o", "{dir}/in.wav/out.wav" }, 4, "cannot write output" },
        ErrorCase { "OutputIsAFolder", { "{dir}/in.wav", "-o", "{dir}" }, 2, "use a .wav" },
        ErrorCase { "PresetMissing", { "{dir}/in.wav", "-o", "{dir}/out.wav", "--preset", "{dir}/absent.brisa" }, 3,
                    "does not exist" },
        ErrorCase { "PresetNotAState", { "{dir}/in.wav", "-o", "{dir}/out.wav", "--preset", "{dir}/notapreset.brisa" }, 3,
                    "is not a Brisa state" },
        ErrorCase { "PlotFolderMissing", { "{dir}/in.wav", "-o", "{dir}/out.wav", "--plot", "{dir}/nowhere/p.png" }, 4,
                    "cannot write plot" },
        ErrorCase { "BadTail", { "{dir}/in.wav", "-o", "{dir}/out.wav", "--tail", "forever" }, 2, "--tail" },
        ErrorCase { "FlacCannotHoldFloat", { "{dir}/in.wav", "-o", "{dir}/out.flac", "--bits", "32" }, 2,
                    "cannot hold 32-bit" }),
    [](const testing::TestParamInfo<ErrorCase>& info) { return std::string(info.param.name); });

// An output folder the tool may not write to (skipped as root, who may write anywhere).
TEST(Renderer, UnwritableFolderIsRefusedBeforeRendering)
{
    const auto folder = folderFor("unwritable");
    const auto input = folder.getChildFile("in.wav");
    ASSERT_TRUE(writeWav(input, makeBurst(2, 48000.0, 0.1, 1), 48000.0));
    const auto locked = folder.getChildFile("locked");
    locked.createDirectory();
    locked.setReadOnly(true, false);
    if (locked.hasWriteAccess())
        GTEST_SKIP() << "running with permission to write anywhere";

    const auto result = runTool(tool, { input.getFullPathName(), "-o", locked.getChildFile("out.wav").getFullPathName() });
    EXPECT_EQ(result.exitCode, 4);
    EXPECT_TRUE(result.err.contains("permission denied")) << result.err;
    EXPECT_EQ(locked.getNumberOfChildFiles(juce::File::findFilesAndDirectories), 0);
}

// ---------------------------------------------------------------------------
// Determinism.

TEST(Renderer, OutputDoesNotDependOnTheHostBlockSize)
{
    const auto folder = folderFor("blocks");
    const auto input = folder.getChildFile("in.wav");
    ASSERT_TRUE(writeWav(input, makeBurst(2, 48000.0, 0.3, 2), 48000.0));

    // Settings away from the defaults, so that every stage of the chain works.
    const juce::StringArray settings { "--set", "mix=60", "--set", "highCut=6000", "--set", "lowCut=120",
                                       "--set", "tilt=0.3", "--set", "predelayMs=35", "--set", "size=8",
                                       "--set", "decay=1.2 sec", "--seed", "5", "--tail", "0.5" };
    juce::Array<juce::File> outputs;
    for (const int block : { 1, 64, 512, 4096 })
    {
        const auto out = folder.getChildFile("out" + juce::String(block) + ".wav");
        auto args = juce::StringArray { input.getFullPathName(), "-o", out.getFullPathName(), "--block", juce::String(block) };
        args.addArray(settings);
        const auto result = runTool(tool, args);
        ASSERT_EQ(result.exitCode, 0) << result.err;
        outputs.add(out);
    }
    for (int i = 1; i < outputs.size(); ++i)
        EXPECT_TRUE(sameBytes(outputs[0], outputs[i])) << outputs[i].getFileName() << " differs from block 1";
}

TEST(Renderer, SameSeedGivesIdenticalFilesAndAnotherSeedDoesNot)
{
    const auto folder = folderFor("seed");
    const auto input = folder.getChildFile("in.wav");
    ASSERT_TRUE(writeWav(input, makeBurst(2, 44100.0, 0.3, 3), 44100.0));

    auto render = [&](const char* name, const char* seed, const char* bits)
    {
        const auto out = folder.getChildFile(name);
        const auto result = runTool(tool, { input.getFullPathName(), "-o", out.getFullPathName(), "--set", "mix=100",
                                            "--seed", seed, "--bits", bits, "--tail", "auto", "--quiet" });
        EXPECT_EQ(result.exitCode, 0) << result.err;
        return out;
    };
    // The automatic tail and the dither are part of what must repeat.
    EXPECT_TRUE(sameBytes(render("a.wav", "11", "24"), render("b.wav", "11", "24")));
    EXPECT_TRUE(sameBytes(render("c.wav", "11", "32"), render("d.wav", "11", "32")));
    EXPECT_FALSE(sameBytes(render("c.wav", "11", "32"), render("e.wav", "12", "32")))
        << "the seed does not reach the reverb's random draws";
}

// ---------------------------------------------------------------------------
// The tool runs the plug-in's own processor: driven directly here with the same
// settings (typed in as plain values computed by hand from the value texts), the
// same seed and the same host blocks, it gives the very same samples.

struct DirectCase
{
    const char* name;
    int channels;
    double sampleRate;
    int block;
};

void PrintTo(const DirectCase& c, std::ostream* os) { *os << c.name; }

class RendererVersusProcessor : public testing::TestWithParam<DirectCase>
{
};

TEST_P(RendererVersusProcessor, BitIdentical)
{
    const auto& c = GetParam();
    const auto folder = folderFor(juce::String("direct_") + c.name);
    const auto input = folder.getChildFile("in.wav");
    const auto dry = makeBurst(c.channels, c.sampleRate, 0.25, 4);
    ASSERT_TRUE(writeWav(input, dry, c.sampleRate));

    const double tailSeconds = 0.75;
    const auto out = folder.getChildFile("out.wav");
    const auto result = runTool(tool, { input.getFullPathName(), "-o", out.getFullPathName(), "--block", juce::String(c.block),
                                        "--seed", "9", "--tail", juce::String(tailSeconds), "--json",
                                        "--set", "mix=60", "--set", "decay=1.3 sec", "--set", "size=15",
                                        "--set", "diffusion=@0.25", "--set", "predelayMs=12", "--set", "highCut=8000" });
    ASSERT_EQ(result.exitCode, 0) << result.err;

    // decay 1.3 s = 0.5 + 2 v^2 gives v = 0.632; 15 m = 2 + 18 v gives v = 0.72.
    SonarisAudioProcessor processor;
    auto& state = processor.getValueTreeState();
    for (const auto& [id, plain] : { std::pair { "mix", 0.6f }, { "decay", 0.632f }, { "size", 0.72f },
                                     { "diffusion", 0.25f }, { "predelayMs", 12.0f }, { "highCut", 8000.0f } })
        setPlainValue(state, id, plain);
    processor.setRandomSeed(9);
    juce::AudioProcessor::BusesLayout layout;
    const auto set = c.channels == 1 ? juce::AudioChannelSet::mono() : juce::AudioChannelSet::stereo();
    layout.inputBuses.add(set);
    layout.outputBuses.add(set);
    ASSERT_TRUE(processor.setBusesLayout(layout));
    processor.prepareToPlay(c.sampleRate, c.block);

    juce::AudioBuffer<float> padded(c.channels, dry.getNumSamples() + (int) std::llround(tailSeconds * c.sampleRate));
    padded.clear();
    for (int ch = 0; ch < c.channels; ++ch)
        padded.copyFrom(ch, 0, dry, ch, 0, dry.getNumSamples());
    const auto direct = renderThrough(processor, padded, [&](int) { return c.block; });

    double rate = 0.0;
    const auto rendered = readAudio(out, &rate);
    EXPECT_EQ(rate, c.sampleRate);
    ASSERT_EQ(rendered.getNumChannels(), c.channels);
    ASSERT_EQ(rendered.getNumSamples(), direct.getNumSamples());
    EXPECT_TRUE(bitIdentical(rendered, direct));

    // The summary reports what was set, with the plug-in's own texts, and the
    // levels of what was written.
    const auto summary = parseJson(result.out);
    const auto settings = summary["settings"];
    EXPECT_EQ(settings["decay"]["text"].toString(), "1.30 sec");
    EXPECT_EQ(settings["size"]["text"].toString(), "15");
    EXPECT_EQ(settings["mix"]["text"].toString(), "60.0");
    EXPECT_NEAR((double) settings["diffusion"]["value"], 0.25, 1e-6);
    EXPECT_NEAR((double) summary["peak"], direct.getMagnitude(0, direct.getNumSamples()), 1e-6);
    double energy = 0.0;
    for (int ch = 0; ch < c.channels; ++ch)
        for (int i = 0; i < direct.getNumSamples(); ++i)
            energy += (double) direct.getSample(ch, i) * direct.getSample(ch, i);
    EXPECT_NEAR((double) summary["rms"], std::sqrt(energy / (c.channels * (double) direct.getNumSamples())), 1e-6);
    EXPECT_GT((double) summary["realTimeFactor"], 0.0);
}

INSTANTIATE_TEST_SUITE_P(Cases, RendererVersusProcessor,
                         testing::Values(DirectCase { "Stereo48k", 2, 48000.0, 256 },
                                         DirectCase { "Mono44k", 1, 44100.0, 100 },
                                         DirectCase { "Stereo96kOddBlock", 2, 96000.0, 333 }),
                         [](const testing::TestParamInfo<DirectCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Presets: what the tool saves is what the plug-in restores, and back.

TEST(RendererPreset, SavedByTheToolRestoresInTheProcessor)
{
    const auto folder = folderFor("preset_out");
    const auto preset = folder.getChildFile("long.brisa");
    const auto result = runTool(tool, { "--set", "decay=2.5 sec", "--set", "mix=25", "--set", "lowCut=200",
                                        "--set", "tilt=@0.75", "--save-preset", preset.getFullPathName() });
    ASSERT_EQ(result.exitCode, 0) << result.err;

    juce::MemoryBlock blob;
    ASSERT_TRUE(preset.loadFileAsData(blob));
    ASSERT_GE(blob.getSize(), 9u);
    EXPECT_EQ(juce::ByteOrder::littleEndianInt(blob.getData()), 0x21324356u); // the plug-in's own blob

    SonarisAudioProcessor processor;
    processor.setStateInformation(blob.getData(), (int) blob.getSize());
    auto& state = processor.getValueTreeState();
    EXPECT_FLOAT_EQ(state.getRawParameterValue("decay")->load(), 1.0f);
    EXPECT_FLOAT_EQ(state.getRawParameterValue("mix")->load(), 0.25f);
    EXPECT_FLOAT_EQ(state.getRawParameterValue("lowCut")->load(), 200.0f);
    EXPECT_FLOAT_EQ(state.getRawParameterValue("tilt")->load(), 0.75f);
    EXPECT_FLOAT_EQ(state.getRawParameterValue("size")->load(), 0.5f); // untouched: default

    // Saved again by the plug-in: the same bytes.
    juce::MemoryBlock again;
    processor.getStateInformation(again);
    EXPECT_EQ(again, blob);
}

TEST(RendererPreset, SavedByTheProcessorLoadsInTheTool_BlobAndPlainXml)
{
    const auto folder = folderFor("preset_in");
    SonarisAudioProcessor processor;
    auto& state = processor.getValueTreeState();
    setPlainValue(state, "size", 0.1f);
    setPlainValue(state, "predelayMs", 100.0f);
    setPlainValue(state, "dampingIntensity", 0.9f);
    juce::MemoryBlock blob;
    processor.getStateInformation(blob);

    const auto blobFile = folder.getChildFile("state.brisa");
    ASSERT_TRUE(blobFile.replaceWithData(blob.getData(), blob.getSize()));
    const auto xmlFile = folder.getChildFile("state.xml");
    ASSERT_TRUE(xmlFile.replaceWithText(state.copyState().createXml()->toString()));

    const auto input = folder.getChildFile("in.wav");
    ASSERT_TRUE(writeWav(input, makeBurst(1, 48000.0, 0.05, 5), 48000.0));
    for (const auto& file : { blobFile, xmlFile })
    {
        // A --set before the input must leave the input's name alone.
        const auto result = runTool(tool, { "--set", "mix=10", input.getFullPathName(), "-o", folder.getChildFile("out.wav").getFullPathName(),
                                            "--preset", file.getFullPathName(), "--tail", "0",
                                            "--json", "--save-preset", folder.getChildFile("again.brisa").getFullPathName() });
        ASSERT_EQ(result.exitCode, 0) << result.err;
        const auto settings = parseJson(result.out)["settings"];
        EXPECT_EQ(settings["size"]["text"].toString(), "3.8") << file.getFileName();
        EXPECT_EQ(settings["predelayMs"]["text"].toString(), "100") << file.getFileName();
        EXPECT_EQ(settings["dampingIntensity"]["text"].toString(), "90.0") << file.getFileName();
        EXPECT_EQ(settings["mix"]["text"].toString(), "10.0") << "--set comes after --preset";

        // The tool's own save of the loaded state restores the same values.
        juce::MemoryBlock saved;
        ASSERT_TRUE(folder.getChildFile("again.brisa").loadFileAsData(saved));
        SonarisAudioProcessor other;
        other.setStateInformation(saved.getData(), (int) saved.getSize());
        EXPECT_FLOAT_EQ(other.getValueTreeState().getRawParameterValue("size")->load(), 0.1f);
        EXPECT_FLOAT_EQ(other.getValueTreeState().getRawParameterValue("mix")->load(), 0.1f);
    }
}

// ---------------------------------------------------------------------------
// Output formats.

TEST(RendererFormats, IntegerOutputIsDitheredOntoTheGrid)
{
    const auto folder = folderFor("dither");
    // A constant a third of a 16-bit step above zero: plain rounding would give
    // silence, dither keeps it on average.
    const float level = (1.0f / 32768.0f) / 3.0f;
    juce::AudioBuffer<float> dc(1, 48000);
    for (int i = 0; i < dc.getNumSamples(); ++i)
        dc.setSample(0, i, level);
    const auto input = folder.getChildFile("in.wav");
    ASSERT_TRUE(writeWav(input, dc, 48000.0));

    for (const char* name : { "out.wav", "out.aiff", "out.flac" })
    {
        const auto out = folder.getChildFile(name);
        const auto result = runTool(tool, { input.getFullPathName(), "-o", out.getFullPathName(), "--set", "mix=0",
                                            "--bits", "16", "--tail", "0", "--seed", "1" });
        ASSERT_EQ(result.exitCode, 0) << result.err;
        const auto audio = readAudio(out);
        ASSERT_EQ(audio.getNumSamples(), dc.getNumSamples()) << name;
        double sum = 0.0;
        int distinct = 0;
        for (int i = 0; i < audio.getNumSamples(); ++i)
        {
            const double steps = audio.getSample(0, i) * 32768.0;
            EXPECT_NEAR(steps, std::round(steps), 1e-6) << name << " sample " << i;
            EXPECT_LE(std::abs(steps), 2.0) << name; // TPDF spans ±1 step around the value
            sum += audio.getSample(0, i);
            distinct += (i > 0 && audio.getSample(0, i) != audio.getSample(0, i - 1)) ? 1 : 0;
        }
        EXPECT_NEAR(sum / audio.getNumSamples() / level, 1.0, 0.1) << name;
        EXPECT_GT(distinct, 1000) << name;
    }

    // Without --bits, WAV holds the samples as 32-bit float: bit for bit.
    const auto out = folder.getChildFile("float.wav");
    ASSERT_EQ(runTool(tool, { input.getFullPathName(), "-o", out.getFullPathName(), "--set", "mix=0", "--tail", "0" }).exitCode, 0);
    EXPECT_TRUE(bitIdentical(readAudio(out), dc));
}

// ---------------------------------------------------------------------------
// The impulse response and its plot.

TEST(RendererDecay, MeasuresAnExponentialDecayItKnows)
{
    // Noise under a 1.5 s (−60 dB) envelope: the measurement must find 1.5 s.
    const double rate = 48000.0, t60 = 1.5;
    juce::AudioBuffer<float> response(2, (int) (rate * 3.0));
    juce::Random random(3);
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < response.getNumSamples(); ++i)
            response.setSample(c, i, (random.nextFloat() * 2.0f - 1.0f) * (float) std::pow(10.0, -3.0 * i / (rate * t60)));
    const double measured = DecayAnalysis::decayTimeSeconds(DecayAnalysis::energyDecayCurveDb(response), rate);
    EXPECT_NEAR(measured, t60, 0.03 * t60);

    // A response that never falls by 35 dB has no measurable decay.
    juce::AudioBuffer<float> flat(1, 1000);
    for (int i = 0; i < 1000; ++i)
        flat.setSample(0, i, 0.5f);
    EXPECT_GT(DecayAnalysis::energyDecayCurveDb(flat).back(), -35.0);
    EXPECT_EQ(DecayAnalysis::decayTimeSeconds(DecayAnalysis::energyDecayCurveDb(flat), rate), 0.0);
}

struct DecaySetting
{
    const char* name;
    const char* value;
    double seconds; // what the setting asks for: 0.5 + 2 v^2
};

void PrintTo(const DecaySetting& c, std::ostream* os) { *os << c.name << " (" << c.seconds << " s)"; }

class RendererImpulse : public testing::TestWithParam<DecaySetting>
{
};

// Tolerance as established for the room on its own: with the default damping the
// high frequencies die sooner, and the broadband time comes out below the set time,
// by up to a quarter (−25 % … 0 %).
TEST_P(RendererImpulse, PlotsTheMeasuredDecayNearTheSetTime)
{
    const auto& c = GetParam();
    const auto folder = folderFor(juce::String("impulse_") + c.name);
    const auto ir = folder.getChildFile("ir.wav"), plot = folder.getChildFile("ir.png");
    const auto result = runTool(tool, { "--impulse", "-o", ir.getFullPathName(), "--plot", plot.getFullPathName(),
                                        "--set", juce::String("decay=") + c.value, "--seed", "3", "--json" });
    ASSERT_EQ(result.exitCode, 0) << result.err;

    const auto summary = parseJson(result.out);
    EXPECT_EQ(summary["settings"]["mix"]["text"].toString(), "100.0");
    EXPECT_NEAR((double) summary["decaySetSeconds"], c.seconds, 1e-9);
    const double measured = summary["decayMeasuredSeconds"];
    EXPECT_GE(measured / c.seconds, 0.75) << "measured " << measured << " s";
    EXPECT_LE(measured / c.seconds, 1.0) << "measured " << measured << " s";

    // The number in the summary is the one measured on the written file.
    const auto response = readAudio(ir);
    ASSERT_GT(response.getNumSamples(), 0);
    EXPECT_NEAR(DecayAnalysis::decayTimeSeconds(DecayAnalysis::energyDecayCurveDb(response), 48000.0), measured, 1e-6);
    // The automatic tail ends once the response has stayed below −90 dBFS for 0.5 s.
    const int quiet = 24000;
    const float quietLevel = juce::Decibels::decibelsToGain(-90.0f);
    ASSERT_GT(response.getNumSamples(), quiet);
    const int lastQuietRun = response.getNumSamples() - quiet;
    EXPECT_LT(response.getMagnitude(lastQuietRun, quiet), quietLevel);
    EXPECT_GE(response.getMagnitude(lastQuietRun - 1, 1), quietLevel);

    const auto image = juce::ImageFileFormat::loadFrom(plot);
    ASSERT_TRUE(image.isValid());
    EXPECT_EQ(image.getWidth(), 1200);
    EXPECT_GT(image.getHeight(), 800);
}

INSTANTIATE_TEST_SUITE_P(Decay, RendererImpulse,
                         testing::Values(DecaySetting { "Shortest", "@0", 0.5 }, DecaySetting { "Longest", "@1", 2.5 }),
                         [](const testing::TestParamInfo<DecaySetting>& info) { return std::string(info.param.name); });
