#include "file_writer.h"

#include "errors.h"
#include "file_paths.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <string_view>
#include <system_error>

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace mosaiqua {

namespace {

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
    // No fsync: a save promises the old file or the whole new one, never half of either, which the
    // rename gives on every journalled file system for a crash of the program; syncing each file
    // (what a power cut would need) made a range of 1,025 sprites several times slower.
    bool close() override {
        const int result = ::close(m_fd);
        m_fd = -1;
        if (result != 0)
            m_error = errno;
        return result == 0;
    }
    int systemError() const override { return m_error; }

private:
    int m_fd;
    int m_error = 0;
};

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

FileIdentity identityOf(const struct stat& st) {
    return {std::uint64_t(st.st_dev), std::uint64_t(st.st_ino), true};
}

void refuseKept(const struct stat& st, const WriteOptions& options, const std::string& utf8Path) {
    if (options.keep.known && identityOf(st) == options.keep)
        throw cannotCreate(utf8Path, "it is the file that was loaded, and writing over it would destroy it");
}

// Short and independent of the target's name, so a target near the length limit still fits; a
// clash (another run, same instant) is met by the exclusive creation and a new name.
std::filesystem::path temporaryBeside(const std::filesystem::path& target, unsigned attempt) {
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    const auto name = ".mosaiqua-" + std::to_string(now) + "-" + std::to_string(attempt) + ".part";
    return target.parent_path() / name;
}

// While a named temporary exists the calling thread holds SIGINT and SIGTERM off; one that came
// meanwhile removes the temporary and is then let through, so the run still ends by it.
class InterruptHold {
public:
    InterruptHold() {
        sigset_t held;
        sigemptyset(&held);
        sigaddset(&held, SIGINT);
        sigaddset(&held, SIGTERM);
        ::pthread_sigmask(SIG_BLOCK, &held, &m_before);
    }
    ~InterruptHold() { ::pthread_sigmask(SIG_SETMASK, &m_before, nullptr); }
    InterruptHold(const InterruptHold&) = delete;
    InterruptHold& operator=(const InterruptHold&) = delete;

    // Removes `temporary` and throws when an interrupt waits.
    void giveWayIfInterrupted(const std::filesystem::path& temporary, const std::string& utf8Path) {
        sigset_t pending;
        if (::sigpending(&pending) != 0 ||
            (!sigismember(&pending, SIGINT) && !sigismember(&pending, SIGTERM)))
            return;
        ::unlink(temporary.c_str());
        ::pthread_sigmask(SIG_SETMASK, &m_before, nullptr); // delivered here, unless the program handles it
        throw cannotCreate(utf8Path, EINTR);
    }

private:
    sigset_t m_before;
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

// The replaced file's owner and permission bits carry over; owner first, as chown may clear set-id
// bits. Each call only when the new file differs, since most replaced files were made as this one.
void keepOwnerAndMode(int fd, const std::filesystem::path& path, const struct stat& old,
                      const struct stat& now) {
    int ignored = 0;
    if (old.st_uid != now.st_uid || old.st_gid != now.st_gid) {
        ignored =
            fd >= 0 ? ::fchown(fd, old.st_uid, old.st_gid) : ::chown(path.c_str(), old.st_uid, old.st_gid);
        if (ignored != 0) // not allowed to give the file away: keep at least its group if we may
            ignored =
                fd >= 0 ? ::fchown(fd, uid_t(-1), old.st_gid) : ::chown(path.c_str(), uid_t(-1), old.st_gid);
    }
    if ((old.st_mode & 07777) != (now.st_mode & 07777) || old.st_uid != now.st_uid)
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

// One of our own descriptors: written where it stands, and left open.
void writeToDescriptor(int fd, const std::string& utf8Path, std::span<const std::uint8_t> bytes) {
    const std::uint8_t* p = bytes.data();
    std::size_t count = bytes.size();
    while (count > 0) {
        const ssize_t n = ::write(fd, p, count);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw streamWrite(utf8Path, errno);
        }
        p += n;
        count -= std::size_t(n);
    }
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
bool linkDescriptor(int fd, const std::filesystem::path& name) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0 ||
           ::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0;
}

// An unnamed file in the target's folder, given a name only once complete: a new name is linked
// straight into place, an existing file is replaced through a short-lived named link and a rename.
// False when the system or the file system cannot make one, or could not name it.
bool writeThroughUnnamed(const std::filesystem::path& target, const struct stat* old,
                         const std::string& utf8Path, std::span<const std::uint8_t> bytes) {
    const std::filesystem::path folder = target.parent_path().empty() ? "." : target.parent_path();
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    FdOutputFile file(fd);
    writeAll(file, bytes, utf8Path);
    if (old == nullptr) {
        if (linkDescriptor(fd, target)) {
            if (!file.close()) {
                ::unlink(target.c_str());
                throw streamWrite(utf8Path, file.systemError());
            }
            return true;
        }
        if (errno != EEXIST)
            return false; // the named way reports whatever is wrong
        // Made by someone else meanwhile: replaced as any existing file is.
    }
    struct stat now {};
    if (old != nullptr && ::fstat(fd, &now) == 0)
        keepOwnerAndMode(fd, {}, *old, now);
    InterruptHold hold;
    for (unsigned attempt = 0;; ++attempt) {
        const std::filesystem::path temporary = temporaryBeside(target, attempt);
        if (!linkDescriptor(fd, temporary)) {
            if (errno == EEXIST && attempt < 8)
                continue;
            return false;
        }
        if (!file.close()) {
            ::unlink(temporary.c_str());
            throw streamWrite(utf8Path, file.systemError());
        }
        hold.giveWayIfInterrupted(temporary, utf8Path);
        renameInto(temporary, target, utf8Path);
        return true;
    }
}
#endif

void writeThroughNamed(const std::filesystem::path& target, const struct stat* old,
                       const std::string& utf8Path, std::span<const std::uint8_t> bytes,
                       const OutputFileOpener& opener) {
    InterruptHold hold;
    std::filesystem::path temporary;
    std::unique_ptr<OutputFile> file;
    for (unsigned attempt = 0; !file && attempt < 8; ++attempt) {
        temporary = temporaryBeside(target, attempt);
        errno = 0;
        file = opener ? opener(temporary) : OpenPlainOutputFile(temporary);
        if (!file && errno != EEXIST)
            break;
    }
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
    struct stat now {};
    if (old != nullptr && ::stat(temporary.c_str(), &now) == 0)
        keepOwnerAndMode(-1, temporary, *old, now);
    hold.giveWayIfInterrupted(temporary, utf8Path);
    renameInto(temporary, target, utf8Path);
}

bool parseDescriptorNumber(std::string_view digits, int& fd) {
    if (digits.empty() || digits.size() > 9)
        return false;
    fd = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return false;
        fd = fd * 10 + (c - '0');
    }
    return true;
}

// A handler only where the signal still has its default handling: in a thread other than the main
// one it hands the signal to the main thread (which may be holding it off during a write); in the
// main thread it ends the run by the signal, as the default would.
extern "C" void forwardInterruptToMainThread(int signalNumber) {
    const pid_t process = ::getpid();
    if (pid_t(::syscall(SYS_gettid)) != process) {
        ::syscall(SYS_tgkill, process, process, signalNumber);
        return;
    }
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

} // namespace

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
    return identityOf(st);
}

