#include "core/memory_image.h"
#include "test_helpers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace mosaiqua {
namespace {

// Byte i of a made-up file; mixes low and high bits of i so a block landing at the wrong index shows.
std::uint8_t FileByte(std::size_t i) {
    return std::uint8_t((i * 7) ^ (i >> 8));
}
std::vector<std::uint8_t> MadeFile(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = FileByte(i);
    return bytes;
}

// Checks image[from, to) against expected(i), reporting only the first difference.
template <typename F>
void ExpectRange(const MemoryImage& image, std::size_t from, std::size_t to, F expected) {
    for (std::size_t i = from; i < to; ++i) {
        const int want = expected(i);
        if (image.byteAt(std::int64_t(i)) != want) {
            ADD_FAILURE() << "index " << i << " holds " << int(image.byteAt(std::int64_t(i))) << ", expected "
                          << want;
            return;
        }
    }
}

constexpr std::size_t kHeader = MemoryImage::kHeaderBytes;

class LoadFreezeFileTest : public ::testing::Test {
protected:
    std::string save(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        test::WriteBytes(m_folder.path() / name, bytes);
        return m_folder.file(name);
    }
    void preset(std::uint8_t value) {
        const std::vector<std::uint8_t> bytes(MemoryImage::kStoreSize, value);
        m_image.write(0, bytes.data(), bytes.size());
    }

    test::TempFolder m_folder;
    MemoryImage m_image;
};

TEST(MemoryImage, StartsZeroAndReadsOutsideTheStoreGiveZero) {
    MemoryImage image;
    EXPECT_EQ(MemoryImage::kStoreSize, 68150u);
    ExpectRange(image, 0, MemoryImage::kStoreSize, [](std::size_t) { return 0; });

    const std::uint8_t last = 0xFF;
    image.write(68149, &last, 1);
    EXPECT_EQ(image.byteAt(68149), 0xFF);
    EXPECT_EQ(image.byteAt(68150), 0);
    EXPECT_EQ(image.byteAt(-1), 0);
    EXPECT_EQ(image.byteAt(std::numeric_limits<std::int64_t>::max()), 0);
    EXPECT_EQ(image.data()[68149], 0xFF);
}

TEST_F(LoadFreezeFileTest, SkippedHeaderPutsOffset1148AtAddressZero) {
    const std::string path = save("full.c64", MadeFile(68148));
    ASSERT_NO_THROW(LoadFreezeFile(m_image, path, true));
    ExpectRange(m_image, 0, 67000, [](std::size_t i) { return FileByte(i + kHeader); });
    EXPECT_EQ(m_image.byteAt(65535), FileByte(66683));
    ExpectRange(m_image, 67000, MemoryImage::kStoreSize, [](std::size_t) { return 0; });
}

TEST_F(LoadFreezeFileTest, KeptHeaderPutsOffsetIAtIndexIUpTo67000) {
    const std::string path = save("full.c64", MadeFile(68148));
    ASSERT_NO_THROW(LoadFreezeFile(m_image, path, false));
    ExpectRange(m_image, 0, 67000, [](std::size_t i) { return FileByte(i); });
    ExpectRange(m_image, 67000, MemoryImage::kStoreSize, [](std::size_t) { return 0; });
}

TEST_F(LoadFreezeFileTest, ShortFileLeavesHeaderBytesAndThePreviousLoad) {
    ASSERT_NO_THROW(
        LoadFreezeFile(m_image, save("first.bin", std::vector<std::uint8_t>(67000, 0xEE)), false));
    ASSERT_NO_THROW(LoadFreezeFile(m_image, save("short.c64", MadeFile(kHeader + 100)), true));
    ExpectRange(m_image, 0, 100, [](std::size_t i) { return FileByte(i + kHeader); });
    ExpectRange(m_image, 100, kHeader, [](std::size_t i) { return FileByte(i); });
    ExpectRange(m_image, kHeader, 67000, [](std::size_t) { return 0xEE; });
    ExpectRange(m_image, 67000, MemoryImage::kStoreSize, [](std::size_t) { return 0; });
}

TEST_F(LoadFreezeFileTest, FileShorterThanTheHeaderStillLoads) {
    preset(0xEE);
    ASSERT_NO_THROW(LoadFreezeFile(m_image, save("tiny.c64", MadeFile(500)), true));
    ExpectRange(m_image, 0, 500, [](std::size_t i) { return FileByte(i); });
    ExpectRange(m_image, 500, MemoryImage::kStoreSize, [](std::size_t) { return 0xEE; });

    ASSERT_NO_THROW(LoadFreezeFile(m_image, save("empty.c64", {}), true));
    ExpectRange(m_image, 0, 500, [](std::size_t i) { return FileByte(i); });
}

TEST_F(LoadFreezeFileTest, SecondLoadKeepsBytesBeyondItsEnd) {
    ASSERT_NO_THROW(LoadFreezeFile(m_image, save("full.c64", MadeFile(68148)), true));
    ASSERT_NO_THROW(LoadFreezeFile(m_image, save("ten.bin", std::vector<std::uint8_t>(10, 0x5A)), false));
    ExpectRange(m_image, 0, 10, [](std::size_t) { return 0x5A; });
    ExpectRange(m_image, 10, 67000, [](std::size_t i) { return FileByte(i + kHeader); });
}

TEST_F(LoadFreezeFileTest, UnopenablePathsSayWhyAndLeaveTheImageAlone) {
    preset(0xEE);
    const std::vector<std::uint8_t> before(m_image.data(), m_image.data() + MemoryImage::kStoreSize);
    std::filesystem::create_directory(m_folder.path() / "folder.c64");

    for (const std::string& path : {m_folder.file("missing.c64"), m_folder.file("folder.c64")}) {
        SCOPED_TRACE(path);
        for (bool skipHeader : {true, false}) {
            try {
                LoadFreezeFile(m_image, path, skipHeader);
                ADD_FAILURE() << "loaded";
            } catch (const UserError& e) {
                // Cannot open file "<path>". and a reason after it
                const std::string prefix = "Cannot open file \"" + path + "\". ";
                EXPECT_EQ(int(e.kind()), int(UserError::Kind::CannotOpenFile));
                EXPECT_GT(std::string(e.what()).size(), prefix.size());
                EXPECT_EQ(std::string(e.what()).substr(0, prefix.size()), prefix);
            }
        }
        EXPECT_TRUE(std::equal(before.begin(), before.end(), m_image.data()));
    }
}

TEST_F(LoadFreezeFileTest, OpensNamesOutsideAscii) {
    ASSERT_NO_THROW(LoadFreezeFile(m_image, save("b\xC3\xA4lle.c64", MadeFile(3)), false));
    ExpectRange(m_image, 0, 3, [](std::size_t i) { return FileByte(i); });
}

} // namespace
} // namespace mosaiqua
