// The tree set up as the skin font editor has it (every branch open, an
// entry widget on each leaf) and driven by events while its callbacks and
// the toolkit delete what raised them. Faults here show under the
// sanitizers as uses of freed memory.

#include "widgets/Flu_Tree_Browser.h"

#include <gtest/gtest.h>

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Window.H>

#include "support/WidgetEvents.h"
#include "support/WidgetPixels.h"

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

using Tree = Flu_Tree_Browser;
using Node = Flu_Tree_Browser::Node;

// The toolkit is built without the sanitizer: its reads of freed memory go
// unseen unless that memory is overwritten, which makes such a read crash at
// once. Weak, since another test of the same program may set these too.
extern "C" __attribute__((weak)) const char* __asan_default_options() {
    return "max_free_fill_size=4096:free_fill_byte=190";
}

namespace {

const char* const sections[] = {"Couleurs", "Fontes", "Zones"};

class FluTreeBrowserCallbacks : public ::testing::Test {
public:
    void SetUp() override {
        win.reset(new Fl_Window(0, 0, 640, 480));
        win->end();
        makeTree();
    }
    void makeTree() {
        win->begin();
        tree = new Tree(100, 0, 520, 460);
        win->end();
        tree->box(FL_DOWN_FRAME);
        tree->allBranchesOpen(true);
        tree->root_node()->always_open(true);
        tree->insertion_mode(Tree::InsertBack);
        tree->callback([](Fl_Widget*, void* self) { static_cast<FluTreeBrowserCallbacks*>(self)->calledBack(); }, this);
        fill();
    }
    void TearDown() override { onCallback = nullptr; }
    // One entry widget per leaf, as a skin load makes them.
    void fill(int perSection = 5) {
        tree->root_label("Param\351trage");
        for (const char* s : sections)
            for (int i = 0; i < perSection; ++i) {
                const std::string path = std::string("/pea1/") + s + "/e" + std::to_string(i);
                tree->add(path.c_str(), new Fl_Input(0, 0, 120, 22), true);
            }
    }
    void calledBack() {
        const int reason = tree->last_reason();
        if (reason == Tree::ReasonHilighted) hilightedId = tree->last_node()->id();
        if (reason == Tree::ReasonUnhilighted) hilightedId = 0;
        if (onCallback) onCallback(reason, tree->last_node());
    }
    void show() { qvtest::showAndDraw(*win); }
    void redraw() {
        tree->redraw();
        qvtest::flushDrawing();
    }
    int rowY(Node* n) { return n->row_top() + n->row_height() / 2; }
    // A click on the row's left margin, away from its widget.
    int clickRow(Node* n, int modifiers = 0) { return qvtest::click(win.get(), tree->x() + 4, rowY(n), 1, modifiers); }
    int key(int k, int modifiers = 0, const char* text = "") { return qvtest::key(win.get(), k, modifiers, text); }
    // The pointer rests over the tree, as the toolkit knows it from a real move.
    void pointerOver(Node* n) { qvtest::moveMouse(win.get(), tree->x() + 200, rowY(n)); }
    bool inTree(Node* n) {
        for (Node* m = tree->root_node(); m; m = m->next())
            if (m == n) return true;
        return false;
    }
    std::unique_ptr<Fl_Window> win;
    Tree* tree = nullptr;
    Fl_Input* outside = nullptr;  // somewhere else the keyboard can go
    std::function<void(int, Node*)> onCallback;
    unsigned hilightedId = 0;  // as the callbacks tell it
};

}  // namespace

// Each deleted entry widget makes the toolkit send the window under the
// pointer an event at once, which reaches the tree while it is emptied.
TEST_F(FluTreeBrowserCallbacks, ClearAndRemoveWithThePointerOverTheTreeLeaveItWhole) {
    show();
    Node* entry = tree->find("/pea1/Fontes/e2");
    qvtest::clickWidget(entry->widget());
    ASSERT_EQ(Fl::focus(), entry->widget());
    pointerOver(entry);
    ASSERT_TRUE(Fl::belowmouse() != nullptr);
    EXPECT_EQ(tree->remove("/pea1/Fontes/"), tree->find("/pea1/")->child(1)->id());
    EXPECT_EQ(tree->find("/pea1/")->children(), 2);
    pointerOver(tree->find("/pea1/Zones/e4"));
    tree->clear();
    EXPECT_EQ(tree->root_node()->children(), 0);
    EXPECT_EQ(tree->get_hilighted(), nullptr);
    // A skin loaded again: the tree works as before.
    fill();
    qvtest::flushDrawing();
    Node* again = tree->find("/pea1/Zones/e1");
    EXPECT_EQ(again->id(), 16u);
    clickRow(again);
    EXPECT_TRUE(again->selected());
    EXPECT_EQ(tree->get_hilighted(), again);
}

