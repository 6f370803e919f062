// SPDX-License-Identifier: GPL-3.0-or-later
// The tile-map export: Tiled's renderer draws the written maps back into the picture, the tile
// count matches a count made here, and refused or failed exports leave no file.

#include "BmpFile.h"
#include "RowCodec.h"
#include "RowSource.h"
#include "TileMapErrors.h"
#include "TileMapExport.h"
#include "picture/TestFiles.h"

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <set>
#include <sstream>
#include <tuple>

namespace {

const char* const kThirdPartySheet = "/usr/share/doc/tiled/examples/tmw_desert_spacing.png";

struct TRgba {
    int Width = 0, Height = 0;
    std::vector<std::uint8_t> Pixels; // RGBA, row by row
    const std::uint8_t* At(int x, int y) const { return &Pixels[(std::size_t(y) * Width + x) * 4]; }
};

TRgba ReadPng(const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    TRgba result;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return result;
    image.format = PNG_FORMAT_RGBA;
    result.Pixels.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, result.Pixels.data(), 0, nullptr)) return {};
    result.Width = int(image.width);
    result.Height = int(image.height);
    return result;
}

// Tiled's own renderer draws the map; an empty result when it could not.
TRgba Rendered(const std::string& map, const std::string& out) {
    const std::string command =
        "QT_QPA_PLATFORM=offscreen tmxrasterizer '" + map + "' '" + out + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return {};
    return ReadPng(out);
}

// The picture's colour at (x, y) as RGB bytes.
std::string ColorBytes(const TBitmap& picture, int x, int y) {
    const TColor c = picture.Pixel(x, y);
    return {char(GetRValue(c)), char(GetGValue(c)), char(GetBValue(c))};
}

// The distinct cells, counted here: each cell's colours as a string in a set; with flips, each
// cell stands for the least of its eight (square) or four turned and mirrored forms.
std::size_t DistinctCells(const TBitmap& picture, int tw, int th, bool flips) {
    std::set<std::string> seen;
    for (int cy = 0; cy < picture.Height() / th; ++cy)
        for (int cx = 0; cx < picture.Width() / tw; ++cx) {
            auto form = [&](int turn, bool mirror) {
                std::string bytes;
                for (int y = 0; y < th; ++y)
                    for (int x = 0; x < tw; ++x) {
                        int u = mirror ? tw - 1 - x : x, v = y;
                        for (int t = 0; t < turn; ++t)
                            std::tie(u, v) = std::pair(tw - 1 - v, u); // a quarter turn of a square
                        bytes += ColorBytes(picture, cx * tw + u, cy * th + v);
                    }
                return bytes;
            };
            std::string least = form(0, false);
            if (flips)
                for (int turn = 0; turn < 4; turn += tw == th ? 1 : 2)
                    for (bool mirror : {false, true})
                        least = std::min(least, form(turn, mirror));
            seen.insert(least);
        }
    return seen.size();
}

// A 24-bit picture of rows x columns cells, each one of `tiles` (tw x th RGBA) placed turned
// (quarter turns clockwise) and mirrored as `place` says.
using TPlace = std::function<std::tuple<int, int, bool>(int cx, int cy)>; // tile, turns, mirror
TBitmap PictureOfTiles(const std::vector<TRgba>& tiles, int columns, int rows, const TPlace& place) {
    const int n = tiles[0].Width;
    TBitmap picture(columns * n, rows * n, TPixelFormat::pf24bit);
    for (int cy = 0; cy < rows; ++cy)
        for (int cx = 0; cx < columns; ++cx) {
            const auto [index, turns, mirror] = place(cx, cy);
            for (int y = 0; y < n; ++y)
                for (int x = 0; x < n; ++x) {
                    // The pixel that lands on (x, y): undo the turns, then the mirror.
                    int u = x, v = y;
                    for (int t = 0; t < turns; ++t)
                        std::tie(u, v) = std::pair(v, n - 1 - u);
                    if (mirror) u = n - 1 - u;
                    const std::uint8_t* p = tiles[std::size_t(index)].At(u, v);
                    picture.SetPixel(cx * n + x, cy * n + y, RGB(p[0], p[1], p[2]));
                }
        }
    return picture;
}

