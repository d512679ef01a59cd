#include "widgets/Fl_MyScroll.h"

#include <FL/Fl_Box.H>
#include <FL/Fl_Window.H>
#include <gtest/gtest.h>

TEST(MultiScroll, ScrollsItsScrollGroupsAndLeavesPlainChildrenInPlace) {
    Fl_Window win(0, 0, 400, 300);
    Fl_MultiScroll multi(10, 10, 360, 200);
    Fl_Box* plain = new Fl_Box(20, 20, 50, 50);
    Fl_MyScroll* pane = new Fl_MyScroll(80, 20, 100, 100, nullptr, &multi.vscrollbar, &multi.hscrollbar);
    Fl_Box* inner = new Fl_Box(80, 20, 300, 400);
    pane->end();
    multi.end();
    win.end();

    static_cast<Fl_Valuator&>(multi.vscrollbar).value(40);
    multi.vscrollbar.do_callback();
    multi.hscrollchildren(15);
    EXPECT_EQ(std::make_pair(inner->x(), inner->y()), std::make_pair(80 - 15, 20 - 40));
    EXPECT_EQ(std::make_pair(plain->x(), plain->y()), std::make_pair(20, 20));
}
