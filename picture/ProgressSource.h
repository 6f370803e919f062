// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ByteSource.h"

#include <algorithm>
#include <functional>
#include <utility>

// The bytes of another source, telling each time the share read of the expected total grows by
// a whole per cent how many per cent it is. Reading carries on whatever the answer.
class TProgressSource final : public TByteSource {
  public:
    using TReport = std::function<void(int percent)>;
    TProgressSource(TByteSource& source, std::uint64_t total, TReport report)
        : Source_(source), Total_(total), Report_(std::move(report)) {}
    std::size_t Read(void* data, std::size_t size) override {
        const std::size_t got = Source_.Read(data, size);
        const int percent =
            Total_ > 0 ? int(std::min<std::uint64_t>(Position(), Total_) * 100 / Total_) : 100;
        if (percent != Percent_) {
            Percent_ = percent;
            Report_(percent);
        }
        return got;
    }
    std::uint64_t Remaining() const override { return Source_.Remaining(); }
    std::uint64_t Position() const override { return Source_.Position(); }

  private:
    TByteSource& Source_;
    std::uint64_t Total_;
    TReport Report_;
    int Percent_ = -1;
};
