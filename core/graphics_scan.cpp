#include "graphics_scan.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdlib>

namespace mosaiqua {

namespace {

float clamp01(float v) {
    return std::clamp(v, 0.0f, 1.0f);
}

// 0 below `low`, 1 above `high`, linear between.
float ramp(float v, float low, float high) {
    return clamp01((v - low) / (high - low));
}

// Table lookups: the scoring runs over all of memory, and a portable build has no popcount instruction.
constexpr std::array<std::uint8_t, 256> kBitCounts = [] {
    std::array<std::uint8_t, 256> table{};
    for (int v = 0; v < 256; ++v)
        table[std::size_t(v)] = std::uint8_t(std::popcount(unsigned(v)));
    return table;
}();

int bitsOf(std::uint32_t v) {
    return kBitCounts[v & 0xFF] + kBitCounts[(v >> 8) & 0xFF] + kBitCounts[(v >> 16) & 0xFF];
}

// Shared pixels over all set pixels of two rows: near 1 where one row continues the other, about a
// third for unrelated bytes.
struct Continuity {
    int shared = 0;
    int either = 0;
    void add(std::uint32_t a, std::uint32_t b) {
        shared += bitsOf(a & b);
        either += bitsOf(a | b);
    }
    float value() const { return either == 0 ? 0.0f : float(shared) / float(either); }
};

// 6502 fingerprints: absolute-addressed instructions with a plausible high byte, an immediate load
// followed by a store, short backward branches, RTS followed by a routine's first instruction.
// Graphics rarely line up like that.
enum OpcodeClass : std::uint8_t {
    kAbsolute = 1,
    kImmediateLoad = 2,
    kStore = 4,
    kBranch = 8,
    kRoutineStart = 16
};

constexpr std::array<std::uint8_t, 256> kOpcodeClasses = [] {
    std::array<std::uint8_t, 256> table{};
    // JSR, JMP, JMP (), LDA/STA/LDX/STX/LDY/STY absolute and indexed, INC, DEC, CMP, ADC, SBC, AND, ORA
    for (int op : {0x20, 0x4C, 0x6C, 0xAD, 0xBD, 0xB9, 0x8D, 0x9D, 0x99, 0xAE, 0xBE,
                   0x8E, 0xAC, 0xBC, 0x8C, 0xEE, 0xCE, 0xCD, 0x6D, 0xED, 0x2D, 0x0D})
        table[std::size_t(op)] |= kAbsolute;
    for (int op : {0xA9, 0xA2, 0xA0})
        table[std::size_t(op)] |= kImmediateLoad | kRoutineStart;
    for (int op : {0x20, 0xAD})
        table[std::size_t(op)] |= kRoutineStart;
    for (int op : {0x8D, 0x8E, 0x8C, 0x85, 0x86, 0x84, 0x9D, 0x99})
        table[std::size_t(op)] |= kStore;
    for (int op : {0xD0, 0xF0, 0x90, 0xB0, 0x10, 0x30})
        table[std::size_t(op)] |= kBranch;
    return table;
}();

// Counts code fingerprints starting in b[0..n); reads up to two bytes beyond, which must exist.
int codeHits(const std::uint8_t* b, int n) {
    int hits = 0;
    for (int i = 0; i < n; ++i) {
        const std::uint8_t op = b[i];
        const std::uint8_t kind = kOpcodeClasses[op];
        if (kind == 0 && op != 0x60)
            continue;
        if ((kind & kAbsolute) && b[i + 2] >= 0x02 && b[i + 2] != 0xFF && (b[i + 1] | b[i + 2]) != 0 &&
            b[i + 1] != b[i + 2])
            ++hits;
        else if ((kind & kImmediateLoad) && (kOpcodeClasses[b[i + 2]] & kStore))
            hits += 2;
        else if ((kind & kBranch) && b[i + 1] >= 0xE0 && b[i + 1] != 0xFF)
            ++hits;
        else if (op == 0x60 && (kOpcodeClasses[b[i + 1]] & kRoutineStart))
            ++hits; // RTS and the next routine's first instruction
    }
    return hits;
}

// Letters, digits, punctuation and spaces in ASCII/PETSCII or as screen codes.
constexpr std::array<bool, 256> kTextBytes = [] {
    std::array<bool, 256> table{};
    for (int v = 0; v < 256; ++v)
        table[std::size_t(v)] = (v >= 0x41 && v <= 0x5A) || (v >= 0x61 && v <= 0x7A) ||
                                (v >= 0x01 && v <= 0x1A) || v == 0x20 || (v >= 0x2C && v <= 0x3A) ||
                                v == 0x21 || v == 0x3F || v == 0x0D;
    return table;
}();
bool isTextByte(std::uint8_t v) {
    return kTextBytes[v];
}

// Runs of equal non-zero steps or smooth curves, as lookup tables have.
int tableSteps(const std::uint8_t* b, int n) {
    int steps = 0;
    for (int i = 2; i < n; ++i) {
        const int d1 = std::int8_t(std::uint8_t(b[i] - b[i - 1]));
        const int d0 = std::int8_t(std::uint8_t(b[i - 1] - b[i - 2]));
        if (d1 != 0 && d0 != 0 && (d1 > 0) == (d0 > 0) && std::abs(d1 - d0) <= 2)
            ++steps;
    }
    return steps;
}

// 16-byte stretches that only climb (or only fall) by at least 4 overall, as ramps and halved
// or high-byte tables do.
int monotoneStretches(const std::uint8_t* b, int n) {
    int stretches = 0;
    for (int s = 0; s + 16 <= n; s += 16) {
        bool up = true, down = true;
        for (int i = s + 1; i < s + 16; ++i) {
            up = up && b[i] >= b[i - 1];
            down = down && b[i] <= b[i - 1];
        }
        stretches += (up || down) && std::abs(int(b[s + 15]) - int(b[s])) >= 4;
    }
    return stretches;
}

// Weights of the sprite evidence, fitted (logistic regression) on memory images built from real games'
// code, packed files, tile maps, bitmaps, character sets and sprite sheets. Inputs in 0..1.
enum SpriteFeature {
    kBias,
    kZeroBytes,    // share of zero bytes: sprites leave most of their 24 x 21 empty
    kFill,         // share of set pixels
    kLowFill,      // a few pixels at least
    kRowsHiRes,    // rows that continue each other, one pixel per bit
    kRowsMulti,    // ... one pixel per bit pair
    kSameColours,  // multicolour pixels with the same colour below them
    kColumns,      // the worst of the three byte columns at continuing downwards
    kCharRhythm,   // bytes continuing the next byte more than the one below: characters, bitmaps
    kEqualBelow,   // bytes equal to the byte below them
    kEmptyRows,    // blank rows above, below or between
    kRowRuns,      // separate stretches of drawn rows
    kRaggedEdges,  // how far each row's left and right edge jumps from the row above
    kDistinct,     // different byte values: packed data uses them all
    kZeroPadding,  // the 64th byte is zero
    kEmptyColumns, // byte columns left empty, as narrow shapes have
    kCode,         // 6502 instruction fingerprints
    kText,         // letters, digits and spaces with hardly a zero byte: text and screen memory
    kSpriteFeatures
};
constexpr std::array<float, kSpriteFeatures> kSpriteWeights{
    -0.114f, 3.481f,  -3.194f, 0.207f,  0.071f, 0.603f,  1.221f, -0.124f, -4.539f,
    0.070f,  -0.684f, -0.519f, -2.033f, 0.664f, -0.716f, 1.314f, -3.973f, -1.962f};

// The same for a cell among its neighbours: sheets come in runs, and SpritePad keeps one attribute
// byte per sprite in the 64th byte, alike through a sheet.
enum ContextFeature {
    kContextBias,
    kOwn,
    kBestNeighbour, // empty neighbours count as neither sprite nor not: a lone sprite is still one
    kWorstNeighbour,
    kBestSecondNeighbour,
    kAttributeRun,
    kZeroPaddingRun,
    kEmptyNeighbours,
    kContextFeatures
};
constexpr std::array<float, kContextFeatures> kContextWeights{-0.856f, 3.932f, 3.258f,  2.773f,
                                                              3.473f,  0.996f, -0.633f, -1.470f};

constexpr float kNoEvidence = -8.0f; // the logit of an empty cell and of beyond memory

float logistic(float z) {
    return 1.0f / (1.0f + std::exp(-z));
}

// A row in the multicolour reading: the low bit of each pixel pair that is not background.
std::uint32_t multicolourMask(std::uint32_t row) {
    return (row | row >> 1) & 0x555555u;
}

// Log-odds that a cell holds a sprite from its own 64 bytes; kNoEvidence when empty or one byte repeated.
float spriteLogit(const std::uint8_t* b) {
    int nonZero = 0, setBits = 0, distinct = 0, textBytes = 0;
    std::array<std::uint64_t, 4> seen{};
    for (int i = 0; i < 63; ++i) {
        nonZero += b[i] != 0;
        textBytes += isTextByte(b[i]);
        setBits += kBitCounts[b[i]];
        const std::uint64_t bit = std::uint64_t(1) << (b[i] & 63);
        distinct += (seen[b[i] >> 6] & bit) == 0;
        seen[b[i] >> 6] |= bit;
    }
    if (nonZero == 0 || distinct < 2)
        return kNoEvidence;

    std::array<std::uint32_t, 21> rows{};
    for (int r = 0; r < 21; ++r)
        rows[std::size_t(r)] =
            std::uint32_t(b[3 * r]) << 16 | std::uint32_t(b[3 * r + 1]) << 8 | b[3 * r + 2];
    Continuity hiRes, multi;
    int sameColour = 0, colourPixels = 0;
    for (int r = 0; r + 1 < 21; ++r) {
        const std::uint32_t above = rows[std::size_t(r)], below = rows[std::size_t(r + 1)];
        hiRes.add(above, below);
        multi.add(multicolourMask(above), multicolourMask(below));
        const std::uint32_t drawn = multicolourMask(above);
        const std::uint32_t equal = ~(above ^ below);
        colourPixels += bitsOf(drawn);
        sameColour += bitsOf(equal & equal >> 1 & drawn);
    }
    float worstColumn = 1.0f;
    int emptyColumns = 0;
    for (int c = 0; c < 3; ++c) {
        Continuity column;
        bool drawn = b[c] != 0;
        for (int r = 0; r + 1 < 21; ++r) {
            column.add(b[3 * r + c], b[3 * r + 3 + c]);
            drawn = drawn || b[3 * r + 3 + c] != 0;
        }
        if (drawn)
            worstColumn = std::min(worstColumn, column.value());
        else
            ++emptyColumns;
    }
    Continuity across, stacked;
    for (int i = 0; i + 1 < 63; ++i)
        if (i % 3 != 2)
            across.add(b[i], b[i + 1]);
    int equalBelow = 0, pairsBelow = 0;
    for (int i = 0; i + 3 < 63; ++i) {
        stacked.add(b[i], b[i + 3]);
        if ((b[i] | b[i + 3]) != 0) {
            ++pairsBelow;
            equalBelow += b[i] == b[i + 3];
        }
    }
    int emptyRows = 0, runs = 0, edgeSteps = 0, edgeMoves = 0;
    int lastLeft = -1, lastRight = -1;
    for (int r = 0; r < 21; ++r) {
        const std::uint32_t row = rows[std::size_t(r)];
        if (row == 0) {
            ++emptyRows;
            continue;
        }
        runs += r == 0 || rows[std::size_t(r - 1)] == 0;
        const int left = std::countl_zero(row << 8);
        const int right = std::countr_zero(row);
        if (lastLeft >= 0) {
            edgeMoves += std::abs(left - lastLeft) + std::abs(right - lastRight);
            ++edgeSteps;
        }
        lastLeft = left;
        lastRight = right;
    }
    const float ragged = edgeSteps == 0 ? 24.0f : float(edgeMoves) / float(edgeSteps);

    std::array<float, kSpriteFeatures> x{};
    x[kBias] = 1;
    x[kZeroBytes] = 1.0f - float(nonZero) / 63.0f;
    x[kFill] = float(setBits) / 504.0f;
    x[kLowFill] = std::min(x[kFill], 0.05f) * 20.0f;
    x[kRowsHiRes] = hiRes.value();
    x[kRowsMulti] = multi.value();
    x[kSameColours] = colourPixels == 0 ? 0.0f : float(sameColour) / float(colourPixels);
    x[kColumns] = worstColumn;
    x[kCharRhythm] = across.value() - stacked.value();
    x[kEqualBelow] = pairsBelow == 0 ? 0.0f : float(equalBelow) / float(pairsBelow);
    x[kEmptyRows] = float(emptyRows) / 21.0f;
    x[kRowRuns] = float(std::min(runs, 3)) / 3.0f;
    x[kRaggedEdges] = std::min(ragged, 12.0f) / 12.0f;
    x[kDistinct] = float(distinct) / 63.0f;
    x[kZeroPadding] = b[63] == 0 ? 1.0f : 0.0f;
    x[kEmptyColumns] = float(emptyColumns) / 3.0f;
    x[kCode] = float(std::min(codeHits(b, 64), 8)) / 8.0f;
    x[kText] = ramp(float(textBytes) / 63.0f, 0.6f, 0.9f) * (1.0f - ramp(x[kZeroBytes], 0.1f, 0.3f));
    float z = 0;
    for (int f = 0; f < kSpriteFeatures; ++f)
        z += kSpriteWeights[std::size_t(f)] * x[std::size_t(f)];
    // Text screens run on and on, so that neighbours would vouch for them: text is all but vetoed.
    return std::clamp(z - 16.0f * x[kText], kNoEvidence, -kNoEvidence);
}

} // namespace

float ScoreSpriteCell(const MemoryImage& image, int cell) {
    if (cell < 0 || cell >= kSpriteCells)
        return 0;
    const float z = spriteLogit(image.data() + std::size_t(cell) * 64); // the store reaches past $FFFF + 2
    return z <= kNoEvidence ? 0.0f : logistic(z);
}

namespace {

// Character-set-likeness of the first `characters` characters at b (256 or 128: a game's set often
// fills only the first half of its 2 KB, and the rest holds anything).
float charSetLikeness(const std::uint8_t* b, int characters) {
    const int bytes = characters * 8;
    int drawn = 0;  // characters neither empty, solid nor one byte repeated
    int framed = 0; // ... whose top or bottom row is a plain row, as letters have
    float shapeSum = 0;
    int zeroBytes = 0;
    int textBytes = 0;
    std::vector<std::uint64_t> shapes;
    shapes.reserve(std::size_t(characters));
    for (int c = 0; c < characters; ++c) {
        const std::uint8_t* ch = b + 8 * c;
        std::uint64_t whole = 0;
        Continuity hiRes, multi;
        int bits = 0;
        bool stripes = true; // every row alike: a table column more often than a character
        for (int r = 0; r < 8; ++r) {
            whole = whole << 8 | ch[r];
            bits += kBitCounts[ch[r]];
            zeroBytes += ch[r] == 0;
            textBytes += isTextByte(ch[r]);
            stripes = stripes && ch[r] == ch[0];
            if (r < 7) {
                hiRes.add(ch[r], ch[r + 1]);
                multi.add(multicolourMask(ch[r]), multicolourMask(ch[r + 1]));
            }
        }
        if (bits == 0 || bits == 64 || stripes)
            continue;
        ++drawn;
        shapes.push_back(whole);
        const bool plainEdge = ch[0] == 0 || ch[7] == 0 || ch[0] == 0xFF || ch[7] == 0xFF;
        framed += plainEdge;
        const float fill = float(bits) / 64.0f;
        const float fillFactor = fill > 0.85f ? (1.0f - fill) / 0.15f : 1.0f;
        // Multicolour characters continue in pixel pairs rather than in single pixels.
        const float rows = std::max(ramp(hiRes.value(), 0.3f, 0.75f), ramp(multi.value(), 0.45f, 0.85f));
        shapeSum += rows * fillFactor;
    }
    if (drawn < characters / 32)
        return 0;
    std::sort(shapes.begin(), shapes.end());
    const int distinct = int(std::unique(shapes.begin(), shapes.end()) - shapes.begin());

    const float shape = shapeSum / float(std::max(drawn, characters / 4));
    const float variety = ramp(float(distinct), 8.0f, float(characters) / 4.0f);
    const float letters = drawn == 0 ? 0.0f : float(framed) / float(drawn);
    int inverse = 0; // the second half often repeats the first reversed
    if (characters == 256)
        for (int i = 0; i < 1024; ++i)
            inverse += std::uint8_t(~b[i]) == b[i + 1024];
    const float reversed = ramp(float(inverse) / 1024.0f, 0.5f, 0.95f);

    const float code = ramp(float(codeHits(b, bytes)) / float(bytes), 0.06f, 0.14f);
    const float zeroShare = float(zeroBytes) / float(bytes);
    const float text =
        ramp(float(textBytes) / float(bytes), 0.6f, 0.9f) * (1.0f - ramp(zeroShare, 0.08f, 0.25f));
    const float table = std::max(ramp(float(tableSteps(b, bytes)) / float(bytes), 0.15f, 0.4f),
                                 ramp(float(monotoneStretches(b, bytes)) / float(bytes / 16), 0.05f, 0.25f));

    const float base = shape * variety * (0.75f + 0.15f * letters + 0.1f * reversed);
    return clamp01(base * (1.0f - code) * (1.0f - text) * (1.0f - table));
}

} // namespace

float ScoreCharSetBlock(const MemoryImage& image, int block) {
    if (block < 0 || block >= kCharSetBlocks)
        return 0;
    const std::uint8_t* b = image.data() + std::size_t(block) * kCharSetBlockBytes;
    // Half a set counts a little less than a whole one, so that of two equal sets the full one leads.
    return std::max(charSetLikeness(b, 256), 0.9f * charSetLikeness(b, 128));
}

GraphicsScores ScoreGraphics(const MemoryImage& image) {
    GraphicsScores scores;
    std::array<float, kSpriteCells> own{};
    for (int i = 0; i < kSpriteCells; ++i)
        own[std::size_t(i)] = spriteLogit(image.data() + std::size_t(i) * 64);
    const auto drawnAt = [&](int i) {
        return i >= 0 && i < kSpriteCells && own[std::size_t(i)] > kNoEvidence;
    };
    const auto ownAt = [&](int i) { return drawnAt(i) ? own[std::size_t(i)] : 0.0f; };
    const auto attributeAt = [&](int i) {
        return i >= 0 && i < kSpriteCells ? int(image.byteAt(i * 64 + 63)) : -1;
    };
    for (int i = 0; i < kSpriteCells; ++i) {
        if (own[std::size_t(i)] <= kNoEvidence)
            continue; // nothing drawn: 0 whatever its neighbours are
        const int attribute = attributeAt(i), before = attributeAt(i - 1), after = attributeAt(i + 1);
        std::array<float, kContextFeatures> x{};
        x[kContextBias] = 1;
        x[kOwn] = own[std::size_t(i)] / 8.0f;
        x[kBestNeighbour] = std::max(ownAt(i - 1), ownAt(i + 1)) / 8.0f;
        x[kWorstNeighbour] = std::min(ownAt(i - 1), ownAt(i + 1)) / 8.0f;
        x[kBestSecondNeighbour] = std::max(ownAt(i - 2), ownAt(i + 2)) / 8.0f;
        x[kAttributeRun] = attribute != 0 && (attribute == before || attribute == after) ? 1.0f : 0.0f;
        x[kZeroPaddingRun] = attribute == 0 && before == 0 && after == 0 ? 1.0f : 0.0f;
        x[kEmptyNeighbours] = float(!drawnAt(i - 1) + !drawnAt(i + 1)) / 2.0f;
        float z = 0;
        for (int f = 0; f < kContextFeatures; ++f)
            z += kContextWeights[std::size_t(f)] * x[std::size_t(f)];
        scores.sprites[std::size_t(i)] = logistic(z);
    }
    for (int i = 0; i < kCharSetBlocks; ++i)
        scores.charsets[std::size_t(i)] = ScoreCharSetBlock(image, i);
    return scores;
}

namespace {

template <std::size_t N>
std::vector<GraphicsCandidate> ranked(const std::array<float, N>& scores, std::int32_t stride, int limit) {
    std::vector<GraphicsCandidate> list;
    for (std::size_t i = 0; i < N; ++i)
        if (scores[i] > 0)
            list.push_back({std::int32_t(i) * stride, scores[i]});
    std::stable_sort(list.begin(), list.end(), [](const GraphicsCandidate& a, const GraphicsCandidate& b) {
        return a.score > b.score;
    });
    if (limit >= 0 && list.size() > std::size_t(limit))
        list.resize(std::size_t(limit));
    return list;
}

} // namespace

std::vector<GraphicsCandidate> SpriteCandidates(const GraphicsScores& scores, int limit) {
    return ranked(scores.sprites, 64, limit);
}

std::vector<GraphicsCandidate> CharSetCandidates(const GraphicsScores& scores, int limit) {
    return ranked(scores.charsets, kCharSetBlockBytes, limit);
}

} // namespace mosaiqua
