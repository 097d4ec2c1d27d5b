#include "Dpi.h"

namespace Dpi {
int System() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

int Scale(int pixels) { return MulDiv(pixels, System(), USER_DEFAULT_SCREEN_DPI); }
}  // namespace Dpi
