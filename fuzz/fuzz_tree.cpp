// fuzz-seconds: 60
// The tree browser under a user's hand and its caller's calls: nodes added
// and removed by path, id and widget, the tree cleared with the pointer on it
// and an entry widget holding the keyboard, branches opened and closed (with
// and without the animation), moves, options, clicks with Ctrl and Shift,
// drags and keys, and callbacks that remove, clear or open the node they are
// called for. Nothing crashes, and what a user sees holds: the hilighted,
// selected and reported nodes are nodes of the tree, a plain click on a row
// gives that row the hilight, the selection and the keyboard, and the entry
// widgets shown are those of the rows in view, a row widget calls back at
// most once an event and never once its row is removed, and a page key or a
// push in a scrollbar's trough moves the rows by one view at most.
#include "widget_fuzz.h"

#include "widgets/Flu_Tree_Browser.h"
#include "widgets/flu_pixmaps.h"

#include "support/WidgetEvents.h"

#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Image.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Pixmap.H>
#include <FL/Fl_Window.H>

#include <cstdint>
#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

using Tree = Flu_Tree_Browser;
using Node = Flu_Tree_Browser::Node;
using qvfuzz::require;
using qvfuzz::WidgetFuzz;

WidgetFuzz* fuzz = nullptr;  // the input running, while callbacks may act
Tree* tree = nullptr;        // the tree of the input, null once deleted
std::unique_ptr<Fl_Widget_Tracker> treeAlive;
Fl_Input* other = nullptr;   // somewhere else the keyboard can go
int callbackDepth = 0;
unsigned long actions = 0;   // what callbacks did to the tree, counted
int eventDepth = 0;          // events being handled, nested
std::map<Fl_Widget*, int> callsThisEvent;  // row widgets' callbacks in the outermost event

bool treeLive() { return tree && treeAlive && treeAlive->exists(); }

// Every node reachable from the root, in pre-order, each child's links
// checked on the way (a cycle or a stray parent would loop or lie).
std::vector<Node*> nodesOf(Tree* t) {
    std::vector<Node*> out;
    std::vector<Node*> stack{t->root_node()};
    while (!stack.empty()) {
        Node* n = stack.back();
        stack.pop_back();
        out.push_back(n);
        require(out.size() < 100000, "more than 100000 nodes: a cycle");
        require(n->tree() == t, "node %u belongs to another tree", n->id());
        for (int i = n->children() - 1; i >= 0; --i) {
            Node* c = n->child(i);
            require(c != nullptr, "child %d of %d of node %u is null", i, n->children(), n->id());
            require(c->parent() == n, "child %d of node %u names another parent", i, n->id());
            stack.push_back(c);
        }
    }
    return out;
}

bool reachable(Tree* t, Node* n) {
    for (Node* m : nodesOf(t))
        if (m == n) return true;
    return false;
}

// What a user and a caller see of the tree's nodes.
void checkTree(Tree* t) {
    const std::vector<Node*> nodes = nodesOf(t);
    const std::unordered_set<Node*> all(nodes.begin(), nodes.end());
    std::unordered_set<unsigned> ids;
    int selected = 0;
    for (Node* n : nodes) {
        if (n->parent()) require(ids.insert(n->id()).second && n->id() != 0, "id %u given twice", n->id());
        if (n->selected()) ++selected;
        if (Fl_Widget* w = n->widget()) {
            // The root's widget lies in the scroll area, the others in their parent's widget group there.
            Fl_Group* g = w->parent();
            require(g && (n->parent() ? g->parent() == t->scroll_area() : g == t->scroll_area()),
                    "the widget of node %u lies outside the tree's scroll area", n->id());
        }
    }
    Node* h = t->get_hilighted();
    require(h == nullptr || all.count(h), "the hilighted node is no node of the tree");
    require(t->last_node() == nullptr || all.count(t->last_node()), "the last node reported is no node of the tree");
    require(t->num_selected() == selected, "num_selected() says %d, the nodes %d", t->num_selected(), selected);
    Node* previous = nullptr;
    size_t at = 0;
    for (int k = 1; k <= selected; ++k) {
        Node* s = t->get_selected(k);
        require(s && all.count(s) && s->selected(), "get_selected(%d) is no selected node of the tree", k);
        while (at < nodes.size() && nodes[at] != s) ++at;
        require(at < nodes.size() && s != previous, "get_selected(%d) out of pre-order", k);
        previous = s;
    }
    require(t->get_selected(selected + 1) == nullptr && t->get_selected(0) == nullptr,
            "get_selected past the %d selected nodes gives a node", selected);
    // Every widget in the scroll area's groups is a node's.
    std::unordered_set<Fl_Widget*> widgets;
    for (Node* n : nodes)
        if (n->widget()) widgets.insert(n->widget());
    Fl_Group* area = t->scroll_area();
    for (int i = 0; i < area->children(); ++i) {
        Fl_Widget* c = area->child(i);
        if (widgets.count(c)) continue;
        Fl_Group* g = c->as_group();
        require(g != nullptr, "a stray widget in the scroll area");
        for (int j = 0; j < g->children(); ++j)
            require(widgets.count(g->child(j)) == 1, "a widget of no node in the scroll area");
    }
    for (Fl_Scrollbar* bar : {t->hscrollbar(), t->vscrollbar()})
        if (bar->visible())
            require(bar->value() >= bar->minimum() && bar->value() <= bar->maximum(), "scrollbar at %g of %g..%g", double(bar->value()),
                    bar->minimum(), bar->maximum());
}

