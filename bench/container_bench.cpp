// Listing a D64 and loading a file from it, each beside reading the image file once (the least
// either can cost: both read the whole image).
#include "ratio_reporter.h"

#include "core/container.h"
#include "core/memory_image.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace mosaiqua;

namespace {

int Sectors(int track) {
    return track <= 17 ? 21 : track <= 24 ? 19 : track <= 30 ? 18 : 17;
}

std::size_t Offset(int track, int sector) {
    std::size_t blocks = 0;
    for (int t = 1; t < track; ++t)
        blocks += std::size_t(Sectors(t));
    return (blocks + std::size_t(sector)) * 256;
}

// A full directory (18 sectors, 144 files) whose first file, "MAIN", fills tracks 1-8 (168 blocks):
// the most a listing and a load walk on a real disk.
const std::string& DiskFile() {
    static std::string path;
    if (!path.empty())
        return path;
    std::vector<std::uint8_t> disk(174848, 0);
    for (int s = 1; s <= 18; ++s) {
        std::uint8_t* block = disk.data() + Offset(18, s);
        block[0] = s < 18 ? 18 : 0;
        block[1] = s < 18 ? std::uint8_t(s + 1) : 0xFF;
        for (int slot = 0; slot < 8; ++slot) {
            std::uint8_t* e = block + slot * 32;
            const bool isMain = s == 1 && slot == 0;
            e[2] = 0x82;
            e[3] = isMain ? 1 : 9;
            e[4] = 0;
            std::memset(e + 5, 0xA0, 16);
            const std::string name = isMain ? "MAIN" : "FILE" + std::to_string(s * 8 + slot);
            std::memcpy(e + 5, name.data(), name.size());
            e[0x1E] = isMain ? 168 : 1;
        }
    }
    int track = 1, sector = 0;
    for (int n = 0; n < 168; ++n) {
        std::uint8_t* block = disk.data() + Offset(track, sector);
        for (int i = 2; i < 256; ++i)
            block[i] = std::uint8_t(n + i);
        if (++sector == Sectors(track))
            ++track, sector = 0;
        block[0] = n < 167 ? std::uint8_t(track) : 0;
        block[1] = n < 167 ? std::uint8_t(sector) : 0xFF;
    }
    disk[Offset(1, 0) + 2] = 0x01, disk[Offset(1, 0) + 3] = 0x08;
    disk[Offset(9, 0) + 1] = 3, disk[Offset(9, 0) + 2] = 0x00, disk[Offset(9, 0) + 3] = 0xC0;
    const auto folder = std::filesystem::temp_directory_path() / "mosaiqua-bench";
    std::filesystem::create_directories(folder);
    path = (folder / "full.d64").string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(disk.data()), std::streamsize(disk.size()));
    return path;
}

void ListDiskImage(benchmark::State& state) {
    const std::string& path = DiskFile();
    for (auto _ : state) {
        const ContainerListing listing = ListContainer(path);
        if (listing.entries.size() != 144)
            state.SkipWithError("the directory did not list");
        benchmark::DoNotOptimize(listing.entries.data());
    }
}
BENCHMARK(ListDiskImage)->Unit(benchmark::kMicrosecond);

void LoadFromDiskImage(benchmark::State& state) {
    const std::string& path = DiskFile();
    MemoryImage image;
    for (auto _ : state) {
        const LoadedFile loaded = LoadFromContainer(image, path, {"MAIN"});
        if (loaded.ramEnd != 0x0801 + 168 * 254 - 3)
            state.SkipWithError("the file did not load");
        benchmark::DoNotOptimize(image.data());
    }
}
BENCHMARK(LoadFromDiskImage)->Unit(benchmark::kMicrosecond);

void ReadImageOnce(benchmark::State& state) {
    const std::string& path = DiskFile();
    for (auto _ : state) {
        std::ifstream in(path, std::ios::binary);
        std::vector<std::uint8_t> bytes(std::filesystem::file_size(path));
        in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(ReadImageOnce)->Name("ListDiskImage/limit")->Unit(benchmark::kMicrosecond);
BENCHMARK(ReadImageOnce)->Name("LoadFromDiskImage/limit")->Unit(benchmark::kMicrosecond);

} // namespace
