// The two ways `list` prints a container: JSON, and the directory as the C64 lists it.
#include "container.h"

#include "json_writer.h"

#include <cstdio>

namespace mosaiqua {

namespace {

std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return text;
}

std::string Format(const char* pattern, auto... values) {
    char line[160];
    std::snprintf(line, sizeof line, pattern, values...);
    return line;
}

// `3    "NAME"            PRG<`: the quote at column 5, the name padded to 16, '*' for an unclosed file.
std::string DirectoryLine(int blocks, const std::string& name, const std::string& type, bool closed,
                          bool locked) {
    std::string line = Format("%-5d", blocks) + "\"" + name + "\"";
    line += std::string(name.size() < 16 ? 16 - name.size() : 0, ' ');
    line += closed ? ' ' : '*';
    return line + Upper(type) + (locked ? "<" : "");
}

} // namespace

std::string ListingJson(const ContainerListing& l) {
    JsonWriter j;
    j.open('{').key("format").value(ContainerKeyword(l.format)).key("name").value(l.name);
    if (l.isDisk())
        j.key("id").value(AsciiText(l.id.data(), l.id.size())).key("blocks_free").value(l.blocksFree);
    if (l.format == ContainerFormat::Crt)
        j.key("hardware_type").value(l.hardwareType).key("exrom").value(l.exrom).key("game").value(l.game);
    j.key("entries").open('[');
    for (const ContainerEntry& e : l.entries) {
        j.open('{').key("index").value(e.index);
        switch (l.format) {
        case ContainerFormat::T64:
            j.key("name").value(e.name).key("type").value(e.type).key("start").value(e.start);
            j.key("end").value(e.end).key("size").value(e.size);
            break;
        case ContainerFormat::Crt:
            j.key("bank").value(e.bank).key("load_address").value(e.loadAddress.value_or(0));
            j.key("size").value(e.size).key("chip_type").value(e.chipType);
            break;
        case ContainerFormat::Zip:
        case ContainerFormat::Gz:
        case ContainerFormat::Tap:
        case ContainerFormat::G64:
            j.key("name").value(e.name).key("size").value(e.size);
            break;
        case ContainerFormat::D64:
        case ContainerFormat::D71:
        case ContainerFormat::D81:
            j.key("name").value(e.name).key("type").value(e.type).key("blocks").value(e.blocks);
            j.key("load_address");
            e.loadAddress ? j.value(*e.loadAddress) : j.null();
            j.key("locked").value(e.locked).key("closed").value(e.closed);
            break;
        }
        j.close('}');
    }
    return j.close(']').close('}').text();
}

std::string ListingText(const ContainerListing& l) {
    std::string text;
    if (l.isDisk()) {
        text += "0 \"" + AsciiText(l.petsciiName.data(), l.petsciiName.size()) + "\" " +
                AsciiText(l.id.data(), l.id.size()) + "\n";
        for (const ContainerEntry& e : l.entries)
            text += DirectoryLine(e.blocks, e.name, e.type, e.closed, e.locked) + "\n";
        return text + std::to_string(l.blocksFree) + " BLOCKS FREE.\n";
    }
    switch (l.format) {
    case ContainerFormat::T64:
        text += "0 \"" + l.name + "\" T64\n";
        for (const ContainerEntry& e : l.entries)
            text += DirectoryLine(e.blocks, e.name, e.type, true, false) +
                    Format("  $%04X-$%04X\n", e.start, e.end);
        return text;
    case ContainerFormat::Crt:
        text += "\"" + l.name + "\" CRT, hardware type " + std::to_string(l.hardwareType) + ", EXROM " +
                std::to_string(l.exrom) + ", GAME " + std::to_string(l.game) + "\n";
        for (const ContainerEntry& e : l.entries)
            text += Format("#%-3d bank%-4d $%04X  %5llu bytes  %s\n", e.index, e.bank,
                           e.loadAddress.value_or(0), static_cast<unsigned long long>(e.size),
                           e.chipType == 0   ? "ROM"
                           : e.chipType == 1 ? "RAM"
                           : e.chipType == 2 ? "FLASH"
                                             : "?");
        return text;
    default:
        text += "\"" + l.name + "\" " + Upper(ContainerKeyword(l.format)) + "\n";
        for (const ContainerEntry& e : l.entries)
            text += Format("#%-3d %9llu  ", e.index, static_cast<unsigned long long>(e.size)) + "\"" +
                    e.name + "\"\n";
        return text;
    }
}

} // namespace mosaiqua