// A callback may remove or clear the node it is called for, whatever event
// raised it; the tree then touches nothing the callback deleted.
TEST_F(FluTreeBrowserCallbacks, CallbacksMayRemoveOrClearTheirOwnNode) {
    enum Action { Remove, Clear };
    struct Case {
        const char* name;
        int reason;
        const char* node;    // the node the callback is raised for
        const char* victim;  // the node it removes
        std::function<void(FluTreeBrowserCallbacks&)> setUp, trigger;
    };
    auto none = [](FluTreeBrowserCallbacks&) {};
    auto find = [](FluTreeBrowserCallbacks& t, const char* path) { return t.tree->find(path); };
    const Case cases[] = {
        {"row click", Tree::ReasonSelected, "/pea1/Fontes/e1", nullptr, none,
         [&](FluTreeBrowserCallbacks& t) { t.clickRow(find(t, "/pea1/Fontes/e1")); }},
        {"row click", Tree::ReasonHilighted, "/pea1/Fontes/e1", nullptr, none,
         [&](FluTreeBrowserCallbacks& t) { t.clickRow(find(t, "/pea1/Fontes/e1")); }},
        {"click on another row", Tree::ReasonUnselected, "/pea1/Fontes/e1", nullptr,
         [&](FluTreeBrowserCallbacks& t) { t.clickRow(find(t, "/pea1/Fontes/e1")); },
         [&](FluTreeBrowserCallbacks& t) { t.clickRow(find(t, "/pea1/Fontes/e3")); }},
        {"click on another row", Tree::ReasonUnhilighted, "/pea1/Fontes/e1", "/pea1/Fontes/e3",
         [&](FluTreeBrowserCallbacks& t) { t.clickRow(find(t, "/pea1/Fontes/e1")); },
         [&](FluTreeBrowserCallbacks& t) { t.clickRow(find(t, "/pea1/Fontes/e3")); }},
        {"double click", Tree::ReasonDoubleClick, "/pea1/Fontes/e1", nullptr, none,
         [&](FluTreeBrowserCallbacks& t) {
             Node* n = find(t, "/pea1/Fontes/e1");
             qvtest::doubleClick(t.win.get(), t.tree->x() + 4, t.rowY(n));
         }},
        {"double click on a branch", Tree::ReasonOpened, "/pea1/Fontes/", nullptr,
         [&](FluTreeBrowserCallbacks& t) { t.tree->allBranchesOpen(false), find(t, "/pea1/")->open(true), t.redraw(); },
         [&](FluTreeBrowserCallbacks& t) {
             Node* n = find(t, "/pea1/Fontes/");
             qvtest::doubleClick(t.win.get(), t.tree->x() + 40, t.rowY(n));
         }},
        {"Space with opens-on-select", Tree::ReasonSelected, "/pea1/Fontes/", nullptr,
         [&](FluTreeBrowserCallbacks& t) {
             t.tree->allBranchesOpen(false), t.tree->opensOnSelect(true), find(t, "/pea1/")->open(true);
             t.tree->set_hilighted(find(t, "/pea1/Fontes/")), t.tree->take_focus(), t.redraw();
         },
         [&](FluTreeBrowserCallbacks& t) { t.key(' ', 0, " "); }},
        {"opening closes the last opened branch", Tree::ReasonClosed, "/pea1/Couleurs/", "/pea1/Fontes/",
         [&](FluTreeBrowserCallbacks& t) {
             t.tree->allBranchesOpen(false), t.tree->oneBranchOpen(true);
             find(t, "/pea1/Couleurs/")->open(true), t.redraw();
         },
         [&](FluTreeBrowserCallbacks& t) { find(t, "/pea1/Fontes/")->open(false), find(t, "/pea1/Fontes/")->open(true); }},
        {"key Down", Tree::ReasonHilighted, "/pea1/Zones/e4", nullptr,
         [&](FluTreeBrowserCallbacks& t) {
             t.tree->resize(100, 0, 520, 200), t.tree->set_hilighted(find(t, "/pea1/Zones/e3")), t.redraw();
         },
         [&](FluTreeBrowserCallbacks& t) { t.key(FL_Down); }},
        {"Shift click over a range", Tree::ReasonSelected, "/pea1/Fontes/e2", nullptr,
         [&](FluTreeBrowserCallbacks& t) { t.clickRow(find(t, "/pea1/Fontes/e0")); },
         [&](FluTreeBrowserCallbacks& t) { t.clickRow(find(t, "/pea1/Zones/e0"), FL_SHIFT); }},
        {"Ctrl+A", Tree::ReasonSelected, "/pea1/Fontes/", nullptr,
         [&](FluTreeBrowserCallbacks& t) { t.clickRow(find(t, "/pea1/Zones/e0")), t.onCallback = nullptr; },
         [&](FluTreeBrowserCallbacks& t) { t.key('a', FL_CTRL, "\001"); }},
        {"drag over the rows", Tree::ReasonSelected, "/pea1/Couleurs/e3", nullptr, none,
         [&](FluTreeBrowserCallbacks& t) {
             qvtest::dragPath(t.win.get(), t.tree->x() + 4, t.rowY(find(t, "/pea1/Couleurs/e0")), t.tree->x() + 4,
                              t.rowY(find(t, "/pea1/Fontes/e0")), 12);
         }},
        {"click on the empty view", Tree::ReasonUnselected, "/pea1/Zones/e4", nullptr,
         [&](FluTreeBrowserCallbacks& t) { t.clickRow(find(t, "/pea1/Zones/e4")); },
         [&](FluTreeBrowserCallbacks& t) { qvtest::click(t.win.get(), t.tree->x() + 4, 440); }},
    };
    for (const Case& c : cases)
        for (Action action : {Remove, Clear}) {
            const std::string what = std::string(c.name) + (action == Remove ? ", remove" : ", clear");
            SCOPED_TRACE(what);
            tree->clear();
            fill();
            tree->allBranchesOpen(true);
            tree->opensOnSelect(false);
            tree->oneBranchOpen(false);
            tree->resize(100, 0, 520, 460);
            show();
            tree->take_focus();
            onCallback = nullptr;
            c.setUp(*this);
            Node* target = tree->find(c.node);
            const unsigned victim = tree->find(c.victim ? c.victim : c.node)->id();
            int raised = 0;
            onCallback = [&](int reason, Node* n) {
                if (reason != c.reason || n != target || raised++) return;
                if (action == Remove)
                    tree->remove(victim);
                else
                    tree->clear();
            };
            hilightedId = tree->node_id(tree->get_hilighted());
            c.trigger(*this);
            onCallback = nullptr;
            EXPECT_EQ(raised, 1);
            // The hilight is where the callbacks last put it, or nowhere once that node is gone.
            EXPECT_EQ(tree->get_hilighted(), hilightedId ? tree->find(hilightedId) : nullptr);
            EXPECT_STREQ(tree->find_path(victim), "");
            if (action == Clear) {
                EXPECT_EQ(tree->root_node()->children(), 0);
            }
            Node* h = tree->get_hilighted();
            EXPECT_TRUE(h == nullptr || inTree(h));
            EXPECT_TRUE(tree->last_node() == nullptr || inTree(tree->last_node()));
            // The tree goes on working.
            if (action == Clear) fill();
            tree->allBranchesOpen(true);
            tree->resize(100, 0, 520, 460);
            redraw();
            Node* after = tree->find("/pea1/Couleurs/e0");
            clickRow(after);
            EXPECT_EQ(tree->get_hilighted(), after);
        }
}