// Whether the draw walk gives the node a row: its own row is not passed
// over, and each ancestor's walk goes down to its children.
bool rowHidden(Tree* t, Node* n) {
    return (!n->parent() && !t->rootShown()) || (n->is_leaf() && !t->leavesShown()) ||
           (n->is_branch() && !t->branchesShown());
}
bool hasRow(Tree* t, Node* n) {
    if (rowHidden(t, n)) return false;
    for (Node* p = n->parent(); p; p = p->parent()) {
        const bool keptOpenRoot = !p->parent() && t->rootShown() && (p->always_open() || t->allBranchesOpen());
        const bool rows = p->open() && p->flag(Tree::NodeHasRows);
        if (p->is_leaf() || !(rows || rowHidden(t, p) || keptOpenRoot)) return false;
    }
    return true;
}

// The rows the keys walk: drawn, active and at least partly in view, in order.
std::vector<Node*> rowsInView(Tree* t) {
    Fl_Group* area = t->scroll_area();
    const int top = area->y() + Fl::box_dy(area->box()), bottom = top + area->h() - Fl::box_dh(area->box());
    const int scrolled = t->vscrollbar()->visible() ? int(t->vscrollbar()->value()) : 0;
    std::vector<Node*> rows;
    for (Node* n : nodesOf(t)) {
        const int y = n->row_top() - scrolled;
        if (hasRow(t, n) && n->active() && y + n->row_height() >= top && y <= bottom) rows.push_back(n);
    }
    return rows;
}

// Right after a draw: an entry widget shows in the view exactly when its row
// is drawn there, and the scrollbars are those of a whole new layout (an
// animation that ended in the draw has laid the rows out again).
void checkShownWidgets(Tree* t) {
    if (!t->visible_r() || !t->window() || !t->window()->shown() || t->damage() || t->animating()) return;
    auto bars = [t] {
        std::vector<double> out;
        for (Fl_Scrollbar* bar : {t->vscrollbar(), t->hscrollbar()})
            if (bar->visible())
                out.insert(out.end(), {1.0, bar->maximum(), double(bar->value())});
            else
                out.insert(out.end(), {0.0, 0.0, 0.0});
        return out;
    };
    const std::vector<double> drawn = bars();
    t->resize(t->x(), t->y(), t->w(), t->h());
    require(bars() == drawn, "the scrollbars differ from a new layout's: %g..%g at %g, now %g..%g at %g", drawn[0],
            drawn[1], drawn[2], bars()[0], bars()[1], bars()[2]);
    Fl_Group* area = t->scroll_area();
    const int top = area->y() + Fl::box_dy(area->box()), bottom = top + area->h() - Fl::box_dh(area->box());
    const int scrolled = t->vscrollbar()->visible() ? int(t->vscrollbar()->value()) : 0;
    for (Node* n : nodesOf(t)) {
        Fl_Widget* w = n->widget();
        if (!w) continue;
        const bool placed = w->visible() && w->x() > -10000;
        if (placed)
            require(hasRow(t, n), "the widget of node %u shows though its row is not drawn", n->id());
        const int rowTop = n->row_top() - scrolled;
        if (hasRow(t, n) && rowTop >= top && rowTop + n->row_height() <= bottom && bottom > top)
            require(placed, "the widget of node %u is missing from its row in view", n->id());
    }
}

// ------------------------------------------------------------------ inputs

const char* const NAMES[] = {"a", "b", "c", "pea1", "Fontes", "e1", "\351t\351", "x\\/y", "", "Z"};
const int NAME_COUNT = sizeof NAMES / sizeof NAMES[0];

std::string pickPath(WidgetFuzz& f) {
    std::string p = f.pick(4) ? "/" : "";
    const int depth = 1 + f.pick(3);
    for (int i = 0; i < depth; ++i) {
        p += NAMES[f.pick(NAME_COUNT)];
        if (i + 1 < depth) p += "/";
    }
    if (f.chance(3)) p += "/";
    return p;
}

std::string pickLabel(WidgetFuzz& f) {
    switch (f.pick(4)) {
    case 0: return f.pickText(8);
    case 1: return std::string(size_t(20 + f.pick(300)), 'W');
    default: return NAMES[f.pick(NAME_COUNT)];
    }
}

// Icons outlive every tree: the tree keeps the caller's pointers.
Fl_Image* pickIcon(WidgetFuzz& f) {
    static Fl_Image* const icons[] = {
        nullptr,
        new Fl_Pixmap(arrow_closed_xpm),
        new Fl_Pixmap(arrow_open_xpm),
        new Fl_Pixmap(bluedot_xpm),
        new Fl_Pixmap(computer_xpm),
        new Fl_Pixmap(book_xpm),
    };
    return icons[f.pick(6)];
}

Node* pickNode(WidgetFuzz& f, Tree* t, bool orNone = false) {
    const std::vector<Node*> nodes = nodesOf(t);
    const int i = f.pick(int(nodes.size()) + (orNone ? 1 : 0));
    return i < int(nodes.size()) ? nodes[size_t(i)] : nullptr;
}

Node* pickNodeWithWidget(WidgetFuzz& f, Tree* t) {
    std::vector<Node*> with;
    for (Node* n : nodesOf(t))
        if (n->widget()) with.push_back(n);
    return with.empty() ? nullptr : with[size_t(f.pick(int(with.size())))];
}

void fillAsTheEditor(Tree* t);

