#include "widgets/Fl_MyScroll.h"

#include "support/WidgetPixels.h"

#include <FL/Fl_Box.H>
#include <FL/Fl_Slider.H>
#include <FL/Fl_Window.H>
#include <gtest/gtest.h>

namespace {

TEST(MyScroll, PositionsCountFromZeroAndFollowTheDrawing) {
    Fl_Window win(0, 0, 400, 300);
    Fl_Slider slider(350, 10, 16, 200);
    Fl_MyScroll pane(10, 10, 200, 100, nullptr, &slider);
    Fl_Box* content = new Fl_Box(10, 10, 200, 300);
    pane.end();
    win.end();

    EXPECT_EQ(pane.yposition(), 0);
    pane.position(0, 30);
    EXPECT_EQ(content->x(), 10);
    EXPECT_EQ(content->y(), 10 - 30);

    qvtest::showAndDraw(win);
    EXPECT_EQ(pane.yposition(), 30);
    EXPECT_EQ(slider.value(), 30);
    EXPECT_EQ(slider.maximum(), 300 - 100);

    pane.position(0, 30);
    EXPECT_EQ(pane.damage(), 0);
    pane.position(0, 50);
    EXPECT_NE(pane.damage() & FL_DAMAGE_SCROLL, 0);
    EXPECT_EQ(content->y(), 10 - 50);

    pane.resize(20, 30, 200, 100);
    EXPECT_EQ(content->x(), 20);
    EXPECT_EQ(content->y(), 30 - 50);
}

TEST(MultiScroll, ScrollsOnlyTheScrollGroupsBuiltWithItsBars) {
    Fl_Window win(0, 0, 400, 300);
    Fl_Slider foreign(380, 10, 16, 200);
    Fl_MultiScroll multi(10, 10, 360, 200);
    Fl_Box* plain = new Fl_Box(20, 20, 50, 50);
    Fl_MyScroll* pane = new Fl_MyScroll(80, 20, 100, 100, nullptr, &multi.vscrollbar,
                                        &multi.hscrollbar);
    Fl_Box* inner = new Fl_Box(80, 20, 300, 400);
    pane->end();
    Fl_MyScroll* other = new Fl_MyScroll(190, 20, 100, 100, nullptr, &foreign);
    Fl_Box* otherInner = new Fl_Box(190, 20, 100, 400);
    other->end();
    multi.end();
    win.end();

    static_cast<Fl_Valuator&>(multi.vscrollbar).value(40);
    multi.vscrollbar.do_callback();
    EXPECT_EQ(pane->yposition(), 40);
    EXPECT_EQ(inner->y(), 20 - 40);
    EXPECT_EQ(plain->y(), 20);
    EXPECT_EQ(otherInner->y(), 20);

    multi.hscrollchildren(15);
    EXPECT_EQ(inner->x(), 80 - 15);
    EXPECT_EQ(plain->x(), 20);
    EXPECT_EQ(otherInner->x(), 190);
}

}  // namespace
