// Paths a user can pick or type for the loader, and writes that fail the way real disks fail.
#include "core/bmp.h"
#include "core/file_paths.h"
#include "core/memory_image.h"
#include "test_helpers.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <future>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace mosaiqua {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using Kind = UserError::Kind;

constexpr std::size_t kHeader = MemoryImage::kHeaderBytes;
constexpr std::size_t kRead = MemoryImage::kMemoryReadBytes;
constexpr std::uint8_t kEarlier = 0xEE;

// Byte i of a made-up file; differs from its neighbours and from kEarlier's pattern.
std::uint8_t FileByte(std::size_t i) {
    return std::uint8_t((i * 13) ^ (i >> 9) ^ 0x5A);
}
Bytes MadeFile(std::size_t size) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = FileByte(i);
    return bytes;
}

class LoaderPathTest : public ::testing::Test {
protected:
    void SetUp() override {
        const Bytes earlier(MemoryImage::kStoreSize, kEarlier);
        m_image.write(0, earlier.data(), earlier.size());
    }
    std::string save(const std::string& name, const Bytes& bytes) {
        test::WriteBytes(m_folder.path() / PathFromUtf8(name), bytes);
        return m_folder.file(name);
    }
    // The first index in [from, to) whose byte is not expected(i), or `to`.
    template <typename F> std::size_t firstDifference(std::size_t from, std::size_t to, F expected) const {
        for (std::size_t i = from; i < to; ++i)
            if (m_image.byteAt(std::int64_t(i)) != expected(i))
                return i;
        return to;
    }
    bool untouched() const {
        return firstDifference(0, MemoryImage::kStoreSize, [](std::size_t) { return kEarlier; }) ==
               MemoryImage::kStoreSize;
    }
    // A refused path: false at once, a reason, and the image as it was.
    void expectRefused(const std::string& path, const std::string& reasonPart) {
        SCOPED_TRACE(path);
        for (bool skipHeader : {true, false}) {
            std::string why;
            try {
                LoadFreezeFile(m_image, path, skipHeader);
                ADD_FAILURE() << "loaded";
            } catch (const UserError& e) {
                why = e.what();
            }
            EXPECT_NE(why.find(reasonPart), std::string::npos) << why;
            EXPECT_TRUE(untouched());
        }
    }

    test::TempFolder m_folder;
    MemoryImage m_image;
};

TEST_F(LoaderPathTest, EmptyFileLoadsAndChangesNoByte) {
    const std::string path = save("empty.c64", {});
    for (bool skipHeader : {true, false}) {
        EXPECT_NO_THROW(LoadFreezeFile(m_image, path, skipHeader));
        EXPECT_TRUE(untouched());
    }
}

TEST_F(LoaderPathTest, HeaderOnlyFileLandsAtTheStartEitherWay) {
    const std::string path = save("header.c64", MadeFile(1148));
    // Skipped: the header read fills 0..1147 and the memory read finds nothing after it.
    ASSERT_NO_THROW(LoadFreezeFile(m_image, path, true));
    EXPECT_EQ(firstDifference(0, kHeader, FileByte), kHeader);
    EXPECT_EQ(firstDifference(kHeader, MemoryImage::kStoreSize, [](std::size_t) { return kEarlier; }),
              MemoryImage::kStoreSize);

    SetUp();
    ASSERT_NO_THROW(LoadFreezeFile(m_image, path, false));
    EXPECT_EQ(firstDifference(0, kHeader, FileByte), kHeader);
    EXPECT_EQ(firstDifference(kHeader, MemoryImage::kStoreSize, [](std::size_t) { return kEarlier; }),
              MemoryImage::kStoreSize);
}

TEST_F(LoaderPathTest, FolderIsRefused) {
    fs::create_directory(m_folder.path() / "snapshots.c64");
    expectRefused(m_folder.file("snapshots.c64"), "folder");
}

TEST_F(LoaderPathTest, NamedPipeIsRefusedWithoutWaitingForAWriter) {
    const std::string pipe = m_folder.file("stream.c64");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    // Opening a pipe for reading waits for a writer; guarded so a regression fails instead of hanging.
    auto load = std::async(std::launch::async, [&] {
        std::string why;
        const bool loaded = ReadFreezeFile(m_image, pipe, true, &why);
        return std::pair{loaded, why};
    });
    if (load.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        const int writer = open(pipe.c_str(), O_WRONLY); // lets the blocked reader see the end of the file
        if (writer >= 0)
            close(writer);
        load.wait();
        FAIL() << "the loader waited on a named pipe";
    }
    const auto [loaded, why] = load.get();
    EXPECT_FALSE(loaded);
    EXPECT_NE(why.find("not a regular file"), std::string::npos) << why;
    EXPECT_TRUE(untouched());
    // The same in the test's own thread, now that it is known not to block.
    expectRefused(pipe, "not a regular file");
}

