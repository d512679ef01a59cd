// The tree shown in a window: rows of 20 pixels (unlabelled 20-pixel boxes,
// so that fonts play no part), scrollbars, mouse, keys and drawing.

#include "widgets/Flu_Tree_Browser.h"

#include <gtest/gtest.h>

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_RGB_Image.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

#include "support/WidgetEvents.h"
#include "support/WidgetPixels.h"

#include <algorithm>
#include <functional>
#include <cstdlib>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

using Tree = Flu_Tree_Browser;
using Node = Flu_Tree_Browser::Node;
using Calls = std::vector<std::pair<int, std::string>>;

namespace {

const int ROW = 20;
int drawnBoxes = 0;

struct RowBox : Fl_Box {
    explicit RowBox(int w = 40) : Fl_Box(0, 0, w, ROW) { box(FL_NO_BOX); }
    void draw() override { ++drawnBoxes; }
};

class FluTreeBrowserView : public ::testing::Test {
protected:
    void SetUp() override {
        drawnBoxes = 0;
        win.reset(new Fl_Window(0, 0, 320, 260));
        tree = new Tree(0, 0, 200, 200);
        win->end();
        tree->rootShown(false);
        tree->insertion_mode(Tree::InsertBack);
        tree->callback(
            [](Fl_Widget* w, void* data) {
                Tree* t = static_cast<Tree*>(w);
                static_cast<Calls*>(data)->emplace_back(t->last_reason(), t->last_node()->label());
            },
            &calls);
    }
    Node* leaf(const std::string& path, int width = 40) { return tree->add(path.c_str(), new RowBox(width), false); }
    void leaves(int n, int width = 40) {
        for (int i = 0; i < n; ++i) leaf("/l" + std::to_string(i), width);
    }
    void show() {
        qvtest::showAndDraw(*win);
        tree->take_focus();
    }
    void redraw() {
        tree->redraw();
        qvtest::flushDrawing();
    }
    int clickRow(int row, int modifiers = 0) { return qvtest::click(win.get(), 100, row * ROW + ROW / 2, 1, modifiers); }
    int key(int k, int modifiers = 0) { return qvtest::key(win.get(), k, modifiers); }
    std::string selectedLabels() {
        std::string out;
        for (int i = 1; Node* n = tree->get_selected(i); ++i) out += std::string(n->label()) + " ";
        return out;
    }
    std::unique_ptr<Fl_Window> win;
    Tree* tree = nullptr;
    Calls calls;
};

}  // namespace

TEST_F(FluTreeBrowserView, ScrollbarsAndCornerShowOnlyWhenTheContentNeedsThem) {
    struct Case {
        Fl_Boxtype box;
        int rows, width;
        bool h, v;
    } cases[] = {
        {FL_FLAT_BOX, 10, 40, false, false},   // exactly the height
        {FL_DOWN_FRAME, 10, 40, false, true},  // the frame takes 4 pixels
        {FL_FLAT_BOX, 9, 250, true, false},    // 180 pixels fit above the bar
        {FL_FLAT_BOX, 10, 250, true, true},
        {FL_FLAT_BOX, 20, 175, true, true},    // the vertical bar leaves too little width
        {FL_FLAT_BOX, 20, 140, false, true},
        {FL_DOWN_FRAME, 3, 179, false, false},  // 17 + 179 pixels: the width inside the frame
        {FL_DOWN_FRAME, 3, 180, true, false},
        {FL_DOWN_FRAME, 20, 168, true, true},  // 185 pixels: wider than the framed view less the bar
    };
    show();
    for (const Case& c : cases) {
        tree->clear();
        tree->box(c.box);
        for (int i = 0; i < c.rows; ++i) leaf("/r" + std::to_string(i), c.width);
        redraw();
        const int edge = 200 - Fl::box_dx(c.box) - 15;  // bars inside the frame
        Fl_Widget *h = tree->hscrollbar(), *v = tree->vscrollbar(), *corner = tree->corner_box();
        EXPECT_EQ(std::make_tuple(h->visible() != 0, v->visible() != 0, corner->visible() != 0),
                  std::make_tuple(c.h, c.v, c.h && c.v))
            << c.box << " " << c.rows << " x " << c.width;
        if (c.h && c.v) {
            EXPECT_EQ(std::make_tuple(v->x(), v->y(), corner->x(), corner->y()),
                      std::make_tuple(edge, Fl::box_dy(c.box), edge, edge));
        }
    }
    tree->clear();
    tree->box(FL_FLAT_BOX);
    leaves(20, 140);
    redraw();
    // 20 rows of 20 pixels in a view of 200: every pixel reachable.
    EXPECT_EQ(std::make_pair(int(tree->vscrollbar()->maximum()), tree->vscrollbar()->h()), std::make_pair(200, 200));
    tree->resize(0, 0, 200, 40);  // no room for a track between the arrows
    redraw();
    EXPECT_FLOAT_EQ(tree->vscrollbar()->slider_size(), 1.0f);
}

TEST_F(FluTreeBrowserView, ClicksSelectRowsAndRangesScrolledOrNot) {
    leaves(30);
    show();
    clickRow(2, FL_SHIFT);  // nothing hilighted yet: the row alone
    clickRow(4);
    EXPECT_EQ(calls, (Calls{{Tree::ReasonSelected, "l2"}, {Tree::ReasonHilighted, "l2"}, {Tree::ReasonUnselected, "l2"},
                            {Tree::ReasonSelected, "l4"}, {Tree::ReasonUnhilighted, "l2"}, {Tree::ReasonHilighted, "l4"}}));
    clickRow(1, FL_SHIFT);
    EXPECT_EQ(selectedLabels(), "l1 l2 l3 l4 ");
    clickRow(2, FL_CTRL);
    EXPECT_EQ(selectedLabels(), "l1 l3 l4 ");
    EXPECT_STREQ(tree->get_hilighted()->label(), "l2");
    clickRow(0);
    tree->vscrollbar()->value(12 * ROW);
    redraw();
    clickRow(3, FL_SHIFT);  // l15, with l0 scrolled out of view
    EXPECT_EQ(std::make_pair(tree->num_selected(), std::string(tree->get_selected(16)->label())),
              std::make_pair(16, std::string("l15")));
    key(FL_Down);  // the range is over: the keys work
    key(' ');
    EXPECT_EQ(selectedLabels(), "l16 ");
    key(' ', FL_CTRL);
    EXPECT_EQ(tree->num_selected(), 0);
    // Below the last row: nothing selected, nothing hilighted.
    tree->clear();
    leaves(3);
    redraw();
    clickRow(1);
    calls.clear();
    EXPECT_EQ(clickRow(6), 1);
    EXPECT_EQ(calls, (Calls{{Tree::ReasonUnselected, "l1"}, {Tree::ReasonUnhilighted, "l1"}}));
}

