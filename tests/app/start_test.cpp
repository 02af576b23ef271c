// The window's own command line, answered before any window (or display) is needed.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace {

struct Result {
    int exitCode;
    std::string out;
};

Result RunProgram(const std::string& arguments) {
    // No display: these answers must come before Qt would need one.
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb '" +
                                std::string(MOSAIQUA_APP_PATH) + "' " + arguments + " 2>&1";
    Result result{-1, {}};
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return result;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe))
        result.out += buffer;
    const int status = ::pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

TEST(WindowCommandLine, HelpVersionAndUsageErrors) {
    const struct {
        const char* arguments;
        int exitCode;
        const char* start;
    } cases[] = {
        {"--help", 0, "Usage: mosaiqua [options] [FILE]\n"},
        {"-h", 0, "Usage: mosaiqua [options] [FILE]\n"},
        {"--version", 0, "Mosaiqua 1.05\nMIT licence\n"},
        {"--bogus", 2, "mosaiqua: unknown option '--bogus'\nTry 'mosaiqua --help'.\n"},
        {"snap.c64 --bogus=1", 2, "mosaiqua: unknown option '--bogus=1'\n"},
    };
    for (const auto& c : cases) {
        const Result r = RunProgram(c.arguments);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.arguments;
        EXPECT_EQ(r.out.rfind(c.start, 0), 0u) << c.arguments << ": " << r.out;
    }
}

} // namespace
