#include "cli/scan_commands.h"

#include "cli/load.h"

#include "core/address_text.h"
#include "core/document.h"
#include "core/errors.h"
#include "core/graphics_scan.h"

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

} // namespace

int RunScan(const CliOptions& o, std::ostream& out, std::ostream& err) {
    return RunGuarded(err, [&] {
        Document document;
        OpenDocument(document, o, ViewerUsed::None);
        const GraphicsScores scores = ScoreGraphics(document.memory());
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

int RunOverview(const CliOptions& o, std::ostream& out, std::ostream& err) {
    return RunGuarded(err, [&] {
        Document document;
        OpenDocument(document, o, o.charSetPage ? ViewerUsed::CharSet : ViewerUsed::Sprite);
        const std::string extension = o.save.imageFormat == ImageFormat::Png ? ".png" : ".bmp";
        const std::string path = o.output.empty()
                                     ? (o.charSetPage ? "overview-charsets" : "overview-sprites") + extension
                                     : o.output;
        const SaveResult saved =
            document.saveOverview(o.charSetPage ? OverviewPage::CharSets : OverviewPage::Sprites, path);
        out << saved.status << "\nwritten: " << path << '\n';
        return 0;
    });
}

} // namespace mosaiqua::cli
