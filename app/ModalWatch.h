#pragma once

#include "Modal.h"

// Passes everything to the window's modal interface and counts the errors shown, so that the
// window can tell whether a save it led to has failed (closing must not lose the picture then).
class TModalWatch : public TModal {
public:
    explicit TModalWatch(TModal& inner) : Inner_(inner) {}

    bool AskYesNo(const std::string& title, const std::string& text) override {
        return Inner_.AskYesNo(title, text);
    }
    void ShowMessage(const std::string& title, const std::string& text) override {
        Inner_.ShowMessage(title, text);
    }
    void ShowError(const std::string& text) override {
        ++ErrorsShown;
        Inner_.ShowError(text);
    }
    std::optional<std::string> ChooseOpenFile(const TFileDialogOptions& options) override {
        return Inner_.ChooseOpenFile(options);
    }
    std::optional<std::string> ChooseSaveFile(const TFileDialogOptions& options) override {
        return Inner_.ChooseSaveFile(options);
    }

    int ErrorsShown = 0;

private:
    TModal& Inner_;
};
