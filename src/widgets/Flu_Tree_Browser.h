#ifndef QV_FLU_TREE_BROWSER_H
#define QV_FLU_TREE_BROWSER_H

// A tree of branches and leaves, one row per visible node, each row with an
// optional embedded widget. Nodes are found by slash-separated path ("\/"
// keeps a slash inside a name), by id or by widget. Every change is reported
// through the widget's one callback, which reads last_reason() and
// last_node().

#include "widgets/FluSimpleString.h"

#include <FL/Enumerations.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Scrollbar.H>

#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

class Fl_Image;
class Fl_Pixmap;

// Removes every backslash from a path component (escaped slashes).
void remove_escape_chars(char* text);

class Flu_Tree_Browser : public Fl_Group {
public:
    class Node;
    struct RData;

    enum InsertionMode { InsertFront = 0, InsertBack = 1, InsertSorted = 2, InsertSortedReverse = 3 };
    enum SelectionMode { SelectNone = 0, SelectSingle = 1, SelectMultiple = 2 };
    enum Reason {
        ReasonHilighted = 0,
        ReasonUnhilighted = 1,
        ReasonSelected = 2,
        ReasonUnselected = 3,
        ReasonOpened = 4,
        ReasonClosed = 5,
        ReasonDoubleClick = 6,
        ReasonWidgetCallback = 7,
        ReasonNone = 10
    };
    enum MoveWhere { MoveBefore = 0, MoveInside = 1, MoveAfter = 2 };
    enum NodeFlag {
        NodeSelected = 0x0001,
        NodeClosed = 0x0002,
        NodeIsLeaf = 0x0004,
        NodeLabelShown = 0x0008,
        NodeActive = 0x0010,
        NodeWidgetFillsRow = 0x0020,
        NodeKeptOpen = 0x0040,
        NodeHasRows = 0x0080,
        NodeMovable = 0x0100,
        NodeAcceptsDrop = 0x0200,
        NodeWidgetTextColour = 0x0400,
        NodeWidgetRowColour = 0x0800,
        NodeWidgetTakesLabel = 0x1000,
        NodeLabelAfterWidget = 0x2000,
        NodeIconAtEnd = 0x4000
    };
    enum WalkMode { WalkDraw = 0, WalkMeasure = 1, WalkMeasureOpen = 2, WalkHandle = 3, WalkCountSelected = 4 };

    // When set, embedded widgets call back through the tree, which then
    // raises ReasonWidgetCallback after the widget's own callback.
    static bool USE_FLU_WIDGET_CALLBACK;

    // Ordered child pointers; the order is that of the rows. Room is kept at
    // both ends, so that adding at the front or the back moves nothing.
    class NodeList {
    public:
        NodeList() = default;
        ~NodeList();
        NodeList(const NodeList&) = delete;
        NodeList& operator=(const NodeList&) = delete;

        // How many children.
        int size() const { return num; }
        // The i-th child, or null outside 0 .. size()-1.
        Node* child(int i) const { return (i >= 0 && i < num) ? nodes[i] : nullptr; }
        // Inserts by the insertion mode, or at pos (clamped to the end) when pos >= 0.
        void add(Node* n, int mode, int pos = -1);
        // Removes the child n; returns where it was, or -1.
        int erase(Node* n, int mode);
        // Removes the first child named `name`; returns where it was, or -1.
        int erase(const char* name, int mode);
        // Removes the child at index; returns it, or -1 outside the list.
        int erase(int index);
        // Puts n at index i in place of the child there (a swap).
        void set(int i, Node* n) {
            nodes[i] = n;
            forgetNames();
        }
        // Forgets every child, deleting none.
        void clear();
        // The n-th (1-based) child named `name`, or null.
        Node* find(const char* name, int mode, int n = 1) const;
        // How many children are named `name`.
        int findNum(const char* name, int mode) const;
        // Where the child n is, or -1.
        int indexOf(Node* n, int mode) const;
        // Binary search in a sorted mode: whether the name is present, and the
        // index of its first child (or where it would be inserted).
        bool search(const char* name, int mode, int& index) const;
        // Sorts by name in the sorted modes, children of one name in their
        // order; the others keep their order.
        void sort(int mode);
        // A child is renamed: names are indexed again when next looked up.
        void forgetNames() { names.reset(); }

    private:
        int first(const char* name, int mode) const;
        Node* firstNamed(const char* name, int mode) const;
        void noteAdded(Node* n, int pos);
        void noteErased(Node* n);
        Node** base = nullptr;   // the allocation, of cap pointers
        Node** nodes = nullptr;  // the first child, within it
        int num = 0, cap = 0;
        // In the unsorted modes a list finds a name by hashing, not by a scan
        // of the siblings: each name's first child, keyed by that child's own
        // text, and how many children bear it. Built at the first lookup.
        struct Named {
            Node* first;
            int count;
        };
        mutable std::unique_ptr<std::unordered_map<std::string_view, Named>> names;
    };

