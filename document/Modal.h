// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Color.h"

#include <optional>
#include <string>
#include <vector>

// One entry of a file dialog's filter list: "PNG pictures" and {"png"} show as "PNG pictures (*.png)".
struct TFileFilter {
    std::string Text;
    std::vector<std::string> Extensions;
};

// What the open and save dialogs are asked to show.
struct TFileDialogOptions {
    std::string Title;            // "Open picture" / "Save picture"
    std::string FilterText;       // "bitmap pictures": shown as "bitmap pictures (*.bmp)", pattern *.bmp
    std::string DefaultExtension; // "bmp", added when the user types a name without one
    std::string InitialFolder;
    // When given, the filters shown instead of FilterText's one, the first chosen at first. In a
    // save dialog the chosen filter's first extension is the one added to a name without one.
    std::vector<TFileFilter> Filters = {};
};

// The answer to a question that can be called off.
enum class TAnswer { Yes, No, Cancel };

// Everything modal the editor shows: message boxes, file dialogs and the desktop's handlers. The window gives
// the real one (Qt); tests give a scripted one that answers and records.
class TModal {
  public:
    virtual ~TModal() = default;
    // A question with Yes and No; true for Yes.
    virtual bool AskYesNo(const std::string& title, const std::string& text) = 0;
    // A question with Yes, No and Cancel; Escape and the window's close button mean Cancel.
    virtual TAnswer AskYesNoCancel(const std::string& title, const std::string& text) = 0;
    // A message with one OK button.
    virtual void ShowMessage(const std::string& title, const std::string& text) = 0;
    // A report with one OK button and no icon: news, not a warning ("The picture was saved to").
    virtual void ShowNotice(const std::string& title, const std::string& text) { ShowMessage(title, text); }
    // The application's default error report for a failed command (a file that cannot be read...).
    virtual void ShowError(const std::string& text) = 0;
    // A path, or nothing when the user cancels. The save dialog asks before overwriting.
    virtual std::optional<std::string> ChooseOpenFile(const TFileDialogOptions& options) = 0;
    virtual std::optional<std::string> ChooseSaveFile(const TFileDialogOptions& options) = 0;
    // Hands a file URL, a web address or a mailto: link to the desktop's default handler. False
    // when no handler could be started (a machine without a browser); what a handler does
    // with the address is the desktop's business.
    virtual bool OpenWithDesktop(const std::string& address) = 0;
    // The colour dialog preset with a colour; the chosen colour, or nothing when cancelled.
    virtual std::optional<TColor> ChooseColor(const std::string& title, TColor initial) = 0;
};

// What the document tells the window so that it repaints only what changed.
class TDocumentHost {
  public:
    virtual ~TDocumentHost() = default;
    // Pixels of the picture inside the area (picture coordinates) changed.
    virtual void PictureChanged(int /*left*/, int /*top*/, int /*right*/, int /*bottom*/) {}
    // The picture's size or pixel format changed: lay out and repaint everything.
    virtual void PictureResized() {}
    // New or Open put another picture in place: the view starts again at its first magnification.
    virtual void PictureReplaced() {}
    // The floating image appeared, moved, changed its pixels or went away.
    virtual void FloatingChanged() {}
    // The hourglass cursor on (true) or back to normal (false).
    virtual void SetWaitCursor(bool /*wait*/) {}
    // Long commands call this between steps so that the window repaints and the timer runs.
    virtual void ProcessPendingEvents() {}
    // Long work begins. Work most often over in an instant (a fill, the conversion of a small
    // picture) does not ask for its progress at once: the window shows it only once the work has
    // gone on for a moment, so that it does not flicker on every click.
    virtual void BeginProgress(bool /*atOnce*/) {}
    // Long work tells how far it has come (0 to 100 per cent); the window shows it and keeps
    // painting meanwhile. Work that can stop (a file being written) stops when the answer is
    // false: the user asked for it. Held through a TProgress (Progress.h).
    virtual bool ShowProgress(int /*percent*/) { return true; }
    // The work that showed progress has ended, finished or not.
    virtual void EndProgress() {}
    // CurrentFile changed, so the window title did.
    virtual void TitleChanged() {}
    // A picture was opened from this file, or written to it under a new name.
    virtual void FileNamed(const std::string& /*path*/) {}
};
