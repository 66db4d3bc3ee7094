#include <windows.h>

#include <commctrl.h>

#include "EndProcess.h"
#include "GetPathForm.h"
#include "MainForm.h"
#include "PageFetch.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    InitPageFetch();
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    TFormMain FormMain([] { EndProcess(); });
    TFormGetPath FormGetPath(FormMain.Handle());
    FormMain.UseFolderChooser(&FormGetPath);
    FormMain.Show();

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // Tab, the arrow keys and Enter move between and act on the controls
        // as in any dialog.
        if (!IsDialogMessageW(FormMain.Handle(), &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    EndProcess();
}
