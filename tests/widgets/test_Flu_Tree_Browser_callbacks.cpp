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

#include <functional>
#include <memory>
#include <string>
#include <vector>

using Tree = Flu_Tree_Browser;
using Node = Flu_Tree_Browser::Node;

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
