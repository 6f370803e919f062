// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColorClusters.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <queue>

namespace {

constexpr std::uint64_t LargeAreaShare = 4096; // a colour of at least 1/4096 of the pixels
constexpr int RefineRounds = 8;

double Channel(const TWeightedColor& c, int axis) {
    return axis == 0 ? c.Red : axis == 1 ? c.Green : c.Blue;
}

std::uint8_t Rounded(double v) {
    return std::uint8_t(std::clamp(std::lround(v), 0L, 255L));
}

TRGBQuad QuadOfMean(double r, double g, double b) {
    return TRGBQuad{Rounded(b), Rounded(g), Rounded(r), 0};
}

// Weighted sums of one group of colours, enough for its mean and its squared error.
struct TMoments {
    double Weight = 0, Sum[3] = {0, 0, 0}, Squares = 0;

    void Add(const TWeightedColor& c) {
        const double w = double(c.Pixels);
        Weight += w;
        for (int a = 0; a < 3; ++a) {
            const double v = Channel(c, a);
            Sum[a] += w * v;
            Squares += w * v * v;
        }
    }
    double Error() const {
        if (Weight <= 0) return 0;
        return Squares - (Sum[0] * Sum[0] + Sum[1] * Sum[1] + Sum[2] * Sum[2]) / Weight;
    }
    TRGBQuad Mean() const { return QuadOfMean(Sum[0] / Weight, Sum[1] / Weight, Sum[2] / Weight); }
};

// A group of the colours [First, Last) of the working list.
struct TBox {
    std::size_t First = 0, Last = 0;
    double Error = 0;
    bool operator<(const TBox& other) const { return Error < other.Error; }
};

TMoments MomentsOf(const std::vector<TWeightedColor>& colors, std::size_t first, std::size_t last) {
    TMoments m;
    for (std::size_t i = first; i < last; ++i)
        m.Add(colors[i]);
    return m;
}

// Splits a box in two where the halves keep the least squared error, trying each channel;
// returns false when it cannot be split.
bool SplitBox(std::vector<TWeightedColor>& colors, const TBox& box, TBox& left, TBox& right) {
    if (box.Last - box.First < 2 || box.Error <= 0) return false;
    double best = std::numeric_limits<double>::max();
    int bestAxis = -1;
    std::size_t bestCut = 0;
    std::vector<TMoments> prefix(box.Last - box.First + 1);
    for (int axis = 0; axis < 3; ++axis) {
        std::sort(colors.begin() + std::ptrdiff_t(box.First), colors.begin() + std::ptrdiff_t(box.Last),
                  [axis](const TWeightedColor& a, const TWeightedColor& b) {
                      return Channel(a, axis) < Channel(b, axis);
                  });
        for (std::size_t i = box.First; i < box.Last; ++i) {
            prefix[i - box.First + 1] = prefix[i - box.First];
            prefix[i - box.First + 1].Add(colors[i]);
        }
        const TMoments& all = prefix.back();
        for (std::size_t cut = box.First + 1; cut < box.Last; ++cut) {
            // Equal values must stay together, or the two halves would overlap.
            if (Channel(colors[cut - 1], axis) == Channel(colors[cut], axis)) continue;
            const TMoments& low = prefix[cut - box.First];
            TMoments high;
            high.Weight = all.Weight - low.Weight;
            for (int a = 0; a < 3; ++a)
                high.Sum[a] = all.Sum[a] - low.Sum[a];
            high.Squares = all.Squares - low.Squares;
            const double error = low.Error() + high.Error();
            if (error < best) {
                best = error;
                bestAxis = axis;
                bestCut = cut;
            }
        }
    }
    if (bestAxis < 0) return false;
    std::sort(colors.begin() + std::ptrdiff_t(box.First), colors.begin() + std::ptrdiff_t(box.Last),
              [bestAxis](const TWeightedColor& a, const TWeightedColor& b) {
                  return Channel(a, bestAxis) < Channel(b, bestAxis);
              });
    left = {box.First, bestCut, MomentsOf(colors, box.First, bestCut).Error()};
    right = {bestCut, box.Last, MomentsOf(colors, bestCut, box.Last).Error()};
    return true;
}

std::size_t NearestEntry(const std::vector<TRGBQuad>& table, const TWeightedColor& c) {
    double best = std::numeric_limits<double>::max();
    std::size_t bestIndex = 0;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const double dr = table[i].Red - c.Red, dg = table[i].Green - c.Green, db = table[i].Blue - c.Blue;
        const double d = dr * dr + dg * dg + db * db;
        if (d < best) {
            best = d;
            bestIndex = i;
        }
    }
    return bestIndex;
}

