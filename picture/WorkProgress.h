// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>

// How far a long loop over a picture has come, told to whoever asked for the work without every
// function in between taking a callback: a command installs a report for as long as a scope
// lives, and the loops of this layer call Step as they go. With no report installed a step costs
// a test of one pointer. The report hears only whole per cents, each once.
class TWorkProgress {
  public:
    using TReport = std::function<void(int percent)>;

    class TScope {
      public:
        explicit TScope(TReport report);
        ~TScope();
        TScope(const TScope&) = delete;
        TScope& operator=(const TScope&) = delete;

      private:
        void Tell(std::uint64_t done, std::uint64_t total);
        TReport Report_;
        TScope* Outer_;
        int Percent_ = -1;
        friend class TWorkProgress;
    };

    // done of total units of the loop under way; a new loop may start again from 0.
    static void Step(std::uint64_t done, std::uint64_t total) {
        if (Current_) Current_->Tell(done, total);
    }

  private:
    static inline thread_local TScope* Current_ = nullptr;
    friend class TScope;
};