// A click in an entry widget gives it the keyboard; a click on a row takes
// the keyboard back for the tree, so that the keys walk the rows again.
TEST_F(FluTreeBrowserCallbacks, ARowClickTakesTheKeyboardBackFromAnEntryWidget) {
    show();
    Node* e1 = tree->find("/pea1/Fontes/e1");
    Node* e2 = tree->find("/pea1/Fontes/e2");
    qvtest::clickWidget(e1->widget());
    ASSERT_EQ(Fl::focus(), e1->widget());
    clickRow(e1);
    EXPECT_EQ(Fl::focus(), tree);
    key(FL_Down);
    EXPECT_EQ(tree->get_hilighted(), e2);
    // The hilighted row shows its dotted focus frame.
    const qvtest::Rgb frame = qvtest::rgbOf(FL_SELECTION_COLOR);
    EXPECT_NE(qvtest::colorRun(*win, tree->x() + 3, e2->row_top(), 1, 0, 30, frame), std::make_pair(-1, -1));
    tree->set_hilighted(nullptr);
    EXPECT_EQ(qvtest::colorRun(*win, tree->x() + 3, e2->row_top(), 1, 0, 30, frame), std::make_pair(-1, -1));
    tree->set_hilighted(e2);
    key(' ', 0, " ");
    EXPECT_TRUE(e2->selected() && !e1->selected());
    EXPECT_EQ(std::string(static_cast<Fl_Input*>(e2->widget())->value()), "");
    // Taken from a widget outside, the keyboard shows on the row at once.
    Fl_Button* outside = new Fl_Button(0, 0, 80, 30, "x");
    win->add(outside);
    outside->take_focus();
    redraw();
    const qvtest::Rgb dot = qvtest::rgbOf(FL_WHITE);  // on a selected row
    EXPECT_EQ(qvtest::colorRun(*win, tree->x() + 3, e2->row_top(), 1, 0, 30, dot), std::make_pair(-1, -1));
    clickRow(e2);
    EXPECT_EQ(Fl::focus(), tree);
    EXPECT_NE(qvtest::colorRun(*win, tree->x() + 3, e2->row_top(), 1, 0, 30, dot), std::make_pair(-1, -1));
    // A tree that does not take the keyboard leaves it where it is.
    qvtest::clickWidget(e1->widget());
    tree->visible_focus(0);
    clickRow(e1);
    EXPECT_EQ(Fl::focus(), e1->widget());
}

