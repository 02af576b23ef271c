#include "cli/load.h"

#include "core/container.h"
#include "core/errors.h"

#include <exception>
#include <new>
#include <optional>

namespace mosaiqua::cli {

std::optional<ColourSlots> GivenColours(const Document& document, const CliOptions& o) {
    const PaletteTable& table = document.palette().codeTable();
    if (!o.colours)
        return std::nullopt;
    ColourSlots colours = *o.colours;
    TColor* slots[] = {&colours.background, &colours.multicolour1, &colours.main, &colours.multicolour2};
    for (std::size_t i = 0; i < o.colourCodes.size(); ++i)
        if (o.colourCodes[i] >= 0)
            *slots[i] = table[std::size_t(o.colourCodes[i])];
    return colours;
}

void OpenDocument(Document& document, const CliOptions& o, ViewerUsed viewer) {
    document.setLoadOptions(o.load);
    document.setSaveSettings(o.save);
    if (o.paletteFile.empty())
        document.choosePalette(o.palette);
    else
        document.loadPaletteFile(o.paletteFile);
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
        document.loadPicked(path.file, path.picks, o.loadAddress);
    }
    const std::optional<ColourSlots> colours = GivenColours(document, o);
    if (viewer == ViewerUsed::Sprite) {
        document.setSpriteMulticolour(o.multicolour);
        if (colours)
            document.setSpriteColours(*colours);
    } else if (viewer == ViewerUsed::CharSet) {
        if (colours)
            document.setCharSetColours(*colours);
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

int ReportSave(const std::function<SaveResult()>& save, std::ostream& out, std::ostream& err) {
    return RunGuarded(err, [&] {
        const SaveResult saved = save();
        out << saved.status << "\nwritten: " << saved.written.front() << '\n';
        return 0;
    });
}

} // namespace mosaiqua::cli
