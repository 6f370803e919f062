// The document's start, its title, and the operations that change the whole picture: colour
// depth, size, background colour, and the save-changes question.

#include "PictureDocument.h"

#include "Errors.h"

#include <algorithm>
#include <filesystem>

TPictureDocument::TPictureDocument(TModal& modal, TDocumentHost& host) : Modal(modal), Host(host) {
    // The document starts as the window does with no settings file: an empty picture of the
    // default size in the background colour.
    Picture = TBitmap(Options.WidthPic, Options.HeightPic, TPixelFormat::pf24bit);
    ApplyBackgroundColor();
    Picture.FillRect(Bounds(0, 0, Options.WidthPic, Options.HeightPic));
}

std::string TPictureDocument::Title() const {
    if (CurrentFile.empty()) return "Tessimap";
    return "Tessimap - " + std::filesystem::path(CurrentFile).filename().string();
}

void TPictureDocument::ApplyBackgroundColor() {
    Picture.Brush.Color = Options.BackgroundColor;
    Picture.Pen.Color = Options.BackgroundColor;
    FloatingBitmap.Brush.Color = Options.BackgroundColor;
}

bool TPictureDocument::SetColorDepth(int bits) {
    const auto format = PixelFormatOfBits(bits);
    if (!format) return true;
    const bool pictureChanges = Picture.PixelFormat() != *format;
    try {
        Picture.SetPixelFormat(*format);
        if (pictureChanges) Host.PictureResized();
        if (Floating) {
            // The frame comes off first, so the pixels under it are converted too.
            RestoreFloatingEdges();
            FloatingBitmap.SetPixelFormat(*format);
            SaveFloatingEdges();
            DrawFloatingFrame();
            Host.FloatingChanged();
        } else {
            FloatingBitmap.SetPixelFormat(*format);
        }
        UndoBitmap.SetPixelFormat(*format);
    } catch (const EOutOfMemory&) {
        if (Floating) DrawFloatingFrame();
        ShowOutOfMemory();
        return false;
    }
    return true;
}

bool TPictureDocument::ResizePicture(int width, int height, bool fill, int* oldWidth, int* oldHeight) {
    if (Floating) StampFloating();
    if (oldWidth) *oldWidth = Picture.Width() * ZoomFactor;
    if (oldHeight) *oldHeight = Picture.Height() * ZoomFactor;
    bool resized = true;
    try {
        Picture.SetSize(width, height);
        if (fill) Picture.FillRect(Bounds(0, 0, width, height));
    } catch (const EOutOfMemory&) {
        ShowOutOfMemory();
        resized = false;
    }
    Host.PictureResized();
    return resized;
}

bool TPictureDocument::AskSaveChanges() {
    Modified = false;
    if (!Modal.AskYesNo(WarningTitle, SaveChangesText)) return true;
    SaveFailed = false;
    if (Save() || !SaveFailed) return true;
    Modified = true;
    return false;
}

void TPictureDocument::ShowOutOfMemory() {
    Host.SetWaitCursor(false);
    Modal.ShowMessage(WarningTitle, OutOfMemoryText);
}

void TPictureDocument::ReportPictureChanged(const TRect& area) {
    const TRect inside{std::max(area.Left, 0), std::max(area.Top, 0), std::min(area.Right, Picture.Width()),
                       std::min(area.Bottom, Picture.Height())};
    if (!inside.IsEmpty()) Host.PictureChanged(inside.Left, inside.Top, inside.Right, inside.Bottom);
}
