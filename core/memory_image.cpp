#include "memory_image.h"

#include "errors.h"

#include "file_paths.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace mosaiqua {

MemoryImage::MemoryImage() : m_store(kStoreSize, 0) {}

void MemoryImage::write(std::size_t index, const std::uint8_t* bytes, std::size_t count) {
    if (index >= kStoreSize)
        return;
    count = std::min(count, kStoreSize - index);
    std::memcpy(m_store.data() + index, bytes, count);
}

namespace {

// Reads up to `limit` bytes; a read error counts as the end of the file.
std::size_t readUpTo(std::ifstream& in, std::uint8_t* buffer, std::size_t limit) {
    in.read(reinterpret_cast<char*>(buffer), std::streamsize(limit));
    const auto got = in.gcount();
    return got > 0 ? std::size_t(got) : 0;
}

} // namespace

bool ReadFreezeFile(MemoryImage& image, const std::string& utf8Path, bool skipHeader, std::string* why) {
    const std::filesystem::path path = PathFromUtf8(utf8Path);
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    auto fail = [&](const std::string& reason) {
        if (why)
            *why = reason;
        return false;
    };
    if (ec || !std::filesystem::exists(status))
        return fail("The file does not exist or cannot be reached.");
    // A pipe or device could block the window forever, and a folder holds no memory.
    if (std::filesystem::is_directory(status))
        return fail("It is a folder, not a file.");
    if (!std::filesystem::is_regular_file(status))
        return fail("It is not a regular file.");

    std::ifstream in(path, std::ios::binary);
    if (!in)
        return fail("The file cannot be opened for reading.");

    // Read everything first, so the store changes only once the reads are done.
    std::vector<std::uint8_t> header(MemoryImage::kHeaderBytes);
    std::size_t headerCount = 0;
    if (skipHeader)
        headerCount = readUpTo(in, header.data(), header.size());
    std::vector<std::uint8_t> memory(MemoryImage::kMemoryReadBytes);
    std::size_t memoryCount = 0;
    if (!skipHeader || headerCount == header.size())
        memoryCount = readUpTo(in, memory.data(), memory.size());

    image.write(0, header.data(), headerCount);
    image.write(0, memory.data(), memoryCount);
    return true;
}

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
