// Choosing entries of a listed container by the user's picks.
#include "container_pick.h"

#include "file_paths.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace mosaiqua {

namespace {

std::string Lower(std::string text) {
    for (char& c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string Candidates(const ContainerListing& l, bool loadableOnly) {
    std::string text;
    int shown = 0, left = 0;
    const auto add = [&](const std::string& item) {
        if (shown == 40) {
            ++left;
            return;
        }
        text += (shown++ ? ", " : "") + item;
    };
    if (l.format == ContainerFormat::Crt) {
        std::vector<int> banks;
        for (const ContainerEntry& e : l.entries)
            if (std::find(banks.begin(), banks.end(), e.bank) == banks.end())
                banks.push_back(e.bank);
        for (int bank : banks)
            add("bank" + std::to_string(bank));
    } else {
        for (const ContainerEntry& e : l.entries)
            if (e.loadable || !loadableOnly)
                add("#" + std::to_string(e.index) + " " + Quoted(e.name) +
                    (e.type.empty() || e.loadable ? "" : " (" + e.type + ")"));
    }
    if (left)
        text += ", and " + std::to_string(left) + " more";
    return text.empty() ? "nothing" : text;
}

std::optional<int> Number(const std::string& text) {
    if (text.empty() || text.size() > 9 || !std::all_of(text.begin(), text.end(), [](char c) {
            return std::isdigit(static_cast<unsigned char>(c));
        }))
        return std::nullopt;
    return std::stoi(text);
}

} // namespace

namespace detail {

void PickFailure(const std::string& message, const Picking& picking) {
    throw ContainerPickError(message, picking.taken);
}

// The entries (indexes into the listing) a pick names; several only for a CRT bank.
std::vector<std::size_t> SelectEntries(const ContainerListing& l, const std::vector<std::string>& picks,
                                       std::size_t& next, Picking& picking) {
    const auto& entries = l.entries;
    const bool crt = l.format == ContainerFormat::Crt;
    const auto bankOf = [&](int bank) {
        std::vector<std::size_t> chosen;
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (entries[i].bank == bank)
                chosen.push_back(i);
        return chosen;
    };
    if (next >= picks.size()) {
        std::vector<std::size_t> loadable;
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (entries[i].loadable &&
                (!crt || loadable.empty() || entries[i].bank != entries[loadable[0]].bank))
                loadable.push_back(i);
        if (loadable.size() == 1) {
            picking.taken.push_back(crt ? "bank" + std::to_string(entries[loadable[0]].bank)
                                        : "#" + std::to_string(entries[loadable[0]].index));
            return crt ? bankOf(entries[loadable[0]].bank) : loadable;
        }
        if (loadable.empty())
            PickFailure(l.label + " holds no " + (crt ? "bank" : "file") + " to load.", picking);
        std::string syntax = picking.file;
        for (const std::string& p : picking.taken)
            syntax += ":" + p;
        PickFailure(l.label + " holds more than one " + (crt ? "bank" : "file") + " to load; pick one as " +
                        syntax + (crt ? ":bankN" : ":ENTRY (a name as listed, or #N)") + ": " +
                        Candidates(l, true) + ".",
                    picking);
    }

    // A name may itself hold ':': the longest run of picks that is a name exactly wins.
    for (std::size_t count = picks.size() - next; count > 1; --count) {
        std::string joined = picks[next];
        for (std::size_t k = 1; k < count; ++k)
            joined += ":" + picks[next + k];
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (!crt && entries[i].name == joined) {
                picking.taken.push_back(joined);
                next += count;
                return {i};
            }
    }
    const std::string pick = picks[next++];
    picking.taken.push_back(pick);
    const auto missing = [&] {
        PickFailure(l.label + " holds no entry " + Quoted(pick) + "; it holds " + Candidates(l, false) + ".",
                    picking);
    };
    if (pick.size() > 1 && pick[0] == '#') {
        const auto n = Number(pick.substr(1));
        if (!n || *n < 1 || std::size_t(*n) > entries.size())
            missing();
        return {std::size_t(*n - 1)};
    }
    if (crt) {
        const std::string lower = Lower(pick);
        const auto n = lower.starts_with("bank") ? Number(lower.substr(4)) : std::nullopt;
        const auto chosen = n ? bankOf(*n) : std::vector<std::size_t>{};
        if (chosen.empty())
            missing();
        return chosen;
    }
    // The exact name first, then in any case, then (in archives) a member's name without its folders.
    const auto baseName = [](const std::string& name) { return name.substr(name.find_last_of('/') + 1); };
    const bool archive = l.format == ContainerFormat::Zip || l.format == ContainerFormat::Gz;
    for (int pass = 0; pass < (archive ? 3 : 2); ++pass) {
        std::vector<std::size_t> matches;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const std::string& name = entries[i].name;
            if ((pass == 0 && name == pick) || (pass == 1 && Lower(name) == Lower(pick)) ||
                (pass == 2 && Lower(baseName(name)) == Lower(pick)))
                matches.push_back(i);
        }
        if (matches.size() == 1)
            return matches;
        if (matches.size() > 1) {
            std::string list;
            for (std::size_t i : matches)
                list += (list.empty() ? "" : ", ") + std::string("#") + std::to_string(entries[i].index) +
                        " " + Quoted(entries[i].name);
            PickFailure(l.label + " holds more than one entry " + Quoted(pick) + ": " + list +
                            "; pick one by its number (#N).",
                        picking);
        }
    }
    missing();
    return {};
}

} // namespace detail

int ContainerListing::loadableCount() const {
    std::vector<int> banks;
    int count = 0;
    for (const ContainerEntry& e : entries) {
        if (!e.loadable)
            continue;
        if (format == ContainerFormat::Crt) {
            if (std::find(banks.begin(), banks.end(), e.bank) != banks.end())
                continue;
            banks.push_back(e.bank);
        }
        ++count;
    }
    return count;
}

PickPath ParsePickPath(const std::string& text) {
    std::error_code ec;
    for (std::size_t end = text.size(); end != std::string::npos && end > 0; end = text.rfind(':', end - 1)) {
        const std::string prefix = text.substr(0, end);
        if (end < text.size() && text[end] != ':')
            continue;
        if (!std::filesystem::is_regular_file(PathFromUtf8(prefix), ec))
            continue;
        PickPath picked{prefix, {}};
        for (std::size_t at = end; at < text.size();) {
            const std::size_t stop = std::min(text.find(':', at + 1), text.size());
            if (stop > at + 1)
                picked.picks.push_back(text.substr(at + 1, stop - at - 1));
            at = stop;
        }
        return picked;
    }
    return {text, {}};
}

} // namespace mosaiqua