// A row widget's own callback: as a "remove this entry" button or an entry
// that acts on Enter or as it loses the keyboard, it may remove its node,
// clear the tree (and fill it again, as the skin editor does) or open its
// node.
void widgetCallback(Fl_Widget* w, void*) {
    if (!fuzz) return;  // the input is over: its window hides, its entries call back
    require(treeLive() && tree->find(w) != nullptr, "a row widget calls back after its row was removed");
    if (eventDepth > 0) require(++callsThisEvent[w] == 1, "a row widget calls back %d times in one event", callsThisEvent[w]);
    if (callbackDepth > 3) return;
    WidgetFuzz& f = *fuzz;
    Tree* t = tree;
    ++callbackDepth;
    switch (f.pick(6)) {  // 0: nothing
    case 1:
        WidgetFuzz::note("widget callback: remove its node");
        ++actions;
        t->remove(w);
        break;
    case 2:
        WidgetFuzz::note("widget callback: clear");
        ++actions;
        t->clear();
        if (f.pick(2)) fillAsTheEditor(t);
        break;
    case 3:
        if (Node* n = t->find(w)) {
            WidgetFuzz::note("widget callback: toggle its node");
            ++actions;
            n->open(!n->open());
        }
        break;
    default:
        break;
    }
    --callbackDepth;
}

// A new row widget, not yet in any group, or null.
Fl_Widget* pickWidget(WidgetFuzz& f) {
    Fl_Group* current = Fl_Group::current();
    Fl_Group::current(nullptr);
    Fl_Widget* w = nullptr;
    switch (f.pick(6)) {
    case 3:
    case 4: {
        Fl_Input* in = new Fl_Input(0, 0, 40 + f.pick(120), 12 + f.pick(24));
        if (f.chance(2)) {
            // On Enter, or as it loses the keyboard changed.
            in->when(in->w() % 2 ? FL_WHEN_ENTER_KEY : FL_WHEN_RELEASE);
            in->callback(widgetCallback);
        }
        w = in;
        break;
    }
    case 5: {
        Fl_Button* b = new Fl_Button(0, 0, 20 + f.pick(60), 10 + f.pick(30), "x");
        b->callback(widgetCallback);
        w = b;
        break;
    }
    default:
        break;
    }
    Fl_Group::current(current);
    return w;
}

// The widget belongs to the node made, or to nobody.
Node* adopted(Node* n, Fl_Widget* w) {
    if (w && !(n && n->widget() == w)) delete w;
    return n;
}

// ---------------------------------------------------------------- callbacks

// The tree's callback checks the node it is called for, then does what a
// caller's may: remove, clear, open or select that node, move the hilight,
// or delete the tree.
void treeCallback(Fl_Widget* w, void*) {
    Tree* t = static_cast<Tree*>(w);
    const int reason = t->last_reason();
    Node* n = t->last_node();
    require(n != nullptr && reachable(t, n), "a callback (reason %d) about a node that is not in the tree", reason);
    if (reason == Tree::ReasonSelected) require(n->selected(), "Selected reported for an unselected node");
    if (reason == Tree::ReasonUnselected) require(!n->selected(), "Unselected reported for a selected node");
    if (reason == Tree::ReasonHilighted) require(t->get_hilighted() == n, "Hilighted reported for another node");
    checkTree(t);
    if (!fuzz || callbackDepth > 3 || t != tree) return;
    WidgetFuzz& f = *fuzz;
    WidgetFuzz::note("callback %d on node %u", reason, n->id());
    ++callbackDepth;
    switch (f.pick(24)) {  // 0, as when the input is used up: nothing
    case 1:
        WidgetFuzz::note("callback removes its node");
        ++actions;
        t->remove(n->id());
        break;
    case 2:
        WidgetFuzz::note("callback clears the tree");
        ++actions;
        t->clear();
        break;
    case 3:
    case 4: {
        const bool open = f.pick(3) ? !n->open() : true;
        WidgetFuzz::note("callback opens its node: %d", open);
        ++actions;
        n->open(open);
        break;
    }
    case 5:
        WidgetFuzz::note("callback toggles its node's selection");
        ++actions;
        n->select(!n->selected());
        break;
    case 6: {
        ++actions;
        Node* h = pickNode(f, t, true);
        WidgetFuzz::note("callback hilights node %u", h ? h->id() : 0u);
        t->set_hilighted(h);
        break;
    }
    case 7: {
        ++actions;
        Node* victim = pickNode(f, t);
        WidgetFuzz::note("callback removes node %u", victim->id());
        t->remove(victim->id());
        break;
    }
    case 8:
        WidgetFuzz::note("callback deactivates its node");
        ++actions;
        n->active(false);
        break;
    case 9:
        if (f.chance(4)) {
            WidgetFuzz::note("callback deletes the tree");
            ++actions;
            tree = nullptr;
            delete t;
        }
        break;
    case 10: {
        ++actions;
        const std::string path = pickPath(f);
        WidgetFuzz::note("callback adds %s", path.c_str());
        Fl_Widget* w = pickWidget(f);
        adopted(t->add(path.c_str(), w), w);
        break;
    }
    case 11:
        WidgetFuzz::note("callback gives the keyboard away");
        ++actions;
        other->take_focus();
        break;
    default:
        break;
    }
    --callbackDepth;
}

// --------------------------------------------------------------- the calls

