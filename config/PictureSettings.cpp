// SPDX-License-Identifier: GPL-3.0-or-later
#include "PictureSettings.h"

#include "IniFile.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <type_traits>
#include <unistd.h>
#include <variant>

namespace {

constexpr TColor kColorBits = 0xFFFFFF; // 0x00BBGGRR: the top byte is never part of a colour
constexpr int kLargestFontSize = 999;

// How a stored number becomes a value; the default is the one of the options' own type.
using TClean = int (*)(int stored, int def);

int AsStored(int stored, int) {
    return stored;
}
int AtLeastOne(int stored, int def) {
    return stored < 1 ? def : stored;
}
int FontSizeRule(int stored, int def) {
    return stored < 1 || stored > kLargestFontSize ? def : stored;
}
int AtLeastZero(int stored, int def) {
    return stored < 0 ? def : stored;
}
int DepthRule(int stored, int) {
    return ColorDepthOf(stored);
}
// Only the low 24 bits, so that a stored -1 cannot pose as "no colour".
int ColorRule(int stored, int) {
    return int(TColor(stored) & kColorBits);
}

// One key of the file. Rows stand in the order the keys are written; ReadAt gives the order in
// which they are read, which differs for ActualStep, ColorDepth and Transparency.
template <class TOptions> struct TField {
    using TValue =
        std::variant<int TOptions::*, TColor TOptions::*, bool TOptions::*, std::string TOptions::*>;
    const char* Section;
    const char* Key;
    TValue Value;
    TClean Clean = AsStored;
    int ReadAt = 0;
};

using TOptionField = TField<TPictureOptions>;
using TFontField = TField<TFontOptions>;
using O = TPictureOptions;
using F = TFontOptions;

constexpr const char* kOptions = "Options";
constexpr const char* kFont = "Font";

constexpr std::array<TOptionField, 17> kOptionFields = {{
    {kOptions, "WidthPic", &O::WidthPic, AtLeastOne, 0},
    {kOptions, "HeightPic", &O::HeightPic, AtLeastOne, 1},
    {kOptions, "StepX1", &O::StepX1, AsStored, 3},
    {kOptions, "StepY1", &O::StepY1, AsStored, 4},
    {kOptions, "StepX2", &O::StepX2, AsStored, 5},
    {kOptions, "StepY2", &O::StepY2, AsStored, 6},
    {kOptions, "StepX3", &O::StepX3, AsStored, 7},
    {kOptions, "StepY3", &O::StepY3, AsStored, 8},
    // Kept as stored: the step commands turn anything but 2 and 3 into 1.
    {kOptions, "ActualStep", &O::ActualStep, AsStored, 2},
    {kOptions, "BackgroundColor", &O::BackgroundColor, ColorRule, 9},
    {kOptions, "TransparentColor", &O::TransparentColor, ColorRule, 10},
    {kOptions, "FillColor", &O::FillColor, ColorRule, 11},
    {kOptions, "Transparency", &O::Transparency, AsStored, 13},
    {kOptions, "ColorDepth", &O::ColorDepth, DepthRule, 12},
    {kOptions, "ExactColors", &O::ExactColors, AsStored, 14},
    // 0 keeps no history at all, which a machine short of memory may want.
    {kOptions, "UndoMemory", &O::UndoMemory, AtLeastZero, 15},
    // 0 keeps no step on disk: those that do not fit the memory are dropped.
    {kOptions, "UndoDisk", &O::UndoDisk, AtLeastZero, 16},
}};

constexpr std::array<TFontField, 6> kFontFields = {{
    {kFont, "FontName", &F::FontName, AsStored, 0},
    // A size of 0 would preview as one pixel and be saved back so.
    {kFont, "FontSize", &F::FontSize, FontSizeRule, 1},
    {kFont, "FontStyleB", &F::FontStyleB, AsStored, 2},
    {kFont, "FontStyleI", &F::FontStyleI, AsStored, 3},
    {kFont, "FontStyleU", &F::FontStyleU, AsStored, 4},
    {kFont, "FontColor", &F::FontColor, ColorRule, 5},
}};

// Every row is read exactly once.
template <class TOptions, std::size_t N>
constexpr bool ReadsEachOnce(const std::array<TField<TOptions>, N>& fields) {
    for (std::size_t at = 0; at < N; ++at)
        if (std::count_if(fields.begin(), fields.end(),
                          [at](const auto& f) { return f.ReadAt == int(at); }) != 1)
            return false;
    return true;
}
static_assert(ReadsEachOnce(kOptionFields) && ReadsEachOnce(kFontFields));

template <class TOptions, std::size_t N>
TOptions Load(const TIniFile& ini, const std::array<TField<TOptions>, N>& fields) {
    std::array<const TField<TOptions>*, N> inReadingOrder;
    for (const TField<TOptions>& field : fields)
        inReadingOrder[std::size_t(field.ReadAt)] = &field;
    const TOptions defaults;
    TOptions options;
    for (const TField<TOptions>* field : inReadingOrder) {
        const char* section = field->Section;
        const char* key = field->Key;
        std::visit(
            [&](auto member) {
                using T = std::remove_reference_t<decltype(options.*member)>;
                const T def = defaults.*member;
                if constexpr (std::is_same_v<T, std::string>)
                    options.*member = ini.ReadString(section, key, def);
                else if constexpr (std::is_same_v<T, bool>)
                    options.*member = ini.ReadBool(section, key, def);
                else
                    options.*member = T(field->Clean(ini.ReadInteger(section, key, int(def)), int(def)));
            },
            field->Value);
    }
    return options;
}

template <class TOptions, std::size_t N>
void Save(TIniFile& ini, const TOptions& options, const std::array<TField<TOptions>, N>& fields) {
    for (const TField<TOptions>& field : fields)
        std::visit(
            [&](auto member) {
                const auto& value = options.*member;
                using T = std::remove_cvref_t<decltype(value)>;
                if constexpr (std::is_same_v<T, std::string>)
                    ini.WriteString(field.Section, field.Key, value);
                else if constexpr (std::is_same_v<T, bool>)
                    ini.WriteBool(field.Section, field.Key, value);
                else
                    ini.WriteInteger(field.Section, field.Key, int(value));
            },
            field.Value);
}

} // namespace

int DefaultUndoMemory() {
    constexpr std::uint64_t MiB = 1024 * 1024;
    constexpr int Ceiling = 512;
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0) return Ceiling;
    return int(std::min<std::uint64_t>(Ceiling, std::uint64_t(pages) * std::uint64_t(pageSize) / 4 / MiB));
}

int ColorDepthOf(int stored) {
    const int bits = stored & 0xFF;
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 ? bits : 24;
}

TPictureOptions LoadPictureOptions(const TIniFile& ini) {
    return Load(ini, kOptionFields);
}

void SavePictureOptions(TIniFile& ini, const TPictureOptions& options) {
    Save(ini, options, kOptionFields);
}

TFontOptions LoadFontOptions(const TIniFile& ini) {
    return Load(ini, kFontFields);
}

void SaveFontOptions(TIniFile& ini, const TFontOptions& font) {
    Save(ini, font, kFontFields);
}
