#include "PictureSettings.h"

#include "IniFile.h"

namespace {

constexpr const char* kOptions = "Options";
constexpr const char* kFont = "Font";
constexpr TColor kColorBits = 0xFFFFFF; // 0x00BBGGRR: the top byte is never part of a colour

TColor ReadColor(const TIniFile& ini, const char* section, const char* key, TColor def) {
    return TColor(ini.ReadInteger(section, key, int(def))) & kColorBits;
}

void WriteColor(TIniFile& ini, const char* section, const char* key, TColor color) {
    ini.WriteInteger(section, key, int(color));
}

int ReadSize(const TIniFile& ini, const char* key, int def) {
    const int size = ini.ReadInteger(kOptions, key, def);
    return size < 1 ? def : size;
}

} // namespace

int ColorDepthOf(int stored) {
    const int bits = stored & 0xFF;
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 ? bits : 24;
}

TPictureOptions LoadPictureOptions(const TIniFile& ini) {
    const TPictureOptions d;
    TPictureOptions o;
    o.WidthPic = ReadSize(ini, "WidthPic", d.WidthPic);
    o.HeightPic = ReadSize(ini, "HeightPic", d.HeightPic);
    o.ActualStep = ini.ReadInteger(kOptions, "ActualStep", d.ActualStep);
    o.StepX1 = ini.ReadInteger(kOptions, "StepX1", d.StepX1);
    o.StepY1 = ini.ReadInteger(kOptions, "StepY1", d.StepY1);
    o.StepX2 = ini.ReadInteger(kOptions, "StepX2", d.StepX2);
    o.StepY2 = ini.ReadInteger(kOptions, "StepY2", d.StepY2);
    o.StepX3 = ini.ReadInteger(kOptions, "StepX3", d.StepX3);
    o.StepY3 = ini.ReadInteger(kOptions, "StepY3", d.StepY3);
    o.BackgroundColor = ReadColor(ini, kOptions, "BackgroundColor", d.BackgroundColor);
    o.TransparentColor = ReadColor(ini, kOptions, "TransparentColor", d.TransparentColor);
    o.FillColor = ReadColor(ini, kOptions, "FillColor", d.FillColor);
    o.ColorDepth = ColorDepthOf(ini.ReadInteger(kOptions, "ColorDepth", d.ColorDepth));
    o.Transparency = ini.ReadBool(kOptions, "Transparency", d.Transparency);
    return o;
}

void SavePictureOptions(TIniFile& ini, const TPictureOptions& o) {
    ini.WriteInteger(kOptions, "WidthPic", o.WidthPic);
    ini.WriteInteger(kOptions, "HeightPic", o.HeightPic);
    ini.WriteInteger(kOptions, "StepX1", o.StepX1);
    ini.WriteInteger(kOptions, "StepY1", o.StepY1);
    ini.WriteInteger(kOptions, "StepX2", o.StepX2);
    ini.WriteInteger(kOptions, "StepY2", o.StepY2);
    ini.WriteInteger(kOptions, "StepX3", o.StepX3);
    ini.WriteInteger(kOptions, "StepY3", o.StepY3);
    ini.WriteInteger(kOptions, "ActualStep", o.ActualStep);
    WriteColor(ini, kOptions, "BackgroundColor", o.BackgroundColor);
    WriteColor(ini, kOptions, "TransparentColor", o.TransparentColor);
    WriteColor(ini, kOptions, "FillColor", o.FillColor);
    ini.WriteBool(kOptions, "Transparency", o.Transparency);
    ini.WriteInteger(kOptions, "ColorDepth", o.ColorDepth);
}

TFontOptions LoadFontOptions(const TIniFile& ini) {
    const TFontOptions d;
    TFontOptions f;
    f.FontName = ini.ReadString(kFont, "FontName", d.FontName);
    f.FontSize = ini.ReadInteger(kFont, "FontSize", d.FontSize);
    f.FontStyleB = ini.ReadBool(kFont, "FontStyleB", d.FontStyleB);
    f.FontStyleI = ini.ReadBool(kFont, "FontStyleI", d.FontStyleI);
    f.FontStyleU = ini.ReadBool(kFont, "FontStyleU", d.FontStyleU);
    f.FontColor = ReadColor(ini, kFont, "FontColor", d.FontColor);
    return f;
}

void SaveFontOptions(TIniFile& ini, const TFontOptions& f) {
    ini.WriteString(kFont, "FontName", f.FontName);
    ini.WriteInteger(kFont, "FontSize", f.FontSize);
    ini.WriteBool(kFont, "FontStyleB", f.FontStyleB);
    ini.WriteBool(kFont, "FontStyleI", f.FontStyleI);
    ini.WriteBool(kFont, "FontStyleU", f.FontStyleU);
    WriteColor(ini, kFont, "FontColor", f.FontColor);
}
