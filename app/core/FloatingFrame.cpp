// The frame that marks the floating image. It is drawn into the floating bitmap itself, so the
// four one-pixel strips under it are the only copy kept of the pixels it covers.

#include "PictureDocument.h"

#include <utility>

namespace {

// A strip in the floating bitmap's own format and colour table, so that drawing it back is a
// plain copy that gives back exactly the pixels it took.
TBitmap StripOf(const TBitmap& source, const TRect& area) {
    TBitmap strip(area.Width(), area.Height(), source.PixelFormat());
    strip.SetColorTable(source.ColorTable());
    strip.CopyRect(Bounds(0, 0, area.Width(), area.Height()), source, area);
    return strip;
}

} // namespace

void TPictureDocument::SaveFloatingEdges() {
    const int width = FloatingBitmap.Width();
    const int height = FloatingBitmap.Height();
    if (width <= 0 || height <= 0) {
        FreeFloatingEdges();
        return;
    }
    // All four are taken before any is replaced, so a refused allocation keeps the old set.
    TBitmap left = StripOf(FloatingBitmap, Bounds(0, 0, 1, height));
    TBitmap right = StripOf(FloatingBitmap, Bounds(width - 1, 0, 1, height));
    TBitmap top = StripOf(FloatingBitmap, Bounds(0, 0, width, 1));
    TBitmap bottom = StripOf(FloatingBitmap, Bounds(0, height - 1, width, 1));
    EdgeLeft = std::move(left);
    EdgeRight = std::move(right);
    EdgeTop = std::move(top);
    EdgeBottom = std::move(bottom);
}

void TPictureDocument::RestoreFloatingEdges() {
    if (FloatWidth <= 0 && FloatHeight <= 0) return;
    const int width = FloatingBitmap.Width();
    const int height = FloatingBitmap.Height();
    FloatingBitmap.Draw(0, 0, EdgeLeft);
    FloatingBitmap.Draw(0, 0, EdgeTop);
    FloatingBitmap.Draw(width - 1, 0, EdgeRight);
    FloatingBitmap.Draw(0, height - 1, EdgeBottom);
}

void TPictureDocument::FreeFloatingEdges() {
    EdgeLeft = TBitmap();
    EdgeTop = TBitmap();
    EdgeRight = TBitmap();
    EdgeBottom = TBitmap();
}

void TPictureDocument::DrawFloatingFrame() {
    // A transparent floating image shows the picture through it instead of a frame; a rubber
    // band being dragged always needs one to be seen.
    if (!Selecting && Options.Transparency) return;
    const TPen pen = FloatingBitmap.Pen;
    const TBrush brush = FloatingBitmap.Brush;
    const TRect ring = Bounds(0, 0, FloatingBitmap.Width(), FloatingBitmap.Height());
    FloatingBitmap.Brush.Style = TBrushStyle::bsClear;
    FloatingBitmap.Pen = TPen{clBlack, 1, TPenStyle::psSolid};
    FloatingBitmap.Rectangle(ring);
    FloatingBitmap.Pen = TPen{clWhite, 1, TPenStyle::psDot};
    FloatingBitmap.Rectangle(ring);
    FloatingBitmap.Pen = pen;
    FloatingBitmap.Brush = brush;
}
