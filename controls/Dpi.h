#pragma once
#include <windows.h>

// The display's resolution as the program sees it: it declares itself aware
// of it, so Windows no longer stretches its windows, and what it measures in
// pixels itself grows with the resolution as dialog units do.
namespace Dpi {
// Dots per inch of the screen (96 at 100 %, 144 at 150 %).
int System();
// PIXELS at 96 dots per inch, at the screen's resolution.
int Scale(int pixels);
}  // namespace Dpi
