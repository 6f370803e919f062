// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScanlineFilter.h"

#include "MemoryGuard.h"

#include <cstdint>
#include <cstdlib>

namespace ScanlineFilter {

void Sub(const std::uint8_t* __restrict current, std::uint8_t* __restrict out, std::size_t size,
         std::size_t distance) {
    std::size_t i = 0;
    for (; i < size && i < distance; ++i)
        out[i] = current[i];
    for (; i < size; ++i)
        out[i] = std::uint8_t(current[i] - current[i - distance]);
}

void Up(const std::uint8_t* __restrict current, const std::uint8_t* __restrict prior,
        std::uint8_t* __restrict out, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i)
        out[i] = std::uint8_t(current[i] - prior[i]);
}

void Average(const std::uint8_t* __restrict current, const std::uint8_t* __restrict prior,
             std::uint8_t* __restrict out, std::size_t size, std::size_t distance) {
    std::size_t i = 0;
    for (; i < size && i < distance; ++i)
        out[i] = std::uint8_t(current[i] - prior[i] / 2);
    for (; i < size; ++i)
        out[i] = std::uint8_t(current[i] - (unsigned(current[i - distance]) + unsigned(prior[i])) / 2);
}

namespace {

// The predictor of the PNG standard: the neighbour closest to left + up - upper left,
// ties going to left, then up.
std::uint8_t PaethPredictor(int left, int up, int upperLeft) {
    const int p = left + up - upperLeft;
    const int pa = std::abs(p - left);
    const int pb = std::abs(p - up);
    const int pc = std::abs(p - upperLeft);
    if (pa <= pb && pa <= pc) return std::uint8_t(left);
    if (pb <= pc) return std::uint8_t(up);
    return std::uint8_t(upperLeft);
}

} // namespace

void Paeth(const std::uint8_t* __restrict current, const std::uint8_t* __restrict prior,
           std::uint8_t* __restrict out, std::size_t size, std::size_t distance) {
    std::size_t i = 0;
    // Left and upper left are 0 here, so the predictor is up.
    for (; i < size && i < distance; ++i)
        out[i] = std::uint8_t(current[i] - prior[i]);
    for (; i < size; ++i)
        out[i] =
            std::uint8_t(current[i] - PaethPredictor(current[i - distance], prior[i], prior[i - distance]));
}

std::size_t Score(const std::uint8_t* row, std::size_t size) {
    std::size_t score = 0;
    for (std::size_t j = 2; j < size; ++j)
        score += (row[j] == row[j - 1] || row[j] == row[j - 2]) ? 1 : 0;
    return score;
}

TFilterType Choose(TFilterSet allowed, const std::array<const std::uint8_t*, 5>& outputs, std::size_t size) {
    allowed &= AllFilterTypes;
    if (allowed == 0 || allowed == FilterBit(TFilterType::None)) return TFilterType::None;
    TFilterType chosen = TFilterType::None;
    std::size_t best = 0;
    for (unsigned t = 0; t < 5; ++t) {
        const auto type = TFilterType(t);
        if (!(allowed & FilterBit(type))) continue;
        if (allowed == FilterBit(type)) return type;
        const std::size_t score = Score(outputs[t], size);
        if (score > best) {
            best = score;
            chosen = type;
        }
    }
    return chosen;
}

std::size_t Distance(const std::uint8_t* row, std::size_t size) {
    std::size_t sum = 0;
    for (std::size_t i = 0; i < size; ++i)
        sum += row[i] < 128 ? row[i] : 256u - row[i];
    return sum;
}

TFilterType ChooseNearestZero(TFilterSet allowed, const std::array<const std::uint8_t*, 5>& outputs,
                              std::size_t size) {
    allowed &= AllFilterTypes;
    TFilterType chosen = TFilterType::None;
    std::size_t best = SIZE_MAX;
    for (unsigned t = 0; t < 5; ++t) {
        const auto type = TFilterType(t);
        if (!(allowed & FilterBit(type))) continue;
        if (allowed == FilterBit(type)) return type;
        const std::size_t sum = Distance(outputs[t], size);
        if (sum < best) {
            best = sum;
            chosen = type;
        }
    }
    return chosen;
}

} // namespace ScanlineFilter

TRowFilter::TRowFilter(std::size_t rowBytes, std::size_t distance, TFilterSet allowed, TChoice choice)
    : RowBytes_(rowBytes), Distance_(distance), Allowed_(TFilterSet(allowed & AllFilterTypes)),
      Choice_(choice), ZeroRow_(AllocateBytes(rowBytes)), Prior_(ZeroRow_.data()) {
    for (unsigned t = 1; t < 5; ++t)
        if (Allowed_ & FilterBit(TFilterType(t))) {
            Outputs_[t] = AllocateBytes(1 + rowBytes);
            Outputs_[t][0] = std::uint8_t(t);
        }
}

TRowFilter::TFiltered TRowFilter::FilterRow(const std::uint8_t* row) {
    using enum TFilterType;
    auto out = [&](TFilterType t) {
        return Outputs_[unsigned(t)].empty() ? nullptr : Outputs_[unsigned(t)].data() + 1;
    };
    const std::array<const std::uint8_t*, 5> outputs{row, out(Sub), out(Up), out(Average), out(Paeth)};
    if (Allowed_ & FilterBit(Sub)) ScanlineFilter::Sub(row, out(Sub), RowBytes_, Distance_);
    if (Allowed_ & FilterBit(Up)) ScanlineFilter::Up(row, Prior_, out(Up), RowBytes_);
    if (Allowed_ & FilterBit(Average))
        ScanlineFilter::Average(row, Prior_, out(Average), RowBytes_, Distance_);
    if (Allowed_ & FilterBit(Paeth)) ScanlineFilter::Paeth(row, Prior_, out(Paeth), RowBytes_, Distance_);
    const TFilterType chosen = Choice_ == TChoice::NearestZero
                                   ? ScanlineFilter::ChooseNearestZero(Allowed_, outputs, RowBytes_)
                                   : ScanlineFilter::Choose(Allowed_, outputs, RowBytes_);
    Prior_ = row;
    if (chosen == None) return {chosen, row, nullptr};
    return {chosen, outputs[unsigned(chosen)], outputs[unsigned(chosen)] - 1};
}
