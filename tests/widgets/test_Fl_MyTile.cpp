#include "widgets/Fl_MyTile.h"

#include "support/WidgetEvents.h"
#include "support/WidgetPixels.h"

#include <FL/Fl_Box.H>
#include <FL/Fl_Window.H>
#include <gtest/gtest.h>

#include <tuple>

TEST(MyTile, BordersAreGrabbedWithinFourPixelsAndFollowTheDrag) {
    Fl_Window win(0, 0, 400, 300);
    Fl_MyTile tile(0, 0, 200, 100);
    Fl_Box left(0, 0, 100, 100);
    Fl_Box right(100, 0, 100, 100);
    tile.end();
    win.end();
    qvtest::showAndDraw(win);

    EXPECT_EQ(qvtest::push(&tile, 110, 50), 0);  // 10 pixels from the border
    EXPECT_EQ(qvtest::drag(&tile, 130, 50), 0);
    EXPECT_EQ(qvtest::push(&tile, 102, 50), 1);
    EXPECT_EQ(qvtest::drag(&tile, 122, 50), 1);
    qvtest::release(&tile, 122, 50);
    EXPECT_EQ(std::make_tuple(left.w(), right.x(), right.w()), std::make_tuple(120, 120, 80));
}
