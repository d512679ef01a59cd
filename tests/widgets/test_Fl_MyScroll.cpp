#include "widgets/Fl_MyScroll.h"

#include "support/WidgetEvents.h"
#include "support/WidgetPixels.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Input.H>
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

// Where a vertical bar shows its red thumb (its selection colour) between its arrows: the first and last pixel of the
// run along it.
std::pair<int, int> thumb(Fl_Window& win, Fl_Scrollbar& bar) {
    return qvtest::colorRun(win, bar.x() + bar.w() / 2, bar.y() + bar.w(), 0, 1, bar.h() - 2 * bar.w(), rgbOf(FL_RED));
}

// A 200 x 200 pane at (10, 10) without a box, yellow, scrolled by two outside scrollbars; its content is 250 x 400: a
// red band 100 high over a green one 300 high and 150 wide. The pane repaints what it shows when it scrolls, and its
// sliders at once; after a drawing that changed the content's extent, on the next turn of the event loop.
TEST(MyScroll, PositionRepaintsTheContentAndTheThumbs) {
    Fl_Window win(0, 0, 400, 300);
    Fl_Scrollbar vbar(370, 10, 17, 200), hbar(10, 220, 200, 17);
    Fl_MyScroll* pane = new Fl_MyScroll(10, 10, 200, 200, nullptr, &vbar, &hbar);
    Fl_Box *top = colorBox(10, 10, 250, 100, FL_RED), *bottom = colorBox(10, 110, 150, 300, FL_GREEN);
    pane->end(), win.end();
    pane->color(FL_YELLOW);
    hbar.type(FL_HORIZONTAL);
    vbar.callback(Fl_MyScroll::scrollbar_cb, pane);
    hbar.callback(Fl_MyScroll::hscrollbar_cb, pane);
    vbar.selection_color(FL_RED);
    qvtest::showAndDraw(win);
    auto at = [&](int x, int y) { return pixelAt(win, x, y); };
    EXPECT_EQ(std::make_tuple(vbar.maximum(), hbar.maximum(), at(20, 100)), std::make_tuple(200.0, 50.0, rgbOf(FL_RED)));
    pane->position(0, 0);  // where it is: nothing to draw
    EXPECT_EQ(pane->damage(), 0);
    const auto start = thumb(win, vbar);
    pane->position(0, 60);
    const auto moved = thumb(win, vbar);  // drawn at once, the same size
    EXPECT_EQ(std::make_tuple(top->y(), bottom->y(), vbar.value(), at(20, 100), moved.first > start.first, moved.second - moved.first),
              std::make_tuple(-50, 50, 60.0, rgbOf(FL_GREEN), true, start.second - start.first));
    vbar.value(250), vbar.do_callback();  // below and right of the content: the pane's colour
    EXPECT_EQ(std::make_tuple(pane->xposition(), pane->yposition(), at(20, 150), at(20, 175)),
              std::make_tuple(0, 250, rgbOf(FL_GREEN), rgbOf(FL_YELLOW)));
    hbar.value(120), hbar.do_callback();
    EXPECT_EQ(std::make_tuple(top->x(), at(35, 150), at(150, 150)), std::make_tuple(-110, rgbOf(FL_GREEN), rgbOf(FL_YELLOW)));
    bottom->color(FL_BLUE), bottom->redraw();  // a child's own repaint
    EXPECT_EQ(at(20, 150), rgbOf(FL_BLUE));
    const auto before = thumb(win, vbar);
    bottom->size(150, 700), top->size(400, 100);
    pane->redraw();
    qvtest::settleDrawing();
    const auto after = thumb(win, vbar);
    EXPECT_EQ(std::make_tuple(vbar.maximum(), hbar.maximum(), after.second - after.first < before.second - before.first),
              std::make_tuple(600.0, 200.0, true));
    pane->resize(30, 40, 100, 100);  // a move of the pane carries its content
    EXPECT_EQ(std::make_tuple(top->x(), top->y(), bottom->y(), bottom->h()), std::make_tuple(-90, -210, -110, 700));
}

TEST(MyScroll, PanesOfAMultiScrollScrollTogetherAndItsThumbFollows) {
    Fl_Window win(0, 0, 400, 300);
    Fl_MultiScroll multi(10, 10, 360, 250);
    Fl_Box* plain = colorBox(20, 20, 50, 50, FL_GREEN);
    Fl_MyScroll* left = new Fl_MyScroll(80, 20, 100, 100, nullptr, &multi.vscrollbar, &multi.hscrollbar);
    Fl_Box* leftInner = colorBox(80, 20, 300, 400, FL_WHITE);
    left->end();
    // A framed pane: its box fills the gaps between its children, within the frame.
    Fl_MyScroll* right = new Fl_MyScroll(200, 20, 100, 100, nullptr, &multi.vscrollbar, nullptr);
    Fl_Box* rightInner = colorBox(202, 22, 60, 400, FL_WHITE);
    colorBox(272, 22, 20, 20, FL_WHITE);
    right->end(), multi.end(), win.end();
    right->box(FL_DOWN_FRAME);
    right->color(FL_YELLOW);
    win.color(FL_CYAN);
    multi.vscrollbar.selection_color(FL_RED);
    qvtest::showAndDraw(win);
    const auto top = thumb(win, multi.vscrollbar);
    EXPECT_EQ(std::make_tuple(pixelAt(win, 266, 60), pixelAt(win, 200, 60) != rgbOf(FL_CYAN), pixelAt(win, 303, 60),
                              multi.vscrollbar.x(), multi.vscrollbar.h(), multi.hscrollbar.y(), multi.hscrollbar.w()),
              std::make_tuple(rgbOf(FL_YELLOW), true, rgbOf(FL_CYAN), 353, 233, 243, 343));
    multi.vscrollbar.value(40), multi.vscrollbar.do_callback();
    multi.hscrollbar.value(15), multi.hscrollbar.do_callback();
    EXPECT_EQ(std::make_tuple(leftInner->x(), leftInner->y(), rightInner->x(), rightInner->y(), plain->x(), plain->y()),
              std::make_tuple(80 - 15, 20 - 40, 202, 22 - 40, 20, 20));
    multi.hscrollchildren(5);
    EXPECT_EQ(leftInner->x(), 80 - 5);
    multi.scrollchildren(300);  // from the program: the thumb is drawn at the bottom at once
    qvtest::flushDrawing();
    EXPECT_EQ(std::make_pair(rightInner->y(), thumb(win, multi.vscrollbar).first > top.second), std::make_pair(22 - 300, true));
}

