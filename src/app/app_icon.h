// The program's icon, drawn in code: a blue square whose upper half is a light cyan panel
// with blue strokes, and a yellow cross in its lower right corner.
#pragma once

#include <wx/iconbndl.h>
#include <wx/image.h>

// The picture at size x size pixels (16 and 32 are the sizes the program uses).
wxImage MakeAppImage(int size);

// The window icon at 16 and 32 pixels.
wxIconBundle MakeAppIcons();
