// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Color.h"

#include <QFont>
#include <QImage>
#include <QStringList>

// The font of a text stamp: its size in points at 96 dots per inch, so a block has the same
// pixels on every screen, and no anti-aliasing, so every pixel is the text colour or not.
QFont TextFont(const QString& family, int points, bool bold, bool italic, bool underline);

// The lines as one block: as wide as the widest line and one line height per line, filled with
// the background and outlined in black, each line left-aligned on its own cell of background.
// A null image when the lines have no width or height. EOutOfMemory when the block is too large.
QImage RenderTextBlock(const QStringList& lines, const QFont& font, TColor text, TColor background);
