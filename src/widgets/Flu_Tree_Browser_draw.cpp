// The tree browser's layout walk, drawing, scrolling and events.

#include "widgets/Flu_Tree_Browser.h"

#include "core/maChaine.h"

#include <FL/Fl.H>
#include <FL/Fl_Image.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <string>

namespace {

const int BAR = 15;  // scrollbar thickness

int imageW(const Fl_Image* i) { return i ? i->w() : 0; }
int imageH(const Fl_Image* i) { return i ? i->h() : 0; }

// Labels are Latin-1; the toolkit draws UTF-8.
const char* drawable(const char* text, std::string& buffer) {
    for (const char* p = text; *p; ++p)
        if (static_cast<unsigned char>(*p) >= 0x80) {
            buffer = latin1VersUtf8(text);
            return buffer.c_str();
        }
    return text;
}

}  // namespace

bool Flu_Tree_Browser::Node::open() const {
    return is_branch() && (rdata().allBranchesAlwaysOpen || !flag(NodeClosed));
}

// The shown root whose children are never indented nor hidden.
bool Flu_Tree_Browser::Node::keptOpenRoot() const {
    const RData& r = rdata();
    return !_parent && r.showRoot && (always_open() || r.allBranchesAlwaysOpen);
}

void Flu_Tree_Browser::Node::measureRow(RData& r) {
    if (flag(NodeLabelShown)) {
        std::string buffer;
        fl_font(textFont, textSize);
        int w = 0, h = 0;
        fl_measure(drawable(label(), buffer), w, h, 0);
        textW = static_cast<unsigned short>(w + 4);
        textH = static_cast<unsigned short>(h + 4);
    } else {
        textW = textH = 0;
    }
    currentY = r.y;
    int h = std::max<int>(textH, widget() ? widget()->h() : 0);
    bool state = !flag(NodeClosed) || r.allBranchesAlwaysOpen;
    if (is_branch())
        h = std::max({h, imageH(cIcon[state]), imageH(bIcon[state])});
    else
        h = std::max(h, imageH(lIcon));
    currentH = static_cast<unsigned short>(h);
}

void Flu_Tree_Browser::Node::drawRow(RData& r, bool measure) {
    const bool inactive = !_tree->active_r() || !active();
    Fl_Color bg = r.shadedColors[r.shadedIndex];
    Fl_Color tc = inactive ? fl_inactive(textColor) : textColor;
    const int top = r.y, mid = r.y + currentH / 2;
    if (!measure) {
        fl_draw_box(FL_FLAT_BOX, r.browserX, top, r.browserW, currentH, bg);
        if (selected()) {
            bg = r.selectionColor;
            fl_draw_box(FL_FLAT_BOX, r.browserX, top, r.browserW, currentH, bg);
            tc = fl_contrast(tc, bg);
        }
    }
    int X = r.x;
    const bool openState = !flag(NodeClosed) || r.allBranchesAlwaysOpen;
    const bool connectors = !measure && r.showConnectors && r.showBranches;
    if (connectors) {
        fl_color(r.lineColor);
        fl_line_style(r.lineStyle, r.lineWidth);
    }
    if (is_branch()) {
        const bool state = openState && (hasRows() || r.showLeaves);
        const bool noExpander = keptOpenRoot() || (!_parent && !hasRows());
        if (!noExpander) {
            Fl_Image* ci = cIcon[state];
            bool shown = !always_open() && !r.allBranchesAlwaysOpen && (hasRows() || r.showLeaves) &&
                         (r.openWOChildren || hasRows());
            int ix = _parent ? X + r.branchIconW / 2 - imageW(ci) / 2 : X;
            if (!measure && shown && ci) ci->draw(ix, mid - ci->h() / 2);
            if (connectors && !_parent && hasRows()) fl_line(ix + imageW(ci) / 2, mid, ix + imageW(ci), mid);
            X += imageW(ci) + (bIcon[state] ? r.hGap : r.wGap);
        }
        if (Fl_Image* bi = bIcon[state]) {
            if (!measure) bi->draw(X, mid - bi->h() / 2);
            if (connectors && noExpander && !_parent && hasRows())
                fl_line(X + bi->w() / 2, mid, X + bi->w() / 2, top + currentH);
            X += r.wGap + bi->w();
        } else {
            X += r.wGap;
        }
    } else {
        if (r.showBranches)
            X += imageW(r.collapseIcons[openState]) + (lIcon ? r.hGap : r.wGap);
        else
            X += r.wGap;
        if (lIcon && !flag(NodeIconAtEnd)) {
            if (!measure) lIcon->draw(X, mid - lIcon->h() / 2);
            X += r.wGap + lIcon->w();
        }
    }
    if (connectors && _parent) {
        const int cx = r.x + r.branchIconW / 2;
        const bool underHiddenRoot = !_parent->_parent && !r.showRoot && r.first;
        const int y0 = underHiddenRoot ? mid : top - r.vGap / 2;
        fl_line(cx, y0, cx, r.last ? mid : top + currentH + r.vGap);
        fl_line(cx, mid, r.x + r.hGap + r.branchIconW, mid);
    }
    if (connectors) fl_line_style(0);
    std::string buffer;
    auto drawLabel = [&]() {
        if (!flag(NodeLabelShown)) return;
        if (!measure) {
            fl_draw_box(FL_FLAT_BOX, X, mid - textH / 2, textW, textH, bg);
            fl_font(textFont, textSize);
            fl_color(tc);
            fl_draw(drawable(label(), buffer), X + 2, mid - textH / 2, textW - 2, textH, FL_ALIGN_LEFT);
        }
        X += textW;
    };
    if (!flag(NodeLabelAfterWidget)) drawLabel();
    if (Fl_Widget* w = widget()) {
        if (flag(NodeWidgetRowColour)) w->color(bg);
        if (flag(NodeWidgetTextColour)) w->labelcolor(tc);
        if (flag(NodeWidgetTakesLabel)) w->copy_label(drawable(label(), buffer));
        int ww = w->w();
        if (flag(NodeWidgetFillsRow)) ww = std::max(r.browserW - (X - r.browserX), _widget->defaultW);
        if (!measure) {
            w->resize(X, mid - w->h() / 2, ww, w->h());
            w->redraw();
            _tree->draw_child(*w);
            _tree->placed.push_back(this);
        }
        if (!flag(NodeWidgetFillsRow) || ww == _widget->defaultW) X += ww;
    }
    if (flag(NodeLabelAfterWidget)) drawLabel();
    if (lIcon && flag(NodeIconAtEnd) && is_leaf()) {
        if (!measure) lIcon->draw(X, mid - lIcon->h() / 2);
        X += r.wGap + lIcon->w();
    }
    if (!measure && Fl::focus() == _tree && r.hilighted == this) {
        fl_color(selected() ? r.bgColor : r.selectionColor);
        fl_line_style(FL_DOT, 1);
        fl_rect(r.browserX, top, r.browserW, currentH);
        fl_line_style(0);
    }
    r.totalW = std::max(r.totalW, X);
}

