#include "widget_fuzz.h"

#include "support/WidgetEvents.h"

#include <FL/Fl_Window.H>
#include <FL/fl_utf8.h>
#include <FL/x.H>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace qvfuzz {

namespace {
[[noreturn]] void vfail(const char* format, va_list args) {
    std::fputs("broken invariant: ", stderr);
    std::vfprintf(stderr, format, args);
    std::fputc('\n', stderr);
    std::abort();
}
}  // namespace

void fail(const char* format, ...) {
    va_list args;
    va_start(args, format);
    vfail(format, args);
}

void require(bool ok, const char* format, ...) {
    if (ok) return;
    va_list args;
    va_start(args, format);
    vfail(format, args);
}

namespace {

// What a hand on a widget presses: navigation, editing, a few characters.
const int KEYS[] = {FL_Left, FL_Right, FL_Up, FL_Down, FL_Home, FL_End, FL_Page_Up, FL_Page_Down,
                    FL_Tab, FL_Enter, FL_Escape, FL_BackSpace, FL_Delete, FL_Insert, ' ', 'a',
                    'z', '/', '.', '~', '*', FL_KP_Enter, FL_F + 1, FL_Shift_L};

// The text a key types, as the toolkit gives it with the key.
const char* keyText(int key) {
    static char letter[2];
    switch (key) {
    case FL_Tab: return "\t";
    case FL_Enter:
    case FL_KP_Enter: return "\r";
    case FL_Escape: return "\033";
    case FL_BackSpace: return "\b";
    case FL_Delete: return "\177";
    default:
        if (key >= ' ' && key < 0x7f) {
            letter[0] = static_cast<char>(key);
            return letter;
        }
        return "";
    }
}

// Event values left by the previous input would change how this one runs.
void resetEventState() {
    Fl::e_x = Fl::e_y = Fl::e_x_root = Fl::e_y_root = 0;
    Fl::e_state = 0;
    Fl::e_clicks = Fl::e_is_click = 0;
    Fl::e_keysym = 0;
    Fl::e_dx = Fl::e_dy = 0;
}

}  // namespace

WidgetFuzz::WidgetFuzz(const uint8_t* data, size_t size, int W, int H) : in_(data, size) {
    static const bool opened = [] {
        // Under a UTF-8 locale every new window's input context reads the
        // whole compose table: eight times the cost of an input. Keys reach
        // the widgets as event text here, never through an input method.
        setenv("LC_ALL", "C", 1);
        fl_open_display();
        return true;
    }();
    (void)opened;
    resetEventState();
    Fl_Group::current(nullptr);
    win_ = target_ = new Fl_Window(0, 0, W, H);
    // Escape would hide the window: the toolkit's default window callback.
    win_->callback([](Fl_Widget*, void*) {});
    // Everything in the window follows its size (a window resizes nothing by default).
    win_->resizable(win_);
    pointer_ = {W / 2, H / 2};
}

WidgetFuzz::~WidgetFuzz() {
    if (button_ && target_ == win_) release(pointer_);
    delete win_;
    Fl_Group::current(nullptr);
    // Deferred deletions and the X events of the window gone.
    Fl::check();
}

int WidgetFuzz::pick(int n) {
    return n <= 1 ? 0 : in_.ConsumeIntegralInRange(0, n - 1);
}

void WidgetFuzz::show() {
    if (Fl_Group::current() == win_) win_->end();
    Fl_Group::current(nullptr);
    win_->show();
    win_->wait_for_expose();
    Fl::flush();
}

bool WidgetFuzz::next() {
    if (steps_ >= MAX_STEPS || in_.remaining_bytes() == 0) return false;
    ++steps_;
    note("-- step %d", steps_);
    const int ctrl = in_.ConsumeIntegral<uint8_t>();
    switch (ctrl & 3) {
    case 0:
        break;
    case 1:  // the hand trembles
        moveTo({pointer_.x + (ctrl >> 2 & 7) - 3, pointer_.y + (ctrl >> 5) - 3});
        break;
    default:
        moveTo(pointNear(nullptr));
        break;
    }
    if ((ctrl & 0x3c) == 0x3c) resizeWindow();
    if ((ctrl & 0xc3) == 0xc0) {
        note("event loop");
        Fl::check();
    }
    Fl::flush();
    return true;
}

Point WidgetFuzz::pointNear(Fl_Widget* w) {
    const int margin = 8;
    int X = 0, Y = 0, W = target_->w(), H = target_->h();
    if (w && w != target_) X = w->x(), Y = w->y(), W = w->w(), H = w->h();
    W = W > 0 ? W : 0;
    H = H > 0 ? H : 0;
    const int px = X - margin + pick(W + 2 * margin + 1);
    const int py = Y - margin + pick(H + 2 * margin + 1);
    return {px, py};
}

int WidgetFuzz::pickModifiers() {
    switch (pick(8)) {
    case 4: return FL_SHIFT;
    case 5: return FL_CTRL;
    case 6: return FL_ALT;
    case 7: return FL_SHIFT | FL_CTRL;
    default: return 0;
    }
}

int WidgetFuzz::pickKey() {
    return KEYS[pick(sizeof KEYS / sizeof KEYS[0])];
}

bool WidgetFuzz::dropped() const {
    if (!only_shown_ || target_->shown()) return false;
    note("(dropped: the window is hidden)");
    return true;
}

void WidgetFuzz::moveTo(Point p) {
    pointer_ = p;
    // The toolkit makes a motion a drag only for the widget that took the
    // push; once that one is gone (hidden or deleted), a motion is a move.
    if (button_ && Fl::pushed()) {
        note("drag %d,%d", p.x, p.y);
        if (!dropped()) qvtest::drag(target_, p.x, p.y, button_, held_mods_);
    } else {
        note("move %d,%d", p.x, p.y);
        if (!dropped()) qvtest::moveMouse(target_, p.x, p.y);
    }
}

