#include "cli/options.h"
#include "cli/scan_commands.h"

#include "../core/test_helpers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace mosaiqua::cli {
namespace {

const std::string kRom = std::string(MOSAIQUA_TEST_DATA_DIR) + "/chargen_openroms.rom";

CliOptions Options(const std::vector<std::string>& args) {
    const ParseResult parsed = ParseArguments(args);
    EXPECT_TRUE(std::holds_alternative<CliOptions>(parsed));
    return std::holds_alternative<CliOptions>(parsed) ? std::get<CliOptions>(parsed) : CliOptions{};
}

// The ROM opened from its first byte: its two character sets are blocks $0000 and $0800.
TEST(ScanCommand, ListsCandidatesBestFirstAsJsonOrText) {
    MOSAIQUA_SKIP_WITHOUT_DATA(kRom);
    std::ostringstream out, err;
    ASSERT_EQ(RunScan(Options({"scan", kRom, "--no-skip-header", "--json", "--top", "2"}), out, err), 0)
        << err.str();
    const std::string json = out.str();
    const std::regex shape(R"(\{"sprites": \[(\{"address": \d+, "score": [01]\.\d\d\}(, )?){1,2}\], )"
                           R"("charsets": \[\{"address": (0|2048), "score": [01]\.\d\d\}, )"
                           R"(\{"address": (0|2048), "score": [01]\.\d\d\}\]\}\n)");
    EXPECT_TRUE(std::regex_match(json, shape)) << json;

    std::ostringstream text;
    ASSERT_EQ(RunScan(Options({"scan", kRom, "--no-skip-header", "--top", "1"}), text, err), 0);
    EXPECT_NE(text.str().find("Character sets (address, score):\n  $0"), std::string::npos) << text.str();

    std::ostringstream none, why;
    EXPECT_EQ(RunScan(Options({"scan", "/nonexistent/x.c64", "--json", "--top", "5"}), none, why), 1);
    EXPECT_EQ(none.str(), "");
    EXPECT_EQ(why.str().rfind("Cannot open file \"/nonexistent/x.c64\".", 0), 0u) << why.str();
}

std::vector<std::uint8_t> Bytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::int32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::int32_t(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t(b[at + 3]) << 24);
}

TEST(OverviewCommand, WritesEachPageAtItsSize) {
    const auto folder = std::filesystem::temp_directory_path() / "mosaiqua-overview-test";
    std::filesystem::create_directories(folder);
    std::ostringstream out, err;
    // Any memory will do: the picture's size depends on the page alone.
    const std::string memory = (folder / "memory.bin").string();
    std::ofstream(memory, std::ios::binary) << std::string(4096, '\x3C');
    CliOptions o = Options({"overview", memory, "--no-skip-header", "-o", (folder / "s.bmp").string()});
    ASSERT_EQ(RunOverview(o, out, err), 0) << err.str();
    o.charSetPage = true;
    o.output = (folder / "c.bmp").string();
    ASSERT_EQ(RunOverview(o, out, err), 0) << err.str();
    const auto s = Bytes(folder / "s.bmp");
    const auto c = Bytes(folder / "c.bmp");
    ASSERT_EQ(s.size(), 54u + 32 * 24 * 3 * 32 * 21); // 24-bit rows of 2304 bytes, already 4-aligned
    ASSERT_EQ(c.size(), 54u + 1024 * 3 * 512);
    EXPECT_EQ((std::vector{Le32(s, 18), Le32(s, 22), Le32(c, 18), Le32(c, 22)}),
              (std::vector{32 * 24, 32 * 21, 8 * 128, 4 * 128}));

    o.output = (folder / "missing" / "x.bmp").string();
    std::ostringstream bad;
    EXPECT_EQ(RunOverview(o, out, bad), 1);
    EXPECT_FALSE(std::filesystem::exists(o.output));
    EXPECT_FALSE(bad.str().empty());
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace mosaiqua::cli
