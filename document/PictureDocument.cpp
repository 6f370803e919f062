// SPDX-License-Identifier: GPL-3.0-or-later
// The document's start, its title, and the operations that change the whole picture: colour
// depth, size, background colour, and the save-changes question.

#include "PictureDocument.h"
#include "Progress.h"

#include "Errors.h"
#include "OwnColors.h"
#include "PaletteMapper.h"
#include "PictureEntry.h"

#include <algorithm>
#include <filesystem>
#include <new>

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

// The options' conversion to 8 bits with the switch on: one table counted from the picture, for
// the picture and the floating image alike. Everything is converted before anything is replaced,
// so running out of memory leaves the document and its history as they were. Only the options
// dialog converts this way: a new picture at 8 bits keeps the halftone table, whose colours any
// tile can use.
bool TPictureDocument::ConvertToOwnColors() {
    // The options' OK stamps a floating image first; one that somehow remains keeps the rule
    // every other depth change follows.
    if (Float_.Active) return SetColorDepth(8);
    if (Picture_.PixelFormat() == TPixelFormat::pf8bit) return true;
    TProgress progress(Host_, TProgress::TStart::AfterAMoment);
    try {
        ReserveStep();
        std::vector<TRGBQuad> table;
        TBitmap picture;
        {
            const auto census = progress.Follow(0, 2);
            table = OwnColorsOf(Picture_).Table;
        }
        {
            const auto conversion = progress.Follow(1, 2);
            picture = ConvertedToTable(Picture_, table);
        }
        TBitmap floating = ConvertedToTable(Float_.Bitmap, table);
        auto step = std::make_unique<TPictureEntry>(std::move(Picture_));
        Picture_ = std::move(picture);
        Float_.Bitmap = std::move(floating);
        Record(std::move(step));
    } catch (const EOutOfMemory&) {
        ShowOutOfMemory();
        return false;
    } catch (const std::bad_alloc&) {
        ShowOutOfMemory();
        return false;
    }
    Host_.PictureResized();
    return true;
}

bool TPictureDocument::SetColorDepth(int bits) {
    const auto format = PixelFormatOfBits(bits);
    if (!format) return true;
    const bool pictureChanges = Picture_.PixelFormat() != *format;
    TProgress progress(Host_, TProgress::TStart::AfterAMoment);
    try {
        if (pictureChanges) {
            // The converted picture is made before the old one moves into the history, so the
            // step costs no copy beyond the conversion's own.
            ReserveStep();
            TBitmap converted;
            {
                const auto conversion = progress.Follow();
                converted = Picture_.Converted(*format);
            }
            auto step = std::make_unique<TPictureEntry>(std::move(Picture_));
            Picture_ = std::move(converted);
            Record(std::move(step));
            Host_.PictureResized();
        }
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
    } catch (const EOutOfMemory&) {
        if (Float_.Active) DrawFloatingFrame();
        ShowOutOfMemory();
        return false;
    } catch (const std::bad_alloc&) {
        // The colour matcher of a palette depth is built with plain new.
        if (Float_.Active) DrawFloatingFrame();
        ShowOutOfMemory();
        return false;
    }
    return true;
}

bool TPictureDocument::ResizePicture(int width, int height, bool fill, int* oldWidth, int* oldHeight) {
    if (Float_.Active) StampFloating();
    if (oldWidth) *oldWidth = Picture_.Width();
    if (oldHeight) *oldHeight = Picture_.Height();
    bool resized = true;
    TProgress progress(Host_, TProgress::TStart::AfterAMoment);
    try {
        std::unique_ptr<THistoryEntry> step = KeepWholePicture();
        {
            const auto rows = progress.Follow();
            Picture_.SetSize(width, height);
        }
        Record(std::move(step));
        if (fill) Picture_.FillRect(Bounds(0, 0, width, height));
    } catch (const EOutOfMemory&) {
        ShowOutOfMemory();
        resized = false;
    }
    Host_.PictureResized();
    return resized;
}

bool TPictureDocument::SizePicture(int width, int height, bool fill) {
    try {
        Picture_.SetSize(width, height);
        if (fill) Picture_.FillRect(Bounds(0, 0, width, height));
    } catch (const EOutOfMemory&) {
        ShowOutOfMemory();
        return false;
    }
    return true;
}

bool TPictureDocument::AskSaveChanges() {
    switch (Modal_.AskYesNoCancel(Texts_.WarningTitle, Texts_.SaveChangesText)) {
    case TAnswer::No:
        // The changes are given up, not saved: no step is the file's any more.
        Modified_ = false;
        History_.ForgetSavePoint();
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
