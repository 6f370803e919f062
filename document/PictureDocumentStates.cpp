// SPDX-License-Identifier: GPL-3.0-or-later
// What the window's 50 ms refresh reads from the document: enabled commands, status texts.

#include "PictureDocument.h"

#include <algorithm>

TCommandStates TPictureDocument::CommandStates(bool clipboardHasBitmap) const {
    TCommandStates states;
    states.Undo = History_.CanUndo();
    states.Redo = History_.CanRedo();
    states.Paste = clipboardHasBitmap;
    states.FloatingCommands = Float_.Active;
    states.Export = !Files_.Current.empty();
    return states;
}

std::array<std::string, 3> TPictureDocument::StatusTexts() const {
    const int width = Picture_.Width();
    const int height = Picture_.Height();
    std::array<std::string, 3> texts;
    std::string depth = Texts_.DepthText;
    if (const std::size_t mark = depth.find("%1"); mark != std::string::npos)
        depth.replace(mark, 2, std::to_string(Picture_.BitsPerPixel()));
    texts[0] = " " + std::to_string(width) + " x " + std::to_string(height) + " x " + depth;
    if (Float_.Active || Selection_.Active)
        texts[2] = std::to_string(Float_.Width) + " x " + std::to_string(Float_.Height) +
                   " (X=" + std::to_string(Float_.Left) + ", Y=" + std::to_string(Float_.Top) + ")";
    return texts;
}

int TPictureDocument::EffectiveStepX() const {
    return std::max(StepX_, 1);
}
int TPictureDocument::EffectiveStepY() const {
    return std::max(StepY_, 1);
}