// Moves every free entry to the mean of the colours nearest to it, for a few rounds; returns
// the pixels each entry then stands for.
std::vector<double> Refine(const std::vector<TWeightedColor>& colors, std::vector<TRGBQuad>& table,
                           std::size_t firstFree) {
    std::vector<double> weights(table.size());
    std::vector<std::size_t> nearest(colors.size());
    for (int round = 0; round <= RefineRounds; ++round) {
        std::vector<TMoments> groups(table.size());
        for (std::size_t i = 0; i < colors.size(); ++i) {
            nearest[i] = NearestEntry(table, colors[i]);
            groups[nearest[i]].Add(colors[i]);
        }
        for (std::size_t e = 0; e < table.size(); ++e)
            weights[e] = groups[e].Weight;
        if (round == RefineRounds) break;
        bool moved = false;
        for (std::size_t e = firstFree; e < table.size(); ++e) {
            if (groups[e].Weight <= 0) continue;
            const TRGBQuad mean = groups[e].Mean();
            if (!(mean == table[e])) {
                table[e] = mean;
                moved = true;
            }
        }
        if (!moved) break;
    }
    return weights;
}

} // namespace

std::vector<TRGBQuad> ClusterColors(std::vector<TWeightedColor> colors, std::size_t maxColors) {
    std::erase_if(colors, [](const TWeightedColor& c) { return c.Pixels == 0; });
    std::stable_sort(colors.begin(), colors.end(),
                     [](const TWeightedColor& a, const TWeightedColor& b) { return a.Pixels > b.Pixels; });
    std::vector<TRGBQuad> table;
    if (maxColors == 0) return table;
    if (colors.size() <= maxColors) {
        for (const TWeightedColor& c : colors)
            table.push_back(QuadOfMean(c.Red, c.Green, c.Blue));
        return table;
    }

    std::uint64_t total = 0;
    for (const TWeightedColor& c : colors)
        total += c.Pixels;
    std::vector<TWeightedColor> rest;
    for (const TWeightedColor& c : colors) {
        const bool large = c.Exact && c.Pixels * LargeAreaShare >= total && table.size() < maxColors / 2;
        if (large)
            table.push_back(QuadOfMean(c.Red, c.Green, c.Blue));
        else
            rest.push_back(c);
    }
    const std::size_t firstFree = table.size();

    std::priority_queue<TBox> boxes;
    std::vector<TBox> done;
    boxes.push({0, rest.size(), MomentsOf(rest, 0, rest.size()).Error()});
    while (!boxes.empty() && boxes.size() + done.size() < maxColors - firstFree) {
        const TBox box = boxes.top();
        boxes.pop();
        TBox left, right;
        if (SplitBox(rest, box, left, right)) {
            boxes.push(left);
            boxes.push(right);
        } else {
            done.push_back(box);
        }
    }
    for (; !boxes.empty(); boxes.pop())
        done.push_back(boxes.top());
    for (const TBox& box : done)
        if (box.Last > box.First) table.push_back(MomentsOf(rest, box.First, box.Last).Mean());

    const std::vector<double> weights = Refine(colors, table, firstFree);

    // Most used first; an entry nothing maps to, or a repeat of an earlier one, is left out.
    std::vector<std::size_t> order(table.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&weights](std::size_t a, std::size_t b) { return weights[a] > weights[b]; });
    std::vector<TRGBQuad> result;
    for (std::size_t i : order)
        if (weights[i] > 0 && std::find(result.begin(), result.end(), table[i]) == result.end())
            result.push_back(table[i]);
    return result;
}
