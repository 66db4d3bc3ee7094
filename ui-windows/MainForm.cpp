#include "MainForm.h"

#include <array>
#include <system_error>
#include <thread>

#include "BatchRun.h"
#include "FormFont.h"
#include "FormWindow.h"
#include "MainFormDesign.h"
#include "MessageBox.h"
#include "ResourceIds.h"
#include "SettingsLocation.h"
#include "SettingsPath.h"
#include "Win32Text.h"

namespace {

constexpr const wchar_t* kWindowClass = L"QuelloryMainForm";

// Control numbers: Edit1 to Edit7 take kEdit1Id + their field's index.
constexpr int kEdit1Id = 101;
constexpr int kButton1Id = 110;
constexpr int kComboBox1Id = 111;

int EditId(JobField field)
{
    return kEdit1Id + static_cast<int>(field);
}

// The work area of the primary screen.
RECT DesktopArea()
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    return monitor.rcWork;
}

}  // namespace

TFormMain::Window::Window()
{
    RegisterFormClass(kWindowClass, WindowProc);
    // A single fixed border with the system menu, close and minimise, and no
    // maximise: the layout is fixed.
    handle = CreateWindowExW(WS_EX_CONTROLPARENT, kWindowClass, Widen(MainFormDesign::kCaption).c_str(),
                             WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
                             CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
}

TFormMain::TFormMain(std::function<void()> onClosed)
    : onClosed_(std::move(onClosed)),
      window_(),
      handle_(window_.handle),
      dpi_(GetDpiForWindow(handle_)),
      bridge_(std::make_shared<WindowBridge>(handle_)),
      Label1(MainFormDesign::Label1),
      Label2(MainFormDesign::Label2),
      Label3(MainFormDesign::Label3),
      Label4(MainFormDesign::Label4),
      Label5(MainFormDesign::Label5),
      Shape1(MainFormDesign::Shape1),
      Image1(MainFormDesign::Image1, IDI_GLOBE_PICTURE),
      Shape2(MainFormDesign::Shape2),
      Label6(MainFormDesign::Label6),
      Label7(MainFormDesign::Label7),
      Label8(MainFormDesign::Label8),
      Label9(MainFormDesign::Label9),
      Label10(MainFormDesign::Label10),
      Label11(MainFormDesign::Label11),
      Label12(MainFormDesign::Label12),
      Label13(MainFormDesign::Label13),
      Label14(MainFormDesign::Label14),
      Label15(MainFormDesign::Label15),
      Label16(MainFormDesign::Label16),
      ActionYes(CreateActionYes([this] { ActionYesExecute(); })),
      ActionCancel(CreateActionCancel([this] { ActionCancelExecute(); })),
      SpeedButton1(handle_, ActionYes, MainFormDesign::SpeedButton1),
      SpeedButton2(handle_, ActionCancel, MainFormDesign::SpeedButton2),
      Edit1(handle_, EditId(JobField::Edit1), MainFormDesign::Edit1),
      Edit2(handle_, EditId(JobField::Edit2), MainFormDesign::Edit2),
      Edit3(handle_, EditId(JobField::Edit3), MainFormDesign::Edit3),
      Edit4(handle_, EditId(JobField::Edit4), MainFormDesign::Edit4),
      Button1(handle_, kButton1Id, MainFormDesign::Button1),
      Edit5(handle_, EditId(JobField::Edit5), MainFormDesign::Edit5),
      Edit6(handle_, EditId(JobField::Edit6), MainFormDesign::Edit6),
      Edit7(handle_, EditId(JobField::Edit7), MainFormDesign::Edit7),
      ComboBox1(handle_, kComboBox1Id, MainFormDesign::ComboBox1, MainFormDesign::kSameNameItems,
                MainFormDesign::kComboItemHeight)
{
    ComboBox1.SetItemIndex(kChoiceOverwrite);
    SetWindowLongPtrW(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ApplyDpi(dpi_);
    CentreWindowIn(handle_, DesktopArea());
    MirrorFieldsToBridge();
    FormCreate();
}

TFormMain::~TFormMain()
{
    // Runs may go on after the window; they must not reach it any more.
    bridge_->Detach();
}

void TFormMain::UseFolderChooser(TFormGetPath* chooser)
{
    folderChooser_ = chooser;
}

void TFormMain::Show()
{
    FormShow();
    focusedControl_ = Edit1.Handle();
    ShowWindow(handle_, SW_SHOWNORMAL);
    UpdateWindow(handle_);
    SetFocus(focusedControl_);
}

void TFormMain::FormCreate()
{
    AppPath = ExecutableDirectory();
    const SettingsLocation location = SettingsLocationAtStartUp();
    IniFile = location.iniFile;
    shippedIniFile_ = location.shippedFile;
    bridge_->SetIniFile(IniFile);
}

void TFormMain::FormShow()
{
    const JobFields fields = LoadJobFields(SettingsFileToLoad({IniFile, shippedIniFile_}));
    for (int i = 0; i < kJobFieldCount; ++i) {
        const auto field = static_cast<JobField>(i);
        EditOf(field).SetText(fields[field]);
    }
    ComboBox1.SetItemIndex(fields.sameNameChoice);
    MirrorFieldsToBridge();
}

void TFormMain::ActionYesExecute()
{
    // The run saves the fields first; a per-user settings directory may not
    // exist yet.
    CreateSettingsDirectory(IniFile);
    try {
        std::thread([bridge = bridge_] {
            BatchThreadProc(*bridge);
            bridge->ShowCaptionNow();
        }).detach();
    } catch (const std::system_error&) {
        ShowMessageBox(handle_, MainFormDesign::kThreadStartFailed);
    }
}

void TFormMain::ActionCancelExecute()
{
    PostMessageW(handle_, WM_CLOSE, 0, 0);
}

void TFormMain::Button1Click()
{
    if (folderChooser_ && folderChooser_->ShowModal() == kModalOk)
        Edit4.SetText(folderChooser_->SelectedPath);
}

const TEdit& TFormMain::EditOf(JobField field) const
{
    const std::array<const TEdit*, kJobFieldCount> edits = {&Edit1, &Edit2, &Edit3, &Edit4,
                                                            &Edit5, &Edit6, &Edit7};
    return *edits[static_cast<std::size_t>(field)];
}

void TFormMain::MirrorFieldsToBridge()
{
    // Runs read the fields from the bridge; the window keeps it in step on
    // every change (HandleCommand), so they read without waiting for it.
    for (int i = 0; i < kJobFieldCount; ++i) {
        const auto field = static_cast<JobField>(i);
        bridge_->SetFieldText(field, EditOf(field).Text());
    }
    bridge_->SetChoiceIndex(ComboBox1.ItemIndex());
}

void TFormMain::ApplyDpi(UINT dpi)
{
    dpi_ = dpi;
    font_ = CreateFormFont(dpi);
    SpeedButton1.Place(dpi, font_.get());
    SpeedButton2.Place(dpi, font_.get());
    for (int i = 0; i < kJobFieldCount; ++i)
        EditOf(static_cast<JobField>(i)).Place(dpi, font_.get());
    Button1.Place(dpi, font_.get());
    ComboBox1.Place(dpi, font_.get());
    const SIZE frame = FrameSizeFor(handle_, MainFormDesign::kClientSize, dpi);
    SetWindowPos(handle_, nullptr, 0, 0, frame.cx, frame.cy, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    InvalidateRect(handle_, nullptr, TRUE);
}

void TFormMain::Paint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(handle_, &paint);
    HGDIOBJ oldFont = SelectObject(dc, font_.get());
    for (const TLabel* label : {&Label1, &Label2, &Label3, &Label4, &Label5})
        label->Paint(dc, dpi_);
    Shape1.Paint(dc, dpi_);
    Image1.Paint(dc, dpi_);
    Shape2.Paint(dc, dpi_);
    for (const TLabel* label : {&Label6, &Label7, &Label8, &Label9, &Label10, &Label11, &Label12, &Label13,
                                &Label14, &Label15, &Label16})
        label->Paint(dc, dpi_);
    SelectObject(dc, oldFont);
    EndPaint(handle_, &paint);
}

LRESULT CALLBACK TFormMain::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (auto* form = FormOf<TFormMain>(window))
        return form->HandleMessage(message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT TFormMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (bridge_->HandleMessage(message, wParam))
        return 0;
    switch (message) {
    case WM_COMMAND:
        HandleCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_PAINT:
        Paint();
        return 0;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == Button1.Handle()) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    case WM_DPICHANGED:
        ApplyDpi(HIWORD(wParam));
        MoveToSuggestedPlace(handle_, lParam);
        return 0;
    case WM_ACTIVATE:
        // A window that is no dialog keeps no focus of its own: remember the
        // control that had it, and give it back on the way in.
        if (LOWORD(wParam) == WA_INACTIVE)
            focusedControl_ = GetFocus();
        else if (focusedControl_ && IsChild(handle_, focusedControl_))
            SetFocus(focusedControl_);
        return 0;
    case WM_ENDSESSION:
        // The system is shutting down: the process ends like a closed window.
        if (wParam)
            onClosed_();
        return 0;
    case WM_DESTROY:
        bridge_->Detach();
        onClosed_();
        return 0;
    }
    return DefWindowProcW(handle_, message, wParam, lParam);
}

void TFormMain::HandleCommand(int id, int notification)
{
    if (id >= kEdit1Id && id < kEdit1Id + kJobFieldCount && notification == EN_CHANGE) {
        const auto field = static_cast<JobField>(id - kEdit1Id);
        bridge_->SetFieldText(field, EditOf(field).Text());
    } else if (id == kComboBox1Id && notification == CBN_SELCHANGE) {
        bridge_->SetChoiceIndex(ComboBox1.ItemIndex());
    } else if (id == kButton1Id && notification == BN_CLICKED) {
        Button1Click();
    }
}