int Flu_Tree_Browser::Node::recurse(RData& r, int type, int event) {
    if (type == WalkCountSelected) return countSelected();
    if (!_parent) r.first = true;
    const int viewBottom = r.browserY + r.browserH;
    if (type == WalkDraw && r.y > viewBottom) return 1;
    if (type == WalkHandle && r.y > viewBottom) return 0;
    const bool measure = type == WalkMeasure || type == WalkMeasureOpen;
    const bool skip = (!_parent && !r.showRoot) || (is_leaf() && !r.showLeaves) || (is_branch() && !r.showBranches);
    const bool state = !flag(NodeClosed) || r.allBranchesAlwaysOpen;
    const bool keptOpen = keptOpenRoot();
    if (measure) measureRow(r);
    if (type == WalkMeasure && is_branch()) {
        bool rows = r.showLeaves && children() > 0;
        for (int i = 0; !rows && i < children(); ++i) rows = child(i)->is_branch();
        setFlag(NodeHasRows, rows);
    }
    if (!skip) {
        if (measure) drawRow(r, true);
        const bool inView = r.y + currentH >= r.browserY;
        if (type == WalkDraw && inView) {
            drawRow(r, false);
            if (r.showBranches) {
                fl_color(r.lineColor);
                fl_line_style(r.lineStyle, r.lineWidth);
                int d = depth();
                for (int i = 0; i < r.branchConnectors.size(); ++i)
                    if (i != d - 1) fl_line(r.branchConnectors[i], r.y, r.branchConnectors[i], r.y + currentH);
                fl_line_style(0);
            }
            r.shadedIndex ^= 1;
        }
        if (type == WalkHandle && inView && active()) {
            if (int taken = handleRow(r, event)) return taken;
        }
        r.y += currentH + r.vGap;
    }
    if (_parent) r.first = false;
    if (is_leaf() || !children()) return 0;
    const bool visit = (hasRows() && state) || skip || keptOpen || this == r.animatedNode || type == WalkMeasureOpen;
    if (!visit) return 0;
    const int savedX = r.x, savedW = r.branchIconW;
    if (!skip && !keptOpen && r.showBranches) r.x += r.hGap + imageW(cIcon[state]);
    r.totalW = std::max(r.totalW, r.x);
    r.branchIconW = r.showBranches ? (bIcon[state] ? bIcon[state]->w() : imageW(cIcon[state])) : 0;
    const int startY = r.y;
    const int n = children();
    int result = 0;
    for (int i = 0; i < n && !result; ++i) {
        r.first = i == 0;
        r.last = i == n - 1;
        const bool push = type == WalkDraw && r.showConnectors && !r.last;
        if (push) r.branchConnectors.push(r.x + r.branchIconW / 2);
        result = child(i)->recurse(r, type, event);
        if (push) r.branchConnectors.pop();
    }
    if (measure) totalChildH = r.y - startY;
    r.x = savedX;
    r.branchIconW = savedW;
    return result;
}

