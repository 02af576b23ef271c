// The anim and data command bodies, called as the parser calls them.
#include "cli/export_commands.h"
#include "cli/options.h"

#include "../core/test_helpers.h"

#include <sstream>

namespace mosaiqua::cli {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

struct Outcome {
    int status;
    std::string out, err;
};

CliOptions Options(const std::vector<std::string>& args) {
    const ParseResult parsed = ParseArguments(args);
    EXPECT_TRUE(std::holds_alternative<CliOptions>(parsed));
    return std::holds_alternative<CliOptions>(parsed) ? std::get<CliOptions>(parsed) : CliOptions{};
}

template <typename Command> Outcome Call(const CliOptions& options, Command command) {
    std::ostringstream out, err;
    const int status = command(options, out, err);
    return {status, out.str(), err.str()};
}

TEST(ExportCommands, DataAndAnimWriteTheirFilesOrExplainWhyNot) {
    TempFolder folder;
    std::vector<std::uint8_t> memory(0x0A00);
    for (std::size_t i = 0; i < memory.size(); ++i)
        memory[i] = std::uint8_t(i ^ 0x5A);
    WriteBytes(folder.file("mem.bin"), memory);

    const std::string mem = folder.file("mem.bin");
    CliOptions data = Options({"data", mem, "--no-skip-header", "--start", "0x800", "--end", "0x802",
                               "--format", "prg", "-o", folder.file("out.prg")});
    Outcome run = Call(data, RunData);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "3 bytes from $0800 to $0802 saved ok.\nwritten: " + data.output + "\n");
    EXPECT_EQ(ReadBytes(data.output), (std::vector<std::uint8_t>{0x00, 0x08, 0x5A, 0x5B, 0x58}));

    data.end = 0x07FF;
    run = Call(data, RunData);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "The end address $07FF is before the start address $0800: nothing was saved.\n");

    CliOptions anim =
        Options({"anim", mem, "--no-skip-header", "--address", "0x800", "-o", folder.file("a.gif")});
    run = Call(anim, RunAnim);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "8 sprites saved ok as an animation.\nwritten: " + anim.output + "\n");
    EXPECT_EQ(ReadBytes(anim.output).at(4), '9'); // GIF89a

    anim = Options({"anim", folder.file("missing.bin"), "--address", "0x800", "--frames", "65"});
    run = Call(anim, RunAnim);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "An animation has 2 to 64 frames, not 65: nothing was saved.\n");
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"a.gif", "mem.bin", "out.prg"}));
}

} // namespace
} // namespace mosaiqua::cli
