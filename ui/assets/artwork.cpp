#include "ui/assets/artwork.h"

#include "core/colours.h"

#include <QPainter>

#include <array>
#include <initializer_list>
#include <string_view>

namespace {

// VIC-II colour codes.
enum Vic : int {
    Black = 0,
    White = 1,
    Red = 2,
    Cyan = 3,
    Purple = 4,
    Green = 5,
    Blue = 6,
    Yellow = 7,
    Orange = 8,
    Brown = 9,
    LightRed = 10,
    DarkGrey = 11,
    Grey = 12,
    LightGreen = 13,
    LightBlue = 14,
    LightGrey = 15,
};

QColor VicColour(int code) {
    const mosaiqua::TColor c = mosaiqua::Ccs64Table[std::size_t(code)];
    return QColor(mosaiqua::RedOf(c), mosaiqua::GreenOf(c), mosaiqua::BlueOf(c));
}

QPixmap Blank(int width, int height) {
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void Dot(QPainter& p, int x, int y, int code) {
    p.fillRect(x, y, 1, 1, VicColour(code));
}

// Draws rows of a picture: any character but '.' and ' ' is painted in `code`.
void Pattern(QPainter& p, int left, int top, std::initializer_list<std::string_view> rows, int code,
             int scale) {
    int y = 0;
    for (std::string_view row : rows) {
        for (int x = 0; x < int(row.size()); ++x) {
            if (row[std::size_t(x)] != '.' && row[std::size_t(x)] != ' ') {
                p.fillRect(left + x * scale, top + y * scale, scale, scale, VicColour(code));
            }
        }
        ++y;
    }
}

// --- Our pixel font: 7 rows above the baseline, 2 below; strokes two pixels wide. ---

struct Glyph {
    char letter;
    std::array<std::string_view, 9> rows;
};

constexpr std::string_view kNone = "";

constexpr std::array<Glyph, 13> kGlyphs = {{
    {'M', {"XX...XX", "XXX.XXX", "XXXXXXX", "XX.X.XX", "XX...XX", "XX...XX", "XX...XX", kNone, kNone}},
    {'O', {".XXXXX.", "XX...XX", "XX...XX", "XX...XX", "XX...XX", "XX...XX", ".XXXXX.", kNone, kNone}},
    {'S', {".XXXXX.", "XX...XX", "XX.....", ".XXXXX.", ".....XX", "XX...XX", ".XXXXX.", kNone, kNone}},
    {'A', {"..XXX..", ".XX.XX.", "XX...XX", "XX...XX", "XXXXXXX", "XX...XX", "XX...XX", kNone, kNone}},
    {'I', {"XXXXXX", "..XX..", "..XX..", "..XX..", "..XX..", "..XX..", "XXXXXX", kNone, kNone}},
    {'Q', {".XXXXX.", "XX...XX", "XX...XX", "XX...XX", "XX.X.XX", "XX..XX.", ".XXX.XX", kNone, kNone}},
    {'U', {"XX...XX", "XX...XX", "XX...XX", "XX...XX", "XX...XX", "XX...XX", ".XXXXX.", kNone, kNone}},
    {'o', {kNone, kNone, ".XXXXX.", "XX...XX", "XX...XX", "XX...XX", ".XXXXX.", kNone, kNone}},
    {'s', {kNone, kNone, ".XXXXXX", "XX.....", ".XXXXX.", ".....XX", "XXXXXX.", kNone, kNone}},
    {'a', {kNone, kNone, ".XXXXX.", ".....XX", ".XXXXXX", "XX...XX", ".XXXXXX", kNone, kNone}},
    {'i', {".XX.", kNone, "XXX.", ".XX.", ".XX.", ".XX.", "XXXX", kNone, kNone}},
    {'q', {kNone, kNone, ".XXXXXX", "XX...XX", "XX...XX", "XX...XX", ".XXXXXX", ".....XX", ".....XX"}},
    {'u', {kNone, kNone, "XX...XX", "XX...XX", "XX...XX", "XX...XX", ".XXXXXX", kNone, kNone}},
}};

const Glyph* GlyphFor(char letter) {
    for (const Glyph& glyph : kGlyphs) {
        if (glyph.letter == letter) {
            return &glyph;
        }
    }
    return nullptr;
}

int GlyphWidth(const Glyph& glyph) {
    int width = 0;
    for (std::string_view row : glyph.rows) {
        width = std::max(width, int(row.size()));
    }
    return width;
}

// Paints a letter with its top-left at (left, top); returns its width in font pixels.
int PaintGlyph(QPainter& p, int left, int top, char letter, int code, int scale) {
    const Glyph* glyph = GlyphFor(letter);
    if (glyph == nullptr) {
        return 0;
    }
    for (int y = 0; y < int(glyph->rows.size()); ++y) {
        const std::string_view row = glyph->rows[std::size_t(y)];
        for (int x = 0; x < int(row.size()); ++x) {
            if (row[std::size_t(x)] == 'X') {
                p.fillRect(left + x * scale, top + y * scale, scale, scale, VicColour(code));
            }
        }
    }
    return GlyphWidth(*glyph);
}

// A horizontal raster bar: one colour per line, from `codes`.
void RasterBar(QPainter& p, int left, int top, int width, std::initializer_list<int> codes) {
    int y = top;
    for (int code : codes) {
        p.fillRect(left, y++, width, 1, VicColour(code));
    }
}

// --- The mosaic "M": 8 x 8 tiles, shared by the icon and the banner. ---

constexpr std::array<std::string_view, 8> kMosaic = {
    "........", "MM....MM", "MMM..MMM", "MM.MM.MM", "MM....MM", "MM....MM", "MM....MM", "........",
};

// Each row of the "M" its own colour, warm at the top, cool at the foot.
constexpr std::array<int, 8> kRowColours = {Blue, White, Yellow, LightGreen, Cyan, LightRed, LightBlue, Blue};

int TileColour(int row, int column) {
    if (kMosaic[std::size_t(row)][std::size_t(column)] == 'M') {
        return kRowColours[std::size_t(row)];
    }
    return Blue;
}

// Tiles of about `size` / 8 pixels; from 32 up they are set in dark grout, from 48 up glazed.
void PaintMosaic(QPainter& p, int left, int top, int size) {
    const int grout = size >= 256 ? 3 : size >= 32 ? 1 : 0;
    const int lead = (grout + 1) / 2;
    const int trail = grout / 2;
    auto edge = [size](int i) { return i * size / 8; };
    p.fillRect(left, top, size, size, VicColour(Black));
    for (int row = 0; row < 8; ++row) {
        for (int column = 0; column < 8; ++column) {
            const QColor colour = VicColour(TileColour(row, column));
            const QRect body(QPoint(left + edge(column) + lead, top + edge(row) + lead),
                             QPoint(left + edge(column + 1) - trail - 1, top + edge(row + 1) - trail - 1));
            p.fillRect(body, colour);
            if (size >= 48) {
                const int glaze = std::max(1, body.width() / 10);
                const QColor light = colour.lighter(140);
                const QColor dark = colour.darker(150);
                p.fillRect(body.left(), body.top(), body.width(), glaze, light);
                p.fillRect(body.left(), body.top(), glaze, body.height(), light);
                p.fillRect(body.left(), body.bottom() - glaze + 1, body.width(), glaze, dark);
                p.fillRect(body.right() - glaze + 1, body.top(), glaze, body.height(), dark);
            }
        }
    }
}

} // namespace

QPixmap BentArrowPixmap(bool pointsRight) {
    // Drawn dropping and turning left; turned half round for the other way.
    constexpr std::array<std::string_view, 17> kBody = {
        ".................", "............XX...", "............XX...", "............XX...",
        "............XX...", "............XX...", ".....X......XX...", "....XX......XX...",
        "...XXX......XX...", "..XXXXXXXXXXXX...", "..XXXXXXXXXXXX...", "...XXX...........",
        "....XX...........", ".....X...........", ".................", ".................",
        ".................",
    };
    auto inBody = [&](int x, int y) {
        if (pointsRight) {
            x = 16 - x;
            y = 16 - y;
        }
        return x >= 0 && y >= 0 && x < 17 && y < 17 && kBody[std::size_t(y)][std::size_t(x)] == 'X';
    };
    auto besideBody = [&](int x, int y) {
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                if (inBody(x + dx, y + dy)) {
                    return true;
                }
            }
        }
        return false;
    };
    QPixmap pixmap = Blank(17, 17);
    QPainter p(&pixmap);
    for (int y = 0; y < 17; ++y) {
        for (int x = 0; x < 17; ++x) {
            // A dark rim keeps the arrow crisp on any background.
            if (inBody(x, y)) {
                Dot(p, x, y, LightBlue);
            } else if (besideBody(x, y)) {
                Dot(p, x, y, Blue);
            }
        }
    }
    return pixmap;
}

