// Loading a 1.2 MB VICE snapshot (the size of one carrying cartridge flash and four drives) beside
// today's freeze-file loader reading a file of the same size; the target is 1.0x. The module headers
// lie in three places (the head, past the first flash image, the small modules at the end), so the
// snapshot costs one read more than the freeze file's two.
#include "ratio_reporter.h"

#include "core/file_formats.h"
#include "core/memory_image.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace mosaiqua;

namespace {

void AddModule(std::vector<std::uint8_t>& file, const char* name, std::size_t bodySize, std::uint8_t fill) {
    std::vector<std::uint8_t> header(22, 0);
    std::memcpy(header.data(), name, std::strlen(name));
    const auto size = std::uint32_t(bodySize + 22);
    for (int i = 0; i < 4; ++i)
        header[std::size_t(18 + i)] = std::uint8_t(size >> (8 * i));
    file.insert(file.end(), header.begin(), header.end());
    file.resize(file.size() + bodySize, fill);
}

std::vector<std::uint8_t> BigSnapshot() {
    std::vector<std::uint8_t> file(58, 0);
    std::memcpy(file.data(), "VICE Snapshot File\x1A", 19);
    file[19] = 2;
    std::memcpy(file.data() + 21, "C64", 3);
    std::memcpy(file.data() + 37, "VICE Version\x1A", 13);
    file[50] = 3, file[51] = 6;
    AddModule(file, "MAINCPU", 103, 0);
    AddModule(file, "C64MEM", 4 + 0x10000 + 6, 0x42);
    AddModule(file, "C64CART", 40, 0);
    AddModule(file, "FLASH040EF", 530000, 0xFF);
    AddModule(file, "FLASH040EF", 530000, 0xFF);
    AddModule(file, "CIA1", 40, 0);
    AddModule(file, "CIA2", 40, 0x3F);
    for (const char* drive : {"DRIVE8", "DRIVE9", "DRIVE10", "DRIVE11", "DRIVECPU0", "VIA2D0"})
        AddModule(file, drive, 4000, 0);
    AddModule(file, "VIC-II", 1229, 0);
    for (const char* name : {"GLUE", "C64MEMHACKS", "TAPEPORT", "DATASETTE", "KEYBOARD", "JOYPORT0"})
        AddModule(file, name, 30, 0);
    return file;
}

const std::string& FileNamed(const char* name, bool snapshot) {
    static std::string paths[2];
    std::string& path = paths[snapshot ? 0 : 1];
    if (path.empty()) {
        const auto folder = std::filesystem::temp_directory_path() / "mosaiqua-bench";
        std::filesystem::create_directories(folder);
        path = (folder / name).string();
        std::vector<std::uint8_t> bytes = BigSnapshot();
        if (!snapshot)
            bytes[0] = 'X'; // same size, not recognised
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    return path;
}

void LoadSnapshot(benchmark::State& state) {
    const std::string& path = FileNamed("big.vsf", true);
    MemoryImage image;
    for (auto _ : state) {
        const LoadedFile loaded = LoadMemoryFile(image, path, LoadOptions{});
        if (!loaded.machineState || image.byteAt(0xBEEF) != 0x42)
            state.SkipWithError("the snapshot did not load");
        benchmark::DoNotOptimize(image.data());
    }
    state.counters["file_bytes"] = double(std::filesystem::file_size(path));
}
BENCHMARK(LoadSnapshot)->Unit(benchmark::kMicrosecond);

void LoadFreezeFileSameSize(benchmark::State& state) {
    const std::string& path = FileNamed("big.c64", false);
    MemoryImage image;
    for (auto _ : state) {
        if (!ReadFreezeFile(image, path, true, nullptr))
            state.SkipWithError("the file did not load");
        benchmark::DoNotOptimize(image.data());
    }
}
BENCHMARK(LoadFreezeFileSameSize)->Name("LoadSnapshot/limit")->Unit(benchmark::kMicrosecond);

} // namespace