TEST_F(FluTreeBrowserView, KeysMoveTheHilightScrollItIntoViewAndOpenBranches) {
    tree->box(FL_DOWN_FRAME);
    tree->add_branch("/a", new RowBox, false);
    leaf("/a/a1");
    leaf("/a/a2");
    tree->add_branch("/b", new RowBox, false);
    for (int i = 0; i < 12; ++i) leaf("/b/b" + std::to_string(i));
    leaf("/z");
    show();
    Node* a = tree->find("/a/");
    // Expander, gap, default folder icon, gap, then the widget.
    EXPECT_EQ(std::make_pair(a->widget()->x(), tree->find("/z")->widget()->x()), std::make_pair(2 + 39, 2 + 17));
    key(FL_Home);
    Node* const home = tree->get_hilighted();
    key(FL_Up);  // the top row: nothing above
    EXPECT_EQ(std::make_pair(home, tree->get_hilighted()), std::make_pair(a, a));
    key(FL_Enter);
    key(FL_Down);
    key(FL_Down);
    key(FL_Up);
    EXPECT_STREQ(tree->get_hilighted()->label(), "a1");
    calls.clear();
    key(FL_Up);
    key(FL_Left);
    key(FL_Left);
    key(FL_Right);
    EXPECT_EQ(calls, (Calls{{Tree::ReasonUnhilighted, "a1"}, {Tree::ReasonHilighted, "a"}, {Tree::ReasonClosed, "a"},
                            {Tree::ReasonOpened, "a"}}));
    tree->find("/b/")->open(true);
    // rows a a1 a2 b b0..b4: b4 is the last whole row above the frame
    tree->set_hilighted(tree->find("/b/b4"));
    redraw();
    EXPECT_EQ(tree->vscrollbar()->value(), 0);
    win->begin();
    Fl_Button* next = new Fl_Button(220, 0, 60, 20, "next");
    win->end();
    key(FL_Tab);  // not the tree's: the window moves the focus on
    EXPECT_EQ(Fl::focus(), next);
    tree->take_focus();
    key(FL_Down);
    redraw();
    Fl_Widget* b5 = tree->find("/b/b5")->widget();
    EXPECT_EQ(b5->y() + ROW, 200 - 2);  // the bottom of the view, above the frame
    key(FL_End);
    EXPECT_EQ(tree->get_hilighted(), tree->find("/z"));
    EXPECT_EQ(tree->vscrollbar()->value(), tree->vscrollbar()->maximum());
    tree->set_hilighted(tree->find("/a/a1"));
    redraw();
    EXPECT_EQ(tree->find("/a/a1")->widget()->y(), 2);
    key('a', FL_CTRL);
    EXPECT_EQ(tree->num_selected(), 18);  // the root too
}

TEST_F(FluTreeBrowserView, DoubleClicksToggleBranchesOrReportThemAndReleaseCanSelect) {
    tree->add_branch("/a", new RowBox, false);
    leaf("/a/a1");
    leaf("/x");
    show();
    Node* a = tree->find("/a/");
    struct { int x; bool open, selected; } clicks[] = {
        {3, true, false},    // the left edge of its expander
        {17, false, false},  // its right edge
        {18, false, true},   // past it: a selection
    };
    for (const auto& c : clicks) {
        qvtest::click(win.get(), c.x, 10);
        EXPECT_EQ(std::make_pair(a->open(), a->selected()), std::make_pair(c.open, c.selected)) << c.x;
    }
    qvtest::doubleClick(win.get(), 100, 10);
    EXPECT_TRUE(a->open());
    // An empty branch has an expander unless told otherwise; open, a minus.
    Node* empty = tree->add_branch("/e", new RowBox, false);
    tree->connectorsShown(false);
    redraw();
    qvtest::click(win.get(), 10, 70);
    redraw();
    EXPECT_TRUE(empty->open());
    EXPECT_EQ(qvtest::pixelAt(*win, 10, 68), qvtest::rgbOf(FL_WHITE));  // no upright of a plus
    empty->open(false);
    redraw();
    EXPECT_NE(qvtest::pixelAt(*win, 10, 68), qvtest::rgbOf(FL_WHITE));  // closed again: a plus
    tree->emptyBranchExpander(false);
    redraw();
    qvtest::click(win.get(), 10, 70);
    EXPECT_FALSE(empty->open());
    tree->remove("/e/");
    tree->emptyBranchExpander(true);
    tree->leavesShown(false);  // a branch of leaves only: no expander to click
    redraw();
    qvtest::click(win.get(), 10, 10);
    EXPECT_TRUE(a->open());
    tree->leavesShown(true);
    tree->doubleClickToggles(false);
    redraw();
    calls.clear();
    qvtest::doubleClick(win.get(), 100, 10);
    qvtest::doubleClick(win.get(), 100, 50);
    EXPECT_TRUE(a->open());
    EXPECT_EQ(Calls(calls.end() - 1, calls.end()), (Calls{{Tree::ReasonDoubleClick, "x"}}));
    EXPECT_EQ(std::count(calls.begin(), calls.end(), std::make_pair(int(Tree::ReasonDoubleClick), std::string("a"))), 1);
    // A range over a branch row takes the branch too.
    qvtest::click(win.get(), 100, 10, 1, FL_SHIFT);
    EXPECT_EQ(selectedLabels(), "a a1 x ");
    // A drag that follows a click on an expander selects nothing.
    tree->unselect_all();
    qvtest::push(win.get(), 10, 10);
    EXPECT_EQ(qvtest::drag(tree, 100, 30), 0);
    qvtest::release(win.get(), 100, 30);
    EXPECT_EQ(tree->num_selected(), 0);
    a->open(true);
    tree->when(FL_WHEN_RELEASE);
    calls.clear();
    qvtest::push(win.get(), 100, 50);
    qvtest::release(win.get(), 100, 30);  // over a row that is not selected: no report
    qvtest::push(win.get(), 100, 30);
    EXPECT_TRUE(tree->find("/a/a1")->selected());
    for (auto& c : calls) EXPECT_NE(c.first, Tree::ReasonSelected);
    qvtest::release(win.get(), 100, 30);
    EXPECT_EQ(calls.back(), std::make_pair(int(Tree::ReasonSelected), std::string("a1")));
}

