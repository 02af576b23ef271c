#include "cli/export_commands.h"

#include "cli/load.h"

#include "core/animation.h"
#include "core/document.h"
#include "core/raw_data.h"

#include <ostream>

namespace mosaiqua::cli {
namespace {

// Runs a save and reports it the way every CLI command does.
int Report(const std::function<SaveResult()>& save, std::ostream& out, std::ostream& err) {
    return RunGuarded(err, [&] {
        const SaveResult saved = save();
        out << saved.status << "\nwritten: " << saved.written.front() << '\n';
        return 0;
    });
}

} // namespace

int RunAnim(const CliOptions& o, std::ostream& out, std::ostream& err) {
    return Report(
        [&] {
            // Refused before the file is read, as the window's dialog refuses them.
            CheckAnimationSettings(o.frames, o.delayMs);
            Document document;
            OpenDocument(document, o, ViewerUsed::Sprite);
            document.setSpriteAddress(o.address);
            return document.saveAnimation(o.frames, o.delayMs,
                                          o.output.empty() ? PresetAnimationName(o.address) : o.output);
        },
        out, err);
}

int RunData(const CliOptions& o, std::ostream& out, std::ostream& err) {
    return Report(
        [&] {
            CheckRawDataRange(o.start, o.end);
            Document document;
            OpenDocument(document, o, ViewerUsed::None);
            return document.saveRawData({o.start, o.end}, o.dataFormat, o.layout, o.basic,
                                        o.output.empty() ? PresetRawDataName(o.start, o.dataFormat)
                                                         : o.output);
        },
        out, err);
}

} // namespace mosaiqua::cli