// A callback raised by a key may delete the tree itself.
TEST_F(FluTreeBrowserCallbacks, ACallbackMayDeleteTheWholeTree) {
    struct { int key, modifiers, reason; } cases[] = {
        {' ', 0, Tree::ReasonSelected}, {FL_Down, 0, Tree::ReasonHilighted}, {'a', FL_CTRL, Tree::ReasonSelected},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        if (!tree) makeTree();
        show();
        tree->take_focus();
        tree->set_hilighted(tree->find("/pea1/Fontes/e1"));
        bool armed = true;
        onCallback = [&](int reason, Node*) {
            if (!armed || reason != c.reason) return;
            armed = false;
            delete tree;
            tree = nullptr;
        };
        EXPECT_EQ(key(c.key, c.modifiers), 1);
        onCallback = nullptr;
        EXPECT_EQ(std::make_pair(tree, win->children()), std::make_pair(static_cast<Tree*>(nullptr), 0));
    }
}

// An entry widget calls back when it loses the keyboard or is hidden, and
// through the tree when its callbacks are redirected: the tree's callback
// may then remove the node whose widget is still calling back, or clear
// the tree, while the toolkit goes on with that widget.
TEST_F(FluTreeBrowserCallbacks, ACallbackMayRemoveTheEntryThatIsCallingBack) {
    enum Action { Remove, Clear };
    struct Case {
        const char* name;
        std::function<void(FluTreeBrowserCallbacks&)> trigger;
    };
    const Case cases[] = {
        {"tree hidden", [](FluTreeBrowserCallbacks& t) { t.tree->hide(); }},
        {"window hidden", [](FluTreeBrowserCallbacks& t) { t.win->hide(); }},
        {"row clicked", [](FluTreeBrowserCallbacks& t) { t.clickRow(t.tree->find("/pea1/Zones/e0")); }},
        {"keyboard taken elsewhere", [](FluTreeBrowserCallbacks& t) { t.outside->take_focus(); }},
    };
    for (const Case& c : cases)
        for (Action action : {Remove, Clear}) {
            SCOPED_TRACE(std::string(c.name) + (action == Remove ? ", remove" : ", clear"));
            delete tree;
            Tree::USE_FLU_WIDGET_CALLBACK = true;
            makeTree();
            Tree::USE_FLU_WIDGET_CALLBACK = false;
            if (!outside) {
                outside = new Fl_Input(0, 0, 90, 25);
                win->add(outside);
            }
            show();
            Node* entry = tree->find("/pea1/Fontes/e2");
            const unsigned id = entry->id();
            qvtest::clickWidget(entry->widget());
            ASSERT_EQ(Fl::focus(), entry->widget());
            key('x', 0, "x");  // a changed entry calls back when it loses the keyboard
            int raised = 0;
            onCallback = [&](int reason, Node* n) {
                if (reason != Tree::ReasonWidgetCallback || raised++) return;
                EXPECT_EQ(n->id(), id);
                if (action == Remove)
                    tree->remove(n->id());
                else
                    tree->clear();
            };
            c.trigger(*this);
            onCallback = nullptr;
            Fl::check();
            EXPECT_EQ(raised, 1);
            EXPECT_EQ(tree->find(id), nullptr);
            EXPECT_EQ(std::string(tree->find_path(id)), "");
            if (action == Clear) {
                EXPECT_EQ(tree->root_node()->children(), 0);
            }
            // The tree goes on working.
            tree->show();
            if (action == Clear) fill();
            show();
            Node* after = tree->find("/pea1/Couleurs/e0");
            clickRow(after);
            EXPECT_EQ(tree->get_hilighted(), after);
        }
}

