// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <utility>
#include <vector>

// The list quicksort whose order of equal elements the packed colour tables depend on: the
// pivot is the middle element's value, both scans stop on equality, the left part recurses
// and the right part loops. It is not stable, and must not be replaced by a sort that is, or
// colours of equal counts would come out in another order.
template <typename T, typename Compare>
void QuickSortRange(std::vector<T>& list, int l, int r, Compare compare) {
    int i;
    do {
        i = l;
        int j = r;
        const T pivot = list[std::size_t((l + r) >> 1)];
        do {
            while (compare(list[std::size_t(i)], pivot) < 0)
                ++i;
            while (compare(list[std::size_t(j)], pivot) > 0)
                --j;
            if (i <= j) {
                std::swap(list[std::size_t(i)], list[std::size_t(j)]);
                ++i;
                --j;
            }
        } while (i <= j);
        if (l < j) QuickSortRange(list, l, j, compare);
        l = i;
    } while (i < r);
}

template <typename T, typename Compare> void ListSort(std::vector<T>& list, Compare compare) {
    if (list.size() > 1) QuickSortRange(list, 0, int(list.size()) - 1, compare);
}
