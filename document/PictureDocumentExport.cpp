// SPDX-License-Identifier: GPL-3.0-or-later
// Export to GIF and Export to PNG: the picture goes through a codec into a file beside the
// picture's own file. The codec converts a few rows at a time, so the picture itself never changes.

#include "PictureDocument.h"
#include "Progress.h"
#include "ProgressRows.h"
#include "WaitCursor.h"

#include "ColorCensus.h"
#include "Errors.h"
#include "GifExport.h"
#include "Palettes.h"
#include "PictureFile.h"
#include "PngExport.h"
#include "RowSource.h"

#include <algorithm>
#include <exception>
#include <new>
#include <optional>
#include <utility>

namespace {

// A translated text with %1 and %2 in the places its language puts the numbers.
std::string WithNumbers(std::string text, std::uint64_t first, std::uint64_t second) {
    for (const auto& [mark, value] : {std::pair{"%1", first}, std::pair{"%2", second}})
        if (const std::size_t at = text.find(mark); at != std::string::npos)
            text.replace(at, 2, std::to_string(value));
    return text;
}

// Whether the fixed table of the default export changed the colours of a picture that the
// exact mode would have kept: one of at most 256 colours, not all of them in the table. An 8-bit
// picture goes out with its own table, so nothing of it changes.
bool FixedTableChangedOwnColors(const TBitmap& picture) {
    if (picture.PixelFormat() == TPixelFormat::pf8bit) return false;
    std::optional<TColorCensus> census;
    try {
        census.emplace(CensusOf(picture));
    } catch (const EOutOfMemory&) {
        return false; // the file is written; a remark is not worth a failure
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (census->Overflowed()) return false;
    const std::vector<TRGBQuad>& fixed = DefaultPaletteForBits(8);
    const auto inFixed = [&fixed](const TRGBQuad& colour) {
        return std::any_of(fixed.begin(), fixed.end(), [&colour](const TRGBQuad& entry) {
            return entry.Red == colour.Red && entry.Green == colour.Green && entry.Blue == colour.Blue;
        });
    };
    const std::vector<TRGBQuad> own = census->Table();
    return !std::all_of(own.begin(), own.end(), inFixed);
}

} // namespace

std::string TPictureDocument::ExportFileName(TExportFormat format) const {
    // Only four characters are cut, whatever they are: level1.jpeg gives level1.j.png.
    const std::size_t keep = Files_.Current.size() >= 4 ? Files_.Current.size() - 4 : 0;
    return Files_.Current.substr(0, keep) + (format == TExportFormat::Gif ? ".gif" : ".png");
}

bool TPictureDocument::ExportPicture(TExportFormat format) {
    if (Files_.Current.empty()) return false;
    const std::string output = ExportFileName(format);
    // A picture saved as "map.png" would be replaced by its own export, and with it the only
    // copy at full depth; nothing changes, not even a floating image.
    if (IsSameFile(output, Files_.Current)) {
        Modal_.ShowMessage(Texts_.WarningTitle, Texts_.ExportOwnFileText + " " + output + ".");
        return false;
    }
    // From the stamp to the last byte written; the report that follows has the normal cursor.
    std::optional<TWaitCursor> wait(std::in_place, Host_);
    if (Float_.Active) StampFloating();
    Host_.ProcessPendingEvents();
    std::optional<TOwnColors> kept;
    try {
        // The codec converts the rows as it goes; an earlier export stays whole until the new file
        // is complete (or Escape stops it), and no transparency reaches the file whatever the
        // switch says.
        TProgress progress(Host_);
        TBitmapRows pictureRows(Picture_);
        TProgressRows rows(pictureRows, [&progress](int percent) { return progress.Show(percent); });
        if (Options_.ExactColors) {
            kept = format == TExportFormat::Gif ? ExportGifExactFile(rows, output)
                                                : ExportPngExactFile(rows, output);
        } else if (format == TExportFormat::Gif) {
            ExportGifFile(rows, output);
        } else {
            ExportPngFile(rows, output);
        }
    } catch (const ECancelled&) {
        return false;
    } catch (const EOutOfMemory&) {
        wait.reset();
        ShowOutOfMemory();
        return false;
    } catch (const std::exception& error) {
        // The cursor comes back after a failure too, and the next export starts afresh.
        wait.reset();
        Modal_.ShowError(error.what());
        return false;
    }
    wait.reset();
    std::string notice = Texts_.SavedToText + " " + output + ".";
    if (kept && kept->Reduced())
        notice += " " + WithNumbers(Texts_.ReducedColorsText, kept->PictureColors, kept->Table.size());
    if (!kept && FixedTableChangedOwnColors(Picture_)) {
        std::string sentence = Texts_.FixedTableText;
        if (const std::size_t at = sentence.find("%1"); at != std::string::npos)
            sentence.replace(at, 2, Texts_.ExactColorsItem);
        notice += " " + sentence;
    }
    Modal_.ShowNotice(format == TExportFormat::Gif ? Texts_.ExportGifCaption : Texts_.ExportPngCaption,
                      notice);
    // A floating image that appeared while the window repainted is thrown away.
    DropFloating();
    return true;
}