    class IntStack {
    public:
        IntStack() = default;
        ~IntStack() { clear(); }
        IntStack(const IntStack&) = delete;
        IntStack& operator=(const IntStack&) = delete;
        // Puts v on top.
        void push(int v);
        // Takes the top off and returns it, 0 when empty.
        int pop();
        // How many values are stacked.
        int size() const { return num; }
        // The i-th value from the bottom.
        int operator[](int i) const { return buffer[i]; }
        // Empties the stack and frees its room.
        void clear();

    private:
        int* buffer = nullptr;
        int num = 0, cap = 0;
    };

    // The walk state and the options; one per tree.
    struct RData {
        int x = 0, y = 0, totalW = 0, totalH = 0;
        bool first = false, last = false, dragging = false, shiftSelect = false, shiftSelectAll = false,
             visibilityChanged = false, selectionFollowsHilight = false;
        Node *hilighted = nullptr, *previous = nullptr, *grabbed = nullptr, *animatedNode = nullptr;
        int delta = 0, shadedIndex = 0, counter = 0, searchIndex = 1, branchIconW = 0;
        Fl_Color lineColor = FL_DARK2, bgColor = FL_WHITE, selectionColor = FL_SELECTION_COLOR;
        bool forceResize = true;
        unsigned nextId = 1;
        FluSimpleString path;
        IntStack branchConnectors;

        // Options.
        Fl_Image *defaultCollapseIcons[2] = {nullptr, nullptr}, *defaultBranchIcons[2] = {nullptr, nullptr};
        Fl_Image *collapseIcons[2] = {nullptr, nullptr}, *branchIcons[2] = {nullptr, nullptr};
        Fl_Image* leafIcon = nullptr;
        int hGap = 2, vGap = 0, wGap = 2;
        int lineStyle = 2 /* FL_DOT */, lineWidth = 1;
        int insertionMode = InsertSorted, selectionMode = SelectMultiple, selectionDragMode = 1;
        bool showRoot = true, showConnectors = true, showLeaves = true, showBranches = true, openOnSelect = false,
             allowDuplication = true, animate = false, singleBranchOpen = false, doubleClickToggle = true,
             allBranchesAlwaysOpen = false, autoBranches = false, openWOChildren = true, selectUnderMouse = false,
             moveOnlySameGroup = false;
        float collapseTime = 0.1f, fps = 100.0f;
        Fl_Color defLineColor = FL_DARK2, defSelectionColor = FL_SELECTION_COLOR;
        Fl_Color shadedColors[2] = {FL_WHITE, FL_WHITE};
        Fl_Color leafColor = FL_BLACK, branchColor = FL_BLACK;
        Fl_Font leafFont = FL_HELVETICA, branchFont = FL_HELVETICA_BOLD;
        int leafSize = 12, branchSize = 12;

        int browserX = 0, browserY = 0, browserW = 0, browserH = 0;
        Node* root = nullptr;
        Flu_Tree_Browser* tree = nullptr;
        int cbReason = ReasonNone;
        Node* cbNode = nullptr;

        // Open/close bookkeeping.
        Node* lastOpenBranch = nullptr;
        bool justOpenedClosed = false, animating = false;
        float animationOffset = 0, animationDelta = 0;
    };

    class Node {
        friend class Flu_Tree_Browser;
        friend class NodeList;

    public:
        Node(const Node&) = delete;
        Node& operator=(const Node&) = delete;

