#include "widgets/Flu_Tree_Browser.h"

#include <gtest/gtest.h>

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Pixmap.H>
#include <FL/Fl_RGB_Image.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>

#include "support/WidgetEvents.h"
#include "support/WidgetPixels.h"
#include "widgets/flu_pixmaps.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

using Tree = Flu_Tree_Browser;
using Node = Flu_Tree_Browser::Node;

namespace {

int liveBoxes = 0;

// A row widget that counts the live instances, so that every deletion shows.
struct CountedBox : Fl_Box {
    CountedBox() : Fl_Box(0, 0, 60, 20) { ++liveBoxes; }
    ~CountedBox() override { --liveBoxes; }
};

struct Calls {
    std::vector<std::pair<int, std::string>> seen;
    static void record(Fl_Widget* w, void* data) {
        Tree* t = static_cast<Tree*>(w);
        Node* n = t->last_node();
        static_cast<Calls*>(data)->seen.emplace_back(t->last_reason(), n ? n->label() : "?");
    }
};

std::string children(Node* n) {
    std::string out;
    for (int i = 0; i < n->children(); ++i) out += std::string(out.empty() ? "" : " ") + n->child(i)->label();
    return out;
}

class FluTreeBrowser : public ::testing::Test {
protected:
    void SetUp() override {
        fl_open_display();
        liveBoxes = 0;
        tree.reset(new Tree(0, 0, 300, 200));
        tree->callback(Calls::record, &calls);
    }
    std::unique_ptr<Tree> tree;
    Calls calls;
};

}  // namespace

TEST_F(FluTreeBrowser, PathsCreateBranchesOnceAndGiveIdsAndPathsBack) {
    Node* c = tree->add("/a/b/c");
    ASSERT_NE(c, nullptr);
    Node* b = c->parent();
    Node* a = b->parent();
    EXPECT_EQ(std::make_tuple(a->id(), b->id(), c->id()), std::make_tuple(1u, 2u, 3u));
    EXPECT_TRUE(a->is_branch() && b->is_branch() && c->is_leaf());
    EXPECT_EQ(a->parent(), tree->root_node());
    EXPECT_EQ(tree->add("a/b/d")->id(), 4u);
    EXPECT_EQ(tree->root_node()->children(), 1);
    EXPECT_EQ(children(b), "c d");

    EXPECT_STREQ(tree->find_path(3), "/a/b/c");
    EXPECT_STREQ(tree->find_path(2), "/a/b/");
    EXPECT_STREQ(tree->find_path(0u), "/");
    EXPECT_STREQ(tree->find_path(99), "");
    EXPECT_EQ(tree->find("/a/b/c"), c);
    EXPECT_EQ(tree->find("/a/b/"), b);
    EXPECT_EQ(tree->find("/a", "b"), b);
    EXPECT_EQ(tree->find("/"), tree->root_node());
    EXPECT_EQ(tree->find("/a/x/c"), nullptr);
    EXPECT_EQ(tree->find(4u), b->child(1));
    EXPECT_EQ(tree->find(0u), nullptr);
    EXPECT_EQ(tree->node_id(tree->find("/a/b/d")), 4u);

    Fl_Box* box = new CountedBox;
    Node* e = tree->add_leaf("/a/", "e", box);
    EXPECT_EQ(tree->find(box), e);
    EXPECT_STREQ(tree->find_path(box), "/a/e");
    EXPECT_STREQ(tree->find_path(static_cast<Fl_Widget*>(nullptr)), "");
    EXPECT_EQ(tree->add_branch("/a", "f")->is_branch(), true);
    EXPECT_EQ(tree->add_branch("/g")->is_branch(), true);
    EXPECT_EQ(tree->add_leaf("/h/")->is_leaf(), true);
    EXPECT_STREQ(tree->add_leaf("/k\\")->label(), "k");
    EXPECT_EQ(tree->remove(static_cast<Fl_Widget*>(nullptr)), 0u);
    EXPECT_EQ(tree->add("/a", "b/z")->parent(), b);
}

