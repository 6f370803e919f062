// SPDX-License-Identifier: GPL-3.0-or-later
#include "JournalReplay.h"

#include "PictureFile.h"
#include "PixelFormat.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <new>
#include <stdexcept>
#include <sys/stat.h>
#include <vector>

namespace {

std::optional<std::vector<std::uint8_t>> ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

bool HasMagic(std::span<const std::uint8_t> journal) {
    return journal.size() >= sizeof kJournalMagic &&
           std::memcmp(journal.data(), kJournalMagic, sizeof kJournalMagic) == 0;
}

std::optional<TJournalInfo> FirstInfo(std::span<const std::uint8_t> journal, std::size_t& end) {
    if (!HasMagic(journal)) return std::nullopt;
    const auto record = ReadRecord(journal, sizeof kJournalMagic);
    if (!record || record->Kind != TRecordKind::Info) return std::nullopt;
    end = record->End;
    return ParseInfo(record->Payload);
}

bool SourceChanged(const TJournalInfo& info) {
    return info.Source && StampOfFile(info.PictureFile) != info.Source;
}

// The picture the base describes, before its rows or changes are applied.
std::optional<TBitmap> StartPicture(const TJournalInfo& info) {
    const auto format = PixelFormatOfBits(info.Bits);
    if (!format) return std::nullopt;
    if (info.Base == TBaseKind::File) {
        if (SourceChanged(info)) return std::nullopt;
        try {
            TBitmap loaded = OpenPictureForEditing(info.PictureFile);
            if (loaded.Width() != info.Width || loaded.Height() != info.Height ||
                loaded.PixelFormat() != *format)
                return std::nullopt;
            return loaded;
        } catch (const std::exception&) {
            return std::nullopt;
        }
    }
    TBitmap picture(info.Width, info.Height, *format);
    if (!info.ColorTable.empty()) picture.SetColorTable(info.ColorTable);
    return picture;
}

// Copies a Bytes record's areas into the picture; false, with the picture untouched, when any of
// them does not fit it.
bool ApplyBytes(TBitmap& picture, std::span<const std::uint8_t> payload) {
    struct TPatch {
        std::uint64_t Top, Rows, Left, Count;
        const std::uint8_t* Bytes;
    };
    std::vector<TPatch> patches;
    for (std::size_t at = 0; at < payload.size();) {
        if (payload.size() - at < 16) return false;
        std::uint32_t v[4];
        for (int i = 0; i < 4; ++i) {
            v[i] = 0;
            for (int b = 0; b < 4; ++b)
                v[i] |= std::uint32_t(payload[at + std::size_t(4 * i + b)]) << (8 * b);
        }
        const TPatch patch{v[0], v[1], v[2], v[3], payload.data() + at + 16};
        const std::uint64_t size = patch.Rows * patch.Count;
        if (patch.Top + patch.Rows > std::uint64_t(picture.Height()) ||
            patch.Left + patch.Count > picture.RowBytes() || payload.size() - at - 16 < size)
            return false;
        patches.push_back(patch);
        at += 16 + std::size_t(size);
    }
    if (patches.empty()) return false;
    for (const TPatch& patch : patches) {
        const std::uint8_t* from = patch.Bytes;
        for (std::uint64_t y = 0; y < patch.Rows; ++y, from += patch.Count)
            std::memcpy(picture.ScanLine(int(patch.Top + y)) + patch.Left, from, patch.Count);
    }
    return true;
}

} // namespace

std::optional<TJournalSummary> SummarizeJournal(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    // The info record comes first and is small; the rest need not be read to describe it.
    std::vector<std::uint8_t> head(64 * 1024 + 1024);
    in.read(reinterpret_cast<char*>(head.data()), std::streamsize(head.size()));
    head.resize(std::size_t(in.gcount()));
    std::size_t end = 0;
    const auto info = FirstInfo(head, end);
    if (!info) return std::nullopt;
    TJournalSummary summary;
    summary.Info = *info;
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0) summary.LastChange = status.st_mtime;
    summary.SourceChanged = SourceChanged(*info);
    summary.Recoverable = !(info->Base == TBaseKind::File && summary.SourceChanged);
    return summary;
}

std::optional<TReplayResult> ReplayJournal(const std::string& path) {
    const auto bytes = ReadWhole(path);
    if (!bytes) return std::nullopt;
    return ReplayJournalBytes(*bytes);
}

std::optional<TReplayResult> ReplayJournalBytes(std::span<const std::uint8_t> journal) {
    TReplayResult result;
    std::size_t at = 0;
    const auto info = FirstInfo(journal, at);
    if (!info) return std::nullopt;
    result.Info = *info;
    std::optional<TBitmap> picture;
    try {
        picture = StartPicture(*info);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    if (!picture) return std::nullopt;
    bool baseEnded = false;
    std::size_t valid = at;
    while (const auto record = ReadRecord(journal, at)) {
        bool fits = true;
        switch (record->Kind) {
        case TRecordKind::FillRow:
            fits =
                !baseEnded && info->Base == TBaseKind::Fill && record->Payload.size() == picture->RowBytes();
            for (int y = 0; fits && y < picture->Height(); ++y)
                std::memcpy(picture->ScanLine(y), record->Payload.data(), record->Payload.size());
            break;
        case TRecordKind::Bytes:
            fits = ApplyBytes(*picture, record->Payload);
            if (baseEnded) ++result.Changes;
            break;
        case TRecordKind::BaseEnd:
            fits = !baseEnded;
            baseEnded = true;
            break;
        case TRecordKind::Info:
            fits = false;
            break;
        }
        if (!fits) break; // a record that does not belong here ends the journal as a torn one does
        at = record->End;
        if (baseEnded) valid = at;
    }
    // A base never finished describes no picture the user had.
    if (!baseEnded) return std::nullopt;
    result.ValidBytes = valid;
    result.Picture = std::move(*picture);
    return result;
}
