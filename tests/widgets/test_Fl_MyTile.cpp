#include "widgets/Fl_MyTile.h"

#include "support/WidgetEvents.h"
#include "support/WidgetPixels.h"

#include <FL/Fl_Box.H>
#include <FL/Fl_Window.H>
#include <gtest/gtest.h>

namespace {

struct TileTest : ::testing::Test {
    Fl_Window win{0, 0, 400, 300};
    Fl_MyTile* tile = nullptr;
    Fl_Box* left = nullptr;
    Fl_Box* right = nullptr;
    int callbacks = 0;

    // Two panes side by side; the right one ends `gap` pixels before the tile's edge.
    void build(int gap = 0) {
        win.begin();
        tile = new Fl_MyTile(0, 0, 200, 100);
        left = new Fl_Box(0, 0, 100, 100);
        right = new Fl_Box(100, 0, 100 - gap, 100);
        tile->end();
        win.end();
        tile->callback([](Fl_Widget*, void* n) { ++*static_cast<int*>(n); }, &callbacks);
        qvtest::showAndDraw(win);
    }
};

TEST_F(TileTest, BordersAreGrabbedWithinFourPixelsAndFollowTheDrag) {
    build();
    EXPECT_EQ(qvtest::push(tile, 110, 50), 0);
    EXPECT_EQ(qvtest::drag(tile, 130, 50), 0);
    EXPECT_EQ(left->w(), 100);

    EXPECT_EQ(qvtest::push(tile, 102, 50), 1);
    EXPECT_EQ(qvtest::drag(tile, 122, 50), 1);
    qvtest::release(tile, 122, 50);
    EXPECT_EQ(left->w(), 120);
    EXPECT_EQ(right->x(), 120);
    EXPECT_EQ(right->w(), 80);
    EXPECT_EQ(tile->old_x(), 100);
    EXPECT_EQ(tile->new_x(), 120);
    EXPECT_EQ(callbacks, 2);
}

TEST_F(TileTest, DraggingTheOuterPaneEdgeMovesTheTileEdge) {
    build(40);  // the right pane ends at 160 in a 200-pixel tile
    EXPECT_EQ(qvtest::push(tile, 161, 50), 1);
    qvtest::release(tile, 251, 50);
    EXPECT_EQ(right->w(), 150);
    EXPECT_EQ(tile->w(), 250);
}

}  // namespace