        // Paths are relative to this node. Each add makes the branches on the
        // way that are missing and returns the last node of the path, or null
        // when it cannot be added (see the tree's add).
        Node* add(const char* path, Fl_Widget* w = nullptr, bool showLabel = true);
        // Adds path + "/" + name.
        Node* add(const char* path, const char* name, Fl_Widget* w = nullptr, bool showLabel = true);
        // Adds the path as a branch, whatever its last character.
        Node* add_branch(const char* path, Fl_Widget* w = nullptr, bool showLabel = true);
        // Adds path + "/" + name as a branch.
        Node* add_branch(const char* path, const char* name, Fl_Widget* w = nullptr, bool showLabel = true);
        // Adds the path as a leaf, one trailing slash dropped.
        Node* add_leaf(const char* path, Fl_Widget* w = nullptr, bool showLabel = true);
        // Adds path + "/" + name as a leaf.
        Node* add_leaf(const char* path, const char* name, Fl_Widget* w = nullptr, bool showLabel = true);
        // Adds the path as if at the back, then moves it before the child at pos.
        Node* insert(const char* path, int pos);
        // insert() of a branch.
        Node* insert_branch(const char* path, int pos);
        // insert() of a leaf.
        Node* insert_leaf(const char* path, int pos);
        // Removes a descendant with its subtree; returns its id, or 0.
        unsigned remove(unsigned id);
        // Removes the descendant holding w with its subtree; returns its id, or 0.
        unsigned remove(Fl_Widget* w);
        // The node of this subtree with that id (pre-order), or null.
        Node* find(unsigned id);
        // The node of this subtree holding w, or null.
        Node* find(Fl_Widget* w);
        // The first node matching the path below this one, or null.
        Node* find(const char* path) { return modify(path, PathFind); }
        // The index-th (1-based) selected node of this subtree in pre-order, or null.
        Node* get_selected(int index);
        // How many nodes of this subtree are selected, this one included.
        int num_selected();

        // Moves this node before the sibling at pos (clamped), when the move is valid.
        bool move(int pos);
        // Moves n before, into or after target (MoveWhere), when the move is valid.
        static bool move(Node* n, int where, Node* target);
        // Exchanges the places of two nodes of one tree, neither holding the other.
        static bool swap(Node* a, Node* b);
        // Whether move(n, where, target) may be done.
        static bool isMoveValid(Node* n, int where, Node* target);

        // This node: the start of a pre-order walk.
        Node* first() { return this; }
        // The first branch from here on, in pre-order.
        Node* first_branch();
        // The first leaf from here on, in pre-order.
        Node* first_leaf();
        // The last node of this subtree in pre-order.
        Node* last();
        // The last branch of this subtree in pre-order.
        Node* last_branch();
        // The last leaf of this subtree in pre-order.
        Node* last_leaf();
        // The next node in pre-order, or null.
        Node* next();
        // The next branch in pre-order, or null.
        Node* next_branch();
        // The next leaf in pre-order, or null.
        Node* next_leaf();
        // The previous node in pre-order, or null.
        Node* previous();
        // The previous branch in pre-order, or null.
        Node* previous_branch();
        // The previous leaf in pre-order, or null.
        Node* previous_leaf();
        // The sibling after this node, or null.
        Node* next_sibling();
        // The sibling before this node, or null.
        Node* previous_sibling();
        // The i-th child, or null outside 0 .. children()-1.
        Node* child(int i) const { return _children.child(i); }
        // How many children.
        int children() const { return _children.size(); }
        // The place among the siblings, -1 for the root.
        int index() const;
        // How many ancestors.
        unsigned short depth() const;
        // Whether n is one of this node's ancestors.
        bool is_ancestor(Node* n) const;
        // Whether this node is one of n's ancestors.
        bool is_descendent(Node* n) const { return n && n->is_ancestor(const_cast<Node*>(this)); }
        // The parent, null for the root.
        Node* parent() const { return _parent; }
        // The tree this node belongs to.
        Flu_Tree_Browser* tree() const { return _tree; }

        // Selects or deselects, calling back with ReasonSelected or ReasonUnselected.
        void select(bool b);
        // Whether the node is selected.
        bool selected() const { return flag(NodeSelected); }
        // Selects every node of this subtree, each calling back.
        void select_all();
        // Deselects every node of this subtree but `except`, each calling back.
        void unselect_all(Node* except = nullptr);
        // Activates or deactivates the node and its widget; deactivated, it is
        // deselected, closed and loses the hilight.
        void active(bool b);
        // Whether the node takes mouse and keys.
        bool active() const { return flag(NodeActive); }
        // Opens or closes a branch, sliding its rows when the tree is animated.
        void open(bool b);
        // Whether the node is a branch whose children are shown.
        bool open() const;
        // Whether the node is not open.
        bool closed() const { return !open(); }
        // Gives the row a widget, which the node owns; the old one is deleted.
        void widget(Fl_Widget* w);
        // The row's widget, or null.
        Fl_Widget* widget() const { return _widget ? _widget->w : nullptr; }

        // Whether the node is a leaf (by its children while auto_branches is on).
        bool is_leaf() const;
        // Whether the node is a branch (by its children while auto_branches is on).
        bool is_branch() const;
        // Whether the node is the root.
        bool is_root() const { return _parent == nullptr; }
        // The node's id, unique in its tree until the tree is cleared.
        unsigned id() const { return _id; }
        // The label, which is also the node's name in paths.
        const char* label() const { return text.c_str(); }
        // Renames the node.
        void label(const char* l);
        // The application's pointer, null at first.
        void* user_data() const { return userData; }
        // Keeps a pointer for the application.
        void user_data(void* d) { userData = d; }

