#pragma once

#include "RenderOptions.h"

/** Runs one invocation of the renderer. Problems are thrown as RenderError
    before any output file exists, or leave no partial file behind. */
class RenderCommand
{
public:
    explicit RenderCommand(RenderOptions optionsToUse);

    /** Returns the exit code (0); throws RenderError. */
    int run();

private:
    int writeDemoInput();

    RenderOptions options;
};
