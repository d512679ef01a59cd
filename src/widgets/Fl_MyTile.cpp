#include "widgets/Fl_MyTile.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {

const int GRAB_AREA = 4;  // pixels each side of a border that grab it
enum { DRAG_NONE = 0, DRAG_HORIZONTAL = 1, DRAG_VERTICAL = 2 };
const Fl_Cursor drag_cursors[] = {FL_CURSOR_DEFAULT, FL_CURSOR_WE, FL_CURSOR_NS,
                                   FL_CURSOR_MOVE};

// One pointer drags one border at a time, whichever tile holds it.
int drag_kind = DRAG_NONE;
int drag_dx = 0, drag_dy = 0;       // mouse distance from the border when grabbed
int drag_oldx = -1, drag_oldy = -1; // the border's initial position
Fl_Cursor last_cursor = FL_CURSOR_DEFAULT;

void set_cursor(Fl_Widget* w, Fl_Cursor c) {
    if (c == last_cursor) return;
    last_cursor = c;
    if (Fl_Window* win = w->window()) win->cursor(c);
}

// An edge that lay on the old border, or that the move crossed, goes to the new one.
void move_edge(int initial, int old_border, int new_border, int& edge) {
    if (initial == old_border || (initial > old_border && edge < new_border) ||
        (initial < old_border && edge > new_border))
        edge = new_border;
}

// Remembers a border when the mouse is nearer to it than to the best so far.
void keep_nearest(int distance, int initial, int& best, int& best_distance, int& best_initial) {
    if (std::abs(distance) >= best) return;
    best = std::abs(distance);
    best_distance = distance;
    best_initial = initial;
}

}  // namespace

int Fl_MyTile::handle(int event) {
    switch (event) {
    case FL_PUSH:
    case FL_ENTER:
    case FL_MOVE: {
        const int mx = Fl::event_x(), my = Fl::event_y();
        int mindx = INT_MAX, mindy = INT_MAX, oldx{}, oldy{}, dx{}, dy{};
        const int* q = sizes();  // group, resizable, then each child: left, right, top, bottom
        const int* p = q + 8;
        Fl_Widget* const* a = array();
        for (int i = children(); i--; p += 4) {
            Fl_Widget* o = *a++;
            if (o == resizable()) continue;
            if (p[1] != q[1] && o->y() <= my + GRAB_AREA && o->y() + o->h() >= my - GRAB_AREA)
                keep_nearest(mx - (o->x() + o->w()), p[1], mindx, dx, oldx);
            if (p[3] != q[3] && o->x() <= mx + GRAB_AREA && o->x() + o->w() >= mx - GRAB_AREA)
                keep_nearest(my - (o->y() + o->h()), p[3], mindy, dy, oldy);
        }
        drag_kind = DRAG_NONE;
        drag_oldx = drag_oldy = -1;
        if (mindx <= GRAB_AREA) {
            drag_kind |= DRAG_HORIZONTAL;
            drag_oldx = oldx;
            drag_dx = dx;
        }
        if (mindy <= GRAB_AREA) {
            drag_kind |= DRAG_VERTICAL;
            drag_oldy = oldy;
            drag_dy = dy;
        }
        set_cursor(this, drag_cursors[drag_kind]);
        if (drag_kind) return 1;
        break;
    }
    case FL_LEAVE:
        set_cursor(this, FL_CURSOR_DEFAULT);
        break;
    case FL_DRAG:
        if (drag_kind && damage()) return 1;  // let the last move be drawn first
        // fall through
    case FL_RELEASE: {
        if (!drag_kind) break;
        Fl_Widget* r = resizable() ? resizable() : this;
        int newx = drag_oldx, newy = drag_oldy;
        if (drag_kind & DRAG_HORIZONTAL) newx = std::max(Fl::event_x() - drag_dx, r->x());
        if (drag_kind & DRAG_VERTICAL) newy = std::max(Fl::event_y() - drag_dy, r->y());
        old_x_ = drag_oldx;
        old_y_ = drag_oldy;
        new_x_ = newx;
        new_y_ = newy;
        position(drag_oldx, drag_oldy, newx, newy);
        do_callback();
        return 1;
    }
    default:
        break;
    }
    return Fl_Group::handle(event);
}

void Fl_MyTile::position(int oix, int oiy, int newx, int newy) {
    // sizes(): the group, the resizable, then each child: left, right, top, bottom.
    const int* p = sizes() + 8;
    int outer_right = INT_MIN, outer_bottom = INT_MIN;
    for (int i = children(); i--;) {
        outer_right = std::max(outer_right, p[4 * i + 1]);
        outer_bottom = std::max(outer_bottom, p[4 * i + 3]);
    }
    int W = w(), H = h();
    if (newx > x() + W) W = newx - x();
    if (newy > y() + H) H = newy - y();
    if (oix == outer_right) W = newx - x();
    if (oiy == outer_bottom) H = newy - y();
    if (W != w() || H != h()) {
        Fl_Widget::resize(x(), y(), W, H);
        if (parent())
            parent()->redraw();
        else
            redraw();
    }

    Fl_Widget* const* a = array();
    for (int i = children(); i--; p += 4) {
        Fl_Widget* o = *a++;
        if (o == resizable()) continue;
        int X = o->x(), R = X + o->w(), Y = o->y(), B = Y + o->h();
        move_edge(p[0], oix, newx, X);
        move_edge(p[1], oix, newx, R);
        move_edge(p[2], oiy, newy, Y);
        move_edge(p[3], oiy, newy, B);
        o->damage_resize(X, Y, R - X, B - Y);
    }
}

void Fl_MyTile::resize(int X, int Y, int W, int H) {
    const int dx = X - x(), dy = Y - y(), dw = W - w(), dh = H - h();
    const int* p = sizes();
    Fl_Widget::resize(X, Y, W, H);
    // Edges right of (below) the initial resizable area follow the new size;
    // the others are cut at the new limit.
    const int old_right = p[5], new_right = X + W - (p[1] - old_right);
    const int old_bottom = p[7], new_bottom = Y + H - (p[3] - old_bottom);
    p += 8;
    Fl_Widget* const* a = array();
    for (int i = children(); i--; p += 4) {
        Fl_Widget* o = *a++;
        int xx = o->x() + dx, R = xx + o->w();
        int yy = o->y() + dy, B = yy + o->h();
        xx = p[0] >= old_right ? xx + dw : std::min(xx, new_right);
        R = p[1] >= old_right ? R + dw : std::min(R, new_right);
        yy = p[2] >= old_bottom ? yy + dh : std::min(yy, new_bottom);
        B = p[3] >= old_bottom ? B + dh : std::min(B, new_bottom);
        // Smaller than its fixed panes, or after a border was dragged, the
        // tile would cut a pane past its own edge: it closes instead.
        o->resize(xx, yy, std::max(R - xx, 0), std::max(B - yy, 0));
        o->redraw();
    }
}
