// What the writer does with targets that are not plain new files, with the loaded snapshot, with
// the replaced file's permissions and with an interrupted run.
#include "core/file_writer.h"
#include "test_helpers.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace mosaiqua {
namespace {

namespace fs = std::filesystem;
using test::ExpectUserError;
using Kind = UserError::Kind;

using Bytes = std::vector<std::uint8_t>;
const Bytes kOld{'o', 'l', 'd'};
const Bytes kNew{'n', 'e', 'w', '!'};

struct stat StatOf(const fs::path& path) {
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st;
}

class WriteTargetTest : public ::testing::Test {
protected:
    test::TempFolder m_folder;
    const std::string m_file = m_folder.file("file.bmp");
};

TEST_F(WriteTargetTest, ASymbolicLinkIsFollowedAndStaysALink) {
    test::WriteBytes(m_file, kOld);
    fs::create_symlink("file.bmp", m_folder.path() / "link.bmp");
    WriteFileAtomically(m_folder.file("link.bmp"), kNew);
    EXPECT_TRUE(fs::is_symlink(m_folder.path() / "link.bmp"));
    EXPECT_EQ(test::ReadBytes(m_file), kNew);
    EXPECT_EQ(m_folder.names(), (std::vector<std::string>{"file.bmp", "link.bmp"}));
}

TEST_F(WriteTargetTest, DevicesAndFifosAreWrittenStraightThrough) {
    const fs::path fifo = m_folder.path() / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    WriteFileAtomically(fifo.string(), kNew);
    Bytes got(8);
    got.resize(std::size_t(std::max<ssize_t>(0, ::read(reader, got.data(), got.size()))));
    ::close(reader);
    EXPECT_EQ(got, kNew);
    EXPECT_TRUE(S_ISFIFO(StatOf(fifo).st_mode));

    // Copies of /dev/null and /dev/full, so a failure here never touches the real ones.
    const fs::path null = m_folder.path() / "null";
    const fs::path full = m_folder.path() / "full";
    if (::mknod(null.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0 ||
        ::mknod(full.c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0)
        GTEST_SKIP() << "cannot make device nodes here";
    WriteFileAtomically(null.string(), kNew);
    EXPECT_TRUE(S_ISCHR(StatOf(null).st_mode));
    ExpectUserError([&] { WriteFileAtomically(full.string(), kNew); }, Kind::StreamWrite,
                    "Stream write error writing " + full.string() + ": No space left on device");
    EXPECT_TRUE(S_ISCHR(StatOf(full).st_mode));
    EXPECT_EQ(m_folder.names(), (std::vector<std::string>{"fifo", "full", "null"}));
}

TEST_F(WriteTargetTest, OtherKindsAreRefusedAndLeftAlone) {
    const fs::path socketPath = m_folder.path() / "sock";
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(socketPath.string().size(), sizeof(address.sun_path));
    socketPath.string().copy(address.sun_path, sizeof(address.sun_path) - 1);
    ASSERT_EQ(::bind(sock, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    ExpectUserError([&] { WriteFileAtomically(socketPath.string(), kNew); }, Kind::CannotCreateFile,
                    "Cannot create file " + socketPath.string() +
                        ": it is not a regular file, a character device or a FIFO");
    ::close(sock);
    EXPECT_TRUE(S_ISSOCK(StatOf(socketPath).st_mode));
    EXPECT_EQ(m_folder.names(), std::vector<std::string>{"sock"});
}

TEST_F(WriteTargetTest, TheLoadedFileIsRefusedUnderEveryName) {
    test::WriteBytes(m_file, kOld);
    fs::create_hard_link(m_file, m_folder.path() / "hard.bmp");
    fs::create_symlink("file.bmp", m_folder.path() / "soft.bmp");
    const WriteOptions keepLoaded(IdentifyFile(m_file));
    for (const std::string& name :
         {m_file, m_folder.file("hard.bmp"), m_folder.file("soft.bmp"), m_folder.file("./file.bmp")})
        ExpectUserError([&] { WriteFileAtomically(name, kNew, keepLoaded); }, Kind::CannotCreateFile,
                        "Cannot create file " + name +
                            ": it is the file that was loaded, and writing over it would destroy it");
    EXPECT_EQ(test::ReadBytes(m_file), kOld);
    EXPECT_EQ(m_folder.names(), (std::vector<std::string>{"file.bmp", "hard.bmp", "soft.bmp"}));
    WriteFileAtomically(m_file, kNew); // another snapshot loaded: the old one may be written again
    EXPECT_EQ(test::ReadBytes(m_file), kNew);
}

// Both ways of writing: the system's unnamed temporary, and a named one (what a test opener gets).
TEST_F(WriteTargetTest, AReplacedFileKeepsItsModeAndOwner) {
    const OutputFileOpener named = [](const fs::path& p) { return OpenPlainOutputFile(p); };
    for (const OutputFileOpener& opener : {OutputFileOpener{}, named}) {
        test::WriteBytes(m_file, kOld);
        ASSERT_EQ(::chmod(m_file.c_str(), 0640), 0);
        const bool root = ::geteuid() == 0;
        if (root) {
            ASSERT_EQ(::chown(m_file.c_str(), 1234, 5678), 0);
        }
        fs::create_hard_link(m_file, m_folder.path() / "hard.bmp");
        WriteFileAtomically(m_file, kNew, opener);
        const struct stat st = StatOf(m_file);
        EXPECT_EQ(st.st_mode & 07777, 0640u);
        if (root) {
            EXPECT_EQ(st.st_uid, 1234u);
            EXPECT_EQ(st.st_gid, 5678u);
        }
        EXPECT_EQ(test::ReadBytes(m_file), kNew);
        // Atomic replacement gives the name a new file: the other link keeps the old content.
        EXPECT_EQ(test::ReadBytes(m_folder.path() / "hard.bmp"), kOld);
        fs::remove(m_folder.path() / "hard.bmp");
        EXPECT_EQ(m_folder.names(), std::vector<std::string>{"file.bmp"});
    }
}

// Interrupts itself half-way through writing the named temporary.
class InterruptedFile final : public OutputFile {
public:
    InterruptedFile(std::unique_ptr<OutputFile> real, int signalNumber)
        : m_real(std::move(real)), m_signal(signalNumber) {}
    bool write(const std::uint8_t* bytes, std::size_t count) override {
        m_real->write(bytes, count / 2);
        std::raise(m_signal);
        return m_real->write(bytes + count / 2, count - count / 2);
    }
    bool close() override { return m_real->close(); }

private:
    std::unique_ptr<OutputFile> m_real;
    int m_signal;
};

TEST_F(WriteTargetTest, AnInterruptedRunLeavesNothingAndEndsByTheSignal) {
    for (int signalNumber : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signalNumber);
        test::WriteBytes(m_file, kOld);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const OutputFileOpener interrupted = [&](const fs::path& p) -> std::unique_ptr<OutputFile> {
                return std::make_unique<InterruptedFile>(OpenPlainOutputFile(p), signalNumber);
            };
            try {
                WriteFileAtomically(m_file, Bytes(1 << 20, 7), interrupted);
            } catch (...) {
            }
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));
        EXPECT_EQ(WTERMSIG(status), signalNumber); // so a shell reports 130 or 143
        EXPECT_EQ(test::ReadBytes(m_file), kOld);
        EXPECT_EQ(m_folder.names(), std::vector<std::string>{"file.bmp"});
    }
}

} // namespace
} // namespace mosaiqua
