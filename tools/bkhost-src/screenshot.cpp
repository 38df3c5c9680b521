#include "screenshot.h"

// GDI+ needs the COM declarations that WIN32_LEAN_AND_MEAN leaves out.
#include <objidl.h>
#include <gdiplus.h>

#include "codepage.h"

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

// Lets one window draw an area of itself over what the picture already
// holds there (windows that draw only part of their area, such as group
// boxes, stay see-through): the area is copied out at device origin 0, which
// is where the controls expect their own top-left corner, drawn into, and
// copied back.
template <typename Draw>
void DrawOver(HDC picture, POINT at, SIZE size, Draw draw) {
    if (size.cx <= 0 || size.cy <= 0) return;
    SMemoryBitmap area(picture, size.cx, size.cy);
    if (!area.Ready()) return;
    BitBlt(area.Dc(), 0, 0, size.cx, size.cy, picture, at.x, at.y, SRCCOPY);
    draw(area.Dc());
    BitBlt(picture, at.x, at.y, size.cx, size.cy, area.Dc(), 0, 0, SRCCOPY);
}

// Draws window and every visible window inside it into the picture, the
// window's top-left at origin: frame first, then background and client,
// then the children from the bottom of the Z-order up. Reading the screen
// gives black under Wine's virtual displays, and Wine's own WM_PRINT draws
// no children.
void PrintWindowTree(HWND window, HDC picture, POINT origin) {
    RECT frame = {};
    GetWindowRect(window, &frame);
    RECT client = {};
    GetClientRect(window, &client);
    POINT clientAt = {0, 0};
    ClientToScreen(window, &clientAt);
    clientAt = {origin.x + clientAt.x - frame.left, origin.y + clientAt.y - frame.top};

    const SIZE whole = {frame.right - frame.left, frame.bottom - frame.top};
    if (!(GetWindowLongW(window, GWL_STYLE) & WS_CHILD)) {
        // Wine prints no frame or caption of a top-level window: drawn here.
        const int border = clientAt.x - origin.x;
        DrawOver(picture, origin, whole, [&](HDC dc) {
            RECT all = {0, 0, whole.cx, whole.cy};
            DrawEdge(dc, &all, EDGE_RAISED, BF_RECT | BF_MIDDLE);
            RECT caption = {border, border, whole.cx - border, clientAt.y - origin.y - 1};
            DrawCaption(window, dc, &caption, DC_ACTIVE | DC_TEXT | DC_ICON | DC_GRADIENT);
        });
    } else if (whole.cx != client.right || whole.cy != client.bottom) {
        DrawOver(picture, origin, whole, [window](HDC dc) {
            SendMessageW(window, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT);
        });
    }
    DrawOver(picture, clientAt, {client.right, client.bottom}, [window](HDC dc) {
        SendMessageW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    });

    HWND first = GetWindow(window, GW_CHILD);
    for (HWND child = first ? GetWindow(first, GW_HWNDLAST) : nullptr; child;
         child = GetWindow(child, GW_HWNDPREV)) {
        if (!IsWindowVisible(child)) continue;
        RECT place = {};
        GetWindowRect(child, &place);
        PrintWindowTree(child, picture, {origin.x + place.left - frame.left, origin.y + place.top - frame.top});
    }
}

}  // namespace

bool SaveWindowPicture(HWND window, const std::string& path, std::string* error) {
    if (!StartGdiPlus()) {
        *error = "GDI+ did not start";
        return false;
    }
    // No message is pumped here: the driver's next step would run inside it.

    RECT rect = {};
    GetWindowRect(window, &rect);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    SScreenDc screen;
    SMemoryBitmap picture(screen.Get(), width, height);
    if (width <= 0 || height <= 0 || !screen.Get() || !picture.Ready()) {
        *error = "no bitmap for the picture";
        return false;
    }
    PrintWindowTree(window, picture.Dc(), {0, 0});
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
