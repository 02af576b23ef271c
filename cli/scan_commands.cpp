#include "cli/scan_commands.h"

#include "cli/load.h"

#include "core/address_text.h"
#include "core/errors.h"
#include "core/graphics_scan.h"
#include "core/image_file.h"
#include "core/memory_image.h"
#include "core/overview.h"

#include <cstdio>
#include <exception>
#include <ostream>
#include <string>
#include <vector>

namespace mosaiqua::cli {
namespace {

std::string ScoreText(float score) {
    char text[16];
    std::snprintf(text, sizeof text, "%.2f", double(score));
    return text;
}

void WriteJsonList(std::ostream& out, const char* name, const std::vector<GraphicsCandidate>& list) {
    out << '"' << name << "\": [";
    for (std::size_t i = 0; i < list.size(); ++i)
        out << (i ? ", " : "") << "{\"address\": " << list[i].address
            << ", \"score\": " << ScoreText(list[i].score) << '}';
    out << ']';
}

void WriteReadableList(std::ostream& out, const char* title, const std::vector<GraphicsCandidate>& list) {
    out << title << ":\n";
    if (list.empty())
        out << "  none\n";
    for (const auto& c : list)
        out << "  " << ScreenAddress(c.address) << "  " << ScoreText(c.score) << '\n';
}

// The charset viewer's start-up colours: the design colours after the start-up sprite reset.
ColourSlots CharSetStartupColours() {
    ColourSlots sprite = kDesignColours;
    ColourSlots charSet = kDesignColours;
    ResetSpriteColours(sprite, charSet);
    return charSet;
}

} // namespace

int RunScan(const ScanOptions& o, std::ostream& out, std::ostream& err) {
    return RunGuarded(err, [&] {
        MemoryImage image;
        LoadCommandFile(image, o.file, o.raw, o.skipHeader);
        const GraphicsScores scores = ScoreGraphics(image);
        const auto sprites = SpriteCandidates(scores, o.top);
        const auto charsets = CharSetCandidates(scores, o.top);
        if (o.json) {
            out << '{';
            WriteJsonList(out, "sprites", sprites);
            out << ", ";
            WriteJsonList(out, "charsets", charsets);
            out << "}\n";
            return 0;
        }
        WriteReadableList(out, "Sprites (address, score)", sprites);
        WriteReadableList(out, "Character sets (address, score)", charsets);
        return 0;
    });
}

int RunOverview(const OverviewOptions& o, std::ostream& out, std::ostream& err) {
    return RunGuarded(err, [&] {
        MemoryImage image;
        LoadCommandFile(image, o.file, o.raw, o.skipHeader);
        const OverviewPage page = o.charset ? OverviewPage::CharSets : OverviewPage::Sprites;
        const ColourSlots colours = o.colours.value_or(o.charset ? CharSetStartupColours() : kStartupColours);
        Raster picture;
        DrawOverview(page, image, o.multicolour, colours, picture);
        const std::string extension = o.format == ImageFormat::Png ? ".png" : ".bmp";
        const std::string path =
            o.output.empty() ? (o.charset ? "overview-charsets" : "overview-sprites") + extension : o.output;
        ImageSaveOptions save;
        save.format = o.format;
        save.bitsPerPixel = o.bitsPerPixel;
        WriteImageFile(picture, path, save);
        out << "Overview saved ok.\nwritten: " << path << '\n';
        return 0;
    });
}

} // namespace mosaiqua::cli