void Flu_Tree_Browser::Node::determineVisibility(bool visible) {
    if (Fl_Widget* w = widget()) {
        if (visible)
            w->show();
        else
            w->hide();
    }
    const bool down = visible && (rdata().allBranchesAlwaysOpen || !flag(NodeClosed));
    for (int i = 0; i < children(); ++i) child(i)->determineVisibility(down);
}

void Flu_Tree_Browser::Node::open(bool b) {
    RData& r = rdata();
    if (is_leaf() || always_open() || r.allBranchesAlwaysOpen) return;
    if (open() == b && _tree->when() != FL_WHEN_NOT_CHANGED) return;
    r.justOpenedClosed = true;
    setFlag(NodeClosed, !b);
    if (b && _parent) {
        Node* previous = r.lastOpenBranch;
        // Never close a branch on the way to this one.
        if (r.singleBranchOpen && previous && previous != this && !is_ancestor(previous)) previous->open(false);
        r.lastOpenBranch = this;
    }
    r.forceResize = r.visibilityChanged = true;
    _tree->redraw();
    do_callback(b ? ReasonOpened : ReasonClosed);
}

void Flu_Tree_Browser::Node::active(bool b) {
    if (active() == b && _tree->when() != FL_WHEN_NOT_CHANGED) return;
    setFlag(NodeActive, b);
    if (Fl_Widget* w = widget()) {
        if (b)
            w->activate();
        else
            w->deactivate();
    }
    if (!b) {
        RData& r = rdata();
        if (r.hilighted == this) r.hilighted = nullptr;
        select(false);
        open(false);
    }
    _tree->redraw();
}

int Flu_Tree_Browser::Node::handleRow(RData&, int) { return 0; }

bool Flu_Tree_Browser::Node::onExpander(RData&, int, int) { return false; }

// ------------------------------------------------------------------- tree

void Flu_Tree_Browser::resize(int X, int Y, int W, int H) {
    Fl_Group::resize(X, Y, W, H);
    const Fl_Boxtype b = scrollBox->box();
    const int dx = Fl::box_dx(b), dy = Fl::box_dy(b), dw = Fl::box_dw(b), dh = Fl::box_dh(b);
    RData& r = rdata;
    r.x = X + dx;
    r.y = Y + dy;
    r.totalW = X + dx;
    r.branchIconW = 0;
    r.branchConnectors.clear();
    root.recurse(r, WalkMeasure);
    const int contentW = r.totalW - (X + dx), contentH = r.y - (Y + dy);
    r.totalW = contentW;
    r.totalH = contentH;
    // Decided twice: each bar takes room that may call for the other.
    bool hbar = contentW > W - dw, vbar = contentH > H - dh;
    for (int pass = 0; pass < 2; ++pass) {
        if (hbar && contentH > H - dh - BAR) vbar = true;
        if (vbar && contentW > W - dw - BAR) hbar = true;
    }
    scrollBox->resize(X, Y, W - (vbar ? BAR : 0), H - (hbar ? BAR : 0));
    const int hlen = W - dw - (vbar ? BAR : 0), vlen = H - dh - (hbar ? BAR : 0);
    scrollH->resize(X + dx, Y + H - dy - BAR, hlen, BAR);
    scrollV->resize(X + W - dx - BAR, Y + dy, BAR, vlen);
    scrollCorner->resize(X + W - dx - BAR, Y + H - dy - BAR, BAR, BAR);
    auto setBar = [](Fl_Scrollbar* bar, bool shown, int content, int length) {
        if (!shown) {
            bar->hide();
            bar->value(0);
            return;
        }
        bar->show();
        const int maximum = std::max(0, content - length);
        const int position = std::min(int(bar->value()), maximum);
        // The range is 0 .. maximum, both ends reachable.
        bar->scrollvalue(position, 1, 0, maximum + 1);
        const int track = length - 2 * BAR;
        float size = 1.0f;
        if (track > 0) size = std::max(float(BAR) / track, float(track - maximum) / track);
        bar->slider_size(std::min(1.0f, size));
    };
    setBar(scrollH, hbar, contentW, hlen);
    setBar(scrollV, vbar, contentH, vlen);
    if (hbar && vbar)
        scrollCorner->show();
    else
        scrollCorner->hide();
    r.browserX = scrollBox->x() + dx;
    r.browserY = scrollBox->y() + dy;
    r.browserW = scrollBox->w() - dw;
    r.browserH = scrollBox->h() - dh;
    // Widget groups cover the view, so that clicks reach the widgets in them.
    for (int i = 0; i < scrollBox->children(); ++i) {
        Fl_Widget* c = scrollBox->child(i);
        if (c != root.widget()) c->resize(scrollBox->x(), scrollBox->y(), scrollBox->w(), scrollBox->h());
    }
    redraw();
    r.forceResize = true;
}