void WidgetFuzz::push(Point p, int button, int mods, int clicks) {
    note("push %d at %d,%d mods %#x%s", button, p.x, p.y, mods, clicks ? " (double)" : "");
    button_ = button;
    held_mods_ = mods;
    if (!dropped()) qvtest::push(target_, p.x, p.y, button, mods, clicks);
}

void WidgetFuzz::release(Point p) {
    note("release %d at %d,%d", button_, p.x, p.y);
    const int b = button_;
    button_ = 0;
    if (!dropped()) qvtest::release(target_, p.x, p.y, b, held_mods_);
}

void WidgetFuzz::resizeWindow() {
    const int W = 1 + pick(900), H = 1 + pick(700);
    note("window %dx%d", W, H);
    target_->resize(target_->x(), target_->y(), W, H);
    // The server answers with the new size: take it now, so that it never
    // lands between two later steps.
    XSync(fl_display, False);
    Fl::check();
}

void WidgetFuzz::note(const char* format, ...) {
    static const bool tracing = std::getenv("QV_FUZZ_TRACE") != nullptr;
    if (!tracing) return;
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
    std::fputc('\n', stderr);
}

void WidgetFuzz::fireTimeout(Fl_Timeout_Handler cb, void* data) {
    if (!Fl::has_timeout(cb, data)) return;
    Fl::remove_timeout(cb, data);
    cb(data);
}

void WidgetFuzz::userEvent(Fl_Widget* near) {
    if (pick(4) == 0)
        keyEvent();
    else
        mouseEvent(near);
}

void WidgetFuzz::keyEvent() {
    const int key = pickKey(), mods = pickModifiers();
    note("key %#x mods %#x", key, mods);
    if (!dropped()) qvtest::key(target_, key, mods, keyText(key));
}

void WidgetFuzz::typeText(const std::string& utf8) {
    const char* p = utf8.c_str();
    const char* const end = p + utf8.size();
    while (p < end) {
        int len = 1;
        const unsigned code = fl_utf8decode(p, end, &len);
        const std::string one(p, len);
        p += len;
        note("type %s", one.c_str());
        if (!dropped()) qvtest::key(target_, int(code), 0, one.c_str());
    }
}

std::string WidgetFuzz::pickText(int max_chars) {
    static const char* const chars[] = {"a", "b", "Z", "0", "7", "\303\251", "/", ".", "~", "*", "?", "[", " ", "_"};
    std::string out;
    for (int n = pick(max_chars + 1); n > 0; --n) out += chars[pick(sizeof chars / sizeof chars[0])];
    return out;
}

void WidgetFuzz::routeTo(Fl_Window* w) {
    if (button_) release(pointer_);
    target_ = w ? w : win_;
    pointer_ = {target_->w() / 2, target_->h() / 2};
}

void WidgetFuzz::forgetTarget() {
    note("the window under the hand is gone");
    button_ = 0;
    target_ = win_;
    pointer_ = {win_->w() / 2, win_->h() / 2};
}

void WidgetFuzz::mouseEvent(Fl_Widget* near) {
    const Point p = pointNear(near);
    if (button_) {
        if (pick(3) < 2) {
            // A drag in a few steps, each one an event.
            const Point from = pointer_;
            const int steps = 1 + pick(4);
            for (int i = 1; i <= steps; ++i)
                moveTo({from.x + (p.x - from.x) * i / steps, from.y + (p.y - from.y) * i / steps});
        } else {
            moveTo(p);
            release(p);
        }
        return;
    }
    moveTo(p);  // the pointer gets there before it presses
    switch (pick(6)) {
    case 0: {
        static const int buttons[] = {1, 1, 1, 1, 1, 2, 3, 3};  // mostly the left one
        const int b = buttons[pick(8)], mods = pickModifiers();
        push(p, b, mods, chance(6) ? 1 : 0);
        break;
    }
    case 1:
        push(p, chance(5) ? 3 : 1, pickModifiers());
        release(p);
        break;
    case 2: {
        note("double click at %d,%d", p.x, p.y);
        // As qvtest::doubleClick, but a callback may delete the window between two events.
        Fl_Widget_Tracker alive(dropped() ? nullptr : target_);
        if (alive.exists()) qvtest::push(target_, p.x, p.y);
        if (alive.exists()) qvtest::release(target_, p.x, p.y);
        if (alive.exists()) qvtest::push(target_, p.x, p.y, 1, 0, 1);
        qvtest::EventSpec second;
        second.x = p.x, second.y = p.y, second.button = 1, second.clicks = 1;
        if (alive.exists()) qvtest::sendEvent(target_, FL_RELEASE, second);
        break;
    }
    case 3: {
        const int dy = pick(7) - 3, dx = chance(4) ? pick(3) - 1 : 0;
        note("wheel %d,%d at %d,%d", dx, dy, p.x, p.y);
        if (!dropped()) qvtest::wheel(target_, p.x, p.y, dy, dx);
        break;
    }
    case 4: {  // a whole drag gesture with the left button
        const Point to = pointNear(near);
        push(p, 1, pickModifiers());
        const int steps = 1 + pick(6);
        for (int i = 1; i <= steps; ++i)
            moveTo({p.x + (to.x - p.x) * i / steps, p.y + (to.y - p.y) * i / steps});
        release(to);
        break;
    }
    default:
        break;  // the move alone
    }
}

}  // namespace qvfuzz
