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

        int size() const { return num; }
        Node* child(int i) const { return (i >= 0 && i < num) ? nodes[i] : nullptr; }
        // Inserts by the insertion mode, or at pos (clamped to the end) when pos >= 0.
        void add(Node* n, int mode, int pos = -1);
        int erase(Node* n, int mode);
        int erase(const char* name, int mode);
        int erase(int index);
        void set(int i, Node* n) {
            nodes[i] = n;
            forgetNames();
        }
        void clear();
        // The n-th (1-based) child named `name`, or null.
        Node* find(const char* name, int mode, int n = 1) const;
        int findNum(const char* name, int mode) const;
        int indexOf(Node* n, int mode) const;
        // Binary search in a sorted mode: whether the name is present, and the
        // index of its first child (or where it would be inserted).
        bool search(const char* name, int mode, int& index) const;
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
        // In the unsorted modes a long list finds a name by hashing, not by
        // a scan of the siblings: each name's first child, keyed by that
        // child's own text, and how many children bear it. Built on demand.
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
        void push(int v);
        int pop();
        int size() const { return num; }
        int operator[](int i) const { return buffer[i]; }
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

        // Paths relative to this node.
        Node* add(const char* path, Fl_Widget* w = nullptr, bool showLabel = true);
        Node* add(const char* path, const char* name, Fl_Widget* w = nullptr, bool showLabel = true);
        Node* add_branch(const char* path, Fl_Widget* w = nullptr, bool showLabel = true);
        Node* add_branch(const char* path, const char* name, Fl_Widget* w = nullptr, bool showLabel = true);
        Node* add_leaf(const char* path, Fl_Widget* w = nullptr, bool showLabel = true);
        Node* add_leaf(const char* path, const char* name, Fl_Widget* w = nullptr, bool showLabel = true);
        Node* insert(const char* path, int pos);
        Node* insert_branch(const char* path, int pos);
        Node* insert_leaf(const char* path, int pos);
        // Removes a descendant with its subtree; returns its id, or 0.
        unsigned remove(unsigned id);
        unsigned remove(Fl_Widget* w);
        Node* find(unsigned id);
        Node* find(Fl_Widget* w);
        Node* find(const char* path) { return modify(path, PathFind); }
        Node* get_selected(int index);
        int num_selected();

        bool move(int pos);
        static bool move(Node* n, int where, Node* target);
        static bool swap(Node* a, Node* b);
        static bool isMoveValid(Node* n, int where, Node* target);

        Node* first() { return this; }
        Node* first_branch();
        Node* first_leaf();
        Node* last();
        Node* last_branch();
        Node* last_leaf();
        Node* next();
        Node* next_branch();
        Node* next_leaf();
        Node* previous();
        Node* previous_branch();
        Node* previous_leaf();
        Node* next_sibling();
        Node* previous_sibling();
        Node* child(int i) const { return _children.child(i); }
        int children() const { return _children.size(); }
        int index() const;
        unsigned short depth() const;
        bool is_ancestor(Node* n) const;
        bool is_descendent(Node* n) const { return n && n->is_ancestor(const_cast<Node*>(this)); }
        Node* parent() const { return _parent; }
        Flu_Tree_Browser* tree() const { return _tree; }

        void select(bool b);
        bool selected() const { return flag(NodeSelected); }
        void select_all();
        void unselect_all(Node* except = nullptr);
        void active(bool b);
        bool active() const { return flag(NodeActive); }
        void open(bool b);
        bool open() const;
        bool closed() const { return !open(); }
        void widget(Fl_Widget* w);
        Fl_Widget* widget() const { return _widget ? _widget->w : nullptr; }

        bool is_leaf() const;
        bool is_branch() const;
        bool is_root() const { return _parent == nullptr; }
        unsigned id() const { return _id; }
        const char* label() const { return text.c_str(); }
        void label(const char* l);
        void* user_data() const { return userData; }
        void user_data(void* d) { userData = d; }

        void collapse_icons(Fl_Image* closed, Fl_Image* open);
        void branch_icons(Fl_Image* closed, Fl_Image* open);
        void leaf_icon(Fl_Image* icon);
        void label_color(Fl_Color c) { textColor = c; }
        Fl_Color label_color() const { return textColor; }
        void label_font(Fl_Font f) { textFont = f; remeasure(); }
        Fl_Font label_font() const { return textFont; }
        void label_size(int s) { textSize = s; remeasure(); }
        int label_size() const { return textSize; }

        // Display flags.
        void always_open(bool b) {
            setFlag(NodeKeptOpen, b);
            forceResize();
            rdata().visibilityChanged = true;
        }
        bool always_open() const { return flag(NodeKeptOpen); }
        void label_visible(bool b) { setFlag(NodeLabelShown, b); remeasure(); }
        bool label_visible() const { return flag(NodeLabelShown); }
        void movable(bool b) { setFlag(NodeMovable, b); }
        bool movable() const { return flag(NodeMovable); }
        void droppable(bool b) { setFlag(NodeAcceptsDrop, b); }
        bool droppable() const { return flag(NodeAcceptsDrop); }
        void expand_to_width(bool b) { setFlag(NodeWidgetFillsRow, b); forceResize(); }
        void icon_at_end(bool b) { setFlag(NodeIconAtEnd, b); forceResize(); }
        void swap_label_and_widget(bool b) { setFlag(NodeLabelAfterWidget, b); forceResize(); }
        void auto_color(bool b) { setFlag(NodeWidgetRowColour, b); }
        void auto_label_color(bool b) { setFlag(NodeWidgetTextColour, b); }
        void auto_label(bool b) { setFlag(NodeWidgetTakesLabel, b); }
        bool flag(unsigned short f) const { return (flags & f) != 0; }

        // Geometry of the last layout pass, in unscrolled coordinates.
        int row_top() const;
        int row_height() const { return currentH; }

        void sort();
        void print(int spaces = 0);
        void do_callback(int reason);
        void determineVisibility(bool visible);
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

    Flu_Tree_Browser(int x, int y, int w, int h, const char* label = nullptr);
    ~Flu_Tree_Browser() override;

    void draw() override;
    int handle(int event) override;
    void resize(int x, int y, int w, int h) override;

    // The scroll area's frame and background are the tree's.
    void box(Fl_Boxtype b) { scrollBox->box(b); rdata.forceResize = true; }
    Fl_Boxtype box() const { return scrollBox->box(); }
    void color(Fl_Color c) { scrollBox->color(c); }
    Fl_Color color() const { return scrollBox->color(); }

    Node* set_root(const char* label, Fl_Widget* w = nullptr, bool showLabel = true);
    Node* root_node() { return &root; }
    void root_label(const char* l) { root.label(l); }
    const char* root_label() const { return root.label(); }

    Node* add(const char* path, Fl_Widget* w = nullptr, bool showLabel = true) { return root.add(path, w, showLabel); }
    Node* add(const char* path, const char* name, Fl_Widget* w = nullptr, bool showLabel = true) {
        return root.add(path, name, w, showLabel);
    }
    Node* add_branch(const char* path, Fl_Widget* w = nullptr, bool showLabel = true) {
        return root.add_branch(path, w, showLabel);
    }
    Node* add_branch(const char* path, const char* name, Fl_Widget* w = nullptr, bool showLabel = true) {
        return root.add_branch(path, name, w, showLabel);
    }
    Node* add_leaf(const char* path, Fl_Widget* w = nullptr, bool showLabel = true) {
        return root.add_leaf(path, w, showLabel);
    }
    Node* add_leaf(const char* path, const char* name, Fl_Widget* w = nullptr, bool showLabel = true) {
        return root.add_leaf(path, name, w, showLabel);
    }
    unsigned remove(const char* path);
    unsigned remove(const char* path, const char* name);
    unsigned remove(unsigned id) { return root.remove(id); }
    unsigned remove(Fl_Widget* w) { return root.remove(w); }
    void clear();

    Node* find(const char* path) { return find_next(path, static_cast<Node*>(nullptr)); }
    Node* find(const char* path, const char* name);
    Node* find(unsigned id) { return root.find(id); }
    Node* find(Fl_Widget* w) { return root.find(w); }
    Node* find_next(const char* path, Node* after);
    Node* find_next(const char* path, const char* name);
    int find_number(const char* path);
    const char* find_path(unsigned id);
    const char* find_path(Fl_Widget* w);
    int num_selected() { return root.num_selected(); }
    Node* get_selected(int index) { return root.get_selected(index); }
    void set_hilighted(Node* n);
    Node* get_hilighted() const { return rdata.hilighted; }
    bool inside_entry_area(int x, int y) const;
    void print() { root.print(); }
    void select_all() { root.select_all(); }
    void unselect_all() { root.unselect_all(); }

    int last_reason() const { return rdata.cbReason; }
    Node* last_node() const { return rdata.cbNode; }
    unsigned node_id(Node* n) const { return n ? n->id() : 0; }

    // Options: each setter forces a new layout at the next draw.
    void insertion_mode(int mode);
    int insertion_mode() const { return rdata.insertionMode; }
    void collapse_icons(Fl_Image* closed, Fl_Image* open);
    void branch_icons(Fl_Image* closed, Fl_Image* open) { setIcons(rdata.branchIcons, closed, open); }
    void set_default_branch_icons() { branch_icons(rdata.defaultBranchIcons[0], rdata.defaultBranchIcons[1]); }
    void leaf_icon(Fl_Image* icon) { rdata.leafIcon = icon; rdata.forceResize = true; }
    void horizontal_gap(int g) { setOption(rdata.hGap, g); }
    int horizontal_gap() const { return rdata.hGap; }
    void vertical_gap(int g) { setOption(rdata.vGap, g); }
    int vertical_gap() const { return rdata.vGap; }
    void icon_gap(int g) { setOption(rdata.wGap, g); }
    int icon_gap() const { return rdata.wGap; }
    void connector_style(Fl_Color c, int style, int width = 1) {
        rdata.defLineColor = c; rdata.lineStyle = style; rdata.lineWidth = width; rdata.forceResize = true;
    }
    void selection_color(Fl_Color c) { rdata.defSelectionColor = c; rdata.forceResize = true; }
    Fl_Color selection_color() const { return rdata.defSelectionColor; }
    void row_colors(Fl_Color even, Fl_Color odd) {
        rdata.shadedColors[0] = even; rdata.shadedColors[1] = odd; rdata.forceResize = true;
    }
    void leaf_text(Fl_Color c, Fl_Font f, int size) {
        rdata.leafColor = c; rdata.leafFont = f; rdata.leafSize = size; rdata.forceResize = true;
    }
    void branch_text(Fl_Color c, Fl_Font f, int size) {
        rdata.branchColor = c; rdata.branchFont = f; rdata.branchSize = size; rdata.forceResize = true;
    }
    // The deselection calls back last: the callback may delete the tree.
    void selectionMode(int m) { rdata.selectionMode = m; rdata.forceResize = true; unselect_all(); }
    int selectionMode() const { return rdata.selectionMode; }
    void selectionDragMode(int m) { setOption(rdata.selectionDragMode, m); }
    int selectionDragMode() const { return rdata.selectionDragMode; }
    void selectionFollowsHilight(bool b) { setOption(rdata.selectionFollowsHilight, b); }
    bool selectionFollowsHilight() const { return rdata.selectionFollowsHilight; }
    void rootShown(bool b) { setOption(rdata.showRoot, b); }
    bool rootShown() const { return rdata.showRoot; }
    void connectorsShown(bool b) { setOption(rdata.showConnectors, b); }
    bool connectorsShown() const { return rdata.showConnectors; }
    void leavesShown(bool b) { setOption(rdata.showLeaves, b); }
    bool leavesShown() const { return rdata.showLeaves; }
    void branchesShown(bool b) { setOption(rdata.showBranches, b); }
    bool branchesShown() const { return rdata.showBranches; }
    void opensOnSelect(bool b) { setOption(rdata.openOnSelect, b); }
    bool opensOnSelect() const { return rdata.openOnSelect; }
    void duplicateLeavesAllowed(bool b) { setOption(rdata.allowDuplication, b); }
    bool duplicateLeavesAllowed() const { return rdata.allowDuplication; }
    void animated(bool b) { setOption(rdata.animate, b); }
    bool animated() const { return rdata.animate; }
    void oneBranchOpen(bool b) { setOption(rdata.singleBranchOpen, b); }
    bool oneBranchOpen() const { return rdata.singleBranchOpen; }
    void doubleClickToggles(bool b) { setOption(rdata.doubleClickToggle, b); }
    bool doubleClickToggles() const { return rdata.doubleClickToggle; }
    void allBranchesOpen(bool b) { setOption(rdata.allBranchesAlwaysOpen, b); }
    bool allBranchesOpen() const { return rdata.allBranchesAlwaysOpen; }
    void auto_branches(bool b) { setOption(rdata.autoBranches, b); }
    bool auto_branches() const { return rdata.autoBranches; }
    void emptyBranchExpander(bool b) { setOption(rdata.openWOChildren, b); }
    bool emptyBranchExpander() const { return rdata.openWOChildren; }
    void selectUnderMouse(bool b) { setOption(rdata.selectUnderMouse, b); }
    bool selectUnderMouse() const { return rdata.selectUnderMouse; }
    // Moves only reorder a node among its siblings: none into a node, none to another parent.
    void moveOnlySameGroup(bool b) { setOption(rdata.moveOnlySameGroup, b); }
    bool moveOnlySameGroup() const { return rdata.moveOnlySameGroup; }
    void animation_time(float seconds) { rdata.collapseTime = seconds; }
    void frame_rate(float perSecond) { rdata.fps = perSecond; }

    // Parts, for tests and the skin editor's layout.
    Fl_Scrollbar* hscrollbar() { return scrollH; }
    Fl_Scrollbar* vscrollbar() { return scrollV; }
    Fl_Group* corner_box() { return scrollCorner; }
    Fl_Group* scroll_area() { return scrollBox; }
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
