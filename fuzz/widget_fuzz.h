#ifndef QV_FUZZ_WIDGET_FUZZ_H
#define QV_FUZZ_WIDGET_FUZZ_H

// Shared driver of the widget fuzz targets: the input bytes become a user's
// hand on a shown window under the virtual X server. Every event goes through
// tests/support/WidgetEvents, as in the widget tests.
//
// Adding a target, fuzz/fuzz_<family>.cpp: fuzz/CMakeLists.txt builds every
// fuzz_*.cpp; test.sh runs one that includes this header under xvfb-run with
// leak detection, for as many seconds as its "// fuzz-seconds: N" first line
// says, from its seeds in fuzz/corpus/fuzz_<family>/:
//
//   extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
//       qvfuzz::WidgetFuzz f(data, size);     // an empty window, open for children
//       auto* w = new MyWidget(10, 10, 300, 200);
//       ...                                   // more widgets, callbacks reading f.in()
//       f.show();                             // ends the window, maps and draws it
//       while (f.next()) {                    // pointer moves, resizes and drawing between steps
//           switch (f.pick(4)) {
//           case 0: w->some_call(f.in().ConsumeIntegralInRange(0, 9)); break;
//           default: f.userEvent(); break;   // a push, drag, release, click, key, wheel...
//           }
//           qvfuzz::require(holds(w), "what the user sees broken: %d", n);
//       }
//       return 0;                             // ~WidgetFuzz deletes the window and all in it
//   }
//
// Everything a step does comes from the bytes (no clock, no random source),
// so an input replays the same way, and a crash reduces with -minimize_crash.
// Every seed depends on how this file reads the bytes: change the order or
// the ranges of its picks and old seeds still run but do something else.
// Widgets a callback deletes must be forgotten by the target (Fl_Widget_Tracker).
// QV_FUZZ_TRACE=1 build-fuzz/fuzz/fuzz_<family> crash-... prints each step.

#include <fuzzer/FuzzedDataProvider.h>

#include <FL/Fl.H>

#include <cstddef>
#include <cstdint>
#include <string>

class Fl_Widget;
class Fl_Window;

namespace qvfuzz {

// Prints what broke (a printf format) and aborts, which libFuzzer reports as
// a crash with its input.
[[noreturn]] void fail(const char* format, ...) __attribute__((format(printf, 1, 2)));
void require(bool ok, const char* format, ...) __attribute__((format(printf, 2, 3)));

struct Point {
    int x, y;
};

class WidgetFuzz {
public:
    // A window of W x H at the screen's corner, left open as the current
    // group so that the target builds its widgets into it.
    WidgetFuzz(const uint8_t* data, size_t size, int W = 600, int H = 420);
    // Releases a button still held, deletes the window with everything in it
    // and lets the toolkit finish pending work, so that the next input starts
    // from nothing.
    ~WidgetFuzz();
    WidgetFuzz(const WidgetFuzz&) = delete;
    WidgetFuzz& operator=(const WidgetFuzz&) = delete;

    FuzzedDataProvider& in() { return in_; }
    Fl_Window* window() const { return win_; }
    // 0 .. n-1 from the input (0 once it is used up).
    int pick(int n);
    bool chance(int one_in) { return pick(one_in) == 0; }

    // Closes the window's group, maps the window and draws it.
    void show();
    // Between two steps: moves the pointer (a drag while a button is held),
    // now and then resizes the window or runs the event loop once, and draws
    // what is damaged. False when the input is used up or the step cap reached.
    bool next();

    // One gesture of the user's, routed through the window as the toolkit
    // routes real events: a push, drag or release (buttons 1-3, modifiers,
    // double clicks), a click, a wheel turn, a key, or a pointer move. The
    // point lies in or just around `near` (the whole window when null).
    void userEvent(Fl_Widget* near = nullptr);
    void mouseEvent(Fl_Widget* near = nullptr);
    void keyEvent();
    // Each character of `utf8` as one key press, with its text.
    void typeText(const std::string& utf8);
    // Up to max_chars characters: letters, digits, an accented letter, and
    // the ones file names and patterns make special (/ . ~ * ? [ space).
    std::string pickText(int max_chars);

    // Events, points and window resizes go to `w` (another shown window, a
    // dialog's), or back to the target's window when null; route back
    // before that window is deleted.
    void routeTo(Fl_Window* w);
    // The window events went to is being deleted (by a callback, in the
    // middle of a gesture): events go back to the target's window and the
    // button held is forgotten, with no event sent.
    void forgetTarget();
    // Events for a hidden window are dropped, as the X server sends a hidden
    // window none: a gesture whose push hides the window ends there. Off by
    // default, for targets that drive widgets of windows they never show.
    void onlyShownWindows(bool on) { only_shown_ = on; }

    // Building blocks for targets with gestures of their own.
    Point pointNear(Fl_Widget* w);  // in w, or up to 8 pixels outside it
    int pickModifiers();            // none, Shift, Ctrl, Alt and their mixes
    int pickKey();                  // navigation, editing and letter keys
    int heldButton() const { return button_; }
    Point pointer() const { return pointer_; }
    void moveTo(Point p);           // FL_MOVE, or FL_DRAG while a button is held on a widget
    void push(Point p, int button, int mods = 0, int clicks = 0);
    void release(Point p);          // the button held
    void resizeWindow();
    // With QV_FUZZ_TRACE set in the environment, prints a line on standard
    // error: what a step does, to read a reproducer back. Events are noted here.
    static void note(const char* format, ...) __attribute__((format(printf, 1, 2)));
    // Runs a pending timeout at once, as if its time had come: timers never
    // come due while steps run, since no step waits.
    static void fireTimeout(Fl_Timeout_Handler cb, void* data);

    // Steps at most per input, so that long inputs stay fast.
    static const int MAX_STEPS = 300;

private:
    FuzzedDataProvider in_;
    Fl_Window* win_;
    Fl_Window* target_;  // where events go
    int steps_ = 0;
    int button_ = 0;  // the button held, 0 for none
    int held_mods_ = 0;
    Point pointer_{0, 0};
    bool only_shown_ = false;

    bool dropped() const;  // the event is for a hidden window (noted when dropped)
};

}  // namespace qvfuzz

#endif
