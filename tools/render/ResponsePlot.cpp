#include "ResponsePlot.h"

#include "DecayAnalysis.h"
#include "RenderError.h"
#include "Spectrogram.h"

#include <cmath>

namespace
{
const juce::Colour background { 0xff14161b };
const juce::Colour panelColour { 0xff1d2027 };
const juce::Colour gridColour { 0xff353944 };
const juce::Colour textColour { 0xffd8dbe2 };
const juce::Colour dimText { 0xff8e94a3 };
const juce::Colour inputColour { 0xff7aa2f7 };
const juce::Colour outputColour { 0xfff7b267 };
const juce::Colour setColour { 0xff9ece6a };
const juce::Colour measuredColour { 0xfff7768e };

constexpr int margin = 64;
constexpr int panelHeight = 260;
constexpr int panelGap = 46;
constexpr int header = 48;
constexpr float floorDb = -100.0f;

juce::Font font(float height, bool bold = false)
{
    return juce::Font(height, bold ? juce::Font::bold : juce::Font::plain);
}

/** One framed plot area with a time axis and a vertical axis. */
struct Panel
{
    juce::Rectangle<float> area;
    double seconds;
    float top, bottom; // vertical axis values at the top and bottom edge

    float x(double t) const { return area.getX() + (float) (t / seconds) * area.getWidth(); }
    float y(float value) const
    {
        const float v = juce::jlimit(bottom, top, value);
        return area.getY() + (top - v) / (top - bottom) * area.getHeight();
    }
};

double niceStep(double range, int wanted)
{
    const double raw = range / wanted;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : { 1.0, 2.0, 5.0, 10.0 })
        if (raw <= m * power)
            return m * power;
    return 10.0 * power;
}

void drawFrame(juce::Graphics& g, const Panel& panel, const juce::String& title, const juce::String& unit,
               float verticalStep)
{
    g.setColour(panelColour);
    g.fillRect(panel.area);

    g.setFont(font(13.0f));
    const double timeStep = niceStep(panel.seconds, 10);
    for (double t = 0.0; t <= panel.seconds + 1.0e-9; t += timeStep)
    {
        const float px = panel.x(t);
        g.setColour(gridColour);
        g.drawVerticalLine((int) px, panel.area.getY(), panel.area.getBottom());
        g.setColour(dimText);
        g.drawText(juce::String(t, timeStep < 0.1 ? 2 : (timeStep < 1.0 ? 1 : 0)) + " s",
                   juce::Rectangle<float>(px - 30.0f, panel.area.getBottom() + 2.0f, 60.0f, 16.0f),
                   juce::Justification::centred);
    }
    if (verticalStep > 0.0f)
    {
        for (float v = panel.top; v >= panel.bottom - 1.0e-3f; v -= verticalStep)
        {
            const float py = panel.y(v);
            g.setColour(gridColour);
            g.drawHorizontalLine((int) py, panel.area.getX(), panel.area.getRight());
            g.setColour(dimText);
            g.drawText(juce::String((int) std::lround(v)) + " " + unit,
                       juce::Rectangle<float>(2.0f, py - 8.0f, (float) margin - 8.0f, 16.0f),
                       juce::Justification::centredRight);
        }
    }

    g.setColour(textColour);
    g.setFont(font(15.0f, true));
    g.drawText(title, juce::Rectangle<float>(panel.area.getX(), panel.area.getY() - 22.0f, panel.area.getWidth(), 20.0f),
               juce::Justification::centredLeft);
}

void drawCurve(juce::Graphics& g, const Panel& panel, const std::vector<float>& values, double secondsPerValue,
               juce::Colour colour)
{
    juce::Path path;
    bool started = false;
    for (size_t i = 0; i < values.size(); ++i)
    {
        const float px = panel.x((double) i * secondsPerValue);
        const float py = panel.y(values[i]);
        if (! started)
            path.startNewSubPath(px, py);
        else
            path.lineTo(px, py);
        started = true;
    }
    g.setColour(colour);
    g.strokePath(path, juce::PathStrokeType(1.6f));
}

void drawLegend(juce::Graphics& g, const Panel& panel, const std::vector<std::pair<juce::String, juce::Colour>>& items)
{
    g.setFont(font(13.0f));
    float y = panel.area.getY() + 8.0f;
    for (const auto& [text, colour] : items)
    {
        const float x = panel.area.getRight() - 330.0f;
        g.setColour(colour);
        g.fillRect(x, y + 6.0f, 18.0f, 3.0f);
        g.setColour(textColour);
        g.drawText(text, juce::Rectangle<float>(x + 26.0f, y, 300.0f, 16.0f), juce::Justification::centredLeft);
        y += 18.0f;
    }
}

