// SPDX-License-Identifier: MIT
#pragma once

#include <utility>

// Owns one operating-system handle and closes it when it goes out of scope. Traits name the
// handle type, its invalid value and how it is closed, one set per kind of handle.
namespace rv::platform {

template <typename Traits>
class Owned {
public:
    using Handle = typename Traits::Handle;

    Owned() = default;
    explicit Owned(Handle handle) : handle_(handle) {}
    ~Owned() { Reset(); }
    Owned(Owned&& other) noexcept : handle_(other.Release()) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    Handle get() const { return handle_; }
    bool valid() const { return Traits::Valid(handle_); }
    // Gives the handle up without closing it, to whatever now owns it.
    Handle Release() { return std::exchange(handle_, Traits::Invalid()); }
    void Reset(Handle handle = Traits::Invalid()) {
        if (Traits::Valid(handle_)) {
            Traits::Close(handle_);
        }
        handle_ = handle;
    }

private:
    Handle handle_ = Traits::Invalid();
};

}  // namespace rv::platform
