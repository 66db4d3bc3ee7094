#pragma once

#include <windows.h>

#include <string>

#include "DirectoryListBox.h"
#include "FormActions.h"
#include "SpeedButton.h"
#include "GdiHandle.h"

// Modal results, as the main window reads them.
inline constexpr int kModalOk = 1;
inline constexpr int kModalCancel = 2;

// The folder chooser: a modal dialog in which the user opens a directory and
// confirms it. Closing it any way but OK counts as cancel.
class TFormGetPath {
public:
    // A hidden chooser owned by `owner`, centred on it when shown.
    explicit TFormGetPath(HWND owner);
    TFormGetPath(const TFormGetPath&) = delete;
    TFormGetPath& operator=(const TFormGetPath&) = delete;

    HWND Handle() const { return handle_; }

    // Shows the chooser with its list read afresh, keeps the owner disabled
    // until it closes, and returns kModalOk or kModalCancel.
    int ShowModal();

    // OK: confirms the open directory (not the highlighted one) and closes.
    void ActionYesExecute();

    // Cancel: closes, leaving SelectedPath as it was.
    void ActionCancelExecute();

    std::string SelectedPath;  // the directory confirmed last (UTF-8); empty until then

private:
    struct Window {
        explicit Window(HWND owner);
        HWND handle;
    };

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void ApplyDpi(UINT dpi);
    void CloseModal(int result);

    HWND owner_;
    Window window_;
    HWND handle_;
    UINT dpi_;
    UniqueFont font_;
    int modalResult_ = 0;  // 0 while shown

public:
    TAction ActionYes;
    TAction ActionCancel;
    TSpeedButton SpeedButton1;
    TSpeedButton SpeedButton2;
    TDirectoryListBox DirectoryListBox1;
};
