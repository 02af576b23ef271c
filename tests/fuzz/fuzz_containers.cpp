// Any bytes through each container parser, chosen by the first byte: a disk image (the bytes laid
// over the directory track of an otherwise empty D64, D71 or D81, so small inputs reach the
// directory and the chains), a T64, a CRT, a gzip stream or a zip archive.
#include "core/archive.h"
#include "core/cartridge.h"
#include "core/disk_image.h"
#include "core/errors.h"
#include "core/tape_image.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace mosaiqua;

namespace {

void Disk(std::uint64_t size, std::size_t headerOffset, const std::uint8_t* data, std::size_t count) {
    std::vector<std::uint8_t> image(size, 0);
    std::memcpy(image.data() + headerOffset, data, std::min(count, image.size() - headerOffset));
    const auto geometry = DiskGeometry::ForSize(size);
    if (!geometry)
        std::abort();
    const DiskDirectory directory = ReadDiskDirectory(image, *geometry);
    for (const DiskEntry& entry : directory.entries) {
        try {
            const auto bytes = ReadDiskFile(image, *geometry, entry.track, entry.sector, "a file");
            if (bytes.size() > std::size_t(geometry->totalBlocks()) * 254)
                std::abort(); // longer than the disk: the chain walk failed to stop
        } catch (const UserError&) {
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const std::uint8_t* rest = data + 1;
    const std::size_t count = size - 1;
    const std::span<const std::uint8_t> bytes(rest, count);
    try {
        switch (data[0] % 7) {
        case 0:
            Disk(174848, 0x16500, rest, count);
            break;
        case 1:
            Disk(349696, 0x16500, rest, count);
            break;
        case 2:
            Disk(819200, 39 * 40 * 256, rest, count);
            break;
        case 3: {
            const TapeDirectory tape = ReadTapeDirectory(bytes);
            for (const TapeEntry& entry : tape.entries) {
                if (entry.start + int(entry.size) > 0x10000)
                    std::abort();
                try {
                    (void)TapeFileBytes(bytes, entry);
                } catch (const UserError&) {
                }
            }
            break;
        }
        case 4: {
            const Cartridge cart = ReadCartridge(bytes);
            for (const ChipPacket& chip : cart.chips)
                if (chip.dataOffset + std::size_t(chip.size) > count ||
                    chip.loadAddress + chip.size > 0x10000)
                    std::abort();
            break;
        }
        case 5:
            if (Gunzip(bytes).size() > kMaxArchiveMemberBytes)
                std::abort();
            break;
        case 6: {
            const ZipArchive zip = ZipArchive::OpenBytes({rest, rest + count});
            for (std::size_t i = 0; i < zip.members().size(); ++i) {
                try {
                    if (zip.read(i).size() > kMaxArchiveMemberBytes)
                        std::abort();
                } catch (const UserError&) {
                }
            }
            break;
        }
        }
    } catch (const UserError& e) {
        if (std::strlen(e.what()) == 0)
            std::abort(); // every refusal says why
    }
    return 0;
}
