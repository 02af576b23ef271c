#pragma once

// How container.cpp picks entries; not for other callers.
#include "container.h"

#include <cstddef>
#include <string>
#include <vector>

namespace mosaiqua::detail {

struct Picking {
    std::string file;               // the label of the file, for the suggested syntax
    std::vector<std::string> taken; // picks that led to the current container
};

[[noreturn]] void PickFailure(const std::string& message, const Picking& picking);

// The entries (indexes into the listing) the pick at `next` names, advancing `next` past it (or
// past several, for a name holding ':'); with no pick left, the one loadable entry or bank.
// Throws ContainerPickError listing the candidates.
std::vector<std::size_t> SelectEntries(const ContainerListing& listing, const std::vector<std::string>& picks,
                                       std::size_t& next, Picking& picking);

} // namespace mosaiqua::detail