std::vector<TRgba> SheetTiles(int count) {
    const TRgba sheet = ReadPng(kThirdPartySheet);
    std::vector<TRgba> tiles;
    // 32 x 32 tiles with a margin and spacing of one pixel; the plain ground tiles of the sheet are
    // left out, as a tile equal to its own mirror image would be matched either way.
    for (int i = 0; i < 48 && int(tiles.size()) < count && sheet.Width > 0; ++i) {
        TRgba tile{32, 32, std::vector<std::uint8_t>(32 * 32 * 4)};
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                std::copy_n(sheet.At(1 + (i % 8) * 33 + x, 1 + (i / 8) * 33 + y), 4,
                            &tile.Pixels[(y * 32 + x) * 4]);
        tiles.push_back(tile);
    }
    return tiles;
}

std::vector<TRgba> NoiseTiles(int count, int n, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<TRgba> tiles(std::size_t(count),
                             TRgba{n, n, std::vector<std::uint8_t>(std::size_t(n * n * 4))});
    for (TRgba& tile : tiles)
        for (std::uint8_t& byte : tile.Pixels)
            byte = std::uint8_t(random());
    return tiles;
}

std::vector<std::string> Lines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

struct TRoundTrip {
    const char* Name;
    std::function<TBitmap()> Picture;
    TTileMapOptions Options;
    std::size_t ExpectedTiles; // 0: the count made here
};

TEST(TileMapExport, TiledDrawsTheMapsBackIntoThePicturePixelForPixel) {
    ASSERT_EQ(std::system("command -v tmxrasterizer >/dev/null"), 0)
        << "tmxrasterizer (package tiled) is needed";
    std::mt19937 random(7);
    auto randomPlace = [&](int tiles, bool turned) -> TPlace {
        return [&random, tiles, turned](int, int) {
            return std::tuple(int(random() % unsigned(tiles)), turned ? int(random() % 4) : 0,
                              turned && random() % 2 == 1);
        };
    };
    TTileMapOptions flips;
    flips.TileWidth = flips.TileHeight = 32;
    flips.MatchFlips = true;
    TTileMapOptions plain = flips;
    plain.MatchFlips = false;
    TTileMapOptions noise;
    noise.TileWidth = 16;
    noise.TileHeight = 8;
    noise.MatchFlips = true;
    const std::vector<TRoundTrip> cases = {
        {"sheet tiles as they are",
         [&] { return PictureOfTiles(SheetTiles(12), 9, 7, randomPlace(12, false)); }, plain, 0},
        {"sheet tiles turned and mirrored, flips not matched",
         [&] { return PictureOfTiles(SheetTiles(12), 9, 7, randomPlace(12, true)); }, plain, 0},
        {"sheet tiles turned and mirrored, flips matched",
         [&] { return PictureOfTiles(SheetTiles(12), 9, 7, randomPlace(12, true)); }, flips, 0},
        {"ten tiles in all eight forms",
         [&] {
             return PictureOfTiles(NoiseTiles(10, 32, 3), 8, 10,
                                   [](int cx, int cy) { return std::tuple(cy, cx % 4, cx >= 4); });
         },
         flips, 10},
        {"noise, cells of 16 x 8",
         [&] {
             TBitmap picture(96, 64, TPixelFormat::pf24bit);
             for (std::uint8_t& byte : picture.PixelBuffer())
                 byte = std::uint8_t(random());
             return picture;
         },
         noise, 48},
    };
    for (const TRoundTrip& c : cases) {
        SCOPED_TRACE(c.Name);
        TTempFolder folder;
        const TBitmap picture = c.Picture();
        ASSERT_GT(picture.Width(), 0);
        TBitmapRows rows(picture);
        const TTileMapResult result = ExportTileMap(rows, folder.File("level.bmp"), c.Options);
        const std::size_t expected =
            c.ExpectedTiles
                ? c.ExpectedTiles
                : DistinctCells(picture, c.Options.TileWidth, c.Options.TileHeight, c.Options.MatchFlips);
        EXPECT_EQ(result.Tiles, expected);
        EXPECT_EQ(result.Cells, std::uint64_t(picture.Width() / c.Options.TileWidth) *
                                    std::uint64_t(picture.Height() / c.Options.TileHeight));
        for (const char* map : {"level.tmx", "level.tmj"}) {
            SCOPED_TRACE(map);
            const TRgba drawn = Rendered(folder.File(map), folder.File("drawn.png"));
            ASSERT_EQ(std::pair(drawn.Width, drawn.Height), std::pair(picture.Width(), picture.Height()));
            int wrong = 0;
            for (int y = 0; y < picture.Height(); ++y)
                for (int x = 0; x < picture.Width(); ++x) {
                    const std::uint8_t* p = drawn.At(x, y);
                    wrong += p[3] != 255 ||
                             std::string{char(p[0]), char(p[1]), char(p[2])} != ColorBytes(picture, x, y);
                }
            EXPECT_EQ(wrong, 0);
        }
        // The grid file holds the same numbers, counted from 0.
        const std::vector<std::string> tmx = Lines(folder.File("level.tmx"));
        const std::vector<std::string> csv = Lines(folder.File("level.csv"));
        ASSERT_EQ(csv.size(), std::size_t(picture.Height() / c.Options.TileHeight));
        std::istringstream first(tmx[5]), grid(csv[0]);
        for (std::string a, b; std::getline(first, a, ',') && std::getline(grid, b, ',');) {
            const std::uint32_t number = std::uint32_t(std::stoul(a));
            EXPECT_EQ(((number & 0x0FFFFFFFu) - 1) | (number & 0xF0000000u), std::stoul(b));
        }
    }
}

