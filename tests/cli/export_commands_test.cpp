// The anim and data command bodies, called as the parser calls them.
#include "cli/export_commands.h"

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

template <typename Options, typename Command> Outcome Call(const Options& options, Command command) {
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

    DataOptions data;
    data.file = folder.file("mem.bin");
    data.skipHeader = false;
    data.start = 0x0800;
    data.end = 0x0802;
    data.format = RawDataFormat::Prg;
    data.output = folder.file("out.prg");
    Outcome run = Call(data, RunData);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "3 bytes from $0800 to $0802 saved ok.\nwritten: " + data.output + "\n");
    EXPECT_EQ(ReadBytes(data.output), (std::vector<std::uint8_t>{0x00, 0x08, 0x5A, 0x5B, 0x58}));

    data.end = 0x07FF;
    run = Call(data, RunData);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "The end address $07FF is before the start address $0800: nothing was saved.\n");

    AnimOptions anim;
    anim.file = data.file;
    anim.skipHeader = false;
    anim.address = 0x0800;
    anim.output = folder.file("a.gif");
    run = Call(anim, RunAnim);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "8 sprites saved ok as an animation.\nwritten: " + anim.output + "\n");
    EXPECT_EQ(ReadBytes(anim.output).at(4), '9'); // GIF89a

    anim.frames = 65;
    anim.file = folder.file("missing.bin");
    run = Call(anim, RunAnim);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "An animation has 2 to 64 frames, not 65: nothing was saved.\n");
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"a.gif", "mem.bin", "out.prg"}));
}

} // namespace
} // namespace mosaiqua::cli
