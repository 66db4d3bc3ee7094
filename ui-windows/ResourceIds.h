#pragma once

// Numbers of the resources compiled into the program (Quellory.rc). The
// application icon has the lowest number, so Explorer shows it for the file.
#define IDI_APPLICATION_ICON 1
#define IDI_GLOBE_PICTURE 2
#define IDI_TICK_GLYPH 3
#define IDI_POWER_GLYPH 4
#define IDI_FOLDER_GLYPH 5
#define IDI_FOLDER_OPEN_GLYPH 6
