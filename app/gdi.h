// Move-only owners for the GDI and USER handles Lumora creates, and scopes that
// undo a BeginPaint or a SelectObject on every path.
#pragma once

#include <windows.h>

#include <utility>

template <typename Handle, BOOL(WINAPI* destroy)(Handle)>
class OwnedHandle {
public:
    OwnedHandle() = default;
    explicit OwnedHandle(Handle handle) : handle_(handle) {}
    OwnedHandle(OwnedHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept
    {
        if (this != &other) reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    ~OwnedHandle() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void reset(Handle handle = nullptr)
    {
        if (handle_) destroy(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

inline BOOL WINAPI deleteGdiObject(HGDIOBJ object)
{
    return DeleteObject(object);
}

using GdiObject = OwnedHandle<HGDIOBJ, deleteGdiObject>;
using IconHandle = OwnedHandle<HICON, DestroyIcon>;
using MemoryDc = OwnedHandle<HDC, DeleteDC>;

// The screen's device context, released again on every path.
class ScreenDc {
public:
    ScreenDc() : hdc_(GetDC(nullptr)) {}
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    ~ScreenDc() { ReleaseDC(nullptr, hdc_); }
    HDC get() const { return hdc_; }

private:
    HDC hdc_;
};

class PaintScope {
public:
    explicit PaintScope(HWND hwnd) : hwnd_(hwnd), hdc_(BeginPaint(hwnd, &paint_)) {}
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    ~PaintScope() { EndPaint(hwnd_, &paint_); }
    HDC hdc() const { return hdc_; }

private:
    HWND hwnd_;
    PAINTSTRUCT paint_{};
    HDC hdc_;
};

class SelectScope {
public:
    SelectScope(HDC hdc, HGDIOBJ object) : hdc_(hdc), previous_(SelectObject(hdc, object)) {}
    SelectScope(const SelectScope&) = delete;
    SelectScope& operator=(const SelectScope&) = delete;
    ~SelectScope() { SelectObject(hdc_, previous_); }

private:
    HDC hdc_;
    HGDIOBJ previous_;
};
