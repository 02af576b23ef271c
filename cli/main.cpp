#include "cli/commands.h"
#include "cli/options.h"

#include "core/file_writer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <variant>
#include <vector>

namespace {

int Run(int argc, char** argv) {
    using namespace mosaiqua::cli;
    const ParseResult parsed = ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (const auto* usage = std::get_if<UsageError>(&parsed)) {
        std::cerr << "mosaiqua-cli: " << usage->message << "\nTry 'mosaiqua-cli --help'.\n";
        return 2;
    }
    const auto& options = std::get<CliOptions>(parsed);
    switch (options.action) {
    case Action::Help:
        std::cout << options.helpText;
        return 0;
    case Action::Version:
        std::cout << VersionText() << '\n';
        return 0;
    case Action::Run:
        break;
    }
    return RunCommand(options, std::cout, std::cerr);
}

// What was printed must have arrived: a full disk or a closed standard output is a failure.
int CheckedStandardOutput(int status) {
    errno = 0;
    std::cout.flush();
    const bool failed = std::fflush(stdout) != 0 || std::ferror(stdout) || !std::cout;
    if (!failed)
        return status;
    const int error = errno != 0 ? errno : EIO;
    std::cerr << "mosaiqua-cli: cannot write to standard output: " << std::strerror(error) << '\n';
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    // An interrupted save leaves no temporary behind.
    mosaiqua::InstallInterruptCleanup();
    return CheckedStandardOutput(Run(argc, argv));
}
