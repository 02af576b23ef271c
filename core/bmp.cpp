#include "bmp.h"

#include "errors.h"
#include "file_paths.h"

#include <atomic>
#include <cstdio>
#include <random>
#include <system_error>

namespace mosaiqua {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kBitfieldMasksSize = 12;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::int32_t kPixelsPerMetre = 3780; // 96 dpi, what a screen bitmap reports

std::size_t rowBytes(int width, int bitsPerPixel) {
    return (std::size_t(width) * std::size_t(bitsPerPixel) / 8 + 3) & ~std::size_t(3);
}

std::size_t pixelOffset(int bitsPerPixel) {
    return kFileHeaderSize + kInfoHeaderSize + (bitsPerPixel == 16 ? kBitfieldMasksSize : 0);
}

void put16(std::uint8_t*& p, std::uint32_t v) {
    *p++ = std::uint8_t(v);
    *p++ = std::uint8_t(v >> 8);
}
void put32(std::uint8_t*& p, std::uint32_t v) {
    put16(p, v & 0xFFFF);
    put16(p, v >> 16);
}

class StdioOutputFile final : public OutputFile {
public:
    explicit StdioOutputFile(std::FILE* file) : m_file(file) {}
    ~StdioOutputFile() override {
        if (m_file)
            std::fclose(m_file);
    }
    bool write(const std::uint8_t* bytes, std::size_t count) override {
        return std::fwrite(bytes, 1, count, m_file) == count;
    }
    bool close() override {
        const bool flushed = std::fflush(m_file) == 0 && !std::ferror(m_file);
        const bool closed = std::fclose(m_file) == 0;
        m_file = nullptr;
        return flushed && closed;
    }

private:
    std::FILE* m_file;
};

// Short and independent of the target's name, so a target near the length limit still fits.
std::filesystem::path temporaryBeside(const std::filesystem::path& target) {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    const auto name = ".mosaiqua-" + std::to_string(random()) + "-" + std::to_string(counter++) + ".part";
    return target.parent_path() / name;
}

UserError cannotCreate(const std::string& utf8Path) {
    return UserError(UserError::Kind::CannotCreateFile, "Cannot create file " + utf8Path);
}

} // namespace

void CheckBitmapSize(std::int64_t width, std::int64_t height) {
    const std::string size = std::to_string(width) + " x " + std::to_string(height);
    if (width < 1 || height < 1)
        throw UserError(UserError::Kind::BadBitmapSize,
                        "A bitmap of " + size + " pixels cannot be saved: width and height must be at least 1.");
    if (width > kMaxBitmapPixels || height > kMaxBitmapPixels || width * height > kMaxBitmapPixels)
        throw UserError(UserError::Kind::BadBitmapSize,
                        "A bitmap of " + size + " pixels is too large to save (the limit is " +
                            std::to_string(kMaxBitmapPixels) + " pixels).");
}

bool IsSupportedBmpDepth(int bitsPerPixel) {
    return bitsPerPixel == 16 || bitsPerPixel == 24 || bitsPerPixel == 32;
}

std::size_t BmpFileSize(int width, int height, int bitsPerPixel) {
    return pixelOffset(bitsPerPixel) + rowBytes(width, bitsPerPixel) * std::size_t(height);
}

std::vector<std::uint8_t> EncodeBmp(const Raster& raster, int bitsPerPixel) {
    if (!IsSupportedBmpDepth(bitsPerPixel))
        bitsPerPixel = 24;
    const int w = raster.width();
    const int h = raster.height();
    const std::size_t stride = rowBytes(w, bitsPerPixel);
    std::vector<std::uint8_t> out(BmpFileSize(w, h, bitsPerPixel), 0);

    std::uint8_t* p = out.data();
    *p++ = 'B';
    *p++ = 'M';
    put32(p, std::uint32_t(out.size()));
    put32(p, 0);
    put32(p, std::uint32_t(pixelOffset(bitsPerPixel)));
    put32(p, kInfoHeaderSize);
    put32(p, std::uint32_t(w));
    put32(p, std::uint32_t(h)); // positive: rows stored bottom-up
    put16(p, 1);
    put16(p, std::uint32_t(bitsPerPixel));
    put32(p, bitsPerPixel == 16 ? kBiBitfields : kBiRgb);
    put32(p, std::uint32_t(stride * std::size_t(h)));
    put32(p, kPixelsPerMetre);
    put32(p, kPixelsPerMetre);
    put32(p, 0);
    put32(p, 0);
    if (bitsPerPixel == 16) {
        put32(p, 0xF800);
        put32(p, 0x07E0);
        put32(p, 0x001F);
    }

    for (int y = 0; y < h; ++y) {
        std::uint8_t* row = out.data() + pixelOffset(bitsPerPixel) + stride * std::size_t(h - 1 - y);
        const TColor* in = raster.row(y);
        for (int x = 0; x < w; ++x) {
            const TColor c = in[x];
            if (bitsPerPixel == 16) {
                const std::uint32_t v = (std::uint32_t(RedOf(c) >> 3) << 11) |
                                        (std::uint32_t(GreenOf(c) >> 2) << 5) | std::uint32_t(BlueOf(c) >> 3);
                put16(row, v);
            } else {
                *row++ = BlueOf(c);
                *row++ = GreenOf(c);
                *row++ = RedOf(c);
                if (bitsPerPixel == 32)
                    *row++ = 0;
            }
        }
    }
    return out;
}

std::unique_ptr<OutputFile> OpenPlainOutputFile(const std::filesystem::path& path) {
#ifdef _WIN32
    std::FILE* file = _wfopen(path.c_str(), L"wbx");
#else
    std::FILE* file = std::fopen(path.c_str(), "wbx"); // never reuses an existing name
#endif
    if (!file)
        return nullptr;
    return std::make_unique<StdioOutputFile>(file);
}

void WriteFileAtomically(const std::string& utf8Path, std::span<const std::uint8_t> bytes,
                         const OutputFileOpener& opener) {
    if (utf8Path.empty())
        throw cannotCreate(utf8Path);
    const std::filesystem::path target = PathFromUtf8(utf8Path);
    std::error_code ec;
    if (std::filesystem::is_directory(target, ec))
        throw cannotCreate(utf8Path);

    const std::filesystem::path temporary = temporaryBeside(target);
    std::unique_ptr<OutputFile> file = opener(temporary);
    if (!file)
        throw cannotCreate(utf8Path);

    const bool written = file->write(bytes.data(), bytes.size());
    const bool closed = file->close();
    file.reset();
    if (!written || !closed) {
        std::filesystem::remove(temporary, ec);
        throw UserError(UserError::Kind::StreamWrite, "Stream write error");
    }
    std::filesystem::rename(temporary, target, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        throw cannotCreate(utf8Path);
    }
}

void WriteBmpFile(const Raster& raster, const std::string& utf8Path, int bitsPerPixel,
                  const OutputFileOpener& opener) {
    CheckBitmapSize(raster.width(), raster.height());
    const std::vector<std::uint8_t> bytes = EncodeBmp(raster, bitsPerPixel);
    WriteFileAtomically(utf8Path, bytes, opener);
}

} // namespace mosaiqua
