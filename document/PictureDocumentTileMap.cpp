// SPDX-License-Identifier: GPL-3.0-or-later
// Export Tile Map: the picture cut into tiles and written beside its file as a tile set and the
// map files. The exporter reads the picture by the row, so the picture itself never changes.

#include "PictureDocument.h"
#include "Progress.h"
#include "WaitCursor.h"

#include "Errors.h"
#include "ProgressRows.h"
#include "RowSource.h"
#include "TileMapErrors.h"

#include <exception>
#include <optional>

namespace {

// A translated text with %1, %2 … in the places its language puts the values.
std::string WithValues(std::string text, std::initializer_list<std::string> values) {
    int n = 1;
    for (const std::string& value : values) {
        const std::string mark = "%" + std::to_string(n++);
        if (const std::size_t at = text.find(mark); at != std::string::npos)
            text.replace(at, mark.size(), value);
    }
    return text;
}

std::string S(std::int64_t value) {
    return std::to_string(value);
}

} // namespace

bool TPictureDocument::ExportTileMap(TTileMapOptions options) {
    if (Files_.Current.empty()) return false;
    options.EmptyColor = Options_.TransparentColor;
    std::optional<TWaitCursor> wait(std::in_place, Host_);
    if (Float_.Active) StampFloating();
    Host_.ProcessPendingEvents();
    TTileMapResult result;
    try {
        // Escape stops the export before its files replace any earlier ones. The bar goes with
        // this block, before any message below shows.
        TProgress progress(Host_);
        TBitmapRows pictureRows(Picture_);
        TProgressRows rows(pictureRows, [&progress](int percent) { return progress.Show(percent); });
        result = ::ExportTileMap(rows, Files_.Current, options);
    } catch (const ECancelled&) {
        return false; // the wait cursor goes with `wait`
    } catch (const ETileMapRefused& refusal) {
        wait.reset();
        using K = ETileMapRefused::TKind;
        const std::string w = S(options.TileWidth), h = S(options.TileHeight);
        std::string text;
        switch (refusal.Kind) {
        case K::ZeroSize:
            text = WithValues(Texts_.TileMapZeroText, {w, h});
            break;
        case K::LargerThan:
            text = WithValues(Texts_.TileMapLargerText, {w, h, S(Picture_.Width()), S(Picture_.Height())});
            break;
        case K::NotAMultiple: {
            std::string fits = S(refusal.Below);
            if (refusal.Above > 0) fits += ", " + S(refusal.Above);
            text = WithValues(refusal.Side == 0 ? Texts_.TileMapWidthText : Texts_.TileMapHeightText,
                              {S(refusal.PictureSide), S(refusal.TileSide), S(refusal.Over), fits});
            break;
        }
        case K::TooManyTiles:
            text = WithValues(Texts_.TileMapTooManyText, {S(refusal.Limit)});
            break;
        case K::NoTiles:
            text = Texts_.TileMapNoTilesText;
            break;
        }
        Modal_.ShowMessage(Texts_.ExportTileMapCaption, text);
        return false;
    } catch (const EOutOfMemory&) {
        wait.reset();
        ShowOutOfMemory();
        return false;
    } catch (const std::exception& error) {
        wait.reset();
        Modal_.ShowError(error.what());
        return false;
    }
    wait.reset();
    Modal_.ShowNotice(
        Texts_.ExportTileMapCaption,
        WithValues(Texts_.TileMapDoneText, {TTileMapFiles(Files_.Current).Map, S(std::int64_t(result.Cells)),
                                            S(std::int64_t(result.Tiles)), S(std::int64_t(result.Colors))}));
    DropFloating();
    return true;
}
