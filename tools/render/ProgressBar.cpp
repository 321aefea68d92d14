#include "ProgressBar.h"

#include <cstdio>
#include <unistd.h>

bool ProgressBar::stderrIsTerminal()
{
    return isatty(fileno(stderr)) != 0;
}

ProgressBar::ProgressBar(bool enabled) : active(enabled && stderrIsTerminal())
{
}

ProgressBar::~ProgressBar()
{
    finish();
}

void ProgressBar::update(double fraction)
{
    if (! active)
        return;

    const int percent = juce::jlimit(0, 100, (int) (fraction * 100.0));
    const double now = juce::Time::getMillisecondCounterHiRes();
    if (percent == lastPercent || (now - lastDrawn < 100.0 && percent < 100))
        return;

    constexpr int width = 40;
    const int filled = percent * width / 100;
    char bar[width + 1];
    for (int i = 0; i < width; ++i)
        bar[i] = i < filled ? '#' : '-';
    bar[width] = 0;
    std::fprintf(stderr, "\rrendering [%s] %3d%%", bar, percent);
    std::fflush(stderr);
    drawn = true;
    lastDrawn = now;
    lastPercent = percent;
}

void ProgressBar::finish()
{
    if (drawn)
    {
        std::fprintf(stderr, "\r%60s\r", "");
        std::fflush(stderr);
        drawn = false;
    }
}
