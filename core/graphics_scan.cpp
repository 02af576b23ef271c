#include "graphics_scan.h"

#include <algorithm>
#include <bit>
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

constexpr std::array<std::uint8_t, 256> kReversedBytes = [] {
    std::array<std::uint8_t, 256> table{};
    for (int v = 0; v < 256; ++v)
        for (int bit = 0; bit < 8; ++bit)
            if (v & (1 << bit))
                table[std::size_t(v)] |= std::uint8_t(0x80 >> bit);
    return table;
}();

std::uint32_t reverse24(std::uint32_t v) {
    return std::uint32_t(kReversedBytes[v & 0xFF]) << 16 |
           std::uint32_t(kReversedBytes[(v >> 8) & 0xFF]) << 8 | kReversedBytes[(v >> 16) & 0xFF];
}

// Symmetry of a row set: mirrored pixels that match over all set pixels.
float mirrorSymmetry(const std::uint32_t* rows, int count) {
    Continuity c;
    for (int r = 0; r < count; ++r)
        if (rows[r] != 0) {
            // Centre the row's shape before mirroring, so a symmetric shape off-centre counts too.
            const int lead = std::countl_zero(rows[r] << 8);
            const int trail = std::countr_zero(rows[r]);
            const int shift = (trail - lead) / 2;
            const std::uint32_t centred = shift >= 0 ? rows[r] >> shift : (rows[r] << -shift) & 0xFFFFFF;
            c.add(centred, reverse24(centred));
        }
    return c.value();
}

} // namespace

float ScoreSpriteCell(const MemoryImage& image, int cell) {
    if (cell < 0 || cell >= kSpriteCells)
        return 0;
    const std::uint8_t* b = image.data() + std::size_t(cell) * 64; // the store reaches past $FFFF + 2

    int nonZero = 0;
    int setBits = 0;
    int textBytes = 0;
    std::array<std::uint64_t, 4> seen{};
    int distinct = 0;
    for (int i = 0; i < 63; ++i) {
        nonZero += b[i] != 0;
        setBits += kBitCounts[b[i]];
        textBytes += isTextByte(b[i]);
        const std::uint64_t bit = std::uint64_t(1) << (b[i] & 63);
        distinct += (seen[b[i] >> 6] & bit) == 0;
        seen[b[i] >> 6] |= bit;
    }
    if (nonZero == 0 || distinct < 2)
        return 0; // empty or one byte repeated: fill, not a shape

    // A shape on a set background (reversed characters, say) is measured by its clear pixels.
    const std::uint8_t flip = setBits > 252 ? 0xFF : 0x00;
    std::array<std::uint8_t, 63> v{};
    for (int i = 0; i < 63; ++i)
        v[std::size_t(i)] = b[i] ^ flip;
    std::array<std::uint32_t, 21> rows{};
    for (int r = 0; r < 21; ++r)
        rows[std::size_t(r)] = std::uint32_t(v[std::size_t(3 * r)]) << 16 |
                               std::uint32_t(v[std::size_t(3 * r + 1)]) << 8 | v[std::size_t(3 * r + 2)];
    Continuity down; // row to row, 24 pixels wide
    for (int r = 0; r + 1 < 21; ++r)
        down.add(rows[std::size_t(r)], rows[std::size_t(r + 1)]);
    Continuity across; // byte to next byte: character data continues there, sprites do not
    for (int i = 0; i + 1 < 63; ++i)
        if (i % 3 != 2)
            across.add(v[std::size_t(i)], v[std::size_t(i + 1)]);
    Continuity stacked; // byte to the byte below it
    for (int i = 0; i + 3 < 63; ++i)
        stacked.add(v[std::size_t(i)], v[std::size_t(i + 3)]);

    const float fill = float(setBits) / 504.0f;
    const float fillFactor = fill < 0.04f ? fill / 0.04f : (fill > 0.8f ? (1.0f - fill) / 0.2f : 1.0f);
    const float continuity = ramp(down.value(), 0.35f, 0.8f);
    const float charLike = ramp(across.value() - stacked.value(), 0.05f, 0.35f);
    const float symmetry = mirrorSymmetry(rows.data(), 21);
    const float padding = b[63] == 0 ? 1.0f : 0.0f;
    const int emptyRows = int(std::count(rows.begin(), rows.end(), 0u));
    const float someEmpty = emptyRows > 0 && emptyRows < 18 ? 1.0f : 0.0f;

    const float code = ramp(float(codeHits(b, 64)), 2.5f, 6.0f);
    const float zeroShare = float(63 - nonZero) / 63.0f;
    const float text = ramp(float(textBytes) / 63.0f, 0.6f, 0.9f) * (1.0f - ramp(zeroShare, 0.1f, 0.3f));
    const float table = ramp(float(tableSteps(b, 63)), 8.0f, 24.0f);

    const float shape =
        continuity * fillFactor * (0.7f + 0.12f * symmetry + 0.1f * padding + 0.08f * someEmpty);
    return clamp01(shape * (1.0f - 0.7f * charLike) * (1.0f - code) * (1.0f - text) * (1.0f - table));
}

