#include "cli/screen_commands.h"

#include "cli/load.h"

#include "core/document.h"
#include "core/file_paths.h"

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

namespace {

BitmapFileKind KindFor(const CliOptions& o) {
    if (o.bitmap.kind)
        return *o.bitmap.kind;
    const std::string extension = LowerExtension(o.output);
    if (extension == ".kla" || extension == ".koa")
        return BitmapFileKind::Koala;
    if (extension == ".art")
        return BitmapFileKind::ArtStudio;
    return BitmapFileKind::Picture;
}

std::string DefaultBitmapName(const CliOptions& o, BitmapFileKind kind) {
    switch (kind) {
    case BitmapFileKind::Koala:
        return "bitmap.kla";
    case BitmapFileKind::ArtStudio:
        return "bitmap.art";
    case BitmapFileKind::Picture:
        break;
    }
    return o.save.imageFormat == ImageFormat::Bmp ? "bitmap.bmp" : "bitmap.png";
}

} // namespace

int RunBitmap(const CliOptions& o, std::ostream& out, std::ostream& err) {
    return RunGuarded(err, [&] {
        Document document;
        OpenDocument(document, o, ViewerUsed::None);
        const BitmapOptions& given = o.bitmap;
        std::optional<BitmapView> view = document.ownBitmap();
        if (!view) {
            if (!given.address || !given.screen) {
                err << "mosaiqua-cli: " << o.file
                    << " shows no bitmap of its own (a snapshot in a bitmap mode, a Koala or Art Studio "
                       "picture): give --address and --screen\n";
                return 2;
            }
            view = BitmapView{};
        }
        if (given.address)
            view->bitmap = *given.address;
        if (given.screen)
            view->screen = *given.screen;
        if (given.colourRamGiven)
            view->colourRamAddress = given.colourRam;
        if (given.multicolour)
            view->multicolour = *given.multicolour;
        if (given.background)
            view->background = *given.background;
        document.takeBitmap(*view);
        const BitmapFileKind kind = KindFor(o);
        const std::string path = o.output.empty() ? DefaultBitmapName(o, kind) : o.output;
        const SaveResult saved = document.saveBitmap(kind, path);
        out << saved.status << "\nwritten: " << path << '\n';
        return 0;
    });
}

} // namespace mosaiqua::cli