juce::Colour heat(float level) // 0 … 1
{
    static const juce::ColourGradient gradient = []
    {
        juce::ColourGradient gr(juce::Colour(0xff0b0b14), 0.0f, 0.0f, juce::Colour(0xfffcfdbf), 1.0f, 0.0f, false);
        gr.addColour(0.3, juce::Colour(0xff3b0f70));
        gr.addColour(0.55, juce::Colour(0xff8c2981));
        gr.addColour(0.75, juce::Colour(0xffde4968));
        gr.addColour(0.9, juce::Colour(0xfffe9f6d));
        return gr;
    }();
    return gradient.getColourAtPosition(juce::jlimit(0.0, 1.0, (double) level));
}

void drawSpectrogram(juce::Graphics& g, juce::Image& image, const Panel& panel, const juce::AudioBuffer<float>& audio,
                     double sampleRate, const juce::String& title)
{
    drawFrame(g, panel, title, {}, 0.0f);

    const int left = (int) panel.area.getX(), top = (int) panel.area.getY();
    const int w = (int) panel.area.getWidth(), h = (int) panel.area.getHeight();
    const int usedColumns = juce::jmax(1, (int) std::lround(w * (audio.getNumSamples() / sampleRate) / panel.seconds));
    const Spectrogram spectrogram(audio, sampleRate, usedColumns);
    if (spectrogram.getNumColumns() == 0)
        return;

    const double lowest = 20.0, highest = sampleRate * 0.5;
    // Colours span 100 dB below the loudest bin, so a quiet response shows as well as a loud one.
    const float rangeDb = 100.0f;
    const float topDb = spectrogram.maximumLevelDb();
    {
        juce::Image::BitmapData pixels(image, left, top, w, h, juce::Image::BitmapData::writeOnly);
        for (int py = 0; py < h; ++py)
        {
            // Logarithmic frequency axis, low at the bottom.
            const double frequency = lowest * std::pow(highest / lowest, 1.0 - (py + 0.5) / h);
            for (int px = 0; px < juce::jmin(w, usedColumns); ++px)
            {
                const int column = (int) ((double) px / usedColumns * spectrogram.getNumColumns());
                const float level = spectrogram.levelDb(column, frequency);
                pixels.setPixelColour(px, py, heat((level - topDb + rangeDb) / rangeDb));
            }
        }
    }

    g.setFont(font(13.0f));
    for (const double f : { 50.0, 100.0, 200.0, 500.0, 1000.0, 2000.0, 5000.0, 10000.0, 20000.0 })
    {
        if (f >= highest)
            continue;
        const float py = panel.area.getY()
                       + (float) (1.0 - std::log(f / lowest) / std::log(highest / lowest)) * panel.area.getHeight();
        g.setColour(juce::Colours::white.withAlpha(0.18f));
        g.drawHorizontalLine((int) py, panel.area.getX(), panel.area.getRight());
        g.setColour(dimText);
        g.drawText(f >= 1000.0 ? juce::String(f / 1000.0, 0) + " kHz" : juce::String((int) f) + " Hz",
                   juce::Rectangle<float>(2.0f, py - 8.0f, (float) margin - 8.0f, 16.0f),
                   juce::Justification::centredRight);
    }
}

juce::Image makeCanvas(int panels, const juce::String& title, juce::Graphics*& graphics,
                       std::unique_ptr<juce::Graphics>& owner)
{
    juce::Image image(juce::Image::ARGB, ResponsePlot::width, header + panels * (panelHeight + panelGap) + 10, true);
    owner = std::make_unique<juce::Graphics>(image);
    graphics = owner.get();
    graphics->fillAll(background);
    graphics->setColour(textColour);
    graphics->setFont(font(20.0f, true));
    graphics->drawText(title, juce::Rectangle<int>(margin, 10, ResponsePlot::width - 2 * margin, 28),
                       juce::Justification::centredLeft);
    return image;
}

Panel panelAt(int index, double seconds, float top, float bottom)
{
    const float y = (float) (header + panelGap - 12 + index * (panelHeight + panelGap));
    return { { (float) margin, y, (float) (ResponsePlot::width - margin - 24), (float) panelHeight },
             seconds, top, bottom };
}

int envelopeWindow(double sampleRate)
{
    return juce::jmax(1, (int) (sampleRate * 0.005)); // 5 ms
}
} // namespace