std::optional<int> OwnDescriptorNamed(const std::string& utf8Path) {
    std::string_view name = utf8Path;
    int fd = -1;
    if (name == "/dev/stdin")
        fd = 0;
    else if (name == "/dev/stdout")
        fd = 1;
    else if (name == "/dev/stderr")
        fd = 2;
    else if (name.starts_with("/dev/fd/"))
        parseDescriptorNumber(name.substr(8), fd) || (fd = -1);
    else if (name.starts_with("/proc/self/fd/"))
        parseDescriptorNumber(name.substr(14), fd) || (fd = -1);
    else if (name.starts_with("/proc/")) {
        const std::string own = "/proc/" + std::to_string(::getpid()) + "/fd/";
        if (name.starts_with(own))
            parseDescriptorNumber(name.substr(own.size()), fd) || (fd = -1);
    }
    if (fd < 0 || ::fcntl(fd, F_GETFD) == -1)
        return std::nullopt;
    return fd;
}

void WriteFileAtomically(const std::string& utf8Path, std::span<const std::uint8_t> bytes,
                         const WriteOptions& options) {
    if (utf8Path.empty())
        throw cannotCreate(utf8Path, ENOENT);
    if (const std::optional<int> fd = OwnDescriptorNamed(utf8Path)) {
        struct stat st {};
        if (::fstat(*fd, &st) == 0)
            refuseKept(st, options, utf8Path);
        writeToDescriptor(*fd, utf8Path, bytes);
        return;
    }
    const std::filesystem::path named = PathFromUtf8(utf8Path);
    struct stat st {};
    bool exists = ::lstat(named.c_str(), &st) == 0;
    if (!exists && errno != ENOENT)
        throw cannotCreate(utf8Path, errno);
    // The name renamed over: the file a link points to, so the link stays a link.
    std::filesystem::path target = named;
    if (exists && S_ISLNK(st.st_mode)) {
        exists = ::stat(named.c_str(), &st) == 0;
        if (!exists && errno != ENOENT)
            throw cannotCreate(utf8Path, errno);
        target = resolveLinks(named);
    }
    if (exists) {
        refuseKept(st, options, utf8Path);
        if (S_ISDIR(st.st_mode))
            throw cannotCreate(utf8Path, EISDIR);
        if (S_ISCHR(st.st_mode) || S_ISFIFO(st.st_mode)) {
            writeThrough(named, utf8Path, bytes);
            return;
        }
        if (!S_ISREG(st.st_mode))
            throw cannotCreate(utf8Path, "it is not a regular file, a character device or a FIFO");
    }
#ifdef O_TMPFILE
    if (!options.opener && writeThroughUnnamed(target, exists ? &st : nullptr, utf8Path, bytes))
        return;
#endif
    writeThroughNamed(target, exists ? &st : nullptr, utf8Path, bytes, options.opener);
}

void InstallInterruptCleanup() {
    for (int signalNumber : {SIGINT, SIGTERM}) {
        struct sigaction old {};
        // A handler of the program's own, or an ignored signal, stays as it is.
        if (::sigaction(signalNumber, nullptr, &old) != 0 || old.sa_handler != SIG_DFL)
            continue;
        struct sigaction action {};
        action.sa_handler = forwardInterruptToMainThread;
        sigemptyset(&action.sa_mask);
        ::sigaction(signalNumber, &action, nullptr);
    }
}

} // namespace mosaiqua