// A 4-bit picture keeps its palette; cells wholly of the transparent colour are left empty and
// come back transparent, through an index other than the first that has that colour too.
TEST(TileMapExport, EmptyCellsOfAPalettePictureStayEmpty) {
    TTempFolder folder;
    TBitmap picture(64, 32, TPixelFormat::pf4bit);
    std::vector<TRGBQuad> table(16);
    for (int i = 0; i < 16; ++i)
        table[std::size_t(i)] =
            TRGBQuad{std::uint8_t(i * 16), std::uint8_t(255 - i * 8), std::uint8_t(i * 5), 0};
    table[9] = table[3];
    picture.SetColorTable(table);
    std::mt19937 random(5);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x) {
            const bool emptyCell = (x / 8 + y / 8) % 3 == 0;
            RowCodec::SetValue(TPixelFormat::pf4bit, picture.ScanLine(y), x,
                               emptyCell ? ((x + y) % 2 ? 3 : 9) : random() % 16);
        }
    TTileMapOptions options;
    options.SkipEmpty = true;
    options.EmptyColor = ColorOf(table[3]);
    TBitmapRows rows(picture);
    const TTileMapResult result = ExportTileMap(rows, folder.File("level.bmp"), options);
    EXPECT_EQ(result.EmptyCells, 11u);
    EXPECT_EQ(result.Tiles, result.Cells - result.EmptyCells);
    EXPECT_EQ(ReadFileBytes(folder.File("level-tiles.png"))[24], 4) << "a 4-bit palette";
    EXPECT_EQ(Lines(folder.File("level.csv"))[0].substr(0, 5), "-1,0,");
    const TRgba drawn = Rendered(folder.File("level.tmx"), folder.File("drawn.png"));
    ASSERT_EQ(drawn.Width, 64);
    int wrong = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x) {
            const std::uint8_t* p = drawn.At(x, y);
            const TColor c = picture.Pixel(x, y);
            wrong += (x / 8 + y / 8) % 3 == 0 ? p[3] != 0 : p[3] != 255 || RGB(p[0], p[1], p[2]) != c;
        }
    EXPECT_EQ(wrong, 0);
}

