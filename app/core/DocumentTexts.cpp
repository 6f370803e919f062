// The texts the document shows in its own messages and dialogs, in the chosen language.

#include "PictureDocument.h"

#include "LanguageTexts.h"

void TPictureDocument::ApplyLanguage(const TLanguageTexts& texts) {
    WarningTitle = texts.TextUtf8("MessTit", "Warning");
    SaveChangesText = texts.TextUtf8("Message1", "Save changes?");
    OutOfMemoryText = texts.TextUtf8("Message2", "Out of memory, picture is too large!");
    ColorLossText = texts.TextUtf8("Message3", "Some colors can be lost, do you realy want to continue?");
    OpenDialogTitle = texts.TextUtf8("OpenDlgTit", "Open picture");
    SaveDialogTitle = texts.TextUtf8("SaveDlgTit", "Save picture");
    DialogFilterText = texts.TextUtf8("DlgFilter", "bitmap pictures");
    ExportGifCaption = texts.TextUtf8("MessTit2", "Export to GIF");
    ExportPngCaption = texts.TextUtf8("MessTit3", "Export to PNG");
    SavedToText = texts.TextUtf8("Message4", "The picture was saved to");
    ExportOwnFileText =
        texts.TextUtf8("Message6", "Nothing was exported: the export would replace the picture's own file");
}
