#include "widgets/Fl_MyScroll.h"

#include "support/WidgetPixels.h"

#include <FL/Fl_Box.H>
#include <FL/Fl_Window.H>
#include <gtest/gtest.h>

#include <tuple>

namespace {

using qvtest::pixelAt;
using qvtest::rgbOf;

Fl_Box* colorBox(int X, int Y, int W, int H, Fl_Color c) {
    Fl_Box* b = new Fl_Box(FL_FLAT_BOX, X, Y, W, H, nullptr);
    b->color(c);
    return b;
}

void paintThumb(Fl_Scrollbar& bar) {
    bar.color(FL_BLUE);
    bar.selection_color(FL_RED);
}
// Where a scrollbar shows its red thumb between its arrows: the first and
// last pixel of the run along it.
std::pair<int, int> thumb(Fl_Window& win, Fl_Scrollbar& bar) {
    if (bar.type() == FL_HORIZONTAL)
        return qvtest::colorRun(win, bar.x() + bar.h(), bar.y() + bar.h() / 2, 1, 0, bar.w() - 2 * bar.h(), rgbOf(FL_RED));
    return qvtest::colorRun(win, bar.x() + bar.w() / 2, bar.y() + bar.w(), 0, 1, bar.h() - 2 * bar.w(), rgbOf(FL_RED));
}
int length(std::pair<int, int> run) { return run.second - run.first; }

// A 200 x 200 pane at (10, 10) without a box, yellow, scrolled by two
// outside scrollbars; its content is 250 x 400: a red band 100 high over a
// green one 300 high and 150 wide.
struct MyScrollTest : ::testing::Test {
    Fl_Window win{0, 0, 400, 300};
    Fl_Scrollbar vbar{370, 10, 17, 200}, hbar{10, 220, 200, 17};
    Fl_MyScroll* pane = new Fl_MyScroll(10, 10, 200, 200, nullptr, &vbar, &hbar);
    Fl_Box* top = colorBox(10, 10, 250, 100, FL_RED);
    Fl_Box* bottom = colorBox(10, 110, 150, 300, FL_GREEN);
    void SetUp() override {
        pane->end();
        pane->color(FL_YELLOW);
        win.end();
        hbar.type(FL_HORIZONTAL);
        vbar.callback(Fl_MyScroll::scrollbar_cb, pane);
        hbar.callback(Fl_MyScroll::hscrollbar_cb, pane);
        paintThumb(vbar);
        paintThumb(hbar);
        qvtest::showAndDraw(win);
    }
    qvtest::Rgb at(int x, int y) { return pixelAt(win, x, y); }
};

TEST_F(MyScrollTest, PositionMovesTheContentItsPixelsAndTheThumb) {
    EXPECT_EQ(std::make_tuple(vbar.maximum(), hbar.maximum(), at(20, 100)), std::make_tuple(200.0, 50.0, rgbOf(FL_RED)));
    const auto start = thumb(win, vbar);
    pane->position(0, 0);  // where it is: nothing to draw
    EXPECT_EQ(pane->damage(), 0);
    pane->position(0, 60);
    EXPECT_EQ(std::make_tuple(top->y(), bottom->y(), vbar.value()), std::make_tuple(-50, 50, 60.0));
    EXPECT_EQ(at(20, 100), rgbOf(FL_GREEN));
    const auto moved = thumb(win, vbar);  // drawn at once, same size
    EXPECT_EQ(std::make_pair(moved.first > start.first, length(moved)), std::make_pair(true, length(start)));
    // Right of and below the content the pane shows its own colour.
    vbar.value(250);
    vbar.do_callback();
    EXPECT_EQ(std::make_tuple(pane->xposition(), pane->yposition(), at(20, 150), at(20, 175)),
              std::make_tuple(0, 250, rgbOf(FL_GREEN), rgbOf(FL_YELLOW)));
    hbar.value(120);
    hbar.do_callback();
    EXPECT_EQ(std::make_tuple(top->x(), at(35, 150), at(150, 150)), std::make_tuple(-110, rgbOf(FL_GREEN), rgbOf(FL_YELLOW)));
    bottom->color(FL_BLUE);  // a child's own repaint
    bottom->redraw();
    EXPECT_EQ(at(20, 150), rgbOf(FL_BLUE));
}

TEST_F(MyScrollTest, TheContentGrowingResizesTheThumbsOnTheNextLoopTurn) {
    const auto before = thumb(win, vbar), hbefore = thumb(win, hbar);
    bottom->size(150, 700);
    top->size(400, 100);
    pane->redraw();
    qvtest::settleDrawing();
    EXPECT_EQ(std::make_pair(vbar.maximum(), hbar.maximum()), std::make_pair(600.0, 200.0));
    const auto after = thumb(win, vbar);
    EXPECT_EQ(after.first, before.first);
    EXPECT_LT(length(after), length(before));
    EXPECT_LT(length(thumb(win, hbar)), length(hbefore));
    pane->resize(30, 40, 100, 100);  // a move of the pane carries its content
    EXPECT_EQ(std::make_tuple(top->x(), top->y(), bottom->y(), bottom->h()), std::make_tuple(30, 40, 140, 700));
}

TEST(MultiScroll, ScrollsItsPanesTogetherAndRepaintsTheThumbs) {
    Fl_Window win(0, 0, 400, 300);
    Fl_MultiScroll multi(10, 10, 360, 250);
    Fl_Box* plain = colorBox(20, 20, 50, 50, FL_GREEN);
    Fl_MyScroll* left = new Fl_MyScroll(80, 20, 100, 100, nullptr, &multi.vscrollbar, &multi.hscrollbar);
    Fl_Box* leftInner = colorBox(80, 20, 300, 400, FL_WHITE);
    left->end();
    // A framed pane: its box fills the gaps between its children.
    Fl_MyScroll* right = new Fl_MyScroll(200, 20, 100, 100, nullptr, &multi.vscrollbar, nullptr);
    Fl_Box* rightInner = colorBox(202, 22, 60, 400, FL_WHITE);
    colorBox(272, 22, 20, 20, FL_WHITE);
    right->end();
    right->box(FL_DOWN_FRAME);
    right->color(FL_YELLOW);
    multi.end();
    win.end();
    win.color(FL_CYAN);
    paintThumb(multi.vscrollbar);
    qvtest::showAndDraw(win);
    const auto top = thumb(win, multi.vscrollbar);
    EXPECT_EQ(pixelAt(win, 266, 60), rgbOf(FL_YELLOW));
    EXPECT_NE(pixelAt(win, 200, 60), rgbOf(FL_CYAN));
    EXPECT_EQ(std::make_tuple(multi.vscrollbar.x(), multi.vscrollbar.h(), multi.hscrollbar.y(), multi.hscrollbar.w()),
              std::make_tuple(353, 233, 243, 343));

    multi.vscrollbar.value(40);
    multi.vscrollbar.do_callback();
    multi.hscrollbar.value(15);
    multi.hscrollbar.do_callback();
    EXPECT_EQ(std::make_tuple(leftInner->x(), leftInner->y(), rightInner->x(), rightInner->y(), plain->x(), plain->y()),
              std::make_tuple(80 - 15, 20 - 40, 202, 22 - 40, 20, 20));
    multi.hscrollchildren(5);
    EXPECT_EQ(leftInner->x(), 80 - 5);
    // Scrolled from the program: the thumb is drawn at the bottom at once.
    multi.scrollchildren(300);
    qvtest::flushDrawing();
    EXPECT_EQ(rightInner->y(), 22 - 300);
    EXPECT_GT(thumb(win, multi.vscrollbar).first, top.second);
}

}  // namespace