// A caller's own use of the tree.
void treeCall(WidgetFuzz& f, Tree* t, int what) {
    switch (what) {
    case 0:
    case 1:
    case 2:
    case 3: {
        const std::string path = pickPath(f);
        Fl_Widget* w = pickWidget(f);
        const bool label = f.pick(4) != 0;
        WidgetFuzz::note("add%s %s, widget %d, label %d", what == 1 ? "_branch" : what == 2 ? "_leaf" : "",
                         path.c_str(), w != nullptr, label);
        Node* n = nullptr;
        if (what == 3) {  // a path and a name
            const char* name = NAMES[f.pick(NAME_COUNT)];
            const int form = f.pick(3);
            n = form == 0   ? t->add(path.c_str(), name, w, label)
                : form == 1 ? t->add_branch(path.c_str(), name, w, label)
                            : t->add_leaf(path.c_str(), name, w, label);
        } else {
            n = what == 1   ? t->add_branch(path.c_str(), w, label)
                : what == 2 ? t->add_leaf(path.c_str(), w, label)
                            : t->add(path.c_str(), w, label);
        }
        adopted(n, w);
        break;
    }
    case 4: {
        Node* at = pickNode(f, t);
        const std::string path = pickPath(f);
        const int kind = f.pick(4), pos = f.pick(6) - 1;
        WidgetFuzz::note("node %u: add/insert %d %s at %d", at->id(), kind, path.c_str(), pos);
        if (kind == 0) {
            Fl_Widget* w = pickWidget(f);
            adopted(at->add(path.c_str(), w), w);
        } else {
            kind == 1 ? at->insert(path.c_str(), pos) : kind == 2 ? at->insert_branch(path.c_str(), pos)
                                                                  : at->insert_leaf(path.c_str(), pos);
        }
        break;
    }
    case 5: {
        const std::string path = pickPath(f);
        WidgetFuzz::note("remove %s", path.c_str());
        if (f.chance(3))
            t->remove(path.c_str(), NAMES[f.pick(NAME_COUNT)]);
        else
            t->remove(path.c_str());
        break;
    }
    case 6: {
        Node* n = pickNode(f, t);
        const unsigned id = f.chance(4) ? unsigned(f.pick(40)) : n->id();
        WidgetFuzz::note("remove id %u", id);
        const unsigned removed = t->remove(id);
        require(removed == 0 || removed == id, "remove(%u) gives %u", id, removed);
        require(t->find(id) == nullptr || id == 0, "node %u still there after its removal", id);
        break;
    }
    case 7: {
        Node* n = pickNodeWithWidget(f, t);
        Fl_Widget* w = n && f.pick(4) ? n->widget() : other;
        WidgetFuzz::note("remove widget of node %u", n ? n->id() : 0u);
        t->remove(w);
        break;
    }
    case 8: {
        Node* n = pickNode(f, t);
        Node* d = pickNode(f, t);
        WidgetFuzz::note("node %u removes id %u", n->id(), d->id());
        const unsigned id = d->id(), got = n->remove(id);
        require(got == 0 || got == id, "Node::remove(%u) gives %u", id, got);
        break;
    }
    case 9:
        WidgetFuzz::note("clear");
        t->clear();
        require(t->root_node()->children() == 0 && t->get_hilighted() == nullptr && t->last_node() == nullptr,
                "clear leaves nodes, a hilight or a last node");
        break;
    case 10: {
        const std::string label = pickLabel(f);
        Fl_Widget* w = f.chance(3) ? pickWidget(f) : nullptr;
        const bool shown = f.pick(4) != 0;
        WidgetFuzz::note("set_root %s, widget %d", label.c_str(), w != nullptr);
        t->set_root(label.c_str(), w, shown);
        break;
    }
    case 11: {
        Node* n = pickNode(f, t);
        Node* target = pickNode(f, t);
        const int where = f.pick(3);
        Node* parent = n->parent();
        const bool valid = Node::isMoveValid(n, where, target);
        WidgetFuzz::note("move %u %d %u", n->id(), where, target->id());
        const bool moved = Node::move(n, where, target);
        require(moved == valid, "move gives %d where its test gave %d", moved, valid);
        if (moved && t->moveOnlySameGroup()) require(n->parent() == parent, "a move left its siblings");
        if (moved) require(!n->is_ancestor(n) && reachable(t, n), "a moved node left the tree");
        break;
    }
    case 12: {
        Node* n = pickNode(f, t);
        const int pos = f.pick(8) - 1;
        Node* parent = n->parent();
        WidgetFuzz::note("node %u move(%d)", n->id(), pos);
        if (n->move(pos)) require(n->parent() == parent, "move(pos) changed the parent");
        break;
    }
    case 13: {
        Node* a = pickNode(f, t);
        Node* b = pickNode(f, t);
        WidgetFuzz::note("swap %u %u", a->id(), b->id());
        Node::swap(a, b);
        break;
    }
    case 14: {  // what a caller asks back
        const std::string path = pickPath(f);
        Node* n = pickNode(f, t);
        WidgetFuzz::note("find %s", path.c_str());
        Node* found = t->find(path.c_str());
        require(found == nullptr || reachable(t, found), "find gives a node outside the tree");
        Node* next = t->find_next(path.c_str(), found);
        require(next == nullptr || reachable(t, next), "find_next gives a node outside the tree");
        t->find_number(path.c_str());
        require(t->find(n->id()) == (n->parent() ? n : nullptr), "find by id misses node %u", n->id());
        require(*t->find_path(n->id()) != '\0', "node %u has no path", n->id());
        if (n->widget()) {
            require(t->find(n->widget()) == n, "find by widget misses node %u", n->id());
            require(std::string(t->find_path(n->widget())) == t->find_path(n->id()), "two paths for node %u", n->id());
        }
        int ancestors = 0;
        for (Node* p = n->parent(); p; p = p->parent()) ++ancestors;
        require(n->depth() == ancestors, "node %u at depth %d under %d nodes", n->id(), n->depth(), ancestors);
        const char* name = NAMES[f.pick(NAME_COUNT)];
        for (Node* m : {t->find(path.c_str(), name), t->find_next(path.c_str(), name)})
            require(m == nullptr || reachable(t, m), "find with a name gives a node outside the tree");
        break;
    }
    case 15: {
        const int mode = f.pick(6) - 1;
        WidgetFuzz::note("insertion_mode(%d)", mode);
        t->insertion_mode(mode);
        break;
    }
    case 16: {
        Node* n = pickNode(f, t, true);
        WidgetFuzz::note("set_hilighted(%u)", n ? n->id() : 0u);
        t->set_hilighted(n);
        break;
    }
    case 17: {
        Node* n = pickNode(f, t);
        const int which = f.pick(3);
        WidgetFuzz::note("node %u select_all/unselect_all %d", n->id(), which);
        if (which == 0) n->select_all();
        if (which == 1) n->unselect_all();
        if (which == 2) n->unselect_all(pickNode(f, t));
        break;
    }
    case 18: {  // a long list: scrolling, and nodes spread in memory
        const std::string base = pickPath(f);
        const int n = 1 + f.pick(60);
        const bool widgets = f.chance(2);
        WidgetFuzz::note("%d leaves under %s", n, base.c_str());
        for (int i = 0; i < n; ++i) {
            const std::string path = base + "/l" + std::to_string(i);
            Fl_Widget* w = nullptr;
            if (widgets) {
                Fl_Group* current = Fl_Group::current();
                Fl_Group::current(nullptr);
                w = new Fl_Input(0, 0, 60, 16);
                Fl_Group::current(current);
            }
            adopted(t->add(path.c_str(), w), w);
        }
        break;
    }
    default: {  // walking as a caller does
        Node* n = pickNode(f, t);
        for (Node* m : {n->next(), n->previous(), n->first_branch(), n->first_leaf(), n->last_branch(),
                        n->last_leaf(), n->next_branch(), n->next_leaf(), n->previous_branch(), n->previous_leaf(),
                        n->next_sibling(), n->previous_sibling(), n->last()})
            require(m == nullptr || reachable(t, m), "a walk from node %u leaves the tree", n->id());
        break;
    }
    }
}
const int TREE_CALLS = 20;

