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

#include <algorithm>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

using Tree = Flu_Tree_Browser;
using Node = Flu_Tree_Browser::Node;
using Calls = std::vector<std::pair<int, std::string>>;

namespace {

int liveBoxes = 0;
Node* const none = nullptr;

// A row widget that counts the live instances, so that every deletion shows.
struct CountedBox : Fl_Box {
    CountedBox() : Fl_Box(0, 0, 60, 20) { ++liveBoxes; }
    ~CountedBox() override { --liveBoxes; }
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
        tree->callback(
            [](Fl_Widget* w, void* data) {
                Tree* t = static_cast<Tree*>(w);
                static_cast<Calls*>(data)->emplace_back(t->last_reason(), t->last_node() ? t->last_node()->label() : "?");
            },
            &calls);
    }
    std::unique_ptr<Tree> tree;
    Calls calls;
};

}  // namespace

TEST_F(FluTreeBrowser, PathsCreateBranchesOnceAndGiveIdsAndPathsBack) {
    Node* c = tree->add("/a/b/c");
    Node* b = c->parent();
    Node* a = b->parent();
    EXPECT_EQ(std::make_tuple(a->id(), b->id(), c->id(), a->parent()), std::make_tuple(1u, 2u, 3u, tree->root_node()));
    EXPECT_TRUE(a->is_branch() && b->is_branch() && c->is_leaf());
    EXPECT_EQ(tree->add("a/b/d")->id(), 4u);
    EXPECT_EQ(children(b), "c d");
    for (auto p : {std::make_pair(3u, "/a/b/c"), std::make_pair(2u, "/a/b/"), std::make_pair(0u, "/"), std::make_pair(99u, "")})
        EXPECT_STREQ(tree->find_path(p.first), p.second) << p.first;
    EXPECT_EQ(std::make_tuple(tree->find("/a", "b"), tree->find("/"), tree->find("/a/x/c"), tree->find(4u), tree->find(0u)),
              std::make_tuple(b, tree->root_node(), none, b->child(1), none));
    Fl_Box* box = new CountedBox;
    Node* e = tree->add_leaf("/a/", "e", box);
    EXPECT_EQ(std::make_pair(tree->find(box), std::string(tree->find_path(box))), std::make_pair(e, std::string("/a/e")));
    EXPECT_STREQ(tree->find_path(static_cast<Fl_Widget*>(nullptr)), "");
    EXPECT_TRUE(tree->add_branch("/a", "f")->is_branch() && tree->add_branch("/g")->is_branch());
    EXPECT_TRUE(tree->add_leaf("/h/")->is_leaf());
    EXPECT_STREQ(tree->add_leaf("/k\\")->label(), "k");
    EXPECT_EQ(tree->add("/a", "b/z")->parent(), b);
    // An escaped slash belongs to the name.
    Node* n = tree->add("a\\/b");
    EXPECT_EQ(std::make_pair(std::string(n->label()), tree->find("/a\\/b")), std::make_pair(std::string("a/b"), n));
    EXPECT_STREQ(tree->add("/x\\/y/z")->parent()->label(), "x/y");
    // What cannot be added gives null.
    struct { const char* path; bool duplicates; bool added; } cases[] = {
        {"/a/b/c", true, true},     // a second leaf of that name
        {"/a/b/c", false, false},   // refused without duplicates
        {"/a/b", true, false},      // a leaf named like a branch
        {"/a/b/c/x", true, false},  // a leaf in the middle of a path
        {"", true, false}, {"/", true, false}, {nullptr, true, false},
    };
    for (const auto& t : cases) {
        tree->duplicateLeavesAllowed(t.duplicates);
        EXPECT_EQ(tree->add(t.path) != nullptr, t.added) << (t.path ? t.path : "null") << " " << t.duplicates;
    }
    EXPECT_EQ(std::make_tuple(tree->find_number("/a/b/c"), tree->find_number("/no/c"), tree->find_number(""),
                              tree->find_number("/a/b")),
              std::make_tuple(2, 0, 0, 1));
    Node* first = tree->find("/a/b/c");
    Node* second = tree->find_next("/a/b/c", first);
    EXPECT_TRUE(second && second != first);
    EXPECT_EQ(tree->find_next("/a/b/c", second), nullptr);
}

