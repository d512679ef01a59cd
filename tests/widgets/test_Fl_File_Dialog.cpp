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
#include <string>
#include <tuple>
#include <utility>

namespace {

// A folder with a sub-folder, a dot file, a program, two text files and a FIFO.
struct DialogFolder {
    TempDir tmp;
    std::string dir = tmp.path() + "/";
    DialogFolder() {
        for (const char* f : {".hidden", "run.exe", "a.txt", "b.txt"}) ecrireFichier(tmp.file(f), "x");
        mkdir(tmp.file("sub").c_str(), 0755);
        mkfifo(tmp.file("pipe").c_str(), 0644);
    }
};

struct DialogWindow {
    Fl_Window win{0, 0, 480, 320};
    Fl_File_Dialog dialog;
    DialogWindow(const std::string& path, int mode, int filter = 0)
        : dialog(5, 5, nullptr, path.c_str(), mode, FL_DIR_SORT_ALPHA, filter) {
        win.end();
        qvtest::showAndDraw(win);
    }
    Fl_Multi_Browser* list() { return dialog.fileBrowser(); }
    std::string lines() {
        std::string s;
        for (int i = 1; i <= list()->size(); ++i) s += (i > 1 ? "|" : "") + std::string(list()->text(i));
        return s;
    }
    std::string status() { return dialog.statusLine()->label(); }
    // Where the status line's text has ink, along two rows.
    std::string statusPixels() {
        const Fl_Box* b = dialog.statusLine();
        const qvtest::Rgb paper = qvtest::rgbOf(b->color());
        std::string ink;
        for (int y : {b->y() + 7, b->y() + 10})
            for (int x = b->x() + 2; x < b->x() + b->w() - 2; ++x) ink += qvtest::pixelAt(win, x, y) == paper ? '.' : '#';
        return ink;
    }
    // Selects the given lines as the user's clicks leave them, then lets
    // the list call back: `clicks` 1 for a double click.
    void choose(std::initializer_list<int> lines, int clicks = 0) {
        list()->deselect();
        for (int l : lines) list()->select(l);
        Fl::e_clicks = clicks;
        list()->do_callback();
        Fl::e_clicks = 0;
    }
    void pick(Fl_Choice* c, int item) { c->picked(&c->menu()[item]); }
};

TEST(FileDialog, LinesShowEachKindInItsOwnFormatAndTheStatusTheMode) {
    DialogFolder f;
    const char* texts[] = {"Please select File to Open", "Please select Files to Open", "Please select File to Save",
                           "Please select Files to Save"};
    for (int mode = 0; mode < 4; ++mode) {
        DialogWindow w(f.dir, mode);
        EXPECT_EQ(w.status(), texts[mode]);
        EXPECT_EQ(w.list()->type(), mode & 1 ? FL_MULTI_BROWSER : FL_HOLD_BROWSER);
    }
    DialogWindow w(f.dir, 0);
    EXPECT_EQ(w.lines(), "@C35@b@.../|@C33@i@..hidden|@C00@.a.txt|@C00@.b.txt|@C34@.run.exe*|@C32@b@.sub/");

    // Sort, filter and pattern choices act on the list.
    w.pick(w.dialog.sortChoice(), FL_DIR_SORT_REVERSE);
    EXPECT_EQ(w.lines(), "@C32@b@.sub/|@C34@.run.exe*|@C00@.b.txt|@C00@.a.txt|@C33@i@..hidden|@C35@b@.../");
    w.pick(w.dialog.sortChoice(), FL_DIR_SORT_ALPHA);
    w.pick(w.dialog.filterChoice(), 0);  // folders
    EXPECT_EQ(w.lines(), "@C35@b@.../|@C33@i@..hidden|@C00@.a.txt|@C00@.b.txt|@C34@.run.exe*");
    EXPECT_TRUE(w.dialog.filterChoice()->menu()[0].value());
    w.pick(w.dialog.filterChoice(), 5);  // parent
    w.pick(w.dialog.filterChoice(), 2);  // hidden
    w.pick(w.dialog.filterChoice(), 3);  // executables
    EXPECT_EQ(w.lines(), "@C00@.a.txt|@C00@.b.txt");
    w.pick(w.dialog.filterChoice(), 1);  // files: nothing left
    EXPECT_EQ(w.lines(), "");
    EXPECT_EQ(w.status(), "Sorry - No files match with selected Filter");
    w.pick(w.dialog.filterChoice(), 1);
    w.pick(w.dialog.filterChoice(), 0);
    w.pick(w.dialog.patternChoice(), 2);  // *.txt
    EXPECT_EQ(w.lines(), "@C00@.a.txt|@C00@.b.txt|@C32@b@.sub/");
    EXPECT_STREQ(w.dialog.input()->value(), (f.dir + "*.txt").c_str());
    w.pick(w.dialog.patternChoice(), 4);  // *.bmp
    EXPECT_EQ(w.status(), "Sorry - No files match the Pattern/Filter");
    EXPECT_STREQ(w.dialog.input()->value(), (f.dir + "*.bmp").c_str());
    // Alt+C and Alt+H pick their patterns from anywhere in the window.
    for (const auto& [key, pattern] : {std::pair('c', "*.C*"), std::pair('h', "*.H*")}) {
        const char text[2] = {key, 0};
        qvtest::key(&w.win, key, FL_ALT, text);
        EXPECT_STREQ(w.dialog.patternChoice()->text(), pattern);
        EXPECT_EQ(w.dialog.input()->dirPath(), f.dir + pattern);
    }
}

using Rect = std::tuple<int, int, int, int>;
Rect rectOf(const Fl_Widget* o) { return Rect(o->x(), o->y(), o->w(), o->h()); }

TEST(FileDialog, ChildrenSitInPlaceAndTheListTakesTheGrowth) {
    DialogFolder f;
    DialogWindow w(f.dir, 0);
    Fl_File_Dialog& d = w.dialog;
    const struct { Fl_Widget* widget; Rect place; Fl_Color colour; } children[] = {
        {&d, Rect(5, 5, 461, 299), FL_BACKGROUND_COLOR},
        {d.fileBrowser(), Rect(12, 40, 448, 196), 52},
        {d.input(), Rect(11, 237, 449, 40), 52},
        {d.sortChoice(), Rect(39, 11, 108, 25), FL_BACKGROUND_COLOR},
        {d.filterChoice(), Rect(187, 11, 108, 25), FL_BACKGROUND_COLOR},
        {d.patternChoice(), Rect(347, 10, 108, 25), FL_BACKGROUND_COLOR},
        {d.statusLine(), Rect(12, 279, 446, 20), 48},
    };
    for (const auto& c : children) {
        EXPECT_EQ(rectOf(c.widget), c.place) << c.widget->label();
        EXPECT_EQ(c.widget->color(), c.colour) << c.widget->label();
    }
    for (Fl_Choice* c : {d.sortChoice(), d.filterChoice(), d.patternChoice()})
        EXPECT_EQ(std::make_tuple(c->textsize(), c->labelsize(), c->labelfont()), std::make_tuple(12, 12, FL_BOLD))
            << c->label();
    EXPECT_EQ(d.fileBrowser()->textsize(), 12);
    EXPECT_EQ(std::make_tuple(d.statusLine()->labelsize(), d.statusLine()->labelfont()), std::make_tuple(12, FL_BOLD));
    EXPECT_EQ(d.box(), FL_THIN_DOWN_FRAME);
    EXPECT_EQ(d.statusLine()->box(), FL_THIN_DOWN_BOX);
    d.resize(5, 5, 561, 399);
    EXPECT_EQ(rectOf(d.fileBrowser()), Rect(12, 40, 548, 296));
    EXPECT_EQ(d.input()->y(), 337);
    EXPECT_EQ(d.input()->h(), 40);
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
    EXPECT_EQ(plain.dialog.patternChoice()->value(), 0);
    EXPECT_EQ(plain.dialog.filterChoice()->value(), 1);
}

TEST(FileDialog, SelectionPutsFilesInTheInputAndDoubleClicksOpenFolders) {
    DialogFolder f;
    DialogWindow multi(f.dir, FL_FILE_DIALOG_MULTI, FL_DIR_FOLDER);
    // lines: 1 .., 2 .hidden, 3 a.txt, 4 b.txt, 5 run.exe
    multi.choose({1, 3, 5});
    EXPECT_STREQ(multi.dialog.input()->value(), (f.dir + "a.txt,run.exe").c_str());
    EXPECT_EQ(multi.status(), "Multi Files Selected...");
    multi.choose({4});
    EXPECT_STREQ(multi.dialog.input()->value(), (f.dir + "b.txt").c_str());
    EXPECT_EQ(multi.status(), "Single File Selected...");

    DialogWindow w(f.dir, 0);
    int ended = 0;
    w.dialog.endCallback([](Fl_Widget*, void* n) { ++*static_cast<int*>(n); }, &ended);
    w.choose({});
    EXPECT_EQ(w.status(), "Please select File to Open");
    w.choose({6});  // one click on a folder: nothing
    EXPECT_STREQ(w.dialog.input()->value(), f.dir.c_str());
    w.choose({2});
    EXPECT_STREQ(w.dialog.input()->value(), (f.dir + ".hidden").c_str());
    EXPECT_EQ(ended, 0);
    w.choose({3}, 1);
    EXPECT_STREQ(w.dialog.input()->value(), (f.dir + "a.txt").c_str());
    EXPECT_EQ(ended, 1);

    const int slot = Fl_Input_File::Fl_Dir_User_Index;
    w.choose({6}, 1);
    EXPECT_STREQ(w.dialog.input()->value(), (f.dir + "sub/").c_str());
    EXPECT_EQ(w.lines(), "@C35@b@.../");
    EXPECT_EQ(Fl_Input_File::pulldown[slot].label(), f.dir + "sub/");
    // A real double click on the parent line, the first one.
    Fl_Multi_Browser* l = w.list();
    qvtest::flushDrawing();  // the user clicks on a list that is drawn
    qvtest::doubleClick(&w.win, l->x() + 30, l->y() + 8);
    EXPECT_STREQ(w.dialog.input()->value(), f.dir.c_str());
    EXPECT_EQ(w.list()->size(), 6);
    EXPECT_EQ(ended, 1);
}

TEST(FileDialog, NoMatchReadsAsANewFileWhenSaving) {
    DialogFolder f;
    for (int mode : {0, int(FL_FILE_DIALOG_SAVE)}) {
        DialogWindow w(f.dir, mode);
        Fl::focus(w.dialog.input());
        w.dialog.input()->position(w.dialog.input()->size());
        const std::string before = w.statusPixels();
        qvtest::key(&w.win, 'q', 0, "q");
        EXPECT_EQ(w.status(), mode ? "Entering a new file" : "Sorry - No file matches entry");
        EXPECT_NE(w.statusPixels(), before);  // the new text is on screen
        EXPECT_EQ(w.dialog.input()->textcolor(), FL_RED);
        qvtest::key(&w.win, FL_BackSpace);
        EXPECT_EQ(w.status(), "Please enter or select file");
    }
}

// Runs the modal dialog on `path` with `answer` run on its window.
int runDialog(char* path, int pathSize, int mode, std::function<void(Fl_Window&)> answer) {
    qvtest::ModalDriver driver(3.0);
    driver.onModal(std::move(answer));
    const int r = fl_file_dialog("Choisir", path, mode, FL_DIR_SORT_ALPHA, 0, false, pathSize);
    EXPECT_FALSE(driver.timedOut());
    EXPECT_TRUE(driver.done());
    return r;
}

Fl_File_Dialog* dialogOf(Fl_Window& w) { return static_cast<Fl_File_Dialog*>(w.child(0)); }

TEST(FileDialog, ModalDialogReturnsTheChosenNameOrLeavesTheBufferAlone) {
    DialogFolder f;
    const int folder = static_cast<int>(f.dir.size());
    char path[FL_DIR_PATH];
    const struct { const char* name; std::function<void(Fl_Window&)> answer; } cancels[] = {
        {"Cancel", [](Fl_Window& w) { qvtest::clickWidget(qvtest::findWidget(&w, "Cancel")); }},
        {"close box", [](Fl_Window& w) { w.do_callback(); }},
        {"Escape", [](Fl_Window& w) { qvtest::key(&w, FL_Escape); }},
    };
    for (const auto& c : cancels) {
        std::snprintf(path, sizeof path, "%s", f.dir.c_str());
        EXPECT_EQ(runDialog(path, sizeof path, 0, c.answer), 0) << c.name;
        EXPECT_EQ(path, f.dir) << c.name;
    }

    std::snprintf(path, sizeof path, "%s", f.dir.c_str());
    Rect window, dialog, ok, cancel, picture;
    EXPECT_EQ(runDialog(path, sizeof path, 0, [&](Fl_Window& w) {
                  Fl_File_Dialog* d = dialogOf(w);
                  window = rectOf(&w);
                  dialog = rectOf(d);
                  ok = rectOf(qvtest::findWidget(&w, "Ok"));
                  cancel = rectOf(qvtest::findWidget(&w, "Cancel"));
                  picture = rectOf(w.child(1));
                  EXPECT_EQ(w.child(1)->image()->w(), 32);
                  EXPECT_STREQ(w.label(), "Choisir");
                  d->input()->value((std::string(d->input()->dirPath()) + "b.txt").c_str());
                  qvtest::clickWidget(qvtest::findWidget(&w, "Ok"));
              }),
              folder);
    EXPECT_EQ(path, f.dir + "b.txt");
    EXPECT_EQ(std::get<2>(window), 472);
    EXPECT_EQ(std::get<3>(window), 343);
    EXPECT_EQ(dialog, Rect(5, 5, 461, 299));
    EXPECT_EQ(ok, Rect(8, 311, 196, 25));
    EXPECT_EQ(cancel, Rect(267, 311, 197, 25));
    EXPECT_EQ(picture, Rect(208, 306, 56, 34));

    // Enter in the input reaches OK; a double click on a file accepts.
    std::snprintf(path, sizeof path, "%s", f.dir.c_str());
    EXPECT_EQ(runDialog(path, sizeof path, 0, [](Fl_Window& w) {
                  Fl_File_Dialog* d = dialogOf(w);
                  Fl::focus(d->input());
                  d->input()->position(d->input()->size());
                  qvtest::key(&w, 'a', 0, "a");
                  qvtest::key(&w, FL_Enter);
              }),
              folder);
    EXPECT_EQ(path, f.dir + "a");
    std::snprintf(path, sizeof path, "%s", f.dir.c_str());
    EXPECT_EQ(runDialog(path, sizeof path, 0, [](Fl_Window& w) {
                  Fl_Multi_Browser* l = dialogOf(w)->fileBrowser();
                  l->select(4);
                  Fl::e_clicks = 1;
                  l->do_callback();
                  Fl::e_clicks = 0;
              }),
              folder);
    EXPECT_EQ(path, f.dir + "b.txt");

    // Several files in a buffer too small for them: no name at all.
    std::snprintf(path, sizeof path, "%s", f.dir.c_str());
    EXPECT_EQ(runDialog(path, folder + 8, FL_FILE_DIALOG_MULTI, [](Fl_Window& w) {
                  Fl_Multi_Browser* l = dialogOf(w)->fileBrowser();
                  l->select(3);
                  l->select(4);
                  l->do_callback();
                  qvtest::clickWidget(qvtest::findWidget(&w, "Ok"));
              }),
              0);
    EXPECT_STREQ(path, "");
}

}  // namespace
