// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScriptedModal.h"

bool TScriptedModal::AskYesNo(const std::string& title, const std::string& text) {
    return AskYesNoCancel(title, text) == TAnswer::Yes;
}

TAnswer TScriptedModal::AskYesNoCancel(const std::string& title, const std::string& text) {
    Shown.push_back(title + "|" + text);
    if (Answers.empty()) return TAnswer::No;
    const TAnswer answer = Answers.front().Answer;
    Answers.pop_front();
    return answer;
}

void TScriptedModal::ShowMessage(const std::string& title, const std::string& text) {
    Shown.push_back(title + "|" + text);
}

void TScriptedModal::ShowNotice(const std::string& title, const std::string& text) {
    Shown.push_back(title + "|" + text);
    Notices.push_back(Shown.back());
}

void TScriptedModal::ShowError(const std::string& text) {
    Errors.push_back(text);
}

std::optional<std::string> TScriptedModal::ChooseOpenFile(const TFileDialogOptions& options) {
    Dialogs.push_back(options);
    if (FileChoices.empty()) return std::nullopt;
    auto choice = FileChoices.front();
    FileChoices.pop_front();
    return choice;
}

std::optional<std::string> TScriptedModal::ChooseSaveFile(const TFileDialogOptions& options) {
    return ChooseOpenFile(options);
}

std::optional<TColor> TScriptedModal::ChooseColor(const std::string& title, TColor initial) {
    Shown.push_back(title + "|colour dialog");
    ColorPresets.push_back(initial);
    if (ColorChoices.empty()) return std::nullopt;
    const std::optional<TColor> choice = ColorChoices.front();
    ColorChoices.pop_front();
    return choice;
}

void TRecordingHost::PictureChanged(int left, int top, int right, int bottom) {
    Changed.push_back(TRect{left, top, right, bottom});
}
