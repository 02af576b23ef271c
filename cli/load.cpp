#include "cli/load.h"

#include "core/bmp.h"
#include "core/errors.h"

#include <exception>
#include <new>

namespace mosaiqua::cli {

LoadedFile LoadCommandFile(MemoryImage& image, const std::string& file, bool raw, bool skipHeader) {
    std::string why;
    const auto loaded = LoadMemoryFile(image, file, LoadOptions{!raw, skipHeader}, &why);
    if (!loaded)
        throw UserError(UserError::Kind::CannotOpenFile, CannotOpenFileMessage(file, why));
    ProtectLoadedFile(file);
    return *loaded;
}

int RunGuarded(std::ostream& err, const std::function<int()>& body) {
    try {
        return body();
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
