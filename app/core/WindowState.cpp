// What the window's 50 ms refresh reads from the document: enabled commands, status texts.

#include "PictureDocument.h"

#include <algorithm>

TCommandStates TPictureDocument::CommandStates(bool clipboardHasBitmap) const {
    TCommandStates states;
    states.Undo = UndoAvailable;
    states.Paste = clipboardHasBitmap;
    states.FloatingCommands = Floating;
    states.Export = !CurrentFile.empty();
    return states;
}

std::array<std::string, 3> TPictureDocument::StatusTexts() const {
    const int width = Picture.Width() * ZoomFactor;
    const int height = Picture.Height() * ZoomFactor;
    std::array<std::string, 3> texts;
    texts[0] = " " + std::to_string(width) + " x " + std::to_string(height) + " x " +
               std::to_string(Picture.BitsPerPixel()) + "-bit";
    texts[1] = CursorText;
    if (Floating || Selecting) texts[2] = std::to_string(FloatWidth) + " x " + std::to_string(FloatHeight);
    return texts;
}

int TPictureDocument::EffectiveStepX() const {
    return std::max(StepX, 1);
}
int TPictureDocument::EffectiveStepY() const {
    return std::max(StepY, 1);
}