        // Sets a branch's expander icons; either null restores both defaults.
        void collapse_icons(Fl_Image* closed, Fl_Image* open);
        // Sets a branch's own icons (null: none).
        void branch_icons(Fl_Image* closed, Fl_Image* open);
        // Sets a leaf's icon (null: none).
        void leaf_icon(Fl_Image* icon);
        // Sets the label's colour.
        void label_color(Fl_Color c) { textColor = c; }
        // The label's colour.
        Fl_Color label_color() const { return textColor; }
        // Sets the label's font.
        void label_font(Fl_Font f) { textFont = f; remeasure(); }
        // The label's font.
        Fl_Font label_font() const { return textFont; }
        // Sets the label's size.
        void label_size(int s) { textSize = s; remeasure(); }
        // The label's size.
        int label_size() const { return textSize; }

        // Keeps a branch open: it has no expander and cannot be closed.
        void always_open(bool b) {
            setFlag(NodeKeptOpen, b);
            forceResize();
            rdata().visibilityChanged = true;
        }
        // Whether the branch is kept open.
        bool always_open() const { return flag(NodeKeptOpen); }
        // Shows or hides the label.
        void label_visible(bool b) { setFlag(NodeLabelShown, b); remeasure(); }
        // Whether the label is shown.
        bool label_visible() const { return flag(NodeLabelShown); }
        // Lets the node be moved, or not.
        void movable(bool b) { setFlag(NodeMovable, b); }
        // Whether the node may be moved.
        bool movable() const { return flag(NodeMovable); }
        // Lets nodes be moved into or next to this one, or not.
        void droppable(bool b) { setFlag(NodeAcceptsDrop, b); }
        // Whether nodes may be moved into or next to this one.
        bool droppable() const { return flag(NodeAcceptsDrop); }
        // Stretches the widget to the view's right edge, never below its own width.
        void expand_to_width(bool b) { setFlag(NodeWidgetFillsRow, b); forceResize(); }
        // Draws a leaf's icon at the end of its row.
        void icon_at_end(bool b) { setFlag(NodeIconAtEnd, b); forceResize(); }
        // Draws the label after the widget.
        void swap_label_and_widget(bool b) { setFlag(NodeLabelAfterWidget, b); forceResize(); }
        // The widget takes the row's background colour when drawn.
        void auto_color(bool b) { setFlag(NodeWidgetRowColour, b); }
        // The widget's label takes the row's text colour when drawn.
        void auto_label_color(bool b) { setFlag(NodeWidgetTextColour, b); }
        // The widget's label is the node's label when drawn.
        void auto_label(bool b) { setFlag(NodeWidgetTakesLabel, b); }
        // Whether the node has the flag f (NodeFlag).
        bool flag(unsigned short f) const { return (flags & f) != 0; }

        // The row's top at the last layout, in unscrolled window coordinates.
        int row_top() const;
        // The row's height at the last layout.
        int row_height() const { return currentH; }

        // Sorts this subtree by the insertion mode.
        void sort();
        // Writes this subtree to standard output, a line a node.
        void print(int spaces = 0);
        // Calls the tree's callback about this node for the reason given.
        void do_callback(int reason);
        // Shows or hides the widgets of this subtree as the rows are shown.
        void determineVisibility(bool visible);
        // Walks this subtree in a WalkMode; nonzero stops the walk.
        int recurse(RData& rdata, int type, int event = 0);

    private:
        enum Operation { PathAdd = 0, PathRemove = 1, PathFind = 2, PathFindNumber = 3 };
        struct WidgetInfo {
            Fl_Widget* w;
            int defaultW;
            Fl_Callback* cb;
            void* cbd;
        };

        Node(Flu_Tree_Browser* tree);  // the root
        Node(bool leaf, const char* name, Node* parent, Fl_Widget* w, bool showLabel);
        ~Node();

