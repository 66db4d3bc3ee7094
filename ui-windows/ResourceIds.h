#pragma once

// Numbers of the resources compiled into the program (Quellory.rc). The
// application icon has the lowest number, so Explorer shows it for the file.
#define IDI_APPLICATION_ICON 1
#define IDI_GLOBE_PICTURE 2
#define IDI_TICK_GLYPH 3
#define IDI_POWER_GLYPH 4
