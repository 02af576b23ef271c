#include "cli/container_commands.h"

#include "cli/load.h"

#include "core/container.h"

#include <ostream>

namespace mosaiqua::cli {

int RunList(const CliOptions& o, std::ostream& out, std::ostream& err) {
    return RunGuarded(err, [&] {
        const PickPath path = ParsePickPath(o.file);
        const ContainerListing listing = ListContainer(path.file, path.picks);
        out << (o.json ? ListingJson(listing) + "\n" : ListingText(listing));
        return 0;
    });
}

} // namespace mosaiqua::cli
