// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Bitmap.h"

#include <QMimeData>

// A picture on the clipboard that costs nothing until someone asks: it keeps the pixels as they
// are and offers a PNG and a Qt image, made only when another program (or Qt) requests them. A
// paste in the same program takes the pixels straight from Pixels() without any encoding.
class TBitmapMimeData : public QMimeData {
  public:
    // A 24-bit bitmap; any other depth is converted once here.
    explicit TBitmapMimeData(TBitmap pixels);

    const TBitmap& Pixels() const { return Pixels_; }

    QStringList formats() const override;
    bool hasFormat(const QString& mimeType) const override;

  protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

  private:
    // The pixels seen as a Qt image, sharing their memory: valid while this object lives.
    QImage View() const;

    TBitmap Pixels_;
};
