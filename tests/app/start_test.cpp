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

// No display unless `environment` names one: these answers must come before Qt would need one.
Result RunProgram(const std::string& arguments, const std::string& environment = "QT_QPA_PLATFORM=xcb") {
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + environment + " '" +
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

// Without a display the window cannot start: one plain line and exit status 1, never Qt's abort.
TEST(WindowCommandLine, NoDisplayEndsWithAMessageAndStatusOne) {
    const std::string noDisplay =
        "mosaiqua: cannot show the window: no display is set (DISPLAY and WAYLAND_DISPLAY are empty).\n";
    for (const char* environment : {"QT_QPA_PLATFORM=xcb", "XDG_RUNTIME_DIR=/nonexistent", "DISPLAY="}) {
        const Result r = RunProgram("snap.c64", environment);
        EXPECT_EQ(r.exitCode, 1) << environment;
        EXPECT_EQ(r.out.rfind(noDisplay, 0), 0u) << environment << ": " << r.out;
    }
    // A display that is named but cannot be opened: Qt's own failure, reported the same plain way.
    const Result r = RunProgram("", "QT_QPA_PLATFORM=xcb DISPLAY=/nonexistent/mosaiqua-no-display:0");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find("mosaiqua: cannot show the window: "), std::string::npos) << r.out;
}

} // namespace
