#include "WidgetPixels.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

namespace qvtest {

std::ostream& operator<<(std::ostream& os, const Rgb& c) {
    return os << "rgb(" << int(c.r) << ", " << int(c.g) << ", " << int(c.b) << ")";
}

Rgb rgbOf(Fl_Color c) {
    Rgb out;
    Fl::get_color(c, out.r, out.g, out.b);
    return out;
}

void flushDrawing() {
    Fl::flush();
    if (fl_display) XSync(fl_display, False);
}

void settleDrawing() {
    for (int i = 0; i < 3; ++i) Fl::wait(0.0);
    flushDrawing();
}

void showAndDraw(Fl_Window& w) {
    w.show();
    // Tests share one X server and run in parallel: their windows overlap.
    // With a backing store the server keeps what is drawn in the covered parts.
    XSetWindowAttributes attributes;
    attributes.backing_store = Always;
    XChangeWindowAttributes(fl_display, fl_xid(&w), CWBackingStore, &attributes);
    w.wait_for_expose();
    // Let the expose events of the mapping arrive, then draw everything.
    for (int i = 0; i < 5; ++i) Fl::wait(0.01);
    w.redraw();
    flushDrawing();
}

Rgb pixelAt(Fl_Window& w, int x, int y) {
    flushDrawing();
    w.make_current();
    unsigned char buf[3] = {0, 0, 0};
    fl_read_image(buf, x, y, 1, 1);
    Rgb out;
    out.r = buf[0];
    out.g = buf[1];
    out.b = buf[2];
    return out;
}

std::pair<int, int> colorRun(Fl_Window& w, int x, int y, int dx, int dy, int n, Rgb c) {
    std::pair<int, int> run(-1, -1);
    for (int i = 0; i < n; ++i) {
        if (pixelAt(w, x + i * dx, y + i * dy) != c) continue;
        if (run.first < 0) run.first = i;
        run.second = i;
    }
    return run;
}

}  // namespace qvtest
