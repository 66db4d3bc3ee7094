#pragma once

// Ends the process at once, as the main window closes. Runs may still be
// going: their half-written files are removed first, and no static destructor
// may run under their feet.
[[noreturn]] void EndProcess();
