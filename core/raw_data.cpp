#include "raw_data.h"

#include "address_text.h"
#include "errors.h"

#include <algorithm>
#include <array>

namespace mosaiqua {

namespace {

struct FormatInfo {
    RawDataFormat format;
    const char* name;
    const char* title;
    const char* extension;
};

constexpr std::array<FormatInfo, 8> kFormats{{
    {RawDataFormat::Bin, "bin", "Raw binary (*.bin)", ".bin"},
    {RawDataFormat::Prg, "prg", "C64 program with load address (*.prg)", ".prg"},
    {RawDataFormat::Acme, "acme", "ACME assembler source (*.asm)", ".asm"},
    {RawDataFormat::Kick, "kick", "KickAssembler source (*.asm)", ".asm"},
    {RawDataFormat::Ca65, "ca65", "ca65 assembler source (*.s)", ".s"},
    {RawDataFormat::Tass64, "64tass", "64tass assembler source (*.asm)", ".asm"},
    {RawDataFormat::C, "c", "C array (*.c)", ".c"},
    {RawDataFormat::Basic, "basic", "BASIC DATA lines (*.bas)", ".bas"},
}};

const FormatInfo& infoOf(RawDataFormat format) {
    return *std::find_if(kFormats.begin(), kFormats.end(),
                         [&](const FormatInfo& i) { return i.format == format; });
}

// How one assembler (or C) spells each part of the source.
struct SourceSyntax {
    const char* commentOpen;
    const char* commentClose;
    bool setsOrigin;         // "* = $hhhh"
    const char* labelSuffix; // after the label on its own line
    const char* bytesOpen;   // before a line's values
    const char* bytePrefix;
    const char* byteSeparator;
    const char* lineClose;
};

SourceSyntax syntaxOf(RawDataFormat format) {
    switch (format) {
    case RawDataFormat::Acme:
        return {"; ", "", true, "", "    !byte ", "$", ", ", ""};
    case RawDataFormat::Kick:
        return {"// ", "", true, ":", "    .byte ", "$", ", ", ""};
    case RawDataFormat::Ca65:
        return {"; ", "", false, ":", "    .byte ", "$", ", ", ""};
    case RawDataFormat::Tass64:
        return {"; ", "", true, "", "    .byte ", "$", ", ", ""};
    default:
        return {"/* ", " */", false, "", "    ", "0x", ", ", ","};
    }
}

const char kHexDigits[] = "0123456789ABCDEF";

std::string hexByte(std::uint8_t b) {
    return {kHexDigits[b >> 4], kHexDigits[b & 15]};
}

std::string sourceText(const MemoryImage& image, std::int64_t start, std::int64_t end, RawDataFormat format,
                       RawDataLayout layout) {
    const SourceSyntax s = syntaxOf(format);
    const std::int64_t count = end - start + 1;
    const int perLine = layout == RawDataLayout::Sprites ? 3 : 8;
    const int perBlock = layout == RawDataLayout::Sprites ? 64 : 8;
    const std::string label = RawDataLabel(start, layout);
    const auto comment = [&](const std::string& text) {
        return s.commentOpen + text + s.commentClose + "\n";
    };

    std::string out = comment(ScreenAddress(start) + "-" + ScreenAddress(end) + ", " + std::to_string(count) +
                              (count == 1 ? " byte" : " bytes") + ", saved by Mosaiqua");
    if (s.setsOrigin)
        out += "* = " + ScreenAddress(start) + "\n";
    if (format == RawDataFormat::C)
        out += "const unsigned char " + label + "[" + std::to_string(count) + "] = {\n";
    else
        out += label + s.labelSuffix + "\n";
    for (std::int64_t blockStart = 0; blockStart < count; blockStart += perBlock) {
        out += (format == RawDataFormat::C ? "    " : "") + comment(ScreenAddress(start + blockStart));
        const std::int64_t blockEnd = std::min<std::int64_t>(count, blockStart + perBlock);
        for (std::int64_t lineStart = blockStart; lineStart < blockEnd; lineStart += perLine) {
            out += s.bytesOpen;
            const std::int64_t lineEnd = std::min<std::int64_t>(blockEnd, lineStart + perLine);
            for (std::int64_t i = lineStart; i < lineEnd; ++i) {
                if (i != lineStart)
                    out += s.byteSeparator;
                out += s.bytePrefix + hexByte(image.byteAt(start + i));
            }
            out += s.lineClose;
            out += "\n";
        }
    }
    if (format == RawDataFormat::C)
        out += "};\n";
    return out;
}

std::int64_t BasicBlockBytes(RawDataLayout layout) {
    return layout == RawDataLayout::Sprites ? 64 : 16;
}

// The DATA lines, each as long as fits in kMaxBasicLineLength.
std::vector<std::string> BasicLines(const MemoryImage& image, std::int64_t start, std::int64_t end,
                                    RawDataLayout layout, const BasicLineNumbers& numbers) {
    std::vector<std::string> lines;
    const std::int64_t block = BasicBlockBytes(layout);
    std::string line;
    for (std::int64_t i = 0; start + i <= end; ++i) {
        const std::string value = std::to_string(image.byteAt(start + i));
        if (!line.empty() && (i % block == 0 || line.size() + 1 + value.size() > kMaxBasicLineLength)) {
            lines.push_back(line);
            line.clear();
        }
        if (line.empty())
            line =
                std::to_string(numbers.first + std::int64_t(lines.size()) * numbers.step) + " DATA " + value;
        else
            line += "," + value;
    }
    lines.push_back(line);
    return lines;
}

} // namespace

std::string BasicLineNumbersProblem(const BasicLineNumbers& numbers) {
    if (numbers.first < 0 || numbers.first > kLastBasicLine)
        return "The first BASIC line number " + std::to_string(numbers.first) +
               " is not between 0 and 63999: nothing was saved.";
    if (numbers.step < 1 || numbers.step > kLastBasicLine)
        return "The BASIC line step " + std::to_string(numbers.step) +
               " is not between 1 and 63999: nothing was saved.";
    return {};
}

std::optional<RawDataFormat> RawDataFormatFromName(const std::string& name) {
    for (const FormatInfo& i : kFormats)
        if (name == i.name)
            return i.format;
    return std::nullopt;
}

std::string RawDataFormatName(RawDataFormat format) {
    return infoOf(format).name;
}
std::string RawDataFormatTitle(RawDataFormat format) {
    return infoOf(format).title;
}
std::string RawDataExtension(RawDataFormat format) {
    return infoOf(format).extension;
}

AddressRange RawDataRangeForSprites(std::int64_t spriteAddress) {
    return {spriteAddress, std::min<std::int64_t>(spriteAddress + 0x1FF, 0xFFFF)};
}

AddressRange RawDataRangeForBitmap(std::int64_t bitmapAddress) {
    return {bitmapAddress, std::min<std::int64_t>(bitmapAddress + 8000 - 1, 0xFFFF)};
}

AddressRange RawDataRangeForCharSet(std::int64_t charSetAddress) {
    return {charSetAddress, std::min<std::int64_t>(charSetAddress + 0x7FF, 0xFFFF)};
}

std::string RawDataRangeProblem(std::int64_t start, std::int64_t end) {
    if (start < 0)
        return "The start address is below $0000: nothing was saved.";
    if (start > 0xFFFF)
        return "The start address " + ScreenAddress(start) + " is past $FFFF: nothing was saved.";
    if (end > 0xFFFF)
        return "The end address " + ScreenAddress(end) + " is past $FFFF: nothing was saved.";
    if (end < start)
        return "The end address " + ScreenAddress(std::max<std::int64_t>(end, 0)) +
               " is before the start address " + ScreenAddress(start) + ": nothing was saved.";
    return {};
}

void CheckRawDataRange(std::int64_t start, std::int64_t end) {
    const std::string problem = RawDataRangeProblem(start, end);
    if (!problem.empty())
        throw UserError(UserError::Kind::NothingToSave, problem);
}

std::string RawDataLabel(std::int64_t start, RawDataLayout layout) {
    return (layout == RawDataLayout::Sprites ? "sprites_" : "chars_") + HexAddress(start);
}

std::vector<std::uint8_t> EncodeRawData(const MemoryImage& image, std::int64_t start, std::int64_t end,
                                        RawDataFormat format, RawDataLayout layout) {
    return EncodeRawData(image, start, end, format, layout, BasicLineNumbers{});
}

std::vector<std::uint8_t> EncodeRawData(const MemoryImage& image, std::int64_t start, std::int64_t end,
                                        RawDataFormat format, RawDataLayout layout,
                                        const BasicLineNumbers& numbers) {
    CheckRawDataRange(start, end);
    std::vector<std::uint8_t> out;
    if (format == RawDataFormat::Bin || format == RawDataFormat::Prg) {
        if (format == RawDataFormat::Prg) {
            out.push_back(std::uint8_t(start & 0xFF));
            out.push_back(std::uint8_t(start >> 8));
        }
        for (std::int64_t a = start; a <= end; ++a)
            out.push_back(image.byteAt(a));
        return out;
    }
    if (format == RawDataFormat::Basic) {
        const std::string problem = BasicLineNumbersProblem(numbers);
        if (!problem.empty())
            throw UserError(UserError::Kind::NothingToSave, problem);
        const std::vector<std::string> lines = BasicLines(image, start, end, layout, numbers);
        const std::int64_t last = numbers.first + std::int64_t(lines.size() - 1) * numbers.step;
        if (last > kLastBasicLine)
            throw UserError(UserError::Kind::NothingToSave,
                            "The " + std::to_string(lines.size()) + " DATA lines would be numbered up to " +
                                std::to_string(last) + ", past 63999: nothing was saved.");
        for (const std::string& line : lines) {
            out.insert(out.end(), line.begin(), line.end());
            out.push_back('\n');
        }
        return out;
    }
    const std::string text = sourceText(image, start, end, format, layout);
    return {text.begin(), text.end()};
}

std::string WriteRawDataFile(const MemoryImage& image, std::int64_t start, std::int64_t end,
                             RawDataFormat format, RawDataLayout layout, const std::string& utf8Path,
                             const WriteOptions& writing) {
    return WriteRawDataFile(image, start, end, format, layout, BasicLineNumbers{}, utf8Path, writing);
}

std::string WriteRawDataFile(const MemoryImage& image, std::int64_t start, std::int64_t end,
                             RawDataFormat format, RawDataLayout layout, const BasicLineNumbers& numbers,
                             const std::string& utf8Path, const WriteOptions& writing) {
    const std::vector<std::uint8_t> bytes = EncodeRawData(image, start, end, format, layout, numbers);
    WriteFileAtomically(utf8Path, bytes, writing);
    return std::to_string(end - start + 1) + (end == start ? " byte from " : " bytes from ") +
           ScreenAddress(start) + " to " + ScreenAddress(end) + " saved ok.";
}

std::string PresetRawDataName(std::int64_t start, RawDataFormat format) {
    return "data" + HexAddress(start) + RawDataExtension(format);
}

} // namespace mosaiqua