TEST_F(FluTreeBrowser, InsertionModesOrderChildrenAndPositionsMoveThem) {
    struct { int mode; const char* order; } cases[] = {
        {Tree::InsertFront, "c a b"}, {Tree::InsertBack, "b a c"},
        {Tree::InsertSorted, "a b c"}, {Tree::InsertSortedReverse, "c b a"},
    };
    for (const auto& t : cases) {
        tree->clear();
        tree->insertion_mode(t.mode);
        for (const char* name : {"b", "a", "c"}) tree->add(name);
        EXPECT_EQ(children(tree->root_node()), t.order) << t.mode;
        EXPECT_STREQ(tree->find("/a")->label(), "a") << t.mode;
    }
    tree->insertion_mode(Tree::InsertSorted);
    tree->insertion_mode(7);
    EXPECT_EQ(tree->insertion_mode(), Tree::InsertSorted);
    Node* root = tree->root_node();
    // In a sorted mode an insertion keeps the order that the searches rely on.
    root->insert_branch("/bb", 0);
    root->insert_leaf("/aa", 3);
    EXPECT_EQ(children(root), "a aa b bb c");
    tree->add("/bb/x");
    EXPECT_EQ(tree->find("/bb")->children(), 1);

    tree->clear();
    tree->insertion_mode(Tree::InsertBack);
    for (const char* name : {"a", "b", "c"}) tree->add(name);
    root->insert("/x", 1);
    root->insert("/y", 99);
    root->insert_branch("/z", -4);
    EXPECT_EQ(children(root), "z a x b c y");
    EXPECT_TRUE(tree->find("/z/")->is_branch());
    EXPECT_TRUE(tree->find("/c")->move(0));
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
    EXPECT_FALSE(Node::swap(a, a2) || Node::swap(a2, a));
    struct { Node* n; int where; Node* target; } refused[] = {
        {a, Tree::MoveAfter, a2}, {a, Tree::MoveBefore, a1}, {a, Tree::MoveInside, a1},
        {a, Tree::MoveBefore, root}, {a, Tree::MoveInside, leaf}, {root, Tree::MoveInside, a},
    };
    for (const auto& m : refused) EXPECT_FALSE(Node::move(m.n, m.where, m.target)) << m.n->label() << m.where;
    EXPECT_STREQ(tree->find_path(a2->id()), "/a/a1/a2");
    EXPECT_TRUE(Node::move(a2, Tree::MoveAfter, root));  // after the root: into it
    EXPECT_EQ(children(root), "a2 a b");
    EXPECT_TRUE(Node::move(a2, Tree::MoveAfter, leaf));
    b->open(true);
    EXPECT_TRUE(Node::move(a1, Tree::MoveAfter, b));  // after an open branch: its first child
    EXPECT_FALSE(Node::move(a1, Tree::MoveAfter, b));
    EXPECT_EQ(children(b), "a1 leaf a2");
    EXPECT_TRUE(Node::swap(a, leaf));
    EXPECT_EQ(children(root), "leaf b");
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

TEST_F(FluTreeBrowser, MovesStayAmongSiblingsWhenAsked) {
    tree->insertion_mode(Tree::InsertBack);
    Node* root = tree->root_node();
    Node* a = tree->add("/a/");
    Node* a1 = tree->add("/a/a1");
    Node* s = tree->add("/a/s/");
    tree->add("/a/s/s1");
    Node* a2 = tree->add("/a/a2");
    Node* b = tree->add("/b/");
    Node* b1 = tree->add("/b/b1");
    EXPECT_FALSE(tree->moveOnlySameGroup());
    struct { Node* n; int where; Node* target; bool anywhere, siblings; } moves[] = {
        {a2, Tree::MoveBefore, a1, true, true},
        {a1, Tree::MoveAfter, a2, true, true},
        {a1, Tree::MoveAfter, s, true, true},    // s closed: after it
        {a1, Tree::MoveInside, s, true, false},
        {a1, Tree::MoveInside, a, true, false},  // its own parent, but into it
        {a1, Tree::MoveBefore, b1, true, false},
        {a1, Tree::MoveBefore, b, true, false},
        {b, Tree::MoveAfter, root, true, false},  // after the root: into it
    };
    for (bool siblings : {false, true}) {
        tree->moveOnlySameGroup(siblings);
        for (const auto& m : moves)
            EXPECT_EQ(Node::isMoveValid(m.n, m.where, m.target), siblings ? m.siblings : m.anywhere)
                << m.n->label() << " " << m.where << " " << m.target->label() << " " << siblings;
    }
    s->open(true);  // after an open branch: before its first child, under it
    EXPECT_FALSE(Node::move(a1, Tree::MoveAfter, s));
    EXPECT_TRUE(a2->move(0));
    a->insert("/x", 1);
    EXPECT_EQ(children(a), "a2 x a1 s");
    tree->moveOnlySameGroup(false);
    EXPECT_TRUE(Node::move(a1, Tree::MoveAfter, s));
    EXPECT_EQ(children(s), "a1 s1");
}

TEST_F(FluTreeBrowser, WidgetsFollowTheirNodesAndDieExactlyOnce) {
    tree->insertion_mode(Tree::InsertBack);
    CountedBox* box = new CountedBox;
    Node* moved = tree->add("/old/moved", box);
    tree->add("/old/other", new CountedBox);
    tree->add("/new/");
    tree->add("/swapped/s", new CountedBox);
    tree->add("/keep/k", new CountedBox);
    ASSERT_TRUE(Node::move(moved, Tree::MoveInside, tree->find("/new/")));
    ASSERT_TRUE(Node::swap(tree->find("/swapped/s"), tree->find("/old/other")));
    EXPECT_EQ(tree->remove("/old/"), 1u);
    EXPECT_EQ(liveBoxes, 3);  // the moved widget and the swapped one survive their old group
    moved->widget(box);       // its own widget again: kept
    EXPECT_EQ(tree->remove(box), moved->id());
    EXPECT_EQ(liveBoxes, 2);
    CountedBox* rootBox = new CountedBox;
    tree->set_root("top", rootBox);
    EXPECT_EQ(tree->remove(rootBox) + tree->remove(0u) + tree->remove("/missing") +
                  tree->remove(static_cast<Fl_Widget*>(nullptr)),
              0u);
    tree->find("/swapped/")->widget(new CountedBox);
    tree->clear();
    EXPECT_EQ(std::make_tuple(liveBoxes, tree->root_node()->children(), std::string(tree->root_label()),
                              tree->last_reason()),
              std::make_tuple(0, 0, std::string(), int(Tree::ReasonNone)));
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
    EXPECT_EQ(std::make_tuple(tree->get_selected(0), tree->get_selected(1), tree->get_selected(2), tree->get_selected(3)),
              std::make_tuple(none, x, y, none));
    a->unselect_all(y);
    a->open(true);
    a->open(true);
    a->open(false);
    EXPECT_EQ(calls, (Calls{{Tree::ReasonSelected, "x"}, {Tree::ReasonSelected, "y"}, {Tree::ReasonUnselected, "x"},
                            {Tree::ReasonOpened, "a"}, {Tree::ReasonClosed, "a"}}));
    tree->select_all();
    EXPECT_EQ(std::make_pair(tree->num_selected(), tree->get_selected(1)), std::make_pair(4, tree->root_node()));
    calls.clear();
    tree->when(FL_WHEN_NOT_CHANGED);
    x->select(true);
    tree->when(FL_WHEN_RELEASE);
    y->select(false);
    y->select(true);
    tree->when(FL_WHEN_NEVER);
    x->select(false);
    EXPECT_EQ(calls, (Calls{{Tree::ReasonSelected, "x"}, {Tree::ReasonUnselected, "y"}}));
    EXPECT_TRUE(y->selected() && !x->selected());
}

TEST_F(FluTreeBrowser, RemovedNodesLeaveNoReferenceBehind) {
    tree->oneBranchOpen(true);
    Node* a = tree->add("/a/");  // no children: nothing else to clear the references
    Node* b = tree->add("/b/");
    tree->add("/b/in");
    a->open(true);
    tree->set_hilighted(a);
    tree->remove("/a/");
    EXPECT_EQ(std::make_pair(tree->get_hilighted(), tree->last_node()), std::make_pair(none, none));
    b->open(true);  // the last opened branch is gone: nothing to close
    tree->add("/b/c/d");
    tree->find("/b/c/")->open(true);
    EXPECT_TRUE(b->open()) << "an ancestor stays open";
    b->select(true);
    b->active(false);
    EXPECT_FALSE(b->selected() || b->open() || b->active());
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
    for (Node* n = leaf; n; n = n->previous()) order += std::string(n->label()) + ".";
    EXPECT_EQ(order, "a a1 b b1 leaf leaf.b1.b.a1.a..");
    const std::vector<Node*> got = {root->last(), root->first_leaf(), a1->next_branch(), b->next_leaf(),
                                    leaf->previous_branch(), leaf->previous_leaf(), root->last_branch(),
                                    b->last_leaf(), a->next_sibling(), b->previous_sibling(), a->previous_sibling(),
                                    root->child(2), root->child(-1)};
    EXPECT_EQ(got, (std::vector<Node*>{leaf, a1, b, leaf, b1, a1, b1, leaf, b, a, none, none, none}));
    EXPECT_EQ(std::make_pair(root->index(), int(leaf->depth())), std::make_pair(-1, 3));
    EXPECT_TRUE(leaf->is_ancestor(b) && !b->is_ancestor(leaf) && b->is_descendent(leaf) && !leaf->is_descendent(b));
    tree->set_root("top");
    ::testing::internal::CaptureStdout();
    tree->print();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "[top]\n  [a]\n      a1\n  [b]\n    [b1]\n        leaf\n");
}

