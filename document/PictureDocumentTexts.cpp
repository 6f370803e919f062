// SPDX-License-Identifier: GPL-3.0-or-later
// The texts the document shows in its own messages and dialogs, in the chosen language.

#include "PictureDocument.h"

#include "LanguageTexts.h"

void TPictureDocument::ApplyLanguage(const TLanguageTexts& texts) {
    Texts_.WarningTitle = texts.TextUtf8("MessTit", "Warning");
    Texts_.SaveChangesText = texts.TextUtf8("Message1", "Save changes?");
    Texts_.OutOfMemoryText = texts.TextUtf8("Message2", "Out of memory, picture is too large!");
    Texts_.ColorLossText =
        texts.TextUtf8("Message3", "Some colors can be lost, do you really want to continue?");
    Texts_.OpenDialogTitle = texts.TextUtf8("OpenDlgTit", "Open picture");
    Texts_.SaveDialogTitle = texts.TextUtf8("SaveDlgTit", "Save picture");
    Texts_.DialogFilterText = texts.TextUtf8("DlgFilter", "bitmap pictures");
    Texts_.ExportGifCaption = texts.TextUtf8("MessTit2", "Export to GIF");
    Texts_.ExportPngCaption = texts.TextUtf8("MessTit3", "Export to PNG");
    Texts_.SavedToText = texts.TextUtf8("Message4", "The picture was saved to");
    Texts_.ExportOwnFileText =
        texts.TextUtf8("Message6", "Nothing was exported: the export would replace the picture's own file");
    Texts_.ReducedColorsText =
        texts.TextUtf8("Message7", "The picture had %1 colors; they were reduced to %2.");
    Texts_.DamagedPictureText =
        texts.TextUtf8("Message8", "The picture file %1 is damaged: only %2 of its %3 rows "
                                   "could be read. The rest of the picture is black.");
    Texts_.FixedTableText = texts.TextUtf8(
        "Message10", "The fixed table of 256 colors changed the picture's colors; %1 keeps them exactly.");
    // The switch as its menu shows it in this language.
    auto caption = [&](const char* key, const char* english) {
        std::string text = texts.TextUtf8(key, english);
        std::erase(text, '&');
        return text;
    };
    Texts_.ExactColorsItem =
        caption("Picture1", "Picture") + " > " + caption("ExactColors1", "Exact Colours");
    Texts_.DepthText = texts.TextUtf8("StatusDepth", "%1-bit");
}
