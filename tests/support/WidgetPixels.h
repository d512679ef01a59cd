#ifndef QV_TEST_WIDGETPIXELS_H
#define QV_TEST_WIDGETPIXELS_H

// Showing a window under the virtual X server and reading back what it drew.

#include <FL/Enumerations.H>

#include <ostream>
#include <utility>

class Fl_Window;

namespace qvtest {

struct Rgb {
    unsigned char r = 0, g = 0, b = 0;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};
std::ostream& operator<<(std::ostream& os, const Rgb& c);

Rgb rgbOf(Fl_Color c);

// Shows the window, waits until it is mapped and exposed, and draws it.
void showAndDraw(Fl_Window& w);
// Draws whatever is damaged, now.
void flushDrawing();
// Runs the timeouts that are due (zero-delay ones included), then draws.
void settleDrawing();
// The pixel at window coordinates (x, y), after flushing pending drawing.
Rgb pixelAt(Fl_Window& w, int x, int y);
// Along n pixels from (x, y) by steps of (dx, dy): the first and last step
// whose pixel is `c`, or (-1, -1).
std::pair<int, int> colorRun(Fl_Window& w, int x, int y, int dx, int dy, int n, Rgb c);

}  // namespace qvtest

#endif
