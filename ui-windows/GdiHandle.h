#pragma once

#include <windows.h>

#include <utility>

// Owns one GDI or user handle (a font, an icon) and gives it back to the
// system when it goes.
template <typename Handle, auto Release>
class GdiHandle {
public:
    GdiHandle() = default;
    explicit GdiHandle(Handle handle) : handle_(handle) {}
    ~GdiHandle() { reset(); }
    GdiHandle(GdiHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    GdiHandle& operator=(GdiHandle&& other) noexcept
    {
        if (this != &other)
            reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    GdiHandle(const GdiHandle&) = delete;
    GdiHandle& operator=(const GdiHandle&) = delete;

    Handle get() const { return handle_; }

    // Releases the handle held and takes `handle` instead.
    void reset(Handle handle = nullptr)
    {
        if (handle_)
            Release(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

inline void ReleaseFont(HFONT font)
{
    DeleteObject(font);
}

inline void ReleaseIcon(HICON icon)
{
    DestroyIcon(icon);
}

using UniqueFont = GdiHandle<HFONT, ReleaseFont>;
using UniqueIcon = GdiHandle<HICON, ReleaseIcon>;
