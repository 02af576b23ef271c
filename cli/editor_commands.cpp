#include "cli/editor_commands.h"

#include "cli/load.h"

#include "core/charpad.h"
#include "core/document.h"
#include "core/export.h"
#include "core/spritepad.h"

#include <ostream>

namespace mosaiqua::cli {
int RunSpritePad(const CliOptions& o, std::ostream& out, std::ostream& err) {
    return ReportSave(
        [&] {
            // Refused before the file is read, as for range and sheet.
            CheckRangeCount(o.start, o.end, SpriteCount(o.start, o.end));
            Document document;
            OpenDocument(document, o, ViewerUsed::Sprite);
            document.setSpriteAddress(o.start);
            return document.saveSpritePad(o.start, o.end,
                                          o.output.empty() ? PresetSpritePadName(o.start) : o.output);
        },
        out, err);
}

int RunCharPad(const CliOptions& o, std::ostream& out, std::ostream& err) {
    return ReportSave(
        [&] {
            Document document;
            OpenDocument(document, o, ViewerUsed::None);
            const auto screen = o.addressGiven ? std::nullopt : document.screenCharSet();
            if (screen)
                document.takeCharSet(*screen);
            else
                document.setCharSetAddress(o.address);
            // What the command line gives wins over the snapshot's colours and mode.
            if (const auto colours = GivenColours(document, o))
                document.setCharSetColours(*colours);
            if (!screen || o.multicolour)
                document.setCharSetMulticolour(o.multicolour);
            return document.saveCharPad(o.output.empty() ? PresetCharPadName(document.charSet().address)
                                                         : o.output);
        },
        out, err);
}

} // namespace mosaiqua::cli