TEST_F(FluTreeBrowser, AutoBranchesFollowChildren) {
    tree->auto_branches(true);
    Node* n = tree->add("/n");
    EXPECT_TRUE(n->is_leaf());
    tree->add("/n/child");
    EXPECT_TRUE(n->is_branch());
    EXPECT_EQ(n->label_font(), FL_HELVETICA_BOLD);  // a branch's defaults now
    EXPECT_STREQ(tree->find_path(n->id()), "/n/");
    tree->remove("/n/child");
    EXPECT_EQ(std::make_pair(n->is_leaf(), n->label_font()), std::make_pair(true, FL_HELVETICA));
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
    EXPECT_TRUE(leaf->row_height() < 40 && branch->row_height() < 40);  // not their kind's icons
    branch->collapse_icons(&tall, &tall);
    other->branch_icons(&tall, nullptr);
    leaf->leaf_icon(&tall);
    tree->resize(0, 0, 300, 200);
    EXPECT_EQ(std::make_tuple(branch->row_height(), leaf->row_height(), other->row_height()),
              std::make_tuple(40, 40, 40));  // other: its closed icon
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
    t->root_node()->always_open(true);
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
    t->root_label("Param\351trage");
    t->root_node()->branch_icons(&computer, &computer);
    const char* entries[][2] = {{"Fontes", "LettresNorm"}, {"Fontes", "Aide"}, {"Couleurs", "Fond"}, {"Fontes", "Titre"}};
    std::vector<Node*> leaves;
    for (auto& e : entries)
        leaves.push_back(t->add(("/pea1/" + std::string(e[0]) + "/" + e[1]).c_str(), new Fl_Box(0, 0, 80, 20), true));
    qvtest::showAndDraw(win);
    EXPECT_EQ(children(t->find("/pea1/")) + "; " + children(t->find("/pea1/Fontes/")),
              "Fontes Couleurs; LettresNorm Aide Titre");
    int previousBottom = 0;
    for (Node* n = t->root_node(); n; previousBottom = n->row_top() + n->row_height(), n = n->next())
        EXPECT_GE(n->row_top(), previousBottom) << n->label();
    for (Node* leaf : leaves) {
        Fl_Widget* w = leaf->widget();
        EXPECT_TRUE(w->visible() && w->y() >= leaf->row_top() && w->y() + w->h() <= leaf->row_top() + leaf->row_height());
        EXPECT_GT(w->x(), 100 + 2 * 15);  // indented twice, after its label
    }
    leaves[2]->select(true);
    EXPECT_EQ(chosen, "/pea1/Couleurs/Fond");
    // The root has no expander: a click at its start selects it.
    qvtest::click(&win, t->x() + 5, t->root_node()->row_top() + 5);
    EXPECT_EQ(chosen, "/");
}

