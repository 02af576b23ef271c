#include "memory_image.h"

#include "errors.h"

#include "file_paths.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace mosaiqua {

MemoryImage::MemoryImage() : m_store(kStoreSize, 0) {}

void MemoryImage::write(std::size_t index, const std::uint8_t* bytes, std::size_t count) {
    if (index >= kStoreSize)
        return;
    count = std::min(count, kStoreSize - index);
    std::memcpy(m_store.data() + index, bytes, count);
}

namespace {

bool Fail(std::string* why, const std::string& reason) {
    if (why)
        *why = reason;
    return false;
}

// Reads the header and memory parts; the store changes only once both reads are done.
template <typename ReadUpTo> void ReadParts(MemoryImage& image, bool skipHeader, ReadUpTo readUpTo) {
    std::vector<std::uint8_t> header(MemoryImage::kHeaderBytes);
    std::size_t headerCount = 0;
    if (skipHeader)
        headerCount = readUpTo(header.data(), header.size());
    std::vector<std::uint8_t> memory(MemoryImage::kMemoryReadBytes);
    std::size_t memoryCount = 0;
    if (!skipHeader || headerCount == header.size())
        memoryCount = readUpTo(memory.data(), memory.size());
    image.write(0, header.data(), headerCount);
    image.write(0, memory.data(), memoryCount);
}

} // namespace

#if defined(__unix__) || defined(__APPLE__)

bool ReadFreezeFile(MemoryImage& image, const std::string& utf8Path, bool skipHeader, std::string* why) {
    const std::filesystem::path path = PathFromUtf8(utf8Path);
    // Opened once, without waiting, and judged by what was opened: a name that turns into a pipe or
    // device after a check could otherwise block the program forever.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        const int error = errno;
        struct stat info {};
        // A socket cannot be opened at all; it is still named for what it is.
        if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode))
            return Fail(why, "It is not a regular file.");
        if (error == ENOENT || error == ENOTDIR || error == ELOOP || error == ENAMETOOLONG)
            return Fail(why, "The file does not exist or cannot be reached.");
        return Fail(why, "The file cannot be opened for reading: " + std::string(std::strerror(error)) + ".");
    }
    struct stat info {};
    const bool statted = ::fstat(fd, &info) == 0;
    if (!statted || !S_ISREG(info.st_mode)) {
        ::close(fd);
        if (statted && S_ISDIR(info.st_mode))
            return Fail(why, "It is a folder, not a file.");
        return Fail(why, "It is not a regular file.");
    }
    // A read error counts as the end of the file.
    ReadParts(image, skipHeader, [fd](std::uint8_t* buffer, std::size_t limit) {
        std::size_t got = 0;
        while (got < limit) {
            const ssize_t n = ::read(fd, buffer + got, limit - got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            got += std::size_t(n);
        }
        return got;
    });
    ::close(fd);
    return true;
}

#else

bool ReadFreezeFile(MemoryImage& image, const std::string& utf8Path, bool skipHeader, std::string* why) {
    const std::filesystem::path path = PathFromUtf8(utf8Path);
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status))
        return Fail(why, "The file does not exist or cannot be reached.");
    if (std::filesystem::is_directory(status))
        return Fail(why, "It is a folder, not a file.");
    if (!std::filesystem::is_regular_file(status))
        return Fail(why, "It is not a regular file.");
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Fail(why, "The file cannot be opened for reading: " + std::string(std::strerror(errno)) + ".");
    ReadParts(image, skipHeader, [&in](std::uint8_t* buffer, std::size_t limit) {
        in.read(reinterpret_cast<char*>(buffer), std::streamsize(limit));
        const auto got = in.gcount();
        return got > 0 ? std::size_t(got) : std::size_t(0);
    });
    return true;
}

#endif

void LoadFreezeFile(MemoryImage& image, const std::string& utf8Path, bool skipHeader) {
    std::string why;
    if (!ReadFreezeFile(image, utf8Path, skipHeader, &why))
        throw UserError(UserError::Kind::CannotOpenFile, CannotOpenFileMessage(utf8Path, why));
}

std::string CannotOpenFileMessage(const std::string& utf8Path, const std::string& why) {
    std::string message = "Cannot open file \"" + utf8Path + "\".";
    if (!why.empty())
        message += " " + why;
    return message;
}

} // namespace mosaiqua
