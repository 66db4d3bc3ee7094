#include "MessageBox.h"

#include "ExecutablePath.h"
#include "ProgramTitle.h"
#include "Win32Text.h"

namespace {

// The window a new box should be modal to: the folder chooser or an earlier
// box while one is up over `window`, so that closing the new box does not
// enable `window` under it.
HWND BoxOwner(HWND window)
{
    HWND popup = GetLastActivePopup(window);
    return popup && IsWindowVisible(popup) && IsWindowEnabled(popup) ? popup : window;
}

}  // namespace

void ShowMessageBox(HWND window, const std::string& text)
{
    const std::wstring title = Widen(ProgramTitle(ExecutablePath()));
    MessageBoxW(BoxOwner(window), Widen(text).c_str(), title.c_str(), MB_OK);
}