juce::Image ResponsePlot::drawImpulseResponse(const juce::AudioBuffer<float>& response, double sampleRate,
                                              const juce::String& title, DecayTimes decay)
{
    juce::Graphics* g = nullptr;
    std::unique_ptr<juce::Graphics> owner;
    auto image = makeCanvas(3, title, g, owner);
    const double seconds = juce::jmax(0.01, response.getNumSamples() / sampleRate);

    // 1: level envelope.
    const auto envelopePanel = panelAt(0, seconds, 0.0f, floorDb);
    drawFrame(*g, envelopePanel, "Level envelope (RMS, 5 ms windows)", "dB", 20.0f);
    const int window = envelopeWindow(sampleRate);
    drawCurve(*g, envelopePanel, DecayAnalysis::envelopeDb(response, window), window / sampleRate, outputColour);

    // 2: energy decay curve with the fitted and the asked-for decay.
    const auto edcPanel = panelAt(1, seconds, 0.0f, floorDb);
    drawFrame(*g, edcPanel, "Energy decay curve (Schroeder integration)", "dB", 20.0f);
    const auto curve = DecayAnalysis::energyDecayCurveDb(response);
    std::vector<float> decimated;
    const int step = juce::jmax(1, (int) curve.size() / 2000);
    for (size_t i = 0; i < curve.size(); i += (size_t) step)
        decimated.push_back(std::isfinite(curve[i]) ? (float) curve[i] : floorDb);
    drawCurve(*g, edcPanel, decimated, step / sampleRate, outputColour);

    const auto fit = DecayAnalysis::fitDecay(curve, sampleRate);
    auto line = [&](double slope, juce::Colour colour, bool dashed)
    {
        // From the −5 dB point down to the floor.
        const double t0 = fit.startSeconds, y0 = fit.valid ? fit.startDb : -5.0;
        const double t1 = juce::jmin(seconds, t0 + (floorDb - y0) / slope);
        const juce::Line<float> l(edcPanel.x(t0), edcPanel.y((float) y0), edcPanel.x(t1),
                                  edcPanel.y((float) (y0 + slope * (t1 - t0))));
        g->setColour(colour);
        if (dashed)
        {
            const float dashes[] = { 6.0f, 4.0f };
            g->drawDashedLine(l, dashes, 2, 1.6f);
        }
        else
            g->drawLine(l, 1.6f);
    };
    if (decay.setSeconds > 0.0)
        line(-60.0 / decay.setSeconds, setColour, true);
    if (fit.valid)
        line(fit.slopeDbPerSecond, measuredColour, false);

    g->setColour(dimText);
    const float minus60 = edcPanel.y(-60.0f);
    const float dashes[] = { 2.0f, 4.0f };
    g->drawDashedLine({ edcPanel.area.getX(), minus60, edcPanel.area.getRight(), minus60 }, dashes, 2, 1.0f);

    drawLegend(*g, edcPanel,
               { { "energy decay curve", outputColour },
                 { "measured decay (-60 dB): "
                       + (decay.measuredSeconds > 0.0 ? juce::String(decay.measuredSeconds, 2) + " s" : juce::String("n/a")),
                   measuredColour },
                 { "set decay time: " + juce::String(decay.setSeconds, 2) + " s", setColour } });

    // 3: spectrogram.
    drawSpectrogram(*g, image, panelAt(2, seconds, 1.0f, 0.0f), response, sampleRate, "Spectrogram");
    owner.reset();
    return image;
}

juce::Image ResponsePlot::drawRender(const juce::AudioBuffer<float>& input, const juce::AudioBuffer<float>& output,
                                     double sampleRate, const juce::String& title)
{
    juce::Graphics* g = nullptr;
    std::unique_ptr<juce::Graphics> owner;
    auto image = makeCanvas(3, title, g, owner);
    const double seconds = juce::jmax(0.01, juce::jmax(input.getNumSamples(), output.getNumSamples()) / sampleRate);

    const auto envelopePanel = panelAt(0, seconds, 0.0f, floorDb);
    drawFrame(*g, envelopePanel, "Level envelopes (RMS, 5 ms windows)", "dB", 20.0f);
    const int window = envelopeWindow(sampleRate);
    drawCurve(*g, envelopePanel, DecayAnalysis::envelopeDb(input, window), window / sampleRate, inputColour);
    drawCurve(*g, envelopePanel, DecayAnalysis::envelopeDb(output, window), window / sampleRate, outputColour);
    drawLegend(*g, envelopePanel, { { "input", inputColour }, { "output", outputColour } });

    drawSpectrogram(*g, image, panelAt(1, seconds, 1.0f, 0.0f), input, sampleRate, "Input spectrogram");
    drawSpectrogram(*g, image, panelAt(2, seconds, 1.0f, 0.0f), output, sampleRate, "Output spectrogram");
    owner.reset();
    return image;
}

void ResponsePlot::savePng(const juce::Image& image, const juce::File& file)
{
    const auto path = file.getFullPathName().toStdString();
    if (! file.getParentDirectory().isDirectory())
        throw RenderError(RenderError::Kind::output, "cannot write plot " + path + ": no such folder");

    juce::TemporaryFile temporary(file, juce::TemporaryFile::useHiddenFile);
    {
        juce::FileOutputStream stream(temporary.getFile());
        juce::PNGImageFormat png;
        if (! stream.openedOk() || ! png.writeImageToStream(image, stream))
            throw RenderError(RenderError::Kind::output, "cannot write plot " + path);
        stream.flush();
        if (stream.getStatus().failed())
            throw RenderError(RenderError::Kind::output, "cannot write plot " + path);
    }
    if (! temporary.overwriteTargetFileWithTemporary())
        throw RenderError(RenderError::Kind::output, "cannot write plot " + path);
}
