#include "bmp.h"

#include "errors.h"
#include "file_paths.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <mutex>
#include <random>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

class FdOutputFile final : public OutputFile {
public:
    explicit FdOutputFile(int fd) : m_fd(fd) {}
    ~FdOutputFile() override {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool write(const std::uint8_t* bytes, std::size_t count) override {
        while (count > 0) {
            const ssize_t n = ::write(m_fd, bytes, count);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                m_error = errno;
                return false;
            }
            bytes += n;
            count -= std::size_t(n);
        }
        return true;
    }
    bool close() override {
        const int result = ::close(m_fd);
        m_fd = -1;
        if (result != 0)
            m_error = errno;
        return result == 0;
    }
    int systemError() const override { return m_error; }
    int fd() const { return m_fd; }

private:
    int m_fd;
    int m_error = 0;
};

// Short and independent of the target's name, so a target near the length limit still fits.
std::filesystem::path temporaryBeside(const std::filesystem::path& target) {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    const auto name = ".mosaiqua-" + std::to_string(random()) + "-" + std::to_string(counter++) + ".part";
    return target.parent_path() / name;
}

std::string reasonOf(int error) {
    return error != 0 ? std::string(": ") + std::strerror(error) : std::string();
}

UserError cannotCreate(const std::string& utf8Path, int error) {
    return UserError(UserError::Kind::CannotCreateFile, "Cannot create file " + utf8Path + reasonOf(error));
}

UserError cannotCreate(const std::string& utf8Path, const std::string& why) {
    return UserError(UserError::Kind::CannotCreateFile, "Cannot create file " + utf8Path + ": " + why);
}

UserError streamWrite(const std::string& utf8Path, int error) {
    return UserError(UserError::Kind::StreamWrite,
                     "Stream write error writing " + utf8Path + reasonOf(error));
}

std::mutex protectedMutex;
FileIdentity protectedFile;

FileIdentity protectedIdentity() {
    const std::lock_guard lock(protectedMutex);
    return protectedFile;
}

// Interrupted runs: the one named temporary that exists at a time, removed by the signal handler.
// Plain storage and unlink/signal/raise only, as a handler may use nothing else.
constexpr std::size_t kPendingMax = 4096;
char pendingPath[kPendingMax];
volatile std::sig_atomic_t pendingSet = 0;

extern "C" void removePendingAndStop(int signalNumber) {
    if (pendingSet)
        ::unlink(pendingPath);
    // Default handling again, so the run ends as an interrupted one (exit 130 or 143).
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

void installCleanupHandlers() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int signalNumber : {SIGINT, SIGTERM}) {
            struct sigaction old {};
            // A handler of the program's own, or an ignored signal, stays as it is.
            if (::sigaction(signalNumber, nullptr, &old) != 0 || old.sa_handler != SIG_DFL)
                continue;
            struct sigaction action {};
            action.sa_handler = removePendingAndStop;
            sigemptyset(&action.sa_mask);
            ::sigaction(signalNumber, &action, nullptr);
        }
    });
}

class PendingTemporary {
public:
    explicit PendingTemporary(const std::filesystem::path& path) {
        const std::string& text = path.native();
        if (text.size() >= kPendingMax)
            return;
        std::memcpy(pendingPath, text.c_str(), text.size() + 1);
        pendingSet = 1;
    }
    ~PendingTemporary() { pendingSet = 0; }
    PendingTemporary(const PendingTemporary&) = delete;
    PendingTemporary& operator=(const PendingTemporary&) = delete;
};

// Follows symbolic links to the name finally written; a dangling link's target gets created.
std::filesystem::path resolveLinks(std::filesystem::path path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        std::error_code ec;
        const std::filesystem::path next = std::filesystem::read_symlink(path, ec);
        if (ec)
            return path;
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return path; // a loop: stat then fails with the system's reason
}

// The replaced file's owner and permission bits carry over; owner first, as chown may clear set-id bits.
void keepOwnerAndMode(int fd, const std::filesystem::path& path, const struct stat& old) {
    int ignored = 0;
    if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
        ignored =
            fd >= 0 ? ::fchown(fd, old.st_uid, old.st_gid) : ::chown(path.c_str(), old.st_uid, old.st_gid);
        if (ignored != 0) // not allowed to give the file away: keep at least its group if we may
            ignored =
                fd >= 0 ? ::fchown(fd, uid_t(-1), old.st_gid) : ::chown(path.c_str(), uid_t(-1), old.st_gid);
    }
    ignored = fd >= 0 ? ::fchmod(fd, old.st_mode & 07777) : ::chmod(path.c_str(), old.st_mode & 07777);
    (void)ignored;
}

void writeAll(OutputFile& file, std::span<const std::uint8_t> bytes, const std::string& utf8Path) {
    if (!file.write(bytes.data(), bytes.size()))
        throw streamWrite(utf8Path, file.systemError());
}

// Devices and FIFOs take the bytes as they come: no temporary, no rename.
void writeThrough(const std::filesystem::path& target, const std::string& utf8Path,
                  std::span<const std::uint8_t> bytes) {
    const int fd = ::open(target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        throw cannotCreate(utf8Path, errno);
    FdOutputFile file(fd);
    writeAll(file, bytes, utf8Path);
    if (!file.close())
        throw streamWrite(utf8Path, file.systemError());
}

void renameInto(const std::filesystem::path& temporary, const std::filesystem::path& target,
                const std::string& utf8Path) {
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        throw cannotCreate(utf8Path, error);
    }
}

