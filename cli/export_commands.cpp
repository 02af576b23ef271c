#include "cli/export_commands.h"

#include "cli/load.h"

#include "core/animation.h"
#include "core/document.h"
#include "core/raw_data.h"

#include <ostream>

namespace mosaiqua::cli {
int RunAnim(const CliOptions& o, std::ostream& out, std::ostream& err) {
    return ReportSave(
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
    return ReportSave(
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