TEST_F(FluTreeBrowserView, SingleModeKeepsOneRowAndDragsFollowTheMouse) {
    tree->selectionMode(Tree::SelectSingle);
    leaves(6);
    show();
    clickRow(2);
    clickRow(3);
    tree->selectionFollowsHilight(true);
    key(FL_Down);
    EXPECT_EQ(selectedLabels(), "l4 ");
    tree->selectionFollowsHilight(false);
    qvtest::dragPath(win.get(), 100, 10, 100, 90);
    EXPECT_EQ(selectedLabels(), "l4 ");
    EXPECT_STREQ(tree->get_hilighted()->label(), "l4");
    clickRow(4, FL_CTRL);
    EXPECT_EQ(tree->num_selected(), 0);
    tree->selectionMode(Tree::SelectMultiple);
    qvtest::dragPath(win.get(), 100, 10, 100, 70);
    EXPECT_EQ(selectedLabels(), "l0 l1 l2 l3 ");
    EXPECT_STREQ(tree->get_hilighted()->label(), "l3");
    tree->selectionMode(Tree::SelectNone);
    clickRow(5);
    EXPECT_EQ(tree->num_selected(), 0);
    // The row under the moving pointer becomes the selection, silently.
    tree->selectionMode(Tree::SelectSingle);
    tree->selectUnderMouse(true);
    clickRow(0);
    qvtest::flushDrawing();
    calls.clear();
    qvtest::moveMouse(win.get(), 100, 2 * ROW + 5);
    EXPECT_EQ(std::make_pair(selectedLabels(), calls.size()), std::make_pair(std::string("l2 "), size_t(0)));
    EXPECT_EQ(qvtest::pixelAt(*win, 150, 2 * ROW + 5), qvtest::rgbOf(FL_SELECTION_COLOR));
}

// Space, or a Shift-click on the hilighted row itself, selects it; a branch
// so selected, or in a range, opens when asked; a leaf knows no double
// click there.
TEST_F(FluTreeBrowserView, SpaceAndShiftClickOnTheHilightedRowSelectIt) {
    tree->opensOnSelect(true);
    for (const char* b : {"/a/", "/b/"}) tree->add_branch(b, new RowBox, false);
    leaf("/a/a1");
    leaf("/b/b1");
    Node* z = leaf("/z");
    show();
    Node* a = tree->find("/a/");
    Node* b = tree->find("/b/");
    tree->set_hilighted(a);
    key(' ');
    EXPECT_TRUE(a->selected() && a->open());
    redraw();
    tree->set_hilighted(b);
    clickRow(2, FL_SHIFT);  // the hilighted row itself, below a and a1
    EXPECT_TRUE(b->selected() && b->open());
    // A range opens the branches it selects.
    a->open(false);
    redraw();
    tree->set_hilighted(z);
    clickRow(0, FL_SHIFT);
    EXPECT_TRUE(a->open());
    redraw();
    tree->set_hilighted(z);
    calls.clear();
    qvtest::push(win.get(), 100, z->row_top() + 5, 1, FL_SHIFT, 1);  // the second click of a double click
    qvtest::release(win.get(), 100, z->row_top() + 5, 1, FL_SHIFT);
    EXPECT_TRUE(z->selected());
    for (auto& c : calls) EXPECT_NE(c.first, Tree::ReasonDoubleClick);
}

TEST_F(FluTreeBrowserView, AnimationEndsShownHiddenOrWithoutFrames) {
    tree->animated(true);
    Node* a = tree->add_branch("/a", new RowBox, false);
    show();
    for (int i = 0; i < 5; ++i) leaf("/a/x" + std::to_string(i));  // not laid out yet
    auto wait = [&] {
        for (int i = 0; i < 200 && tree->animating(); ++i) Fl::wait(0.01);
        return tree->animating();
    };
    a->open(true);
    redraw();
    EXPECT_TRUE(tree->animating() && !wait()) << "the rows are measured before they move";
    redraw();
    EXPECT_EQ(tree->find("/a/x4")->widget()->y(), 5 * ROW);
    tree->hide();
    a->open(false);
    EXPECT_TRUE(tree->animating() && !wait()) << "a hidden tree ends its animation";
    tree->show();
    tree->frame_rate(0);
    a->open(true);
    EXPECT_TRUE(a->open() && !tree->animating());
    tree->frame_rate(100);
    a->open(false);
    tree->remove("/a/");
    EXPECT_FALSE(tree->animating());
}

TEST_F(FluTreeBrowserView, ClosingOrRemovingFromCodeHidesWidgetsAndLeavesNoOldPixels) {
    tree->box(FL_DOWN_FRAME);
    tree->add_branch("/a", new RowBox, false)->open(true);
    leaf("/a/x");
    leaf("/a/y");
    Node* a = tree->find("/a/");
    show();
    Fl_Widget* x = tree->find("/a/x")->widget();
    EXPECT_TRUE(x->visible());
    // The rows stay inside the frame.
    for (auto p : {std::make_pair(100, 0), std::make_pair(0, 10), std::make_pair(199, 10), std::make_pair(100, 199)})
        EXPECT_NE(qvtest::pixelAt(*win, p.first, p.second), qvtest::rgbOf(FL_WHITE)) << p.first << "," << p.second;
    a->open(false);
    qvtest::flushDrawing();
    EXPECT_FALSE(x->visible());
    a->open(true);
    tree->find("/a/y")->select(true);
    tree->row_colors(FL_YELLOW, FL_CYAN);  // shaded rows, even and odd
    redraw();
    EXPECT_EQ(qvtest::pixelAt(*win, 150, 2 + 10), qvtest::rgbOf(FL_YELLOW));
    EXPECT_EQ(qvtest::pixelAt(*win, 150, 2 + ROW + 10), qvtest::rgbOf(FL_CYAN));
    EXPECT_EQ(qvtest::pixelAt(*win, 150, 2 + 2 * ROW + 10), qvtest::rgbOf(FL_SELECTION_COLOR));
    tree->row_colors(FL_WHITE, FL_WHITE);
    tree->remove("/a/y");
    qvtest::flushDrawing();  // the tree asked for its own redraw
    EXPECT_EQ(qvtest::pixelAt(*win, 150, 2 + 2 * ROW + 10), qvtest::rgbOf(FL_WHITE));
    // Rows of labels only, without widgets to show or hide, drawn again all the same.
    tree->connectorsShown(false);
    Node* c = tree->add_branch("/c");
    Node* c1 = tree->add("/c/c1");
    c1->select(true);
    redraw();
    c->open(true);
    qvtest::flushDrawing();
    EXPECT_EQ(qvtest::pixelAt(*win, 150, c1->row_top() + c1->row_height() / 2), qvtest::rgbOf(FL_SELECTION_COLOR));
    c1->select(false);
    redraw();
    auto darkestInk = [&] {
        int darkest = 255;
        for (int y = c1->row_top(); y < c1->row_top() + c1->row_height(); ++y)
            for (int x = 2; x < 100; x += 1) darkest = std::min<int>(darkest, qvtest::pixelAt(*win, x, y).g);
        return darkest;
    };
    EXPECT_LT(darkestInk(), 64);
    c1->active(false);
    qvtest::flushDrawing();
    EXPECT_GT(darkestInk(), 90) << "the label drawn inactive";
    tree->remove("/c/");
    tree->find("/a/x")->select(true);
    tree->deactivate();
    redraw();
    EXPECT_EQ(qvtest::pixelAt(*win, 150, 2 + ROW + 10), qvtest::rgbOf(fl_inactive(FL_SELECTION_COLOR)));
}

