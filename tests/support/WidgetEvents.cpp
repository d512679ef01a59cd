#include "WidgetEvents.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include <cstdio>
#include <cstring>

namespace qvtest {

int sendEvent(Fl_Widget* target, int event, const EventSpec& spec) {
    Fl_Window* win = target->as_window();
    const bool routed = win && win->shown();
    Fl_Window* top = routed ? win : target->window();

    Fl::e_x = spec.x;
    Fl::e_y = spec.y;
    Fl::e_x_root = spec.x + (top ? top->x() : 0);
    Fl::e_y_root = spec.y + (top ? top->y() : 0);
    Fl::e_state = spec.modifiers;
    if (spec.button && spec.held) Fl::e_state |= FL_BUTTON(spec.button);
    Fl::e_clicks = spec.clicks;
    Fl::e_is_click = spec.clicks ? 1 : 0;
    Fl::e_keysym = spec.key ? spec.key : (spec.button ? FL_Button + spec.button : 0);
    // The toolkit may change the event text in place (it swaps the case of an
    // unused letter key): hand it a writable copy, never the caller's literal.
    static char texte[64];
    std::snprintf(texte, sizeof texte, "%s", spec.text ? spec.text : "");
    Fl::e_text = texte;
    Fl::e_length = static_cast<int>(std::strlen(texte));
    Fl::e_dx = spec.dx;
    Fl::e_dy = spec.dy;
    Fl::e_number = event;

    return routed ? Fl::handle(event, win) : target->handle(event);
}

namespace {
EventSpec mouse(int x, int y, int button, int modifiers, bool held) {
    EventSpec s;
    s.x = x;
    s.y = y;
    s.button = button;
    s.held = held;
    s.modifiers = modifiers;
    return s;
}
}  // namespace

int push(Fl_Widget* target, int x, int y, int button, int modifiers, int clicks) {
    EventSpec s = mouse(x, y, button, modifiers, true);
    s.clicks = clicks;
    return sendEvent(target, FL_PUSH, s);
}

int drag(Fl_Widget* target, int x, int y, int button, int modifiers) {
    return sendEvent(target, FL_DRAG, mouse(x, y, button, modifiers, true));
}

int release(Fl_Widget* target, int x, int y, int button, int modifiers) {
    return sendEvent(target, FL_RELEASE, mouse(x, y, button, modifiers, false));
}

int moveMouse(Fl_Widget* target, int x, int y) {
    return sendEvent(target, FL_MOVE, mouse(x, y, 0, 0, false));
}

int wheel(Fl_Widget* target, int x, int y, int dy, int dx) {
    EventSpec s = mouse(x, y, 0, 0, false);
    s.dx = dx;
    s.dy = dy;
    return sendEvent(target, FL_MOUSEWHEEL, s);
}

int click(Fl_Widget* target, int x, int y, int button, int modifiers) {
    int r = push(target, x, y, button, modifiers);
    release(target, x, y, button, modifiers);
    return r;
}

int doubleClick(Fl_Widget* target, int x, int y, int button) {
    click(target, x, y, button);
    int r = push(target, x, y, button, 0, 1);
    EventSpec s = mouse(x, y, button, 0, false);
    s.clicks = 1;
    sendEvent(target, FL_RELEASE, s);
    return r;
}

void dragPath(Fl_Widget* target, int x1, int y1, int x2, int y2, int steps, int modifiers) {
    push(target, x1, y1, 1, modifiers);
    for (int i = 1; i <= steps; ++i)
        drag(target, x1 + (x2 - x1) * i / steps, y1 + (y2 - y1) * i / steps, 1, modifiers);
    release(target, x2, y2, 1, modifiers);
}

int key(Fl_Widget* target, int key, int modifiers, const char* text) {
    EventSpec s;
    s.key = key;
    s.modifiers = modifiers;
    s.text = text;
    return sendEvent(target, FL_KEYBOARD, s);
}

int clickWidget(Fl_Widget* w) {
    Fl_Widget* target = w->as_window() ? w : w->window();
    int x = w->as_window() ? w->w() / 2 : w->x() + w->w() / 2;
    int y = w->as_window() ? w->h() / 2 : w->y() + w->h() / 2;
    return click(target, x, y);
}

}  // namespace qvtest
