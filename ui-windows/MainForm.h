#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "FormActions.h"
#include "GetPathForm.h"
#include "GraphicControls.h"
#include "JobFields.h"
#include "SpeedButton.h"
#include "GdiHandle.h"
#include "WindowBridge.h"
#include "WindowedControls.h"

// The main window: holds the job fields, starts runs, shows their progress in
// its caption and opens the folder chooser.
class TFormMain {
public:
    // The window, made hidden and centred on the desktop; `onClosed` runs
    // once it has closed.
    explicit TFormMain(std::function<void()> onClosed);
    ~TFormMain();
    TFormMain(const TFormMain&) = delete;
    TFormMain& operator=(const TFormMain&) = delete;

    HWND Handle() const { return handle_; }

    // Sets the chooser the browse button shows.
    void UseFolderChooser(TFormGetPath* chooser);

    // Runs FormShow and shows the window.
    void Show();

    // Fixes AppPath and IniFile (beside the executable, or per user when this
    // user may not write there).
    void FormCreate();

    // Loads the job fields from the settings file into the edits and the choice.
    void FormShow();

    // OK: starts a run on a new thread and returns at once.
    void ActionYesExecute();

    // Cancel: closes the window, which ends the program.
    void ActionCancelExecute();

    // Browse: lets the user choose the output directory.
    void Button1Click();

    std::string AppPath;  // the executable's directory, ending in "\"
    std::string IniFile;  // the settings file

private:
    // The window made before its components, which need it as their parent.
    struct Window {
        Window();
        HWND handle;
    };

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void HandleCommand(int id, int notification);
    void Paint();
    void ApplyDpi(UINT dpi);
    void CentreOnDesktop();
    const TEdit& EditOf(JobField field) const;
    void MirrorFieldsToBridge();

    std::function<void()> onClosed_;
    Window window_;
    HWND handle_;
    UINT dpi_;
    UniqueFont font_;
    std::shared_ptr<WindowBridge> bridge_;
    std::string shippedIniFile_;  // read while IniFile does not exist yet
    TFormGetPath* folderChooser_ = nullptr;
    HWND focusedControl_ = nullptr;  // the control to get the focus back on activation

public:
    TLabel Label1;
    TLabel Label2;
    TLabel Label3;
    TLabel Label4;
    TLabel Label5;
    TShape Shape1;
    TImage Image1;
    TShape Shape2;
    TLabel Label6;
    TLabel Label7;
    TLabel Label8;
    TLabel Label9;
    TLabel Label10;
    TLabel Label11;
    TLabel Label12;
    TLabel Label13;
    TLabel Label14;
    TLabel Label15;
    TLabel Label16;
    TAction ActionYes;
    TAction ActionCancel;
    TSpeedButton SpeedButton1;
    TSpeedButton SpeedButton2;
    TEdit Edit1;
    TEdit Edit2;
    TEdit Edit3;
    TEdit Edit4;
    TButton Button1;
    TEdit Edit5;
    TEdit Edit6;
    TEdit Edit7;
    TComboBox ComboBox1;
};
