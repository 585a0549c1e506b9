#include "view/state.h"

int32_t g_nFirstLine = 0;
int32_t g_bMore = 0;
int32_t g_bPicked = 0;
int32_t g_nMode = 0;
int32_t g_bEditFocus = 0;
int32_t g_nPickedMode = 0;

void ResetState() {
  g_nFirstLine = 0;
  g_bMore = 0;
  g_bPicked = 0;
  g_nMode = 0;
  g_bEditFocus = 0;
  g_nPickedMode = 0;
}
