#include "widgets/Fl_MyScroll.h"

#include <FL/Fl.H>
#include <FL/Fl_Slider.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cmath>

Fl_MyScroll::Fl_MyScroll(int X, int Y, int W, int H, const char* l, Fl_Slider* vslider,
                         Fl_Slider* hslider)
    : Fl_Group(X, Y, W, H, l), vslider_(vslider), hslider_(hslider) {
    type(3);  // both directions
}

void Fl_MyScroll::inner_box(int& X, int& Y, int& W, int& H) const {
    X = x() + Fl::box_dx(box());
    Y = y() + Fl::box_dy(box());
    W = w() - Fl::box_dw(box());
    H = h() - Fl::box_dh(box());
}

// Paints the content of one area: background, children, and the group colour
// right of and below the children.
void Fl_MyScroll::draw_clip(void* v, int X, int Y, int W, int H) {
    Fl_MyScroll* s = static_cast<Fl_MyScroll*>(v);
    fl_push_clip(X, Y, W, H);
    if (s->box()) {
        fl_color(s->color());
        fl_rectf(X, Y, W, H);
    }
    int right = X, bottom = Y;
    Fl_Widget* const* a = s->array();
    for (int i = s->children(); i--;) {
        Fl_Widget& o = **a++;
        s->draw_child(o);
        s->draw_outside_label(o);
        right = std::max(right, o.x() + o.w());
        bottom = std::max(bottom, o.y() + o.h());
    }
    fl_color(s->color());
    fl_rectf(right, Y, X + W - right, H);  // nothing when the children reach the edge
    fl_rectf(X, bottom, W, Y + H - bottom);
    fl_pop_clip();
}

void Fl_MyScroll::content_box(int& left, int& top, int& right, int& bottom) const {
    int W, H;
    inner_box(left, top, W, H);
    right = left;
    bottom = top;
    Fl_Widget* const* a = array();
    for (int i = children(); i--;) {
        Fl_Widget* o = *a++;
        left = std::min(left, o->x());
        right = std::max(right, o->x() + o->w());
        top = std::min(top, o->y());
        bottom = std::max(bottom, o->y() + o->h());
    }
}

namespace {
// True when the slider's value, range or thumb size changed (its range
// always starts at 0).
bool set_slider(Fl_Slider* s, int pos, int size, int total) {
    if (!s) return false;
    const double value = s->value(), last = s->maximum();
    const float thumb = s->slider_size();
    s->scrollvalue(pos, size, 0, total);
    // scrollvalue() makes the content reach the view; a trough push then
    // moves one view.
    total = std::max(total, pos + size);
    if (size < total) s->slider_size(Fl_MyScrollbar::thumb_fraction(size, total));
    return s->value() != value || s->maximum() != last || s->slider_size() != thumb;
}
}  // namespace

bool Fl_MyScroll::update_sliders() {
    int X, Y, W, H, left, top, right, bottom;
    inner_box(X, Y, W, H);
    content_box(left, top, right, bottom);
    const bool v = set_slider(vslider_, yposition_, H, bottom - top);
    const bool h = set_slider(hslider_, xposition_, W, right - left);
    return v || h;
}

void Fl_MyScroll::redraw_sliders(void* v) {
    Fl_MyScroll* s = static_cast<Fl_MyScroll*>(v);
    if (s->vslider_) s->vslider_->redraw();
    if (s->hslider_) s->hslider_->redraw();
}

Fl_MyScroll::~Fl_MyScroll() {
    Fl::remove_timeout(redraw_sliders, this);
}

void Fl_MyScroll::draw() {
    int X, Y, W, H;
    inner_box(X, Y, W, H);
    const uchar d = damage();
    if (d & FL_DAMAGE_ALL) {
        draw_box(box(), x(), y(), w(), h(), color());
        draw_clip(this, X, Y, W, H);
    } else {
        if (d & FL_DAMAGE_SCROLL)
            fl_scroll(X, Y, W, H, oldx_ - xposition_, oldy_ - yposition_, draw_clip, this);
        if (d & FL_DAMAGE_CHILD) {
            fl_push_clip(X, Y, W, H);
            Fl_Widget* const* a = array();
            for (int i = children(); i--;) update_child(**a++);
            fl_pop_clip();
        }
    }

    int left, top, right, bottom;
    content_box(left, top, right, bottom);
    yposition_ = oldy_ = Y - top;
    xposition_ = oldx_ = X - left;
    // A slider damaged while the window draws is not repainted by this
    // pass: it is repainted on the next turn of the event loop.
    if (update_sliders()) Fl::add_timeout(0.0, redraw_sliders, this);
}