        RData& rdata() const;
        void forceResize() const;
        // The label's size is measured again at the next layout.
        void remeasure() { textMeasured = false; forceResize(); }
        void setFlag(unsigned short f, bool b) { flags = b ? (flags | f) : (flags & ~f); }
        void initType();
        void retype();
        void clear();
        void placeWidget();
        Node* modify(const char* path, int what, Fl_Widget* w = nullptr, bool showLabel = true,
                     Node* after = nullptr);
        Node* insertAt(const char* path, int pos, bool branch);
        static void detach(Node* n);
        void attach(Node* n, int pos);
        int countSelected();
        Node* findSelected(int& counter, int index);
        bool hasRows() const { return flag(NodeHasRows); }
        bool keptOpenRoot() const;
        bool openState() const;
        bool rowHidden(const RData& rdata) const;
        bool showsChildren(const RData& rdata, bool hidden, bool forceOpen = false) const;
        bool widgetsShown() const;
        void measure(RData& rdata, bool forceOpen);
        Fl_Image* expanderIcon(const RData& rdata, bool& shown) const;
        void doubleClickRule(RData& rdata);
        bool subtreeAbove(const RData& rdata, bool visit) const;
        int drawRow(RData& rdata, bool measure);
        void measureRow(RData& rdata);
        int handleRow(RData& rdata, int event);
        bool onExpander(RData& rdata, int ex, int ey);
        Fl_Image* collapseIcon(bool open) const { return cIcon[open ? 1 : 0]; }
        static void _widgetCB(Fl_Widget* w, void* arg);

        // What a layout reads of a leaf fills the first 64 bytes (see the
        // prefetch in measure), then what it reads of a branch.
        unsigned short flags = 0;
        unsigned short currentH = 0;
        unsigned short textW = 0, textH = 0;
        bool textMeasured = false;
        // From the last measure: the row's left edge, the height of the row
        // and its shown children, the right edge of the row alone and with
        // them.
        int rowX = 0, extent = 0, rowRight = 0, subtreeRight = 0;
        Node* _parent = nullptr;
        Flu_Tree_Browser* _tree = nullptr;
        WidgetInfo* _widget = nullptr;
        Fl_Image* lIcon = nullptr;
        NodeList _children;
        int totalChildH = 0;
        Fl_Image* cIcon[2] = {nullptr, nullptr};
        Fl_Image* bIcon[2] = {nullptr, nullptr};

        unsigned _id = 0;
        FluSimpleString text;
        Fl_Group* _group = nullptr;
        void* userData = nullptr;
        Fl_Color textColor = FL_BLACK;
        Fl_Font textFont = FL_HELVETICA;
        int textSize = 12;
        // For each shown child, its top below this row and its right edge,
        // so that an open or close updates only its ancestors' lists.
        struct Place {
            int top, right;
        };
        std::vector<Place> places;
    };

    // An empty tree whose root bears the label, its scrollbars inside w x h.
    Flu_Tree_Browser(int x, int y, int w, int h, const char* label = nullptr);
    // Deletes every node with its widget.
    ~Flu_Tree_Browser() override;

    // Draws the rows in view and the scrollbars.
    void draw() override;
    // Mouse, keys and the page keys; row widgets get their events first.
    int handle(int event) override;
    // Lays every row out again and places the scrollbars.
    void resize(int x, int y, int w, int h) override;

    // The scroll area's frame and background are the tree's.
    void box(Fl_Boxtype b) { scrollBox->box(b); rdata.forceResize = true; }
    // The frame of the view.
    Fl_Boxtype box() const { return scrollBox->box(); }
    // Sets the background of the view.
    void color(Fl_Color c) { scrollBox->color(c); }
    // The background of the view.
    Fl_Color color() const { return scrollBox->color(); }

    // Sets the root's label, widget and label display; returns the root.
    Node* set_root(const char* label, Fl_Widget* w = nullptr, bool showLabel = true);
    // The root, which lives as long as the tree.
    Node* root_node() { return &root; }
    // Renames the root.
    void root_label(const char* l) { root.label(l); }
    // The root's label.
    const char* root_label() const { return root.label(); }

    // Adds the path below the root: a name followed by "/" is a branch, the
    // last one a leaf unless the path ends with "/". Returns the node, or null
    // (a leaf on the way, a leaf named like a branch, a duplicate refused).
    Node* add(const char* path, Fl_Widget* w = nullptr, bool showLabel = true) { return root.add(path, w, showLabel); }
    // Adds path + "/" + name.
    Node* add(const char* path, const char* name, Fl_Widget* w = nullptr, bool showLabel = true) {
        return root.add(path, name, w, showLabel);
    }
    // Adds the path as a branch.
    Node* add_branch(const char* path, Fl_Widget* w = nullptr, bool showLabel = true) {
        return root.add_branch(path, w, showLabel);
    }
    // Adds path + "/" + name as a branch.
    Node* add_branch(const char* path, const char* name, Fl_Widget* w = nullptr, bool showLabel = true) {
        return root.add_branch(path, name, w, showLabel);
    }
    // Adds the path as a leaf.
    Node* add_leaf(const char* path, Fl_Widget* w = nullptr, bool showLabel = true) {
        return root.add_leaf(path, w, showLabel);
    }
    // Adds path + "/" + name as a leaf.
    Node* add_leaf(const char* path, const char* name, Fl_Widget* w = nullptr, bool showLabel = true) {
        return root.add_leaf(path, name, w, showLabel);
    }
    // Removes the first node matching the path, with its subtree; returns its id, or 0.
    unsigned remove(const char* path);
    // Removes path + "/" + name; returns its id, or 0.
    unsigned remove(const char* path, const char* name);
    // Removes the node with that id; returns the id, or 0.
    unsigned remove(unsigned id) { return root.remove(id); }
    // Removes the node holding w; returns its id, or 0.
    unsigned remove(Fl_Widget* w) { return root.remove(w); }
    // Removes every node and widget and starts the ids again at 1.
    void clear();

