#include "widgets/Fl_Input_File.h"

#include "support/TempDir.h"
#include "support/WidgetEvents.h"
#include "support/WidgetPixels.h"

#include <FL/Fl.H>
#include <FL/Fl_Menu_Button.H>
#include <FL/Fl_Window.H>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

const int X = 10, Y = 10;  // the input's place in its window

// A shown window holding one input; counts the input's callbacks (one per
// change of the lister's list) and the statuses reaching the error hook.
struct InputWindow {
    Fl_Window win{0, 0, 400, 80};
    Fl_Input_File in;
    int changes = 0;
    std::string errors;
    InputWindow(const std::string& path, int sort = FL_DIR_SORT_ALPHA)
        : in(X, Y, 360, 40, "", path.c_str(), sort, 0) {
        win.end();
        in.callback([](Fl_Widget*, void* s) { ++static_cast<InputWindow*>(s)->changes; }, this);
        in.errorHook([](Fl_Dir* d, void* s) { static_cast<InputWindow*>(s)->errors += std::to_string(d->dirStatus()); },
                     this);
        qvtest::showAndDraw(win);
        Fl::focus(&in);
    }
    // Types one character at the end of the text.
    int type(char c) {
        in.position(in.size());
        const char text[2] = {c, 0};
        return qvtest::key(&win, c, 0, text);
    }
    int press(int key) { return qvtest::key(&win, key); }
    void pick(int item) {
        Fl_Menu_Button* b = in.pulldownButton();
        b->picked(&b->menu()[item]);
    }
};

TEST(InputFile, PathStripHasOneButtonPerFolderAndAClickOpensIt) {
    InputWindow w("/home/u/file");
    // Dragging along the strip highlights the buttons in turn, then none
    // right of the last folder.
    std::vector<int> seen, starts;
    qvtest::push(&w.win, X + 1, Y + 6);
    for (const auto& [y, button] : {std::pair(Y, 1), std::pair(Y + 11, 1), std::pair(Y + 12, 0), std::pair(Y - 1, 0)}) {
        qvtest::drag(&w.win, X + 2, y);
        EXPECT_EQ(w.in.highlighted(), button) << y - Y;
    }
    for (int x = X + 1; x < X + 360; ++x) {
        qvtest::drag(&w.win, x, Y + 6);
        if (seen.empty() || w.in.highlighted() != seen.back()) {
            seen.push_back(w.in.highlighted());
            starts.push_back(x);
        }
    }
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 0}));
    qvtest::drag(&w.win, X + 100, Y + 30);  // below the strip: none
    EXPECT_EQ(w.in.highlighted(), 0);
    qvtest::release(&w.win, X + 100, Y + 30);
    EXPECT_STREQ(w.in.value(), "/home/u/file");
    ASSERT_EQ(starts.size(), 4u);
    starts.push_back(X + 360);

    // Each button in its own shade, the rest of the strip in the next one.
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(qvtest::pixelAt(w.win, (starts[k] + starts[k + 1]) / 2, Y + 6), qvtest::rgbOf(48 + k)) << k;
    // The text box is drawn below the strip, within the widget.
    EXPECT_NE(qvtest::pixelAt(w.win, X + 300, Y + 12), qvtest::rgbOf(FL_BACKGROUND2_COLOR));
    EXPECT_EQ(qvtest::pixelAt(w.win, X + 300, Y + 20), qvtest::rgbOf(FL_BACKGROUND2_COLOR));
    EXPECT_EQ(qvtest::pixelAt(w.win, X + 300, Y + 45), qvtest::rgbOf(FL_BACKGROUND_COLOR));

    const int second = (starts[1] + starts[2]) / 2;
    EXPECT_EQ(qvtest::push(&w.win, second, Y + 6), 1);
    EXPECT_EQ(w.in.highlighted(), 2);
    qvtest::release(&w.win, second, Y + 6);
    EXPECT_STREQ(w.in.value(), "/home/");
    EXPECT_EQ(w.in.highlighted(), 0);

    // A click in the text places the cursor and leaves the strip alone.
    qvtest::click(&w.win, X + 5, Y + 25);
    EXPECT_EQ(w.in.highlighted(), 0);
    EXPECT_STREQ(w.in.value(), "/home/");

    // A folder that cannot be opened turns the text red; one that can, black.
    w.in.value("/nonexistent-qv/x");
    qvtest::click(&w.win, second, Y + 6);
    EXPECT_STREQ(w.in.value(), "/nonexistent-qv/");
    EXPECT_EQ(w.in.textcolor(), FL_RED);
    TempDir tmp;
    ecrireFichier(tmp.file("only"), "x");
    w.in.value(tmp.file("only").c_str());
    Fl::e_x = X + 1000;  // right of every button: the n-th is taken
    int folders = 0;
    for (size_t i = 0; i < tmp.path().size(); ++i) folders += tmp.path()[i] == '/';
    w.in.stripTopBtn(folders + 1);
    EXPECT_STREQ(w.in.value(), (tmp.path() + "/").c_str());
    EXPECT_EQ(w.in.textcolor(), FL_BLACK);
}

