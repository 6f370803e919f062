// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Bitmap.h"
#include "JournalFormat.h"

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

// What a journal left by an ended session says, before anything is rebuilt from it.
struct TJournalSummary {
    TJournalInfo Info;
    std::time_t LastChange = 0; // when the journal was last written
    // The picture file is no longer as it was when the picture was last saved or opened.
    bool SourceChanged = false;
    // The picture can be rebuilt; false for a journal without a readable start, and for one whose
    // base is the picture file when that file changed.
    bool Recoverable = false;
};

// Nothing for a file that is not a journal at all.
std::optional<TJournalSummary> SummarizeJournal(const std::string& path);

struct TReplayResult {
    TJournalInfo Info;
    TBitmap Picture;
    // Bytes of the journal that hold whole records, from its start; anything after is a torn write.
    std::size_t ValidBytes = 0;
    std::size_t Changes = 0; // changes replayed after the base
};

// The picture as it was at the journal's last whole record. Nothing when it cannot be rebuilt.
std::optional<TReplayResult> ReplayJournal(const std::string& path);
// The same for journal bytes already in memory (the base file, if any, is still read from disk).
std::optional<TReplayResult> ReplayJournalBytes(std::span<const std::uint8_t> journal);