void nodeCall(WidgetFuzz& f, Tree* t, int what) {
    Node* n = pickNode(f, t);
    const bool b = f.pick(2);
    WidgetFuzz::note("node %u call %d (%d)", n->id(), what, b);
    switch (what) {
    case 0:
    case 1:
        n->open(what == 0 ? b : !n->open());
        break;
    case 2:
        n->select(b);
        break;
    case 3:
        n->active(b);
        break;
    case 4:
        n->widget(pickWidget(f));
        break;
    case 5:
        n->label(pickLabel(f).c_str());
        break;
    case 6:
        switch (f.pick(3)) {
        case 0: n->label_visible(b); break;
        case 1: n->label_size(1 + f.pick(40)); break;
        default: n->label_font(Fl_Font(f.pick(16))); break;
        }
        break;
    case 7:
        n->always_open(b);
        break;
    case 8:
        f.pick(2) ? n->movable(b) : n->droppable(b);
        break;
    case 9:
        switch (f.pick(6)) {
        case 0: n->expand_to_width(b); break;
        case 1: n->icon_at_end(b); break;
        case 2: n->swap_label_and_widget(b); break;
        case 3: n->auto_color(b); break;
        case 4: n->auto_label_color(b); break;
        default: n->auto_label(b); break;
        }
        break;
    case 10:
        switch (f.pick(3)) {
        case 0: n->collapse_icons(pickIcon(f), pickIcon(f)); break;
        case 1: n->branch_icons(pickIcon(f), pickIcon(f)); break;
        default: n->leaf_icon(pickIcon(f)); break;
        }
        break;
    default:
        if (f.chance(2)) {
            n->sort();
        } else {
            const int mode = f.pick(4);
            WidgetFuzz::note("insertion mode %d", mode);
            t->insertion_mode(mode);
        }
        break;
    }
}
const int NODE_CALLS = 12;

