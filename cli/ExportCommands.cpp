// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExportCommands.h"

#include "BmpFile.h"
#include "BmpFileRows.h"
#include "ByteSink.h"
#include "ConvertedRows.h"
#include "Errors.h"
#include "GifExport.h"
#include "OwnColorRows.h"
#include "PictureFile.h"
#include "PictureReader.h"
#include "PngExport.h"
#include "TileMapErrors.h"
#include "TileMapExport.h"

#include <exception>
#include <optional>

namespace {

// A file whose rows are missing would be converted with rows of zero standing in for them;
// from file to file that is lost data, so it is refused.
void RefuseTruncated(const TBmpFileRows& file) {
    if (file.RowsInFile() < file.Height()) throw ETruncatedPixels(file.RowsInFile(), file.Height());
}

// PNG and GIF pictures read by the row; their transparent pixels take black, the editor's
// transparent colour until the user picks another, or the colour a tile map leaves empty.
std::unique_ptr<TRowSource> OpenPngOrGifRows(const std::string& input, TColor transparent = clBlack) {
    if (PictureKindOfFile(input) == TPictureKind::Bmp) return nullptr;
    return OpenPictureRows(input, transparent);
}

void WriteDepth(TRowSource& file, const TBmpFileLayout& fileLayout, const TExportArguments& arguments) {
    const TPixelFormat format = *PixelFormatOfBits(arguments.Depth);
    // As in the editor, a picture already at 8 bits keeps its own table either way.
    const bool own = arguments.Exact && file.PixelFormat() != format;
    std::optional<TConvertedRows> halftoneRows;
    std::optional<TOwnColorRows> ownRows;
    TRowSource& rows = own ? static_cast<TRowSource&>(ownRows.emplace(file))
                           : static_cast<TRowSource&>(halftoneRows.emplace(file, format));
    // A conversion keeps only the core-header layout of the file, as it does in the editor.
    const TBmpFileLayout layout =
        format == file.PixelFormat() ? fileLayout : TBmpFileLayout{fileLayout.CoreHeader};
    WriteFileSafely(arguments.Output, [&](TByteSink& sink) { WriteBitmapRows(rows, layout, sink); });
}

void ConvertDepth(const TExportArguments& arguments, std::ostream& out) {
    const std::string& input = arguments.Inputs.front();
    const TPixelFormat format = *PixelFormatOfBits(arguments.Depth);
    if (const auto rows = OpenPngOrGifRows(input)) {
        WriteDepth(*rows, {}, arguments);
        out << arguments.Output << '\n';
        return;
    }
    TBmpFileRows file(input);
    if (file.Streamable()) {
        RefuseTruncated(file);
        WriteDepth(file, file.FileLayout(), arguments);
    } else {
        // Run-length pixels cannot be read by the row: this picture is opened whole.
        TBitmap picture = OpenPictureForEditing(input);
        if (arguments.Exact && picture.PixelFormat() != format)
            picture = ConvertedToOwnColors(picture);
        else
            picture.SetPixelFormat(format);
        SaveBitmapToFile(picture, arguments.Output);
    }
    out << arguments.Output << '\n';
}

// Writes the export of rows from a file or from memory; the colours it kept when exact.
std::optional<TOwnColors> ExportRows(TRowSource& rows, const std::string& output, bool gif, bool exact) {
    if (exact) return gif ? ExportGifExactFile(rows, output) : ExportPngExactFile(rows, output);
    if (gif)
        ExportGifFile(rows, output);
    else
        ExportPngFile(rows, output);
    return std::nullopt;
}

std::optional<TOwnColors> ExportFile(const std::string& input, const std::string& output, bool gif,
                                     bool exact) {
    if (const auto rows = OpenPngOrGifRows(input)) return ExportRows(*rows, output, gif, exact);
    TBmpFileRows file(input);
    if (file.Streamable()) {
        RefuseTruncated(file);
        return ExportRows(file, output, gif, exact);
    }
    const TBitmap picture = OpenPictureForEditing(input);
    TBitmapRows rows(picture);
    return ExportRows(rows, output, gif, exact);
}

// The five files written and what they hold, as the command prints them.
void PrintTileMap(const std::string& input, const TTileMapResult& result, std::ostream& out) {
    const TTileMapFiles files(input);
    for (const std::string* name : {&files.Image, &files.TileSet, &files.Map, &files.JsonMap, &files.Grid})
        out << *name << '\n';
    out << result.Cells << " cells, " << result.Tiles << " tiles, " << result.Colors << " colours\n";
}

// The tile map of one picture, read by the row: its memory is a row of cells and the tiles.
void ExportTileMapOf(const TExportArguments& arguments, std::ostream& out) {
    const std::string& input = arguments.Inputs.front();
    TTileMapOptions options;
    options.TileWidth = arguments.TileWidth;
    options.TileHeight = arguments.TileHeight;
    options.MatchFlips = arguments.Flips;
    options.SkipEmpty = arguments.Empty;
    options.EmptyColor = arguments.EmptyColor;
    TTileMapResult result;
    if (const auto rows = OpenPngOrGifRows(input, options.EmptyColor)) {
        result = ExportTileMap(*rows, input, options);
        return PrintTileMap(input, result, out);
    }
    TBmpFileRows file(input);
    if (file.Streamable()) {
        RefuseTruncated(file);
        result = ExportTileMap(file, input, options);
    } else {
        const TBitmap picture = OpenPictureForEditing(input);
        TBitmapRows rows(picture);
        result = ExportTileMap(rows, input, options);
    }
    PrintTileMap(input, result, out);
}

// A failure message names the file it concerns, unless the message already does.
std::string Described(const std::string& file, const std::exception& error) {
    const std::string message =
        dynamic_cast<const EOutOfMemory*>(&error) ? "Out of memory, picture is too large!" : error.what();
    if (message.find(file) != std::string::npos) return message;
    return file + ": " + message;
}

} // namespace