TEST_F(LoaderPathTest, DevicesAreRefusedAsNotRegularFiles) {
    for (const char* device : {"/dev/zero", "/dev/null", "/dev/urandom"})
        if (fs::exists(device))
            expectRefused(device, "not a regular file");
}

TEST_F(LoaderPathTest, MissingAndUnreachablePathsAreRefused) {
    expectRefused(m_folder.file("nothing-here.c64"), "does not exist");
    expectRefused(m_folder.file("no-folder/snap.c64"), "does not exist");
    expectRefused("", "does not exist");
    const std::string notAFolder = save("plain.c64", MadeFile(10));
    expectRefused(notAFolder + "/inside.c64", "does not exist");
    // Two links pointing at each other never reach a file.
    fs::create_symlink(m_folder.path() / "loop-b", m_folder.path() / "loop-a");
    fs::create_symlink(m_folder.path() / "loop-a", m_folder.path() / "loop-b");
    expectRefused(m_folder.file("loop-a"), "does not exist");
}

TEST_F(LoaderPathTest, LinksAreFollowedToWhatTheyNameAndJudgedByIt) {
    const std::string target = save("real.c64", MadeFile(kHeader + 64));
    fs::create_symlink(target, m_folder.path() / "link.c64");
    ASSERT_NO_THROW(LoadFreezeFile(m_image, m_folder.file("link.c64"), true));
    EXPECT_EQ(firstDifference(0, 64, [](std::size_t i) { return FileByte(i + kHeader); }), 64u);

    SetUp();
    ASSERT_EQ(mkfifo(m_folder.file("pipe").c_str(), 0600), 0);
    fs::create_symlink(m_folder.path() / "pipe", m_folder.path() / "pipe-link.c64");
    expectRefused(m_folder.file("pipe-link.c64"), "not a regular file");
}

TEST_F(LoaderPathTest, FileOfFiveMegabytesUsesOnlyThe67000BytesAfterTheHeader) {
    const std::size_t size = 5 * 1024 * 1024;
    const std::string path = save("huge.c64", MadeFile(size));
    ASSERT_NO_THROW(LoadFreezeFile(m_image, path, true));
    EXPECT_EQ(firstDifference(0, kRead, [](std::size_t i) { return FileByte(kHeader + i); }), kRead);
    EXPECT_EQ(m_image.byteAt(0xFFFF), FileByte(1148 + 65535));
    EXPECT_EQ(firstDifference(kRead, MemoryImage::kStoreSize, [](std::size_t) { return kEarlier; }),
              MemoryImage::kStoreSize);

    SetUp();
    ASSERT_NO_THROW(LoadFreezeFile(m_image, path, false));
    EXPECT_EQ(firstDifference(0, kRead, FileByte), kRead);
    EXPECT_EQ(firstDifference(kRead, MemoryImage::kStoreSize, [](std::size_t) { return kEarlier; }),
              MemoryImage::kStoreSize);
}

TEST_F(LoaderPathTest, NamesWithSpacesAndCharactersOutsideAscii) {
    const std::string folder =
        "Meine Spiele \xC3\xBC\xC3\xA4 \xE3\x82\xB2\xE3\x83\xBC\xE3\x83\xA0"; // Üä ゲーム
    fs::create_directory(m_folder.path() / PathFromUtf8(folder));
    const std::vector<std::string> names = {
        "  leading and trailing spaces  .c64",
        folder + "/Gianna Sisters \xE2\x80\x93 level 1.c64", // en dash
        folder + "/\xF0\x9F\x8E\xAE.c64",                    // one four-byte character
    };
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        SetUp();
        const std::string path = save(name, MadeFile(kHeader + 200));
        ASSERT_NO_THROW(LoadFreezeFile(m_image, path, true));
        EXPECT_EQ(firstDifference(0, 200, [](std::size_t i) { return FileByte(kHeader + i); }), 200u);
        EXPECT_EQ(firstDifference(200, kHeader, FileByte), kHeader);
    }
}

// ---- Writer ---------------------------------------------------------------------------------------

// The temporary is created on disk as usual, but its bytes go to /dev/full: stdio buffers them, so
// every write succeeds, and the flush in close() fails with ENOSPC, as on a disk that just filled up.
class DiskFullAtFlush final : public OutputFile {
public:
    DiskFullAtFlush(std::unique_ptr<OutputFile> temporary, std::FILE* full)
        : m_temporary(std::move(temporary)), m_full(full) {}
    ~DiskFullAtFlush() override {
        if (m_full)
            std::fclose(m_full);
    }
    bool write(const std::uint8_t* bytes, std::size_t count) override {
        return std::fwrite(bytes, 1, count, m_full) == count;
    }
    bool close() override {
        const bool flushed = std::fflush(m_full) == 0;
        lastFlushErrno = errno;
        std::fclose(m_full);
        m_full = nullptr;
        m_temporary->close();
        return flushed;
    }
    static inline int lastFlushErrno = 0;

private:
    std::unique_ptr<OutputFile> m_temporary;
    std::FILE* m_full;
};

