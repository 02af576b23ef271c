#include "cli/screen_commands.h"

#include "cli/load.h"

#include "core/document.h"

#include <ostream>

namespace mosaiqua::cli {

int RunScreen(const CliOptions& o, std::ostream& out, std::ostream& err) {
    return RunGuarded(err, [&] {
        Document document;
        OpenDocument(document, o, ViewerUsed::None);
        if (!document.machineState()) {
            err << "mosaiqua-cli: " << o.file << " holds no machine state; only snapshots show a screen\n";
            return 1;
        }
        std::string path = o.output;
        if (path.empty())
            path = o.save.imageFormat == ImageFormat::Bmp ? "screen.bmp" : "screen.png";
        const SaveResult saved = document.saveScreenPicture(path, o.screen, o.scale);
        out << saved.status << "\nwritten: " << path << '\n';
        return 0;
    });
}

} // namespace mosaiqua::cli
