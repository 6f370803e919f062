// The document's start, its title, and the operations that change the whole picture: colour
// depth, size, background colour, and the save-changes question.

#include "PictureDocument.h"

#include "Errors.h"

#include <algorithm>
#include <filesystem>

TPictureDocument::TPictureDocument(TModal& modal, TDocumentHost& host) : Modal_(modal), Host_(host) {
    // The document starts as the window does with no settings file: an empty picture of the
    // default size in the background colour.
    Picture_ = TBitmap(Options_.WidthPic, Options_.HeightPic, TPixelFormat::pf24bit);
    ApplyBackgroundColor();
    Picture_.FillRect(Bounds(0, 0, Options_.WidthPic, Options_.HeightPic));
}

std::string TPictureDocument::Title() const {
    if (Files_.Current.empty()) return "Tessimap";
    return "Tessimap - " + std::filesystem::path(Files_.Current).filename().string();
}

void TPictureDocument::ApplyBackgroundColor() {
    Picture_.Brush.Color = Options_.BackgroundColor;
    Picture_.Pen.Color = Options_.BackgroundColor;
    Float_.Bitmap.Brush.Color = Options_.BackgroundColor;
}

bool TPictureDocument::SetColorDepth(int bits) {
    const auto format = PixelFormatOfBits(bits);
    if (!format) return true;
    const bool pictureChanges = Picture_.PixelFormat() != *format;
    try {
        Picture_.SetPixelFormat(*format);
        if (pictureChanges) Host_.PictureResized();
        if (Float_.Active) {
            // The frame comes off first, so the pixels under it are converted too.
            RestoreFloatingEdges();
            Float_.Bitmap.SetPixelFormat(*format);
            SaveFloatingEdges();
            DrawFloatingFrame();
            Host_.FloatingChanged();
        } else {
            Float_.Bitmap.SetPixelFormat(*format);
        }
        Undo_.Bitmap.SetPixelFormat(*format);
    } catch (const EOutOfMemory&) {
        if (Float_.Active) DrawFloatingFrame();
        ShowOutOfMemory();
        return false;
    }
    return true;
}

bool TPictureDocument::ResizePicture(int width, int height, bool fill, int* oldWidth, int* oldHeight) {
    if (Float_.Active) StampFloating();
    if (oldWidth) *oldWidth = Picture_.Width() * Zoom();
    if (oldHeight) *oldHeight = Picture_.Height() * Zoom();
    bool resized = true;
    try {
        Picture_.SetSize(width, height);
        if (fill) Picture_.FillRect(Bounds(0, 0, width, height));
    } catch (const EOutOfMemory&) {
        ShowOutOfMemory();
        resized = false;
    }
    Host_.PictureResized();
    return resized;
}

bool TPictureDocument::AskSaveChanges() {
    switch (Modal_.AskYesNoCancel(Texts_.WarningTitle, Texts_.SaveChangesText)) {
    case TAnswer::No:
        Modified_ = false;
        return true;
    case TAnswer::Yes:
        if (Save()) return true;
        // The user asked to keep the picture: a cancelled dialog or a failed write stops the action.
        Modified_ = true;
        return false;
    case TAnswer::Cancel:
        break;
    }
    // A reflexive Escape must never cost the picture: nothing changes, the action does not happen.
    return false;
}

void TPictureDocument::ReportFailure(bool outOfMemory, const std::string& message) {
    if (outOfMemory) {
        ShowOutOfMemory();
        return;
    }
    Host_.SetWaitCursor(false);
    Modal_.ShowError(message);
}

void TPictureDocument::ShowOutOfMemory() {
    Host_.SetWaitCursor(false);
    Modal_.ShowMessage(Texts_.WarningTitle, Texts_.OutOfMemoryText);
}

void TPictureDocument::ReportPictureChanged(const TRect& area) {
    const TRect inside{std::max(area.Left, 0), std::max(area.Top, 0), std::min(area.Right, Picture_.Width()),
                       std::min(area.Bottom, Picture_.Height())};
    if (!inside.IsEmpty()) Host_.PictureChanged(inside.Left, inside.Top, inside.Right, inside.Bottom);
}
