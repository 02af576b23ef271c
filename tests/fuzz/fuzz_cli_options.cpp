// Arbitrary argument lists: NUL-separated words become argv. Parsing must end in options or a
// usage message, and accepted options must keep addresses within memory.
#include "cli/options.h"

#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> args;
    std::string word;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            args.push_back(word);
            word.clear();
        } else {
            word.push_back(char(data[i]));
        }
    }
    if (!word.empty())
        args.push_back(word);
    const auto result = mosaiqua::cli::ParseArguments(args);
    if (const auto* options = std::get_if<mosaiqua::cli::CliOptions>(&result)) {
        for (std::int32_t a : {options->address, options->start, options->end})
            if (a < 0 || a > 0xFFFF)
                std::abort();
    } else if (std::get<mosaiqua::cli::UsageError>(result).message.empty()) {
        std::abort();
    }
    return 0;
}
