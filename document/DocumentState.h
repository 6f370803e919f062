// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Bitmap.h"

#include <string>

// The small value types the picture document keeps its state in. The document hands them out
// read-only; only its own operations change them, so their combinations stay the ones those
// operations make.

// The image floating over the picture (Image2): pasted, lifted from a selection, or being
// dragged out as a rubber band. Positions and sizes are in picture pixels.
struct TFloatingImage {
    bool Active = false;             // an image floats and the next click or Enter stamps it
    bool Shown = false;              // Image2 visible and enabled (also while a selection is dragged)
    bool DisplayTransparent = false; // Image2 lets the picture show through TransparentColor
    TBitmap Bitmap;                  // the bitmap of Image2, its frame drawn in; also the export's scratch
    int Left = 0;                    // its top-left corner in the picture
    int Top = 0;
    int Width = 0; // its size
    int Height = 0;
    int GrabX = 0; // where the left button took hold of Image2, inside it
    int GrabY = 0;
    // The one-pixel strips under the frame: the only copy of the pixels it covers.
    TBitmap EdgeLeft, EdgeTop, EdgeRight, EdgeBottom;
};

// The rubber band of a selection being dragged on the picture, in picture pixels.
struct TSelectionDrag {
    bool Active = false;
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int AnchorX = 0, AnchorY = 0; // where the drag began
};

// The texts the document shows in its own messages and dialogs; English until a language is chosen.
struct TDocumentTexts {
    std::string WarningTitle = "Warning";
    std::string SaveChangesText = "Save changes?";
    std::string OutOfMemoryText = "Out of memory, picture is too large!";
    std::string ColorLossText = "Some colors can be lost, do you really want to continue?";
    std::string OpenDialogTitle = "Open picture";
    std::string SaveDialogTitle = "Save picture";
    std::string DialogFilterText = "bitmap pictures";
    std::string ExportGifCaption = "Export to GIF";
    std::string ExportPngCaption = "Export to PNG";
    std::string SavedToText = "The picture was saved to";
    std::string ExportOwnFileText = "Nothing was exported: the export would replace the picture's own file";
    // After an export with the picture's own colours that had to reduce them: %1 the picture's
    // colours, %2 the file's.
    std::string ReducedColorsText = "The picture had %1 colors; they were reduced to %2.";
    // %1 the file, %2 the rows read, %3 the rows it should hold.
    // Added to the export message when the fixed table changed a picture of at most 256 colours;
    // %1 names the switch that keeps them.
    std::string FixedTableText =
        "The fixed table of 256 colors changed the picture's colors; %1 keeps them exactly.";
    std::string ExactColorsItem = "Picture > Exact Colours";
    std::string DepthText = "%1-bit"; // the status bar's colour depth
    std::string DamagedPictureText = "The picture file %1 is damaged: only %2 of its %3 rows could be read. "
                                     "The rest of the picture is black.";
};

// The picture's file and the folders the open and save dialogs start in.
struct TPictureFiles {
    std::string Current; // empty for a picture never saved
    std::string OpenFolder;
    std::string SaveFolder;
    std::string DefaultFolder; // the user's pictures, given by the window
};