void Flu_Tree_Browser::startWalk() {
    const Fl_Boxtype b = scrollBox->box();
    rdata.x = x() + Fl::box_dx(b) - (scrollH->visible() ? int(scrollH->value()) : 0);
    rdata.y = y() + Fl::box_dy(b) - (scrollV->visible() ? int(scrollV->value()) : 0);
    rdata.first = true;
    rdata.branchIconW = 0;
    rdata.branchConnectors.clear();
}

void Flu_Tree_Browser::draw() {
    if (rdata.forceResize) {
        resize(x(), y(), w(), h());
        rdata.forceResize = false;
    }
    RData& r = rdata;
    fl_draw_box(scrollBox->box(), x(), y(), w(), h(), scrollBox->color());
    // A frame paints no background: fill the view so that no old row stays.
    fl_rectf(r.browserX, r.browserY, r.browserW, r.browserH, scrollBox->color());
    startWalk();
    r.bgColor = scrollBox->color();
    r.shadedIndex = 0;
    r.lineColor = active_r() ? r.defLineColor : fl_inactive(r.defLineColor);
    r.selectionColor = active_r() ? r.defSelectionColor : fl_inactive(r.defSelectionColor);
    std::vector<Node*> before;
    before.swap(placed);
    fl_push_clip(r.browserX, r.browserY, r.browserW, r.browserH);
    root.recurse(r, WalkDraw);
    fl_pop_clip();
    // Widgets of rows that left the view must neither show nor take clicks.
    for (Node* n : before)
        if (std::find(placed.begin(), placed.end(), n) == placed.end() && n->widget())
            n->widget()->position(-10000 - n->widget()->w(), -10000 - n->widget()->h());
    if (scrollCorner->visible()) draw_child(*scrollCorner);
    if (scrollH->visible()) draw_child(*scrollH);
    if (scrollV->visible()) draw_child(*scrollV);
}

int Flu_Tree_Browser::handle(int event) {
    const int used = Fl_Group::handle(event);
    if (event == FL_SHOW || event == FL_HIDE) {
        root.determineVisibility(true);
        rdata.visibilityChanged = false;
    }
    return used;
}

void Flu_Tree_Browser::set_hilighted(Node* n) {
    RData& r = rdata;
    if (r.hilighted == n && when() != FL_WHEN_NOT_CHANGED) return;
    if (Node* old = r.hilighted) old->do_callback(ReasonUnhilighted);
    r.hilighted = n;
    if (!n) {
        redraw();
        return;
    }
    n->do_callback(ReasonHilighted);
    if (r.selectionFollowsHilight) {
        if (r.selectionMode == SelectSingle) unselect_all();
        n->select(true);
    }
    if (r.forceResize) {
        resize(x(), y(), w(), h());
        r.forceResize = false;
    }
    if (scrollV->visible()) {
        // Rows are laid out from the view's top, unscrolled.
        const int top = n->currentY - (y() + Fl::box_dy(scrollBox->box()));
        int position = int(scrollV->value());
        if (top + n->currentH > position + r.browserH) position = top + n->currentH - r.browserH;
        if (top < position) position = top;
        scrollV->value(std::max(0, std::min(position, int(scrollV->maximum()))));
    }
    redraw();
}

void Flu_Tree_Browser::stopAnimation() {
    Fl::remove_timeout(_timerRedrawCB, this);
    rdata.animating = false;
    rdata.animatedNode = nullptr;
}

void Flu_Tree_Browser::timerRedrawCB() {}

void Flu_Tree_Browser::_timerRedrawCB(void* arg) { static_cast<Flu_Tree_Browser*>(arg)->timerRedrawCB(); }

void Flu_Tree_Browser::_scrollCB(Fl_Widget*, void* arg) { static_cast<Flu_Tree_Browser*>(arg)->redraw(); }
