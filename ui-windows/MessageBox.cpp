#include "MessageBox.h"

#include "ExecutablePath.h"
#include "ProgramTitle.h"
#include "Win32Text.h"

void ShowMessageBox(HWND owner, const std::string& text)
{
    const std::wstring title = Widen(ProgramTitle(ExecutablePath()));
    MessageBoxW(owner, Widen(text).c_str(), title.c_str(), MB_OK);
}
