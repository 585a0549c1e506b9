#include "app/tobiuox_app.h"

wxIMPLEMENT_APP(CTobiuoxApp);