TEST_F(FluTreeBrowser, RedirectedWidgetCallbacksReachBothTheWidgetAndTheTree) {
    int own = 0;
    Fl_Box* plain = new Fl_Box(0, 0, 10, 10);
    Fl_Box* redirected = new Fl_Box(0, 0, 10, 10);
    for (Fl_Box* b : {plain, redirected}) b->callback([](Fl_Widget*, void* d) { ++*static_cast<int*>(d); }, &own);
    tree->add("/plain", plain);
    Tree::USE_FLU_WIDGET_CALLBACK = true;
    tree->add("/redirected", redirected);
    Tree::USE_FLU_WIDGET_CALLBACK = false;
    plain->do_callback();
    redirected->do_callback();
    EXPECT_EQ(own, 2);
    EXPECT_EQ(calls, (Calls{{Tree::ReasonWidgetCallback, "redirected"}}));
    // A widget whose own callback removes its node: nothing is reported for
    // it, and it dies once it has called back (the toolkit may be inside it).
    CountedBox* doomed = new CountedBox;
    doomed->callback([](Fl_Widget* w, void* t) { static_cast<Tree*>(t)->remove(w); }, tree.get());
    Tree::USE_FLU_WIDGET_CALLBACK = true;
    Node* n = tree->add("/doomed", doomed);
    Tree::USE_FLU_WIDGET_CALLBACK = false;
    const unsigned id = n->id();
    doomed->do_callback();
    EXPECT_EQ(std::make_tuple(liveBoxes, doomed->parent(), std::string(tree->find_path(id)), calls.size()),
              std::make_tuple(1, static_cast<Fl_Group*>(nullptr), std::string(), size_t(1)));
    Fl::check();
    EXPECT_EQ(liveBoxes, 0);
}