void Fl_MyScroll::resize(int X, int Y, int W, int H) {
    const int dx = X - x(), dy = Y - y();
    Fl_Widget* const* a = array();
    for (int i = children(); i--;) {
        Fl_Widget* o = *a++;
        o->resize(o->x() + dx, o->y() + dy, o->w(), o->h());
    }
    Fl_Widget::resize(X, Y, W, H);
}

void Fl_MyScroll::position(int X, int Y) {
    if (X == xposition_ && Y == yposition_) return;
    const int dx = xposition_ - X, dy = yposition_ - Y;
    Fl_Widget* const* a = array();
    for (int i = children(); i--;) {
        Fl_Widget* o = *a++;
        o->position(o->x() + dx, o->y() + dy);
    }
    xposition_ = X;
    yposition_ = Y;
    damage(FL_DAMAGE_SCROLL);
    update_sliders();  // the thumbs follow now, not at the next full redraw
}

namespace {
// The toolkit's slider computes no number when its track is no longer than
// its thumb (a pane a few pixels high): such a slider goes back to its start.
int slider_position(Fl_Slider* s) {
    if (!std::isfinite(s->value())) s->value(s->minimum());
    return int(s->value());
}
}  // namespace

void Fl_MyScroll::scrollbar_cb(Fl_Widget* slider, void* scroll) {
    Fl_MyScroll* s = static_cast<Fl_MyScroll*>(scroll);
    s->position(s->xposition_, slider_position(static_cast<Fl_Slider*>(slider)));
}

void Fl_MyScroll::hscrollbar_cb(Fl_Widget* slider, void* scroll) {
    Fl_MyScroll* s = static_cast<Fl_MyScroll*>(scroll);
    s->position(slider_position(static_cast<Fl_Slider*>(slider)), s->yposition_);
}

// ---- Fl_MultiScroll ----

namespace {
const int MULTI_BAR = 17;

// Positions, on one axis, each Fl_MyScroll child whose slider on that axis is
// `bar`; other children (plain widgets, the scrollbars) stay put.
void scroll_children_driven_by(Fl_Group& g, const Fl_Widget* bar, bool vertical, int value) {
    for (int i = 0; i < g.children(); ++i) {
        Fl_MyScroll* s = dynamic_cast<Fl_MyScroll*>(g.child(i));
        if (!s) continue;
        if (vertical && s->vslider() == bar) s->position(s->xposition(), value);
        if (!vertical && s->hslider() == bar) s->position(value, s->yposition());
    }
}
}  // namespace

Fl_MultiScroll::Fl_MultiScroll(int X, int Y, int W, int H, const char* l)
    : Fl_Group(X, Y, W, H, l),
      vscrollbar(X + W - MULTI_BAR, Y, MULTI_BAR, H - MULTI_BAR),
      hscrollbar(X, Y + H - MULTI_BAR, W - MULTI_BAR, MULTI_BAR) {
    vscrollbar.callback(scrollbar_cb, this);
    hscrollbar.type(FL_HORIZONTAL);
    hscrollbar.callback(hscrollbar_cb, this);
}

void Fl_MultiScroll::scrollchildren(Fl_Widget* bar) {
    if (Fl_Slider* s = dynamic_cast<Fl_Slider*>(bar))
        scroll_children_driven_by(*this, bar, true, slider_position(s));
}

void Fl_MultiScroll::hscrollchildren(Fl_Widget* bar) {
    if (Fl_Slider* s = dynamic_cast<Fl_Slider*>(bar))
        scroll_children_driven_by(*this, bar, false, slider_position(s));
}

void Fl_MultiScroll::scrollchildren(int value) {
    scroll_children_driven_by(*this, &vscrollbar, true, value);
}

void Fl_MultiScroll::hscrollchildren(int value) {
    scroll_children_driven_by(*this, &hscrollbar, false, value);
}

void Fl_MultiScroll::scrollbar_cb(Fl_Widget* bar, void* multi) {
    static_cast<Fl_MultiScroll*>(multi)->scrollchildren(bar);
}

void Fl_MultiScroll::hscrollbar_cb(Fl_Widget* bar, void* multi) {
    static_cast<Fl_MultiScroll*>(multi)->hscrollchildren(bar);
}