TEST_F(FluTreeBrowserView, ScrollbarsMoveTheRowsAndIconsShapeThem) {
    tree->add_branch("/a", new RowBox, false)->open(true);
    leaf("/a/x", 400);
    leaves(20);
    Node* a = tree->find("/a/");
    show();
    Fl_Widget* x = tree->find("/a/x")->widget();
    const int left = x->x();
    Fl_Scrollbar* bar = tree->hscrollbar();
    qvtest::click(win.get(), bar->x() + bar->w() - 5, bar->y() + 7);  // its right arrow
    qvtest::flushDrawing();
    EXPECT_GT(bar->value(), 0);
    EXPECT_EQ(x->x(), left - int(bar->value()));
    static const unsigned char pixels[10 * 10 * 3] = {};
    Fl_RGB_Image narrow(pixels, 10, 10);
    const int widgetX = a->widget()->x();
    a->collapse_icons(&narrow, &narrow);
    redraw();
    EXPECT_EQ(a->widget()->x(), widgetX - 5);
    a->collapse_icons(nullptr, &narrow);  // either one missing: both defaults
    redraw();
    EXPECT_EQ(a->widget()->x(), widgetX);
    static const unsigned char widePixels[40 * 10 * 3] = {};
    Fl_RGB_Image wide(widePixels, 40, 10);
    const double widest = bar->maximum();
    tree->collapse_icons(&wide, &wide);  // the tree's own widen every leaf row: the range follows
    redraw();
    EXPECT_GT(bar->maximum(), widest);
    const double before = bar->maximum();
    tree->find("/a/x")->widget(new RowBox(600));  // a wider widget in place of the old one
    redraw();
    EXPECT_EQ(bar->maximum() - before, 200);
}

TEST_F(FluTreeBrowserView, ConnectorsJoinEachRowToItsBranch) {
    tree->connector_style(FL_BLACK, FL_SOLID, 1);
    leaves(3);
    show();
    const qvtest::Rgb black = qvtest::rgbOf(FL_BLACK), white = qvtest::rgbOf(FL_WHITE);
    // Below a hidden root the column is centred 10 pixels in (its folder icon's middle).
    struct { int x, y; bool line; } points[] = {
        {10, 5, false},   // the first row's line starts at its middle
        {10, 15, true}, {10, 45, true},
        {10, 55, false},  // the last row's line ends at its middle
        {16, 30, true},   // the arm toward the row, to the gap after the column
        {21, 30, true}, {22, 30, false},
        {16, 35, false},
    };
    for (const auto& p : points) EXPECT_EQ(qvtest::pixelAt(*win, p.x, p.y), p.line ? black : white) << p.x << "," << p.y;
    // A vertical gap: each line reaches up into the half of the gap above its row.
    tree->clear();
    tree->add_branch("/g", new RowBox, false)->open(true);
    Node* g1 = leaf("/g/g1");
    tree->vertical_gap(4);
    redraw();
    const int column = 15 + 2 + 10;  // below the expander, the middle of the folder icon
    EXPECT_EQ(std::make_pair(qvtest::pixelAt(*win, column, g1->row_top() - 2), qvtest::pixelAt(*win, column, g1->row_top() - 3)),
              std::make_pair(black, white));
    tree->vertical_gap(0);
    // A branch that is not the last carries its line past its children's rows.
    tree->clear();
    tree->add_branch("/a", new RowBox, false)->open(true);
    leaf("/a/a1");
    leaf("/a/a2");
    Node* b = leaf("/b", 180);
    static const unsigned char red[3] = {255, 0, 0};
    std::unique_ptr<Fl_Image> dot(Fl_RGB_Image(red, 1, 1).copy(10, 10));
    b->leaf_icon(dot.get());
    redraw();
    EXPECT_EQ(std::make_pair(qvtest::pixelAt(*win, 10, 30), qvtest::pixelAt(*win, 10, 50)), std::make_pair(black, black));
    // The leaf icon sits after the expander's room, centred on the row, then at its end.
    for (int iconX : {15 + 2 + 1, 15 + 2 + 180 + 1}) {
        EXPECT_EQ(qvtest::pixelAt(*win, iconX, 60 + 5), qvtest::rgbOf(FL_RED)) << iconX;
        EXPECT_EQ(qvtest::pixelAt(*win, iconX, 60 + 15), white) << iconX;
        b->icon_at_end(true);
        redraw();
    }
    EXPECT_EQ(b->widget()->x(), 15 + 2);
    // The icon and its gap widen the row past the view: 17 + 180 + 2 + 10.
    EXPECT_EQ(int(tree->hscrollbar()->maximum()), 209 - 200);
    // A shown root kept open has no expander: a line down from the middle of its icon.
    tree->clear();
    leaves(3);
    tree->rootShown(true);
    tree->root_node()->always_open(true);
    redraw();
    EXPECT_EQ(std::make_pair(qvtest::pixelAt(*win, 10, 15), qvtest::pixelAt(*win, 10, 25)), std::make_pair(black, black));
    // Its line starts at the middle of the icon: below a small one, it is the root's own.
    tree->root_node()->branch_icons(dot.get(), dot.get());
    redraw();
    const int rootH = tree->root_node()->row_height();
    EXPECT_EQ(std::make_pair(qvtest::pixelAt(*win, 5, rootH / 2 - 3), qvtest::pixelAt(*win, 5, rootH - 1)),
              std::make_pair(qvtest::rgbOf(FL_RED), black));
}

