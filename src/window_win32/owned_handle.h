#pragma once

#include <windows.h>

#include <utility>

namespace rv::win32 {

// Owns one GDI or kernel object and releases it exactly once, when it is replaced or goes out of
// scope. Null means "owns nothing".
template <typename Handle, auto Release>
class OwnedHandle {
public:
    OwnedHandle() = default;
    explicit OwnedHandle(Handle handle) : handle_(handle) {}
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    OwnedHandle(OwnedHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept {
        Reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    ~OwnedHandle() { Reset(); }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

    void Reset(Handle handle = nullptr) {
        if (handle_ != nullptr) {
            Release(handle_);
        }
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

inline void DeleteFont(HFONT font) {
    DeleteObject(font);
}

using OwnedFont = OwnedHandle<HFONT, DeleteFont>;
using OwnedIcon = OwnedHandle<HICON, DestroyIcon>;
using OwnedKernelHandle = OwnedHandle<HANDLE, CloseHandle>;

}  // namespace rv::win32
