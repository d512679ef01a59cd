// The tree browser's layout walk, drawing, scrolling and events.

#include "widgets/Flu_Tree_Browser.h"

#include "core/maChaine.h"

#include <FL/Fl.H>
#include <FL/Fl_Image.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cmath>
#include <memory>
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

bool pointIn(int ex, int ey, int x, int y, int w, int h) { return ex >= x && ex < x + w && ey >= y && ey < y + h; }

}  // namespace

// A branch that cannot be closed counts as open.
bool Flu_Tree_Browser::Node::openState() const {
    return !flag(NodeClosed) || flag(NodeKeptOpen) || rdata().allBranchesAlwaysOpen;
}

bool Flu_Tree_Browser::Node::open() const { return is_branch() && openState(); }

// The shown root whose children are never indented nor hidden.
bool Flu_Tree_Browser::Node::keptOpenRoot() const {
    const RData& r = rdata();
    return !_parent && r.showRoot && (always_open() || r.allBranchesAlwaysOpen);
}

// The branch's collapse icon of its state, null for a root without
// expander; `shown` tells whether it is drawn (and can be clicked).
Fl_Image* Flu_Tree_Browser::Node::expanderIcon(const RData& r, bool& shown) const {
    shown = false;
    if (keptOpenRoot() || (!_parent && !hasRows())) return nullptr;
    const bool state = openState() && (hasRows() || r.showLeaves);
    shown = !always_open() && !r.allBranchesAlwaysOpen && (hasRows() || r.showLeaves) &&
            (r.openWOChildren || hasRows());
    return cIcon[state];
}

void Flu_Tree_Browser::Node::measureRow(RData&) {
    // A label is measured once, and again only when its text, font or size change.
    if (!flag(NodeLabelShown)) {
        textW = textH = 0;
    } else if (!textMeasured) {
        std::string buffer;
        fl_font(textFont, textSize);
        textW = static_cast<unsigned short>(fl_width(drawable(label(), buffer)) + 4);
        textH = static_cast<unsigned short>(fl_height() + 4);
    }
    textMeasured = flag(NodeLabelShown);
    int h = std::max<int>(textH, _widget ? _widget->w->h() : 0);
    if (is_branch())
        h = std::max({h, imageH(cIcon[openState()]), imageH(bIcon[openState()])});
    else
        h = std::max(h, imageH(lIcon));
    currentH = static_cast<unsigned short>(h);
}

