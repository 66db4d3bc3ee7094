#pragma once

#include <windows.h>

#include "GdiHandle.h"

// The font of every window at `dpi`: SimSun, 12 pixels high at 96 dpi, with
// the GB2312 character set.
UniqueFont CreateFormFont(UINT dpi);