// A press on one entry takes the keyboard from another, which calls back
// (through the tree, or by its own callback) while the toolkit is still
// inside the pressed entry and its groups: the callback may remove either
// entry's node or clear the tree. Widgets so removed leave the tree at once
// and die once the event is done.
TEST_F(FluTreeBrowserCallbacks, WidgetsRemovedDuringAnEventDieOnceItIsDone) {
    struct Case {
        const char* name;
        std::function<void(Tree*, Node* focused, Node* pressed)> act;
        bool focusedStays;
    };
    const Case cases[] = {
        {"clear", [](Tree* t, Node*, Node*) { t->clear(); }, false},
        {"remove the pressed entry", [](Tree* t, Node*, Node* pressed) { t->remove(pressed->id()); }, true},
        {"remove the focused entry's branch", [](Tree* t, Node* focused, Node*) { t->remove(focused->parent()->id()); },
         false},
    };
    for (const Case& c : cases)
        for (bool redirected : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (redirected ? ", through the tree" : ", by its own callback"));
            delete tree;
            Tree::USE_FLU_WIDGET_CALLBACK = redirected;
            makeTree();
            Tree::USE_FLU_WIDGET_CALLBACK = false;
            show();
            Node* focused = tree->find("/pea1/Fontes/e2");
            Node* pressed = tree->find("/pea1/Fontes/e3");
            qvtest::clickWidget(focused->widget());
            key('x', 0, "x");
            Fl_Widget_Tracker pressedEntry(pressed->widget()), focusedEntry(focused->widget());
            int raised = 0;
            std::function<void()> act = [&] {
                if (!raised++) c.act(tree, focused, pressed);
            };
            if (redirected)
                onCallback = [&](int reason, Node* n) {
                    if (reason == Tree::ReasonWidgetCallback && n == focused) act();
                };
            else
                focused->widget()->callback([](Fl_Widget*, void* f) { (*static_cast<std::function<void()>*>(f))(); }, &act);
            qvtest::clickWidget(pressed->widget());
            onCallback = nullptr;
            // Once: hidden as it dies, still changed, it calls back no more.
            EXPECT_EQ(raised, 1);
            EXPECT_EQ(tree->find("/pea1/Fontes/e3"), nullptr);
            // Out of the tree, hidden: none of its events reach the tree any more.
            ASSERT_TRUE(pressedEntry.exists());
            for (Fl_Widget_Tracker* w : {&pressedEntry, &focusedEntry})
                if (w->exists() && !(w == &focusedEntry && c.focusedStays)) {
                    EXPECT_EQ(w->widget()->parent(), nullptr);
                    EXPECT_EQ(w->widget()->visible(), 0);
                }
            Fl::check();
            EXPECT_FALSE(pressedEntry.exists());
            EXPECT_EQ(focusedEntry.exists(), c.focusedStays);
            if (focusedEntry.exists()) focusedEntry.widget()->callback(Fl_Widget::default_callback);
        }
}

