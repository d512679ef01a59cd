// The tree browser's nodes, paths, ids, moves and selection. Layout, drawing
// and events are in Flu_Tree_Browser_draw.cpp.

#include "widgets/Flu_Tree_Browser.h"

#include "widgets/flu_pixmaps.h"

#include <FL/Fl.H>
#include <FL/Fl_Pixmap.H>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

bool Flu_Tree_Browser::USE_FLU_WIDGET_CALLBACK = false;
Flu_Tree_Browser::NodeWatch* Flu_Tree_Browser::watches = nullptr;
unsigned long Flu_Tree_Browser::deletions = 0;
int Flu_Tree_Browser::busy = 0;

namespace {

void calledBackNoMore(Fl_Widget*, void*) {}

// A widget that dies with its row is hidden first when its death is put
// off, and a changed entry calls back as it hides, even from inside its own
// callback that cleared the tree.
void silence(Fl_Widget* w) {
    w->callback(calledBackNoMore);
    if (Fl_Group* g = w->as_group())
        for (int i = 0; i < g->children(); ++i) silence(g->child(i));
}

}  // namespace

// A widget the tree lets go leaves its group at once and calls back no
// more. During an event, a widget's callback, or while the keyboard leaves
// a widget, the toolkit may still be inside it or its group (a press on an
// entry takes the keyboard from another entry, whose callback clears the
// tree; the toolkit then goes on up the parents of the entry that lost the
// keyboard): it then dies once the event is done.
void Flu_Tree_Browser::dispose(Fl_Widget* w) {
    silence(w);
    if (w->parent()) w->parent()->remove(w);
    if (busy || Fl::event() == FL_UNFOCUS)
        Fl::delete_widget(w);
    else
        delete w;
}

Flu_Tree_Browser::NodeWatch::NodeWatch(Node* n) : watched(n), next(watches) { watches = this; }

Flu_Tree_Browser::NodeWatch::~NodeWatch() {
    for (NodeWatch** w = &watches; *w; w = &(*w)->next)
        if (*w == this) {
            *w = next;
            break;
        }
}

void remove_escape_chars(char* text) {
    if (!text) return;
    char* out = text;
    for (const char* in = text; *in; ++in)
        if (*in != '\\') *out++ = *in;
    *out = '\0';
}

namespace {

bool sortedMode(int mode) {
    return mode == Flu_Tree_Browser::InsertSorted || mode == Flu_Tree_Browser::InsertSortedReverse;
}

// The first component of a path (one leading slash skipped), escapes
// removed. Returns false when there is none. `branch` tells whether a slash
// ends the component; `rest` points after that slash.
bool splitPath(const char* path, std::string& name, bool& branch, const char*& rest) {
    if (!path) return false;
    if (*path == '/') ++path;
    if (!*path) return false;
    const char* end = path;
    bool escaped = false;
    for (; *end && !(*end == '/' && (end == path || end[-1] != '\\')); ++end) escaped = escaped || *end == '\\';
    name.assign(path, size_t(end - path));
    if (escaped) name.erase(std::remove(name.begin(), name.end(), '\\'), name.end());
    branch = *end == '/';
    rest = branch ? end + 1 : end;
    return true;
}

FluSimpleString joinPath(const char* path, const char* name) {
    FluSimpleString joined(path);
    int n = joined.size();
    if (n == 0 || joined.c_str()[n - 1] != '/') joined += "/";
    joined += name;
    return joined;
}

}  // namespace

// ---------------------------------------------------------------- NodeList

Flu_Tree_Browser::NodeList::~NodeList() { std::free(base); }

void Flu_Tree_Browser::NodeList::clear() {
    std::free(base);
    base = nodes = nullptr;
    num = cap = 0;
    names.reset();
}

