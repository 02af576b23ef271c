#include "cli/commands.h"
#include "cli/options.h"

#include <iostream>
#include <string>
#include <variant>
#include <vector>

int main(int argc, char** argv) {
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