// The keyboard goes to the tree when no widget of its rows uses a key, and
// with a click on a row in single selection too.
TEST_F(FluTreeBrowserView, TheTreeTakesTheKeysNoWidgetUses) {
    leaves(3);
    Fl_Button* button = new Fl_Button(0, 0, 60, ROW, "b");
    tree->add("/button", button, false);
    show();
    for (int mode : {Tree::SelectMultiple, Tree::SelectSingle}) {
        tree->selectionMode(mode);
        qvtest::clickWidget(button);
        ASSERT_EQ(Fl::focus(), button);
        clickRow(1);
        EXPECT_EQ(Fl::focus(), tree) << mode;
    }
    qvtest::clickWidget(button);
    key(FL_Up);  // no other widget to go to: the tree's
    EXPECT_EQ(Fl::focus(), tree);
    EXPECT_STREQ(tree->get_hilighted()->label(), "l0");
}

// The connector through an open branch's column passes under its expander:
// its sign reads "-", not "+". The expander's upright stroke would lie 5 to
// 9 pixels below its top, centred in the column.
TEST_F(FluTreeBrowserView, OpenBranchesShowAMinusOverTheirConnectors) {
    tree->connector_style(FL_BLACK, FL_SOLID, 1);
    tree->add_branch("/a", new RowBox, false)->open(true);
    leaf("/a/a1");
    tree->add_branch("/z", new RowBox, false)->open(true);  // the last: its column carries no line
    tree->add_branch("/z/b1", new RowBox, false)->open(true);
    leaf("/z/b1/c");
    leaf("/z/b2");
    show();
    const qvtest::Rgb black = qvtest::rgbOf(FL_BLACK), white = qvtest::rgbOf(FL_WHITE);
    struct { const char* path; int cx; } branches[] = {
        {"/a/", 10},       // below the hidden root: the middle of its 20-pixel folder column
        {"/z/b1/", 27},    // indented by 15 + 2
    };
    for (const auto& b : branches) {
        Node* n = tree->find(b.path);
        const int top = n->row_top() + ROW / 2 - 7;  // the expander's, centred on the row
        EXPECT_EQ(std::make_pair(qvtest::pixelAt(*win, b.cx, top + 5), qvtest::pixelAt(*win, b.cx, top + 9)),
                  std::make_pair(white, white)) << b.path;
        // The line goes on below the expander, toward the next sibling.
        EXPECT_EQ(qvtest::pixelAt(*win, b.cx, n->row_top() + ROW - 1), black) << b.path;
        n->open(false);
        redraw();
        EXPECT_EQ(std::make_pair(qvtest::pixelAt(*win, b.cx, top + 5), qvtest::pixelAt(*win, b.cx, top + 9)),
                  std::make_pair(black, black)) << b.path;
        n->open(true);
        redraw();
    }
}

// Whatever the scroll position, exactly the rows that reach into the view
// are drawn, in their places; every other row's widget is out of the view.
TEST_F(FluTreeBrowserView, ScrolledDrawsPlaceExactlyTheRowsInView) {
    for (int b = 0; b < 8; ++b) {
        const std::string branch = "/b" + std::to_string(b);
        tree->add_branch(branch.c_str(), new RowBox, false)->open(b % 3 != 1);
        for (int l = 0; l < 6; ++l) leaf(branch + "/l" + std::to_string(l));
    }
    tree->vertical_gap(3);  // rows 23 pixels apart
    show();
    const int maximum = int(tree->vscrollbar()->maximum());
    for (int v : {0, 7, 44, 133, 260, maximum}) {  // 44: in the gap after the second row
        tree->vscrollbar()->value(v);
        drawnBoxes = 0;
        redraw();
        int expected = 0;
        for (Node* n = tree->root_node()->next(); n; n = n->next()) {
            const bool shown = n->parent()->open() || n->parent() == tree->root_node();
            const int top = n->row_top() - v;
            const bool inView = shown && top + ROW >= 0 && top <= 200;
            expected += shown && top + ROW > 0 && top < 200;  // rows with a pixel in the clip
            if (inView)
                EXPECT_EQ(n->widget()->y(), top) << n->label() << " at " << v;
            else
                EXPECT_LT(n->widget()->y(), -ROW) << n->label() << " at " << v;
        }
        EXPECT_EQ(drawnBoxes, expected) << v;
    }
}

