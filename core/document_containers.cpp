// Loading through disk, tape and cartridge images and the archives they come in.
#include "container.h"
#include "document.h"

namespace mosaiqua {

const LoadedFile& Document::loadPicked(const std::string& systemPath, const std::vector<std::string>& picks,
                                       std::optional<int> address, const std::string& shownName) {
    // A plain file keeps the ordinary loader, which names it as the caller shows it.
    const bool plain =
        picks.empty() && !address && (!m_loadOptions.detectFormat || !RecogniseContainerFile(systemPath));
    // A refused file throws before anything here changes.
    LoadedFile loaded = plain ? LoadMemoryFile(m_memory, systemPath, m_loadOptions, shownName)
                              : LoadFromContainer(m_memory, systemPath, picks, m_loadOptions, address);
    return adoptLoad(std::move(loaded), systemPath);
}

} // namespace mosaiqua
