// The romaji conversion done the slow, literal way, as the reference for RomajiToKana.
#pragma once

#include <string>

// Upper-cases the text by Shift-JIS characters, then applies each pair of the table in order,
// replacing every occurrence of its key at a character start from left to right.
std::string RomajiOracle(std::string text);
