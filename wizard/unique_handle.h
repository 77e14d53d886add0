#pragma once
// One owner for every Windows handle: a small template and a traits struct
// per kind of handle, so no release path is written by hand.
#include <windows.h>
#include <ole2.h>

#include <utility>

namespace quorvane {

template <class Traits>
class unique_handle {
public:
    using pointer = typename Traits::pointer;
    explicit unique_handle(pointer v = Traits::invalid()) noexcept : v_(v) {}
    unique_handle(unique_handle&& o) noexcept : v_(o.release()) {}
    unique_handle& operator=(unique_handle&& o) noexcept {
        reset(o.release());
        return *this;
    }
    unique_handle(const unique_handle&) = delete;
    unique_handle& operator=(const unique_handle&) = delete;
    ~unique_handle() { reset(); }
    explicit operator bool() const noexcept { return v_ != Traits::invalid(); }
    pointer get() const noexcept { return v_; }
    pointer release() noexcept { return std::exchange(v_, Traits::invalid()); }
    void reset(pointer v = Traits::invalid()) noexcept {
        if (v_ != Traits::invalid()) Traits::close(v_);
        v_ = v;
    }

private:
    pointer v_;
};

struct file_traits {
    using pointer = HANDLE;
    static pointer invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(pointer h) noexcept { CloseHandle(h); }
};
using unique_file = unique_handle<file_traits>;

// Threads, processes, events: null is their invalid value.
struct kernel_handle_traits {
    using pointer = HANDLE;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { CloseHandle(h); }
};
using unique_kernel_handle = unique_handle<kernel_handle_traits>;

template <class Gdi>
struct gdi_traits {
    using pointer = Gdi;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { DeleteObject(h); }
};
using unique_font = unique_handle<gdi_traits<HFONT>>;
using unique_bitmap = unique_handle<gdi_traits<HBITMAP>>;
using unique_brush = unique_handle<gdi_traits<HBRUSH>>;

struct icon_traits {
    using pointer = HICON;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { DestroyIcon(h); }
};
using unique_icon = unique_handle<icon_traits>;

struct memory_dc_traits {
    using pointer = HDC;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { DeleteDC(h); }
};
using unique_memory_dc = unique_handle<memory_dc_traits>;

// A COM interface pointer.
template <class Interface>
struct com_traits {
    using pointer = Interface*;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer p) noexcept { p->Release(); }
};
template <class Interface>
using com_ptr = unique_handle<com_traits<Interface>>;

// COM initialised for the current thread for the life of the guard.
class com_thread_scope {
public:
    com_thread_scope() noexcept : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~com_thread_scope() {
        if (ok_) CoUninitialize();
    }
    com_thread_scope(const com_thread_scope&) = delete;
    com_thread_scope& operator=(const com_thread_scope&) = delete;
    bool ok() const noexcept { return ok_; }

private:
    bool ok_;
};

}  // namespace quorvane
