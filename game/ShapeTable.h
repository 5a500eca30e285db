// SPDX-FileCopyrightText: 2026 The Tessarin developers
//
// SPDX-License-Identifier: MIT

// Everything that differs between the four shapes apart from their geometry, and the
// twenty tunes that continue the same constant table.
#pragma once
#include <cstdint>

namespace tess {

constexpr int kTuneCount = 20;
constexpr int kTuneRowLength = 21;
constexpr int kTuneTableStart = 36;

// Rows maxLines, maxPieces, difficultyFactor (12 entries each, indexed by vertex count),
// then the tune table: 20 rows of 21 integers, row[0] the tune's length L, row[1..L] its
// note slots.
extern const std::int32_t shapeTable[kTuneTableStart + kTuneCount * kTuneRowLength];

// Texts spliced into the score note, indexed by vertex count (empty for other slots).
extern const char* const shapeNameText[12];
extern const char* const factorText[12];
extern const char* const maxScoreText[12];
extern const char* const versionText;

inline std::int32_t maxLines(int vertexCount) {
    return shapeTable[vertexCount];
}
inline std::int32_t maxPieces(int vertexCount) {
    return shapeTable[12 + vertexCount];
}
inline std::int32_t difficultyFactor(int vertexCount) {
    return shapeTable[24 + vertexCount];
}
// The row of tune t (0 to 19): row[0] = L, row[1..L] = note slots.
inline const std::int32_t* tuneRow(int t) {
    return shapeTable + kTuneTableStart + t * kTuneRowLength;
}

} // namespace tess
