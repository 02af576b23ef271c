#include "screen_composer.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

// The drawing loops are written to become vector operations; on x86-64 Linux they are also built
// for AVX2 and the wider version is chosen at run time where the processor has it.
#if defined(__GNUC__) && defined(__x86_64__) && defined(__linux__)
#define MOSAIQUA_WIDE_VECTORS __attribute__((target_clones("avx2", "default")))
#else
#define MOSAIQUA_WIDE_VECTORS
#endif

namespace mosaiqua {

namespace {

constexpr int kBankBytes = 0x4000;
constexpr int kColumns = 40;
constexpr int kCells = 1000;
constexpr int kSpriteLines = 21;
constexpr int kHiddenSpriteX = 0x1F8; // PAL has no positions from here on
// Bitmap fetches in the ECM modes have address bits 9 and 10 forced low, as the code bits 6-7 are.
constexpr int kEcmBitmapMask = 0x19FF;

enum class Mode {
    Text,
    MulticolourText,
    EcmText,
    Bitmap,
    MulticolourBitmap,
    InvalidText,
    InvalidBitmap,
    InvalidMulticolourBitmap
};

Mode ModeOf(bool ecm, bool bmm, bool mcm) {
    if (!ecm)
        return bmm ? (mcm ? Mode::MulticolourBitmap : Mode::Bitmap)
                   : (mcm ? Mode::MulticolourText : Mode::Text);
    if (!bmm)
        return mcm ? Mode::InvalidText : Mode::EcmText;
    return mcm ? Mode::InvalidMulticolourBitmap : Mode::InvalidBitmap;
}

bool IsBitmap(Mode mode) {
    return mode == Mode::Bitmap || mode == Mode::MulticolourBitmap || mode == Mode::InvalidBitmap ||
           mode == Mode::InvalidMulticolourBitmap;
}

// For each byte, its eight pixels as all-ones or all-zero words, leftmost from bit 7: selecting
// colours with these masks needs no branches and the compiler turns it into vector operations
// (random graphics made per-pixel branches the composer's main cost).
struct PixelMasks {
    std::uint32_t of[256][8];
    constexpr PixelMasks() : of{} {
        for (int byte = 0; byte < 256; ++byte)
            for (int i = 0; i < 8; ++i)
                of[byte][i] = (byte >> (7 - i)) & 1 ? 0xFFFFFFFFu : 0u;
    }
};
constexpr PixelMasks kMasks;

// Eight pixels in two colours by the bits of `byte`.
inline void Pixels2(TColor* __restrict out, unsigned byte, TColor zero, TColor one) {
    const std::uint32_t* mask = kMasks.of[byte];
    const TColor diff = zero ^ one;
    for (int i = 0; i < 8; ++i)
        out[i] = zero ^ (diff & mask[i]);
}

// Eight pixels in four colours; `low` and `high` hold each pixel's low and high colour bit.
inline void Pixels4(TColor* __restrict out, unsigned low, unsigned high, TColor c0, TColor c1, TColor c2,
                    TColor c3) {
    const std::uint32_t* lowMask = kMasks.of[low];
    const std::uint32_t* highMask = kMasks.of[high];
    const TColor d01 = c0 ^ c1, d23 = c2 ^ c3;
    for (int i = 0; i < 8; ++i) {
        const TColor a = c0 ^ (d01 & lowMask[i]);
        const TColor b = c2 ^ (d23 & lowMask[i]);
        out[i] = a ^ ((a ^ b) & highMask[i]);
    }
}

// Eight sprite pixels over `out`: pair 00 leaves it, 01 10 11 paint c1 c2 c3, and where `hidden`
// is set the saved graphics come back instead.
inline void SpritePixels8(TColor* __restrict out, const TColor* __restrict graphics,
                          const std::uint32_t* lowMask, const std::uint32_t* highMask,
                          const std::uint32_t* hidden, TColor c1, TColor c2, TColor c3) {
    const TColor d23 = c2 ^ c3;
    for (int i = 0; i < 8; ++i) {
        const TColor b = c2 ^ (d23 & lowMask[i]);
        TColor colour = c1 ^ ((c1 ^ b) & highMask[i]);
        colour ^= (colour ^ graphics[i]) & hidden[i];
        out[i] ^= (out[i] ^ colour) & (lowMask[i] | highMask[i]);
    }
}

// A multicolour byte's pairs spread over their two pixels: the low bits, and the high bits (which
// are also the foreground: pairs 10 and 11).
inline unsigned PairLow(unsigned byte) {
    const unsigned low = byte & 0x55;
    return low | (low << 1);
}
inline unsigned PairHigh(unsigned byte) {
    const unsigned high = byte & 0xAA;
    return high | (high >> 1);
}

// Each of the four bits of a nybble twice: X expansion of eight pixels into sixteen.
constexpr std::uint8_t kDoubled[16] = {0x00, 0x03, 0x0C, 0x0F, 0x30, 0x33, 0x3C, 0x3F,
                                       0xC0, 0xC3, 0xCC, 0xCF, 0xF0, 0xF3, 0xFC, 0xFF};

using CellBytes = std::array<std::uint8_t, kColumns>;

struct Sprite {
    bool shown = false;
    int left = 0; // frame x of the first pixel
    int firstLine = 0;
    int height = kSpriteLines;
    bool multicolour = false;
    bool expandX = false;
    bool expandY = false;
    bool behind = false;
    TColor colours[4] = {}; // by bit pair; 00 is transparent
    const std::uint8_t* data = nullptr;
};

// Everything the VIC reads for a frame, gathered once so each line is drawn from local arrays.
class Composer final {
public:
    Composer(const MemoryImage& ram, const MachineState& state, std::span<const std::uint8_t> rom,
             const PaletteTable& palette, bool sprites);

