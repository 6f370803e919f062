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

std::vector<std::size_t> IdatSizes(const std::vector<TPngChunkSeen>& chunks) {
    std::vector<std::size_t> sizes;
    for (const auto& c : chunks)
        if (c.Type == "IDAT") sizes.push_back(c.Data.size());
    return sizes;
}

TBytes WrittenWithLimit(const TBitmap& picture, std::uint32_t limit) {
    TPNGObject png;
    png.DataChunkLimit = limit;
    png.AssignBitmap(picture);
    TMemorySink sink;
    png.SaveToStream(sink);
    return sink.Bytes;
}

TBitmap EightBitNoise(int width, int height, std::uint32_t seed) {
    TBitmap picture = NoisePicture(width, height, seed);
    picture.SetPixelFormat(TPixelFormat::pf8bit);
    return picture;
}

TEST(ImageDataChunks, EveryChunkButTheLastIsFullAndNoneIsEmpty) {
    // A stream whose length has small divisors, cut with each of them as the chunk limit.
    TBitmap picture;
    TBytes stream;
    std::vector<std::uint32_t> limits;
    for (std::uint32_t seed = 1; limits.size() < 3 && seed < 100; ++seed) {
        picture = EightBitNoise(20 + int(seed), 21, seed);
        const auto chunks = SplitChunks(WrittenWithLimit(picture, 65535));
        ASSERT_EQ(IdatSizes(chunks).size(), 1u) << "a small stream is one chunk";
        stream = JoinedImageData(chunks);
        limits.clear();
        for (std::size_t k = 1; k <= 12; ++k)
            if (stream.size() % k == 0) limits.push_back(std::uint32_t(stream.size() / k));
    }
    ASSERT_GE(limits.size(), 3u);
    for (const std::uint32_t limit : limits) {
        const TBytes file = WrittenWithLimit(picture, limit);
        const auto chunks = SplitChunks(file);
        EXPECT_EQ(IdatSizes(chunks), std::vector<std::size_t>(stream.size() / limit, limit)) << limit;
        EXPECT_EQ(JoinedImageData(chunks), stream) << "the limit must not change the stream";
        EXPECT_EQ(chunks.back().Type, "IEND");
        ExpectDecodesTo(file, picture);
    }
    EXPECT_EQ(IdatSizes(SplitChunks(WrittenWithLimit(picture, std::uint32_t(stream.size() - 1)))),
              (std::vector<std::size_t>{stream.size() - 1, 1}));
    const TBytes bytewise = WrittenWithLimit(picture, 1);
    EXPECT_EQ(IdatSizes(SplitChunks(bytewise)), std::vector<std::size_t>(stream.size(), 1));
    ExpectDecodesTo(bytewise, picture);
}

TEST(ImageDataChunks, LargePictureFillsChunksOfTheDefaultSize) {
    const TBitmap picture = EightBitNoise(400, 400, 2); // about 160 KB that does not compress
    const TBytes file = WrittenWithLimit(picture, 65535);
    const auto sizes = IdatSizes(SplitChunks(file));
    ASSERT_EQ(sizes.size(), 3u);
    EXPECT_EQ(sizes[0], 65535u);
    EXPECT_EQ(sizes[1], 65535u);
    EXPECT_GT(sizes[2], 0u);
    ExpectDecodesTo(file, picture);
}

// Runs in a child process that may write only 8 KB to a file, like a disk that fills up.
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
    WriteFileBytes(target, {'o', 'l', 'd'});
    EXPECT_EXIT(ExportOnAlmostFullDisk(EightBitNoise(300, 300, 9), target), ::testing::ExitedWithCode(3),
                "Stream write error");
    EXPECT_EQ(ReadFileBytes(target), (TBytes{'o', 'l', 'd'}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1) << "a temporary file was left";
}

} // namespace
