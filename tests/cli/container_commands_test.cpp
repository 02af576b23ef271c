// `list` and FILE:ENTRY, run through the built program on a disk image made here.
#include "../core/bmp_reader.h"
#include "../core/container_fixture.h"
#include "../core/known_pictures.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Result {
    int exitCode;
    std::string out, err;
};

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Result RunCli(const fs::path& folder, const std::vector<std::string>& args) {
    std::string command = "cd '" + folder.string() + "' && '" MOSAIQUA_CLI_PATH "'";
    for (const auto& a : args)
        command += " '" + a + "'";
    command += " >out.txt 2>err.txt";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(folder / "out.txt"),
            Slurp(folder / "err.txt")};
}

// The balloon's 63 bytes: eight pixels to a byte, high bit first.
std::vector<std::uint8_t> BalloonBytes() {
    std::vector<std::uint8_t> bytes;
    for (const std::string& row : mosaiqua::test::kBalloon)
        for (std::size_t column = 0; column < 24; column += 8) {
            int byte = 0;
            for (std::size_t bit = 0; bit < 8; ++bit)
                byte = byte << 1 | (row[column + bit] == '#');
            bytes.push_back(std::uint8_t(byte));
        }
    return bytes;
}

} // namespace

TEST(CliContainers, ListsADiskAndLoadsOnlyWhatIsPicked) {
    const fs::path folder =
        fs::temp_directory_path() / ("mosaiqua-cli-containers-" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    mosaiqua::test::DiskBuilder disk(35);
    std::vector<std::uint8_t> sprite{0x00, 0x20}; // loads at $2000
    const auto balloon = BalloonBytes();
    sprite.insert(sprite.end(), balloon.begin(), balloon.end());
    disk.link(18, 1, 0, 0xFF);
    disk.entry(18, 1, 0, 0x82, 17, 0, "SPRITE", 1);
    disk.entry(18, 1, 1, 0x81, 17, 1, "NOTES", 1);
    disk.entry(18, 1, 2, 0xC2, 17, 2, "NOTES", 1); // locked
    disk.chain({{17, 0}}, sprite);
    disk.chain({{17, 1}}, {1, 2, 3});
    disk.chain({{17, 2}}, {0x00, 0x30, 9});
    {
        std::ofstream out(folder / "disk.d64", std::ios::binary);
        out.write(reinterpret_cast<const char*>(disk.bytes().data()), std::streamsize(disk.bytes().size()));
    }

    Result r = RunCli(folder, {"list", "disk.d64", "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // The BAM here marks no block free.
    EXPECT_EQ(
        r.out,
        "{\"format\": \"d64\", \"name\": \"EMPTY\", \"id\": \"01 2A\", \"blocks_free\": 0, \"entries\": ["
        "{\"index\": 1, \"name\": \"SPRITE\", \"type\": \"prg\", \"blocks\": 1, \"load_address\": 8192, "
        "\"locked\": false, \"closed\": true}, "
        "{\"index\": 2, \"name\": \"NOTES\", \"type\": \"seq\", \"blocks\": 1, \"load_address\": null, "
        "\"locked\": false, \"closed\": true}, "
        "{\"index\": 3, \"name\": \"NOTES\", \"type\": \"prg\", \"blocks\": 1, \"load_address\": 12288, "
        "\"locked\": true, \"closed\": true}]}\n");

    // No pick, a missing name and an ambiguous one: exit 2 with the candidates.
    // An ambiguous name lists the entries it could mean.
    const std::vector<std::pair<std::string, std::string>> wrong{{"disk.d64", "#1 \"SPRITE\""},
                                                                 {"disk.d64:GONE", "#1 \"SPRITE\""},
                                                                 {"disk.d64:NOTES", "#3 \"NOTES\""}};
    for (const auto& [file, candidate] : wrong) {
        r = RunCli(folder, {"sprite", file, "--address", "$2000"});
        EXPECT_EQ(r.exitCode, 2) << file;
        EXPECT_NE(r.err.find(candidate), std::string::npos) << file << ": " << r.err;
        EXPECT_FALSE(fs::exists(folder / "spr2000.BMP")) << file;
    }

    for (const char* file : {"disk.d64:SPRITE", "disk.d64:#1"}) {
        r = RunCli(folder, {"sprite", file, "--address", "$2000"});
        ASSERT_EQ(r.exitCode, 0) << file << ": " << r.err;
        mosaiqua::test::BmpPicture bmp;
        const std::string bytes = Slurp(folder / "spr2000.BMP");
        ASSERT_EQ(mosaiqua::test::ParseBmp(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), bmp), "");
        for (int y = 0; y < 21; ++y)
            for (int x = 0; x < 24; ++x)
                ASSERT_EQ(bmp.at(x, y), mosaiqua::test::kBalloon[y][x] == '#' ? 0x6C6C6Cu : 0u)
                    << x << "," << y;
        fs::remove(folder / "spr2000.BMP");
    }

    // A SEQ file has no load address of its own: it goes where the user says.
    r = RunCli(folder, {"data", "disk.d64:#2", "--load-address", "$1000", "--start", "$1000", "--end",
                        "$1002", "--format", "bin", "-o", "seq.bin"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Slurp(folder / "seq.bin"), std::string("\x01\x02\x03"));
    fs::remove_all(folder);
}
