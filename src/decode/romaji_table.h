// The ordered romaji replacements: key (ASCII capitals) then value (Shift-JIS), 378 pairs.
#pragma once

inline constexpr int kRomajiPairs = 378;

// Key of pair i (0-based) at [2 * i], its value at [2 * i + 1].
extern const char* const g_romajiTable[2 * kRomajiPairs];
