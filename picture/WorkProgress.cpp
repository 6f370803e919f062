// SPDX-License-Identifier: GPL-3.0-or-later
#include "WorkProgress.h"

#include <algorithm>
#include <utility>

TWorkProgress::TScope::TScope(TReport report) : Report_(std::move(report)), Outer_(Current_) {
    Current_ = this;
}

TWorkProgress::TScope::~TScope() {
    Current_ = Outer_;
}

void TWorkProgress::TScope::Tell(std::uint64_t done, std::uint64_t total) {
    const int percent = total == 0 ? 100 : int(std::min<std::uint64_t>(done, total) * 100 / total);
    if (percent == Percent_) return;
    Percent_ = percent;
    Report_(percent);
}
