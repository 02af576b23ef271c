#pragma once

#include "core/colours.h"
#include "core/image_file.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace mosaiqua::cli {

// mosaiqua-cli scan FILE [--json] [--top N]
struct ScanOptions {
    std::string file;
    bool skipHeader = true;
    bool json = false;
    int top = 10;     // candidates per kind; negative: every cell and block scoring above 0
    bool raw = false; // --raw: no format recognition
};

// mosaiqua-cli overview FILE [--charset] [--format bmp|png] [-o PATH]
struct OverviewOptions {
    std::string file;
    bool skipHeader = true;
    bool charset = false; // the character-set page instead of the sprite page
    bool multicolour = false;
    std::optional<ColourSlots> colours; // empty: the page's colours at start-up
    int bitsPerPixel = 24;
    std::string output; // empty: "overview-sprites.bmp" / "overview-charsets.bmp" (.png for PNG)
    std::optional<ImageFormat> format = std::nullopt; // nothing: from the name
    bool raw = false;
};

// Lists the graphics candidates, best first: as JSON
// {"sprites": [{"address": 20928, "score": 0.93}, ...], "charsets": [...]} or as readable lines.
// Returns 0, or 1 after one message on `err`.
int RunScan(const ScanOptions& options, std::ostream& out, std::ostream& err);

// Writes the overview picture of all 64 KB. Returns 0, or 1 after one message on `err`.
int RunOverview(const OverviewOptions& options, std::ostream& out, std::ostream& err);

} // namespace mosaiqua::cli