    // The first node matching the path, or null.
    Node* find(const char* path) { return find_next(path, static_cast<Node*>(nullptr)); }
    // The first node matching path + "/" + name, or null.
    Node* find(const char* path, const char* name);
    // The node with that id, or null (id 0 included).
    Node* find(unsigned id) { return root.find(id); }
    // The node holding w, or null.
    Node* find(Fl_Widget* w) { return root.find(w); }
    // The sibling after `after` that matches the path's last name; the first when null.
    Node* find_next(const char* path, Node* after);
    // The first node matching path + "/" + name.
    Node* find_next(const char* path, const char* name);
    // How many nodes match the path's last name.
    int find_number(const char* path);
    // The path of the node with that id ("/" for 0, "" for none), valid until the next lookup.
    const char* find_path(unsigned id);
    // The path of the node holding w, or "".
    const char* find_path(Fl_Widget* w);
    // How many nodes are selected, the root included.
    int num_selected() { return root.num_selected(); }
    // The index-th (1-based) selected node in pre-order, or null.
    Node* get_selected(int index) { return root.get_selected(index); }
    // Moves the keyboard cursor to n (null: none) and scrolls its row into view.
    void set_hilighted(Node* n);
    // The keyboard cursor's node, or null.
    Node* get_hilighted() const { return rdata.hilighted; }
    // Whether the point lies strictly inside the view, the scrollbars left out.
    bool inside_entry_area(int x, int y) const;
    // Writes the tree to standard output, a line a node.
    void print() { root.print(); }
    // Selects every node, each calling back.
    void select_all() { root.select_all(); }
    // Deselects every node, each calling back.
    void unselect_all() { root.unselect_all(); }

    // Why the callback was called (Reason).
    int last_reason() const { return rdata.cbReason; }
    // The node the callback was called about, or null.
    Node* last_node() const { return rdata.cbNode; }
    // n's id, 0 for null.
    unsigned node_id(Node* n) const { return n ? n->id() : 0; }

