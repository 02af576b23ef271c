#include "screen_composer.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

namespace mosaiqua {

namespace {

constexpr int kBankBytes = 0x4000;
constexpr int kColumns = 40;
constexpr int kCells = 1000;
constexpr int kSpriteLines = 21;
constexpr int kHiddenSpriteX = 0x1F8; // PAL has no positions from here on
// Bitmap fetches in the ECM modes have address bits 9 and 10 forced low, as the code bits 6-7 are.
constexpr int kEcmBitmapMask = 0x19FF;

enum class Mode { Text, MulticolourText, EcmText, Bitmap, MulticolourBitmap, InvalidText, InvalidBitmap,
                  InvalidMulticolourBitmap };

Mode ModeOf(bool ecm, bool bmm, bool mcm) {
    if (!ecm)
        return bmm ? (mcm ? Mode::MulticolourBitmap : Mode::Bitmap) : (mcm ? Mode::MulticolourText : Mode::Text);
    if (!bmm)
        return mcm ? Mode::InvalidText : Mode::EcmText;
    return mcm ? Mode::InvalidMulticolourBitmap : Mode::InvalidBitmap;
}

bool IsBitmap(Mode mode) {
    return mode == Mode::Bitmap || mode == Mode::MulticolourBitmap || mode == Mode::InvalidBitmap ||
           mode == Mode::InvalidMulticolourBitmap;
}

// Which bit of a byte each of its eight pixels reads: one bit in hi-res, a pair in multicolour.
constexpr std::uint32_t kHiResBits[8] = {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01};
constexpr std::uint32_t kPairLowBits[8] = {0x40, 0x40, 0x10, 0x10, 0x04, 0x04, 0x01, 0x01};
constexpr std::uint32_t kPairHighBits[8] = {0x80, 0x80, 0x20, 0x20, 0x08, 0x08, 0x02, 0x02};

// Eight pixels of one byte, choosing among four colours by a pixel's low and high bit without
// branches, so the compiler turns the loop into vector operations (random graphics made the branches
// the composer's main cost). In hi-res both bits are the pixel's bit: c0 draws 0, c3 draws 1.
inline void Pixels8(TColor* __restrict out, unsigned byte, const std::uint32_t* lowBits, const std::uint32_t* highBits,
                    TColor c0, TColor c1, TColor c2, TColor c3) {
    for (int i = 0; i < 8; ++i) {
        const TColor low = TColor(0) - TColor((byte & lowBits[i]) != 0);
        const TColor high = TColor(0) - TColor((byte & highBits[i]) != 0);
        const TColor a = c0 ^ ((c0 ^ c1) & low);
        const TColor b = c2 ^ ((c2 ^ c3) & low);
        out[i] = a ^ ((a ^ b) & high);
    }
}

// The foreground pixels of a byte as one byte: set bits, or both pixels of pairs 10 and 11.
inline std::uint8_t Foreground(unsigned byte, bool multicolour) {
    const unsigned high = byte & 0xAA;
    return std::uint8_t(multicolour ? high | (high >> 1) : byte);
}

struct Sprite {
    bool shown = false;
    int left = 0; // frame x of the first pixel
    int firstLine = 0;
    int height = kSpriteLines;
    bool multicolour = false;
    bool expandX = false;
    bool expandY = false;
    bool behind = false;
    TColor colours[4] = {};
    const std::uint8_t* data = nullptr;
};

// Everything the VIC reads for a frame, gathered once so each line is drawn from local arrays.
class Composer final {
public:
    Composer(const MemoryImage& ram, const MachineState& state, std::span<const std::uint8_t> rom,
             const PaletteTable& palette, bool sprites);

    // One frame row of kFrameWidth pixels; `owner`, when given, gets the sprite shown at each pixel
    // (-1 where none is).
    void drawLine(int row, TColor* out, std::int8_t* owner) const;
    std::optional<ScreenCell> cellAt(int x, int y) const;
    bool romMissing() const { return m_romMissing; }
    bool borderRow(int row) const { return !m_den || row < m_top || row >= m_bottom; }
    TColor borderColour() const { return m_palette[m_regs[0x20] & 15]; }

private:
    void drawGraphics(int line, TColor* out, std::uint8_t* fg) const;
    // `fg` holds one byte of foreground bits per cell of graphics line `line`, which starts at frame
    // x `start`; a line outside the matrix has none.
    void drawSprites(int row, TColor* out, const std::uint8_t* fg, int line, int start, std::int8_t* owner) const;

