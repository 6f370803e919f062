// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Modal.h"
#include "WorkProgress.h"

// The progress of one long piece of work for as long as the scope lives: Show tells the window
// how far it has come, and the window takes its progress away when the outermost scope ends,
// however it is left. Scopes nest like the wait cursor's, so a command that runs shorter ones
// keeps one progress bar.
class TProgress {
  public:
    // Writing a file shows its progress at once; see TDocumentHost::BeginProgress.
    enum class TStart { AtOnce, AfterAMoment };

    explicit TProgress(TDocumentHost& host, TStart start = TStart::AtOnce) : Host_(host) {
        if (Depth_++ == 0) Host_.BeginProgress(start == TStart::AtOnce);
    }
    ~TProgress() {
        if (--Depth_ == 0) Host_.EndProgress();
    }
    TProgress(const TProgress&) = delete;
    TProgress& operator=(const TProgress&) = delete;

    // False when the user asked to stop; work that cannot stop carries on regardless.
    bool Show(int percent) { return Host_.ShowProgress(percent); }
    // Step done of total: the window hears of it only when the whole per cent changes.
    bool Step(long long done, long long total) {
        const int percent = total <= 0 ? 100 : int(done * 100 / total);
        if (percent == Percent_) return true;
        Percent_ = percent;
        return Show(percent);
    }
    // While the returned scope lives, the picture's own long loops move this bar: the loop
    // numbered `part` of a command of `parts` loops fills that share of it.
    [[nodiscard]] TWorkProgress::TScope Follow(int part = 0, int parts = 1) {
        return TWorkProgress::TScope(
            [this, part, parts](int percent) { Show((part * 100 + percent) / parts); });
    }

  private:
    TDocumentHost& Host_;
    int Percent_ = -1;
    static inline int Depth_ = 0; // everything runs on the one GUI thread
};