TEST_F(FluTreeBrowserView, LabelsAndWidgetsTakeTheRowsLookWhenAsked) {
    Node* n = tree->add("/W", new RowBox, true);
    n->auto_color(true);
    n->auto_label_color(true);
    n->auto_label(true);
    tree->leavesShown(false);
    tree->add("/b/c/", new RowBox, false);
    tree->find("/b/")->open(true);
    tree->leavesShown(true);
    show();
    Fl_Widget* w = n->widget();
    EXPECT_EQ(std::make_tuple(w->color(), w->labelcolor(), std::string(w->label())),
              std::make_tuple(FL_WHITE, FL_BLACK, std::string("W")));
    n->select(true);
    redraw();
    EXPECT_EQ(std::make_pair(w->color(), w->labelcolor()),
              std::make_pair(FL_SELECTION_COLOR, fl_contrast(FL_BLACK, FL_SELECTION_COLOR)));
    n->select(false);
    redraw();
    // The label's ink lies inside its row, left of the widget, as much room above as below.
    win->make_current();
    std::unique_ptr<unsigned char[]> image(fl_read_image(nullptr, 0, 0, 100, ROW));
    int dark = 0, top = ROW, bottom = -1;
    for (int y = 0; y < ROW; ++y)
        for (int x = 17; x < w->x(); ++x)
            if (image[(y * 100 + x) * 3] < 128) {
                ++dark;
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    EXPECT_GT(dark, 10);
    EXPECT_LE(std::abs(top - (ROW - 1 - bottom)), 2) << "ink from " << top << " to " << bottom;
    const int before = w->x();
    n->label("a much longer label than before");
    redraw();
    EXPECT_GT(w->x(), before + 50);
    // With leaves hidden, a branch holding a branch still has a row to show.
    tree->leavesShown(false);
    redraw();
    Node* b = tree->find("/b/");
    EXPECT_EQ(tree->find("/b/c/")->widget()->y(), b->row_top() + b->row_height());
    tree->leavesShown(true);
    tree->deactivate();
    redraw();
    EXPECT_EQ(w->labelcolor(), fl_inactive(FL_BLACK));
}

TEST_F(FluTreeBrowserView, AMovedTreeMeasuresFromItsOwnCornerAndScrollsBackToTheTop) {
    tree->resize(10, 30, 200, 200);
    leaves(30);
    show();
    tree->vscrollbar()->value(100);
    tree->clear();
    leaves(3);
    redraw();
    leaves(30);
    redraw();
    EXPECT_EQ(tree->find("/l0")->widget()->y(), 30);  // a bar shown again starts at the top
}

// Opening or closing lays out only what changed; what a user sees after a
// series of changes must be what a whole new layout gives.
TEST_F(FluTreeBrowserView, OpenAndCloseUpdateTheLayoutAsAWholeRelayoutWould) {
    for (const char* b : {"/a/", "/a/deep/", "/b/", "/c/"}) tree->add_branch(b, new RowBox, false);
    for (int i = 0; i < 6; ++i) leaf("/a/l" + std::to_string(i));
    leaf("/a/deep/wide", 260);  // wider than the view: a horizontal bar while shown
    for (int i = 0; i < 9; ++i) leaf("/b/l" + std::to_string(i));
    for (int i = 0; i < 3; ++i) leaf("/c/l" + std::to_string(i));
    tree->vertical_gap(1);
    show();
    // Rows of open branches, the bars and the widgets' places; a widget shows
    // exactly when every branch above it is open.
    auto seen = [&] {
        std::vector<int> out;
        auto walk = [&](Node* n, bool shown, auto& self) -> void {
            for (int i = 0; i < n->children(); ++i) {
                Node* c = n->child(i);
                EXPECT_EQ(c->widget()->visible() != 0, shown) << c->label();
                if (shown) out.insert(out.end(), {c->row_top(), c->row_height(), c->widget()->y()});
                self(c, shown && c->open(), self);
            }
        };
        walk(tree->root_node(), true, walk);
        for (Fl_Scrollbar* bar : {tree->vscrollbar(), tree->hscrollbar()})
            out.insert(out.end(), {bar->visible() != 0, int(bar->maximum()), int(bar->value()),
                                   int(bar->slider_size() * 1000)});
        return out;
    };
    const std::vector<std::pair<const char*, std::function<void()>>> steps = {
        {"open all", [&] { for (Node* n = tree->root_node(); n; n = n->next()) n->open(true); }},
        {"close /a/", [&] { tree->find("/a/")->open(false); }},
        {"open /a/", [&] { tree->find("/a/")->open(true); }},
        {"close /a/deep/", [&] { tree->find("/a/deep/")->open(false); }},
        {"add /b/new", [&] { leaf("/b/new"); }},
        {"scroll to the end, close /a/", [&] { tree->vscrollbar()->value(tree->vscrollbar()->maximum()), tree->find("/a/")->open(false); }},
        {"remove /c/l1, close /b/", [&] { tree->remove("/c/l1"), redraw(), tree->find("/b/")->open(false); }},
        {"open /a/deep/ inside closed /a/", [&] { tree->find("/a/deep/")->open(true); }},
        {"open /a/, /b/", [&] { tree->find("/a/")->open(true), tree->find("/b/")->open(true); }},
        {"close the hidden root: its rows stay", [&] { tree->root_node()->open(false); }},
        {"close /a/deep/, /c/", [&] { tree->find("/a/deep/")->open(false), tree->find("/c/")->open(false); }},
    };
    // The widest row, two levels down: 2 x (2 + 15) + 15 + 2 + 260, in 200 less the bar.
    int wideSteps = 0, wideRight = 2 * 17 + 17 + 260 - 185;
    for (auto& step : steps) {
        step.second();
        redraw();
        if (tree->hscrollbar()->visible()) {
            ++wideSteps;
            EXPECT_EQ(tree->hscrollbar()->maximum(), wideRight) << step.first;
        }
        const std::vector<int> incremental = seen();
        tree->resize(tree->x(), tree->y(), tree->w(), tree->h());
        redraw();
        EXPECT_EQ(incremental, seen()) << step.first;
    }
    EXPECT_EQ(wideSteps, 4);  // the wide row shown, then hidden with its branch
}

// Options changed while the tree shows decide which rows are drawn: each
// row drawn shows its widget in its place, and a row no longer drawn hides it.
TEST_F(FluTreeBrowserView, OptionsThatShowRowsShowTheirWidgetsToo) {
    struct Case {
        const char* name;
        std::function<void(bool)> set;  // true: the closed branch's leaves get rows
    };
    const Case cases[] = {
        {"branches hidden", [&](bool on) { tree->branchesShown(!on); }},
        {"all branches open", [&](bool on) { tree->allBranchesOpen(on); }},
        {"the branch kept open", [&](bool on) { tree->find("/a/")->always_open(on); }},
    };
    tree->add_branch("/a", new RowBox, false);
    leaf("/a/x");
    leaf("/b");
    Fl_Widget* x = tree->find("/a/x")->widget();
    Fl_Widget* a = tree->find("/a/")->widget();
    show();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(x->visible());
        c.set(true);
        redraw();
        Node* leafX = tree->find("/a/x");
        EXPECT_TRUE(x->visible());
        EXPECT_EQ(x->y(), leafX->row_top());
        EXPECT_EQ(tree->find("/b")->widget()->y(), leafX->row_top() + ROW);
        c.set(false);
        redraw();
        EXPECT_TRUE(a->visible() && a->y() == 0);
        EXPECT_LT(x->y(), -ROW);
    }
    // Branches hidden, a closed branch's rows are drawn in its place: opening
    // or closing a branch inside it from code leaves the leaf's widget shown.
    tree->add_branch("/a/b", new RowBox, true);
    Fl_Widget* y = leaf("/a/b/y")->widget();
    tree->branchesShown(false);
    redraw();
    ASSERT_TRUE(y->visible());
    for (bool open : {true, false}) {
        SCOPED_TRACE(open ? "opened" : "closed");
        tree->find("/a/b/")->open(open);
        EXPECT_TRUE(y->visible());
    }
}

