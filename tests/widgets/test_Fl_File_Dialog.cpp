#include "widgets/Fl_File_Dialog.h"

#include "widgets/Fl_Input_File.h"

#include "support/ModalDriver.h"
#include "support/TempDir.h"
#include "support/WidgetEvents.h"
#include "support/WidgetPixels.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Multi_Browser.H>
#include <FL/Fl_Window.H>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <functional>
#include <string>
#include <tuple>
#include <utility>

namespace {

using Rect = std::tuple<int, int, int, int>;
Rect rectOf(const Fl_Widget* o) { return Rect(o->x(), o->y(), o->w(), o->h()); }

// A sub-folder, a dot file, a program, two text files and a FIFO.
struct DialogFolder {
    TempDir tmp;
    std::string dir = tmp.path() + "/";
    DialogFolder() {
        for (const char* f : {".hidden", "run.exe", "a.txt", "b.txt"}) ecrireFichier(tmp.file(f), "x");
        mkdir(tmp.file("sub").c_str(), 0755);
        mkfifo(tmp.file("pipe").c_str(), 0644);
    }
};

const char* const kAll = "@C35@b@.../|@C33@i@..hidden|@C00@.a.txt|@C00@.b.txt|@C34@.run.exe*|@C32@b@.sub/";

struct DialogWindow {
    Fl_Window win{0, 0, 480, 320};
    Fl_File_Dialog dialog;
    Fl_Multi_Browser* list = dialog.fileBrowser();
    DialogWindow(const std::string& path, int mode, int filter = 0)
        : dialog(5, 5, nullptr, path.c_str(), mode, FL_DIR_SORT_ALPHA, filter) {
        win.end();
        qvtest::showAndDraw(win);
    }
    std::string lines() {
        std::string s;
        for (int i = 1; i <= list->size(); ++i) s += (i > 1 ? "|" : "") + std::string(list->text(i));
        return s;
    }
    std::string status() { return dialog.statusLine()->label(); }
    // The input's text and the status line.
    std::string look() { return dialog.input()->value() + std::string(" | ") + status(); }
    // Where the status line's text has ink, along two rows.
    std::string statusPixels() {
        const Fl_Box* b = dialog.statusLine();
        std::string ink;
        for (int y : {b->y() + 7, b->y() + 10})
            for (int x = b->x() + 2; x < b->x() + b->w() - 2; ++x)
                ink += qvtest::pixelAt(win, x, y) == qvtest::rgbOf(b->color()) ? '.' : '#';
        return ink;
    }
    // Leaves the given lines selected, as clicks would, and lets the list
    // call back: `clicks` 1 for a double click.
    void choose(std::initializer_list<int> lines, int clicks = 0) {
        list->deselect();
        for (int l : lines) list->select(l);
        Fl::e_clicks = clicks;
        list->do_callback();
        Fl::e_clicks = 0;
    }
    void pick(Fl_Choice* c, int item) { c->picked(&c->menu()[item]); }
};

TEST(FileDialog, LinesShowEachKindInItsFormatAndTheChoicesActOnThem) {
    DialogFolder f;
    const char* texts[] = {"Please select File to Open", "Please select Files to Open", "Please select File to Save",
                           "Please select Files to Save"};
    for (int mode = 0; mode < 4; ++mode) {
        DialogWindow w(f.dir, mode);
        EXPECT_EQ(w.status(), texts[mode]);
        EXPECT_EQ(w.list->type(), mode & 1 ? FL_MULTI_BROWSER : FL_HOLD_BROWSER);
    }
    DialogWindow w(f.dir, 0);
    Fl_File_Dialog& d = w.dialog;
    EXPECT_EQ(w.lines(), kAll);
    w.pick(d.sortChoice(), FL_DIR_SORT_REVERSE);
    EXPECT_EQ(w.lines(), "@C32@b@.sub/|@C34@.run.exe*|@C00@.b.txt|@C00@.a.txt|@C33@i@..hidden|@C35@b@.../");
    w.pick(d.sortChoice(), FL_DIR_SORT_ALPHA);
    w.pick(d.filterChoice(), 0);  // folders
    EXPECT_EQ(w.lines(), "@C35@b@.../|@C33@i@..hidden|@C00@.a.txt|@C00@.b.txt|@C34@.run.exe*");
    EXPECT_TRUE(d.filterChoice()->menu()[0].value());
    for (int item : {5, 2, 3}) w.pick(d.filterChoice(), item);  // parent, hidden, executables
    EXPECT_EQ(w.lines(), "@C00@.a.txt|@C00@.b.txt");
    w.pick(d.filterChoice(), 1);  // files: nothing left
    EXPECT_EQ(w.lines() + w.status(), "Sorry - No files match with selected Filter");
    w.pick(d.filterChoice(), 1);
    w.pick(d.filterChoice(), 0);
    w.pick(d.patternChoice(), 2);
    EXPECT_EQ(w.lines(), "@C00@.a.txt|@C00@.b.txt|@C32@b@.sub/");
    EXPECT_EQ(w.look(), f.dir + "*.txt | Please enter or select file");
    w.pick(d.patternChoice(), 4);
    EXPECT_EQ(w.look(), f.dir + "*.bmp | Sorry - No files match the Pattern/Filter");
    // Alt+C and Alt+H pick their patterns from anywhere in the window.
    for (const auto& [key, pattern] : {std::pair('c', "*.C*"), std::pair('h', "*.H*")}) {
        const char text[2] = {key, 0};
        qvtest::key(&w.win, key, FL_ALT, text);
        EXPECT_EQ(d.patternChoice()->text() + std::string(" ") + d.input()->dirPath(), pattern + (" " + f.dir) + pattern);
    }
}

TEST(FileDialog, ChildrenSitInPlaceAndTheListTakesTheGrowth) {
    DialogFolder f;
    DialogWindow w(f.dir, 0);
    Fl_File_Dialog& d = w.dialog;
    const struct { Fl_Widget* widget; Rect place; Fl_Color colour; } children[] = {
        {&d, Rect(5, 5, 461, 299), FL_BACKGROUND_COLOR},          {w.list, Rect(12, 40, 448, 196), 52},
        {d.input(), Rect(11, 237, 449, 40), 52},                  {d.sortChoice(), Rect(39, 11, 108, 25), FL_BACKGROUND_COLOR},
        {d.filterChoice(), Rect(187, 11, 108, 25), FL_BACKGROUND_COLOR}, {d.patternChoice(), Rect(347, 10, 108, 25), FL_BACKGROUND_COLOR},
        {d.statusLine(), Rect(12, 279, 446, 20), 48},
    };
    for (const auto& c : children) EXPECT_EQ(std::make_tuple(rectOf(c.widget), c.widget->color()), std::make_tuple(c.place, c.colour));
    for (Fl_Choice* c : {d.sortChoice(), d.filterChoice(), d.patternChoice()})
        EXPECT_EQ(std::make_tuple(c->textsize(), c->labelsize(), c->labelfont()), std::make_tuple(12, 12, FL_BOLD));
    EXPECT_EQ(std::make_tuple(w.list->textsize(), d.statusLine()->labelsize(), d.statusLine()->labelfont()),
              std::make_tuple(12, 12, FL_BOLD));
    EXPECT_EQ(std::make_pair(d.box(), d.statusLine()->box()), std::make_pair(FL_THIN_DOWN_FRAME, FL_THIN_DOWN_BOX));
    d.resize(5, 5, 561, 399);
    EXPECT_EQ(rectOf(w.list), Rect(12, 40, 548, 296));
    EXPECT_EQ(std::make_pair(d.input()->y(), d.input()->h()), std::make_pair(337, 40));
}

TEST(FileDialog, AGivenPatternBecomesTheEleventhEntryOfThatDialogOnly) {
    DialogFolder f;
    DialogWindow bmp(f.dir + "*.bmp", 0);
    Fl_Choice* pattern = bmp.dialog.patternChoice();
    EXPECT_EQ(pattern->value(), 10);
    EXPECT_STREQ(pattern->text(), "*.bmp");
    {
        DialogWindow txt(f.dir + "*.txt", 0);
        EXPECT_STREQ(txt.dialog.patternChoice()->text(10), "*.txt");
        EXPECT_EQ(txt.lines(), "@C35@b@.../|@C00@.a.txt|@C00@.b.txt|@C32@b@.sub/");
    }
    EXPECT_STREQ(pattern->text(10), "*.bmp");
    EXPECT_STREQ(Fl_File_Dialog::menuPattern[10].label(), "*");
    DialogWindow plain(f.dir, 0);
    EXPECT_EQ(std::make_pair(plain.dialog.patternChoice()->value(), plain.dialog.filterChoice()->value()), std::make_pair(0, 1));
    for (const auto& [sort, shown] : {std::pair(7, 7), std::pair(8, 0), std::pair(-1, 0)}) {
        Fl_File_Dialog odd(0, 0, nullptr, f.dir.c_str(), 0, sort, 0);
        EXPECT_EQ(odd.sortChoice()->value(), shown) << sort;
    }
}

TEST(FileDialog, SelectionPutsFilesInTheInputAndDoubleClicksOpenFolders) {
    DialogFolder f;
    DialogWindow multi(f.dir, FL_FILE_DIALOG_MULTI, FL_DIR_FOLDER);  // .., .hidden, a.txt, b.txt, run.exe
    multi.choose({1, 3, 5});
    EXPECT_EQ(multi.look(), f.dir + "a.txt,run.exe | Multi Files Selected...");
    multi.choose({4});
    EXPECT_EQ(multi.look(), f.dir + "b.txt | Single File Selected...");

    DialogWindow w(f.dir, 0);
    int ended = 0;
    w.dialog.endCallback([](Fl_Widget*, void* n) { ++*static_cast<int*>(n); }, &ended);
    w.choose({});
    w.choose({6});  // one click on a folder: nothing
    EXPECT_EQ(w.look(), f.dir + " | Please select File to Open");
    w.choose({2});
    EXPECT_EQ(w.look() + std::to_string(ended), f.dir + ".hidden | Single File Selected...0");
    w.choose({3}, 1);
    EXPECT_EQ(w.look() + std::to_string(ended), f.dir + "a.txt | Single File Selected...1");

    const int slot = Fl_Input_File::Fl_Dir_User_Index;
    w.choose({6}, 1);
    EXPECT_EQ(w.look(), f.dir + "sub/ | Please enter or select file");
    EXPECT_EQ(w.lines(), "@C35@b@.../");
    EXPECT_EQ(Fl_Input_File::pulldown[slot].label(), f.dir + "sub/");
    qvtest::flushDrawing();  // a real double click on the parent, the first line of a drawn list
    qvtest::doubleClick(&w.win, w.list->x() + 30, w.list->y() + 8);
    EXPECT_EQ(w.look() + std::to_string(ended), f.dir + " | Please enter or select file1");
    EXPECT_EQ(w.lines(), kAll);
}

TEST(FileDialog, NoMatchReadsAsANewFileWhenSaving) {
    DialogFolder f;
    for (int mode : {0, int(FL_FILE_DIALOG_SAVE)}) {
        DialogWindow w(f.dir, mode);
        Fl::focus(w.dialog.input());
        w.dialog.input()->position(w.dialog.input()->size());
        const std::string before = w.statusPixels();
        qvtest::key(&w.win, 'q', 0, "q");
        EXPECT_EQ(w.look(), f.dir + "q | " + (mode ? "Entering a new file" : "Sorry - No file matches entry"));
        EXPECT_NE(w.statusPixels(), before);  // the new text is on screen
        EXPECT_EQ(w.dialog.input()->textcolor(), FL_RED);
        qvtest::key(&w.win, FL_BackSpace);
        EXPECT_EQ(w.status(), "Please enter or select file");
    }
}

// Runs the modal dialog on `start` in a buffer of `size` bytes with `answer`
// run on its window; gives the result and what the buffer then holds.
std::string runDialog(const std::string& start, int size, int mode, std::function<void(Fl_Window&, Fl_File_Dialog&)> answer) {
    char path[FL_DIR_PATH];
    std::snprintf(path, sizeof path, "%s", start.c_str());
    qvtest::ModalDriver driver(3.0);
    driver.onModal([&](Fl_Window& w) { answer(w, *static_cast<Fl_File_Dialog*>(w.child(0))); });
    const int r = fl_file_dialog("Choisir", path, mode, FL_DIR_SORT_ALPHA, 0, false, size);
    EXPECT_FALSE(driver.timedOut());
    EXPECT_TRUE(driver.done());
    return std::to_string(r) + " " + path;
}

void press(Fl_Window& w, const char* button) { qvtest::clickWidget(qvtest::findWidget(&w, button)); }

TEST(FileDialog, ModalDialogReturnsTheChosenNameOrLeavesTheBufferAlone) {
    DialogFolder f;
    const std::string folder = std::to_string(f.dir.size()) + " " + f.dir;
    EXPECT_EQ(runDialog(f.dir, FL_DIR_PATH, 0, [](Fl_Window& w, Fl_File_Dialog&) { press(w, "Cancel"); }), "0 " + f.dir);
    EXPECT_EQ(runDialog(f.dir, FL_DIR_PATH, 0, [](Fl_Window& w, Fl_File_Dialog&) { w.do_callback(); }), "0 " + f.dir);
    EXPECT_EQ(runDialog(f.dir, FL_DIR_PATH, 0, [](Fl_Window& w, Fl_File_Dialog&) { qvtest::key(&w, FL_Escape); }), "0 " + f.dir);

    Rect window, places[4];
    EXPECT_EQ(runDialog(f.dir, FL_DIR_PATH, 0, [&](Fl_Window& w, Fl_File_Dialog& d) {
                  window = rectOf(&w);
                  places[0] = rectOf(&d);
                  places[1] = rectOf(qvtest::findWidget(&w, "Ok"));
                  places[2] = rectOf(qvtest::findWidget(&w, "Cancel"));
                  places[3] = rectOf(w.child(1));
                  EXPECT_EQ(w.child(1)->image()->w(), 32);
                  EXPECT_STREQ(w.label(), "Choisir");
                  d.input()->value((std::string(d.input()->dirPath()) + "b.txt").c_str());
                  press(w, "Ok");
              }),
              folder + "b.txt");
    EXPECT_EQ(std::make_pair(std::get<2>(window), std::get<3>(window)), std::make_pair(472, 343));
    EXPECT_EQ(places[0], Rect(5, 5, 461, 299));
    EXPECT_EQ(places[1], Rect(8, 311, 196, 25));
    EXPECT_EQ(places[2], Rect(267, 311, 197, 25));
    EXPECT_EQ(places[3], Rect(208, 306, 56, 34));

    // Enter in the input reaches OK; a double click on a file accepts.
    EXPECT_EQ(runDialog(f.dir, FL_DIR_PATH, 0, [](Fl_Window& w, Fl_File_Dialog& d) {
                  Fl::focus(d.input());
                  d.input()->position(d.input()->size());
                  qvtest::key(&w, 'a', 0, "a");
                  qvtest::key(&w, FL_Enter);
              }),
              folder + "a");
    EXPECT_EQ(runDialog(f.dir, FL_DIR_PATH, 0, [](Fl_Window&, Fl_File_Dialog& d) {
                  d.fileBrowser()->select(4);
                  Fl::e_clicks = 1;
                  d.fileBrowser()->do_callback();
                  Fl::e_clicks = 0;
              }),
              folder + "b.txt");
    // Several files in a buffer too small for them: no name at all.
    EXPECT_EQ(runDialog(f.dir, static_cast<int>(f.dir.size()) + 8, FL_FILE_DIALOG_MULTI, [](Fl_Window& w, Fl_File_Dialog& d) {
                  d.fileBrowser()->select(3);
                  d.fileBrowser()->select(4);
                  d.fileBrowser()->do_callback();
                  press(w, "Ok");
              }),
              "0 ");
}

}  // namespace
