// SPDX-License-Identifier: GPL-3.0-or-later
#include "MapFiles.h"

#include "ByteSink.h"
#include "TileSet.h"

#include <charconv>
#include <cstdio>

namespace {

void Put(TByteSink& sink, const std::string& text) {
    sink.Write(text.data(), text.size());
}

std::string N(std::int64_t value) {
    return std::to_string(value);
}

void Append(std::string& line, std::uint64_t value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    line.append(digits, end);
}

// The CSV counts tiles from 0 and marks an empty cell -1; the flags stay on the number.
void AppendCsv(std::string& line, std::uint32_t number) {
    if (number == 0) {
        line += "-1";
        return;
    }
    const std::uint32_t flags = number & ~TileFlags::NumberMask;
    Append(line, ((number & TileFlags::NumberMask) - 1) | flags);
}

} // namespace

std::string XmlEscaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string JsonEscaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char code[8];
            std::snprintf(code, sizeof code, "\\u%04x", unsigned(static_cast<unsigned char>(c)));
            out += code;
        } else {
            out += c;
        }
    }
    return out;
}

TMapWriter::TMapWriter(const TMapLayout& layout, TByteSink& tmx, TByteSink& tmj, TByteSink& csv)
    : Layout_(layout), Tmx_(tmx), Tmj_(tmj), Csv_(csv) {
    const TMapLayout& l = Layout_;
    Put(Tmx_, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<map version=\"1.8\" orientation=\"orthogonal\" renderorder=\"right-down\" width=\"" +
                  N(l.Columns) + "\" height=\"" + N(l.Rows) + "\" tilewidth=\"" + N(l.TileWidth) +
                  "\" tileheight=\"" + N(l.TileHeight) +
                  "\" infinite=\"0\" nextlayerid=\"2\" nextobjectid=\"1\">\n"
                  " <tileset firstgid=\"1\" source=\"" +
                  XmlEscaped(l.TileSetFile) + "\"/>\n <layer id=\"1\" name=\"" + XmlEscaped(l.Name) +
                  "\" width=\"" + N(l.Columns) + "\" height=\"" + N(l.Rows) +
                  "\">\n  <data encoding=\"csv\">\n");
    Put(Tmj_, "{ \"compressionlevel\":-1,\n \"height\":" + N(l.Rows) +
                  ",\n \"infinite\":false,\n \"layers\":[\n  {\n   \"data\":[");
}

void TMapWriter::AddRow(const std::vector<std::uint32_t>& numbers) {
    const bool last = ++RowsDone_ == Layout_.Rows;
    Line_.clear();
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0) Line_ += ',';
        Append(Line_, numbers[i]);
    }
    Put(Tmx_, Line_ + (last ? "\n" : ",\n"));
    Put(Tmj_, Line_ + (last ? "" : ",\n    "));
    Line_.clear();
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0) Line_ += ',';
        AppendCsv(Line_, numbers[i]);
    }
    Line_ += '\n';
    Put(Csv_, Line_);
}

void TMapWriter::Finish(const TTileSetLayout& tiles) {
    const TMapLayout& l = Layout_;
    Put(Tmx_, "</data>\n </layer>\n</map>\n");
    Put(Tmj_, "],\n   \"height\":" + N(l.Rows) + ",\n   \"id\":1,\n   \"name\":\"" + JsonEscaped(l.Name) +
                  "\",\n   \"opacity\":1,\n   \"type\":\"tilelayer\",\n   \"visible\":true,\n   \"width\":" +
                  N(l.Columns) +
                  ",\n   \"x\":0,\n   \"y\":0\n  }],\n \"nextlayerid\":2,\n \"nextobjectid\":1,\n"
                  " \"orientation\":\"orthogonal\",\n \"renderorder\":\"right-down\",\n \"tileheight\":" +
                  N(l.TileHeight) + ",\n \"tilesets\":[\n  {\n   \"columns\":" + N(tiles.Columns) +
                  ",\n   \"firstgid\":1,\n   \"image\":\"" + JsonEscaped(l.ImageFile) +
                  "\",\n   \"imageheight\":" + N(tiles.ImageHeight) + ",\n   \"imagewidth\":" +
                  N(tiles.ImageWidth) + ",\n   \"margin\":0,\n   \"name\":\"" + JsonEscaped(l.Name) +
                  "\",\n   \"spacing\":0,\n   \"tilecount\":" + N(std::int64_t(tiles.TileCount)) +
                  ",\n   \"tileheight\":" + N(l.TileHeight) + ",\n   \"tilewidth\":" + N(l.TileWidth) +
                  "\n  }],\n \"tilewidth\":" + N(l.TileWidth) +
                  ",\n \"type\":\"map\",\n \"version\":\"1.8\",\n \"width\":" + N(l.Columns) + "\n}\n");
}

void WriteTileSetFile(const TMapLayout& layout, const TTileSetLayout& tiles, TByteSink& sink) {
    Put(sink, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<tileset version=\"1.8\" name=\"" +
                  XmlEscaped(layout.Name) + "\" tilewidth=\"" + N(layout.TileWidth) + "\" tileheight=\"" +
                  N(layout.TileHeight) + "\" tilecount=\"" + N(std::int64_t(tiles.TileCount)) +
                  "\" columns=\"" + N(tiles.Columns) + "\">\n <image source=\"" +
                  XmlEscaped(layout.ImageFile) + "\" width=\"" + N(tiles.ImageWidth) + "\" height=\"" +
                  N(tiles.ImageHeight) + "\"/>\n</tileset>\n");
}
