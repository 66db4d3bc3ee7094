#include "DirectoryListBox.h"

#include <commctrl.h>

#include "DirectoryTree.h"
#include "Dpi.h"
#include "GetPathFormDesign.h"
#include "ResourceIds.h"

namespace {

constexpr int kGlyphSize = 14;  // at 96 dpi, leaving a pixel above and below in each entry
constexpr int kGlyphToName = 4;

// The folder glyph in icon resource `resource`, at `size` pixels.
UniqueIcon FolderGlyph(int resource, int size)
{
    return UniqueIcon(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource),
                                                    IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

}  // namespace

TDirectoryListBox::TDirectoryListBox(HWND parent, int id, const FormDesign::Bounds& bounds)
    : bounds_(bounds),
      handle_(CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTBOXW, L"",
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY |
                                  LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT,
                              0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              GetModuleHandleW(nullptr), nullptr)),
      directory_(CurrentDirectory())
{
    Rebuild();
}

bool TDirectoryListBox::OpenDirectory(const std::wstring& path)
{
    if (!SetCurrentDirectoryW(path.c_str()))
        return false;
    directory_ = CurrentDirectory();
    Rebuild();
    return true;
}

void TDirectoryListBox::OpenHighlighted()
{
    const LRESULT index = SendMessageW(handle_, LB_GETCURSEL, 0, 0);
    if (index >= 0 && static_cast<std::size_t>(index) < entries_.size())
        OpenDirectory(entries_[static_cast<std::size_t>(index)].path);
}

void TDirectoryListBox::Refresh()
{
    const std::wstring existing = NearestExistingDirectory(directory_);
    if (existing == directory_ || existing.empty() || !OpenDirectory(existing))
        Rebuild();
}

void TDirectoryListBox::Place(UINT dpi, HFONT font)
{
    dpi_ = dpi;
    font_ = font;
    const int glyphSize = Scale(kGlyphSize, dpi);
    openFolder_ = FolderGlyph(IDI_FOLDER_OPEN_GLYPH, glyphSize);
    closedFolder_ = FolderGlyph(IDI_FOLDER_GLYPH, glyphSize);
    const RECT area = ScaledRect(bounds_, dpi);
    SetWindowPos(handle_, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageW(handle_, LB_SETITEMHEIGHT, 0, Scale(GetPathFormDesign::kItemHeight, dpi));
    InvalidateRect(handle_, nullptr, TRUE);
}

void TDirectoryListBox::Rebuild()
{
    entries_.clear();
    const std::wstring root = PathRoot(directory_);
    entries_.push_back({root, root, 0, true});
    std::wstring levelPath = root;
    int depth = 0;
    for (const std::wstring& level : PathLevels(directory_)) {
        levelPath = ChildPath(levelPath, level);
        entries_.push_back({levelPath, level, ++depth, true});
    }
    const std::size_t openEntry = entries_.size() - 1;
    for (const std::wstring& name : SubdirectoryNames(directory_))
        entries_.push_back({ChildPath(directory_, name), name, depth + 1, false});

    SendMessageW(handle_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(handle_, LB_RESETCONTENT, 0, 0);
    for (std::size_t i = 0; i < entries_.size(); ++i)
        SendMessageW(handle_, LB_ADDSTRING, 0, static_cast<LPARAM>(i));
    // From the top, so the upper levels stay in sight while the open one fits.
    SendMessageW(handle_, LB_SETTOPINDEX, 0, 0);
    SendMessageW(handle_, LB_SETCURSEL, openEntry, 0);
    SendMessageW(handle_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(handle_, nullptr, TRUE);
}

void TDirectoryListBox::DrawItem(const DRAWITEMSTRUCT& item) const
{
    if (item.itemID == static_cast<UINT>(-1) || item.itemID >= entries_.size())
        return;
    const Entry& entry = entries_[item.itemID];
    const bool selected = item.itemState & ODS_SELECTED;
    HDC dc = item.hDC;
    FillRect(dc, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));

    const int glyphSize = Scale(kGlyphSize, dpi_);
    const int left = item.rcItem.left + Scale(2 + GetPathFormDesign::kIndentPerLevel * entry.depth, dpi_);
    const int top = item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - glyphSize) / 2;
    const UniqueIcon& glyph = entry.open ? openFolder_ : closedFolder_;
    if (glyph.get())
        DrawIconEx(dc, left, top, glyph.get(), glyphSize, glyphSize, 0, nullptr, DI_NORMAL);

    HGDIOBJ oldFont = SelectObject(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT nameArea = item.rcItem;
    nameArea.left = left + glyphSize + Scale(kGlyphToName, dpi_);
    DrawTextW(dc, entry.name.c_str(), static_cast<int>(entry.name.size()), &nameArea,
              DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, oldFont);
    if (item.itemState & ODS_FOCUS)
        DrawFocusRect(dc, &item.rcItem);
}
