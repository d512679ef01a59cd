#include "widgets/Fl_MyTile.h"

#include "support/WidgetEvents.h"
#include "support/WidgetPixels.h"

#include <FL/Fl_Box.H>
#include <FL/Fl_Window.H>
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {

using Rect = std::tuple<int, int, int, int>;
Rect rect(const Fl_Widget& w) { return Rect(w.x(), w.y(), w.w(), w.h()); }
std::vector<Rect> moves;  // what the callback read: old x, old y, new x, new y

// Panes of 100 x 80, 200 x 80, 100 x 120 and 200 x 120 in a 300 x 200 tile: inner borders at x = 100 and y = 80.
struct MyTileTest : ::testing::Test {
    Fl_Window win{0, 0, 400, 300};
    Fl_MyTile* tile = new Fl_MyTile(0, 0, 300, 200);
    Fl_Box *tl = new Fl_Box(0, 0, 100, 80), *tr = new Fl_Box(100, 0, 200, 80);
    Fl_Box *bl = new Fl_Box(0, 80, 100, 120), *br = new Fl_Box(100, 80, 200, 120);
    void SetUp() override {
        tile->end();
        win.end();
        tile->callback([](Fl_Widget* w, void*) {
            auto* t = static_cast<Fl_MyTile*>(w);
            moves.emplace_back(t->old_x(), t->old_y(), t->new_x(), t->new_y());
        });
        qvtest::showAndDraw(win);
    }
};

TEST_F(MyTileTest, BordersAreGrabbedWithinFourPixelsAndFollowTheDrag) {
    // Push at (x, y), drag by (dx, dy), release; the panes are set back each time.
    const struct { int x, y, dx, dy, taken; Rect topLeft, bottomRight; } cases[] = {
        {105, 40, 20, 0, 0, {0, 0, 100, 80}, {100, 80, 200, 120}}, {104, 40, 20, 0, 1, {0, 0, 120, 80}, {120, 80, 180, 120}},
        {96, 150, -30, 0, 1, {0, 0, 70, 80}, {70, 80, 230, 120}},  {50, 75, 0, 30, 0, {0, 0, 100, 80}, {100, 80, 200, 120}},
        {50, 76, 0, 30, 1, {0, 0, 100, 110}, {100, 110, 200, 90}},
        {102, 2, 10, 0, 1, {0, 0, 110, 80}, {110, 80, 190, 120}}, {2, 78, 0, 10, 1, {0, 0, 100, 90}, {100, 90, 200, 110}},
        {102, 83, 10, -20, 1, {0, 0, 110, 60}, {110, 60, 190, 140}},  // the crossing: both
        {103, 40, -150, 0, 1, {0, 0, 0, 80}, {0, 80, 300, 120}},      // not past the tile's edge
        {50, 78, 0, -150, 1, {0, 0, 100, 0}, {100, 0, 200, 200}},
        {298, 40, -20, 0, 0, {0, 0, 100, 80}, {100, 80, 200, 120}},  // the tile's own edges
        {50, 198, 0, -20, 0, {0, 0, 100, 80}, {100, 80, 200, 120}},
    };
    for (auto& k : cases) {
        moves.clear();
        EXPECT_EQ(qvtest::push(tile, k.x, k.y), k.taken) << k.x << "," << k.y;
        qvtest::drag(tile, k.x + k.dx, k.y + k.dy);
        qvtest::release(tile, k.x + k.dx, k.y + k.dy);
        // One callback for the drag, one for the release.
        EXPECT_EQ(std::make_tuple(rect(*tl), rect(*br), moves.size()), std::make_tuple(k.topLeft, k.bottomRight, k.taken * 2u))
            << k.x << "," << k.y;
        tile->position(100, 80, 100, 80);
        qvtest::flushDrawing();
    }
    EXPECT_EQ(std::make_tuple(rect(*tr), rect(*bl), rect(*tile)),
              std::make_tuple(Rect(100, 0, 200, 80), Rect(0, 80, 100, 120), Rect(0, 0, 300, 200)));
    // A drag waits until the previous move is drawn; the release does not.
    moves.clear();
    qvtest::push(tile, 101, 40);
    qvtest::drag(tile, 121, 40);
    EXPECT_EQ(qvtest::drag(tile, 141, 40), 1);  // taken, not applied
    EXPECT_EQ(tl->w(), 120);
    qvtest::flushDrawing();
    qvtest::drag(tile, 151, 40);
    qvtest::release(tile, 131, 40);
    EXPECT_EQ(moves, (std::vector<Rect>{{100, -1, 120, -1}, {100, -1, 150, -1}, {100, -1, 130, -1}}));
}

// The panes' outermost border moves the tile's edge with it; an inner border dragged past the tile's edges widens it;
// a border ending inside the tile is grabbed up to four pixels past its end. A resize stretches the panes right of
// the resizable area and cuts the others before the new edge.
TEST(MyTile, BordersPastTheEdgesAndResizes) {
    Fl_Window win(0, 0, 400, 300);
    Fl_MyTile tile(0, 0, 300, 150);
    Fl_Box left(0, 0, 100, 100), right(100, 0, 100, 100);  // ending at x = 200 and y = 100
    tile.end();
    Fl_MyTile inner(0, 150, 200, 100);
    Fl_Box a(0, 150, 100, 50), b(100, 150, 100, 50), c(0, 200, 100, 50), d(100, 200, 100, 50);
    inner.end(), win.end();
    for (auto [to, width] : {std::pair{250, 250}, {350, 350}, {150, 150}}) {
        qvtest::push(&tile, right.x() + right.w() - 2, 50), qvtest::release(&tile, to - 2, 50);
        EXPECT_EQ(std::make_pair(tile.w(), right.w()), std::make_pair(width, to - 100)) << to;
    }
    qvtest::push(&tile, 102, 104), qvtest::release(&tile, 122, 104);
    EXPECT_EQ(std::make_tuple(left.w(), right.x(), tile.h()), std::make_tuple(120, 120, 100));  // the panes' bottom is outermost
    qvtest::push(&tile, 50, 98), qvtest::release(&tile, 50, 138);
    EXPECT_EQ(std::make_pair(tile.h(), left.h()), std::make_pair(140, 140));
    qvtest::push(&inner, 102, 202), qvtest::release(&inner, 252, 282);  // the crossing at (100, 200)
    EXPECT_EQ(std::make_tuple(inner.w(), inner.h(), rect(a), rect(d)),
              std::make_tuple(250, 130, Rect(0, 150, 250, 130), Rect(250, 280, 0, 0)));
    Fl_MyTile sized(0, 0, 200, 100);
    Fl_Box l(0, 0, 50, 100), m(50, 0, 100, 100), r(150, 0, 50, 100);
    sized.resizable(m);
    sized.end();
    sized.resize(10, 20, 300, 150);
    EXPECT_EQ(std::make_tuple(rect(l), rect(m), rect(r)), std::make_tuple(Rect(10, 20, 50, 150), Rect(60, 20, 200, 150), Rect(260, 20, 50, 150)));
    sized.resize(0, 0, 80, 60);  // the left panes are cut 50 pixels before the new right edge
    EXPECT_EQ(std::make_tuple(rect(l), rect(m), rect(r)), std::make_tuple(Rect(0, 0, 30, 60), Rect(30, 0, 0, 60), Rect(30, 0, 50, 60)));
    Fl_MyTile column(0, 0, 100, 100);
    Fl_Box top(0, 0, 100, 60), bottom(0, 60, 100, 40);
    column.resizable(top);
    column.end();
    column.resize(0, 0, 100, 150);  // the pane below the resizable one moves down by the growth
    EXPECT_EQ(std::make_pair(rect(top), rect(bottom)), std::make_pair(Rect(0, 0, 100, 110), Rect(0, 110, 100, 40)));
    // A border dragged onto the resizable pane's edge, then a tile smaller than its fixed panes: panes close, none
    // gets a negative size.
    Fl_MyTile four(0, 0, 300, 200);
    Fl_Box tl(0, 0, 100, 80), tr(100, 0, 200, 80), bl(0, 80, 100, 120), br(100, 80, 200, 120);
    four.resizable(tl);
    four.end();
    qvtest::push(&four, 101, 150), qvtest::release(&four, -50, 150);
    four.resize(0, 0, 50, 50);
    using Size = std::pair<int, int>;
    EXPECT_EQ((std::vector<Size>{{tl.w(), tl.h()}, {tr.w(), tr.h()}, {bl.w(), bl.h()}, {br.w(), br.h()}}),
              (std::vector<Size>{{0, 0}, {300, 0}, {0, 120}, {300, 120}}));
}

}  // namespace