#ifdef O_TMPFILE
// An unnamed file in the target's folder, given a name only once complete. False when the system
// or the file system cannot make one.
bool replaceThroughUnnamed(const std::filesystem::path& target, const struct stat* old,
                           const std::string& utf8Path, std::span<const std::uint8_t> bytes) {
    const std::filesystem::path folder = target.parent_path().empty() ? "." : target.parent_path();
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    FdOutputFile file(fd);
    writeAll(file, bytes, utf8Path);
    if (old)
        keepOwnerAndMode(fd, {}, *old);
    const std::filesystem::path temporary = temporaryBeside(target);
    const PendingTemporary pending(temporary);
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temporary.c_str(), AT_SYMLINK_FOLLOW) != 0 &&
        ::linkat(fd, "", AT_FDCWD, temporary.c_str(), AT_EMPTY_PATH) != 0)
        return false; // nothing named yet: the named way reports whatever is wrong
    if (!file.close()) {
        ::unlink(temporary.c_str());
        throw streamWrite(utf8Path, file.systemError());
    }
    renameInto(temporary, target, utf8Path);
    return true;
}
#endif

void replaceThroughNamed(const std::filesystem::path& target, const struct stat* old,
                         const std::string& utf8Path, std::span<const std::uint8_t> bytes,
                         const OutputFileOpener& opener) {
    const std::filesystem::path temporary = temporaryBeside(target);
    const PendingTemporary pending(temporary);
    errno = 0;
    std::unique_ptr<OutputFile> file = opener ? opener(temporary) : OpenPlainOutputFile(temporary);
    if (!file)
        throw cannotCreate(utf8Path, errno);
    const bool written = file->write(bytes.data(), bytes.size());
    const int writeError = file->systemError();
    const bool closed = file->close();
    const int error = written ? file->systemError() : writeError;
    file.reset();
    if (!written || !closed) {
        ::unlink(temporary.c_str());
        throw streamWrite(utf8Path, error);
    }
    if (old)
        keepOwnerAndMode(-1, temporary, *old);
    renameInto(temporary, target, utf8Path);
}

} // namespace

void CheckBitmapSize(std::int64_t width, std::int64_t height) {
    const std::string size = std::to_string(width) + " x " + std::to_string(height);
    if (width < 1 || height < 1)
        throw UserError(UserError::Kind::BadBitmapSize,
                        "A bitmap of " + size +
                            " pixels cannot be saved: width and height must be at least 1.");
    if (width > kMaxBitmapPixels || height > kMaxBitmapPixels || width * height > kMaxBitmapPixels)
        throw UserError(UserError::Kind::BadBitmapSize, "A bitmap of " + size +
                                                            " pixels is too large to save (the limit is " +
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
    // O_EXCL: never reuses an existing name.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return nullptr;
    return std::make_unique<FdOutputFile>(fd);
}

FileIdentity IdentifyFile(const std::string& utf8Path) {
    struct stat st {};
    if (utf8Path.empty() || ::stat(PathFromUtf8(utf8Path).c_str(), &st) != 0)
        return {};
    return {std::uint64_t(st.st_dev), std::uint64_t(st.st_ino), true};
}

void ProtectLoadedFile(const FileIdentity& identity) {
    const std::lock_guard lock(protectedMutex);
    protectedFile = identity;
}

void ProtectLoadedFile(const std::string& utf8Path) {
    ProtectLoadedFile(IdentifyFile(utf8Path));
}

void WriteFileAtomically(const std::string& utf8Path, std::span<const std::uint8_t> bytes,
                         const OutputFileOpener& opener) {
    if (utf8Path.empty())
        throw cannotCreate(utf8Path, ENOENT);
    const std::filesystem::path named = PathFromUtf8(utf8Path);
    struct stat st {};
    // The system follows links itself here, /proc's links to pipes included (-o /dev/stdout).
    const bool exists = ::stat(named.c_str(), &st) == 0;
    if (!exists && errno != ENOENT)
        throw cannotCreate(utf8Path, errno);
    if (exists) {
        const FileIdentity identity{std::uint64_t(st.st_dev), std::uint64_t(st.st_ino), true};
        if (identity == protectedIdentity())
            throw cannotCreate(utf8Path,
                               "it is the file that was loaded, and writing over it would destroy it");
        if (S_ISDIR(st.st_mode))
            throw cannotCreate(utf8Path, EISDIR);
        if (S_ISCHR(st.st_mode) || S_ISFIFO(st.st_mode)) {
            writeThrough(named, utf8Path, bytes);
            return;
        }
        if (!S_ISREG(st.st_mode))
            throw cannotCreate(utf8Path, "it is not a regular file, a character device or a FIFO");
    }
    // The name renamed over: the file a link points to, so the link stays a link.
    const std::filesystem::path target = resolveLinks(named);
    installCleanupHandlers();
#ifdef O_TMPFILE
    if (!opener && replaceThroughUnnamed(target, exists ? &st : nullptr, utf8Path, bytes))
        return;
#endif
    replaceThroughNamed(target, exists ? &st : nullptr, utf8Path, bytes, opener);
}

void WriteBmpFile(const Raster& raster, const std::string& utf8Path, int bitsPerPixel,
                  const OutputFileOpener& opener) {
    CheckBitmapSize(raster.width(), raster.height());
    const std::vector<std::uint8_t> bytes = EncodeBmp(raster, bitsPerPixel);
    WriteFileAtomically(utf8Path, bytes, opener);
}

} // namespace mosaiqua