void optionCall(WidgetFuzz& f, Tree* t, int what) {
    const bool b = f.pick(2);
    WidgetFuzz::note("option %d (%d)", what, b);
    switch (what) {
    case 0: t->selectionMode(f.pick(3)); break;
    case 1: t->selectionDragMode(b); break;
    case 2: t->selectionFollowsHilight(b); break;
    case 3: t->rootShown(b); break;
    case 4: t->connectorsShown(b); break;
    case 5: t->leavesShown(b); break;
    case 6: t->branchesShown(b); break;
    case 7: t->opensOnSelect(b); break;
    case 8: t->duplicateLeavesAllowed(b); break;
    case 9: t->animated(b); break;
    case 10: t->oneBranchOpen(b); break;
    case 11: t->doubleClickToggles(b); break;
    case 12: t->allBranchesOpen(b); break;
    case 13: t->auto_branches(b); break;
    case 14: t->emptyBranchExpander(b); break;
    case 15: t->selectUnderMouse(b); break;
    case 16: t->moveOnlySameGroup(b); break;
    case 17: t->collapse_icons(pickIcon(f), pickIcon(f)); break;
    case 18:
        if (f.chance(3))
            t->set_default_branch_icons();
        else
            t->branch_icons(pickIcon(f), pickIcon(f));
        break;
    case 19: t->leaf_icon(pickIcon(f)); break;
    case 20: {
        const int which = f.pick(3), gap = f.pick(12);
        which == 0 ? t->horizontal_gap(gap) : which == 1 ? t->vertical_gap(gap) : t->icon_gap(gap);
        break;
    }
    case 21: t->connector_style(Fl_Color(f.pick(256)), f.pick(5), f.pick(4)); break;
    case 22:
        t->row_colors(Fl_Color(f.pick(256)), Fl_Color(f.pick(256)));
        t->selection_color(Fl_Color(f.pick(256)));
        break;
    case 23: {
        const Fl_Color c = Fl_Color(f.pick(256));
        const Fl_Font font = Fl_Font(f.pick(16));
        const int size = 1 + f.pick(40);
        b ? t->leaf_text(c, font, size) : t->branch_text(c, font, size);
        break;
    }
    case 24: {
        static const Fl_Boxtype boxes[] = {FL_FLAT_BOX, FL_DOWN_FRAME, FL_NO_BOX, FL_DOWN_BOX, FL_BORDER_BOX};
        t->box(boxes[f.pick(5)]);
        break;
    }
    case 25: {
        static const Fl_When whens[] = {FL_WHEN_CHANGED, FL_WHEN_RELEASE, FL_WHEN_NOT_CHANGED, FL_WHEN_NEVER};
        t->when(whens[f.pick(4)]);
        break;
    }
    case 26: {
        // Frames of at least a quarter of a second: the timer never comes
        // due by itself while an input runs, only when the step fires it.
        static const float timings[][2] = {{2, 2}, {1, 8}, {0.5f, 2}, {1, 0.5f}, {4, 1}};
        const int i = f.pick(5);
        t->frame_rate(timings[i][0]);
        t->animation_time(timings[i][1]);
        break;
    }
    case 27: Tree::USE_FLU_WIDGET_CALLBACK = b; break;
    default: t->visible_focus(b); break;
    }
}
const int OPTION_CALLS = 29;

// The skin editor's entries, each calling back as it loses the keyboard changed.
void fillAsTheEditor(Tree* t) {
    static const char* const sections[] = {"Couleurs", "Fontes", "Zones"};
    Fl_Group* current = Fl_Group::current();
    Fl_Group::current(nullptr);
    for (const char* s : sections)
        for (int i = 0; i < 5; ++i) {
            const std::string path = std::string("/pea1/") + s + "/e" + std::to_string(i);
            Fl_Input* in = new Fl_Input(0, 0, 120, 22);
            in->callback(widgetCallback);
            t->add(path.c_str(), in, true);
        }
    Fl_Group::current(current);
}

Tree* newTree(WidgetFuzz& f) {
    Fl_Group* current = Fl_Group::current();
    f.window()->begin();
    const bool label = f.chance(3);
    Tree* t = new Tree(5, 5, 430, 380, label ? "Param\351trage" : nullptr);
    f.window()->end();
    Fl_Group::current(current);
    tree = t;
    treeAlive = std::make_unique<Fl_Widget_Tracker>(t);
    t->callback(treeCallback);
    t->frame_rate(2);
    t->animation_time(2);
    const int preset = f.pick(3);
    WidgetFuzz::note("tree, preset %d", preset);
    if (preset == 0) {
        // The skin font editor's: every branch open, an entry on each leaf, in the order added.
        t->box(FL_DOWN_FRAME);
        t->allBranchesOpen(true);
        t->root_node()->always_open(true);
        t->insertion_mode(Tree::InsertBack);
        t->root_label("Param\351trage");
        fillAsTheEditor(t);
    } else {
        for (int n = f.pick(preset == 1 ? 8 : 40); n > 0; --n) treeCall(f, t, f.pick(4));
    }
    // Options set before the tree shows.
    for (int n = f.pick(4); n > 0; --n) optionCall(f, t, f.pick(OPTION_CALLS));
    return t;
}

// A press on a node's row, or on its widget when it has one, as the user
// aims: the row's left margin, away from expanders and widgets.
void clickRow(WidgetFuzz& f, Tree* t) {
    if (f.heldButton()) f.release(f.pointer());  // whose callbacks may delete the tree
    if (!treeLive()) return;
    Node* n = pickNode(f, t);
    const bool onWidget = n->widget() && f.chance(3);
    const int scrolled = t->vscrollbar()->visible() ? int(t->vscrollbar()->value()) : 0;
    const int mods = f.pickModifiers(), clicks = f.chance(5) ? 1 : 0;
    qvfuzz::Point p{t->x() + Fl::box_dx(t->box()) + f.pick(4), n->row_top() - scrolled + f.pick(n->row_height() + 1)};
    if (onWidget) {
        Fl_Widget* w = n->widget();
        p = {w->x() + w->w() / 2, w->y() + w->h() / 2};
    }
    WidgetFuzz::note("click on node %u%s", n->id(), onWidget ? "'s widget" : "");
    f.moveTo(p);
    if (!treeLive()) return;
    // What the plain click must give: the row hilighted, selected alone,
    // and the keyboard, or (off the rows) nothing hilighted nor selected.
    std::vector<std::pair<Node*, bool>> openBefore;
    for (Node* m : nodesOf(t)) openBefore.emplace_back(m, m->open());
    const unsigned long actionsBefore = actions;
    const int mode = t->selectionMode();
    f.push(p, 1, mods, clicks);
    const bool byTree = treeLive() && Fl::pushed() == t;
    f.release(p);
    if (!treeLive() || actions != actionsBefore || mods || clicks || !byTree || mode == Tree::SelectNone) return;
    if (!t->active_r() || !t->visible_focus() || t->when() == FL_WHEN_NOT_CHANGED) return;
    for (auto& o : openBefore)
        if (o.first->open() != o.second) return;  // the press was on an expander
    Node* h = t->get_hilighted();
    if (h) {
        require(h->selected() && t->num_selected() == 1, "a plain click on node %u selects %d nodes", h->id(),
                t->num_selected());
        require(Fl::focus() == t, "a plain click on node %u leaves the keyboard elsewhere", h->id());
    } else {
        require(t->num_selected() == 0, "a plain click off the rows leaves %d nodes selected", t->num_selected());
    }
}