    // The whole frame into its rows, each kFrameWidth pixels.
    void drawFrame(TColor* const* rows) const;
    // One frame row, with the sprite shown at each pixel in `owner` (-1 where none is).
    void drawLine(int row, TColor* out, std::int8_t* owner) const;
    std::optional<ScreenCell> cellAt(int x, int y) const;
    bool romMissing() const { return m_romMissing; }
    bool borderRow(int row) const { return !m_den || row < m_top || row >= m_bottom; }

private:
    // Lines [first, last) of a row of character cells into out[line], which points at the graphics'
    // first pixel, and each cell's foreground pixels into fg[line].
    void drawCharacterRow(int row, int first, int last, TColor* const* out, CellBytes* fg) const;
    // Sprites and the side borders over a drawn row; `fg` is the row's foreground, null without graphics.
    void finishRow(int row, TColor* out, const std::uint8_t* fg, std::int8_t* owner) const;
    // `fg` holds one byte of foreground bits per cell of graphics line `line`, which starts at frame
    // x `start`; a line outside the matrix has none.
    // `fg` holds the foreground pixels of each cell of the row's graphics, or is null on a row
    // without graphics. With `owners`, each sprite paints its number instead of its colours and
    // hidden pixels are -1.
    void drawSprites(int row, TColor* out, const std::uint8_t* fg, bool owners) const;