// Told of its window's hiding, a changed entry calls back through the tree,
// whose callback deletes the tree with the entry in it.
TEST_F(FluTreeBrowserCallbacks, AnEntryHiddenWithItsWindowMayDeleteTheTree) {
    delete tree;
    Tree::USE_FLU_WIDGET_CALLBACK = true;
    makeTree();
    Tree::USE_FLU_WIDGET_CALLBACK = false;
    show();
    qvtest::clickWidget(tree->find("/pea1/Fontes/e2")->widget());
    key('x', 0, "x");
    int raised = 0;
    onCallback = [&](int reason, Node*) {
        if (reason != Tree::ReasonWidgetCallback || raised++) return;
        delete tree;
        tree = nullptr;
    };
    win->hide();
    onCallback = nullptr;
    Fl::check();
    EXPECT_EQ(raised, 1);
    EXPECT_EQ(std::make_pair(tree, win->children()), std::make_pair(static_cast<Tree*>(nullptr), 0));
}

// A changed entry calls back once as it loses the keyboard, and its
// callback may rebuild the tree, as the skin editor does. Rows removed or
// cleared never call back the widgets they take with them, whether the
// removal runs in an entry's callback, in the tree's callback during an
// event, from a timer or from plain code.
TEST_F(FluTreeBrowserCallbacks, RemovedEntriesNeverCallBackAndAnEntryCallsBackOnce) {
    enum From { EntryCallback, TreeCallback, Timer, Code };
    struct Case {
        const char* name;
        From from;
        bool clear;       // clear and refill, else remove the entry's branch
        bool redirected;  // the entries call back through the tree too
    };
    const Case cases[] = {
        {"the entry's callback rebuilds", EntryCallback, true, false},
        {"the entry's callback removes its branch", EntryCallback, false, false},
        {"the tree's callback for the entry rebuilds", EntryCallback, true, true},
        {"the tree's callback for a selection rebuilds", TreeCallback, true, false},
        {"the tree's callback for a selection removes the branch", TreeCallback, false, true},
        {"a timer rebuilds", Timer, true, false},
        {"code removes the branch", Code, false, false},
    };
    static std::map<Fl_Widget*, int> calls;
    static int depth, deepest;
    static std::function<void()> rebuild;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        tree->clear();
        fill();
        show();
        calls.clear();
        depth = deepest = 0;
        // The branch of the edited entry, its entries counting their calls.
        tree->remove("/pea1/Fontes/");
        Fl_Widget* entry = nullptr;
        Tree::USE_FLU_WIDGET_CALLBACK = c.redirected;
        for (int i = 0; i < 5; ++i) {
            Fl_Input* in = new Fl_Input(0, 0, 120, 22);
            in->callback(
                [](Fl_Widget* w, void* act) {
                    ++depth;
                    deepest = std::max(deepest, depth);
                    if (calls[w]++ == 0 && act) rebuild();
                    --depth;
                },
                i == 2 && c.from == EntryCallback && !c.redirected ? &rebuild : nullptr);
            tree->add(("/pea1/Fontes/e" + std::to_string(i)).c_str(), in, true);
            if (i == 2) entry = in;
        }
        Tree::USE_FLU_WIDGET_CALLBACK = false;
        const unsigned branch = tree->find("/pea1/Fontes/")->id();
        rebuild = [&] {
            if (c.clear) {
                tree->clear();
                fill();
            } else {
                tree->remove(branch);
            }
        };
        redraw();
        qvtest::clickWidget(entry);
        ASSERT_EQ(Fl::focus(), entry);
        key('x', 0, "x");
        for (int i = 0; i < 5; ++i) tree->find(("/pea1/Fontes/e" + std::to_string(i)).c_str())->widget()->set_changed();
        onCallback = [&](int reason, Node* n) {
            if (c.from == EntryCallback && reason == Tree::ReasonWidgetCallback && n->widget() == entry) rebuild();
            if (c.from == TreeCallback && reason == Tree::ReasonSelected) rebuild();
        };
        Node* row = tree->find("/pea1/Zones/e0");
        switch (c.from) {
        case EntryCallback:
            clickRow(row);  // the tree takes the keyboard: the entry calls back
            break;
        case TreeCallback:
            tree->visible_focus(0);  // the entry keeps the keyboard
            clickRow(row);
            tree->visible_focus(1);
            break;
        case Timer:
            Fl::add_timeout(0.0, [](void*) { rebuild(); });
            qvtest::settleDrawing();
            break;
        case Code:
            rebuild();
            break;
        }
        onCallback = nullptr;
        Fl::check();
        EXPECT_EQ(deepest, c.from == EntryCallback ? 1 : 0);
        for (auto& call : calls) EXPECT_EQ(call.second, call.first == entry && c.from == EntryCallback ? 1 : 0);
        EXPECT_EQ(tree->find("/pea1/Fontes/e2") != nullptr, c.clear);
    }
    rebuild = nullptr;
}

