#include "WidgetPixels.h"

#include <FL/Fl.H>
#include <FL/Fl_Browser_.H>
#include <FL/Fl_Input_.H>
#include <FL/Fl_Menu_.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include <algorithm>
#include <sstream>
#include <vector>

namespace qvtest {

std::ostream& operator<<(std::ostream& os, const Rgb& c) {
    return os << "rgb(" << int(c.r) << ", " << int(c.g) << ", " << int(c.b) << ")";
}

Rgb rgbOf(Fl_Color c) {
    Rgb out;
    Fl::get_color(c, out.r, out.g, out.b);
    return out;
}

void flushDrawing() {
    Fl::flush();
    if (fl_display) XSync(fl_display, False);
}

void settleDrawing() {
    for (int i = 0; i < 3; ++i) Fl::wait(0.0);
    flushDrawing();
}

void showAndDraw(Fl_Window& w) {
    w.show();
    // Tests share one X server and run in parallel: their windows overlap.
    // With a backing store the server keeps what is drawn in the covered parts.
    XSetWindowAttributes attributes;
    attributes.backing_store = Always;
    XChangeWindowAttributes(fl_display, fl_xid(&w), CWBackingStore, &attributes);
    w.wait_for_expose();
    // Let the expose events of the mapping arrive, then draw everything.
    for (int i = 0; i < 5; ++i) Fl::wait(0.01);
    w.redraw();
    flushDrawing();
}

Rgb pixelAt(Fl_Window& w, int x, int y) {
    flushDrawing();
    w.make_current();
    unsigned char buf[3] = {0, 0, 0};
    fl_read_image(buf, x, y, 1, 1);
    Rgb out;
    out.r = buf[0];
    out.g = buf[1];
    out.b = buf[2];
    return out;
}

std::pair<int, int> colorRun(Fl_Window& w, int x, int y, int dx, int dy, int n, Rgb c) {
    std::pair<int, int> run(-1, -1);
    for (int i = 0; i < n; ++i) {
        if (pixelAt(w, x + i * dx, y + i * dy) != c) continue;
        if (run.first < 0) run.first = i;
        run.second = i;
    }
    return run;
}

bool Zone::intersects(const Zone& o) const {
    return !empty() && !o.empty() && x < o.x + o.w && o.x < x + w && y < o.y + o.h && o.y < y + h;
}

bool Zone::inside(int X, int Y, int W, int H) const {
    return !empty() && x >= X && y >= Y && x + w <= X + W && y + h <= Y + H;
}

std::ostream& operator<<(std::ostream& os, const Zone& z) {
    return os << z.w << "x" << z.h << "+" << z.x << "+" << z.y;
}

namespace {

std::vector<unsigned char> windowImage(Fl_Window& w) {
    w.redraw();
    flushDrawing();
    w.make_current();
    std::vector<unsigned char> pixels(size_t(w.w()) * size_t(w.h()) * 3);
    fl_read_image(pixels.data(), 0, 0, w.w(), w.h());
    return pixels;
}

}  // namespace

Zone changedZone(Fl_Window& w, const std::function<void(bool)>& change) {
    change(false);
    const std::vector<unsigned char> before = windowImage(w);
    change(true);
    const std::vector<unsigned char> after = windowImage(w);
    change(false);
    w.redraw();
    flushDrawing();
    int x0 = w.w(), y0 = w.h(), x1 = -1, y1 = -1;
    for (int y = 0; y < w.h(); ++y)
        for (int x = 0; x < w.w(); ++x) {
            const size_t i = (size_t(y) * size_t(w.w()) + size_t(x)) * 3;
            if (std::equal(&before[i], &before[i] + 3, &after[i])) continue;
            x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
        }
    Zone z;
    if (x1 >= 0) z = Zone{x0, y0, x1 - x0 + 1, y1 - y0 + 1};
    return z;
}

namespace {

void recolourText(Fl_Widget* w, Fl_Color c) {
    if (Fl_Input_* in = dynamic_cast<Fl_Input_*>(w)) in->textcolor(c);
    else if (Fl_Menu_* m = dynamic_cast<Fl_Menu_*>(w)) m->textcolor(c);
    else if (Fl_Browser_* b = dynamic_cast<Fl_Browser_*>(w)) b->textcolor(c);
}

Fl_Color textColour(Fl_Widget* w) {
    if (Fl_Input_* in = dynamic_cast<Fl_Input_*>(w)) return in->textcolor();
    if (Fl_Menu_* m = dynamic_cast<Fl_Menu_*>(w)) return m->textcolor();
    if (Fl_Browser_* b = dynamic_cast<Fl_Browser_*>(w)) return b->textcolor();
    return FL_BLACK;
}

bool ancestorOf(const Fl_Widget* a, const Fl_Widget* w) {
    for (const Fl_Widget* p = w; p; p = p->parent())
        if (p == a) return true;
    return false;
}

// Every visible widget of `g` that draws something of its own: no group,
// no bare box without a label.
void drawnWidgets(Fl_Group* g, std::vector<Fl_Widget*>& out) {
    for (int i = 0; i < g->children(); ++i) {
        Fl_Widget* c = g->child(i);
        if (!c->visible()) continue;
        if (Fl_Group* sg = c->as_group()) {
            drawnWidgets(sg, out);
            continue;
        }
        if (c->box() == FL_NO_BOX && !(c->label() && *c->label())) continue;
        out.push_back(c);
    }
}

Zone widgetZone(const Fl_Widget* w) { return Zone{w->x(), w->y(), w->w(), w->h()}; }

}  // namespace

std::vector<std::string> unreadableLabels(Fl_Window& win, const std::vector<LabelSpec>& labels,
                                          const std::vector<Fl_Widget*>& texts) {
    std::vector<std::string> problems;
    std::vector<std::pair<std::string, Zone>> inks;
    for (const LabelSpec& l : labels) {
        Fl_Widget* w = l.widget;
        // The label shown or not; a widget that draws its label itself
        // ignores the type, and there the label is what its colour changes.
        const Fl_Labeltype type = w->labeltype();
        Zone ink = changedZone(win, [w, type](bool b) { w->labeltype(b ? FL_NO_LABEL : type); });
        if (ink.empty()) {
            const Fl_Color before = w->labelcolor();
            ink = changedZone(win, [w](bool b) { w->labelcolor(b ? FL_RED : FL_BLUE); });
            w->labelcolor(before);
        }
        std::ostringstream name;
        name << "label \"" << (l.text.empty() ? (w->label() ? w->label() : "") : l.text) << "\"";
        fl_font(w->labelfont(), w->labelsize());
        const int width = l.text.empty() ? 0 : int(fl_width(l.text.c_str()));
        std::ostringstream p;
        if (ink.empty()) {
            p << name.str() << ": not drawn";
        } else if (ink.w < width - 4 || ink.h < w->labelsize() / 2 || !ink.inside(1, 1, win.w() - 2, win.h() - 2)) {
            p << name.str() << ": only " << ink << " of " << width << " pixels shows";
        } else if (l.inside && !ink.inside(w->x(), w->y(), w->w(), w->h())) {
            p << name.str() << ": " << ink << " leaves its widget " << widgetZone(w);
        } else if (!l.inside && ink.intersects(widgetZone(w))) {
            p << name.str() << ": " << ink << " lies over its widget " << widgetZone(w);
        }
        if (!p.str().empty()) problems.push_back(p.str());
        inks.emplace_back(name.str(), ink);
        std::vector<Fl_Widget*> others;
        drawnWidgets(&win, others);
        for (Fl_Widget* o : others)
            if (o != w && !ancestorOf(o, w) && ink.intersects(widgetZone(o))) {
                std::ostringstream q;
                q << name.str() << ": " << ink << " lies over another widget " << widgetZone(o);
                problems.push_back(q.str());
            }
    }
    for (Fl_Widget* t : texts) {
        const Fl_Color before = textColour(t);
        const Zone ink = changedZone(win, [t](bool b) { recolourText(t, b ? FL_RED : FL_BLUE); });
        recolourText(t, before);
        std::ostringstream name;
        name << "text of " << widgetZone(t);
        inks.emplace_back(name.str(), ink);
    }
    for (size_t i = 0; i < inks.size(); ++i)
        for (size_t j = i + 1; j < inks.size(); ++j)
            if (inks[i].second.intersects(inks[j].second))
                problems.push_back(inks[i].first + " and " + inks[j].first + " overlap");
    return problems;
}

}  // namespace qvtest