// The group's own bars take no key, wherever the focus and the pointer are: a key no widget uses goes round the
// window as a shortcut, and must not scroll the panes. A push in a bar's trough moves the panes by one view.
TEST(MyScroll, KeysLeaveTheGroupsBarsAndATroughPushMovesOneView) {
    Fl_Window win(0, 0, 400, 300);
    Fl_MultiScroll multi(10, 10, 300, 250);
    Fl_MyScroll* pane = new Fl_MyScroll(10, 10, 283, 233, nullptr, &multi.vscrollbar, &multi.hscrollbar);
    Fl_Box* content = colorBox(10, 10, 1000, 2000, FL_WHITE);
    pane->end(), multi.end();
    Fl_Input* input = new Fl_Input(320, 10, 70, 25);
    win.end();
    qvtest::showAndDraw(win);
    multi.scrollchildren(500), multi.hscrollchildren(300);
    qvtest::flushDrawing();
    for (Fl_Widget* focus : {static_cast<Fl_Widget*>(input), static_cast<Fl_Widget*>(nullptr)}) {
        for (Fl_Widget* under : {static_cast<Fl_Widget*>(&multi.vscrollbar), static_cast<Fl_Widget*>(&multi.hscrollbar)}) {
            Fl::focus(focus);
            qvtest::moveMouse(&win, under->x() + under->w() / 2, under->y() + under->h() / 2);
            for (int key : {FL_End, FL_Home, FL_Page_Down, FL_Page_Up, FL_Down, FL_Up, FL_Left, FL_Right, FL_Right}) qvtest::key(&win, key);
            EXPECT_EQ(std::make_tuple(multi.vscrollbar.value(), multi.hscrollbar.value(), content->x(), content->y()),
                      std::make_tuple(500.0, 300.0, 10 - 300, 10 - 500));
        }
    }
    const Fl_Scrollbar& bar = multi.vscrollbar;
    qvtest::click(&win, bar.x() + 8, bar.y() + bar.h() - 25);
    EXPECT_EQ(std::make_pair(int(multi.vscrollbar.value()), content->y()), std::make_pair(500 + 233, 10 - 500 - 233));
    // Scrolled past the content's end, the view still pages by itself, up from there.
    multi.scrollchildren(2000 - 233 + 100);
    qvtest::click(&win, bar.x() + 8, bar.y() + 25);
    EXPECT_EQ(int(multi.vscrollbar.value()), 2000 - 233 + 100 - 233);
}

// Bars 9 pixels long, shorter than their arrows: a drag on one gives the toolkit's slider no number, and the panes it
// scrolls stay at their start, the one of a group of panes and the one of a pane's own outside bar alike.
TEST(MyScroll, BarsShorterThanTheirArrowsLeaveThePanesAtTheirStart) {
    Fl_Window win(0, 0, 400, 300);
    Fl_MultiScroll multi(10, 10, 100, 26);
    Fl_MyScroll* grouped = new Fl_MyScroll(10, 10, 83, 9, nullptr, &multi.vscrollbar, nullptr);
    Fl_Box* first = colorBox(10, 10, 50, 400, FL_WHITE);
    grouped->end(), multi.end();
    Fl_Scrollbar bar(200, 10, 17, 9);
    Fl_MyScroll* alone = new Fl_MyScroll(120, 10, 70, 9, nullptr, &bar, nullptr);
    Fl_Box* second = colorBox(120, 10, 50, 400, FL_WHITE);
    alone->end(), win.end();
    bar.callback(Fl_MyScroll::scrollbar_cb, alone);
    qvtest::showAndDraw(win);
    for (Fl_Scrollbar* b : {static_cast<Fl_Scrollbar*>(&multi.vscrollbar), &bar}) {
        const int x = b->x() + 8, y = b->y() + 4;
        qvtest::push(&win, x, y), qvtest::drag(&win, x, y + 60), qvtest::release(&win, x, y + 60);
    }
    const auto value = [](Fl_Valuator& v) { return v.value(); };
    EXPECT_EQ(std::make_tuple(multi.vscrollbar.h(), value(multi.vscrollbar), value(bar), first->y(), second->y(),
                              grouped->yposition(), alone->yposition()),
              std::make_tuple(9, 0.0, 0.0, 10, 10, 0, 0));
}

}  // namespace
