#include "GetPathForm.h"

#include "FormFont.h"
#include "FormWindow.h"
#include "GetPathFormDesign.h"
#include "Utf16.h"
#include "Win32Text.h"

namespace {

constexpr const wchar_t* kWindowClass = L"QuelloryGetPathForm";
constexpr int kDirectoryListBox1Id = 100;

}  // namespace

TFormGetPath::Window::Window(HWND owner)
{
    RegisterFormClass(kWindowClass, WindowProc);
    // A dialog frame with a title bar and no buttons on it: the chooser closes
    // through its own two.
    handle = CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, kWindowClass,
                             Widen(GetPathFormDesign::kCaption).c_str(),
                             WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN, 0, 0, 0, 0, owner, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
}

TFormGetPath::TFormGetPath(HWND owner)
    : owner_(owner),
      window_(owner),
      handle_(window_.handle),
      dpi_(GetDpiForWindow(handle_)),
      ActionYes(CreateActionYes([this] { ActionYesExecute(); })),
      ActionCancel(CreateActionCancel([this] { ActionCancelExecute(); })),
      SpeedButton1(handle_, ActionYes, GetPathFormDesign::SpeedButton1),
      SpeedButton2(handle_, ActionCancel, GetPathFormDesign::SpeedButton2),
      DirectoryListBox1(handle_, kDirectoryListBox1Id, GetPathFormDesign::DirectoryListBox1)
{
    SetWindowLongPtrW(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ApplyDpi(dpi_);
}

int TFormGetPath::ShowModal()
{
    // The owner may have moved to a screen of another density since last time.
    ApplyDpi(GetDpiForWindow(owner_));
    RECT ownerFrame;
    GetWindowRect(owner_, &ownerFrame);
    CentreWindowIn(handle_, ownerFrame);
    DirectoryListBox1.Refresh();

    modalResult_ = 0;
    EnableWindow(owner_, FALSE);
    ShowWindow(handle_, SW_SHOW);
    SetFocus(DirectoryListBox1.Handle());
    MSG message;
    bool quit = false;
    while (modalResult_ == 0) {
        if (GetMessageW(&message, nullptr, 0, 0) <= 0) {
            quit = true;
            break;
        }
        if (!IsDialogMessageW(handle_, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    // The owner first, so the system hands activation back to it and not to
    // some other program's window.
    EnableWindow(owner_, TRUE);
    ShowWindow(handle_, SW_HIDE);
    SetActiveWindow(owner_);
    if (quit) {
        PostQuitMessage(static_cast<int>(message.wParam));
        return kModalCancel;
    }
    return modalResult_;
}

void TFormGetPath::ActionYesExecute()
{
    SelectedPath = FromUtf16(DirectoryListBox1.Directory());
    CloseModal(kModalOk);
}

void TFormGetPath::ActionCancelExecute()
{
    CloseModal(kModalCancel);
}

void TFormGetPath::CloseModal(int result)
{
    modalResult_ = result;
    // The modal loop looks at the result after each message; this one wakes it.
    PostMessageW(handle_, WM_NULL, 0, 0);
}

void TFormGetPath::ApplyDpi(UINT dpi)
{
    if (dpi == dpi_ && font_.get())
        return;
    dpi_ = dpi;
    font_ = CreateFormFont(dpi);
    SpeedButton1.Place(dpi, font_.get());
    SpeedButton2.Place(dpi, font_.get());
    DirectoryListBox1.Place(dpi, font_.get());
    const SIZE frame = FrameSizeFor(handle_, GetPathFormDesign::kClientSize, dpi);
    SetWindowPos(handle_, nullptr, 0, 0, frame.cx, frame.cy, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

LRESULT CALLBACK TFormGetPath::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (auto* form = FormOf<TFormGetPath>(window))
        return form->HandleMessage(message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT TFormGetPath::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:  // Enter: the list is the one control that takes the keyboard
            DirectoryListBox1.OpenHighlighted();
            return 0;
        case IDCANCEL:  // Escape
            ActionCancelExecute();
            return 0;
        case kDirectoryListBox1Id:
            if (HIWORD(wParam) == LBN_DBLCLK)
                DirectoryListBox1.OpenHighlighted();
            return 0;
        }
        break;
    case WM_DRAWITEM:
        DirectoryListBox1.DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_ACTIVATE:
        // The list is the one control that takes the keyboard.
        if (LOWORD(wParam) != WA_INACTIVE)
            SetFocus(DirectoryListBox1.Handle());
        return 0;
    case WM_CLOSE:  // Alt+F4 and the like
        ActionCancelExecute();
        return 0;
    case WM_DPICHANGED:
        ApplyDpi(HIWORD(wParam));
        MoveToSuggestedPlace(handle_, lParam);
        return 0;
    }
    return DefWindowProcW(handle_, message, wParam, lParam);
}
