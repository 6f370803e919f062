// SPDX-License-Identifier: GPL-3.0-or-later
// Changes to the picture options that come from outside the picture: the colour buttons and
// the settings file.

#include "PictureDocument.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <initializer_list>

namespace {

std::string FirstFolderOf(std::initializer_list<std::string> folders) {
    for (const std::string& folder : folders)
        if (!folder.empty()) return folder;
    return {};
}

std::string FolderOfFile(const std::string& file) {
    return file.empty() ? std::string() : std::filesystem::path(file).parent_path().string();
}

} // namespace

void TPictureDocument::SetBackgroundColor(TColor color) {
    Options_.BackgroundColor = color;
    ApplyBackgroundColor();
}

void TPictureDocument::SetTransparentColor(TColor color) {
    Options_.TransparentColor = color;
    Float_.Bitmap.TransparentColor = color;
    if (Float_.Active) Host_.FloatingChanged();
}

void TPictureDocument::SetFillColor(TColor color) {
    Options_.FillColor = color;
}

void TPictureDocument::ApplyLoadedOptions(const TPictureOptions& loaded, const TFontOptions& font) {
    const bool transparency = Options_.Transparency;
    Options_ = loaded;
    Options_.Transparency = transparency;
    SetHistoryBudget(std::uint64_t(std::max(loaded.UndoMemory, 0)) * 1024 * 1024);
    ChooseStepPair(loaded.ActualStep == 2 || loaded.ActualStep == 3 ? loaded.ActualStep : 1);
    ApplyBackgroundColor();
    SetColorDepth(loaded.ColorDepth);
    if (loaded.Transparency && !Options_.Transparency) ToggleTransparency();
    Font_ = font;
}

TPictureOptions TPictureDocument::OptionsToKeep() const {
    TPictureOptions kept = Options_;
    kept.ColorDepth = Picture_.BitsPerPixel();
    return kept;
}

void TPictureDocument::SetPictureFolder(const std::string& folder) {
    Files_.OpenFolder = folder;
    Files_.SaveFolder = folder;
}

void TPictureDocument::SetDefaultFolder(const std::string& folder) {
    Files_.DefaultFolder = folder;
}

std::string TPictureDocument::OpenDialogFolder() const {
    return FirstFolderOf(
        {FolderOfFile(Files_.Current), Files_.OpenFolder, Files_.SaveFolder, Files_.DefaultFolder});
}

std::string TPictureDocument::SaveDialogFolder() const {
    return FirstFolderOf(
        {FolderOfFile(Files_.Current), Files_.SaveFolder, Files_.OpenFolder, Files_.DefaultFolder});
}

void TPictureDocument::SetFont(const TFontOptions& font) {
    Font_ = font;
}
