#pragma once

#include <juce_core/juce_core.h>

/** A one-line progress bar on stderr, drawn only when stderr is a terminal. */
class ProgressBar
{
public:
    explicit ProgressBar(bool enabled);
    ~ProgressBar();

    void update(double fraction);
    void finish();

    static bool stderrIsTerminal();

private:
    bool active;
    bool drawn = false;
    double lastDrawn = 0.0;
    int lastPercent = -1;
};
