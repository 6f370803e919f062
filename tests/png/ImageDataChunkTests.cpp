// How the compressed stream is cut into IDAT chunks, and what a failed write leaves behind.

#include "ByteSink.h"
#include "PngExport.h"
#include "PngObject.h"
#include "PngTestSupport.h"
#include "../picture/TestFiles.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

std::vector<TPngChunkSeen> IdatChunks(const std::vector<TPngChunkSeen>& chunks) {
    std::vector<TPngChunkSeen> idat;
    for (const auto& c : chunks)
        if (c.Type == "IDAT") idat.push_back(c);
    return idat;
}

std::vector<std::uint8_t> Joined(const std::vector<TPngChunkSeen>& idat) {
    std::vector<std::uint8_t> all;
    for (const auto& c : idat) all.insert(all.end(), c.Data.begin(), c.Data.end());
    return all;
}

std::vector<TPngChunkSeen> WrittenWithLimit(const TBitmap& picture, std::uint32_t limit,
                                            std::vector<std::uint8_t>* file = nullptr) {
    TPNGObject png;
    png.DataChunkLimit = limit;
    png.AssignBitmap(picture);
    TMemorySink sink;
    png.SaveToStream(sink);
    if (file) *file = sink.Bytes;
    return SplitChunks(sink.Bytes);
}

TBitmap EightBitNoise(int width, int height, std::uint32_t seed) {
    TBitmap picture = NoisePicture(width, height, seed);
    picture.SetPixelFormat(TPixelFormat::pf8bit);
    return picture;
}

TEST(ImageDataChunks, SmallStreamIsOneChunkBetweenPaletteAndEnd) {
    const auto chunks = WrittenWithLimit(EightBitNoise(40, 40, 1), 65535);
    EXPECT_EQ(ChunkTypes(chunks), (std::vector<std::string>{"IHDR", "PLTE", "IDAT", "IEND"}));
}

TEST(ImageDataChunks, LargeStreamFillsEveryChunkButTheLast) {
    const TBitmap picture = EightBitNoise(400, 400, 2); // about 160 KB of incompressible indices
    std::vector<std::uint8_t> file;
    const auto chunks = WrittenWithLimit(picture, 65535, &file);
    const auto idat = IdatChunks(chunks);
    ASSERT_GE(idat.size(), 3u);
    for (std::size_t i = 0; i + 1 < idat.size(); ++i) EXPECT_EQ(idat[i].Data.size(), 65535u);
    EXPECT_GT(idat.back().Data.size(), 0u);
    EXPECT_LT(idat.back().Data.size(), 65535u);
    for (const auto& c : chunks) EXPECT_TRUE(c.CrcMatches) << c.Type;
    EXPECT_EQ(ChunkTypes(chunks).back(), "IEND");
    ExpectSamePixels(DecodeWithLibpng(file), picture);
}

TEST(ImageDataChunks, StreamOfWholeChunksLeavesNoEmptyChunkAfterThem) {
    // Find a stream whose length has small divisors, then cut it with each of them as the limit.
    std::uint32_t seed = 3;
    TBitmap picture;
    std::vector<std::uint8_t> stream;
    std::vector<std::uint32_t> limits;
    for (; limits.size() < 2 && seed < 60; ++seed) {
        picture = EightBitNoise(33, 21, seed);
        stream = Joined(IdatChunks(WrittenWithLimit(picture, 65535)));
        limits.clear();
        for (std::uint32_t k = 1; k <= 12; ++k)
            if (stream.size() % k == 0) limits.push_back(std::uint32_t(stream.size() / k));
    }
    ASSERT_GE(limits.size(), 2u);
    for (const std::uint32_t limit : limits) {
        SCOPED_TRACE(limit);
        std::vector<std::uint8_t> file;
        const auto idat = IdatChunks(WrittenWithLimit(picture, limit, &file));
        ASSERT_EQ(idat.size(), stream.size() / limit);
        for (const auto& c : idat) EXPECT_EQ(c.Data.size(), limit);
        EXPECT_EQ(Joined(idat), stream) << "the limit must not change the stream";
        ExpectSamePixels(DecodeWithLibpng(file), picture);
    }
    // One byte short of whole chunks: the last chunk holds the one byte.
    const auto idat = IdatChunks(WrittenWithLimit(picture, std::uint32_t(stream.size() - 1)));
    ASSERT_EQ(idat.size(), 2u);
    EXPECT_EQ(idat.back().Data.size(), 1u);
}

TEST(ImageDataChunks, TinyLimitStillGivesOneValidStream) {
    std::vector<std::uint8_t> file;
    const TBitmap picture = EightBitNoise(20, 9, 5);
    const auto idat = IdatChunks(WrittenWithLimit(picture, 1, &file));
    EXPECT_GT(idat.size(), 100u);
    for (const auto& c : idat) EXPECT_EQ(c.Data.size(), 1u);
    ExpectSamePixels(DecodeWithLibpng(file), picture);
}

// Run in a child process that may write only a few kilobytes per file, like a disk that fills up;
// exits with 3 and the message when the export fails.
[[noreturn]] void ExportOnAlmostFullDisk(const TBitmap& picture, const std::string& target) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{8192, 8192};
    setrlimit(RLIMIT_FSIZE, &limit);
    try {
        ExportPngFile(picture, target);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        std::exit(3);
    }
    std::exit(0);
}

TEST(ImageDataChunks, FullDiskFailsWithWriteErrorAndKeepsTheEarlierFile) {
    TTempFolder folder;
    const std::string target = folder.File("map.png");
    const std::vector<std::uint8_t> earlier{'e', 'a', 'r', 'l', 'i', 'e', 'r'};
    WriteFileBytes(target, earlier);
    const TBitmap picture = EightBitNoise(300, 300, 9);
    EXPECT_EXIT(ExportOnAlmostFullDisk(picture, target), ::testing::ExitedWithCode(3), "Stream write error");
    EXPECT_EQ(ReadFileBytes(target), earlier);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1)
        << "no temporary file may be left behind";
}

} // namespace
