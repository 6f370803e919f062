// New, Open, Save and Save As: what each does to the picture, its name, its title and the
// modified and undo states.

#include "PictureDocument.h"

#include "BmpFile.h"
#include "Errors.h"
#include "PictureFile.h"

#include <filesystem>
#include <new>
#include <optional>

namespace {

constexpr int FallbackPictureSize = 1000; // New's size when the wanted one cannot be had
constexpr const char* PictureExtension = "bmp";

std::string FolderOf(const std::string& path) {
    return std::filesystem::path(path).parent_path().string();
}

// The save dialog adds the default extension to a name typed without one; a dialog that did
// not is made up for here. A leading dot alone (".map") is a name, not an extension.
std::string WithDefaultExtension(const std::string& path) {
    const std::filesystem::path p(path);
    const std::string name = p.filename().string();
    const auto dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0 && dot + 1 < name.size()) return path;
    if (!name.empty() && name.back() == '.') return path + PictureExtension;
    return path + "." + PictureExtension;
}

// Reads the file into a bitmap of its own, so that a failure leaves the picture untouched.
std::optional<TBitmap> LoadPicture(const std::string& path, TModal& modal) {
    try {
        TBitmap loaded = OpenPictureForEditing(path);
        // An empty file reads as a bitmap without pixels; it is not a picture to edit.
        if (loaded.Empty()) throw EInvalidGraphic();
        return loaded;
    } catch (const EPictureError& error) {
        modal.ShowError(error.what());
    } catch (const std::bad_alloc&) {
        modal.ShowError(EOutOfMemory().what());
    }
    return std::nullopt;
}

bool WritePicture(const TBitmap& picture, const std::string& path, TModal& modal) {
    try {
        SaveBitmapToFile(picture, path);
        return true;
    } catch (const EPictureError& error) {
        modal.ShowError(error.what());
    } catch (const std::bad_alloc&) {
        modal.ShowError(EOutOfMemory().what());
    }
    return false;
}

} // namespace

void TPictureDocument::New() {
    // A picture whose save failed is kept rather than replaced.
    if (Modified && !AskSaveChanges()) return;
    CurrentFile.clear();
    DropFloating();
    ZoomFactor = 1;
    if (!ResizePicture(Options.WidthPic, Options.HeightPic, true)) {
        Options.WidthPic = FallbackPictureSize;
        Options.HeightPic = FallbackPictureSize;
        ResizePicture(Options.WidthPic, Options.HeightPic, true);
    }
    Modified = false;
    UndoAvailable = false;
    Host.PictureResized();
    Host.TitleChanged();
}

void TPictureDocument::Open() {
    const TFileDialogOptions options{OpenDialogTitle, DialogFilterText, PictureExtension, OpenFolder};
    const std::optional<std::string> path = Modal.ChooseOpenFile(options);
    if (path) OpenPictureFile(*path);
}

bool TPictureDocument::OpenPictureFile(const std::string& path) {
    OpenFolder = FolderOf(path);
    // Read before asking to save, so that a file that cannot be read changes nothing at all.
    std::optional<TBitmap> loaded = LoadPicture(path, Modal);
    if (!loaded) return false;
    // A picture whose save failed is kept rather than replaced.
    if (Modified && !AskSaveChanges()) return false;
    DropFloating();

    // The canvas keeps its pen and brush (the background colour) across pictures.
    loaded->Brush = Picture.Brush;
    loaded->Pen = Picture.Pen;
    loaded->Font = Picture.Font;
    Picture = std::move(*loaded);

    CurrentFile = path;
    ZoomFactor = 1;
    Options.WidthPic = Picture.Width();
    Options.HeightPic = Picture.Height();
    Modified = false;
    UndoAvailable = false;
    Host.PictureResized();
    Host.TitleChanged();
    Host.FileNamed(path);
    return true;
}

bool TPictureDocument::Save() {
    if (CurrentFile.empty()) return SaveAs();
    SaveFailed = false;
    if (Floating) StampFloating();
    if (!WritePicture(Picture, CurrentFile, Modal)) {
        SaveFailed = true;
        return false;
    }
    Modified = false;
    return true;
}

bool TPictureDocument::SaveAs() {
    const TFileDialogOptions options{SaveDialogTitle, DialogFilterText, PictureExtension, SaveFolder};
    SaveFailed = false;
    const std::optional<std::string> chosen = Modal.ChooseSaveFile(options);
    if (!chosen || chosen->empty()) return false;
    const std::string path = WithDefaultExtension(*chosen);
    SaveFolder = FolderOf(path);
    if (Floating) StampFloating();
    // The picture takes the new name only once it is stored under it, so a failed write leaves
    // Save pointing at the file that holds the picture.
    if (!WritePicture(Picture, path, Modal)) {
        SaveFailed = true;
        return false;
    }
    CurrentFile = path;
    Modified = false;
    Host.TitleChanged();
    Host.FileNamed(path);
    return true;
}