bool Flu_Tree_Browser::NodeList::search(const char* name, int mode, int& index) const {
    int lo = 0, hi = num;
    while (lo < hi) {
        int mid = (lo + hi) / 2;
        int c = std::strcmp(nodes[mid]->label(), name);
        if (mode == InsertSortedReverse) c = -c;
        if (c < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    index = lo;
    return lo < num && std::strcmp(nodes[lo]->label(), name) == 0;
}

int Flu_Tree_Browser::NodeList::first(const char* name, int mode) const {
    if (sortedMode(mode)) {
        int i;
        return search(name, mode, i) ? i : -1;
    }
    for (int i = 0; i < num; ++i)
        if (std::strcmp(nodes[i]->label(), name) == 0) return i;
    return -1;
}

Flu_Tree_Browser::Node* Flu_Tree_Browser::NodeList::firstNamed(const char* name, int mode) const {
    if (sortedMode(mode)) {
        const int i = first(name, mode);
        return i < 0 ? nullptr : nodes[i];
    }
    if (!names) {
        names = std::make_unique<std::unordered_map<std::string_view, Named>>();
        for (int i = 0; i < num; ++i) ++names->try_emplace(nodes[i]->label(), Named{nodes[i], 0}).first->second.count;
    }
    auto it = names->find(name);
    return it == names->end() ? nullptr : it->second.first;
}

// Keeps the index of names true after n went to pos.
void Flu_Tree_Browser::NodeList::noteAdded(Node* n, int pos) {
    if (!names) return;
    auto it = names->find(n->label());
    if (it == names->end()) {
        names->emplace(n->label(), Named{n, 1});
    } else if (pos == num - 1) {
        ++it->second.count;
    } else if (pos == 0) {  // the new first of its name, which keys it
        const int count = it->second.count + 1;
        names->erase(it);
        names->emplace(n->label(), Named{n, count});
    } else {
        names.reset();  // before or after the first of its name: unknown without a scan
    }
}

void Flu_Tree_Browser::NodeList::noteErased(Node* n) {
    if (!names) return;
    auto it = names->find(n->label());
    if (it == names->end()) return;
    if (it->second.first != n)
        --it->second.count;
    else if (it->second.count == 1)
        names->erase(it);
    else
        names.reset();  // the next of its name is unknown without a scan
}

void Flu_Tree_Browser::NodeList::add(Node* n, int mode, int pos) {
    if (pos >= 0)
        pos = std::min(pos, num);
    else if (mode == InsertFront)
        pos = 0;
    else if (sortedMode(mode))
        search(n->label(), mode, pos);
    else
        pos = num;
    // The shorter side of pos moves, into the room at its end. Without room
    // there, the children go to a block twice the size, in its middle: at
    // least one place free on each side.
    const bool left = pos < num - pos;
    if (left ? nodes == base : nodes + num == base + cap) {
        const int size = std::max(2, cap * 2);
        Node** block = static_cast<Node**>(std::malloc(sizeof(Node*) * size_t(size)));
        Node** moved = block + (size - num) / 2;
        if (num) std::memcpy(moved, nodes, sizeof(Node*) * size_t(num));
        std::free(base);
        base = block;
        nodes = moved;
        cap = size;
    }
    if (left) {
        std::memmove(nodes - 1, nodes, sizeof(Node*) * size_t(pos));
        --nodes;
    } else {
        std::memmove(nodes + pos + 1, nodes + pos, sizeof(Node*) * size_t(num - pos));
    }
    nodes[pos] = n;
    ++num;
    noteAdded(n, pos);
}

int Flu_Tree_Browser::NodeList::indexOf(Node* n, int mode) const {
    if (sortedMode(mode)) {
        int i;
        if (search(n->label(), mode, i))
            for (; i < num && std::strcmp(nodes[i]->label(), n->label()) == 0; ++i)
                if (nodes[i] == n) return i;
    }
    // A swap may leave a sorted list out of order: fall back on a scan.
    for (int i = 0; i < num; ++i)
        if (nodes[i] == n) return i;
    return -1;
}

int Flu_Tree_Browser::NodeList::erase(int index) {
    if (index < 0 || index >= num) return -1;
    noteErased(nodes[index]);
    std::memmove(nodes + index, nodes + index + 1, sizeof(Node*) * size_t(num - index - 1));
    --num;
    return index;
}

int Flu_Tree_Browser::NodeList::erase(Node* n, int mode) { return erase(indexOf(n, mode)); }

int Flu_Tree_Browser::NodeList::erase(const char* name, int mode) { return erase(first(name, mode)); }

Flu_Tree_Browser::Node* Flu_Tree_Browser::NodeList::find(const char* name, int mode, int n) const {
    if (n < 1) return nullptr;
    if (n == 1) return firstNamed(name, mode);
    if (sortedMode(mode)) {
        int i = first(name, mode);
        if (i < 0 || i + n - 1 >= num) return nullptr;
        Node* found = nodes[i + n - 1];
        return std::strcmp(found->label(), name) == 0 ? found : nullptr;
    }
    for (int i = 0; i < num; ++i)
        if (std::strcmp(nodes[i]->label(), name) == 0 && --n == 0) return nodes[i];
    return nullptr;
}

int Flu_Tree_Browser::NodeList::findNum(const char* name, int mode) const {
    int count = 0;
    if (sortedMode(mode)) {
        for (int i = first(name, mode); i >= 0 && i < num && std::strcmp(nodes[i]->label(), name) == 0; ++i)
            ++count;
        return count;
    }
    for (int i = 0; i < num; ++i)
        if (std::strcmp(nodes[i]->label(), name) == 0) ++count;
    return count;
}

// Stable: the first child of each name stays the first, as the index has it.
void Flu_Tree_Browser::NodeList::sort(int mode) {
    if (!sortedMode(mode)) return;
    bool reverse = mode == InsertSortedReverse;
    std::stable_sort(nodes, nodes + num, [reverse](Node* a, Node* b) {
        int c = std::strcmp(a->label(), b->label());
        return reverse ? c > 0 : c < 0;
    });
}

// ---------------------------------------------------------------- IntStack

void Flu_Tree_Browser::IntStack::push(int v) {
    if (num == cap) {
        cap += 4;
        buffer = static_cast<int*>(std::realloc(buffer, sizeof(int) * size_t(cap)));
    }
    buffer[num++] = v;
}

int Flu_Tree_Browser::IntStack::pop() { return num ? buffer[--num] : 0; }

void Flu_Tree_Browser::IntStack::clear() {
    std::free(buffer);
    buffer = nullptr;
    num = cap = 0;
}

// ---------------------------------------------------------------- Node

Flu_Tree_Browser::Node::Node(Flu_Tree_Browser* tree) : _tree(tree) {
    flags = NodeClosed | NodeActive | NodeMovable | NodeAcceptsDrop | NodeLabelShown;
    initType();
}

Flu_Tree_Browser::Node::Node(bool leaf, const char* name, Node* parent, Fl_Widget* w, bool showLabel)
    : _parent(parent), _tree(parent->_tree), text(name) {
    flags = NodeClosed | NodeActive | NodeMovable | NodeAcceptsDrop;
    if (leaf) flags |= NodeIsLeaf;
    if (showLabel) flags |= NodeLabelShown;
    initType();
    _id = rdata().nextId++;
    forceResize();
    widget(w);
}

Flu_Tree_Browser::Node::~Node() {
    for (NodeWatch* w = watches; w; w = w->next)
        if (w->watched == this) w->watched = nullptr;
    ++deletions;
    RData& r = rdata();
    if (r.hilighted == this) r.hilighted = nullptr;
    if (r.grabbed == this) r.grabbed = nullptr;
    if (r.previous == this) r.previous = nullptr;
    if (r.lastOpenBranch == this) r.lastOpenBranch = nullptr;
    if (r.cbNode == this) r.cbNode = nullptr;
    if (r.animatedNode == this) _tree->stopAnimation();
    auto& placed = _tree->placed;
    placed.erase(std::remove(placed.begin(), placed.end(), this), placed.end());
    clear();
    r.visibilityChanged = true;
}

void Flu_Tree_Browser::Node::forceResize() const { _tree->rdata.forceResize = true; }

void Flu_Tree_Browser::Node::initType() {
    const RData& r = rdata();
    textMeasured = false;
    if (is_leaf()) {
        lIcon = r.leafIcon;
        textColor = r.leafColor;
        textFont = r.leafFont;
        textSize = r.leafSize;
    } else {
        cIcon[0] = r.collapseIcons[0];
        cIcon[1] = r.collapseIcons[1];
        bIcon[0] = r.branchIcons[0];
        bIcon[1] = r.branchIcons[1];
        textColor = r.branchColor;
        textFont = r.branchFont;
        textSize = r.branchSize;
    }
}

void Flu_Tree_Browser::Node::retype() {
    if (rdata().autoBranches) initType();
}

// Deleting a widget makes the toolkit send the window under the pointer an
// event at once, which reaches the tree: every child leaves the list before
// it dies. No callback runs meanwhile (those events select nothing), and
// each node drops the walk state's references to itself as it dies.
void Flu_Tree_Browser::Node::clear() {
    widget(nullptr);
    if (children()) {
        RData& r = rdata();
        r.forceResize = r.visibilityChanged = true;
    }
    while (int n = children()) {
        Node* c = child(n - 1);
        _children.erase(n - 1);
        delete c;
    }
    _children.clear();
    if (Fl_Group* g = _group) {
        _group = nullptr;
        _tree->dispose(g);
    }
}

void Flu_Tree_Browser::Node::label(const char* l) {
    if (_parent) _parent->_children.forgetNames();
    text = l;
    remeasure();
}

void Flu_Tree_Browser::Node::widget(Fl_Widget* w) {
    if (widget() == w) return;
    if (WidgetInfo* info = _widget) {
        // The row no longer has it while it dies (see clear).
        _widget = nullptr;
        Fl_Widget* old = info->w;
        delete info;
        _tree->dispose(old);
    }
    // After the death: the event it sent may have laid the rows out already.
    forceResize();
    if (!w) return;
    _widget = new WidgetInfo{w, w->w(), nullptr, nullptr};
    if (USE_FLU_WIDGET_CALLBACK) {
        _widget->cb = w->callback();
        _widget->cbd = w->user_data();
        w->callback(_widgetCB, this);
    }
    placeWidget();
}

void Flu_Tree_Browser::Node::_widgetCB(Fl_Widget* w, void* arg) {
    Busy busy;
    Node* n = static_cast<Node*>(arg);
    NodeWatch alive(n);
    if (n->_widget->cb) n->_widget->cb(w, n->_widget->cbd);
    // The widget's own callback may have removed its node.
    if (!alive.gone()) n->do_callback(ReasonWidgetCallback);
}

// The widget lives in the scroll area (root) or in the parent's widget group,
// so that it follows the node when the node moves.
void Flu_Tree_Browser::Node::placeWidget() {
    if (!_widget) return;
    Fl_Widget* w = _widget->w;
    Fl_Group* area = _tree->scrollBox;
    Fl_Group* target = area;
    if (_parent) {
        if (!_parent->_group) {
            Fl_Group* current = Fl_Group::current();
            Fl_Group::current(nullptr);
            _parent->_group = new Fl_Group(area->x(), area->y(), area->w(), area->h());
            _parent->_group->end();
            Fl_Group::current(current);
            area->add(_parent->_group);
        }
        target = _parent->_group;
    }
    if (w->parent()) w->parent()->remove(w);
    target->add(w);
    // Out of the view until a draw gives it its row.
    w->position(-20000, -20000);
}

void Flu_Tree_Browser::Node::collapse_icons(Fl_Image* closed, Fl_Image* open) {
    if (!is_branch()) return;
    if (!closed || !open) {
        closed = rdata().defaultCollapseIcons[0];
        open = rdata().defaultCollapseIcons[1];
    }
    cIcon[0] = closed;
    cIcon[1] = open;
    forceResize();
}

void Flu_Tree_Browser::Node::branch_icons(Fl_Image* closed, Fl_Image* open) {
    if (!is_branch()) return;
    bIcon[0] = closed;
    bIcon[1] = open;
    forceResize();
}

void Flu_Tree_Browser::Node::leaf_icon(Fl_Image* icon) {
    if (!is_leaf()) return;
    lIcon = icon;
    forceResize();
}

// ------------------------------------------------------------------ paths

Flu_Tree_Browser::Node* Flu_Tree_Browser::Node::modify(const char* path, int what, Fl_Widget* w, bool showLabel,
                                                       Node* after) {
    std::string name;
    bool branch;
    const char* rest;
    if (!splitPath(path, name, branch, rest)) return nullptr;
    RData& r = rdata();
    const int mode = r.insertionMode;
    const bool last = *rest == '\0';
    if (what == PathFind) {
        if (after == this) after = nullptr;
        if (!last) {
            Node* n = _children.find(name.c_str(), mode);
            return n ? n->modify(rest, what, w, showLabel, after) : nullptr;
        }
        bool passed = after == nullptr;
        for (int i = 1;; ++i) {
            Node* n = _children.find(name.c_str(), mode, i);
            if (!n || passed) return n;
            passed = n == after;
        }
    }
    // PathAdd
    Node* n = _children.find(name.c_str(), mode);
    if (!branch) {
        if (n && !(n->is_leaf() && r.allowDuplication)) return nullptr;
        n = nullptr;
    } else if (n && !r.autoBranches && n->flag(NodeIsLeaf)) {
        return nullptr;
    }
    if (!n) {
        n = last ? new Node(!branch, name.c_str(), this, w, showLabel) : new Node(false, name.c_str(), this, nullptr, true);
        _children.add(n, mode);
        r.forceResize = r.visibilityChanged = true;
        retype();
    }
    return last ? n : n->modify(rest, what, w, showLabel);
}

Flu_Tree_Browser::Node* Flu_Tree_Browser::Node::add(const char* path, Fl_Widget* w, bool showLabel) {
    return modify(path, PathAdd, w, showLabel);
}

Flu_Tree_Browser::Node* Flu_Tree_Browser::Node::add(const char* path, const char* name, Fl_Widget* w, bool showLabel) {
    return add(joinPath(path, name).c_str(), w, showLabel);
}

Flu_Tree_Browser::Node* Flu_Tree_Browser::Node::add_branch(const char* path, Fl_Widget* w, bool showLabel) {
    FluSimpleString p(path);
    int n = p.size();
    if (n && p.c_str()[n - 1] != '/' && p.c_str()[n - 1] != '\\') p += "/";
    return add(p.c_str(), w, showLabel);
}

Flu_Tree_Browser::Node* Flu_Tree_Browser::Node::add_branch(const char* path, const char* name, Fl_Widget* w,
                                                           bool showLabel) {
    return add_branch(joinPath(path, name).c_str(), w, showLabel);
}

Flu_Tree_Browser::Node* Flu_Tree_Browser::Node::add_leaf(const char* path, Fl_Widget* w, bool showLabel) {
    FluSimpleString p(path);
    int n = p.size();
    if (n && (p.c_str()[n - 1] == '/' || p.c_str()[n - 1] == '\\')) p = p.substr(0, n - 1);
    return add(p.c_str(), w, showLabel);
}

Flu_Tree_Browser::Node* Flu_Tree_Browser::Node::add_leaf(const char* path, const char* name, Fl_Widget* w,
                                                         bool showLabel) {
    return add_leaf(joinPath(path, name).c_str(), w, showLabel);
}

Flu_Tree_Browser::Node* Flu_Tree_Browser::Node::insertAt(const char* path, int pos, bool branch) {
    RData& r = rdata();
    const int mode = r.insertionMode;
    // In a sorted mode the node goes to its sorted place, which the binary
    // searches rely on; otherwise it is added at the back, then moved.
    if (!sortedMode(mode)) r.insertionMode = InsertBack;
    Node* n = branch ? add_branch(path) : add_leaf(path);
    r.insertionMode = mode;
    if (n && !sortedMode(mode)) {
        int count = n->_parent->children();
        Node* target = n->_parent->child(std::max(0, std::min(pos, count - 1)));
        move(n, MoveBefore, target);
    }
    return n;
}

Flu_Tree_Browser::Node* Flu_Tree_Browser::Node::insert(const char* path, int pos) {
    return insertAt(path, pos, path && *path && path[std::strlen(path) - 1] == '/');
}
Flu_Tree_Browser::Node* Flu_Tree_Browser::Node::insert_branch(const char* path, int pos) {
    return insertAt(path, pos, true);
}
Flu_Tree_Browser::Node* Flu_Tree_Browser::Node::insert_leaf(const char* path, int pos) {
    return insertAt(path, pos, false);
}

void Flu_Tree_Browser::Node::detach(Node* n) {
    Node* p = n->_parent;
    p->_children.erase(n, n->rdata().insertionMode);
    RData& r = n->rdata();
    r.forceResize = r.visibilityChanged = true;
    p->retype();
}

void Flu_Tree_Browser::Node::attach(Node* n, int pos) {
    _children.add(n, rdata().insertionMode, pos);
    n->_parent = this;
    n->placeWidget();
    retype();
}

unsigned Flu_Tree_Browser::Node::remove(unsigned id) {
    Node* n = id ? find(id) : nullptr;
    if (!n || n == this) return 0;
    detach(n);
    _tree->redraw();
    delete n;
    return id;
}

unsigned Flu_Tree_Browser::Node::remove(Fl_Widget* w) {
    if (!w) return 0;
    // Only descendants: this node's own widget has no list to leave.
    for (int i = 0; i < children(); ++i) {
        Node* n = child(i)->find(w);
        if (n) return remove(n->_id);
    }
    return 0;
}

Flu_Tree_Browser::Node* Flu_Tree_Browser::Node::find(unsigned id) {
    if (id == 0) return nullptr;
    if (_id == id) return this;
    for (int i = 0; i < children(); ++i)
        if (Node* n = child(i)->find(id)) return n;
    return nullptr;
}

Flu_Tree_Browser::Node* Flu_Tree_Browser::Node::find(Fl_Widget* w) {
    if (!w) return nullptr;
    if (widget() == w) return this;
    for (int i = 0; i < children(); ++i)
        if (Node* n = child(i)->find(w)) return n;
    return nullptr;
}

// --------------------------------------------------------------- selection

int Flu_Tree_Browser::Node::countSelected() {
    int count = selected() ? 1 : 0;
    for (int i = 0; i < children(); ++i) count += child(i)->countSelected();
    return count;
}

int Flu_Tree_Browser::Node::num_selected() { return countSelected(); }

Flu_Tree_Browser::Node* Flu_Tree_Browser::Node::findSelected(int& counter, int index) {
    if (selected() && ++counter == index) return this;
    for (int i = 0; i < children(); ++i)
        if (Node* n = child(i)->findSelected(counter, index)) return n;
    return nullptr;
}

Flu_Tree_Browser::Node* Flu_Tree_Browser::Node::get_selected(int index) {
    int counter = 0;
    return index > 0 ? findSelected(counter, index) : nullptr;
}

void Flu_Tree_Browser::Node::do_callback(int reason) {
    if (_tree->when() == FL_WHEN_NEVER) return;
    rdata().cbReason = reason;
    rdata().cbNode = this;
    _tree->do_callback();
}

void Flu_Tree_Browser::Node::select(bool b) {
    if (selected() == b && _tree->when() != FL_WHEN_NOT_CHANGED) return;
    setFlag(NodeSelected, b);
    _tree->redraw();
    if (b && _tree->when() == FL_WHEN_RELEASE) return;
    do_callback(b ? ReasonSelected : ReasonUnselected);
}

namespace {

// Visits n's subtree in pre-order while `visit` returns true.
template <class Visit> bool eachNode(Flu_Tree_Browser::Node* n, Visit& visit) {
    if (!visit(n)) return false;
    for (int i = 0; i < n->children(); ++i)
        if (!eachNode(n->child(i), visit)) return false;
    return true;
}

}  // namespace

// Each selection calls back; once a callback has deleted a node, the walk
// stops: the next node it would visit may be gone.
void Flu_Tree_Browser::Node::select_all() {
    const unsigned long before = deletions;
    auto visit = [before](Node* n) {
        n->select(true);
        return deletions == before;
    };
    eachNode(this, visit);
}

void Flu_Tree_Browser::Node::unselect_all(Node* except) {
    const unsigned long before = deletions;
    auto visit = [before, except](Node* n) {
        if (n != except) n->select(false);
        return deletions == before;
    };
    eachNode(this, visit);
}

// -------------------------------------------------------------- navigation

int Flu_Tree_Browser::Node::index() const {
    return _parent ? _parent->_children.indexOf(const_cast<Node*>(this), rdata().insertionMode) : -1;
}

unsigned short Flu_Tree_Browser::Node::depth() const {
    unsigned short d = 0;
    for (Node* p = _parent; p; p = p->_parent) ++d;
    return d;
}

bool Flu_Tree_Browser::Node::is_ancestor(Node* n) const {
    for (Node* p = _parent; p; p = p->_parent)
        if (p == n) return true;
    return false;
}

Flu_Tree_Browser::Node* Flu_Tree_Browser::Node::next_sibling() {
    return _parent ? _parent->child(index() + 1) : nullptr;
}

Flu_Tree_Browser::Node* Flu_Tree_Browser::Node::previous_sibling() {
    return _parent ? _parent->child(index() - 1) : nullptr;
}

Flu_Tree_Browser::Node* Flu_Tree_Browser::Node::next() {
    if (children()) return child(0);
    for (Node* n = this; n->_parent; n = n->_parent)
        if (Node* s = n->next_sibling()) return s;
    return nullptr;
}

Flu_Tree_Browser::Node* Flu_Tree_Browser::Node::previous() {
    if (!_parent) return nullptr;
    Node* s = previous_sibling();
    if (!s) return _parent;
    while (s->children()) s = s->child(s->children() - 1);
    return s;
}

Flu_Tree_Browser::Node* Flu_Tree_Browser::Node::last() {
    Node* n = this;
    while (n->children()) n = n->child(n->children() - 1);
    return n;
}

namespace {

using TreeNode = Flu_Tree_Browser::Node;

// The first node from n on, stepping with `step`, that passes `test`.
TreeNode* walkTo(TreeNode* n, TreeNode* (TreeNode::*step)(), bool (TreeNode::*test)() const) {
    while (n && !(n->*test)()) n = (n->*step)();
    return n;
}

}  // namespace

TreeNode* TreeNode::first_branch() { return walkTo(this, &Node::next, &Node::is_branch); }
TreeNode* TreeNode::first_leaf() { return walkTo(this, &Node::next, &Node::is_leaf); }
TreeNode* TreeNode::last_branch() { return walkTo(last(), &Node::previous, &Node::is_branch); }
TreeNode* TreeNode::last_leaf() { return walkTo(last(), &Node::previous, &Node::is_leaf); }
TreeNode* TreeNode::next_branch() { return walkTo(next(), &Node::next, &Node::is_branch); }
TreeNode* TreeNode::next_leaf() { return walkTo(next(), &Node::next, &Node::is_leaf); }
TreeNode* TreeNode::previous_branch() { return walkTo(previous(), &Node::previous, &Node::is_branch); }
TreeNode* TreeNode::previous_leaf() { return walkTo(previous(), &Node::previous, &Node::is_leaf); }

// ------------------------------------------------------------------- moves

bool Flu_Tree_Browser::Node::isMoveValid(Node* n, int where, Node* target) {
    if (!n || !target || n == target || !n->_parent || n->_tree != target->_tree) return false;
    const bool sameGroup = n->rdata().moveOnlySameGroup;
    if (sameGroup && (where == MoveInside || target->_parent != n->_parent)) return false;
    if (where == MoveBefore && !target->_parent) return false;
    if (!n->movable()) return false;
    // Into or next to a node of its own subtree, n would become its own ancestor.
    if (target->is_ancestor(n)) return false;
    const RData& r = n->rdata();
    if (sortedMode(r.insertionMode) && where != MoveInside) return false;
    if (where == MoveAfter && target->is_branch() && target->open() && target->children()) {
        where = MoveBefore;
        target = target->child(0);
        if (target == n || sameGroup) return false;
    }
    if (where == MoveAfter && !target->_parent) where = MoveInside;
    if (where == MoveInside && !r.autoBranches && target->flag(NodeIsLeaf)) return false;
    Node* receiver = where == MoveInside ? target : target->_parent;
    return receiver->droppable();
}

bool Flu_Tree_Browser::Node::move(Node* n, int where, Node* target) {
    if (!isMoveValid(n, where, target)) return false;
    if (where == MoveAfter && target->is_branch() && target->open() && target->children()) {
        where = MoveBefore;
        target = target->child(0);
    }
    if (where == MoveAfter && !target->_parent) where = MoveInside;
    detach(n);
    int pos = 0;
    if (sortedMode(n->rdata().insertionMode))
        pos = -1;
    else if (where == MoveBefore)
        pos = target->index();
    else if (where == MoveAfter)
        pos = target->index() + 1;
    (where == MoveInside ? target : target->_parent)->attach(n, pos);
    n->_tree->redraw();
    return true;
}

bool Flu_Tree_Browser::Node::move(int pos) {
    if (!_parent) return false;
    int count = _parent->children();
    return move(this, MoveBefore, _parent->child(std::max(0, std::min(pos, count - 1))));
}

bool Flu_Tree_Browser::Node::swap(Node* a, Node* b) {
    if (!a || !b || a == b || !a->_parent || !b->_parent || a->_tree != b->_tree) return false;
    if (a->is_ancestor(b) || b->is_ancestor(a)) return false;
    Node *pa = a->_parent, *pb = b->_parent;
    int ia = a->index(), ib = b->index();
    pa->_children.set(ia, b);
    pb->_children.set(ib, a);
    a->_parent = pb;
    b->_parent = pa;
    a->placeWidget();
    b->placeWidget();
    RData& r = a->rdata();
    r.forceResize = r.visibilityChanged = true;
    a->_tree->redraw();
    return true;
}

// ------------------------------------------------------------------- misc

void Flu_Tree_Browser::Node::sort() {
    _children.sort(rdata().insertionMode);
    for (int i = 0; i < children(); ++i) child(i)->sort();
}

void Flu_Tree_Browser::Node::print(int spaces) {
    std::printf("%*s", spaces, "");
    std::printf(is_branch() ? "[%s]\n" : "  %s\n", label());
    for (int i = 0; i < children(); ++i) child(i)->print(spaces + 2);
    if (!_parent) std::fflush(stdout);
}

// -------------------------------------------------------------------- tree

Flu_Tree_Browser::Flu_Tree_Browser(int x, int y, int w, int h, const char* label)
    : Fl_Group(x, y, w, h), root(this) {
    rdata.tree = this;
    rdata.root = &root;
    scrollBox = new Fl_Group(x, y, w - 15, h - 15);
    scrollBox->resizable(nullptr);
    scrollBox->end();
    scrollBox->box(FL_FLAT_BOX);
    scrollBox->color(FL_WHITE);
    // The bars are placed by the resize that ends the construction.
    scrollV = new Bar(x, y, w, h, FL_VERTICAL);
    scrollV->callback(_scrollCB, this);
    scrollH = new Bar(x, y, w, h, FL_HORIZONTAL);
    scrollH->callback(_scrollCB, this);
    scrollCorner = new Fl_Group(x + w - 15, y + h - 15, 15, 15);
    scrollCorner->box(FL_UP_BOX);
    scrollCorner->end();
    resizable(scrollBox);
    rdata.defaultCollapseIcons[0] = new Fl_Pixmap(plus_xpm);
    rdata.defaultCollapseIcons[1] = new Fl_Pixmap(minus_xpm);
    rdata.defaultBranchIcons[0] = new Fl_Pixmap(folder_closed_xpm);
    rdata.defaultBranchIcons[1] = new Fl_Pixmap(folder_open_xpm);
    end();
    collapse_icons(nullptr, nullptr);
    set_default_branch_icons();
    when(FL_WHEN_CHANGED);
    set_root(label, nullptr, true);
    resize(x, y, w, h);
}

Flu_Tree_Browser::~Flu_Tree_Browser() {
    stopAnimation();
    // The nodes go first, while the walk state and the scroll area they use still exist.
    root.clear();
    for (Fl_Image* image : {rdata.defaultCollapseIcons[0], rdata.defaultCollapseIcons[1],
                            rdata.defaultBranchIcons[0], rdata.defaultBranchIcons[1]})
        delete image;
}

Flu_Tree_Browser::Node* Flu_Tree_Browser::set_root(const char* label, Fl_Widget* w, bool showLabel) {
    root.text = label;
    root.widget(w);
    root.setFlag(NodeLabelShown, showLabel);
    root.cIcon[0] = rdata.collapseIcons[0];
    root.cIcon[1] = rdata.collapseIcons[1];
    root.bIcon[0] = rdata.branchIcons[0];
    root.bIcon[1] = rdata.branchIcons[1];
    root.textColor = rdata.branchColor;
    root.textFont = rdata.branchFont;
    root.textSize = rdata.branchSize;
    rdata.forceResize = true;
    return &root;
}

void Flu_Tree_Browser::collapse_icons(Fl_Image* closed, Fl_Image* open) {
    rdata.collapseIcons[0] = closed ? closed : rdata.defaultCollapseIcons[0];
    rdata.collapseIcons[1] = open ? open : rdata.defaultCollapseIcons[1];
    rdata.forceResize = true;
}

void Flu_Tree_Browser::insertion_mode(int mode) {
    if (mode < InsertFront || mode > InsertSortedReverse) return;
    rdata.insertionMode = mode;
    root.sort();
    rdata.forceResize = true;
    redraw();
}

void Flu_Tree_Browser::clear() {
    root.clear();
    root.text = "";
    while (scrollBox->children()) scrollBox->remove(scrollBox->child(0));
    rdata.cbNode = nullptr;
    rdata.cbReason = ReasonNone;
    rdata.hilighted = rdata.grabbed = rdata.previous = nullptr;
    rdata.dragging = rdata.shiftSelect = rdata.shiftSelectAll = false;
    rdata.lastOpenBranch = nullptr;
    rdata.nextId = 1;
    rdata.searchIndex = 1;
    rdata.forceResize = rdata.visibilityChanged = true;
    redraw();
}

unsigned Flu_Tree_Browser::remove(const char* path) {
    std::string name;
    bool branch;
    const char* rest;
    Node* n = &root;
    while (splitPath(path, name, branch, rest)) {
        n = n->_children.find(name.c_str(), rdata.insertionMode);
        if (!n) return 0;
        if (!*rest) return root.remove(n->id());
        path = rest;
    }
    return 0;
}

unsigned Flu_Tree_Browser::remove(const char* path, const char* name) {
    return remove(joinPath(path, name).c_str());
}

Flu_Tree_Browser::Node* Flu_Tree_Browser::find(const char* path, const char* name) {
    return find(joinPath(path, name).c_str());
}

Flu_Tree_Browser::Node* Flu_Tree_Browser::find_next(const char* path, Node* after) {
    if (path && std::strcmp(path, "/") == 0) return &root;
    return root.modify(path, Node::PathFind, nullptr, true, after);
}

Flu_Tree_Browser::Node* Flu_Tree_Browser::find_next(const char* path, const char* name) { return find(path, name); }

int Flu_Tree_Browser::find_number(const char* path) {
    std::string name;
    bool branch;
    const char* rest;
    Node* n = &root;
    while (splitPath(path, name, branch, rest)) {
        if (!*rest) return n->_children.findNum(name.c_str(), rdata.insertionMode);
        n = n->_children.find(name.c_str(), rdata.insertionMode);
        if (!n) return 0;
        path = rest;
    }
    return 0;
}

namespace {

void appendPath(FluSimpleString& path, const Flu_Tree_Browser::Node* n) {
    if (!n->parent()) return;
    appendPath(path, n->parent());
    path += n->label();
    if (n->is_branch()) path += "/";
}

}  // namespace

const char* Flu_Tree_Browser::find_path(unsigned id) {
    rdata.path = "/";
    if (id == 0) return rdata.path.c_str();
    Node* n = root.find(id);
    if (n)
        appendPath(rdata.path, n);
    else
        rdata.path = "";
    return rdata.path.c_str();
}

const char* Flu_Tree_Browser::find_path(Fl_Widget* w) {
    Node* n = root.find(w);
    rdata.path = n ? "/" : "";
    if (n) appendPath(rdata.path, n);
    return rdata.path.c_str();
}

bool Flu_Tree_Browser::inside_entry_area(int ex, int ey) const {
    int w = scrollBox->w(), h = scrollBox->h();
    return ex > scrollBox->x() && ex < scrollBox->x() + w && ey > scrollBox->y() && ey < scrollBox->y() + h;
}
