#include "WindowCapture.h"

RECT Capture::BoundsOf(COLORREF colour) const {
    RECT bounds = {width, height, 0, 0};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (At(x, y) == colour) {
                if (x < bounds.left) bounds.left = x;
                if (y < bounds.top) bounds.top = y;
                if (x + 1 > bounds.right) bounds.right = x + 1;
                if (y + 1 > bounds.bottom) bounds.bottom = y + 1;
            }
    if (bounds.right == 0) return RECT{};
    return bounds;
}

Capture CaptureClient(HWND window) {
    Capture capture;
    RECT client = {};
    GetClientRect(window, &client);
    capture.width = client.right;
    capture.height = client.bottom;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = capture.width;
    info.bmiHeader.biHeight = -capture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    GdiFlush();
    const auto* pixel = static_cast<const DWORD*>(bits);
    for (int i = 0; i < capture.width * capture.height; ++i) {
        const DWORD bgra = pixel[i];
        capture.pixels.push_back(RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF));
    }
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return capture;
}
