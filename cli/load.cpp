#include "cli/load.h"

#include "core/bmp.h"
#include "core/errors.h"

namespace mosaiqua::cli {

LoadedFile LoadCommandFile(MemoryImage& image, const std::string& file, bool raw, bool skipHeader) {
    std::string why;
    const auto loaded = LoadMemoryFile(image, file, LoadOptions{!raw, skipHeader}, &why);
    if (!loaded)
        throw UserError(UserError::Kind::CannotOpenFile, CannotOpenFileMessage(file, why));
    ProtectLoadedFile(file);
    return *loaded;
}

} // namespace mosaiqua::cli