TEST(InputFile, KeysMakeTheListFollowTabCompletesErrorsTurnTheTextRed) {
    TempDir tmp;
    const std::string dir = tmp.path() + "/";
    for (const char* f : {"abc1", "abc2", "abd"}) ecrireFichier(tmp.file(f), "x");
    mkdir(tmp.file("sub").c_str(), 0755);
    InputWindow w(dir + "a");
    EXPECT_STREQ(w.in.value(), (dir + "a").c_str());

    EXPECT_EQ(w.press(FL_Tab), 1);
    EXPECT_STREQ(w.in.value(), (dir + "ab").c_str());
    EXPECT_EQ(w.changes, 1);
    EXPECT_EQ(w.type('c'), 1);
    EXPECT_EQ(w.changes, 2);
    EXPECT_EQ(w.type('x'), 1);
    EXPECT_STREQ(w.in.value(), (dir + "abcx").c_str());
    EXPECT_EQ(w.errors, "7");
    EXPECT_EQ(w.in.textState(), 0);
    EXPECT_EQ(w.in.textcolor(), FL_RED);
    EXPECT_EQ(w.press(FL_Left), 1);  // any key ends the error, a cursor key does no more
    EXPECT_EQ(w.in.textcolor(), FL_BLACK);
    EXPECT_EQ(w.changes, 2);
    w.in.position(w.in.size());
    EXPECT_EQ(w.press(FL_BackSpace), 1);
    EXPECT_EQ(w.changes, 3);
    EXPECT_EQ(w.in.textState(), 1);
    EXPECT_EQ(w.errors, "7");

    // Navigation, function and modifier keys leave the list alone.
    const struct { int key; int follows; } keys[] = {{0xff12, 1}, {0xff13, 0}, {0xffea, 0}, {0xffeb, 1}};
    for (const auto& k : keys) {
        const int before = w.changes;
        w.press(k.key);
        EXPECT_EQ(w.changes - before, k.follows) << std::hex << k.key;
    }

    w.in.value((dir + "s").c_str());
    w.press(FL_Tab);
    EXPECT_STREQ(w.in.value(), (dir + "sub/").c_str());
    w.in.value(dir.c_str());
    w.type('q');
    w.press(FL_Tab);  // no completion, and still no match
    EXPECT_EQ(w.errors, "7767");
    EXPECT_EQ(w.in.textcolor(), FL_RED);

    // Enter and Escape are left to the window's buttons.
    EXPECT_EQ(qvtest::key(&w.in, FL_Enter), 0);
    EXPECT_EQ(qvtest::key(&w.in, FL_Escape), 0);
    // A pasted text is followed too.
    w.in.value((dir + "abd").c_str());
    Fl::e_text = const_cast<char*>("");
    Fl::e_length = 0;
    EXPECT_EQ(w.in.handle(FL_PASTE), 1);
    EXPECT_EQ(w.in.dirPath(), dir + "abd");
    w.in.value(static_cast<const char*>(nullptr));
    w.in.value("");
    EXPECT_STREQ(w.in.value(), (dir + "abd").c_str());
}

