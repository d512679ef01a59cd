#include "support/ModalDriver.h"

#include "support/WidgetEvents.h"

#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Window.H>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

// A modal question with one button that closes it, waited for the way the
// program's dialogs wait; returns how often the button was pressed.
int askModal() {
    Fl_Window w(100, 100, 200, 100, "Question");
    Fl_Button yes(50, 30, 100, 30, "Oui");
    int pressed = 0;
    yes.callback([](Fl_Widget* b, void* n) { ++*static_cast<int*>(n); b->window()->hide(); }, &pressed);
    w.end();
    w.set_modal();
    w.show();
    while (w.shown()) Fl::wait();
    return pressed;
}

TEST(ModalDriver, StepsRunInsideTheModalLoop) {
    qvtest::ModalDriver driver;
    driver.onModal([](Fl_Window& w) { qvtest::clickWidget(qvtest::findWidget(&w, "Oui")); });
    EXPECT_EQ(askModal(), 1);
    EXPECT_TRUE(driver.done());
}

void leaveTheDialogUnanswered() {
    qvtest::ModalDriver driver(0.3);
    driver.after(60, [] {});
    EXPECT_EQ(askModal(), 0);
    EXPECT_TRUE(driver.timedOut());
}

TEST(ModalDriver, WatchdogFailsTheTestInsteadOfHanging) {
    EXPECT_NONFATAL_FAILURE(leaveTheDialogUnanswered(), "still waiting");
}

}  // namespace
