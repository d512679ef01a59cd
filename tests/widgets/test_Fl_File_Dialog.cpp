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
    DialogWindow(const std::string& path, int mode, int sort = FL_DIR_SORT_ALPHA)
        : dialog(5, 5, nullptr, path.c_str(), mode, sort, 0) {
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
    DialogWindow multi(f.dir, FL_FILE_DIALOG_MULTI);
    // lines: 1 .., 2 .hidden, 3 a.txt, 4 b.txt, 5 run.exe, 6 sub
    multi.choose({1, 3, 5, 6});
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
        qvtest::key(&w.win, 'q', 0, "q");
        EXPECT_EQ(w.status(), mode ? "Entering a new file" : "Sorry - No file matches entry");
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
    EXPECT_EQ(runDialog(path, sizeof path, 0, [](Fl_Window& w) {
                  Fl_File_Dialog* d = dialogOf(w);
                  d->input()->value((std::string(d->input()->dirPath()) + "b.txt").c_str());
                  qvtest::clickWidget(qvtest::findWidget(&w, "Ok"));
              }),
              folder);
    EXPECT_EQ(path, f.dir + "b.txt");

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
