#ifndef QV_TEST_WIDGETEVENTS_H
#define QV_TEST_WIDGETEVENTS_H

// Sending toolkit events to widgets in tests. Every event goes through
// sendEvent(), which sets the toolkit's event values (Fl::e_*) and hands the
// event to the target: a shown window gets it through Fl::handle, so that the
// toolkit routes it as it would a real one (pushed widget, focus, grab); any
// other widget gets it through its own handle(). Coordinates are window
// coordinates, as the toolkit gives them to the widgets inside a window.

#include <FL/Enumerations.H>

class Fl_Widget;

namespace qvtest {

struct EventSpec {
    int x = 0, y = 0;
    int button = 0;     // 1, 2 or 3 for mouse events
    int held = 0;       // the button is down (FL_PUSH and FL_DRAG)
    int modifiers = 0;  // FL_SHIFT, FL_CTRL, FL_ALT, ...
    int clicks = 0;     // Fl::event_clicks(): 1 for the second click of a double click
    int key = 0;        // Fl::event_key() for key events
    const char* text = "";
    int dx = 0, dy = 0; // mouse-wheel steps
};

int sendEvent(Fl_Widget* target, int event, const EventSpec& spec);

int push(Fl_Widget* target, int x, int y, int button = 1, int modifiers = 0, int clicks = 0);
int drag(Fl_Widget* target, int x, int y, int button = 1, int modifiers = 0);
int release(Fl_Widget* target, int x, int y, int button = 1, int modifiers = 0);
int moveMouse(Fl_Widget* target, int x, int y);
// Push then release at the same place; returns what the push returned.
int click(Fl_Widget* target, int x, int y, int button = 1, int modifiers = 0);
// A click, then a second click that the toolkit counts as a double click.
int doubleClick(Fl_Widget* target, int x, int y, int button = 1);
// Push at (x1, y1), drag in `steps` equal steps to (x2, y2), release there.
void dragPath(Fl_Widget* target, int x1, int y1, int x2, int y2, int steps = 4,
              int modifiers = 0);
// FL_KEYBOARD with the key, modifiers and the text the key types.
int key(Fl_Widget* target, int key, int modifiers = 0, const char* text = "");
// FL_MOUSEWHEEL at (x, y): dy steps down (negative: up), dx steps right.
int wheel(Fl_Widget* target, int x, int y, int dy, int dx = 0);
// A click in the middle of a widget of a shown window, routed through the window.
int clickWidget(Fl_Widget* w);

}  // namespace qvtest

#endif