TEST(InputFile, RecentFoldersFillTheMenuInARingOfTen) {
    TempDir tmp;
    InputWindow w(tmp.path() + "/");
    const int first = Fl_Input_File::Fl_Dir_User_Index;
    Fl_Input_File::updateUserDir("plain-name");
    EXPECT_EQ(Fl_Input_File::Fl_Dir_User_Index, first);
    for (int i = 0; i < 11; ++i) Fl_Input_File::updateUserDir(("/f" + std::to_string(i) + "/x").c_str());
    const Fl_Menu_Item* menu = w.in.pulldownButton()->menu();
    EXPECT_STREQ(menu[first].label(), "/f10/");  // the eleventh replaced the first
    EXPECT_TRUE(menu[first].visible());
    const int next = first == 13 ? 4 : first + 1;
    EXPECT_EQ(Fl_Input_File::Fl_Dir_User_Index, next);
    EXPECT_STREQ(menu[next].label(), "/f1/");

    // Choosing a recent folder opens it; so does a name read from the text.
    w.in.value((tmp.path() + "/chosen").c_str());
    char out[FL_DIR_PATH];
    EXPECT_EQ(w.in.getFilename(out, sizeof out), static_cast<int>(tmp.path().size()) + 1);
    EXPECT_EQ(out, tmp.path() + "/chosen");
    EXPECT_EQ(menu[next].label(), tmp.path() + "/");
    w.in.value("/elsewhere");
    w.pick(next);
    EXPECT_STREQ(w.in.value(), (tmp.path() + "/").c_str());

    // No name for a wildcard or a text that does not fit.
    w.in.value("/x/*.txt");
    EXPECT_EQ(w.in.getFilename(out, sizeof out), 0);
    EXPECT_STREQ(out, "");
    w.in.value("/x/abcdef");
    EXPECT_EQ(w.in.getFilename(out, 9), 0);
    EXPECT_STREQ(out, "");
    EXPECT_EQ(w.in.getFilename(out, 10), 3);
    w.in.value("name");
    EXPECT_EQ(w.in.getFilename(out, sizeof out), 0);
    EXPECT_STREQ(out, "name");
}

TEST(InputFile, PullDownOpensParentRootHomeAndCurrentFolders) {
    TempDir tmp;
    mkdir(tmp.file("sub").c_str(), 0755);
    ecrireFichier(tmp.file("sub/f"), "x");
    InputWindow w(tmp.file("sub/"));
    w.pick(0);
    EXPECT_STREQ(w.in.value(), (tmp.path() + "/").c_str());
    setenv("HOME", tmp.file("sub").c_str(), 1);
    w.pick(2);
    EXPECT_STREQ(w.in.value(), tmp.file("sub/").c_str());
    InTempDir here;
    ecrireFichier(here.file("g"), "x");
    w.pick(3);
    char cwd[FL_DIR_PATH];
    ASSERT_TRUE(getcwd(cwd, sizeof cwd));
    EXPECT_STREQ(w.in.value(), (std::string(cwd) + "/").c_str());
    w.pick(1);
    EXPECT_STREQ(w.in.value(), "/");
    EXPECT_EQ(w.in.textState(), 1);
    qvtest::flushDrawing();
    w.pick(0);  // no parent: the text turns red
    EXPECT_EQ(w.in.textState(), 0);
    EXPECT_NE(w.in.damage(), 0);
    EXPECT_TRUE(w.in.setFilename(tmp.file("sub/").c_str()));
    EXPECT_STREQ(w.in.value(), tmp.file("sub/").c_str());
    EXPECT_FALSE(w.in.setFilename(nullptr));
}

}  // namespace