TEST_F(FluTreeBrowser, EscapedSlashesBelongToTheName) {
    Node* n = tree->add("a\\/b");
    ASSERT_NE(n, nullptr);
    EXPECT_STREQ(n->label(), "a/b");
    EXPECT_EQ(n->parent(), tree->root_node());
    EXPECT_TRUE(n->is_leaf());
    EXPECT_EQ(tree->find("/a\\/b"), n);
    Node* d = tree->add("/x\\/y/z");
    EXPECT_STREQ(d->parent()->label(), "x/y");
    EXPECT_TRUE(tree->add("/p/q/")->is_branch());
}

TEST_F(FluTreeBrowser, AddsThatCannotBeDoneReturnNull) {
    tree->add("/br/leaf");
    struct { const char* path; bool duplicates; bool added; } cases[] = {
        {"/br/leaf", true, true},    // a second leaf of that name
        {"/br/leaf", false, false},  // refused without duplicates
        {"/br", true, false},        // a leaf named like a branch
        {"/br/leaf/x", true, false}, // a leaf in the middle of a path
        {"", true, false},
        {"/", true, false},
        {nullptr, true, false},
    };
    for (const auto& t : cases) {
        tree->duplicateLeavesAllowed(t.duplicates);
        EXPECT_EQ(tree->add(t.path) != nullptr, t.added) << (t.path ? t.path : "null") << " " << t.duplicates;
    }
    EXPECT_EQ(tree->find_number("/br/leaf"), 2);
    EXPECT_EQ(tree->find_number("/nothing/leaf"), 0);
    EXPECT_EQ(tree->find_number(""), 0);
    EXPECT_EQ(tree->find_number("/br"), 1);
    Node* first = tree->find("/br/leaf");
    Node* second = tree->find_next("/br/leaf", first);
    EXPECT_NE(second, nullptr);
    EXPECT_NE(second, first);
    EXPECT_EQ(tree->find_next("/br/leaf", second), nullptr);
}

TEST_F(FluTreeBrowser, InsertionModesOrderChildrenAndResortOnChange) {
    struct { int mode; const char* order; } cases[] = {
        {Tree::InsertFront, "c a b"}, {Tree::InsertBack, "b a c"},
        {Tree::InsertSorted, "a b c"}, {Tree::InsertSortedReverse, "c b a"},
    };
    for (const auto& t : cases) {
        tree->clear();
        tree->insertion_mode(t.mode);
        for (const char* name : {"b", "a", "c"}) tree->add(name);
        EXPECT_EQ(children(tree->root_node()), t.order) << t.mode;
        EXPECT_EQ(tree->find("/a")->label(), std::string("a")) << t.mode;
    }
    tree->insertion_mode(Tree::InsertSorted);
    EXPECT_EQ(children(tree->root_node()), "a b c");
    tree->insertion_mode(7);
    EXPECT_EQ(tree->insertion_mode(), Tree::InsertSorted);

    // Inserting in a sorted mode keeps the order that the searches rely on.
    Node* root = tree->root_node();
    root->insert_branch("/bb", 0);
    root->insert_leaf("/aa", 3);
    EXPECT_EQ(children(root), "a aa b bb c");
    EXPECT_EQ(tree->find("/bb")->is_branch(), true);
    tree->add("/bb/x");
    tree->add("/bb/y");
    EXPECT_EQ(root->children(), 5);
    EXPECT_EQ(tree->find("/bb")->children(), 2);
}

TEST_F(FluTreeBrowser, InsertAndMoveByPositionInUnsortedModes) {
    tree->insertion_mode(Tree::InsertBack);
    Node* root = tree->root_node();
    for (const char* name : {"a", "b", "c"}) tree->add(name);
    root->insert("/x", 1);
    EXPECT_EQ(children(root), "a x b c");
    root->insert("/y", 99);
    EXPECT_EQ(children(root), "a x b c y");
    root->insert_branch("/z", -4);
    EXPECT_EQ(children(root), "z a x b c y");
    EXPECT_TRUE(tree->find("/z/")->is_branch());
    EXPECT_TRUE(tree->find("/c")->move(0));
    EXPECT_EQ(children(root), "c z a x b y");
    EXPECT_TRUE(tree->find("/z")->move(99));  // clamped: before the last child
    EXPECT_EQ(children(root), "c a x b z y");
    EXPECT_EQ(tree->find("/b")->index(), 3);
}

