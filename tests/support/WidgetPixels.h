#ifndef QV_TEST_WIDGETPIXELS_H
#define QV_TEST_WIDGETPIXELS_H

// Showing a window under the virtual X server and reading back what it drew.

#include <FL/Enumerations.H>

#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

class Fl_Widget;
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

// A rectangle in window coordinates; w or h 0 when it holds nothing.
struct Zone {
    int x = 0, y = 0, w = 0, h = 0;
    bool empty() const { return w <= 0 || h <= 0; }
    bool intersects(const Zone& o) const;
    bool inside(int X, int Y, int W, int H) const;
};
std::ostream& operator<<(std::ostream& os, const Zone& z);
// Where the shown window's pixels differ between its drawing after
// change(false) and after change(true): the ink of whatever `change`
// recolours (a label, a text). change(false) is applied again at the end.
Zone changedZone(Fl_Window& w, const std::function<void(bool)>& change);

// A label to read: the widget, the text it should show (UTF-8; empty for a
// symbol such as "@8>", whose width is not checked) and whether it is drawn
// inside the widget (a button's caption) or beside it (an input's name).
struct LabelSpec {
    Fl_Widget* widget = nullptr;
    std::string text;
    bool inside = true;
};
// What keeps the labels of a shown window from being read, one line each:
// a label whose ink is missing, narrower or lower than its text or touching
// the window's edge (clipped),
// on the wrong side of its widget's edge, over another visible widget, or
// over another label or over the text that an input, a choice or a list
// of `texts` shows. Empty when every label reads whole.
std::vector<std::string> unreadableLabels(Fl_Window& w, const std::vector<LabelSpec>& labels,
                                          const std::vector<Fl_Widget*>& texts);

}  // namespace qvtest

#endif