// Hidden, shown, deactivated or activated, the tree tells its row widgets
// as a group tells its children: the shown ones of a hide or a show, the
// active ones of a deactivation or an activation, the root's widget too.
TEST_F(FluTreeBrowserView, RowWidgetsHearOfTheTreeShownHiddenActivatedOrNot) {
    struct Ear : RowBox {
        std::string heard;
        int handle(int e) override {
            heard += e == FL_SHOW ? "S" : e == FL_HIDE ? "H" : e == FL_ACTIVATE ? "A" : e == FL_DEACTIVATE ? "D" : "";
            return RowBox::handle(e);
        }
    };
    Ear* first = new Ear;
    Ear* off = new Ear;
    Ear* closed = new Ear;
    Ear* root = new Ear;
    tree->add("/a/first", first, false);
    tree->add("/a/off", off, false);
    tree->add("/b/z", closed, false);
    Fl_Input* entry = new Fl_Input(0, 0, 60, ROW);
    tree->add("/b/in", entry, false);
    tree->set_root("r", root, true);
    tree->rootShown(true);
    tree->root_node()->open(true);
    tree->find("/a/")->open(true);
    off->deactivate();
    show();
    for (Ear* e : {first, off, closed, root}) e->heard.clear();
    tree->hide();
    tree->show();
    tree->deactivate();
    tree->activate();
    EXPECT_EQ(first->heard + " " + off->heard + " " + closed->heard + " " + root->heard, "HSDA HS DA HSDA");
    // Branches opened while the tree is hidden: their widgets show with it,
    // before any drawing, and the program may give one the keyboard.
    tree->hide();
    tree->allBranchesOpen(true);
    tree->show();
    EXPECT_TRUE(entry->take_focus());
    EXPECT_EQ(Fl::focus(), entry);
}

// A page is one view. Page Up and Page Down, and a push in either bar's
// trough, move the rows by the view's height (or width), however small the
// thumb; keys the tree does not use never reach its bars.
TEST_F(FluTreeBrowserView, PagesMoveOneViewAndTheBarsTakeNoKeys) {
    leaves(10000, 600);
    show();
    Fl_Scrollbar *bar = tree->vscrollbar(), *hbar = tree->hscrollbar();
    const int view = 200 - 15;
    ASSERT_EQ(std::make_pair(bar->h(), hbar->w()), std::make_pair(view, view));
    EXPECT_FLOAT_EQ(bar->slider_size(), 15.0f / (view - 30));  // drawn as small as ever
    // The first row whose top lies in view, and where it shows.
    auto firstRow = [&] {
        const int v = int(bar->value()), i = (v + ROW - 1) / ROW;
        return std::make_pair(v, tree->find(("/l" + std::to_string(i)).c_str())->widget()->y() - (i * ROW - v));
    };
    for (auto step : {std::make_pair(FL_Page_Down, view), std::make_pair(FL_Page_Down, 2 * view),
                      std::make_pair(FL_Page_Up, view), std::make_pair(FL_Page_Up, 0), std::make_pair(FL_Page_Up, 0)}) {
        EXPECT_EQ(key(step.first), 1);
        qvtest::flushDrawing();
        EXPECT_EQ(firstRow(), std::make_pair(step.second, 0));
    }
    // In the trough below the thumb, then above it.
    const int middle = int(bar->maximum()) / 2;
    bar->value(middle);
    redraw();
    const int thumb = bar->y() + 15 + (view - 30 - 15) / 2;
    for (auto push : {std::make_pair(thumb + 40, middle + view), std::make_pair(thumb - 40, middle)}) {
        qvtest::click(win.get(), bar->x() + 7, push.first);
        qvtest::flushDrawing();
        EXPECT_EQ(firstRow(), std::make_pair(push.second, 0));
    }
    // The trough ends where the thumb starts, and the arrows step by a line.
    struct {
        int value, y, after;
    } presses[] = {
        {middle, bar->y() + 15, middle - view},                  // the trough's first pixel
        {middle, bar->y() + 7, middle - 16},                     // the arrow above it
        {middle, bar->y() + view - 15, middle + 16},             // the arrow below, at its top
        {middle, bar->y() + 15 + 69, middle - view},             // the thumb spans 70 to 84 ...
        {middle, bar->y() + 15 + 70, middle},
        {middle, bar->y() + 15 + 84, middle},
        {middle, bar->y() + 15 + 85, middle + view},             // ... of the 155 between the arrows
        {0, bar->y() + 15 + 15, view},                           // just past the thumb at the top
        {int(bar->maximum()), bar->y() + view - 15 - 7, int(bar->maximum())},  // the thumb at the end
    };
    for (const auto& p : presses) {
        bar->value(p.value);
        redraw();
        qvtest::click(win.get(), bar->x() + 7, p.y);
        EXPECT_EQ(int(bar->value()), p.after) << p.value << " " << p.y;
    }
    // Held in the trough, a push pages on until it is let go.
    bar->value(0);
    redraw();
    qvtest::push(win.get(), bar->x() + 7, bar->y() + 150);
    for (int i = 0; i < 300 && bar->value() < 3 * view; ++i) Fl::wait(0.01);
    qvtest::release(win.get(), bar->x() + 7, bar->y() + 150);
    const int held = int(bar->value());
    EXPECT_EQ(held % view, 0);
    EXPECT_GE(held, 3 * view);
    for (int i = 0; i < 10; ++i) Fl::wait(0.02);
    EXPECT_EQ(int(bar->value()), held);
    // A drag after a push in the trough leaves the thumb where the page put it.
    bar->value(0);
    redraw();
    qvtest::dragPath(win.get(), bar->x() + 7, bar->y() + 100, bar->x() + 7, bar->y() + 140);
    EXPECT_EQ(int(bar->value()), view);
    bar->value(middle);
    qvtest::click(win.get(), hbar->x() + view - 30, hbar->y() + 7);
    EXPECT_EQ(int(hbar->value()), view);
    EXPECT_NE(qvtest::pixelAt(*win, hbar->x() + 7, hbar->y() + 7), qvtest::rgbOf(FL_WHITE));  // its arrow
    EXPECT_NE(qvtest::pixelAt(*win, 200 - 7, 200 - 7), qvtest::rgbOf(FL_WHITE));  // the corner between the bars
    // Up with nothing hilighted uses nothing, and a page key typed elsewhere
    // is no shortcut to the tree's bars.
    tree->take_focus();
    EXPECT_EQ(key(FL_Up), 0);
    win->begin();
    Fl_Button* elsewhere = new Fl_Button(220, 0, 60, 20, "x");
    win->end();
    elsewhere->take_focus();
    for (int k : {FL_Page_Down, FL_Down, FL_End, FL_Right}) key(k);
    EXPECT_EQ(std::make_pair(int(bar->value()), int(hbar->value())), std::make_pair(middle, view));
    // A bar just long enough for its arrows keeps them; one of no length pages by nothing.
    tree->take_focus();
    tree->resize(0, 0, 200, 70);
    redraw();
    ASSERT_EQ(bar->h(), 55);
    qvtest::click(win.get(), bar->x() + 7, bar->y() + 7);
    EXPECT_EQ(int(bar->value()), middle - 16);
    tree->resize(0, 0, 200, 10);
    redraw();
    ASSERT_TRUE(bar->visible());
    key(FL_Page_Down);
    EXPECT_EQ(int(bar->value()), middle - 16);
    tree->resize(0, 0, 200, 200);
    // Without a vertical bar the page keys are not the tree's.
    tree->clear();
    leaves(3);
    tree->take_focus();
    redraw();
    EXPECT_EQ(key(FL_Page_Down), 0);
}

