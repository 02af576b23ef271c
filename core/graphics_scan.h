#pragma once

#include "memory_image.h"

#include <array>
#include <cstdint>
#include <vector>

namespace mosaiqua {

inline constexpr int kSpriteCells = 1024; // 64-byte cells in $0000-$FFFF
inline constexpr int kCharSetBlocks = 32; // 2 KB blocks in $0000-$FFFF
inline constexpr int kCharSetBlockBytes = 2048;

// How likely each place in memory is to hold graphics, each score in 0..1.
struct GraphicsScores {
    std::array<float, kSpriteCells> sprites{};    // cell i: the 64 bytes from i * $40
    std::array<float, kCharSetBlocks> charsets{}; // block i: the 2 KB from i * $800
};

struct GraphicsCandidate {
    std::int32_t address = 0;
    float score = 0;
    friend bool operator==(const GraphicsCandidate&, const GraphicsCandidate&) = default;
};

// Sprite-likeness of the 63 bytes (plus padding byte) of one cell, 0 = not graphics.
float ScoreSpriteCell(const MemoryImage& image, int cell);
// Character-set-likeness of one 2 KB block of 256 characters.
float ScoreCharSetBlock(const MemoryImage& image, int block);
// Every cell and block of the first 64 KB.
GraphicsScores ScoreGraphics(const MemoryImage& image);

// Best first; equal scores in address order. Cells or blocks scoring 0 are left out, and at most
// `limit` are returned (negative: all).
std::vector<GraphicsCandidate> SpriteCandidates(const GraphicsScores& scores, int limit = -1);
std::vector<GraphicsCandidate> CharSetCandidates(const GraphicsScores& scores, int limit = -1);

} // namespace mosaiqua