    std::array<std::uint8_t, kBankBytes> m_view{};
    std::array<std::uint8_t, kCells> m_colour{};
    std::array<std::uint8_t, 64> m_regs{};
    std::array<TColor, kFrameWidth> m_borderRow{};
    std::array<TColor, kDisplayWidth> m_backgroundRow{};
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
    const bool invalid = m_mode == Mode::InvalidText || m_mode == Mode::InvalidBitmap ||
                         m_mode == Mode::InvalidMulticolourBitmap;
    m_borderRow.fill(palette[m_regs[0x20] & 15]);
    m_backgroundRow.fill(palette[invalid ? 0 : m_regs[0x21] & 15]);
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
        // Hi-res pixels read as pair 11.
        s.colours[0] = 0;
        s.colours[1] = multi1;
        s.colours[2] = own;
        s.colours[3] = s.multicolour ? multi2 : own;
        const int data = m_view[std::size_t(m_screen + 0x3F8 + n)] * 64;
        s.data = m_view.data() + data;
        if (m_den && (touchesRom(m_screen + 0x3F8, 8) || touchesRom(data, 63)))
            m_romMissing = true;
    }
}

MOSAIQUA_WIDE_VECTORS void Composer::drawCharacterRow(int row, int first, int last, TColor* const* out,
                                                      CellBytes* fg) const {
    // Cell by cell, then line by line inside the cell: a cell's colours are worked out once for its
    // eight lines.
    const std::uint8_t* screen = m_view.data() + m_screen + row * kColumns;
    const std::uint8_t* colour = m_colour.data() + row * kColumns;
    const std::uint8_t* glyphs = m_view.data() + m_charSet;
    const std::uint8_t* bitmap = m_view.data() + m_bitmap;
    const int cells = row * kColumns * 8;
    const TColor background = m_palette[m_regs[0x21] & 15];
    const TColor black = m_palette[0];
    switch (m_mode) {
    case Mode::Text:
        for (int c = 0; c < kColumns; ++c) {
            const std::uint8_t* glyph = glyphs + screen[c] * 8;
            const TColor one = m_palette[colour[c]];
            for (int y = first; y < last; ++y) {
                Pixels2(out[y] + 8 * c, glyph[y], background, one);
                fg[y][c] = glyph[y];
            }
        }
        break;
    case Mode::MulticolourText: {
        const TColor multi1 = m_palette[m_regs[0x22] & 15], multi2 = m_palette[m_regs[0x23] & 15];
        for (int c = 0; c < kColumns; ++c) {
            const std::uint8_t* glyph = glyphs + screen[c] * 8;
            const TColor own = m_palette[colour[c] & 7];
            if (colour[c] & 8) {
                for (int y = first; y < last; ++y) {
                    Pixels4(out[y] + 8 * c, PairLow(glyph[y]), PairHigh(glyph[y]), background, multi1, multi2,
                            own);
                    fg[y][c] = std::uint8_t(PairHigh(glyph[y]));
                }
            } else {
                for (int y = first; y < last; ++y) {
                    Pixels2(out[y] + 8 * c, glyph[y], background, own);
                    fg[y][c] = glyph[y];
                }
            }
        }
        break;
    }
    case Mode::EcmText:
        for (int c = 0; c < kColumns; ++c) {
            const std::uint8_t* glyph = glyphs + (screen[c] & 0x3F) * 8;
            const TColor zero = m_palette[m_regs[std::size_t(0x21 + (screen[c] >> 6))] & 15];
            const TColor one = m_palette[colour[c]];
            for (int y = first; y < last; ++y) {
                Pixels2(out[y] + 8 * c, glyph[y], zero, one);
                fg[y][c] = glyph[y];
            }
        }
        break;
    case Mode::Bitmap:
        for (int c = 0; c < kColumns; ++c) {
            const std::uint8_t* bytes = bitmap + cells + 8 * c;
            const TColor zero = m_palette[screen[c] & 15], one = m_palette[screen[c] >> 4];
            for (int y = first; y < last; ++y) {
                Pixels2(out[y] + 8 * c, bytes[y], zero, one);
                fg[y][c] = bytes[y];
            }
        }
        break;
    case Mode::MulticolourBitmap:
        for (int c = 0; c < kColumns; ++c) {
            const std::uint8_t* bytes = bitmap + cells + 8 * c;
            const TColor hi = m_palette[screen[c] >> 4], lo = m_palette[screen[c] & 15];
            const TColor own = m_palette[colour[c]];
            for (int y = first; y < last; ++y) {
                Pixels4(out[y] + 8 * c, PairLow(bytes[y]), PairHigh(bytes[y]), background, hi, lo, own);
                fg[y][c] = std::uint8_t(PairHigh(bytes[y]));
            }
        }
        break;
    case Mode::InvalidText:
        for (int y = first; y < last; ++y) {
            std::fill(out[y], out[y] + kDisplayWidth, black);
            for (int c = 0; c < kColumns; ++c) {
                const unsigned byte = glyphs[(screen[c] & 0x3F) * 8 + y];
                fg[y][c] = std::uint8_t(colour[c] & 8 ? PairHigh(byte) : byte);
            }
        }
        break;
    case Mode::InvalidBitmap:
    case Mode::InvalidMulticolourBitmap: {
        const bool multicolour = m_mode == Mode::InvalidMulticolourBitmap;
        for (int y = first; y < last; ++y) {
            std::fill(out[y], out[y] + kDisplayWidth, black);
            for (int c = 0; c < kColumns; ++c) {
                const unsigned byte = bitmap[(cells + 8 * c + y) & kEcmBitmapMask];
                fg[y][c] = std::uint8_t(multicolour ? PairHigh(byte) : byte);
            }
        }
        break;
    }
    }
}

MOSAIQUA_WIDE_VECTORS void Composer::drawSprites(int row, TColor* out, const std::uint8_t* fg,
                                                 bool owners) const {
    // Painted back to front, so the lowest-numbered sprite with a pixel wins; where the winner is
    // behind a foreground pixel the graphics come back, hiding the sprites it beat as well. Eight
    // pixels at a time with masks, as the graphics are; what lands in the border is covered later.
    std::array<TColor, kFrameWidth> graphics;
    // Saved before any sprite is painted: a sprite behind the foreground brings back the graphics.
    bool behind = false;
    for (const Sprite& s : m_sprites)
        behind |= s.shown && s.behind && row >= s.firstLine && row < s.firstLine + s.height;
    // The foreground by frame x, leftmost in bit 7 of byte 0, and the graphics to bring back.
    std::array<std::uint8_t, kFrameWidth / 8 + 1> fgBits{};
    if (behind && fg)
        for (int c = 0; c < kColumns; ++c) {
            fgBits[std::size_t(kDisplayLeft / 8 + c)] |= std::uint8_t(fg[c] >> m_xscroll);
            fgBits[std::size_t(kDisplayLeft / 8 + c + 1)] |= std::uint8_t(fg[c] << (8 - m_xscroll));
        }
    if (behind && owners)
        graphics.fill(TColor(-1));
    else if (behind)
        std::memcpy(graphics.data(), out, sizeof(TColor) * kFrameWidth);
    for (int n = 7; n >= 0; --n) {
        const Sprite& s = m_sprites[std::size_t(n)];
        const int d = row - s.firstLine;
        if (!s.shown || d < 0 || d >= s.height)
            continue;
        const std::uint8_t* bytes = s.data + 3 * (d >> int(s.expandY));
        if ((bytes[0] | bytes[1] | bytes[2]) == 0)
            continue;
        // Each pixel's low and high colour bit, eight pixels a byte; hi-res pixels are pairs 11.
        std::array<std::uint8_t, 6> low, high;
        int chunks = 0;
        for (int b = 0; b < 3; ++b) {
            const unsigned lo = s.multicolour ? PairLow(bytes[b]) : bytes[b];
            const unsigned hi = s.multicolour ? PairHigh(bytes[b]) : bytes[b];
            if (s.expandX) {
                low[std::size_t(chunks)] = kDoubled[lo >> 4];
                high[std::size_t(chunks++)] = kDoubled[hi >> 4];
                low[std::size_t(chunks)] = kDoubled[lo & 15];
                high[std::size_t(chunks++)] = kDoubled[hi & 15];
            } else {
                low[std::size_t(chunks)] = std::uint8_t(lo);
                high[std::size_t(chunks++)] = std::uint8_t(hi);
            }
        }
        const TColor c1 = owners ? TColor(n) : s.colours[1], c2 = owners ? TColor(n) : s.colours[2];
        const TColor c3 = owners ? TColor(n) : s.colours[3];
        for (int j = 0; j < chunks; ++j) {
            const int x0 = s.left + 8 * j;
            if (x0 + 8 <= m_left || x0 >= m_right)
                continue;
            const std::uint32_t* lowMask = kMasks.of[low[std::size_t(j)]];
            const std::uint32_t* highMask = kMasks.of[high[std::size_t(j)]];
            const std::uint32_t* hidden = kMasks.of[0];
            if (s.behind) {
                const int at = x0 >> 3, shift = x0 & 7;
                hidden = kMasks.of[((fgBits[at] << shift) | (fgBits[at + 1] >> (8 - shift))) & 0xFF];
            }
            // Without a sprite behind, nothing is brought back and the graphics were not saved.
            const TColor* saved = behind ? graphics.data() : m_borderRow.data();
            SpritePixels8(out + x0, saved + x0, lowMask, highMask, hidden, c1, c2, c3);
        }
    }
}

void Composer::drawFrame(TColor* const* rows) const {
    // Fills of a fixed length, which become vector stores (a copy of the same length became a slow
    // string move); graphics rows only need the pixels XSCROLL uncovers.
    const TColor border = m_borderRow[0], background = m_backgroundRow[0];
    for (int row = 0; row < kFrameHeight; ++row) {
        TColor* out = rows[row];
        const int line = row - kDisplayTop - m_yshift;
        if (borderRow(row))
            for (int x = 0; x < kFrameWidth; ++x)
                out[x] = border;
        else if (line < 0 || line >= kDisplayHeight)
            for (int x = 0; x < kDisplayWidth; ++x)
                out[kDisplayLeft + x] = background;
        else
            for (int x = 0; x < 8; ++x)
                out[kDisplayLeft + x] = background;
    }
    // The graphics a character row at a time, only on rows the border leaves open.
    std::array<CellBytes, kDisplayHeight> fg;
    const int start = kDisplayLeft + m_xscroll;
    for (int r = 0; r < kDisplayHeight / 8; ++r) {
        const int top = kDisplayTop + m_yshift + 8 * r;
        const int first = std::clamp(m_top - top, 0, 8), last = std::clamp(m_bottom - top, 0, 8);
        if (!m_den || first >= last)
            continue;
        std::array<TColor*, 8> out{};
        for (int y = first; y < last; ++y)
            out[std::size_t(y)] = rows[top + y] + start;
        drawCharacterRow(r, first, last, out.data(), fg.data() + 8 * r);
    }
    for (int row = m_top; m_den && row < m_bottom; ++row) {
        const int line = row - kDisplayTop - m_yshift;
        finishRow(row, rows[row], line >= 0 && line < kDisplayHeight ? fg[std::size_t(line)].data() : nullptr,
                  nullptr);
    }
}

void Composer::drawLine(int row, TColor* out, std::int8_t* owner) const {
    std::fill(owner, owner + kFrameWidth, std::int8_t(-1));
    if (borderRow(row)) {
        std::memcpy(out, m_borderRow.data(), sizeof(TColor) * kFrameWidth);
        return;
    }
    std::memcpy(out + kDisplayLeft, m_backgroundRow.data(), sizeof(TColor) * kDisplayWidth);
    const int line = row - kDisplayTop - m_yshift;
    std::array<CellBytes, 8> fg;
    const bool graphics = line >= 0 && line < kDisplayHeight;
    if (graphics) {
        std::array<TColor*, 8> rows{};
        rows[std::size_t(line & 7)] = out + kDisplayLeft + m_xscroll;
        drawCharacterRow(line >> 3, line & 7, (line & 7) + 1, rows.data(), fg.data());
    }
    finishRow(row, out, graphics ? fg[std::size_t(line & 7)].data() : nullptr, owner);
}

void Composer::finishRow(int row, TColor* out, const std::uint8_t* fg, std::int8_t* owner) const {
    if (m_anySprite) {
        drawSprites(row, out, fg, false);
        if (owner) {
            std::array<TColor, kFrameWidth> owners;
            owners.fill(TColor(-1));
            drawSprites(row, owners.data(), fg, true);
            for (int x = m_left; x < m_right; ++x)
                owner[x] = std::int8_t(owners[std::size_t(x)]);
        }
    }
    // The border covers sprites and what XSCROLL pushed past the right edge.
    std::memcpy(out, m_borderRow.data(), sizeof(TColor) * std::size_t(m_left));
    std::memcpy(out + m_right, m_borderRow.data(), sizeof(TColor) * std::size_t(kFrameWidth - m_right));
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
    Raster frame;
    Raster& target = options.border ? picture : frame;
    if (target.width() != kFrameWidth || target.height() != kFrameHeight)
        target.reset(kFrameWidth, kFrameHeight);
    std::array<TColor*, kFrameHeight> rows;
    for (int row = 0; row < kFrameHeight; ++row)
        rows[std::size_t(row)] = target.row(row);
    composer.drawFrame(rows.data());
    if (!options.border) {
        if (picture.width() != kDisplayWidth || picture.height() != kDisplayHeight)
            picture.reset(kDisplayWidth, kDisplayHeight);
        for (int row = 0; row < kDisplayHeight; ++row)
            std::memcpy(picture.row(row), frame.row(kDisplayTop + row) + kDisplayLeft,
                        sizeof(TColor) * kDisplayWidth);
    }
    return composer.romMissing();
}

ComposedScreen ComposeScreen(const MemoryImage& ram, const MachineState& state,
                             std::span<const std::uint8_t> characterRom, const PaletteTable& palette,
                             const ComposeOptions& options) {
    ComposedScreen composed;
    composed.characterRomMissing =
        ComposeScreenInto(composed.picture, ram, state, characterRom, palette, options);
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
                  c.row, c.bitmapMode ? "screen byte" : "screen code", c.screenCode,
                  unsigned(c.screenAddress), c.bitmapMode ? "bitmap" : "glyph", unsigned(c.graphicsAddress),
                  c.graphicsInRom ? " (ROM)" : "", c.colour);
    return text;
}

} // namespace mosaiqua