    // Options: each setter forces a new layout at the next draw.
    // Sets the order of children added from now on (InsertionMode) and sorts the tree by it.
    void insertion_mode(int mode);
    // The order of children added (InsertionMode).
    int insertion_mode() const { return rdata.insertionMode; }
    // Sets the expander icons of branches made from now on; null gives the defaults.
    void collapse_icons(Fl_Image* closed, Fl_Image* open);
    // Sets the icons of branches made from now on (null: none).
    void branch_icons(Fl_Image* closed, Fl_Image* open) { setIcons(rdata.branchIcons, closed, open); }
    // Gives branches made from now on the default folder icons.
    void set_default_branch_icons() { branch_icons(rdata.defaultBranchIcons[0], rdata.defaultBranchIcons[1]); }
    // Sets the icon of leaves made from now on (null: none).
    void leaf_icon(Fl_Image* icon) { rdata.leafIcon = icon; rdata.forceResize = true; }
    // Sets the pixels after an expander and in each indentation.
    void horizontal_gap(int g) { setOption(rdata.hGap, g); }
    // The pixels after an expander and in each indentation.
    int horizontal_gap() const { return rdata.hGap; }
    // Sets the pixels between rows.
    void vertical_gap(int g) { setOption(rdata.vGap, g); }
    // The pixels between rows.
    int vertical_gap() const { return rdata.vGap; }
    // Sets the pixels after an icon.
    void icon_gap(int g) { setOption(rdata.wGap, g); }
    // The pixels after an icon.
    int icon_gap() const { return rdata.wGap; }
    // Sets the colour, line style and width of the connector lines.
    void connector_style(Fl_Color c, int style, int width = 1) {
        rdata.defLineColor = c; rdata.lineStyle = style; rdata.lineWidth = width; rdata.forceResize = true;
    }
    // Sets the background of selected rows.
    void selection_color(Fl_Color c) { rdata.defSelectionColor = c; rdata.forceResize = true; }
    // The background of selected rows.
    Fl_Color selection_color() const { return rdata.defSelectionColor; }
    // Sets the backgrounds of even and odd rows.
    void row_colors(Fl_Color even, Fl_Color odd) {
        rdata.shadedColors[0] = even; rdata.shadedColors[1] = odd; rdata.forceResize = true;
    }
    // Sets the label colour, font and size of leaves made from now on.
    void leaf_text(Fl_Color c, Fl_Font f, int size) {
        rdata.leafColor = c; rdata.leafFont = f; rdata.leafSize = size; rdata.forceResize = true;
    }
    // Sets the label colour, font and size of branches made from now on.
    void branch_text(Fl_Color c, Fl_Font f, int size) {
        rdata.branchColor = c; rdata.branchFont = f; rdata.branchSize = size; rdata.forceResize = true;
    }
    // Sets how many rows the user may select (SelectionMode) and deselects
    // all; the deselection calls back last, since the callback may delete the tree.
    void selectionMode(int m) { rdata.selectionMode = m; rdata.forceResize = true; unselect_all(); }
    // How many rows the user may select (SelectionMode).
    int selectionMode() const { return rdata.selectionMode; }
    // Sets whether a drag selects the rows passed over (1) or does nothing (0).
    void selectionDragMode(int m) { setOption(rdata.selectionDragMode, m); }
    // Whether a drag selects the rows passed over.
    int selectionDragMode() const { return rdata.selectionDragMode; }
    // Makes the keyboard cursor select the row it moves to, or not.
    void selectionFollowsHilight(bool b) { setOption(rdata.selectionFollowsHilight, b); }
    // Whether the keyboard cursor selects the row it moves to.
    bool selectionFollowsHilight() const { return rdata.selectionFollowsHilight; }
    // Gives the root a row, or not.
    void rootShown(bool b) { setOption(rdata.showRoot, b); }
    // Whether the root has a row.
    bool rootShown() const { return rdata.showRoot; }
    // Draws the connector lines, or not.
    void connectorsShown(bool b) { setOption(rdata.showConnectors, b); }
    // Whether connector lines are drawn.
    bool connectorsShown() const { return rdata.showConnectors; }
    // Gives leaves rows, or not.
    void leavesShown(bool b) { setOption(rdata.showLeaves, b); }
    // Whether leaves have rows.
    bool leavesShown() const { return rdata.showLeaves; }
    // Gives branches rows and indents their children, or not.
    void branchesShown(bool b) { setOption(rdata.showBranches, b); }
    // Whether branches have rows.
    bool branchesShown() const { return rdata.showBranches; }
    // Makes selecting a branch by mouse or Space open it, or not.
    void opensOnSelect(bool b) { setOption(rdata.openOnSelect, b); }
    // Whether selecting a branch opens it.
    bool opensOnSelect() const { return rdata.openOnSelect; }
    // Lets a leaf be added beside one of the same name, or not.
    void duplicateLeavesAllowed(bool b) { setOption(rdata.allowDuplication, b); }
    // Whether leaves of one name may be siblings.
    bool duplicateLeavesAllowed() const { return rdata.allowDuplication; }
    // Slides the rows of a branch that opens or closes, or not.
    void animated(bool b) { setOption(rdata.animate, b); }
    // Whether opening and closing slide the rows.
    bool animated() const { return rdata.animate; }
    // Makes opening a branch close the one opened before, or not.
    void oneBranchOpen(bool b) { setOption(rdata.singleBranchOpen, b); }
    // Whether opening a branch closes the one opened before.
    bool oneBranchOpen() const { return rdata.singleBranchOpen; }
    // Makes a double click toggle a branch (else report it), or not.
    void doubleClickToggles(bool b) { setOption(rdata.doubleClickToggle, b); }
    // Whether a double click toggles a branch.
    bool doubleClickToggles() const { return rdata.doubleClickToggle; }
    // Shows every branch's children, without expanders, or not.
    void allBranchesOpen(bool b) { setOption(rdata.allBranchesAlwaysOpen, b); }
    // Whether every branch counts as open.
    bool allBranchesOpen() const { return rdata.allBranchesAlwaysOpen; }
    // Makes a node a branch exactly when it has children, or not.
    void auto_branches(bool b) { setOption(rdata.autoBranches, b); }
    // Whether a node's kind follows its children.
    bool auto_branches() const { return rdata.autoBranches; }
    // Gives branches without rows below them an expander, or not.
    void emptyBranchExpander(bool b) { setOption(rdata.openWOChildren, b); }
    // Whether empty branches have an expander.
    bool emptyBranchExpander() const { return rdata.openWOChildren; }
    // In single selection, makes the row under the pointer the selection, or not.
    void selectUnderMouse(bool b) { setOption(rdata.selectUnderMouse, b); }
    // Whether the row under the pointer is the selection.
    bool selectUnderMouse() const { return rdata.selectUnderMouse; }
    // Moves only reorder a node among its siblings: none into a node, none to another parent.
    void moveOnlySameGroup(bool b) { setOption(rdata.moveOnlySameGroup, b); }
    // Whether moves keep a node among its siblings.
    bool moveOnlySameGroup() const { return rdata.moveOnlySameGroup; }
    // Sets how long an opening or closing slides.
    void animation_time(float seconds) { rdata.collapseTime = seconds; }
    // Sets how many frames a second the slide draws.
    void frame_rate(float perSecond) { rdata.fps = perSecond; }