// The range follows the rows as soon as an animated close ends: the next
// event may be long in coming.
TEST_F(FluTreeBrowserView, TheBarsFollowAnAnimatedCloseAtItsEnd) {
    Node* a = tree->add_branch("/a", new RowBox, false);
    for (int i = 0; i < 30; ++i) leaf("/a/x" + std::to_string(i));
    leaf("/z");
    a->open(true);
    show();
    tree->animated(true);
    tree->vscrollbar()->value(tree->vscrollbar()->maximum());
    redraw();
    ASSERT_TRUE(tree->vscrollbar()->visible());
    a->open(false);
    for (int i = 0; i < 200 && tree->animating(); ++i) Fl::wait(0.01);
    ASSERT_FALSE(tree->animating());
    EXPECT_FALSE(tree->vscrollbar()->visible());
    EXPECT_EQ(qvtest::pixelAt(*win, 200 - 7, 100), qvtest::rgbOf(FL_WHITE));  // no bar drawn
    EXPECT_EQ(tree->find("/z")->widget()->y(), ROW);
}

// A drag of the thumb moves the rows at once.
TEST_F(FluTreeBrowserView, ADragOfTheThumbMovesTheRows) {
    leaves(30);
    show();
    Fl_Scrollbar* bar = tree->vscrollbar();
    Fl_Widget* row = tree->find("/l10")->widget();
    const int thumbThen = bar->y() + 15 + 7, thumbNow = thumbThen + 60;
    const qvtest::Rgb trough = qvtest::pixelAt(*win, bar->x() + 7, thumbNow);
    ASSERT_NE(qvtest::pixelAt(*win, bar->x() + 7, thumbThen), trough);
    qvtest::push(win.get(), bar->x() + 7, bar->y() + 15 + 7);
    qvtest::flushDrawing();
    EXPECT_EQ(tree->scroll_area()->damage(), 0);  // drawn with the tree, nothing left due
    qvtest::drag(win.get(), bar->x() + 7, bar->y() + 15 + 7 + 60);
    qvtest::flushDrawing();
    EXPECT_GT(bar->value(), 0);
    EXPECT_EQ(row->y(), 10 * ROW - int(bar->value()));
    EXPECT_NE(qvtest::pixelAt(*win, bar->x() + 7, thumbNow), trough);  // the thumb followed
    bar->color(FL_RED);  // a bar drawn again alone
    bar->redraw();
    qvtest::flushDrawing();
    EXPECT_EQ(qvtest::pixelAt(*win, bar->x() + 7, bar->y() + bar->h() - 20), qvtest::rgbOf(FL_RED));
    qvtest::release(win.get(), bar->x() + 7, bar->y() + 15 + 7 + 60);
    // A row widget drawn again alone leaves the other rows be, unless the
    // rows changed meanwhile.
    qvtest::flushDrawing();
    drawnBoxes = 0;
    row->redraw();
    qvtest::flushDrawing();
    EXPECT_EQ(drawnBoxes, 1);
    tree->vertical_gap(1);
    row->redraw();
    qvtest::flushDrawing();
    EXPECT_EQ(row->y(), 10 * (ROW + 1) - int(bar->value()));
    // A label shown since calls for a new layout, which moves the widget.
    const int left = row->x();
    tree->find("/l10")->label_visible(true);
    row->redraw();
    qvtest::flushDrawing();
    EXPECT_GT(row->x(), left);
    // Laid out by an event since, the rows still have widgets to take away.
    Node* branch = tree->add_branch("/b", new RowBox, false);
    tree->leavesShown(false);
    qvtest::moveMouse(win.get(), 100, 100);
    branch->widget()->redraw();
    qvtest::flushDrawing();
    EXPECT_LT(row->y(), -ROW);
}

// A row widget drawn again alone stays inside the view.
TEST_F(FluTreeBrowserView, ARowWidgetDrawnAloneStaysInTheView) {
    tree->box(FL_DOWN_FRAME);
    Fl_Box* red = new Fl_Box(FL_FLAT_BOX, 0, 0, 40, ROW, nullptr);
    red->color(FL_RED);
    tree->add("/red", red, false);
    leaves(30);
    show();
    tree->vscrollbar()->value(10);
    redraw();
    ASSERT_LT(red->y(), 0);  // reaching above the view, over the frame
    const qvtest::Rgb frame = qvtest::pixelAt(*win, red->x() + 5, 0);
    ASSERT_NE(frame, qvtest::rgbOf(FL_RED));
    red->redraw();
    qvtest::flushDrawing();
    EXPECT_EQ(qvtest::pixelAt(*win, red->x() + 5, 0), frame);
    EXPECT_EQ(qvtest::pixelAt(*win, red->x() + 5, 5), qvtest::rgbOf(FL_RED));
}

// A widget that fills its row, made narrower than its own width by a
// narrower tree, gets a horizontal bar at once.
TEST_F(FluTreeBrowserView, ARowFillingWidgetWiderThanANarrowedViewGetsABar) {
    leaf("/wide", 150)->expand_to_width(true);
    show();
    ASSERT_FALSE(tree->hscrollbar()->visible());
    tree->resize(0, 0, 100, 200);
    redraw();
    EXPECT_TRUE(tree->hscrollbar()->visible());
    EXPECT_EQ(int(tree->hscrollbar()->maximum()), 17 + 150 - 100);
}
