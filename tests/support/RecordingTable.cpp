#include "RecordingTable.h"

#include <FL/fl_draw.H>

namespace qvtest {

void fillRect(Fl_Color color, int X, int Y, int W, int H) {
    fl_color(color);
    fl_rectf(X, Y, W, H);
}

}  // namespace qvtest
