#pragma once

#include "core/colours.h"
#include "core/errors.h"
#include "core/raster.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace mosaiqua::test {

// A real file from elsewhere: they live outside the project (../shared/testdata), and a clone
// without them skips the tests that need them (MOSAIQUA_SKIP_WITHOUT_DATA).
inline std::string DataFile(const std::string& name) {
    return std::string(MOSAIQUA_TEST_DATA_DIR) + "/" + name;
}

#define MOSAIQUA_SKIP_WITHOUT_DATA(path)                                                                     \
    if (!std::filesystem::exists(path))                                                                      \
    GTEST_SKIP() << "test data not found: " << (path) << " (real files are read from ../shared/testdata)"

// A fresh folder under the system temp folder, removed with everything in it.
class TempFolder final {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "mosaiqua-core-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot create a temporary folder");
        m_path = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::string file(const std::string& name) const { return (m_path / name).string(); }
    // Sorted names of everything in the folder, so leftovers show up in comparisons.
    std::vector<std::string> names() const {
        std::vector<std::string> result;
        for (const auto& entry : std::filesystem::directory_iterator(m_path))
            result.push_back(entry.path().filename().string());
        std::sort(result.begin(), result.end());
        return result;
    }

private:
    std::filesystem::path m_path;
};

inline std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// Four distinct colours, none of them black, so an unpainted pixel never passes for a painted one.
inline constexpr ColourSlots kSlots{0x102030, 0x405060, 0x708090, 0xA0B0C0};

// One character per pixel: '.' background, '1' multicolour 1, '#' main, '3' multicolour 2, '?' other.
inline std::vector<std::string> Picture(const Raster& raster, int left, int top, int width, int height,
                                        const ColourSlots& slots = kSlots) {
    std::vector<std::string> rows;
    for (int y = top; y < top + height; ++y) {
        std::string row;
        for (int x = left; x < left + width; ++x) {
            const TColor c = raster.pixel(x, y);
            row += c == slots.background     ? '.'
                   : c == slots.multicolour1 ? '1'
                   : c == slots.main         ? '#'
                   : c == slots.multicolour2 ? '3'
                                             : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

// Pixel (x, y) of a Tagged raster: every copied pixel names its source.
inline TColor Tag(int x, int y) {
    return MakeColor(std::uint8_t(x + 1), std::uint8_t(y + 1), 0x77);
}
inline Raster Tagged(int width, int height) {
    Raster raster(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            raster.setPixel(x, y, Tag(x, y));
    return raster;
}

// Runs f and checks that it throws a UserError of the kind, with the message when one is given.
template <typename F> void ExpectUserError(F f, UserError::Kind kind, const std::string& message = {}) {
    try {
        f();
        ADD_FAILURE() << "no UserError thrown";
    } catch (const UserError& e) {
        EXPECT_EQ(int(e.kind()), int(kind)) << e.what();
        if (message.empty())
            EXPECT_STRNE(e.what(), "");
        else
            EXPECT_EQ(std::string(e.what()), message);
    }
}

// Counts the pixels of a raster that differ from expected(x, y).
template <typename F> int Mismatches(const Raster& raster, F expected) {
    int wrong = 0;
    for (int y = 0; y < raster.height(); ++y)
        for (int x = 0; x < raster.width(); ++x)
            wrong += raster.pixel(x, y) != expected(x, y);
    return wrong;
}

} // namespace mosaiqua::test
