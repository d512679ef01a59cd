#include "widgets/Fl_Input_File.h"

#include "support/Environnement.h"
#include "support/TempDir.h"
#include "support/WidgetEvents.h"
#include "support/WidgetPixels.h"

#include <FL/Fl.H>
#include <FL/Fl_Menu_Button.H>
#include <FL/Fl_Window.H>
#include <gtest/gtest.h>

#include <FL/fl_draw.H>  // after the test framework: it brings X11's macros

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <tuple>
#include <utility>

namespace {

const int X = 10, Y = 10;  // the input's place in its window

// A shown window holding one input, which logs its callbacks: "C" for the
// input's own and "2" for the lister's second (the list changed), "E" and the
// status for the hook.
struct InputWindow {
    Fl_Window win{0, 0, 400, 80};
    Fl_Input_File in;
    std::string log;
    explicit InputWindow(const std::string& path) : in(X, Y, 360, 40, "", path.c_str(), FL_DIR_SORT_ALPHA, 0) {
        win.end();
        in.callback([](Fl_Widget*, void* s) { static_cast<InputWindow*>(s)->log += "C"; }, this);
        in.dirCallback2([](Fl_Dir*, void* s) { static_cast<InputWindow*>(s)->log += "2"; }, this);
        in.errorHook([](Fl_Dir* d, void* s) { static_cast<InputWindow*>(s)->log += "E" + std::to_string(d->dirStatus()); },
                     this);
        qvtest::showAndDraw(win);
        Fl::focus(&in);
    }
    // The text, its colour and the log since the last look.
    std::string look() {
        return in.value() + std::string(in.textcolor() == FL_RED ? " red " : " black ") + std::exchange(log, {});
    }
    // Types at the end of the text.
    int type(int key, const char* text = "") {
        in.position(in.size());
        return qvtest::key(&win, key, 0, text);
    }
    // Shows `text` in the input and in the lister, with no callback.
    void at(const std::string& text) {
        in.value(text.c_str());
        in.cd(text.c_str(), 3);
        log.clear();
    }
    void pick(int item) { in.pulldownButton()->picked(&in.pulldownButton()->menu()[item]); }
};

TEST(InputFile, PathStripHasOneButtonPerFolderAndAClickOpensIt) {
    InputWindow w("/home/u/file");
    w.in.textsize(20);
    w.in.redraw();
    // The strip is the top 12 pixels: one button per folder, ending past the
    // text of its folder, each in its own shade, the rest in the next.
    fl_font(w.in.textfont(), 20);
    const int edges[] = {X, X + static_cast<int>(fl_width("/")) + 6, X + static_cast<int>(fl_width("/home/")) + 6,
                         X + static_cast<int>(fl_width("/home/u/")) + 6, X + 360};
    qvtest::push(&w.win, X + 1, Y + 6);
    for (int k = 0; k < 4; ++k) {
        const int mid = (edges[k] + edges[k + 1]) / 2;
        EXPECT_EQ(qvtest::pixelAt(w.win, mid, Y + 6), qvtest::rgbOf(48 + k)) << k;
        for (const auto& [x, y, on] : {std::tuple(edges[k], Y + 11, 1), std::tuple(edges[k + 1] - 1, Y, 1),
                                       std::tuple(mid, Y + 12, 0), std::tuple(mid, Y - 1, 0)}) {
            qvtest::drag(&w.win, x, y);
            EXPECT_EQ(w.in.highlighted(), on && k < 3 ? k + 1 : 0) << x - X << "," << y - Y;
        }
    }
    qvtest::release(&w.win, X + 100, Y + 30);  // released below the strip: nothing opens
    EXPECT_EQ(w.look(), "/home/u/file black ");
    EXPECT_TRUE(qvtest::pixelAt(w.win, X + 300, Y + 12) != qvtest::rgbOf(FL_BACKGROUND2_COLOR) &&
                qvtest::pixelAt(w.win, X + 300, Y + 20) == qvtest::rgbOf(FL_BACKGROUND2_COLOR));

    const int second = (edges[1] + edges[2]) / 2;
    qvtest::click(&w.win, second, Y + 6);
    EXPECT_EQ(w.in.value() + std::to_string(w.in.highlighted()), "/home/0");
    w.log.clear();
    qvtest::click(&w.win, X + 5, Y + 25);  // in the text: the strip is left alone
    EXPECT_EQ(w.in.value() + std::to_string(w.in.highlighted()), "/home/0");

    // A folder that cannot be opened turns the text red; one that can, black.
    w.in.value("/nonexistent-qv/x");
    qvtest::click(&w.win, second, Y + 6);
    EXPECT_EQ(w.look(), "/nonexistent-qv/ red E2");
    Fl::e_x = X + 1000;  // right of every button: the n-th is taken
    w.in.stripTopBtn(1);
    EXPECT_EQ(w.look(), "/ black C2");
    w.in.value("name");  // no folder: nothing to open
    w.in.stripTopBtn(1);
    EXPECT_EQ(w.look(), "name black ");

    // ":" belongs to a name: "/a:b/c" has two folder buttons, "/" and "a:b/".
    w.in.value("/a:b/c");
    const int inName = X + (static_cast<int>(fl_width("/a:")) + static_cast<int>(fl_width("/a:b/"))) / 2 + 6;
    qvtest::push(&w.win, inName, Y + 6);
    EXPECT_EQ(w.in.highlighted(), 2);
    qvtest::release(&w.win, X + 100, Y + 30);
}

TEST(InputFile, KeysMakeTheListFollowTabCompletesErrorsTurnTheTextRed) {
    TempDir tmp;
    const std::string dir = tmp.path() + "/";
    for (const char* f : {"abc1", "abc2", "abd", "b.txt"}) ecrireFichier(tmp.file(f), "x");
    mkdir(tmp.file("sub").c_str(), 0755);
    mkdir(tmp.file("sub/only").c_str(), 0755);
    InputWindow w(dir);
    // Tab completes to the longest beginning the shown names share.
    const struct { std::string text, after; } tabs[] = {
        {"a", "ab black C2"},   {"abc", "abc black C2"}, {"s", "sub/ black C2"}, {"sub/o", "sub/only/ black C2"},
        {"b", "b.txt black C2"}, {"q", "q red E6E7"},   {"", " black C2"},      {"a*", "a* black C2"},
    };
    for (const auto& t : tabs) {
        w.at(dir + t.text);
        EXPECT_EQ(w.type(FL_Tab), 1);
        EXPECT_EQ(w.look(), dir + t.after) << t.text;
    }
    w.at(dir + "ab");
    w.type('c', "c");
    EXPECT_EQ(w.type('x', "x"), 1);
    EXPECT_EQ(w.look() + std::to_string(w.in.textState()), dir + "abcx red C2E70");
    EXPECT_EQ(w.type(FL_Left), 1);  // any key ends the error, a cursor key does no more
    EXPECT_EQ(w.look() + std::to_string(w.in.textState()), dir + "abcx black 1");
    EXPECT_EQ(w.type(FL_BackSpace), 1);
    EXPECT_EQ(w.look(), dir + "abc black C2");
    // Navigation, function and modifier keys leave the list alone.
    for (const auto& [key, follows] : {std::pair(0xff12, "C2"), std::pair(0xff13, ""), std::pair(0xffea, ""), std::pair(0xffeb, "C2")}) {
        w.type(key);
        EXPECT_EQ(w.look(), dir + "abc black " + follows) << std::hex << key;
    }
    // A long text, scrolled: typing within it keeps the cursor where it is.
    const std::string deep = dir + std::string(60, 'd') + "/";
    mkdir(deep.c_str(), 0755);
    for (const char* f : {"a.txt", "al.txt"}) ecrireFichier(deep + f, "x");
    w.at(deep + "*.txt");
    qvtest::flushDrawing();
    w.in.position(static_cast<int>(deep.size()));
    for (const char* c : {"a", "l"}) {
        qvtest::key(&w.win, *c, 0, c);
        qvtest::flushDrawing();
    }
    EXPECT_EQ(w.look() + std::to_string(w.in.position() - static_cast<int>(deep.size())), deep + "al*.txt black C2C22");
    // Tab on a text longer than the lister holds: the text is kept, refused as too long.
    const std::string tooLong = dir + std::string(FL_DIR_PATH, 'q');
    w.at(tooLong);
    w.type(FL_Tab);
    EXPECT_EQ(w.look(), tooLong + " red E6E10");

    // Emptied, the text stays empty for a new path.
    w.at(dir + "abc");
    w.in.position(w.in.size(), 0);
    qvtest::key(&w.win, FL_BackSpace);
    EXPECT_EQ(w.look(), " black ");
    EXPECT_EQ(w.type('/', "/"), 1);
    EXPECT_EQ(w.look(), "/ black C2");

    w.in.value((dir + "abd").c_str());  // a paste is followed
    Fl::e_length = 0;
    EXPECT_EQ(w.in.handle(FL_PASTE), 1);
    EXPECT_EQ(w.look(), dir + "abd black C2");
    w.in.value("");  // an empty text is not taken
    EXPECT_STREQ(w.in.value(), (dir + "abd").c_str());
}

TEST(InputFile, PullDownOpensParentHomeCurrentRootAndTheLastTenFolders) {
    TempDir tmp;
    mkdir(tmp.file("sub").c_str(), 0755);
    for (const char* f : {"sub/f.txt", "g.txt"}) ecrireFichier(tmp.file(f), "x");
    VariableEnvironnement home("HOME", tmp.file("sub").c_str());
    InputWindow w(tmp.file("sub/*.txt"));
    InTempDir here;
    char cwd[FL_DIR_PATH];
    ASSERT_TRUE(getcwd(cwd, sizeof cwd));
    const std::pair<int, std::string> picks[] = {  // a pattern goes up along
        {0, tmp.file("*.txt black C2")}, {2, tmp.file("sub/ black C2")}, {3, std::string(cwd) + "/ black C2"},
        {1, "/ black C2"},               {0, "/ red "}};
    for (const auto& [item, after] : picks) {
        qvtest::flushDrawing();
        w.pick(item);
        EXPECT_EQ(w.look() + (w.in.damage() ? "" : " undrawn"), after) << item;
    }
    VariableEnvironnement none("HOME", nullptr);
    w.pick(2);
    EXPECT_EQ(w.look(), "/ red E4");

    // The folders of the names read from the text fill the last ten entries in turn.
    const int first = Fl_Input_File::Fl_Dir_User_Index, next = first == 13 ? 4 : first + 1;
    Fl_Input_File::updateUserDir("plain-name");
    for (int i = 0; i < 10; ++i) Fl_Input_File::updateUserDir(("/f" + std::to_string(i) + "/x").c_str());
    w.in.value(tmp.file("chosen").c_str());
    char out[FL_DIR_PATH];
    EXPECT_EQ(w.in.getFilename(out, sizeof out), static_cast<int>(tmp.path().size()) + 1);
    const Fl_Menu_Item* menu = w.in.pulldownButton()->menu();
    EXPECT_EQ(out + std::string(" ") + menu[first].label() + " " + menu[next].label() + " " + std::to_string(menu[first].visible()),
              tmp.file("chosen ") + tmp.path() + "/ /f1/ 1");  // the eleventh replaced the first
    EXPECT_EQ(Fl_Input_File::Fl_Dir_User_Index, next);
    w.pick(first);
    EXPECT_EQ(w.look(), tmp.path() + "/ black C2");

    // A recent folder is shown as it is and opened as it was recorded.
    const int root = Fl_Input_File::Fl_Dir_User_Index;
    Fl_Input_File::updateUserDir("/f");
    w.pick(root);
    EXPECT_EQ(w.look(), "/ black C2");
    Fl_Menu_Button* pulldown = w.in.pulldownButton();
    for (const char* name : {"a&b", "x/@sym", "new\nline"}) {
        const std::string folder = tmp.file(name) + "/";
        std::filesystem::create_directories(folder);
        const int slot = Fl_Input_File::Fl_Dir_User_Index;
        Fl_Input_File::updateUserDir((folder + "f").c_str());
        std::string shown = folder;
        std::replace(shown.begin(), shown.end(), '\n', '?');
        fl_font(pulldown->textfont(), pulldown->textsize());
        EXPECT_NEAR(menu[slot].measure(nullptr, pulldown), fl_width(shown.c_str()), 1) << name;
        w.pick(slot);
        EXPECT_EQ(w.look(), folder + " black C2") << name;
    }

    // No name for a wildcard or a text that does not fit.
    for (const auto& [text, size, name] : {std::tuple("/x/*.txt", 99, "0 "), std::tuple("/x/abcdef", 9, "0 "),
                                           std::tuple("/x/abcdef", 10, "3 /x/abcdef"), std::tuple("/x/c:d", 99, "3 /x/c:d")}) {
        w.in.value(text);
        EXPECT_EQ(std::to_string(w.in.getFilename(out, size)) + " " + out, name);
    }
    EXPECT_EQ(w.in.getFilename(nullptr, 10) + w.in.getFilename(out, 0), 0);
}

TEST(InputFile, TheCursorStaysInViewInATextLongerThanTheToolkitLaysOut) {
    InputWindow w("/");
    // Spaces draw nothing: the ink is that of the letters typed at the end.
    const auto ink = [&] {
        return qvtest::changedZone(w.win, [&](bool on) {
            w.in.textcolor(on ? FL_BLUE : FL_DARK_RED);
            w.in.redraw();
        });
    };
    w.at("MMM");  // short: the toolkit draws it
    const qvtest::Zone drawnByToolkit = ink();
    w.at("/" + std::string(1200, ' '));
    w.in.position(w.in.size());
    for (const char* c : {"M", "M", "M"}) qvtest::key(&w.win, *c, 0, c);
    fl_font(w.in.textfont(), w.in.textsize());
    const int typed = static_cast<int>(fl_width("MMM"));
    const qvtest::Zone letters = ink();
    EXPECT_TRUE(letters.x > X + 360 - typed - 30 && letters.x + letters.w < X + 360 && letters.w >= typed - 4)
        << letters;
    // Nothing is drawn past the input's frame, though the text goes on.
    const std::string typedText = w.in.value();
    w.in.value((typedText + std::string(20, 'M')).c_str());
    w.in.position(static_cast<int>(typedText.size()));
    const int row = letters.y + letters.h / 2;
    const qvtest::Rgb frame = qvtest::pixelAt(w.win, X + 359, row), outside = qvtest::pixelAt(w.win, X + 362, row);
    EXPECT_TRUE(frame != qvtest::rgbOf(FL_DARK_RED) && frame != qvtest::rgbOf(FL_BLACK) &&
                outside == qvtest::rgbOf(w.win.color()))
        << frame << outside;
    w.in.value(typedText.c_str());
    w.in.position(w.in.size());
    EXPECT_EQ(std::make_pair(letters.y, letters.h), std::make_pair(drawnByToolkit.y, drawnByToolkit.h));

    // The cursor stands after the letters while the input has the focus.
    const int top = Y + FL_INPUT_FILE_STRIP + Fl::box_dy(w.in.box()), mid = letters.y + letters.h / 2;
    const auto cursorAt = [&] {
        for (int x = letters.x + letters.w - 2; x < letters.x + letters.w + 5; ++x)
            if (qvtest::pixelAt(w.win, x, mid) == qvtest::rgbOf(w.in.cursor_color())) return x;
        return -1;
    };
    // It stays a margin inside the right edge, over the letters' whole height.
    const int textLeft = X + Fl::box_dx(w.in.box()) + 2, textWidth = 360 - Fl::box_dw(w.in.box()) - 4;
    const int cursor = cursorAt();
    EXPECT_TRUE(cursor <= textLeft + textWidth - 20 && cursor > textLeft + textWidth - 20 - fl_width("M")) << cursor;
    for (int y : {letters.y, letters.y + letters.h - 1})
        EXPECT_EQ(qvtest::pixelAt(w.win, cursor, y), qvtest::rgbOf(w.in.cursor_color())) << y;
    Fl::focus(nullptr);
    w.in.redraw();
    EXPECT_EQ(cursorAt(), -1);
    Fl::focus(&w.in);

    // The middle letter selected: its background, inside the text's row.
    qvtest::key(&w.win, FL_Left);
    qvtest::key(&w.win, FL_Left, FL_SHIFT);
    const int selected = letters.x + letters.w / 2, first = letters.x + letters.w / 6;
    for (int y : {top + 1, top + 2, Y + 40 - Fl::box_dy(w.in.box()) - 2})
        EXPECT_EQ(qvtest::pixelAt(w.win, selected, y), qvtest::rgbOf(w.in.selection_color())) << y;
    const int bottom = Y + 40 - Fl::box_dy(w.in.box()) - 1;  // the text row's last line of pixels
    for (int y : {top, bottom}) EXPECT_NE(qvtest::pixelAt(w.win, selected, y), qvtest::rgbOf(w.in.selection_color())) << y;
    EXPECT_NE(qvtest::pixelAt(w.win, first, top + 2), qvtest::rgbOf(w.in.selection_color()));
    // Each letter shows: the first in ink on the background, the selected in
    // a contrasting ink on the selection.
    const auto colours = [&](int from, int to) {
        std::set<std::tuple<int, int, int>> seen;
        for (int x = from; x < to; ++x) {
            const qvtest::Rgb c = qvtest::pixelAt(w.win, x, mid);
            seen.insert(std::make_tuple(c.r, c.g, c.b));
        }
        return seen;
    };
    const qvtest::Rgb sel = qvtest::rgbOf(w.in.selection_color()), back = qvtest::rgbOf(w.in.color());
    for (int third : {0, 2}) {
        const auto unselected = colours(letters.x + letters.w * third / 3 + 1, letters.x + letters.w * (third + 1) / 3 - 1);
        int darkest = 3 * 255;
        for (const auto& [r, g, b] : unselected) darkest = std::min(darkest, r + g + b);
        EXPECT_TRUE(unselected.count(std::make_tuple(back.r, back.g, back.b)) && darkest < 3 * 128 &&
                    !unselected.count(std::make_tuple(sel.r, sel.g, sel.b)))
            << third << " " << darkest;
    }
    const auto chosen = colours(letters.x + letters.w / 3 + 2, letters.x + letters.w * 2 / 3 - 1);
    EXPECT_TRUE(chosen.count(std::make_tuple(sel.r, sel.g, sel.b)) && chosen.size() > 2 &&
                !chosen.count(std::make_tuple(back.r, back.g, back.b)));
    // A drag from the first letter to past the last selects the three.
    qvtest::push(&w.win, letters.x + 2, Y + 25);
    qvtest::drag(&w.win, letters.x + letters.w + 15, Y + 25);
    qvtest::release(&w.win, letters.x + letters.w + 15, Y + 25);
    EXPECT_EQ(std::make_pair(w.in.mark(), w.in.position()), std::make_pair(w.in.size() - 3, w.in.size()));
    // A click on the first third of the first letter puts the cursor before
    // it, whatever font was set last; typing there shows.
    fl_font(FL_TIMES, 40);
    qvtest::click(&w.win, letters.x + 3, Y + 25);
    EXPECT_EQ(w.in.position(), w.in.size() - 3);
    qvtest::key(&w.win, 'M', 0, "M");
    EXPECT_EQ(ink().w - letters.w, static_cast<int>(fl_width("M"))) << ink();
    // Home shows the start: the letters leave the view, the folder's "/" comes in.
    qvtest::key(&w.win, FL_Home);
    const qvtest::Zone start = ink();
    EXPECT_TRUE(start.x < X + 10 && start.w < 10) << start;
    int slash = -1;
    for (int x = start.x; x < start.x + start.w && slash < 0; ++x)
        if (qvtest::pixelAt(w.win, x, mid) != qvtest::rgbOf(w.in.color())) slash = x;
    ASSERT_NE(slash, -1);
    qvtest::key(&w.win, FL_End);  // and leaves again, nothing of it drawn over
    EXPECT_EQ(qvtest::pixelAt(w.win, slash, mid), qvtest::rgbOf(w.in.color()));
    // Moved left past the edge, the cursor comes back a margin inside it.
    for (int i = 0; i < 100; ++i) qvtest::key(&w.win, FL_Left);
    int spaces = 0;
    while (fl_width(std::string(size_t(spaces), ' ').c_str()) < 20) ++spaces;
    const int margin = textLeft + static_cast<int>(fl_width(std::string(size_t(spaces), ' ').c_str()));
    EXPECT_EQ(qvtest::pixelAt(w.win, margin, mid), qvtest::rgbOf(w.in.cursor_color()));
    for (int x : {margin - 2, margin + 2})
        EXPECT_EQ(qvtest::pixelAt(w.win, x, mid), qvtest::rgbOf(w.in.color())) << x - margin;
}

// The path strip follows the view of a long text: the last folder's button
// ends past its separator, where it is drawn.
TEST(InputFile, ThePathStripFollowsTheViewOfALongText) {
    InputWindow w("/");
    w.at("/" + std::string(1200, ' ') + "/ab/");
    w.in.position(w.in.size());
    qvtest::key(&w.win, 'M', 0, "M");
    const qvtest::Zone ink = qvtest::changedZone(w.win, [&](bool on) {
        w.in.textcolor(on ? FL_BLUE : FL_BLACK);
        w.in.redraw();
    });
    fl_font(w.in.textfont(), w.in.textsize());
    // The ink is "/ab/M" ending at the cursor: "ab/" ends where "M" begins.
    const int afterAb = ink.x + ink.w - static_cast<int>(fl_width("M"));
    for (const auto& [x, button] : {std::pair(afterAb - 1, 3), std::pair(afterAb - static_cast<int>(fl_width("b/")), 3),
                                    std::pair(ink.x - 2, 2), std::pair(afterAb + 12, 0)}) {
        qvtest::push(&w.win, x, Y + 6);
        EXPECT_EQ(w.in.highlighted(), button) << x - afterAb;
        qvtest::drag(&w.win, x, Y - 20);  // off the strip: released there, nothing opens
        qvtest::release(&w.win, x, Y - 20);
    }
}

}  // namespace