    std::array<std::uint8_t, kBankBytes> m_view{};
    std::array<std::uint8_t, kCells> m_colour{};
    std::array<std::uint8_t, 64> m_regs{};
    PaletteTable m_palette{};
    std::int32_t m_bank = 0;
    Mode m_mode = Mode::Text;
    bool m_den = false;
    int m_top = 0, m_bottom = 0, m_left = 0, m_right = 0;
    int m_xscroll = 0, m_yshift = 0;
    int m_screen = 0, m_charSet = 0, m_bitmap = 0;
    std::array<Sprite, 8> m_sprites{};
    bool m_anySprite = false;
    bool m_romMissing = false;
};

Composer::Composer(const MemoryImage& ram, const MachineState& state, std::span<const std::uint8_t> rom,
                   const PaletteTable& palette, bool sprites)
    : m_regs(state.vic), m_palette(palette) {
    m_bank = VicBank(state.cia2PortA, state.cia2DirectionA);
    std::memcpy(m_view.data(), ram.data() + m_bank, kBankBytes);
    const bool shadow = m_bank == 0x0000 || m_bank == 0x8000;
    const bool haveRom = rom.size() == kCharacterRomBytes;
    if (shadow) {
        if (haveRom)
            std::memcpy(m_view.data() + 0x1000, rom.data(), kCharacterRomBytes);
        else
            std::memset(m_view.data() + 0x1000, 0, kCharacterRomBytes);
    }
    for (std::size_t i = 0; i < std::min<std::size_t>(state.colourRam.size(), kCells); ++i)
        m_colour[i] = state.colourRam[i] & 15;

    const std::uint8_t d011 = m_regs[0x11], d016 = m_regs[0x16], d018 = m_regs[0x18];
    m_mode = ModeOf(d011 & 0x40, d011 & 0x20, d016 & 0x10);
    m_den = d011 & 0x10;
    const bool rows25 = d011 & 0x08, columns40 = d016 & 0x08;
    m_top = kDisplayTop + (rows25 ? 0 : 4);
    m_bottom = kDisplayTop + kDisplayHeight - (rows25 ? 0 : 4);
    m_left = kDisplayLeft + (columns40 ? 0 : 7);
    m_right = kDisplayLeft + kDisplayWidth - (columns40 ? 0 : 9);
    m_xscroll = d016 & 7;
    m_yshift = (d011 & 7) - 3;
    m_screen = (d018 >> 4) * 0x400;
    m_charSet = ((d018 >> 1) & 7) * 0x800;
    m_bitmap = (d018 & 8) * 0x400;

    // Whether the VIC reads any of the ROM shadow, so a missing ROM blanked something seen.
    const auto touchesRom = [&](int start, int count) {
        return shadow && !haveRom && start < 0x2000 && start + count > 0x1000;
    };
    if (m_den)
        m_romMissing = touchesRom(m_screen, kCells) ||
                       (IsBitmap(m_mode) ? touchesRom(m_bitmap, 8000) : touchesRom(m_charSet, 0x800));

    if (!sprites)
        return;
    const TColor multi1 = palette[m_regs[0x25] & 15], multi2 = palette[m_regs[0x26] & 15];
    for (int n = 0; n < 8; ++n) {
        Sprite& s = m_sprites[std::size_t(n)];
        const int x = m_regs[std::size_t(2 * n)] | ((m_regs[0x10] >> n) & 1) << 8;
        s.shown = ((m_regs[0x15] >> n) & 1) && x < kHiddenSpriteX;
        if (!s.shown)
            continue;
        m_anySprite = true;
        s.left = x + kDisplayLeft - 24;
        s.firstLine = m_regs[std::size_t(2 * n + 1)] - 15; // Y = 50 draws on the display's first row
        s.expandX = (m_regs[0x1D] >> n) & 1;
        s.expandY = (m_regs[0x17] >> n) & 1;
        s.height = kSpriteLines << int(s.expandY);
        s.multicolour = (m_regs[0x1C] >> n) & 1;
        s.behind = (m_regs[0x1B] >> n) & 1;
        const TColor own = palette[m_regs[std::size_t(0x27 + n)] & 15];
        s.colours[0] = 0;
        s.colours[1] = s.multicolour ? multi1 : own;
        s.colours[2] = own;
        s.colours[3] = multi2;
        const int data = m_view[std::size_t(m_screen + 0x3F8 + n)] * 64;
        s.data = m_view.data() + data;
        if (m_den && (touchesRom(m_screen + 0x3F8, 8) || touchesRom(data, 63)))
            m_romMissing = true;
    }
}

void Composer::drawGraphics(int line, TColor* out, std::uint8_t* fg) const {
    const int row = line >> 3, y = line & 7;
    const std::uint8_t* screen = m_view.data() + m_screen + row * kColumns;
    const std::uint8_t* colour = m_colour.data() + row * kColumns;
    const std::uint8_t* glyphs = m_view.data() + m_charSet + y;
    const std::uint8_t* bitmap = m_view.data() + m_bitmap;
    const int bitmapLine = row * kColumns * 8 + y;
    const TColor background = m_palette[m_regs[0x21] & 15];
    const TColor black = m_palette[0];
    switch (m_mode) {
    case Mode::Text:
        for (int c = 0; c < kColumns; ++c) {
            const unsigned byte = glyphs[screen[c] * 8];
            const TColor one = m_palette[colour[c]];
            Pixels8(out + 8 * c, byte, kHiResBits, kHiResBits, background, background, one, one);
            fg[c] = std::uint8_t(byte);
        }
        break;
    case Mode::MulticolourText: {
        const TColor multi1 = m_palette[m_regs[0x22] & 15], multi2 = m_palette[m_regs[0x23] & 15];
        for (int c = 0; c < kColumns; ++c) {
            const unsigned byte = glyphs[screen[c] * 8];
            const bool multicolour = colour[c] & 8;
            Pixels8(out + 8 * c, byte, multicolour ? kPairLowBits : kHiResBits,
                    multicolour ? kPairHighBits : kHiResBits, background, multi1, multi2, m_palette[colour[c] & 7]);
            fg[c] = Foreground(byte, multicolour);
        }
        break;
    }
    case Mode::EcmText:
        for (int c = 0; c < kColumns; ++c) {
            const unsigned byte = glyphs[(screen[c] & 0x3F) * 8];
            const TColor zero = m_palette[m_regs[std::size_t(0x21 + (screen[c] >> 6))] & 15];
            const TColor one = m_palette[colour[c]];
            Pixels8(out + 8 * c, byte, kHiResBits, kHiResBits, zero, zero, one, one);
            fg[c] = std::uint8_t(byte);
        }
        break;
    case Mode::Bitmap:
        for (int c = 0; c < kColumns; ++c) {
            const unsigned byte = bitmap[bitmapLine + 8 * c];
            const TColor zero = m_palette[screen[c] & 15], one = m_palette[screen[c] >> 4];
            Pixels8(out + 8 * c, byte, kHiResBits, kHiResBits, zero, zero, one, one);
            fg[c] = std::uint8_t(byte);
        }
        break;
    case Mode::MulticolourBitmap:
        for (int c = 0; c < kColumns; ++c) {
            const unsigned byte = bitmap[bitmapLine + 8 * c];
            Pixels8(out + 8 * c, byte, kPairLowBits, kPairHighBits, background, m_palette[screen[c] >> 4],
                    m_palette[screen[c] & 15], m_palette[colour[c]]);
            fg[c] = Foreground(byte, true);
        }
        break;
    case Mode::InvalidText:
        std::fill(out, out + kDisplayWidth, black);
        for (int c = 0; c < kColumns; ++c)
            fg[c] = Foreground(glyphs[(screen[c] & 0x3F) * 8], colour[c] & 8);
        break;
    case Mode::InvalidBitmap:
    case Mode::InvalidMulticolourBitmap:
        std::fill(out, out + kDisplayWidth, black);
        for (int c = 0; c < kColumns; ++c)
            fg[c] = Foreground(bitmap[(bitmapLine + 8 * c) & kEcmBitmapMask], m_mode == Mode::InvalidMulticolourBitmap);
        break;
    }
}

void Composer::drawSprites(int row, TColor* out, const std::uint8_t* fg, int line, int start,
                           std::int8_t* owner) const {
    // The sprites with pixels on this row and the span they cover, clipped to the open window.
    std::array<unsigned, 8> bits{};
    int from = m_right, to = m_left;
    for (int n = 0; n < 8; ++n) {
        const Sprite& s = m_sprites[std::size_t(n)];
        const int d = row - s.firstLine;
        if (!s.shown || d < 0 || d >= s.height)
            continue;
        const std::uint8_t* bytes = s.data + 3 * (d >> int(s.expandY));
        bits[std::size_t(n)] = unsigned(bytes[0]) << 16 | unsigned(bytes[1]) << 8 | bytes[2];
        if (bits[std::size_t(n)] != 0) {
            from = std::min(from, s.left);
            to = std::max(to, s.left + (24 << int(s.expandX)));
        }
    }
    from = std::max(from, m_left);
    to = std::min(to, m_right);
    if (from >= to)
        return;
    // Painted back to front, so the lowest-numbered sprite with a pixel wins; where the winner is
    // behind a foreground pixel the graphics come back, hiding the sprites it beat too.
    std::array<TColor, kFrameWidth> graphics;
    std::memcpy(graphics.data() + from, out + from, sizeof(TColor) * std::size_t(to - from));
    const bool lineHasGraphics = line >= 0 && line < kDisplayHeight;
    const auto foreground = [&](int x) {
        const int dot = x - start;
        return lineHasGraphics && dot >= 0 && dot < kDisplayWidth && ((fg[dot >> 3] >> (7 - (dot & 7))) & 1);
    };
    for (int n = 7; n >= 0; --n) {
        const unsigned data = bits[std::size_t(n)];
        if (data == 0)
            continue;
        const Sprite& s = m_sprites[std::size_t(n)];
        const int width = (s.multicolour ? 2 : 1) << int(s.expandX);
        const int count = s.multicolour ? 12 : 24;
        for (int i = 0; i < count; ++i) {
            const unsigned value = s.multicolour ? (data >> (22 - 2 * i)) & 3 : ((data >> (23 - i)) & 1) << 1;
            if (value == 0)
                continue;
            const int first = std::max(s.left + i * width, from);
            const int end = std::min(s.left + (i + 1) * width, to);
            for (int x = first; x < end; ++x) {
                const bool hidden = s.behind && foreground(x);
                out[x] = hidden ? graphics[std::size_t(x)] : s.colours[value];
                if (owner)
                    owner[x] = std::int8_t(hidden ? -1 : n);
            }
        }
    }
}

void Composer::drawLine(int row, TColor* out, std::int8_t* owner) const {
    if (owner)
        std::fill(owner, owner + kFrameWidth, std::int8_t(-1));
    const TColor border = borderColour();
    if (borderRow(row)) {
        std::fill(out, out + kFrameWidth, border);
        return;
    }
    std::array<std::uint8_t, kColumns> fg;
    const int line = row - kDisplayTop - m_yshift;
    const bool invalid = m_mode == Mode::InvalidText || m_mode == Mode::InvalidBitmap ||
                         m_mode == Mode::InvalidMulticolourBitmap;
    const TColor background = m_palette[invalid ? 0 : m_regs[0x21] & 15];
    const int start = kDisplayLeft + m_xscroll;
    std::fill(out + kDisplayLeft, out + start, background);
    if (line >= 0 && line < kDisplayHeight) {
        drawGraphics(line, out + start, fg.data()); // the border covers what runs past the right edge
    } else {
        std::fill(out + start, out + m_right, background);
    }
    if (m_anySprite)
        drawSprites(row, out, fg.data(), line, start, owner);
    std::fill(out, out + m_left, border);
    std::fill(out + m_right, out + kFrameWidth, border);
}

std::optional<ScreenCell> Composer::cellAt(int x, int y) const {
    if (borderRow(y) || x < m_left || x >= m_right)
        return std::nullopt;
    const int line = y - kDisplayTop - m_yshift, dot = x - kDisplayLeft - m_xscroll;
    if (line < 0 || line >= kDisplayHeight || dot < 0 || dot >= kDisplayWidth)
        return std::nullopt;
    ScreenCell cell;
    cell.column = dot / 8;
    cell.row = line / 8;
    const int index = cell.row * kColumns + cell.column;
    cell.screenAddress = m_bank + m_screen + index;
    cell.screenCode = m_view[std::size_t(m_screen + index)];
    cell.colour = m_colour[std::size_t(index)];
    cell.bitmapMode = IsBitmap(m_mode);
    const bool ecm = m_regs[0x11] & 0x40;
    if (cell.bitmapMode)
        cell.graphicsAddress = m_bank + m_bitmap + ((index * 8) & (ecm ? kEcmBitmapMask : 0x1FFF));
    else
        cell.graphicsAddress = m_bank + m_charSet + (cell.screenCode & (ecm ? 0x3F : 0xFF)) * 8;
    cell.graphicsInRom = InCharacterRomShadow(m_bank, cell.graphicsAddress);
    return cell;
}

} // namespace

bool ComposeScreenInto(Raster& picture, const MemoryImage& ram, const MachineState& state,
                       std::span<const std::uint8_t> characterRom, const PaletteTable& palette,
                       const ComposeOptions& options) {
    const Composer composer(ram, state, characterRom, palette, options.sprites);
    if (options.border) {
        if (picture.width() != kFrameWidth || picture.height() != kFrameHeight)
            picture.reset(kFrameWidth, kFrameHeight);
        for (int row = 0; row < kFrameHeight; ++row)
            composer.drawLine(row, picture.row(row), nullptr);
    } else {
        if (picture.width() != kDisplayWidth || picture.height() != kDisplayHeight)
            picture.reset(kDisplayWidth, kDisplayHeight);
        std::array<TColor, kFrameWidth> line;
        for (int row = 0; row < kDisplayHeight; ++row) {
            composer.drawLine(kDisplayTop + row, line.data(), nullptr);
            std::memcpy(picture.row(row), line.data() + kDisplayLeft, sizeof(TColor) * kDisplayWidth);
        }
    }
    return composer.romMissing();
}

ComposedScreen ComposeScreen(const MemoryImage& ram, const MachineState& state,
                             std::span<const std::uint8_t> characterRom, const PaletteTable& palette,
                             const ComposeOptions& options) {
    ComposedScreen composed;
    composed.characterRomMissing = ComposeScreenInto(composed.picture, ram, state, characterRom, palette, options);
    return composed;
}

ScreenHit HitTestScreen(const MemoryImage& ram, const MachineState& state,
                        std::span<const std::uint8_t> characterRom, const ComposeOptions& options, int x,
                        int y) {
    if (!options.border) {
        if (x < 0 || y < 0 || x >= kDisplayWidth || y >= kDisplayHeight)
            return {};
        x += kDisplayLeft;
        y += kDisplayTop;
    }
    if (x < 0 || y < 0 || x >= kFrameWidth || y >= kFrameHeight)
        return {};
    // Colours do not matter here, only which sprite wins.
    const Composer composer(ram, state, characterRom, PaletteTable{}, options.sprites);
    ScreenHit hit;
    std::array<TColor, kFrameWidth> line;
    std::array<std::int8_t, kFrameWidth> owner;
    composer.drawLine(y, line.data(), owner.data());
    if (owner[std::size_t(x)] >= 0)
        hit.sprite = owner[std::size_t(x)];
    hit.cell = composer.cellAt(x, y);
    return hit;
}

std::string DescribeScreenHit(const ScreenHit& hit) {
    char text[160];
    if (hit.sprite) {
        std::snprintf(text, sizeof text, "Sprite %d", *hit.sprite);
        return text;
    }
    if (!hit.cell)
        return {};
    const ScreenCell& c = *hit.cell;
    std::snprintf(text, sizeof text, "Column %d, row %d: %s $%02X at $%04X, %s $%04X%s, colour %d", c.column,
                  c.row, c.bitmapMode ? "screen byte" : "screen code", c.screenCode, unsigned(c.screenAddress),
                  c.bitmapMode ? "bitmap" : "glyph", unsigned(c.graphicsAddress), c.graphicsInRom ? " (ROM)" : "",
                  c.colour);
    return text;
}

} // namespace mosaiqua
