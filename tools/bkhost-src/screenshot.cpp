#include "screenshot.h"

// GDI+ needs the COM declarations that WIN32_LEAN_AND_MEAN leaves out.
#include <objidl.h>
#include <gdiplus.h>

#include "codepage.h"
#include "host_windows.h"

namespace {

// The PNG encoder that GDI+ carries.
constexpr CLSID kPngEncoder = {0x557CF406, 0x1A04, 0x11D3,
                               {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};

// One GDI+ session for the program's life.
bool StartGdiPlus() {
    static bool started = false;
    if (started) return true;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    started = Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    return started;
}

class SScreenDc {
public:
    SScreenDc() : dc_(GetDC(nullptr)) {}
    ~SScreenDc() {
        if (dc_) ReleaseDC(nullptr, dc_);
    }
    SScreenDc(const SScreenDc&) = delete;
    SScreenDc& operator=(const SScreenDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

class SMemoryBitmap {
public:
    SMemoryBitmap(HDC screen, int width, int height)
        : dc_(CreateCompatibleDC(screen)), bitmap_(CreateCompatibleBitmap(screen, width, height)) {
        if (dc_ && bitmap_) old_ = SelectObject(dc_, bitmap_);
    }
    ~SMemoryBitmap() {
        if (old_) SelectObject(dc_, old_);
        if (bitmap_) DeleteObject(bitmap_);
        if (dc_) DeleteDC(dc_);
    }
    SMemoryBitmap(const SMemoryBitmap&) = delete;
    SMemoryBitmap& operator=(const SMemoryBitmap&) = delete;
    bool Ready() const { return old_ != nullptr; }
    HDC Dc() const { return dc_; }
    // Deselected first: GDI+ reads a bitmap that no DC holds.
    HBITMAP Deselect() {
        SelectObject(dc_, old_);
        old_ = nullptr;
        return bitmap_;
    }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_ = nullptr;
};

class SGdipBitmap {
public:
    explicit SGdipBitmap(HBITMAP source) {
        Gdiplus::DllExports::GdipCreateBitmapFromHBITMAP(source, nullptr, &bitmap_);
    }
    ~SGdipBitmap() {
        if (bitmap_) Gdiplus::DllExports::GdipDisposeImage(bitmap_);
    }
    SGdipBitmap(const SGdipBitmap&) = delete;
    SGdipBitmap& operator=(const SGdipBitmap&) = delete;
    Gdiplus::GpBitmap* Get() const { return bitmap_; }

private:
    Gdiplus::GpBitmap* bitmap_ = nullptr;
};

}  // namespace

bool SaveWindowPicture(HWND window, const std::string& path, std::string* error) {
    if (!StartGdiPlus()) {
        *error = "GDI+ did not start";
        return false;
    }
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    GdiFlush();
    PumpMessages(100);   // lets the display show what was drawn

    RECT rect = {};
    GetWindowRect(window, &rect);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    SScreenDc screen;
    SMemoryBitmap picture(screen.Get(), width, height);
    if (width <= 0 || height <= 0 || !screen.Get() || !picture.Ready() ||
        !BitBlt(picture.Dc(), 0, 0, width, height, screen.Get(), rect.left, rect.top, SRCCOPY)) {
        *error = "the screen could not be read";
        return false;
    }
    HBITMAP bitmap = picture.Deselect();
    SGdipBitmap image(bitmap);
    std::wstring file = Utf8ToWide(path);
    if (!image.Get() || Gdiplus::DllExports::GdipSaveImageToFile(image.Get(), file.c_str(),
                                                                 &kPngEncoder, nullptr) != Gdiplus::Ok) {
        *error = "GDI+ could not write " + path;
        return false;
    }
    return true;
}
