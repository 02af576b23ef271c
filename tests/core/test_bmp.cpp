#include "bmp_reader.h"
#include "core/bmp.h"
#include "core/file_paths.h"
#include "failing_output.h"
#include "test_helpers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace mosaiqua {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::ExpectUserError;
using Kind = UserError::Kind;

// Pixel rows 3 wide, so every row needs padding at 24 and 16 bits.
Raster ThreeByTwo() {
    Raster r(3, 2);
    r.setPixel(0, 0, MakeColor(1, 2, 3));
    r.setPixel(1, 0, MakeColor(4, 5, 6));
    r.setPixel(2, 0, MakeColor(7, 8, 9));
    r.setPixel(0, 1, MakeColor(10, 11, 12));
    r.setPixel(1, 1, MakeColor(13, 14, 15));
    r.setPixel(2, 1, MakeColor(16, 17, 18));
    return r;
}

std::uint32_t U32(const Bytes& b, std::size_t o) {
    return std::uint32_t(b[o]) | std::uint32_t(b[o + 1]) << 8 | std::uint32_t(b[o + 2]) << 16 |
           std::uint32_t(b[o + 3]) << 24;
}

void ExpectReadsBackAs(const Bytes& bytes, const Raster& expected, int bitsPerPixel) {
    test::BmpPicture picture;
    ASSERT_EQ(test::ParseBmp(bytes, picture), "");
    EXPECT_EQ(picture.bitsPerPixel, bitsPerPixel);
    ASSERT_EQ(picture.width, expected.width());
    ASSERT_EQ(picture.height, expected.height());
    EXPECT_EQ(picture.pixels, expected.pixels());
}

TEST(Bmp, DepthsAndFileSizes) {
    for (int depth : {16, 24, 32})
        EXPECT_TRUE(IsSupportedBmpDepth(depth));
    for (int depth : {0, 1, 8, 15, 48})
        EXPECT_FALSE(IsSupportedBmpDepth(depth));
    EXPECT_EQ(BmpFileSize(24, 21, 24), 54u + 21 * 72);
    EXPECT_EQ(BmpFileSize(1, 1, 24), 54u + 4);
    EXPECT_EQ(BmpFileSize(3, 2, 24), 54u + 2 * 12);
    EXPECT_EQ(BmpFileSize(24, 21, 32), 54u + 21 * 96);
    EXPECT_EQ(BmpFileSize(3, 2, 16), 54u + 12 + 2 * 8);
    EXPECT_EQ(BmpFileSize(640, 480, 24), 54u + 480 * 1920);
}

TEST(Bmp, TwentyFourBitsAreBlueGreenRedBottomUpPadded) {
    const Bytes b = EncodeBmp(ThreeByTwo(), 24);
    ASSERT_EQ(b.size(), 54u + 2 * 12);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(U32(b, 2), b.size());
    EXPECT_EQ(U32(b, 10), 54u);
    EXPECT_EQ(U32(b, 14), 40u);
    EXPECT_EQ(U32(b, 18), 3u);
    EXPECT_EQ(U32(b, 22), 2u);
    EXPECT_EQ(U32(b, 28) & 0xFFFF, 24u);
    EXPECT_EQ(U32(b, 30), 0u);
    const Bytes pixels = {12, 11, 10, 15, 14, 13, 18, 17, 16, 0, 0, 0, 3, 2, 1, 6, 5, 4, 9, 8, 7, 0, 0, 0};
    EXPECT_EQ(Bytes(b.begin() + 54, b.end()), pixels);
    ExpectReadsBackAs(b, ThreeByTwo(), 24);
}

TEST(Bmp, ThirtyTwoBitsAddAZeroFourthByte) {
    const Bytes b = EncodeBmp(ThreeByTwo(), 32);
    ASSERT_EQ(b.size(), 54u + 2 * 12);
    EXPECT_EQ(U32(b, 30), 0u); // BI_RGB
    const Bytes bottom = {12, 11, 10, 0, 15, 14, 13, 0, 18, 17, 16, 0};
    EXPECT_EQ(Bytes(b.begin() + 54, b.begin() + 66), bottom);
    ExpectReadsBackAs(b, ThreeByTwo(), 32);
}

TEST(Bmp, SixteenBitsAreFiveSixFiveBitFields) {
    Raster r(3, 2);
    r.setPixel(0, 0, MakeColor(0xF8, 0, 0));
    r.setPixel(1, 0, MakeColor(0, 0xFC, 0));
    r.setPixel(2, 0, MakeColor(0, 0, 0xF8));
    r.setPixel(0, 1, 0xFFFFFF);
    r.setPixel(1, 1, 0x000000);
    r.setPixel(2, 1, MakeColor(0x08, 0x04, 0x10));
    const Bytes b = EncodeBmp(r, 16);
    ASSERT_EQ(b.size(), 66u + 2 * 8);
    EXPECT_EQ(U32(b, 30), 3u);                                                   // BI_BITFIELDS
    const Bytes tail = {0x00, 0xF8, 0,    0,    0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0, // masks
                        0xFF, 0xFF, 0,    0,    0x22, 0x08, 0, 0,                // bottom row
                        0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0, 0};               // top row
    EXPECT_EQ(Bytes(b.begin() + 54, b.end()), tail);
    r.setPixel(0, 1, MakeColor(0xF8, 0xFC, 0xF8)); // white as 5-6-5 widens back
    ExpectReadsBackAs(b, r, 16);
}

class WriteBmpFileTest : public ::testing::Test {
protected:
    OutputFileOpener failingAfter(std::size_t budget, bool closeFails = false) {
        return test::FailingOpener(budget, closeFails, &m_opened);
    }

