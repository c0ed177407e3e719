// Move-only owners for the handles the program takes from Win32.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <ole2.h>

#include <utility>

template <class Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle h) noexcept : h_(h) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(UniqueHandle&& o) noexcept : h_(o.release()) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept
    {
        if (this != &o)
            reset(o.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return h_ != Traits::Invalid(); }
    Handle release() noexcept { return std::exchange(h_, Traits::Invalid()); }
    void reset(Handle h = Traits::Invalid()) noexcept
    {
        Handle old = std::exchange(h_, h);
        if (old != Traits::Invalid())
            Traits::Close(old);
    }

private:
    Handle h_ = Traits::Invalid();
};

namespace raii_detail {
template <class H, auto CloseFn>
struct NullTraits {
    using Handle = H;
    static H Invalid() noexcept { return nullptr; }
    static void Close(H h) noexcept { CloseFn(h); }
};
inline void DeleteGdi(HGDIOBJ h) noexcept { DeleteObject(h); }
inline void CloseKey(HKEY h) noexcept { RegCloseKey(h); }
inline void CloseKernel(HANDLE h) noexcept { CloseHandle(h); }
inline void DestroyIconHandle(HICON h) noexcept { DestroyIcon(h); }
inline void DeleteMemoryDc(HDC h) noexcept { DeleteDC(h); }
inline void FreeCoTask(void* p) noexcept { CoTaskMemFree(p); }
inline void DestroyMenuHandle(HMENU h) noexcept { DestroyMenu(h); }
inline void DestroyCursorHandle(HCURSOR h) noexcept { DestroyCursor(h); }
inline void DestroyImageList(HIMAGELIST h) noexcept { ImageList_Destroy(h); }
struct FileTraits {
    using Handle = HANDLE;
    static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) noexcept { CloseHandle(h); }
};
}  // namespace raii_detail

template <class T>
using UniqueGdi = UniqueHandle<raii_detail::NullTraits<T, raii_detail::DeleteGdi>>;
using UniqueBitmap = UniqueGdi<HBITMAP>;
using UniqueBrush = UniqueGdi<HBRUSH>;
using UniqueFont = UniqueGdi<HFONT>;
using UniquePen = UniqueGdi<HPEN>;
using UniqueRegion = UniqueGdi<HRGN>;
using UniqueKey = UniqueHandle<raii_detail::NullTraits<HKEY, raii_detail::CloseKey>>;
using UniqueIcon = UniqueHandle<raii_detail::NullTraits<HICON, raii_detail::DestroyIconHandle>>;
using UniqueMemoryDc = UniqueHandle<raii_detail::NullTraits<HDC, raii_detail::DeleteMemoryDc>>;
using UniqueFile = UniqueHandle<raii_detail::FileTraits>;
using UniqueMenu = UniqueHandle<raii_detail::NullTraits<HMENU, raii_detail::DestroyMenuHandle>>;
using UniqueCursor = UniqueHandle<raii_detail::NullTraits<HCURSOR, raii_detail::DestroyCursorHandle>>;
using UniqueImageList = UniqueHandle<raii_detail::NullTraits<HIMAGELIST, raii_detail::DestroyImageList>>;
using UniqueKernelHandle = UniqueHandle<raii_detail::NullTraits<HANDLE, raii_detail::CloseKernel>>;
template <class T>
using UniqueCoTask = UniqueHandle<raii_detail::NullTraits<T, raii_detail::FreeCoTask>>;

// A DC from GetDC, given back with ReleaseDC to the window it came from.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) noexcept : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDc() { if (dc_) ReleaseDC(hwnd_, dc_); }
    WindowDc(WindowDc&& o) noexcept : hwnd_(o.hwnd_), dc_(std::exchange(o.dc_, nullptr)) {}
    WindowDc& operator=(WindowDc&&) = delete;
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND hwnd_;
    HDC dc_;
};

// Selects an object into a DC and puts the previous one back.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ obj) noexcept : dc_(dc), old_(SelectObject(dc, obj)) {}
    ~SelectGuard() { if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_); }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A COM interface pointer, released once.
template <class I>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ~ComPtr() { reset(); }
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& o) noexcept
    {
        if (this != &o) {
            reset();
            p_ = std::exchange(o.p_, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    I* get() const noexcept { return p_; }
    I* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    I** put() noexcept
    {
        reset();
        return &p_;
    }
    void** put_void() noexcept { return reinterpret_cast<void**>(put()); }
    void reset() noexcept
    {
        if (p_)
            std::exchange(p_, nullptr)->Release();
    }

private:
    I* p_ = nullptr;
};

// CoInitialize for a scope; uninitialises only when initialising succeeded.
class ComScope {
public:
    ComScope() noexcept : hr_(CoInitialize(nullptr)) {}
    ~ComScope() { if (SUCCEEDED(hr_)) CoUninitialize(); }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    bool ok() const noexcept { return SUCCEEDED(hr_); }

private:
    HRESULT hr_;
};

// OleInitialize for a scope; uninitialises only when initialising succeeded.
class OleScope {
public:
    OleScope() noexcept : hr_(OleInitialize(nullptr)) {}
    ~OleScope() { if (SUCCEEDED(hr_)) OleUninitialize(); }
    OleScope(const OleScope&) = delete;
    OleScope& operator=(const OleScope&) = delete;
    bool ok() const noexcept { return SUCCEEDED(hr_); }

private:
    HRESULT hr_;
};
