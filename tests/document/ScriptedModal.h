// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Modal.h"
#include "PictureDocument.h"

#include <deque>
#include <string>
#include <vector>

// A modal interface that answers from a script and records what was shown.
class TScriptedModal : public TModal {
  public:
    bool AskYesNo(const std::string& title, const std::string& text) override;
    TAnswer AskYesNoCancel(const std::string& title, const std::string& text) override;
    void ShowMessage(const std::string& title, const std::string& text) override;
    void ShowNotice(const std::string& title, const std::string& text) override;
    void ShowError(const std::string& text) override;
    std::optional<std::string> ChooseOpenFile(const TFileDialogOptions& options) override;
    std::optional<std::string> ChooseSaveFile(const TFileDialogOptions& options) override;
    bool OpenWithDesktop(const std::string& address) override {
        Opened.push_back(address);
        return DesktopHandles;
    }
    std::optional<TColor> ChooseColor(const std::string& title, TColor initial) override;

    // An answer waiting for the next question: true and false stand for Yes and No; a Cancel
    // given to a Yes/No question reads as No, as Escape does there.
    struct TScripted {
        TScripted(bool yes) : Answer(yes ? TAnswer::Yes : TAnswer::No) {}
        TScripted(TAnswer answer) : Answer(answer) {}
        TAnswer Answer;
    };
    std::deque<TScripted> Answers;                      // for both kinds of question; No when empty
    std::deque<std::optional<std::string>> FileChoices; // for both dialogs; cancel when empty
    std::vector<std::string> Shown;                     // "title|text" of every box, in order
    std::vector<std::string> Notices;                   // those of them shown without an icon
    std::vector<std::string> Errors;
    std::vector<TFileDialogOptions> Dialogs;
    std::vector<std::string> Opened;                // addresses handed to the desktop
    bool DesktopHandles = true;                     // false: no program to open them
    std::deque<std::optional<TColor>> ColorChoices; // for the colour dialog; cancel when empty
    std::vector<TColor> ColorPresets;               // the colour each colour dialog opened with
};

// A host that records what the document asked to repaint.
class TRecordingHost : public TDocumentHost {
  public:
    void PictureChanged(int left, int top, int right, int bottom) override;
    void PictureResized() override {
        ++Resized;
        ResizedWhileWaiting += WaitCursor;
    }
    void FloatingChanged() override { ++FloatingChanges; }
    void SetWaitCursor(bool wait) override { WaitCursor = wait; }
    void ProcessPendingEvents() override {
        ++EventsProcessed;
        EventsWhileWaiting += WaitCursor;
    }
    void TitleChanged() override { ++TitleChanges; }
    void BeginProgress(bool atOnce) override { ProgressBegins.push_back(atOnce); }
    // Escape pressed once the work reports StopAtPercent.
    bool ShowProgress(int percent) override {
        ++ProgressReports;
        Percents.push_back(percent);
        return percent < StopAtPercent;
    }
    void EndProgress() override { ++ProgressEnds; }

    std::vector<TRect> Changed;
    int StopAtPercent = 101;
    int ProgressReports = 0;
    std::vector<bool> ProgressBegins; // each one's "at once"
    std::vector<int> Percents;
    int ProgressEnds = 0;
    int Resized = 0;
    int FloatingChanges = 0;
    bool WaitCursor = false;
    int EventsProcessed = 0;
    int ResizedWhileWaiting = 0; // layouts and repaints asked for while the wait cursor was on
    int EventsWhileWaiting = 0;
    int TitleChanges = 0;
};

// A document with a scripted modal interface and a recording host, started like the window
// starts it: the default settings and a New picture.
struct TDocumentFixture {
    TScriptedModal Modal;
    TRecordingHost Host;
    TPictureDocument Document{Modal, Host};
};
