// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Bitmap.h"
#include "ImageCopy.h"

#include <QMimeData>

// A picture on the clipboard that costs nothing until someone asks: it keeps the pixels as they
// are (shared with the floating image they came from) and offers a PNG and a Qt image, made only
// when another program (or Qt) requests them. A paste in the same program takes its own copy of
// the pixels from Pixels() without any encoding.
class TBitmapMimeData : public QMimeData {
  public:
    // 24-bit pixels are kept as they are; any other depth is converted once here.
    explicit TBitmapMimeData(TImageCopy pixels);

    TBitmap Pixels() const { return Pixels_.Bitmap(); }

    QStringList formats() const override;
    bool hasFormat(const QString& mimeType) const override;

  protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

  private:
    TImageCopy Pixels_;
};
