#include "widgets/Fl_MyScrollbar.h"

#include <cmath>

int Fl_MyScrollbar::handle(int event) {
    if (event == FL_KEYBOARD || event == FL_SHORTCUT) return 0;
    return Fl_Scrollbar::handle(event);
}

float Fl_MyScrollbar::thumb_fraction(int view, int total) {
    float f = float(view) / float(total);
    const double range = double(total) - view;
    // The toolkit's page: the range times size / (1 - size), truncated. A
    // pane of no height over no content gives no number to round.
    while (std::isfinite(f) && f < 1.0f && int(range * f / (1.0 - f)) < view) f = std::nextafter(f, 1.0f);
    return f;
}
