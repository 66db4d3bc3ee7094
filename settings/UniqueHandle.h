#pragma once

#include <windows.h>

#include <string_view>
#include <utility>

// Owns an open Windows file handle and closes it when it goes. Windows only.
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
    ~UniqueHandle()
    {
        if (valid())
            CloseHandle(handle_);
    }
    UniqueHandle(UniqueHandle&& other) noexcept
        : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE))
    {
    }
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        std::swap(handle_, other.handle_);
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }

    // Writes every byte of `bytes`; returns false when a write fails.
    bool WriteAll(std::string_view bytes) const
    {
        while (!bytes.empty()) {
            const DWORD chunk = bytes.size() > 0x40000000 ? 0x40000000 : static_cast<DWORD>(bytes.size());
            DWORD written = 0;
            if (!WriteFile(handle_, bytes.data(), chunk, &written, nullptr) || written == 0)
                return false;
            bytes.remove_prefix(written);
        }
        return true;
    }

    // Closes now; returns false when the close fails.
    bool Close() { return CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE)) != 0; }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};
