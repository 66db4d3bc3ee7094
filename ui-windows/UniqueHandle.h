#pragma once

#include <windows.h>

#include <utility>

// Owns one GDI or user handle and gives it back to the system when it goes.
template <typename Handle, auto Release>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other)
            reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

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

using UniqueFont = UniqueHandle<HFONT, ReleaseFont>;
using UniqueIcon = UniqueHandle<HICON, ReleaseIcon>;
