// The process-wide display state. Only the user-interface thread touches it.
#pragma once

#include <cstdint>

extern int32_t g_nFirstLine;   // logical lines the render pass skips at the top
extern int32_t g_bMore;        // 1 when the last pass stopped at the bottom with text left
extern int32_t g_bPicked;      // 1 while a mode picked by a radio click is in force
extern int32_t g_nMode;        // the mode that detection gave last; 0 before the first
extern int32_t g_bEditFocus;   // 1 while the editor has the keyboard focus
extern int32_t g_nPickedMode;  // the mode of the last radio click; 0 before the first

// Everything back to its start value (0).
void ResetState();
