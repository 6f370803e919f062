// SPDX-License-Identifier: GPL-3.0-or-later
// New, Open, Save and Save As: what each does to the picture, its name, its title and the
// modified and undo states.

#include "PictureDocument.h"
#include "Progress.h"
#include "WaitCursor.h"

#include "BmpFile.h"
#include "BmpFileRows.h"
#include "ByteSink.h"
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

// A file whose pixel data ends early opens with the missing rows black; the user is told how
// much of it was read. Only what can be read by the row is checked: run-length files are not.
std::optional<std::pair<int, int>> RowsReadOfDamaged(const std::string& path) {
    try {
        const TBmpFileRows rows(path);
        if (rows.Streamable() && rows.RowsInFile() < rows.Height())
            return std::make_pair(rows.RowsInFile(), rows.Height());
    } catch (const EPictureError&) {
        // It opened whole a moment ago; a file changed since then is not this warning's business.
    }
    return std::nullopt;
}

// The text with %1, %2 and %3 replaced by the values, in whatever order a translation puts them.
std::string Filled(std::string text, const std::vector<std::string>& values) {
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::string mark = "%" + std::to_string(i + 1);
        for (auto at = text.find(mark); at != std::string::npos; at = text.find(mark, at + values[i].size()))
            text.replace(at, mark.size(), values[i]);
    }
    return text;
}

// Escape during the write stops it; the file keeps what it held, and that is no error.
bool WritePicture(const TBitmap& picture, const std::string& path, TModal& modal, TDocumentHost& host) {
    try {
        TProgress progress(host);
        const std::uint64_t bytes = std::uint64_t(picture.RowBytes()) * std::uint64_t(picture.Height());
        WriteFileSafely(path, [&](TByteSink& sink) {
            TProgressSink counted(sink, bytes, [&](int percent) { return progress.Show(percent); });
            WriteBitmap(picture, counted);
        });
        return true;
    } catch (const ECancelled&) {
        return false;
    } catch (const EPictureError& error) {
        modal.ShowError(error.what());
    } catch (const std::bad_alloc&) {
        modal.ShowError(EOutOfMemory().what());
    }
    return false;
}

} // namespace

void TPictureDocument::New() {
    // A picture the user chose to save but that was not saved is kept rather than replaced.
    if (Modified_ && !AskSaveChanges()) return;
    const TWaitCursor wait(Host_); // a large picture takes a while to clear
    Files_.Current.clear();
    DropFloating();
    Host_.PictureReplaced();
    // The old picture is gone for good, so its steps go before the new one is made: their memory
    // may be what the new picture needs.
    History_.Clear();
    if (!SizePicture(Options_.WidthPic, Options_.HeightPic, true)) {
        Options_.WidthPic = FallbackPictureSize;
        Options_.HeightPic = FallbackPictureSize;
        SizePicture(Options_.WidthPic, Options_.HeightPic, true);
    }
    Modified_ = false;
    Host_.PictureResized();
    Host_.TitleChanged();
}

void TPictureDocument::Open() {
    const TFileDialogOptions options{Texts_.OpenDialogTitle, Texts_.DialogFilterText, PictureExtension,
                                     OpenDialogFolder()};
    const std::optional<std::string> path = Modal_.ChooseOpenFile(options);
    if (path) OpenPictureFile(*path);
}

bool TPictureDocument::OpenPictureFile(const std::string& path) {
    const TWaitCursor wait(Host_);
    Files_.OpenFolder = FolderOf(path);
    // Read before asking to save, so that a file that cannot be read changes nothing at all.
    std::optional<TBitmap> loaded = LoadPicture(path, Modal_);
    if (!loaded) return false;
    // A picture the user chose to save but that was not saved is kept rather than replaced.
    if (Modified_ && !AskSaveChanges()) return false;
    DropFloating();

    // The canvas keeps its pen and brush (the background colour) across pictures.
    loaded->Brush = Picture_.Brush;
    loaded->Pen = Picture_.Pen;
    loaded->Font = Picture_.Font;
    Picture_ = std::move(*loaded);

    Files_.Current = path;
    Host_.PictureReplaced();
    Options_.WidthPic = Picture_.Width();
    Options_.HeightPic = Picture_.Height();
    Modified_ = false;
    History_.Clear();
    Host_.PictureResized();
    Host_.TitleChanged();
    Host_.FileNamed(path);
    if (const auto damaged = RowsReadOfDamaged(path))
        Modal_.ShowMessage(Texts_.WarningTitle,
                           Filled(Texts_.DamagedPictureText,
                                  {path, std::to_string(damaged->first), std::to_string(damaged->second)}));
    return true;
}

void TPictureDocument::ReplacePicture(TBitmap picture) {
    picture.Brush = Picture_.Brush;
    picture.Pen = Picture_.Pen;
    picture.Font = Picture_.Font;
    // The steps hold rectangles and stored values of the picture they were taken on; they fit
    // another picture only of the same size and format.
    const bool sameGeometry = picture.Width() == Picture_.Width() && picture.Height() == Picture_.Height() &&
                              picture.PixelFormat() == Picture_.PixelFormat();
    Picture_ = std::move(picture);
    if (!sameGeometry) {
        History_.Clear();
        // A changed picture must not count as saved when a later step is undone.
        if (Modified_) History_.ForgetSavePoint();
    }
    Host_.PictureResized();
}

bool TPictureDocument::Save() {
    if (Files_.Current.empty()) return SaveAs();
    if (Float_.Active) StampFloating();
    if (!WritePicture(Picture_, Files_.Current, Modal_, Host_)) return false;
    Modified_ = false;
    History_.MarkSaved();
    return true;
}

bool TPictureDocument::SaveAs() {
    const TFileDialogOptions options{Texts_.SaveDialogTitle, Texts_.DialogFilterText, PictureExtension,
                                     SaveDialogFolder()};
    const std::optional<std::string> chosen = Modal_.ChooseSaveFile(options);
    if (!chosen || chosen->empty()) return false;
    const std::string path = WithDefaultExtension(*chosen);
    Files_.SaveFolder = FolderOf(path);
    if (Float_.Active) StampFloating();
    // The picture takes the new name only once it is stored under it, so a failed write leaves
    // Save pointing at the file that holds the picture.
    if (!WritePicture(Picture_, path, Modal_, Host_)) return false;
    Files_.Current = path;
    Modified_ = false;
    History_.MarkSaved();
    Host_.TitleChanged();
    Host_.FileNamed(path);
    return true;
}