class WriterFaultTest : public ::testing::Test {
protected:
    void SetUp() override { test::WriteBytes(m_target, m_earlier); }
    // The folder holds the earlier file, byte for byte, and nothing else.
    void expectFolderAsBefore() {
        EXPECT_EQ(m_folder.names(), std::vector<std::string>{"sprite.bmp"});
        EXPECT_EQ(test::ReadBytes(m_target), m_earlier);
    }
    static bool anyTemporaryIn(const fs::path& folder) {
        std::error_code ec;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string name = it->path().filename().string();
            if (name.rfind(".mosaiqua-", 0) == 0 && name.size() > 5 &&
                name.substr(name.size() - 5) == ".part")
                return true;
        }
        return false;
    }

    test::TempFolder m_folder;
    const std::string m_target = m_folder.file("sprite.bmp");
    const Raster m_sprite = test::Tagged(24, 21);
    const Bytes m_earlier = MadeFile(300);
};

TEST_F(WriterFaultTest, FullDiskAtFlushKeepsTheEarlierFile) {
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full on this system";
    int opened = 0;
    const OutputFileOpener fillsUp = [&](const fs::path& temporary) -> std::unique_ptr<OutputFile> {
        ++opened;
        std::unique_ptr<OutputFile> real = OpenPlainOutputFile(temporary);
        std::FILE* full = std::fopen("/dev/full", "wb");
        if (!real || !full)
            return nullptr;
        EXPECT_TRUE(fs::exists(temporary)); // so a leftover would show in the folder
        return std::make_unique<DiskFullAtFlush>(std::move(real), full);
    };
    for (int depth : {16, 24, 32}) {
        SCOPED_TRACE(depth);
        test::ExpectUserError([&] { WriteBmpFile(m_sprite, m_target, depth, fillsUp); }, Kind::StreamWrite,
                              "Stream write error writing " + m_target);
        EXPECT_EQ(DiskFullAtFlush::lastFlushErrno, ENOSPC);
        expectFolderAsBefore();
    }
    EXPECT_EQ(opened, 3);
}

TEST_F(WriterFaultTest, FolderNotWritableEvenByRoot) {
    const std::string target = "/proc/mosaiqua-test.bmp";
    test::ExpectUserError([&] { WriteBmpFile(m_sprite, target, 24); }, Kind::CannotCreateFile,
                          "Cannot create file /proc/mosaiqua-test.bmp: No such file or directory");
    EXPECT_FALSE(fs::exists(target));
    EXPECT_FALSE(anyTemporaryIn("/proc"));
    expectFolderAsBefore();
}

TEST_F(WriterFaultTest, NamesThatCannotBeCreated) {
    const std::string longest(std::size_t(pathconf(m_folder.path().c_str(), _PC_NAME_MAX)), 'n');
    // Each message names the file and the system's reason.
    const std::vector<std::pair<std::string, std::string>> names = {
        {"", "No such file or directory"},                                      // nothing typed
        {m_folder.file("gone/deeper/sprite.bmp"), "No such file or directory"}, // folders that do not exist
        {m_target + "/sprite.bmp", "Not a directory"},                          // a file used as a folder
        {m_folder.file(longest + ".bmp"), "File name too long"}, // longer than the system allows
        {m_folder.file("sprite.bmp/"), "Not a directory"},       // a trailing separator names a folder
        {m_folder.path().string(), "Is a directory"},            // a folder
    };
    for (const auto& [name, reason] : names) {
        SCOPED_TRACE(name);
        test::ExpectUserError([&] { WriteBmpFile(m_sprite, name, 24); }, Kind::CannotCreateFile,
                              "Cannot create file " + name + ": " + reason);
        expectFolderAsBefore();
        EXPECT_FALSE(anyTemporaryIn(fs::current_path()));
    }
}

TEST_F(WriterFaultTest, ASuccessfulWriteAfterFailuresReplacesTheFileWhole) {
    const OutputFileOpener refuses = [](const fs::path&) { return std::unique_ptr<OutputFile>(); };
    test::ExpectUserError([&] { WriteBmpFile(m_sprite, m_target, 24, refuses); }, Kind::CannotCreateFile,
                          "Cannot create file " + m_target);
    expectFolderAsBefore();
    WriteBmpFile(m_sprite, m_target, 24);
    const Bytes written = test::ReadBytes(m_target);
    ASSERT_EQ(written.size(), 54u + 21 * 72);
    EXPECT_EQ(written[0], 'B');
    EXPECT_EQ(written[1], 'M');
    // Bottom row first: pixel (0, 20) as blue, green, red.
    EXPECT_EQ(written[54], 0x77);
    EXPECT_EQ(written[55], 21);
    EXPECT_EQ(written[56], 1);
    EXPECT_EQ(m_folder.names(), std::vector<std::string>{"sprite.bmp"});
}

} // namespace
} // namespace mosaiqua