TEST_F(FluTreeBrowser, MovesAndSwapsNeverMakeANodeItsOwnAncestor) {
    tree->insertion_mode(Tree::InsertBack);
    Node* root = tree->root_node();
    Node* a = tree->add("/a/");
    Node* a1 = tree->add("/a/a1/");
    Node* a2 = tree->add("/a/a1/a2");
    Node* b = tree->add("/b/");
    Node* leaf = tree->add("/b/leaf");

    EXPECT_FALSE(Node::swap(a, a2));
    EXPECT_FALSE(Node::swap(a2, a));
    EXPECT_FALSE(Node::move(a, Tree::MoveAfter, a2));
    EXPECT_FALSE(Node::move(a, Tree::MoveBefore, a1));
    EXPECT_FALSE(Node::move(a, Tree::MoveInside, a1));
    EXPECT_FALSE(Node::move(a, Tree::MoveBefore, root));
    EXPECT_FALSE(Node::move(a, Tree::MoveInside, leaf));
    EXPECT_FALSE(Node::move(root, Tree::MoveInside, a));
    EXPECT_EQ(a1->parent(), a);
    EXPECT_STREQ(tree->find_path(a2->id()), "/a/a1/a2");

    // After the root: into the root.
    EXPECT_TRUE(Node::move(a2, Tree::MoveAfter, root));
    EXPECT_EQ(a2->parent(), root);
    EXPECT_EQ(children(root), "a2 a b");
    EXPECT_TRUE(Node::move(a2, Tree::MoveAfter, b->child(0)));
    EXPECT_EQ(children(b), "leaf a2");
    // After an open branch with children: first among its children.
    b->open(true);
    EXPECT_TRUE(Node::move(a1, Tree::MoveAfter, b));
    EXPECT_EQ(children(b), "a1 leaf a2");
    EXPECT_FALSE(Node::move(a1, Tree::MoveAfter, b));  // already first
    EXPECT_TRUE(Node::swap(a, leaf));
    EXPECT_EQ(children(root), "leaf b");
    EXPECT_EQ(children(b), "a1 a a2");
    EXPECT_STREQ(tree->find_path(a->id()), "/b/a/");

    b->droppable(false);
    EXPECT_FALSE(Node::move(leaf, Tree::MoveInside, b));
    a2->movable(false);
    EXPECT_FALSE(Node::move(a2, Tree::MoveInside, root));
    tree->insertion_mode(Tree::InsertSorted);
    EXPECT_FALSE(Node::move(leaf, Tree::MoveBefore, b));
    EXPECT_TRUE(Node::move(a1, Tree::MoveInside, root));
    EXPECT_EQ(children(root), "a1 b leaf");
}

TEST_F(FluTreeBrowser, WidgetsFollowTheirNodesAndDieExactlyOnce) {
    tree->insertion_mode(Tree::InsertBack);
    CountedBox* box = new CountedBox;
    Node* moved = tree->add("/old/moved", box);
    tree->add("/old/other", new CountedBox);
    tree->add("/new/");
    tree->add("/swapped/s", new CountedBox);
    tree->add("/keep/k", new CountedBox);
    EXPECT_EQ(liveBoxes, 4);
    ASSERT_TRUE(Node::move(moved, Tree::MoveInside, tree->find("/new/")));
    ASSERT_TRUE(Node::swap(tree->find("/swapped/s"), tree->find("/old/other")));
    EXPECT_EQ(tree->remove("/old/"), 1u);
    EXPECT_EQ(liveBoxes, 3);  // the moved widget and the swapped one survive their old group
    EXPECT_EQ(tree->find(box), moved);

    moved->widget(box);  // its own widget again: kept
    EXPECT_EQ(moved->widget(), box);
    EXPECT_EQ(tree->remove(box), moved->id());
    EXPECT_EQ(liveBoxes, 2);

    CountedBox* rootBox = new CountedBox;
    tree->set_root("top", rootBox);
    EXPECT_EQ(tree->remove(rootBox), 0u);
    EXPECT_EQ(tree->remove(0u), 0u);
    EXPECT_EQ(tree->remove("/missing"), 0u);
    unsigned k = tree->find("/keep/k")->id();
    EXPECT_EQ(tree->remove(k), k);
    EXPECT_EQ(liveBoxes, 2);
    tree->find("/swapped/")->widget(new CountedBox);
    tree->clear();
    EXPECT_EQ(liveBoxes, 0);
    EXPECT_EQ(tree->root_node()->children(), 0);
    EXPECT_STREQ(tree->root_label(), "");
    EXPECT_EQ(tree->last_reason(), Tree::ReasonNone);
    EXPECT_EQ(tree->add("/again")->id(), 1u);
    tree->add("/again2", new CountedBox);
    tree.reset();
    EXPECT_EQ(liveBoxes, 0);
}

