#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "FormDesign.h"
#include "GdiHandle.h"

// A directory list: the open directory's path from its drive's root down, one
// entry per level, then the open directory's subdirectories, each drawn with
// its indent and folder glyph. Double-click or Enter opens an entry; a single
// click or the arrow keys only highlight it.
class TDirectoryListBox {
public:
    // A list opened at the process's current directory.
    TDirectoryListBox(HWND parent, int id, const FormDesign::Bounds& bounds);
    TDirectoryListBox(const TDirectoryListBox&) = delete;
    TDirectoryListBox& operator=(const TDirectoryListBox&) = delete;

    HWND Handle() const { return handle_; }

    // The open directory: a full path, with no trailing "\" except at a root.
    const std::wstring& Directory() const { return directory_; }

    // Makes `path` the open directory and the process's current directory and
    // rebuilds the list; returns false, changing nothing, if it cannot be entered.
    bool OpenDirectory(const std::wstring& path);

    // Opens the highlighted entry.
    void OpenHighlighted();

    // Reads the open directory afresh; if it is gone, opens the nearest level
    // above it that is still there.
    void Refresh();

    // Moves the list to its bounds at `dpi`, with `font` and glyphs for that dpi.
    void Place(UINT dpi, HFONT font);

    // The form passes on its WM_DRAWITEM for the list.
    void DrawItem(const DRAWITEMSTRUCT& item) const;

private:
    struct Entry {
        std::wstring path;
        std::wstring name;
        int depth;
        bool open;  // a level of the open directory's path, not a subdirectory
    };

    void Rebuild();

    FormDesign::Bounds bounds_;
    HWND handle_;
    std::wstring directory_;
    std::vector<Entry> entries_;
    UINT dpi_ = FormDesign::kDesignDpi;
    HFONT font_ = nullptr;
    UniqueIcon openFolder_;
    UniqueIcon closedFolder_;
};
