// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BenchPictures.h"
#include "PictureDocument.h"

// Benchmarks answer no questions and repaint nothing.
class TSilentModal : public TModal {
  public:
    bool AskYesNo(const std::string&, const std::string&) override { return false; }
    void ShowMessage(const std::string&, const std::string&) override {}
    void ShowError(const std::string&) override {}
    std::optional<std::string> ChooseOpenFile(const TFileDialogOptions&) override { return std::nullopt; }
    std::optional<std::string> ChooseSaveFile(const TFileDialogOptions&) override { return std::nullopt; }
    TAnswer AskYesNoCancel(const std::string&, const std::string&) override { return TAnswer::No; }
    bool OpenWithDesktop(const std::string&) override { return true; }
    std::optional<TColor> ChooseColor(const std::string&, TColor) override { return std::nullopt; }
};

// A document holding a tile map of side x side pixels, as if opened from a file of that size.
struct TBenchDocument {
    TSilentModal Modal;
    TDocumentHost Host;
    TPictureDocument Document{Modal, Host};

    explicit TBenchDocument(int side) {
        TPictureOptions options = Document.OptionsToKeep();
        options.WidthPic = side;
        options.HeightPic = side;
        Document.ApplyLoadedOptions(options, Document.Font());
        Document.ReplacePicture(MakeTileMap(side, side));
    }
};
