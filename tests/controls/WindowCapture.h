#pragma once
// What a window paints into a bitmap of ours (WM_PRINTCLIENT), read pixel by
// pixel.
#include <windows.h>

#include <vector>

struct Capture {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;  // row by row, top first

    COLORREF At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
    // The smallest rectangle holding every pixel of colour; empty when none.
    RECT BoundsOf(COLORREF colour) const;
};

Capture CaptureClient(HWND window);