    // Parts, for tests and the skin editor's layout.
    // The horizontal scrollbar.
    Fl_Scrollbar* hscrollbar() { return scrollH; }
    // The vertical scrollbar.
    Fl_Scrollbar* vscrollbar() { return scrollV; }
    // The box in the corner between the scrollbars.
    Fl_Group* corner_box() { return scrollCorner; }
    // The view, whose groups hold the row widgets.
    Fl_Group* scroll_area() { return scrollBox; }
    // Whether a branch is sliding open or closed.
    bool animating() const { return rdata.animating; }
    // The animation's timer, armed with the tree as its data: a test or a
    // fuzzer fires it at once instead of waiting for it.
    static void _timerRedrawCB(void* arg);

private:
    friend class Node;

    // The toolkit's scrollbar takes its page from the thumb's size, which is
    // kept small here: a push in the trough pages by the view instead. Keys
    // are the tree's, never the bar's.
    class Bar : public Fl_Scrollbar {
    public:
        Bar(int x, int y, int w, int h, unsigned char direction);
        ~Bar() override;
        int handle(int event) override;
        void view(int length) { viewLength = length; }
        // Moves one view back (-1) or on (+1), and calls back.
        void page(int direction);

    private:
        int troughSide() const;
        static void repeat(void* bar);
        int viewLength = 0;
        int paging = 0;  // the direction of a trough push held
    };

    // Tells whether a node died while it was watched: a callback may remove
    // the node that raised it or clear the whole tree (the root dies with
    // the tree). Watches live on the stack, so they nest.
    class NodeWatch {
    public:
        explicit NodeWatch(Node* n);
        ~NodeWatch();
        NodeWatch(const NodeWatch&) = delete;
        NodeWatch& operator=(const NodeWatch&) = delete;
        bool gone() const { return watched == nullptr; }

    private:
        friend class Node;
        Node* watched;
        NodeWatch* next;
    };
    static NodeWatch* watches;
    // Nodes deleted so far, in every tree: a walk that calls back stops
    // when the count moves, since any node it would visit next may be gone.
    static unsigned long deletions;
    // Events that trees are handling and row widgets calling back through a
    // tree, nested: counted, not flagged in a tree, which a callback may
    // delete meanwhile. Widgets let go meanwhile die later.
    static int busy;
    struct Busy {
        Busy() { ++busy; }
        ~Busy() { --busy; }
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;
    };
    void dispose(Fl_Widget* w);

    // Options may change which rows are drawn, so which widgets show.
    template <class T> void setOption(T& field, T value) {
        field = value;
        rdata.forceResize = rdata.visibilityChanged = true;
    }
    void setIcons(Fl_Image** slot, Fl_Image* closed, Fl_Image* open) {
        slot[0] = closed; slot[1] = open; rdata.forceResize = true;
    }
    void startWalk();
    void drawRows();
    void showRowWidgets();
    void stopAnimation();
    void endAnimation();
    void selectRange(Node* a, Node* b);
    void takeKeyboard();
    void tellParts(int event);
    void relayoutIfNeeded();
    void relayoutBranch(Node* n);
    void placeBars();
    void timerRedrawCB();
    static void _scrollCB(Fl_Widget*, void* arg);

    Fl_Group* scrollCorner;
    Bar *scrollH, *scrollV;
    Fl_Group* scrollBox;
    RData rdata;
    std::vector<Node*> placed;  // rows whose widgets the last draw placed
    Node root;  // after rdata: its nodes read the walk state while they die
};

// Read by every row of every walk: inline.
inline Flu_Tree_Browser::RData& Flu_Tree_Browser::Node::rdata() const { return _tree->rdata; }

inline bool Flu_Tree_Browser::Node::is_leaf() const {
    if (rdata().autoBranches) return children() == 0 && _parent;
    return flag(NodeIsLeaf);
}

inline bool Flu_Tree_Browser::Node::is_branch() const {
    if (rdata().autoBranches) return children() > 0;
    return !flag(NodeIsLeaf);
}

#endif