std::set<std::string> FilesIn(const TTempFolder& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        names.insert(entry.path().filename().string());
    return names;
}

TEST(TileMapExport, ARefusalOrAFailureLeavesNoFileBehind) {
    struct TCase {
        int TileWidth, TileHeight;
        std::uint32_t MaxTiles;
        bool AllBlack;
        ETileMapRefused::TKind Kind;
        const char* Says;
    };
    using K = ETileMapRefused::TKind;
    const std::vector<TCase> cases = {
        {0, 8, MaxTileCount, false, K::ZeroSize, "no pixels"},
        {8, 40, MaxTileCount, false, K::LargerThan, "larger than the picture of 48 x 32"},
        {10, 8, MaxTileCount, false, K::NotAMultiple,
         "width of 48 pixels is not a multiple of the tile width 10: "
         "8 pixels are left over. Tile widths that fit nearby: 8 and 12."},
        {8, 5, MaxTileCount, false, K::NotAMultiple,
         "2 pixels are left over. Tile heights that fit nearby: 4 and 8."},
        {8, 8, 23, false, K::TooManyTiles, "more than 23 different tiles"},
        {8, 8, MaxTileCount, true, K::NoTiles, "empty"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Says);
        TTempFolder folder;
        TBitmap picture(48, 32, TPixelFormat::pf24bit);
        if (!c.AllBlack) {
            std::mt19937 random(1);
            for (std::uint8_t& byte : picture.PixelBuffer())
                byte = std::uint8_t(random());
        }
        TTileMapOptions options{c.TileWidth, c.TileHeight, false, true, clBlack, c.MaxTiles};
        TBitmapRows rows(picture);
        try {
            ExportTileMap(rows, folder.File("level.bmp"), options);
            ADD_FAILURE() << "not refused";
        } catch (const ETileMapRefused& refusal) {
            EXPECT_EQ(refusal.Kind, c.Kind);
            EXPECT_NE(std::string(refusal.what()).find(c.Says), std::string::npos) << refusal.what();
        }
        EXPECT_TRUE(FilesIn(folder).empty());
    }

    // The grid cannot take the place of a folder: the files renamed before it go again.
    TTempFolder folder;
    std::filesystem::create_directory(folder.File("level.csv"));
    TBitmap picture(16, 16, TPixelFormat::pf24bit);
    TBitmapRows rows(picture);
    EXPECT_THROW(ExportTileMap(rows, folder.File("level.bmp"), TTileMapOptions{}), EPictureError);
    EXPECT_EQ(FilesIn(folder), std::set<std::string>{"level.csv"});
}

// A picture kept under one of the export's own names is never written over by its export.
TEST(TileMapExport, APictureNamedLikeAnOutputKeepsItsFile) {
    for (const char* name : {"level.tmx", "level.tsx", "level.tmj", "level.csv", "level-tiles.png"}) {
        SCOPED_TRACE(name);
        TTempFolder folder;
        TBitmap picture(16, 16, TPixelFormat::pf24bit);
        picture.SetPixel(3, 3, RGB(200, 10, 10));
        SaveBitmapToFile(picture, folder.File(name));
        TBitmapRows rows(picture);
        ExportTileMap(rows, folder.File(name), TTileMapOptions{});
        EXPECT_EQ(LoadBitmapFromFile(folder.File(name)).PixelBuffer(), picture.PixelBuffer());
        EXPECT_EQ(FilesIn(folder).size(), 6u);
    }
    EXPECT_EQ(TTileMapFiles("maps/level.bmp").Map, "maps/level.tmx");
}

} // namespace