// An entry widget has the keyboard, the pointer rests on the tree, and the
// caller empties the tree or removes the entry's branch.
void clearUnderThePointer(WidgetFuzz& f, Tree* t) {
    if (f.heldButton()) f.release(f.pointer());
    if (!treeLive()) return;
    Node* n = pickNodeWithWidget(f, t);
    if (n && f.pick(2)) {
        Fl_Widget* w = n->widget();
        const qvfuzz::Point p{w->x() + w->w() / 2, w->y() + w->h() / 2};
        f.moveTo(p);
        f.push(p, 1);
        f.release(p);
        if (!treeLive()) return;
    } else if (n) {
        n->widget()->take_focus();
    }
    f.moveTo(f.pointNear(t));
    if (!treeLive()) return;
    const int how = f.pick(3);
    WidgetFuzz::note("the pointer on the tree, %s", how == 0 ? "clear" : "remove");
    if (how == 0) {
        t->clear();
    } else {
        n = pickNodeWithWidget(f, t);
        Node* victim = n;
        for (int up = f.pick(3); victim && victim->parent() && victim->parent()->parent() && up > 0; --up)
            victim = victim->parent();
        if (victim) how == 1 ? t->remove(victim->id()) : t->remove(t->find_path(victim->id()));
    }
}

// The tree as a whole: its place, its state, its scrollbars, its deletion.
void widgetCall(WidgetFuzz& f, Tree* t, int what) {
    switch (what) {
    case 0: {
        const int X = f.pick(60), Y = f.pick(60), W = f.pick(600), H = f.pick(420);
        WidgetFuzz::note("tree resize %d,%d %dx%d", X, Y, W, H);
        t->resize(X, Y, W, H);
        break;
    }
    case 1:
        WidgetFuzz::note("tree hide/show");
        t->visible() ? t->hide() : t->show();
        break;
    case 2:
        WidgetFuzz::note("tree (de)activate");
        t->active() ? t->deactivate() : t->activate();
        break;
    case 3:
        WidgetFuzz::note("tree take_focus");
        t->take_focus();
        break;
    case 4:
        WidgetFuzz::note("the keyboard goes elsewhere");
        other->take_focus();
        break;
    case 5: {
        const std::string text = f.pickText(5);
        WidgetFuzz::note("type %s", text.c_str());
        f.typeText(text);
        break;
    }
    case 6: {
        Fl_Scrollbar* bar = f.pick(2) ? t->vscrollbar() : t->hscrollbar();
        const int v = f.pick(1000);
        WidgetFuzz::note("scrollbar to %d", v);
        bar->value(bar->clamp(v));
        bar->do_callback();
        break;
    }
    default:
        if (f.chance(8)) {
            WidgetFuzz::note("the program deletes the tree");
            Fl::delete_widget(t);
            Fl::check();
        } else if (f.chance(2)) {
            // A press along a scrollbar: an arrow, the thumb or the trough;
            // held or let go.
            if (f.heldButton()) f.release(f.pointer());
            if (!treeLive()) break;
            Fl_Scrollbar* bar = f.pick(2) ? t->vscrollbar() : t->hscrollbar();
            if (!bar->visible()) break;
            const bool across = bar == t->hscrollbar();
            const int along = f.pick(std::max(1, across ? bar->w() : bar->h()));
            const qvfuzz::Point p = across ? qvfuzz::Point{bar->x() + along, bar->y() + 7}
                                           : qvfuzz::Point{bar->x() + 7, bar->y() + along};
            WidgetFuzz::note("press on a scrollbar at %d", along);
            f.moveTo(p);
            if (!treeLive()) break;
            f.push(p, 1 + (f.chance(6) ? 1 : 0));
            if (f.pick(3)) f.release(p);
        }
        break;
    }
}