// A long list finds a name without a scan of the siblings. After adds at the
// front or the back, moves, swaps, renames and removals, a path still finds
// the first child of its name, an add below a leaf or of a leaf named like a
// branch is still refused, and the children keep their order.
TEST_F(FluTreeBrowser, LongListsKeepTheirOrderAndFindTheFirstChildOfAName) {
    for (int mode : {Tree::InsertFront, Tree::InsertBack}) {
        SCOPED_TRACE(mode);
        tree->clear();
        tree->insertion_mode(mode);
        Node* b = tree->add_branch("/b");
        std::vector<Node*> model;
        auto firstNamed = [&](const std::string& name) -> Node* {
            for (Node* n : model)
                if (name == n->label()) return n;
            return nullptr;
        };
        unsigned seed = 7;
        auto pick = [&](unsigned n) { return (seed = seed * 1103515245u + 12345u) / 65536u % n; };
        for (int step = 0; step < 2500; ++step) {
            const std::string name = "n" + std::to_string(pick(40));
            Node* first = firstNamed(name);
            const unsigned what = pick(10);
            if (what < 4 || (model.empty() && what < 8)) {
                const bool branch = what == 3;
                Node* added = tree->add(("/b/" + name + (branch ? "/" : "")).c_str());
                Node* expected = first && first->is_branch() ? (branch ? first : nullptr) : first && branch ? nullptr : added;
                ASSERT_EQ(added, expected) << step;
                if (added && added != first) model.insert(mode == Tree::InsertFront ? model.begin() : model.end(), added);
            } else if (what < 8 && !model.empty()) {
                const size_t i = pick(unsigned(model.size()));
                Node* n = model[i];
                if (what == 4) {
                    ASSERT_EQ(tree->remove(n->id()), n->id());
                    model.erase(model.begin() + long(i));
                } else if (what == 5) {
                    const int pos = int(pick(unsigned(model.size()) + 2)) - 1;
                    Node* target = model[size_t(std::max(0, std::min(pos, int(model.size()) - 1)))];
                    EXPECT_EQ(n->move(pos), target != n);
                    if (target != n) {
                        model.erase(model.begin() + long(i));
                        model.insert(std::find(model.begin(), model.end(), target), n);
                    }
                } else if (what == 6) {
                    const size_t j = pick(unsigned(model.size()));
                    EXPECT_EQ(Node::swap(n, model[j]), i != j);
                    std::swap(model[i], model[j]);
                } else {
                    n->label(name.c_str());
                }
            }
            ASSERT_EQ(b->children(), int(model.size())) << step;
            for (size_t i = 0; i < model.size(); ++i) ASSERT_EQ(b->child(int(i)), model[i]) << step << " " << i;
            for (int k = 0; k < 40; ++k) {
                const std::string probe = "n" + std::to_string(k);
                ASSERT_EQ(tree->find(("/b/" + probe).c_str()), firstNamed(probe)) << step << " " << probe;
            }
        }
        EXPECT_GT(model.size(), 100u);
        // Three leaves of one name among many: as each first one goes, the
        // next of that name is found.
        tree->clear();
        for (int i = 0; i < 20; ++i) tree->add(("/b/f" + std::to_string(i)).c_str());
        ASSERT_NE(tree->find("/b/f0"), nullptr);
        std::vector<Node*> named;
        for (int i = 0; i < 2; ++i) {
            Node* x = tree->add("/b/x");
            named.insert(mode == Tree::InsertFront ? named.begin() : named.end(), x);
        }
        // And one at the other end.
        Node* last = tree->find("/b/")->insert("x", mode == Tree::InsertFront ? 99 : 0);
        named.insert(mode == Tree::InsertFront ? named.end() : named.begin(), last);
        while (!named.empty()) {
            ASSERT_EQ(tree->find("/b/x"), named.front());
            tree->remove(named.front()->id());
            named.erase(named.begin());
        }
        EXPECT_EQ(tree->find("/b/x"), nullptr);
    }
}
