#include "graphics/CCanvas.h"

int CCanvas::LoadImageFile(const char*) { return 0; }
