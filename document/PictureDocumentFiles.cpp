// SPDX-License-Identifier: GPL-3.0-or-later
// New, Open, Save and Save As: what each does to the picture, its name, its title and the
// modified and undo states.

#include "PictureDocument.h"
#include "Progress.h"
#include "WaitCursor.h"

#include "BmpFile.h"
#include "BmpFileRows.h"
#include "ByteSink.h"
#include "ColorCensus.h"
#include "ConvertedRows.h"
#include "Errors.h"
#include "GifExport.h"
#include "PictureFile.h"
#include "PictureReader.h"
#include "PngExport.h"
#include "ProgressRows.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <new>
#include <optional>

namespace {

constexpr int FallbackPictureSize = 1000; // New's size when the wanted one cannot be had
constexpr const char* PictureExtension = "bmp";

std::string FolderOf(const std::string& path) {
    return std::filesystem::path(path).parent_path().string();
}

enum class TSaveFormat { Bmp, Png, Gif };

// The format a name asks for by its extension, in any case; nothing for any other extension.
std::optional<TSaveFormat> SaveFormatOf(const std::string& path) {
    std::string name = std::filesystem::path(path).filename().string();
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    const auto ends = [&name](const char* extension) {
        const std::string tail = std::string(".") + extension;
        return name.size() > tail.size() && name.compare(name.size() - tail.size(), tail.size(), tail) == 0;
    };
    if (ends("bmp")) return TSaveFormat::Bmp;
    if (ends("png")) return TSaveFormat::Png;
    if (ends("gif")) return TSaveFormat::Gif;
    return std::nullopt;
}

// A name that asks for none of the formats the editor writes gets the BMP extension, so that the
// file holds what its name says. A name ending in a dot gets just the extension.
std::string WithDefaultExtension(const std::string& path) {
    if (SaveFormatOf(path)) return path;
    if (!path.empty() && path.back() == '.') return path + PictureExtension;
    return path + "." + PictureExtension;
}

// Reads the file into a bitmap of its own, so that a failure leaves the picture untouched. A
// large file shows how far it has come; the read does not stop for Escape.
std::optional<TBitmap> LoadPicture(const std::string& path, TColor transparentColor, TReadReport& report,
                                   TModal& modal, TDocumentHost& host) {
    try {
        TProgress progress(host);
        TBitmap loaded =
            ReadPictureFile(path, transparentColor, report, [&](int percent) { progress.Show(percent); });
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

// Whether the picture has more colours than a GIF can hold.
bool HasMoreThan256Colors(const TBitmap& picture) {
    if (IsPaletteFormat(picture.PixelFormat())) return false;
    TColorCensus census;
    for (int y = 0; y < picture.Height() && !census.Overflowed(); ++y)
        census.AddRow(picture.PixelFormat(), picture.ColorTable(), picture.ScanLine(y), picture.Width());
    return census.Overflowed();
}

// Every pixel as it is: a palette PNG of the picture's depth and table, or 24-bit RGB; with the
// exact colours on, the smallest file that mode stands for.
void SavePngFile(TRowSource& rows, TPixelFormat format, const std::string& path, bool smallest) {
    TConvertedRows stored(rows, IsPaletteFormat(format) ? format : TPixelFormat::pf24bit);
    WriteFileSafely(path, [&](TByteSink& sink) { WritePngRows(stored, sink, smallest); });
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

} // namespace

void TPictureDocument::New() {
    EndStroke(); // a brush drag still open belongs to the picture as it was
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
    const TFileDialogOptions options{Texts_.OpenDialogTitle,
                                     Texts_.DialogFilterText,
                                     PictureExtension,
                                     OpenDialogFolder(),
                                     {{Texts_.PicturesFilterText, {"bmp", "png", "gif"}}}};
    const std::optional<std::string> path = Modal_.ChooseOpenFile(options);
    if (path) OpenPictureFile(*path);
}

bool TPictureDocument::OpenPictureFile(const std::string& path) {
    EndStroke();
    const TWaitCursor wait(Host_);
    Files_.OpenFolder = FolderOf(path);
    // Read before asking to save, so that a file that cannot be read changes nothing at all.
    TReadReport report;
    std::optional<TBitmap> loaded = LoadPicture(path, Options_.TransparentColor, report, Modal_, Host_);
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
    if (report.Damaged())
        Modal_.ShowMessage(Texts_.WarningTitle,
                           Filled(Texts_.DamagedPictureText,
                                  {path, std::to_string(report.RowsRead), std::to_string(report.Height)}));
    if (report.MadeOpaque > 0)
        Modal_.ShowNotice(Texts_.OpenDialogTitle,
                          Filled(Texts_.MadeOpaqueText, {std::to_string(report.MadeOpaque), path}));
    return true;
}

void TPictureDocument::ReplacePicture(TBitmap picture) {
    EndStroke();
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
    EndStroke();
    if (Files_.Current.empty()) return SaveAs();
    if (Float_.Active) StampFloating();
    if (!WritePictureFile(Files_.Current)) return false;
    Modified_ = false;
    History_.MarkSaved();
    return true;
}

bool TPictureDocument::SaveAs() {
    EndStroke();
    const TFileDialogOptions options{Texts_.SaveDialogTitle,
                                     Texts_.DialogFilterText,
                                     PictureExtension,
                                     SaveDialogFolder(),
                                     {{Texts_.DialogFilterText, {"bmp"}},
                                      {Texts_.PngFilterText, {"png"}},
                                      {Texts_.GifFilterText, {"gif"}}}};
    const std::optional<std::string> chosen = Modal_.ChooseSaveFile(options);
    if (!chosen || chosen->empty()) return false;
    const std::string path = WithDefaultExtension(*chosen);
    Files_.SaveFolder = FolderOf(path);
    if (Float_.Active) StampFloating();
    // The picture takes the new name only once it is stored under it, so a failed write leaves
    // Save pointing at the file that holds the picture.
    if (!WritePictureFile(path)) return false;
    Files_.Current = path;
    Modified_ = false;
    History_.MarkSaved();
    Host_.TitleChanged();
    Host_.FileNamed(path);
    return true;
}

bool TPictureDocument::WritePictureFile(const std::string& path) {
    const TSaveFormat format = SaveFormatOf(path).value_or(TSaveFormat::Bmp);
    // A GIF holds 256 colours; more are reduced only once the user agreed to lose some.
    if (format == TSaveFormat::Gif && HasMoreThan256Colors(Picture_) &&
        !Modal_.AskYesNo(Texts_.WarningTitle, Texts_.ColorLossText))
        return false;
    // Escape during the write stops it; the file keeps what it held, and that is no error.
    try {
        const TWaitCursor wait(Host_);
        TProgress progress(Host_);
        const auto show = [&](int percent) { return progress.Show(percent); };
        if (format == TSaveFormat::Bmp) {
            const std::uint64_t bytes = std::uint64_t(Picture_.RowBytes()) * std::uint64_t(Picture_.Height());
            WriteFileSafely(path, [&](TByteSink& sink) {
                TProgressSink counted(sink, bytes, show);
                WriteBitmap(Picture_, counted);
            });
            return true;
        }
        TBitmapRows rows(Picture_);
        TProgressRows counted(rows, show);
        if (format == TSaveFormat::Png)
            SavePngFile(counted, Picture_.PixelFormat(), path, Options_.ExactColors);
        else
            ExportGifExactFile(counted, path);
        return true;
    } catch (const ECancelled&) {
        return false;
    } catch (const EPictureError& error) {
        Modal_.ShowError(error.what());
    } catch (const std::bad_alloc&) {
        Modal_.ShowError(EOutOfMemory().what());
    }
    return false;
}
