#include "cli/export_commands.h"

#include "cli/load.h"

#include "core/errors.h"
#include "core/memory_image.h"

#include <exception>
#include <functional>
#include <ostream>

namespace mosaiqua::cli {
namespace {

// Runs a command that returns {status, path} and reports it the way every CLI command does.
int report(const std::function<std::pair<std::string, std::string>()>& run, std::ostream& out,
           std::ostream& err) {
    return RunGuarded(err, [&] {
        const auto [status, path] = run();
        out << status << "\nwritten: " << path << '\n';
        return 0;
    });
}

} // namespace

int RunAnim(const AnimOptions& o, std::ostream& out, std::ostream& err) {
    return report(
        [&] {
            // Refused before the file is read, as the window's dialog refuses them.
            CheckAnimationSettings(o.frames, o.delayMs);
            MemoryImage image;
            LoadCommandFile(image, o.file, o.raw, o.skipHeader);
            image.SpriteAddress = o.address;
            AnimationSave save;
            save.firstAddress = o.address;
            save.frames = o.frames;
            save.delayMs = o.delayMs;
            save.multicolour = o.multicolour;
            save.colours = o.colours.value_or(kStartupColours);
            save.transparentBackground = o.transparent;
            const std::string path = o.output.empty() ? PresetAnimationName(o.address) : o.output;
            return std::pair{SaveSpriteAnimation(image, save, o.sizes, path), path};
        },
        out, err);
}

int RunData(const DataOptions& o, std::ostream& out, std::ostream& err) {
    return report(
        [&] {
            CheckRawDataRange(o.start, o.end);
            MemoryImage image;
            LoadCommandFile(image, o.file, o.raw, o.skipHeader);
            const std::string path = o.output.empty() ? PresetRawDataName(o.start, o.format) : o.output;
            return std::pair{WriteRawDataFile(image, o.start, o.end, o.format, o.layout, path), path};
        },
        out, err);
}

} // namespace mosaiqua::cli