QPixmap DecorativePixmap() {
    constexpr int kWidth = 49;
    constexpr int kHeight = 233;
    QPixmap pixmap(kWidth, kHeight);
    pixmap.fill(VicColour(LightBlue));
    QPainter p(&pixmap);
    const QRect screen(4, 4, kWidth - 8, kHeight - 8);
    p.fillRect(screen, VicColour(Blue));

    RasterBar(p, screen.left(), 8, screen.width(),
              {Brown, Red, Orange, LightRed, Yellow, White, Yellow, LightRed, Orange, Red, Brown});
    const std::initializer_list<std::string_view> invader = {
        "...XX...", "..XXXX..", ".XX..XX.", "XXXXXXXX", "X.XXXX.X", "..X..X..", ".X....X.", "X......X",
    };
    Pattern(p, 16, 24, invader, LightGreen, 2);

    // The name, downwards, one colour per letter.
    constexpr std::string_view kName = "MOSAIQUA";
    constexpr std::array<int, 8> kLetterColours = {LightRed, Yellow, LightGreen, Cyan,
                                                   White,    Cyan,   LightGreen, Yellow};
    int top = 46;
    for (std::size_t i = 0; i < kName.size(); ++i) {
        const Glyph* glyph = GlyphFor(kName[i]);
        const int left = (kWidth - GlyphWidth(*glyph) * 2) / 2;
        PaintGlyph(p, left + 1, top + 1, kName[i], Black, 2);
        PaintGlyph(p, left, top, kName[i], kLetterColours[i], 2);
        top += 7 * 2 + 3;
    }

    const std::initializer_list<std::string_view> diamond = {
        "...XX...", "..XXXX..", ".XXXXXX.", "XXXXXXXX", "XXXXXXXX", ".XXXXXX.", "..XXXX..", "...XX...",
    };
    Pattern(p, 16, 186, diamond, Cyan, 2);
    Pattern(p, 18, 188, {"XX", "X."}, White, 2);
    RasterBar(p, screen.left(), 208, screen.width(), {Blue, LightBlue, Cyan, White, Cyan, LightBlue, Blue});
    RasterBar(p, screen.left(), 217, screen.width(),
              {Brown, Green, LightGreen, White, LightGreen, Green, Brown});
    return pixmap;
}

