#pragma once

#include "ColorTally.h"
#include "GifColorMap.h"
#include "Histogram.h"

#include <array>
#include <memory>
#include <vector>

class TGIFImage;

// Packs every colour table of an image into one global table of the colours in use, most used
// first, merging equal colours, and renumbers the pixels to it. Made, run once and dropped.
class TColorMapOptimizer {
  public:
    explicit TColorMapOptimizer(TGIFImage& image) : Image(image) {}
    void Optimize();

    TGIFImage& Image;
    std::vector<std::unique_ptr<THistogram>> Histograms;
    std::vector<ColorTally*> Combined;
    std::array<TGIFColor, MaxGIFColors> PackedTable{};
    int KeptCount = 0;
    bool TransparencyUsed = false;
    int TransparentSlot = 0;

  private:
    void MakeHistograms();
    void MergeEqualColors();
    void ChooseKeptColors();
    void InstallTable();
    void Renumber();
};
