// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Modal.h"

class QWidget;

// The modal interface of the running program: Qt message boxes and file dialogs over the window.
class TQtModal : public TModal {
  public:
    explicit TQtModal(QWidget* parent = nullptr) : Parent_(parent) {}
    void SetParent(QWidget* parent) { Parent_ = parent; }

    bool AskYesNo(const std::string& title, const std::string& text) override;
    TAnswer AskYesNoCancel(const std::string& title, const std::string& text) override;
    void ShowMessage(const std::string& title, const std::string& text) override;
    void ShowNotice(const std::string& title, const std::string& text) override;
    void ShowError(const std::string& text) override;
    std::optional<std::string> ChooseOpenFile(const TFileDialogOptions& options) override;
    std::optional<std::string> ChooseSaveFile(const TFileDialogOptions& options) override;
    bool OpenWithDesktop(const std::string& address) override;
    std::optional<TColor> ChooseColor(const std::string& title, TColor initial) override;

  private:
    QWidget* Parent_;
};