// The old widget's deletion sends the window under the pointer an event,
// which lays the rows out: the new widget, taller, still gets its room.
TEST_F(FluTreeBrowserCallbacks, AWidgetReplacedUnderThePointerGetsItsRoom) {
    show();
    Node* e1 = tree->find("/pea1/Fontes/e1");
    pointerOver(e1);
    e1->widget(new Fl_Input(0, 0, 120, 40));
    redraw();
    EXPECT_EQ(tree->find("/pea1/Fontes/e2")->row_top(), e1->row_top() + 40);
}

// A row widget may be a group: none of the widgets in it calls back as its
// row goes during an event.
TEST_F(FluTreeBrowserCallbacks, NoWidgetOfARowGroupCallsBackAsItsRowGoes) {
    static int calls;
    calls = 0;
    Fl_Group* group = new Fl_Group(0, 0, 120, 22);
    for (int i = 0; i < 2; ++i) {
        Fl_Input* in = new Fl_Input(i * 60, 0, 60, 22);
        in->callback([](Fl_Widget*, void*) { ++calls; });
        in->set_changed();
    }
    group->end();
    tree->add("/pea1/Zones/group", group, false);
    show();
    onCallback = [&](int reason, Node*) {
        if (reason == Tree::ReasonSelected) tree->clear();
    };
    clickRow(tree->find("/pea1/Zones/e0"));
    onCallback = nullptr;
    Fl::check();
    EXPECT_EQ(std::make_pair(tree->root_node()->children(), calls), std::make_pair(0, 0));
}

// An entry's own callback may remove its row as the entry loses the
// keyboard to code outside any event, or hides with its branch closed from
// code: the toolkit is still inside the entry, which dies later.
TEST_F(FluTreeBrowserCallbacks, AnEntryMayRemoveItsRowAsItLosesTheKeyboardOrHides) {
    static Tree* current;
    outside = new Fl_Input(0, 0, 90, 25);
    win->add(outside);
    for (bool hide : {false, true}) {
        SCOPED_TRACE(hide ? "hidden" : "keyboard lost");
        tree->clear();
        fill();
        tree->allBranchesOpen(false);
        tree->find("/pea1/")->open(true);
        tree->find("/pea1/Fontes/")->open(true);
        show();
        Fl_Widget* entry = tree->find("/pea1/Fontes/e2")->widget();
        qvtest::clickWidget(entry);
        key('x', 0, "x");
        current = tree;
        entry->callback([](Fl_Widget* w, void*) { current->remove(w); });
        Fl_Widget_Tracker alive(entry);
        if (hide)
            tree->find("/pea1/Fontes/")->open(false);
        else
            outside->take_focus();
        EXPECT_EQ(tree->find("/pea1/Fontes/e2"), nullptr);
        Fl::check();
        EXPECT_FALSE(alive.exists());
    }
}