    test::TempFolder m_folder;
    std::vector<std::filesystem::path> m_opened;
    const Raster m_sprite = test::Tagged(24, 21);
    const std::size_t m_size = 54 + 21 * 72;
};

TEST_F(WriteBmpFileTest, WritesTheEncodedPictureThroughATemporaryBesideTheTarget) {
    const std::string target = m_folder.file("sprite.bmp");
    test::WriteBytes(target, {'o', 'l', 'd'});
    WriteBmpFile(m_sprite, target, 24, failingAfter(m_size));
    EXPECT_EQ(test::ReadBytes(target), EncodeBmp(m_sprite, 24));
    ExpectReadsBackAs(test::ReadBytes(target), m_sprite, 24);
    ASSERT_EQ(m_opened.size(), 1u);
    EXPECT_EQ(m_opened[0].parent_path(), m_folder.path());
    EXPECT_NE(m_opened[0], std::filesystem::path(target));
    EXPECT_EQ(m_folder.names(), std::vector<std::string>{"sprite.bmp"});
}

TEST_F(WriteBmpFileTest, AFailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
    const std::string target = m_folder.file("sprite.bmp");
    for (std::size_t budget : {std::size_t(0), std::size_t(10), std::size_t(54 + 100), m_size - 1}) {
        SCOPED_TRACE(budget);
        test::WriteBytes(target, {'o', 'l', 'd'});
        ExpectUserError([&] { WriteBmpFile(m_sprite, target, 24, failingAfter(budget)); }, Kind::StreamWrite,
                        "Stream write error writing " + target);
        EXPECT_EQ(test::ReadBytes(target), (Bytes{'o', 'l', 'd'}));
        EXPECT_EQ(m_folder.names(), std::vector<std::string>{"sprite.bmp"});
    }
    ExpectUserError([&] { WriteBmpFile(m_sprite, target, 24, failingAfter(m_size, true)); },
                    Kind::StreamWrite, "Stream write error writing " + target);
    EXPECT_EQ(test::ReadBytes(target), (Bytes{'o', 'l', 'd'}));
    EXPECT_EQ(m_folder.names(), std::vector<std::string>{"sprite.bmp"});
}

TEST_F(WriteBmpFileTest, AFileThatCannotBeCreatedIsNamedInTheMessage) {
    const std::string target = m_folder.file("sprite.bmp");
    test::WriteBytes(target, {'o', 'l', 'd'});
    const OutputFileOpener refuses = [](const std::filesystem::path&) {
        return std::unique_ptr<OutputFile>();
    };
    ExpectUserError([&] { WriteBmpFile(m_sprite, target, 24, refuses); }, Kind::CannotCreateFile,
                    "Cannot create file " + target);
    EXPECT_EQ(test::ReadBytes(target), (Bytes{'o', 'l', 'd'}));

    const std::string nowhere = m_folder.file("missing/sprite.bmp");
    ExpectUserError([&] { WriteBmpFile(m_sprite, nowhere, 24); }, Kind::CannotCreateFile,
                    "Cannot create file " + nowhere + ": No such file or directory");

    std::filesystem::create_directory(m_folder.path() / "folder.bmp");
    EXPECT_THROW(WriteBmpFile(m_sprite, m_folder.file("folder.bmp"), 24), UserError);
    EXPECT_TRUE(std::filesystem::is_directory(m_folder.path() / "folder.bmp"));
    EXPECT_EQ(m_folder.names(), (std::vector<std::string>{"folder.bmp", "sprite.bmp"}));
}

TEST_F(WriteBmpFileTest, ANameAsLongAsTheSystemAllowsCanBeWritten) {
    const long longest = pathconf(m_folder.path().c_str(), _PC_NAME_MAX);
    ASSERT_GT(longest, 4);
    const std::string name = std::string(std::size_t(longest - 4), 'a') + ".bmp";
    WriteBmpFile(m_sprite, m_folder.file(name), 24);
    EXPECT_EQ(m_folder.names(), std::vector<std::string>{name});
}

TEST_F(WriteBmpFileTest, AnEmptyBitmapIsRefusedBeforeAnythingIsOpened) {
    ExpectUserError([&] { WriteBmpFile(Raster(), m_folder.file("empty.bmp"), 24, failingAfter(1000)); },
                    Kind::BadBitmapSize);
    EXPECT_TRUE(m_opened.empty());
    EXPECT_TRUE(m_folder.names().empty());
}

TEST_F(WriteBmpFileTest, WritesEachDepthAndNamesOutsideAscii) {
    for (int depth : {16, 32}) {
        const std::string target = m_folder.file("depth" + std::to_string(depth) + ".bmp");
        WriteBmpFile(Raster(5, 3, 0xFFFFFF), target, depth);
        ExpectReadsBackAs(test::ReadBytes(target),
                          Raster(5, 3, depth == 16 ? MakeColor(0xF8, 0xFC, 0xF8) : 0xFFFFFF), depth);
    }
    const std::string name = "b\xC3\xA4lle.bmp";
    WriteBmpFile(m_sprite, m_folder.file(name), 24);
    EXPECT_TRUE(std::filesystem::exists(m_folder.path() / PathFromUtf8(name)));
    EXPECT_EQ(m_folder.names(), (std::vector<std::string>{name, "depth16.bmp", "depth32.bmp"}));

    WriteFileAtomically(m_folder.file("raw.bin"), Bytes{1, 2, 3});
    EXPECT_EQ(test::ReadBytes(m_folder.path() / "raw.bin"), (Bytes{1, 2, 3}));
}

} // namespace
} // namespace mosaiqua