// Draws the row, or only measures it; returns its right edge.
int Flu_Tree_Browser::Node::drawRow(RData& r, bool measure) {
    Fl_Color bg = r.shadedColors[r.shadedIndex];
    Fl_Color tc = FL_BLACK;
    if (!measure || _widget) tc = active() && _tree->active_r() ? textColor : fl_inactive(textColor);
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
    const bool connectors = !measure && r.showConnectors && r.showBranches;
    // The connectors go first: an expander drawn over them keeps its sign
    // ("-" crossed by the vertical line would read as "+").
    if (connectors) {
        fl_color(r.lineColor);
        fl_line_style(r.lineStyle, r.lineWidth);
        if (_parent) {
            const int cx = r.x + r.branchIconW / 2;
            const bool underHiddenRoot = !_parent->_parent && !r.showRoot && r.first;
            fl_line(cx, underHiddenRoot ? mid : top - r.vGap / 2, cx, r.last ? mid : top + currentH + r.vGap);
            fl_line(cx, mid, r.x + r.hGap + r.branchIconW, mid);
        }
    }
    if (is_branch()) {
        const bool state = openState() && (hasRows() || r.showLeaves);
        bool shown;
        Fl_Image* ci = expanderIcon(r, shown);
        if (ci) {
            int ix = _parent ? X + r.branchIconW / 2 - ci->w() / 2 : X;
            if (connectors && !_parent && hasRows()) fl_line(ix + ci->w() / 2, mid, ix + ci->w(), mid);
            if (!measure && shown) ci->draw(ix, mid - ci->h() / 2);
            X += ci->w() + (bIcon[state] ? r.hGap : r.wGap);
        }
        if (Fl_Image* bi = bIcon[state]) {
            if (!measure) bi->draw(X, mid - bi->h() / 2);
            if (connectors && !ci && !_parent && hasRows()) {
                fl_color(r.lineColor);
                fl_line(X + bi->w() / 2, mid, X + bi->w() / 2, top + currentH);
            }
            X += r.wGap + bi->w();
        } else {
            X += r.wGap;
        }
    } else {
        if (r.showBranches)
            X += imageW(r.collapseIcons[openState()]) + (lIcon ? r.hGap : r.wGap);
        else
            X += r.wGap;
        if (lIcon && !flag(NodeIconAtEnd)) {
            if (!measure) lIcon->draw(X, mid - lIcon->h() / 2);
            X += r.wGap + lIcon->w();
        }
    }
    if (connectors) fl_line_style(0);
    std::string buffer;
    auto drawLabel = [&]() {
        if (!flag(NodeLabelShown)) return;
        if (!measure) {  // on the row's background, already filled
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
    return X;
}

// Whether the row and the rows of its shown children all lie above the view:
// their heights are known from the last measure, so the walk passes over them.
// A subtree holding the animated branch is walked: its offset moves the rows.
bool Flu_Tree_Browser::Node::subtreeAbove(const RData& r, bool visit) const {
    if (!_parent || (r.animatedNode && (r.animatedNode == this || r.animatedNode->is_ancestor(const_cast<Node*>(this)))))
        return false;
    return r.y + currentH + (visit ? totalChildH : 0) < r.browserY;
}

bool Flu_Tree_Browser::Node::rowHidden(const RData& r) const {
    return (!_parent && !r.showRoot) || (is_leaf() && !r.showLeaves) || (is_branch() && !r.showBranches);
}

// Whether the walks go down to the children: those of an open branch with
// rows to show, of a hidden row, of the kept-open root and of the animated
// branch.
bool Flu_Tree_Browser::Node::showsChildren(const RData& r, bool hidden, bool forceOpen) const {
    return !is_leaf() && children() &&
           ((hasRows() && openState()) || hidden || keptOpenRoot() || this == r.animatedNode || forceOpen);
}

void Flu_Tree_Browser::Node::measure(RData& r, bool forceOpen) {
    const int entryY = r.y;
    rowX = r.x;
    measureRow(r);
    if (!forceOpen && is_branch()) {
        bool rows = r.showLeaves && children() > 0;
        for (int i = 0; !rows && i < children(); ++i) rows = child(i)->is_branch();
        setFlag(NodeHasRows, rows);
    }
    const bool hidden = rowHidden(r);
    int right = 0;
    if (!hidden) {
        right = drawRow(r, true);
        r.y += currentH + r.vGap;
    }
    if (showsChildren(r, hidden, forceOpen)) {
        const int savedX = r.x;
        if (!hidden && !keptOpenRoot() && r.showBranches) r.x += r.hGap + imageW(cIcon[openState()]);
        right = std::max(right, r.x);
        rowRight = right;
        const int n = children(), startY = r.y;
        places.resize(size_t(n));
        for (int i = 0; i < n; ++i) {
            // Nodes lie wherever they were allocated, rarely in row order:
            // fetching the next ones while this one is measured hides most
            // of the cache misses of a long list.
            if (Node* ahead = child(i + 16)) {
                __builtin_prefetch(ahead);
                __builtin_prefetch(reinterpret_cast<const char*>(ahead) + 63);
            }
            Node* c = child(i);
            c->measure(r, forceOpen);
            places[size_t(i)] = {r.y - c->extent - startY, c->subtreeRight};
            right = std::max(right, c->subtreeRight);
        }
        totalChildH = r.y - startY;
        r.x = savedX;
    } else {
        rowRight = right;
    }
    subtreeRight = right;
    extent = r.y - entryY;
}

int Flu_Tree_Browser::Node::row_top() const {
    if (!_parent) {
        const Flu_Tree_Browser* t = _tree;
        return t->y() + Fl::box_dy(t->scrollBox->box());
    }
    const size_t i = size_t(index());
    const int top = i < _parent->places.size() ? _parent->places[i].top : 0;
    const RData& r = rdata();
    return _parent->row_top() + (_parent->rowHidden(r) ? 0 : _parent->currentH + r.vGap) + top;
}

int Flu_Tree_Browser::Node::recurse(RData& r, int type, int event) {
    if (type == WalkCountSelected) return countSelected();
    if (type == WalkMeasure || type == WalkMeasureOpen) {
        measure(r, type == WalkMeasureOpen);
        r.totalW = std::max(r.totalW, subtreeRight);
        return 0;
    }
    if (!_parent) r.first = true;
    const int viewBottom = r.browserY + r.browserH;
    if (r.y > viewBottom) return type == WalkDraw ? 1 : 0;
    const bool skip = rowHidden(r);
    const bool state = openState();
    const bool keptOpen = keptOpenRoot();
    const bool visit = showsChildren(r, skip);
    if (!skip && subtreeAbove(r, visit)) {
        r.y += currentH + r.vGap + (visit ? totalChildH : 0);
        r.first = false;
        return 0;
    }
    if (!skip) {
        const bool inView = r.y + currentH >= r.browserY;
        if (type == WalkDraw && inView) {
            drawRow(r, false);
            if (r.showBranches) {
                fl_color(r.lineColor);
                fl_line_style(r.lineStyle, r.lineWidth);
                // The lines of the ancestors' columns; a child that is not
                // the last finds its own column on top, drawn by its row
                // under its expander.
                const int own = _parent && !r.last ? r.branchConnectors.size() - 1 : -1;
                for (int i = 0; i < r.branchConnectors.size(); ++i)
                    if (i != own) fl_line(r.branchConnectors[i], r.y, r.branchConnectors[i], r.y + currentH);
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
    if (!visit) return 0;
    const int savedX = r.x, savedW = r.branchIconW;
    if (!skip && !keptOpen && r.showBranches) r.x += r.hGap + imageW(cIcon[state]);
    r.branchIconW = r.showBranches ? (bIcon[state] ? bIcon[state]->w() : imageW(cIcon[state])) : 0;
    bool clipped = false;
    if (type == WalkDraw && this == r.animatedNode) {
        if (r.animationOffset + r.animationDelta < 0) {
            r.animationOffset += r.animationDelta;
            fl_push_clip(r.browserX, r.y, r.browserW, std::max(0, viewBottom - r.y));
            r.y += int(std::lround(r.animationOffset));
            clipped = true;
        } else {
            _tree->endAnimation();
        }
    }
    const int n = children();
    int result = 0;
    int from = 0;
    // Children whose rows all lie above the view are passed over at once:
    // their row tops from the last measure are in order, so a binary search
    // finds the last one that starts above the view.
    if (!r.animatedNode && n > 1 && r.y < r.browserY && places.size() == size_t(n)) {
        int lo = 0, hi = n - 1;
        while (lo < hi) {
            const int mid = (lo + hi + 1) / 2;
            if (r.y + places[size_t(mid)].top < r.browserY)
                lo = mid;
            else
                hi = mid - 1;
        }
        from = lo;
        r.y += places[size_t(from)].top;
    }
    for (int i = from; i < n && !result; ++i) {
        r.first = i == 0;
        r.last = i == n - 1;
        const bool push = type == WalkDraw && r.showConnectors && !r.last;
        if (push) r.branchConnectors.push(r.x + r.branchIconW / 2);
        result = child(i)->recurse(r, type, event);
        // A handled event may have called back, and the callback may have
        // deleted this node or the whole tree.
        if (result && type == WalkHandle) return result;
        if (push) r.branchConnectors.pop();
    }
    r.x = savedX;
    r.branchIconW = savedW;
    if (clipped) {
        fl_pop_clip();
        if (r.animationOffset <= -totalChildH) _tree->endAnimation();
    }
    return result;
}

// A widget told that it hides may call back, and the callback may remove
// rows: the walk stops there (the tree then knows its rows changed), and
// widgets removed meanwhile die later, once the toolkit is out of them.
void Flu_Tree_Browser::Node::determineVisibility(bool visible) {
    Busy busy;
    const unsigned long before = deletions;
    if (Fl_Widget* w = widget()) {
        if (visible)
            w->show();
        else
            w->hide();
    }
    if (deletions != before) return;
    // The walk draws the children of an open branch, and those of a node
    // without a row of its own in its place, open or not.
    const bool down = visible && (openState() || rowHidden(rdata()));
    for (int i = 0; i < children() && deletions == before; ++i) child(i)->determineVisibility(down);
}

// Whether the walk from the root shows this node's widget.
bool Flu_Tree_Browser::Node::widgetsShown() const {
    for (const Node* p = _parent; p; p = p->_parent)
        if (!p->openState() && !p->rowHidden(rdata())) return false;
    return true;
}

void Flu_Tree_Browser::Node::open(bool b) {
    RData& r = rdata();
    if (is_leaf() || always_open() || r.allBranchesAlwaysOpen) return;
    if (open() == b && _tree->when() != FL_WHEN_NOT_CHANGED) return;
    r.justOpenedClosed = true;
    setFlag(NodeClosed, !b);
    const float frames = r.fps * r.collapseTime;
    bool animationStarts = false;
    if (r.animate && children() && frames >= 1.0f) {
        if (!r.animating) {
            r.animating = animationStarts = true;
            r.animatedNode = this;
        } else if (r.animatedNode == this) {
            r.animationDelta = -r.animationDelta;
        }
    }
    // Only this branch's rows change: lay out them and what follows.
    _tree->relayoutBranch(this);
    if (animationStarts) {
        // A layout still due has not measured the rows that will move.
        if (totalChildH == 0) {
            const int x = r.x, y = r.y;
            r.x = rowX;
            measure(r, false);
            r.x = x, r.y = y;
        }
        r.animationOffset = b ? -float(totalChildH) : -1.0f;
        r.animationDelta = (b ? 1.0f : -1.0f) * float(totalChildH) / frames;
        Fl::add_timeout(1.0 / r.fps, _timerRedrawCB, _tree);
    }
    if (!r.visibilityChanged) {
        const bool down = widgetsShown() && (openState() || rowHidden(r));
        const unsigned long before = deletions;
        NodeWatch alive(this);
        for (int i = 0; i < children() && deletions == before; ++i) child(i)->determineVisibility(down);
        if (alive.gone()) return;
    }
    _tree->redraw();
    if (b && _parent) {
        Node* previous = r.lastOpenBranch;
        r.lastOpenBranch = this;
        // Never close a branch on the way to this one.
        if (r.singleBranchOpen && previous && previous != this && !is_ancestor(previous)) {
            NodeWatch alive(this);
            previous->open(false);
            if (alive.gone()) return;
        }
    }
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
    _tree->redraw();
    if (!b) {
        RData& r = rdata();
        if (r.hilighted == this) r.hilighted = nullptr;
        NodeWatch alive(this);
        select(false);
        if (!alive.gone()) open(false);
    }
}

bool Flu_Tree_Browser::Node::onExpander(RData& r, int ex, int ey) {
    if (!is_branch()) return false;
    bool shown;
    Fl_Image* ci = expanderIcon(r, shown);
    if (!ci || !shown) return false;
    const int ix = _parent ? r.x + r.branchIconW / 2 - ci->w() / 2 : r.x;
    return pointIn(ex, ey, ix, r.y + currentH / 2 - ci->h() / 2, ci->w(), ci->h());
}

void Flu_Tree_Browser::Node::doubleClickRule(RData& r) {
    const bool twice = Fl::event_clicks() > 0;
    if (twice) Fl::event_clicks(0);
    if (is_leaf()) {
        if (twice) do_callback(ReasonDoubleClick);
    } else if (twice && r.doubleClickToggle) {
        if (r.openWOChildren || hasRows()) open(!open());
    } else if (twice) {
        do_callback(ReasonDoubleClick);
    } else if (r.openOnSelect) {
        open(true);
    }
}

// Every selection, hilight, open or close, and the keyboard taken from a
// widget, may call back, and the callback may delete this node or clear the
// tree: after each, the row goes on only while the node is there.
int Flu_Tree_Browser::Node::handleRow(RData& r, int event) {
    Node& root = *r.root;
    NodeWatch self(this);
    if (event == FL_KEYBOARD) {
        const int key = Fl::event_key();
        if (r.hilighted == this) {
            if (key == ' ') {
                if (Fl::event_state(FL_CTRL)) {
                    select(!selected());
                } else {
                    root.unselect_all(this);
                    if (self.gone()) return 1;
                    select(true);
                }
                if (!self.gone() && is_branch() && r.openOnSelect) open(true);
                return 1;
            }
            if (key == FL_Enter || key == FL_KP_Enter || key == FL_Left || key == FL_Right) {
                open(key == FL_Left ? false : key == FL_Right ? true : !open());
                return 1;
            }
            if (r.delta == -1 && r.previous) {
                r.delta = 0;
                _tree->set_hilighted(r.previous);
                return 1;
            }
        }
        // With nothing hilighted, Down goes to the first row in view.
        if (r.delta == 1 && r.previous == r.hilighted) {
            r.delta = 0;
            _tree->set_hilighted(this);
            return 1;
        }
        r.previous = this;
        return 0;
    }
    if (event != FL_DRAG) r.justOpenedClosed = false;
    const int ex = Fl::event_x(), ey = Fl::event_y();
    const bool onExp = onExpander(r, ex, ey);
    if (event == FL_PUSH && onExp && Fl::event_button() == FL_LEFT_MOUSE && (r.openWOChildren || hasRows())) {
        r.dragging = false;
        open(!open());
        return 1;
    }
    if (event == FL_DRAG && r.justOpenedClosed) return 0;
    if (r.selectionMode == SelectNone || !pointIn(ex, ey, r.browserX, r.y, r.browserW, currentH)) return 0;
    if (event == FL_RELEASE) {
        if (_tree->when() != FL_WHEN_RELEASE) return 0;
        if (selected() && !onExp) do_callback(ReasonSelected);
        return 1;
    }
    Flu_Tree_Browser* tree = _tree;
    const bool ctrl = Fl::event_state(FL_CTRL) != 0, shift = Fl::event_state(FL_SHIFT) != 0;
    if (r.selectionMode == SelectSingle) {
        if (event == FL_MOVE && r.selectUnderMouse) {
            // The row under the pointer is the selection, without callback.
            auto only = [this](Node* n, auto& self) -> void {
                n->setFlag(NodeSelected, n == this);
                for (int i = 0; i < n->children(); ++i) self(n->child(i), self);
            };
            only(&root, only);
            tree->redraw();
            return 1;
        }
        if (event == FL_PUSH) {
            r.grabbed = this;
            root.unselect_all(r.selectUnderMouse ? nullptr : this);
            if (self.gone()) return 1;
            tree->set_hilighted(this);
            if (self.gone()) return 1;
            select(ctrl ? !selected() : true);
            if (self.gone()) return 1;
            doubleClickRule(r);
            if (self.gone()) return 1;
            tree->takeKeyboard();
            return 1;
        }
        if (event == FL_DRAG) {
            if (r.selectionDragMode == 0) return 1;
            r.dragging = true;
            root.unselect_all(this);
            if (self.gone()) return 1;
            tree->set_hilighted(this);
            if (!self.gone()) select(true);
            return 1;
        }
        return 0;
    }
    if (event == FL_PUSH) {
        r.grabbed = this;
        if (shift && r.hilighted && r.hilighted != this) {
            tree->selectRange(r.hilighted, this);
            if (self.gone()) return 1;
            tree->set_hilighted(this);
        } else if (shift) {
            select(true);
            if (!self.gone() && is_branch()) doubleClickRule(r);
            if (!self.gone()) tree->set_hilighted(this);
        } else if (ctrl) {
            select(!selected());
            if (!self.gone()) tree->set_hilighted(this);
        } else {
            root.unselect_all(this);
            if (!self.gone()) select(true);
            if (!self.gone()) doubleClickRule(r);
            if (!self.gone()) tree->set_hilighted(this);
        }
        if (!self.gone()) tree->takeKeyboard();
        return 1;
    }
    if (event == FL_DRAG) {
        if (r.selectionDragMode == 0) return 1;
        r.dragging = true;
        select(true);
        if (!self.gone()) tree->set_hilighted(this);
        return 1;
    }
    return 0;
}

// ------------------------------------------------------------------- tree

// Selects every shown row from one end to the other, both included, in or
// out of view; the range flags never outlive the call.
// A callback that deletes a node ends the range there, as it ends
// select_all.
void Flu_Tree_Browser::selectRange(Node* a, Node* b) {
    RData& r = rdata;
    r.shiftSelect = true;
    r.shiftSelectAll = false;
    bool done = false;
    const unsigned long before = deletions;
    NodeWatch alive(&root);
    auto walk = [&](Node* n, auto& self) -> void {
        const bool skip = n->rowHidden(r);
        if (!skip) {
            const bool end = n == a || n == b;
            if (end || r.shiftSelectAll) {
                n->select(true);
                if (deletions == before && n->is_branch() && r.openOnSelect) n->open(true);
                if (deletions != before) {
                    done = true;
                    return;
                }
                done = end && r.shiftSelectAll;
                r.shiftSelectAll = true;
                if (done) return;
            }
        }
        if (!n->is_branch() || !(n->openState() || skip || n->keptOpenRoot())) return;
        for (int i = 0; !done && i < n->children(); ++i) self(n->child(i), self);
    };
    walk(&root, walk);
    if (!alive.gone()) r.shiftSelect = r.shiftSelectAll = false;
}

void Flu_Tree_Browser::relayoutIfNeeded() {
    if (!rdata.forceResize) return;
    resize(x(), y(), w(), h());
    rdata.forceResize = false;
}

void Flu_Tree_Browser::resize(int X, int Y, int W, int H) {
    Fl_Group::resize(X, Y, W, H);
    const Fl_Boxtype b = scrollBox->box();
    RData& r = rdata;
    // A widget that fills its row takes the width of the view it finds,
    // which the bars placed after may change: measured again then.
    for (int pass = 0; pass < 3; ++pass) {
        const int viewW = r.browserW;
        r.x = X + Fl::box_dx(b);
        r.y = Y + Fl::box_dy(b);
        root.recurse(r, WalkMeasure);
        placeBars();
        if (r.browserW == viewW) break;
    }
    redraw();
}

// Lays out again only what opening or closing n changed: n's subtree, then,
// up its ancestors, their heights, their right edges and the tops of the
// children after it. The rows of a hidden branch are measured when it shows.
void Flu_Tree_Browser::relayoutBranch(Node* n) {
    RData& r = rdata;
    if (r.forceResize) return;  // a whole layout is due anyway
    for (Node* p = n->_parent; p; p = p->_parent)
        if (!p->showsChildren(r, p->rowHidden(r))) return;
    const int x = r.x, y = r.y, oldExtent = n->extent;
    r.x = n->rowX;
    n->measure(r, false);
    r.x = x, r.y = y;
    const int delta = n->extent - oldExtent;
    for (Node *c = n, *p = n->_parent; p; c = p, p = p->_parent) {
        const size_t i = size_t(c->index());
        if (i >= p->places.size()) {
            r.forceResize = true;
            return;
        }
        p->places[i].right = c->subtreeRight;
        for (size_t j = i + 1; j < p->places.size(); ++j) p->places[j].top += delta;
        p->totalChildH += delta;
        p->extent += delta;
        p->subtreeRight = p->rowRight;
        for (const Node::Place& place : p->places) p->subtreeRight = std::max(p->subtreeRight, place.right);
    }
    placeBars();
}

// The scrollbars and the view from the size of the laid-out rows.
void Flu_Tree_Browser::placeBars() {
    const int X = x(), Y = y(), W = w(), H = h();
    const Fl_Boxtype b = scrollBox->box();
    const int dx = Fl::box_dx(b), dy = Fl::box_dy(b), dw = Fl::box_dw(b), dh = Fl::box_dh(b);
    RData& r = rdata;
    const int contentW = root.subtreeRight - (X + dx), contentH = root.extent;
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
    auto setBar = [](Bar* bar, bool shown, int content, int length) {
        bar->view(std::max(0, length));
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
    // Widget groups cover the view, so that clicks reach the widgets in them;
    // only their own box changes: a group's resize would scale the widgets.
    for (int i = 0; i < scrollBox->children(); ++i) {
        Fl_Widget* c = scrollBox->child(i);
        if (c != root.widget()) c->Fl_Widget::resize(scrollBox->x(), scrollBox->y(), scrollBox->w(), scrollBox->h());
    }
}

void Flu_Tree_Browser::startWalk() {
    const Fl_Boxtype b = scrollBox->box();
    rdata.x = x() + Fl::box_dx(b) - (scrollH->visible() ? int(scrollH->value()) : 0);
    rdata.y = y() + Fl::box_dy(b) - (scrollV->visible() ? int(scrollV->value()) : 0);
    rdata.branchConnectors.clear();
}

void Flu_Tree_Browser::draw() {
    // Only parts asked to be drawn again (an entry typed in, a bar that
    // moved its thumb): they alone are, over the rows as they stand. A bar
    // that moves the rows calls back, which redraws the whole tree.
    const RData& r = rdata;
    if (damage() == FL_DAMAGE_CHILD && !r.forceResize && !r.visibilityChanged &&
        !(scrollBox->damage() & ~FL_DAMAGE_CHILD)) {
        fl_push_clip(r.browserX, r.browserY, r.browserW, r.browserH);
        for (Node* n : placed)
            if (Fl_Widget* w = n->widget()) update_child(*w);
        fl_pop_clip();
        for (Fl_Widget* part : {static_cast<Fl_Widget*>(scrollCorner), static_cast<Fl_Widget*>(scrollH),
                                static_cast<Fl_Widget*>(scrollV)})
            update_child(*part);
        return;
    }
    relayoutIfNeeded();
    drawRows();
    // An animation that ended in this walk changed the layout. A redraw
    // asked for now would be dropped: the bars and the rows follow at once.
    if (rdata.forceResize) {
        relayoutIfNeeded();
        drawRows();
    }
    if (scrollCorner->visible()) draw_child(*scrollCorner);
    if (scrollH->visible()) draw_child(*scrollH);
    if (scrollV->visible()) draw_child(*scrollV);
    scrollBox->clear_damage();  // drawn here, never by the toolkit
}

void Flu_Tree_Browser::drawRows() {
    RData& r = rdata;
    if (r.visibilityChanged) showRowWidgets();
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
            n->widget()->position(-20000, -20000);
}

int Flu_Tree_Browser::handle(int event) {
    Busy busy;
    RData& r = rdata;
    if (event == 0) return 0;
    if (event == FL_FOCUS) {
        redraw();
        return 1;
    }
    if (event == FL_UNFOCUS) {
        Fl_Group::handle(event);
        redraw();
        return 1;
    }
    if (event == FL_SHOW || event == FL_HIDE || event == FL_ACTIVATE || event == FL_DEACTIVATE) {
        Fl_Widget_Tracker alive(this);
        tellParts(event);
        if (!alive.exists()) return 1;
        if (event == FL_SHOW || event == FL_HIDE) showRowWidgets();
        return 1;
    }
    relayoutIfNeeded();
    // Keys typed at the tree itself are its own; the group would move the focus.
    const bool ownKey = event == FL_KEYBOARD && Fl::focus() == this;
    if (!r.dragging && !ownKey && !(event == FL_MOVE && r.selectUnderMouse)) {
        if (event != FL_ENTER && event != FL_LEAVE && event != FL_MOVE) scrollBox->redraw();
        if (Fl_Group::handle(event)) return 1;
    }
    if (event == FL_MOUSEWHEEL && scrollV->visible()) return scrollV->handle(event);
    if (event == FL_RELEASE) {
        r.dragging = false;
        r.grabbed = nullptr;
    }
    const int key = event == FL_KEYBOARD ? Fl::event_key() : 0;
    if (key == FL_Page_Up || key == FL_Page_Down) {
        if (!scrollV->visible()) return 0;
        scrollV->page(key == FL_Page_Up ? -1 : 1);
        return 1;
    }
    if (key == FL_Up || key == FL_Down) {
        // The widget that loses the keyboard may call back: the walk starts after it.
        redraw();
        NodeWatch alive(&root);
        takeKeyboard();
        if (alive.gone()) return 1;
    }
    startWalk();
    r.previous = nullptr;
    r.delta = 0;
    if (event == FL_KEYBOARD) {
        if (key == FL_Up || key == FL_Down) {
            r.delta = key == FL_Up ? -1 : 1;
        } else if ((key == 'a' || key == 'A') && Fl::event_state(FL_CTRL)) {
            redraw();
            NodeWatch alive(&root);
            root.select_all();
            if (!alive.gone()) takeKeyboard();
            return 1;
        } else if (key == FL_Home) {
            set_hilighted(r.showRoot || !root.children() ? &root : root.child(0));
            return 1;
        } else if (key == FL_End) {
            Node* n = &root;
            // A hidden root or one kept open always shows its children.
            while (n->children() && (n->open() || (n == &root && (!r.showRoot || n->keptOpenRoot()))))
                n = n->child(n->children() - 1);
            set_hilighted(n);
            return 1;
        }
    }
    NodeWatch alive(&root);
    if (root.recurse(r, WalkHandle, event)) {
        if (alive.gone()) return 1;
        if (r.visibilityChanged) showRowWidgets();
        return 1;
    }
    if (event == FL_PUSH && r.selectionMode != SelectNone && !Fl::event_state(FL_CTRL) &&
        inside_entry_area(Fl::event_x(), Fl::event_y())) {
        r.forceResize = true;
        redraw();
        root.unselect_all();
        if (!alive.gone()) set_hilighted(nullptr);
        return 1;
    }
    return event == FL_ENTER || event == FL_MOVE;
}

// Shows the widgets of the rows shown and hides the others. A widget that
// hides may call back and remove rows, which asks for another pass.
void Flu_Tree_Browser::showRowWidgets() {
    rdata.visibilityChanged = false;
    root.determineVisibility(true);
}

// What the toolkit's group does for these events, over a list made first:
// its loop walks the children's array while each child is told, and an
// entry told of a hide may call back, and the callback may remove rows,
// their widgets and widget groups, or delete the tree. Row widgets are told
// directly, each only while it is still there.
void Flu_Tree_Browser::tellParts(int event) {
    std::vector<Fl_Widget*> parts{scrollCorner, scrollH, scrollV};
    for (int i = 0; i < scrollBox->children(); ++i) {
        Fl_Widget* c = scrollBox->child(i);
        Fl_Group* g = c == root.widget() ? nullptr : c->as_group();
        if (!g) parts.push_back(c);
        for (int j = 0; g && j < g->children(); ++j) parts.push_back(g->child(j));
    }
    std::vector<std::unique_ptr<Fl_Widget_Tracker>> alive;
    for (Fl_Widget* w : parts) alive.push_back(std::make_unique<Fl_Widget_Tracker>(w));
    const bool shown = event == FL_SHOW || event == FL_HIDE;
    for (auto& w : alive) {
        Fl_Widget* part = w->widget();
        if (part && (shown ? part->visible() : part->active())) part->handle(event);
    }
}

// Each callback may delete the old node, the new one or the whole tree
// (and the root with it).
void Flu_Tree_Browser::set_hilighted(Node* n) {
    RData& r = rdata;
    if (r.hilighted == n && when() != FL_WHEN_NOT_CHANGED) return;
    redraw();
    NodeWatch tree(&root), target(n ? n : &root);
    if (Node* old = r.hilighted) {
        old->do_callback(ReasonUnhilighted);
        if (target.gone()) {
            // The new node is gone; the old one was told it lost the hilight.
            if (!tree.gone() && r.hilighted == old) r.hilighted = nullptr;
            return;
        }
    }
    r.hilighted = n;
    if (!n) return;
    n->do_callback(ReasonHilighted);
    if (target.gone()) return;
    if (r.selectionFollowsHilight) {
        if (r.selectionMode == SelectSingle) unselect_all();
        if (target.gone()) return;
        n->select(true);
        if (target.gone()) return;
    }
    relayoutIfNeeded();
    if (scrollV->visible()) {
        // Rows are laid out from the view's top, unscrolled.
        const int top = n->row_top() - (y() + Fl::box_dy(scrollBox->box()));
        int position = int(scrollV->value());
        if (top + n->currentH > position + r.browserH) position = top + n->currentH - r.browserH;
        if (top < position) position = top;
        scrollV->value(std::max(0, std::min(position, int(scrollV->maximum()))));
    }
    redraw();
}

// The toolkit's take_focus leaves the keyboard with a widget inside the
// tree; a row click gives it to the tree itself. The widget that loses it
// may call back. Every caller redraws the tree.
void Flu_Tree_Browser::takeKeyboard() {
    if (Fl::focus() != this && takesevents() && visible_focus()) Fl::focus(this);
}

void Flu_Tree_Browser::stopAnimation() {
    Fl::remove_timeout(_timerRedrawCB, this);
    rdata.animating = false;
    rdata.animatedNode = nullptr;
}

void Flu_Tree_Browser::endAnimation() {
    stopAnimation();
    // Often called from inside the draw walk: the next draw lays out.
    rdata.forceResize = true;
    redraw();
}

void Flu_Tree_Browser::timerRedrawCB() {
    if (!rdata.animating) return;
    // A tree that cannot draw would never reach the animation's end.
    if (!visible_r() || !window() || !window()->shown()) {
        endAnimation();
        return;
    }
    redraw();
    Fl::repeat_timeout(1.0 / rdata.fps, _timerRedrawCB, this);
}

void Flu_Tree_Browser::_timerRedrawCB(void* arg) { static_cast<Flu_Tree_Browser*>(arg)->timerRedrawCB(); }

// ------------------------------------------------------------- scrollbars

Flu_Tree_Browser::Bar::Bar(int x, int y, int w, int h, unsigned char direction) : Fl_Scrollbar(x, y, w, h) {
    type(direction);
}

Flu_Tree_Browser::Bar::~Bar() { Fl::remove_timeout(repeat, this); }

void Flu_Tree_Browser::Bar::page(int direction) { handle_drag(clamp(value() + direction * viewLength)); }

// Where a press lies, as the toolkit's scrollbar finds it: -1 in the trough
// before the thumb, 1 after it, 0 on the thumb or an arrow.
int Flu_Tree_Browser::Bar::troughSide() const {
    const bool across = horizontal();
    int start = across ? x() : y(), length = across ? w() : h();
    const int thickness = across ? h() : w();
    if (length >= 3 * thickness) {  // room for the arrows
        start += thickness;
        length -= 2 * thickness;
    }
    const int at = (across ? Fl::event_x() : Fl::event_y()) - start;
    if (at < 0 || at >= length) return 0;
    // Never under the toolkit's least thumb: placeBars makes it 15 pixels at least.
    const int thumb = int(slider_size() * length + .5);
    // A shown bar runs from 0 to at least 1 (see placeBars).
    const int from = int(value() / maximum() * (length - thumb) + .5);
    return at < from ? -1 : at >= from + thumb ? 1 : 0;
}

int Flu_Tree_Browser::Bar::handle(int event) {
    switch (event) {
    case FL_KEYBOARD:
    case FL_SHORTCUT:
        return 0;
    case FL_PUSH:
        // The middle button drags the thumb to the pointer.
        if (!paging && Fl::event_button() != FL_MIDDLE_MOUSE && (paging = troughSide())) {
            page(paging);
            Fl::add_timeout(0.5, repeat, this);
            return 1;
        }
        break;
    case FL_DRAG:
        if (paging) return 1;
        break;
    case FL_RELEASE:
    case FL_HIDE:
        paging = 0;
        Fl::remove_timeout(repeat, this);
        break;
    }
    return Fl_Scrollbar::handle(event);
}

// A push held in the trough pages on, as the toolkit's does.
void Flu_Tree_Browser::Bar::repeat(void* bar) {
    Bar* b = static_cast<Bar*>(bar);
    b->page(b->paging);
    Fl::repeat_timeout(0.05, repeat, bar);
}

void Flu_Tree_Browser::_scrollCB(Fl_Widget*, void* arg) { static_cast<Flu_Tree_Browser*>(arg)->redraw(); }