int RunExport(const TExportArguments& arguments, std::ostream& out, std::ostream& err) {
    int status = 0;
    switch (arguments.Mode) {
    case TExportArguments::TMode::Depth:
        try {
            ConvertDepth(arguments, out);
        } catch (const std::exception& e) {
            err << "tessimap-export: " << Described(arguments.Inputs.front(), e) << '\n';
            status = 1;
        }
        break;
    case TExportArguments::TMode::TileMap:
        try {
            ExportTileMapOf(arguments, out);
        } catch (const ETileMapRefused& e) {
            // The picture was read but the tile size or the tiles do not make a map: a wrong use.
            err << "tessimap-export: " << Described(arguments.Inputs.front(), e) << '\n';
            status = ExportUsageExitStatus;
        } catch (const std::exception& e) {
            err << "tessimap-export: " << Described(arguments.Inputs.front(), e) << '\n';
            status = 1;
        }
        break;
    case TExportArguments::TMode::Gif:
    case TExportArguments::TMode::Png: {
        const bool gif = arguments.Mode == TExportArguments::TMode::Gif;
        for (const std::string& input : arguments.Inputs) {
            const std::string output = WithExtension(input, gif ? ".gif" : ".png");
            // "map.png" would become its own export and lose the picture it holds.
            if (IsSameFile(output, input)) {
                err << "tessimap-export: " << output
                    << ": the export would replace its own input; nothing was written\n";
                status = 1;
                continue;
            }
            try {
                const std::optional<TOwnColors> kept = ExportFile(input, output, gif, arguments.Exact);
                out << output << '\n';
                if (kept && kept->Reduced())
                    err << "tessimap-export: " << input << ": " << kept->PictureColors
                        << " colours were reduced to " << kept->Table.size() << '\n';
            } catch (const std::exception& e) {
                err << "tessimap-export: " << Described(input, e) << '\n';
                status = 1;
            }
        }
        break;
    }
    }
    return status;
}