float ScoreCharSetBlock(const MemoryImage& image, int block) {
    if (block < 0 || block >= kCharSetBlocks)
        return 0;
    const std::uint8_t* b = image.data() + std::size_t(block) * kCharSetBlockBytes;

    int drawn = 0;  // characters neither empty nor solid
    int framed = 0; // ... whose top or bottom row is a plain row, as letters have
    float shapeSum = 0;
    int zeroBytes = 0;
    int textBytes = 0;
    std::vector<std::uint64_t> shapes;
    shapes.reserve(256);
    for (int c = 0; c < 256; ++c) {
        const std::uint8_t* ch = b + 8 * c;
        std::uint64_t whole = 0;
        Continuity down;
        int bits = 0;
        for (int r = 0; r < 8; ++r) {
            whole = whole << 8 | ch[r];
            bits += kBitCounts[ch[r]];
            zeroBytes += ch[r] == 0;
            textBytes += isTextByte(ch[r]);
            if (r < 7)
                down.add(ch[r], ch[r + 1]);
        }
        if (bits == 0 || bits == 64)
            continue;
        ++drawn;
        shapes.push_back(whole);
        const bool plainEdge = ch[0] == 0 || ch[7] == 0 || ch[0] == 0xFF || ch[7] == 0xFF;
        framed += plainEdge;
        const float fill = float(bits) / 64.0f;
        const float fillFactor = fill > 0.85f ? (1.0f - fill) / 0.15f : 1.0f;
        shapeSum += ramp(down.value(), 0.3f, 0.75f) * fillFactor;
    }
    if (drawn < 8)
        return 0;
    std::sort(shapes.begin(), shapes.end());
    const int distinct = int(std::unique(shapes.begin(), shapes.end()) - shapes.begin());

    const float shape = shapeSum / float(drawn);
    const float variety = ramp(float(distinct), 8.0f, 64.0f);
    const float letters = float(framed) / float(drawn);
    int inverse = 0; // the second half often repeats the first reversed
    for (int i = 0; i < 1024; ++i)
        inverse += std::uint8_t(~b[i]) == b[i + 1024];
    const float reversed = ramp(float(inverse) / 1024.0f, 0.5f, 0.95f);

    const float code = ramp(float(codeHits(b, kCharSetBlockBytes)) / float(kCharSetBlockBytes), 0.06f, 0.14f);
    const float zeroShare = float(zeroBytes) / float(kCharSetBlockBytes);
    const float text = ramp(float(textBytes) / float(kCharSetBlockBytes), 0.6f, 0.9f) *
                       (1.0f - ramp(zeroShare, 0.08f, 0.25f));
    const float table =
        std::max(ramp(float(tableSteps(b, kCharSetBlockBytes)) / float(kCharSetBlockBytes), 0.15f, 0.4f),
                 ramp(float(monotoneStretches(b, kCharSetBlockBytes)) / 128.0f, 0.05f, 0.25f));

    const float base = shape * variety * (0.75f + 0.15f * letters + 0.1f * reversed);
    return clamp01(base * (1.0f - code) * (1.0f - text) * (1.0f - table));
}

GraphicsScores ScoreGraphics(const MemoryImage& image) {
    GraphicsScores scores;
    for (int i = 0; i < kSpriteCells; ++i)
        scores.sprites[std::size_t(i)] = ScoreSpriteCell(image, i);
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
