// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// The five filter types of PNG filter method 0; the value is the type byte before each row.
enum class TFilterType : std::uint8_t { None = 0, Sub = 1, Up = 2, Average = 3, Paeth = 4 };

// A set of filter types: bit n for filter type n.
using TFilterSet = std::uint8_t;
constexpr TFilterSet FilterBit(TFilterType type) {
    return TFilterSet(1u << unsigned(type));
}
inline constexpr TFilterSet AllFilterTypes = 0x1F;

namespace ScanlineFilter {

// Each writes size bytes of filtered output. distance is the byte distance to the same sample of
// the pixel on the left; bytes before the first pixel, and the prior row of the first row, count
// as zero. Results are modulo 256.
void Sub(const std::uint8_t* current, std::uint8_t* out, std::size_t size, std::size_t distance);
void Up(const std::uint8_t* current, const std::uint8_t* prior, std::uint8_t* out, std::size_t size);
void Average(const std::uint8_t* current, const std::uint8_t* prior, std::uint8_t* out, std::size_t size,
             std::size_t distance);
void Paeth(const std::uint8_t* current, const std::uint8_t* prior, std::uint8_t* out, std::size_t size,
           std::size_t distance);

// How well a filtered row should compress: the positions from 2 on whose byte repeats one of the
// two bytes before it.
std::size_t Score(const std::uint8_t* row, std::size_t size);

// The type to write, given the outputs of the allowed types (indexed by type; None's output is
// the unfiltered row). A set of one type gives that type unscored; otherwise the highest score
// wins, the lower type on equal scores, and None when nothing scores above zero.
TFilterType Choose(TFilterSet allowed, const std::array<const std::uint8_t*, 5>& outputs, std::size_t size);

// The sum of the bytes taken as signed distances from zero (a byte of 255 counts 1): the
// smaller, the closer a truecolour row is to flat, and the better deflate packs it.
std::size_t Distance(const std::uint8_t* row, std::size_t size);

// Of the allowed types, the one whose output has the smallest Distance, the lower type on equal
// sums.
TFilterType ChooseNearestZero(TFilterSet allowed, const std::array<const std::uint8_t*, 5>& outputs,
                              std::size_t size);

} // namespace ScanlineFilter

// Filters the rows of one image top to bottom. It keeps one output row for each allowed filter
// other than None and a row of zeros for above the first row; the rows themselves stay where the
// caller has them.
class TRowFilter {
  public:
    // How a type is picked among several allowed: Repeats keeps the default export's bytes,
    // NearestZero makes truecolour rows smaller.
    enum class TChoice { Repeats, NearestZero };
    TRowFilter(std::size_t rowBytes, std::size_t distance, TFilterSet allowed,
               TChoice choice = TChoice::Repeats);

    struct TFiltered {
        TFilterType Type;
        const std::uint8_t* Bytes; // rowBytes bytes, valid until the next call
        // The type byte followed by Bytes, when the output has one in front; else nullptr.
        const std::uint8_t* TypeAndBytes;
    };

    // Filters a row, encoded but unfiltered, against the row given in the call before. That row
    // must stay as it was until this call returns; None's output is the row itself.
    TFiltered FilterRow(const std::uint8_t* row);

  private:
    std::size_t RowBytes_;
    std::size_t Distance_;
    TFilterSet Allowed_;
    TChoice Choice_;
    std::vector<std::uint8_t> ZeroRow_;
    const std::uint8_t* Prior_;
    // By type; None has none. Each keeps the type byte in front, so that a row goes to the
    // compressor in one piece.
    std::array<std::vector<std::uint8_t>, 5> Outputs_;
};