TEST_F(FluTreeBrowser, SelectionCountsAndReportsEachChangeOnce) {
    Node* a = tree->add("/a/");
    Node* x = tree->add("/a/x");
    Node* y = tree->add("/a/y");
    x->select(true);
    x->select(true);
    y->select(true);
    EXPECT_EQ(tree->num_selected(), 2);
    EXPECT_EQ(tree->get_selected(1), x);
    EXPECT_EQ(tree->get_selected(2), y);
    EXPECT_EQ(tree->get_selected(0), nullptr);
    EXPECT_EQ(tree->get_selected(3), nullptr);
    a->unselect_all(y);
    a->open(true);
    a->open(true);
    a->open(false);
    using P = std::pair<int, std::string>;
    EXPECT_EQ(calls.seen, (std::vector<P>{{Tree::ReasonSelected, "x"}, {Tree::ReasonSelected, "y"},
                                          {Tree::ReasonUnselected, "x"}, {Tree::ReasonOpened, "a"},
                                          {Tree::ReasonClosed, "a"}}));
    EXPECT_EQ(tree->last_node(), a);
    tree->select_all();
    EXPECT_EQ(tree->num_selected(), 4);
    EXPECT_EQ(tree->get_selected(1), tree->root_node());

    calls.seen.clear();
    tree->when(FL_WHEN_NOT_CHANGED);
    x->select(true);
    tree->when(FL_WHEN_RELEASE);
    y->select(false);
    y->select(true);
    tree->when(FL_WHEN_NEVER);
    x->select(false);
    EXPECT_EQ(calls.seen, (std::vector<P>{{Tree::ReasonSelected, "x"}, {Tree::ReasonUnselected, "y"}}));
    EXPECT_TRUE(y->selected());
    EXPECT_FALSE(x->selected());
}

TEST_F(FluTreeBrowser, RemovedNodesLeaveNoReferenceBehind) {
    tree->oneBranchOpen(true);
    Node* a = tree->add("/a/");  // no children: nothing else to clear the references
    Node* b = tree->add("/b/");
    tree->add("/b/in");
    a->open(true);
    tree->set_hilighted(a);
    EXPECT_EQ(tree->last_node(), a);
    tree->remove("/a/");
    EXPECT_EQ(tree->get_hilighted(), nullptr);
    EXPECT_EQ(tree->last_node(), nullptr);
    b->open(true);  // the last opened branch is gone: nothing to close
    EXPECT_TRUE(b->open());
    Node* inner = tree->add("/b/c/");
    tree->add("/b/c/d");
    inner->open(true);
    EXPECT_TRUE(b->open()) << "an ancestor stays open";
    b->select(true);
    b->active(false);
    EXPECT_FALSE(b->selected());
    EXPECT_FALSE(b->open());
    EXPECT_FALSE(b->active());
}