QPixmap ProgramIconPixmap(int size) {
    if (size <= 0) {
        return QPixmap();
    }
    QPixmap pixmap = Blank(size, size);
    QPainter p(&pixmap);
    PaintMosaic(p, 0, 0, size);
    return pixmap;
}

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 256}) {
        icon.addPixmap(ProgramIconPixmap(size));
    }
    return icon;
}

QPixmap BannerPixmap() {
    constexpr int kWidth = 265;
    constexpr int kHeight = 33;
    QPixmap pixmap(kWidth, kHeight);
    pixmap.fill(VicColour(Blue));
    QPainter p(&pixmap);
    PaintMosaic(p, 4, 4, 24);

    constexpr std::string_view kName = "Mosaiqua";
    constexpr int kScale = 3;
    int left = 38;
    for (char letter : kName) {
        PaintGlyph(p, left + 2, 3 + 2, letter, Black, kScale);
        const int width = PaintGlyph(p, left, 3, letter, White, kScale);
        left += (width + 1) * kScale;
    }

    // A rainbow of thin bars closes the line.
    constexpr std::array<int, 8> kBars = {Red, LightRed, Orange, Yellow, LightGreen, Cyan, LightBlue, Purple};
    for (std::size_t i = 0; i < kBars.size(); ++i) {
        p.fillRect(228 + int(i) * 4, 2, 3, kHeight - 4, VicColour(kBars[i]));
    }
    p.fillRect(0, 0, kWidth, 1, VicColour(LightBlue));
    p.fillRect(0, kHeight - 1, kWidth, 1, VicColour(LightBlue));
    return pixmap;
}
