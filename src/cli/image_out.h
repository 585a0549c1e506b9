// The viewer surface as image bytes.
#pragma once

#include <string>

#include "display/surface.h"

// Binary PBM (P4): 1 = black dot. Each dot becomes scale x scale pixels.
std::string EncodePbm(const Surface& s, int scale);
// PNG in the viewer's colours (ground 0x7F 0xFF 0xFF, black dots). Empty on failure.
std::string EncodePng(const Surface& s, int scale);