TEST_F(FluTreeBrowser, NavigationWalksInPreOrder) {
    tree->insertion_mode(Tree::InsertBack);
    Node* root = tree->root_node();
    Node* a = tree->add("/a/");
    Node* a1 = tree->add("/a/a1");
    Node* b = tree->add("/b/");
    Node* b1 = tree->add("/b/b1/");
    Node* leaf = tree->add("/b/b1/leaf");
    std::string order;
    for (Node* n = root->next(); n; n = n->next()) order += std::string(n->label()) + " ";
    EXPECT_EQ(order, "a a1 b b1 leaf ");
    order.clear();
    for (Node* n = leaf; n; n = n->previous()) order += std::string(n->label()) + ".";
    EXPECT_EQ(order, "leaf.b1.b.a1.a..");
    EXPECT_EQ(root->last(), leaf);
    EXPECT_EQ(root->first_leaf(), a1);
    EXPECT_EQ(a1->next_branch(), b);
    EXPECT_EQ(b->next_leaf(), leaf);
    EXPECT_EQ(leaf->previous_branch(), b1);
    EXPECT_EQ(leaf->previous_leaf(), a1);
    EXPECT_EQ(root->last_branch(), b1);
    EXPECT_EQ(b->last_leaf(), leaf);
    EXPECT_EQ(a->next_sibling(), b);
    EXPECT_EQ(b->previous_sibling(), a);
    EXPECT_EQ(a->previous_sibling(), nullptr);
    EXPECT_EQ(root->index(), -1);
    EXPECT_EQ(leaf->depth(), 3);
    EXPECT_TRUE(leaf->is_ancestor(b) && !b->is_ancestor(leaf));
    EXPECT_TRUE(b->is_descendent(leaf) && !leaf->is_descendent(b));
    EXPECT_EQ(root->child(2), nullptr);
    EXPECT_EQ(root->child(-1), nullptr);
}

TEST_F(FluTreeBrowser, PrintShowsTheTreeIndented) {
    tree->set_root("top");
    tree->add("/a/b/c");
    tree->add("/d");
    ::testing::internal::CaptureStdout();
    tree->print();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "[top]\n  [a]\n    [b]\n        c\n    d\n");
}

TEST_F(FluTreeBrowser, AutoBranchesFollowChildren) {
    tree->auto_branches(true);
    Node* n = tree->add("/n");
    EXPECT_TRUE(n->is_leaf());
    EXPECT_EQ(n->label_font(), FL_HELVETICA);
    tree->add("/n/child");
    EXPECT_TRUE(n->is_branch());
    EXPECT_EQ(n->label_font(), FL_HELVETICA_BOLD);  // a branch's defaults now
    EXPECT_STREQ(tree->find_path(n->id()), "/n/");
    tree->remove("/n/child");
    EXPECT_TRUE(n->is_leaf());
    EXPECT_EQ(n->label_font(), FL_HELVETICA);
    EXPECT_TRUE(Node::move(tree->add("/m"), Tree::MoveInside, n));
    EXPECT_EQ(n->label_font(), FL_HELVETICA_BOLD);
}

TEST_F(FluTreeBrowser, IconsSetTheRowHeightOfTheirKindOfNode) {
    static const unsigned char pixels[10 * 40 * 3] = {};
    Fl_RGB_Image tall(pixels, 10, 40);
    tree->root_node()->always_open(true);
    Node* branch = tree->add("/b/");
    Node* leaf = tree->add("/b/l");
    Node* other = tree->add("/c/");
    branch->open(true);
    leaf->collapse_icons(&tall, &tall);
    leaf->branch_icons(&tall, &tall);
    branch->leaf_icon(&tall);
    tree->resize(0, 0, 300, 200);
    EXPECT_LT(leaf->row_height(), 40);
    EXPECT_LT(branch->row_height(), 40);
    branch->collapse_icons(&tall, &tall);
    other->branch_icons(&tall, nullptr);
    leaf->leaf_icon(&tall);
    tree->resize(0, 0, 300, 200);
    EXPECT_EQ(branch->row_height(), 40);
    EXPECT_EQ(leaf->row_height(), 40);
    EXPECT_EQ(other->row_height(), 40);  // its closed icon
    other->open(true);
    tree->resize(0, 0, 300, 200);
    EXPECT_LT(other->row_height(), 40);
    EXPECT_GT(leaf->row_top(), branch->row_top() + 39);
}

TEST_F(FluTreeBrowser, EntryAreaIsTheInsideOfTheView) {
    Fl_Group* area = tree->scroll_area();
    const int right = area->x() + area->w(), bottom = area->y() + area->h();
    struct { int x, y; bool in; } points[] = {
        {area->x() + 1, area->y() + 1, true}, {area->x(), area->y() + 5, false}, {area->x() + 5, area->y(), false},
        {right - 1, bottom - 1, true}, {right, bottom - 1, false}, {right - 1, bottom, false},
    };
    for (const auto& p : points) EXPECT_EQ(tree->inside_entry_area(p.x, p.y), p.in) << p.x << "," << p.y;
}

