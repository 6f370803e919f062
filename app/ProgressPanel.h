// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QObject>

class QProgressBar;
class QStatusBar;

// The progress of long work in the status bar: a bar with its percentage, shown (with the status
// bar, if the user has hidden it) from the first report to the end. While it shows, the window
// keeps painting and the user's input waits, except Escape, which asks the work to stop.
class TProgressPanel : public QObject {
  public:
    explicit TProgressPanel(QStatusBar* statusBar);

    // New work: its bar shows with its first share, or (not at once) only once the work has
    // gone on for a moment.
    void Begin(bool atOnce);
    // Shows the share and lets the window paint. False once Escape was pressed during this work.
    bool Show(int percent);
    void End();

    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QStatusBar* StatusBar_;
    QProgressBar* Bar_;
    bool Active_ = false;
    bool StatusBarWasHidden_ = false;
    bool CancelAsked_ = false;
    bool AtOnce_ = true;
    QElapsedTimer SinceBegin_;
    QElapsedTimer SincePaint_;
};
