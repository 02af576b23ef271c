#include "cli/load.h"

#include "core/container.h"
#include "core/errors.h"

#include <exception>
#include <new>
#include <optional>

namespace mosaiqua::cli {

void OpenDocument(Document& document, const CliOptions& o, ViewerUsed viewer) {
    document.setLoadOptions(o.load);
    document.setSaveSettings(o.save);
    document.choosePalette(Palette::Builtin(o.palette));
    // The command line draws what its options say: a snapshot does not move the viewers.
    document.setFollowSnapshotOnOpen(false);
    if (!o.chargen.empty())
        document.setCharacterRomFile(o.chargen);
    // "vice:" and "vice:HOST:PORT" name a running VICE instead of a file; FILE:ENTRY picks inside a
    // disk, tape or cartridge image or an archive.
    if (const std::optional<MonitorAddress> vice = ParseMonitorAddress(o.file)) {
        document.capture(*vice, false);
    } else {
        const PickPath path = ParsePickPath(o.file);
        document.loadPicked(path.file, path.picks);
    }
    if (viewer == ViewerUsed::Sprite) {
        document.setSpriteMulticolour(o.multicolour);
        if (o.colours)
            document.setSpriteColours(*o.colours);
    } else if (viewer == ViewerUsed::CharSet) {
        if (o.colours)
            document.setCharSetColours(*o.colours);
        document.setCharSetMulticolour(o.multicolour);
    }
}

int RunGuarded(std::ostream& err, const std::function<int()>& body) {
    try {
        return body();
    } catch (const ContainerPickError& e) {
        // A pick the user must make or correct is a usage mistake, as a bad option is.
        err << e.what() << '\n';
        return 2;
    } catch (const UserError& e) {
        err << e.what() << '\n';
    } catch (const std::bad_alloc&) {
        err << "mosaiqua-cli: " << kOutOfMemoryMessage << '\n';
    } catch (const std::exception& e) {
        err << "mosaiqua-cli: " << e.what() << '\n';
    }
    return 1;
}

} // namespace mosaiqua::cli
