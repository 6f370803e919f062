// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Who the running program is to the desktop: its name, version, the desktop entry that
// launched it (so task bars find its icon and name) and the icon of all its windows.
void SetApplicationIdentity();

// The desktop entry's name without ".desktop"; the metainfo and the icon share it.
inline constexpr const char* DesktopFileId = "org.tessimap.Tessimap";