// The skin font editor's tree: every branch open, one leaf and widget per entry.
TEST_F(FluTreeBrowser, EditorConfigurationLaysEveryEntryOutInOrder) {
    Fl_Window win(0, 0, 640, 480);
    Tree* t = new Tree(100, 0, 520, 460);
    win.end();
    t->box(FL_DOWN_FRAME);
    t->allBranchesOpen(true);
    t->animated(false);
    t->root_node()->always_open(true);
    t->root_node()->open(true);
    t->insertion_mode(Tree::InsertBack);
    std::string chosen;
    t->callback([](Fl_Widget* w, void* out) {
        Tree* tr = static_cast<Tree*>(w);
        if (tr->last_reason() == Tree::ReasonSelected)
            *static_cast<std::string*>(out) = tr->find_path(tr->node_id(tr->last_node()));
    }, &chosen);
    Fl_Pixmap dot(bluedot_xpm), computer(computer_xpm);
    t->leaf_icon(&dot);
    t->branch_icons(nullptr, nullptr);
    t->clear();
    t->root_label("Param\351trage");
    t->root_node()->branch_icons(&computer, &computer);
    const char* entries[][2] = {{"Fontes", "LettresNorm"}, {"Fontes", "Aide"}, {"Couleurs", "Fond"}, {"Fontes", "Titre"}};
    std::vector<Node*> leaves;
    for (auto& e : entries) {
        char path[80];
        snprintf(path, sizeof path, "/pea1/%s/%s", e[0], e[1]);
        leaves.push_back(t->add(path, new Fl_Box(0, 0, 80, 20), true));
    }
    t->root_node()->open(true);
    t->leaf_icon(nullptr);
    qvtest::showAndDraw(win);

    EXPECT_EQ(children(t->find("/pea1/")), "Fontes Couleurs");
    EXPECT_EQ(children(t->find("/pea1/Fontes/")), "LettresNorm Aide Titre");
    EXPECT_FALSE(t->hscrollbar()->visible() || t->vscrollbar()->visible());
    int previousBottom = 0;
    for (Node* n = t->root_node(); n; n = n->next()) {
        EXPECT_GE(n->row_top(), previousBottom) << n->label();
        previousBottom = n->row_top() + n->row_height();
    }
    for (Node* leaf : leaves) {
        Fl_Widget* w = leaf->widget();
        EXPECT_TRUE(w->visible());
        EXPECT_GE(w->y(), leaf->row_top());
        EXPECT_LE(w->y() + w->h(), leaf->row_top() + leaf->row_height());
        EXPECT_GT(w->x(), 100 + 2 * 15);  // indented twice, after its label
    }
    leaves[2]->select(true);
    EXPECT_EQ(chosen, "/pea1/Couleurs/Fond");
    // The root has no expander: a click at its start selects it.
    qvtest::click(&win, t->x() + 5, t->root_node()->row_top() + 5);
    EXPECT_EQ(chosen, "/");
    t->clear();
    EXPECT_EQ(t->add("/pea1/x/y")->id(), 3u);
}

TEST_F(FluTreeBrowser, RedirectedWidgetCallbacksReachBothTheWidgetAndTheTree) {
    int own = 0;
    Fl_Box* plain = new Fl_Box(0, 0, 10, 10);
    plain->callback([](Fl_Widget*, void* d) { ++*static_cast<int*>(d); }, &own);
    tree->add("/plain", plain);
    Tree::USE_FLU_WIDGET_CALLBACK = true;
    Fl_Box* redirected = new Fl_Box(0, 0, 10, 10);
    redirected->callback([](Fl_Widget*, void* d) { ++*static_cast<int*>(d); }, &own);
    tree->add("/redirected", redirected);
    Tree::USE_FLU_WIDGET_CALLBACK = false;
    plain->do_callback();
    redirected->do_callback();
    EXPECT_EQ(own, 2);
    using P = std::pair<int, std::string>;
    EXPECT_EQ(calls.seen, (std::vector<P>{{Tree::ReasonWidgetCallback, "redirected"}}));
}
