#include "cli/capture_commands.h"

#include "cli/load.h"

#include "core/document.h"

#include <ostream>

namespace mosaiqua::cli {

int RunCapture(const CliOptions& o, std::ostream& out, std::ostream& err) {
    return RunGuarded(err, [&] {
        Document document;
        OpenDocument(document, o, ViewerUsed::None);
        const SaveResult saved = document.saveViceSnapshot(o.output);
        out << document.loadedFile().description << '\n'
            << saved.status << "\nwritten: " << saved.written.front() << '\n';
        return 0;
    });
}

} // namespace mosaiqua::cli