// Keys a tree user presses, Ctrl+A and Space among them.
void treeKey(WidgetFuzz& f) {
    static const int keys[] = {FL_Up, FL_Down, FL_Home, FL_End, FL_Page_Up, FL_Page_Down, FL_Left,
                               FL_Right, FL_Enter, ' ', 'a', FL_Tab};
    const int key = keys[f.pick(12)];
    const int mods = key == 'a' && f.chance(2) ? FL_CTRL : f.pickModifiers();
    char text[2] = {0, 0};
    if (key == ' ') text[0] = ' ';
    if (key == 'a') text[0] = mods & FL_CTRL ? '\001' : 'a';
    if (key == FL_Enter) text[0] = '\r';
    if (key == FL_Tab) text[0] = '\t';
    WidgetFuzz::note("tree key %#x mods %#x", key, mods);
    // Where Up, Down and Home put the hilight, when the tree has the keyboard
    // and its rows are drawn as they stand.
    Tree* t = treeLive() ? tree : nullptr;
    const bool steps = key == FL_Up || key == FL_Down || key == FL_Home;
    const bool watched = t && steps && Fl::focus() == t && t->active_r() && t->visible_r() && !t->damage() &&
                         !t->animating();
    Node* expected = nullptr;
    if (watched) {
        Node* h = t->get_hilighted();
        expected = h;
        if (key == FL_Home) {
            Node* root = t->root_node();
            expected = t->rootShown() || !root->children() ? root : root->child(0);
        } else {
            const std::vector<Node*> rows = rowsInView(t);
            size_t i = 0;
            while (i < rows.size() && rows[i] != h) ++i;
            if (!h && key == FL_Down && !rows.empty()) expected = rows[0];
            if (h && i < rows.size() && key == FL_Down && i + 1 < rows.size()) expected = rows[i + 1];
            if (h && i < rows.size() && key == FL_Up && i > 0) expected = rows[i - 1];
        }
    }
    const unsigned long actionsBefore = actions;
    qvtest::key(f.window(), key, mods, text);
    if (watched && treeLive() && actions == actionsBefore)
        require(t->get_hilighted() == expected, "key %#x hilights node %u, not %u", key, t->node_id(t->get_hilighted()),
                t->node_id(expected));
}

// The scrollbar of the tree that an event may scroll by a page: the vertical
// one for a page key, the one under a push (the middle button's takes the
// thumb to the pointer).
Fl_Scrollbar* pagedBar(int event) {
    if (!treeLive() || !tree->visible_r()) return nullptr;
    if (event == FL_KEYBOARD && (Fl::event_key() == FL_Page_Up || Fl::event_key() == FL_Page_Down))
        return tree->vscrollbar();
    if (event == FL_PUSH && Fl::event_button() != FL_MIDDLE_MOUSE)
        for (Fl_Scrollbar* bar : {tree->vscrollbar(), tree->hscrollbar()})
            if (bar->visible() && Fl::event_inside(bar)) return bar;
    return nullptr;
}

// Every event the window gets: the row widgets' callbacks are counted in
// it, and a page key or a push on a scrollbar moves it one view at most
// (from where a layout due before it may have put it).
int dispatch(int event, Fl_Window* w) {
    if (eventDepth == 0) callsThisEvent.clear();
    Fl_Scrollbar* bar = eventDepth == 0 ? pagedBar(event) : nullptr;
    std::unique_ptr<Fl_Widget_Tracker> barAlive(bar ? new Fl_Widget_Tracker(bar) : nullptr);
    const double before = bar ? bar->value() : 0;
    const bool across = bar && bar == tree->hscrollbar();
    const int lengthBefore = bar ? (across ? bar->w() : bar->h()) : 0;
    const unsigned long actionsBefore = actions;
    ++eventDepth;
    const int used = Fl::handle_(event, w);
    --eventDepth;
    if (bar && barAlive->exists() && bar->visible() && actions == actionsBefore) {
        const double from = std::min(before, bar->maximum());
        const int view = std::max({0, lengthBefore, across ? bar->w() : bar->h()});
        require(std::fabs(bar->value() - from) <= view, "a %s moves the rows from %g to %g, past a view of %d",
                event == FL_PUSH ? "push on a scrollbar" : "page key", from, double(bar->value()), view);
    }
    return used;
}

}  // namespace

// The toolkit is built without the sanitizer: it reads a freed widget
// unseen unless the freed memory is overwritten, which makes such a read
// crash at once.
extern "C" const char* __asan_default_options() { return "max_free_fill_size=4096:free_fill_byte=190"; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WidgetFuzz f(data, size);
    Fl::event_dispatch(dispatch);
    Tree::USE_FLU_WIDGET_CALLBACK = f.chance(4);
    newTree(f);
    other = new Fl_Input(445, 5, 140, 25);
    f.show();
    fuzz = &f;
    actions = 0;
    while (f.next()) {
        if (!treeLive()) {  // a callback or the program deleted it: a new one
            fuzz = nullptr;  // no callback acts while it is built
            newTree(f);
            fuzz = &f;
            tree->show();
        }
        Tree* t = tree;
        checkShownWidgets(t);
        const int what = f.pick(20);
        if (what < 6) {
            f.userEvent(f.pick(4) ? t : nullptr);
        } else if (what < 8) {
            treeKey(f);
        } else if (what < 10) {
            clickRow(f, t);
        } else if (what < 12) {
            treeCall(f, t, f.pick(TREE_CALLS));
        } else if (what < 14) {
            nodeCall(f, t, f.pick(NODE_CALLS));
        } else if (what < 15) {
            optionCall(f, t, f.pick(OPTION_CALLS));
        } else if (what < 16) {
            clearUnderThePointer(f, t);
        } else if (what < 17) {
            WidgetFuzz::note("animation timer");
            WidgetFuzz::fireTimeout(Tree::_timerRedrawCB, t);
        } else {
            widgetCall(f, t, f.pick(8));
        }
        if (treeLive()) {
            checkTree(tree);
            tree->redraw();  // as a caller does after its changes
        }
    }
    fuzz = nullptr;
    tree = nullptr;
    treeAlive.reset();
    Tree::USE_FLU_WIDGET_CALLBACK = false;
    Fl::event_dispatch(nullptr);
    return 0;
}
