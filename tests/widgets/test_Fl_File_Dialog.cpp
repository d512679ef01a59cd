#include "widgets/Fl_File_Dialog.h"

#include "widgets/Fl_Input_File.h"

#include "support/Environnement.h"
#include "support/ModalDriver.h"
#include "support/TempDir.h"
#include "support/WidgetEvents.h"
#include "support/WidgetPixels.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Multi_Browser.H>
#include <FL/Fl_Window.H>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <FL/fl_draw.H>  // after the test framework: it brings X11's macros

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Rect = std::tuple<int, int, int, int>;
Rect rectOf(const Fl_Widget* o) { return Rect(o->x(), o->y(), o->w(), o->h()); }

// Types at the end of the dialog's input.
void type(Fl_Window& w, Fl_File_Dialog& d, int key, const char* text = "") {
    Fl::focus(d.input());
    d.input()->position(d.input()->size());
    qvtest::key(&w, key, 0, text);
}

// Leaves the given lines selected, as clicks would, and lets the list call
// back: `clicks` 1 for a double click.
void choose(Fl_File_Dialog& d, const std::vector<int>& lines, int clicks = 0) {
    d.fileBrowser()->deselect();
    for (int l : lines) d.fileBrowser()->select(l);
    Fl::e_clicks = clicks;
    d.fileBrowser()->do_callback();
    Fl::e_clicks = 0;
}

void pick(Fl_Choice* c, int item) { c->picked(&c->menu()[item]); }

// The list's lines, the input's text and the status line.
std::string lookOf(Fl_File_Dialog& d) {
    std::string s;
    for (int i = 1; i <= d.fileBrowser()->size(); ++i) s += d.fileBrowser()->text(i) + std::string("|");
    return s + " " + d.input()->value() + " | " + d.statusLine()->label();
}

// Window coordinates of the middle of the list's line n (from 1), unscrolled.
int lineY(Fl_File_Dialog& d, int n) {
    Fl_Multi_Browser* b = d.fileBrowser();
    fl_font(b->textfont(), b->textsize());
    return b->y() + Fl::box_dy(b->box()) + (n - 1) * fl_height() + fl_height() / 2;
}

// A click on line n of the list, through the window, as the user makes it;
// the list is drawn first, as it would be on screen, so that it knows where
// its lines are.
void clickLine(Fl_Window& w, Fl_File_Dialog& d, int n, int modifiers = 0) {
    qvtest::flushDrawing();
    qvtest::click(&w, d.fileBrowser()->x() + 40, lineY(d, n), 1, modifiers);
}

void doubleClickLine(Fl_Window& w, Fl_File_Dialog& d, int n) {
    qvtest::flushDrawing();
    qvtest::doubleClick(&w, d.fileBrowser()->x() + 40, lineY(d, n));
}

const char* const kReverse = "@C32@b@.sub/|@C34@.run.exe*|@C00@.b.txt|@C00@.a.txt|@C33@i@..hidden|@C35@b@.../";

// A shown dialog on a folder holding a sub-folder, a dot file, a program,
// two text files and a FIFO.
struct DialogWindow {
    TempDir tmp;
    std::string dir = tmp.path() + "/";
    Fl_Window win{0, 0, 480, 320};
    Fl_File_Dialog& d;
    explicit DialogWindow(int mode, const std::string& pattern = "", int filter = 0)
        : d(*new Fl_File_Dialog(5, 5, nullptr, (folder() + pattern).c_str(), mode, FL_DIR_SORT_ALPHA, filter)) {
        win.end();
        qvtest::showAndDraw(win);
    }
    const std::string& folder() {
        for (const char* f : {".hidden", "run.exe", "a.txt", "b.txt"}) ecrireFichier(tmp.file(f), "x");
        mkdir(tmp.file("sub").c_str(), 0755);
        mkfifo(tmp.file("pipe").c_str(), 0644);
        return dir;
    }
    std::string look() { return lookOf(d); }
};

TEST(FileDialog, LinesShowEachKindInItsFormatAndTheChoicesActOnThem) {
    DialogWindow w(0);
    Fl_File_Dialog& d = w.d;
    const std::string all = "@C35@b@.../|@C33@i@..hidden|@C00@.a.txt|@C00@.b.txt|@C34@.run.exe*|@C32@b@.sub/|";
    EXPECT_EQ(w.look(), all + " " + w.dir + " | Please select File to Open");
    qvtest::flushDrawing();
    type(w.win, d, 'q', "q");
    EXPECT_EQ(w.look(), all + " " + w.dir + "q | Sorry - No file matches entry");
    EXPECT_NE(d.statusLine()->damage(), 0);  // the new text is drawn
    type(w.win, d, FL_BackSpace);
    pick(d.filterChoice(), 0);  // folders
    EXPECT_EQ(w.look(), "@C35@b@.../|@C33@i@..hidden|@C00@.a.txt|@C00@.b.txt|@C34@.run.exe*| " + w.dir +
                            " | Please enter or select file");
    for (int item : {5, 2, 3}) pick(d.filterChoice(), item);  // parent, hidden, executables
    EXPECT_EQ(w.look(), "@C00@.a.txt|@C00@.b.txt| " + w.dir + " | Please enter or select file");
    pick(d.filterChoice(), 1);  // files: nothing left
    EXPECT_EQ(w.look(), " " + w.dir + " | Sorry - No files match with selected Filter");
    for (int item : {1, 0}) pick(d.filterChoice(), item);
    pick(d.patternChoice(), 2);
    EXPECT_EQ(w.look(), "@C00@.a.txt|@C00@.b.txt|@C32@b@.sub/| " + w.dir + "*.txt | Please enter or select file");
    pick(d.patternChoice(), 4);
    EXPECT_EQ(w.look(), "@C00@.a.txt|@C00@.b.txt|@C32@b@.sub/| " + w.dir + "*.bmp | Sorry - No files match the Pattern/Filter");
    for (const auto& [key, pattern] : {std::pair('c', "*.C*"), std::pair('h', "*.H*")}) {  // Alt+C, Alt+H
        qvtest::key(&w.win, key, FL_ALT, key == 'c' ? "c" : "h");
        EXPECT_EQ(d.patternChoice()->text() + std::string(" ") + d.input()->dirPath(), pattern + (" " + w.dir) + pattern);
    }
}

TEST(FileDialog, ChildrenSitInPlaceTheListTakesTheGrowthAndAGivenPatternIsOffered) {
    DialogWindow w(0, "*.txt");
    Fl_File_Dialog& d = w.d;
    const Fl_Color grey = FL_BACKGROUND_COLOR;
    const struct { Fl_Widget* widget; Rect place; Fl_Color colour; } children[] = {
        {&d, Rect(5, 5, 461, 299), grey},                  {d.fileBrowser(), Rect(12, 40, 448, 196), 52},
        {d.input(), Rect(11, 237, 449, 40), 52},           {d.sortChoice(), Rect(39, 11, 108, 25), grey},
        {d.filterChoice(), Rect(187, 11, 108, 25), grey},  {d.patternChoice(), Rect(347, 10, 108, 25), grey},
        {d.statusLine(), Rect(12, 279, 446, 20), 48},
    };
    for (const auto& c : children)
        EXPECT_EQ(std::make_tuple(rectOf(c.widget), c.widget->color()), std::make_tuple(c.place, c.colour));
    for (Fl_Choice* c : {d.sortChoice(), d.filterChoice(), d.patternChoice()})
        EXPECT_EQ(std::make_tuple(c->textsize(), c->labelsize(), c->labelfont()), std::make_tuple(12, 12, FL_BOLD));
    EXPECT_EQ(std::make_tuple(d.fileBrowser()->textsize(), d.statusLine()->labelsize(), d.statusLine()->labelfont(),
                              d.box(), d.statusLine()->box(), d.filterChoice()->value()),
              std::make_tuple(12, 12, FL_BOLD, FL_THIN_DOWN_FRAME, FL_THIN_DOWN_BOX, 1));
    d.resize(5, 5, 561, 399);
    EXPECT_EQ(std::make_tuple(rectOf(d.fileBrowser()), d.input()->y(), d.input()->h()),
              std::make_tuple(Rect(12, 40, 548, 296), 337, 40));

    // The pattern of the given path becomes the eleventh entry, of that dialog only.
    EXPECT_EQ(std::to_string(d.patternChoice()->value()) + d.patternChoice()->text() + " " + w.look(),
              "10*.txt @C35@b@.../|@C00@.a.txt|@C00@.b.txt|@C32@b@.sub/| " + w.dir + "*.txt | Please select File to Open");
    EXPECT_STREQ(Fl_File_Dialog::menuPattern[10].label(), "*");
    for (const auto& [sort, shown] : {std::pair(7, 7), std::pair(8, 0), std::pair(-1, 0)})
        EXPECT_EQ(Fl_File_Dialog(0, 0, nullptr, "/", 0, sort, 0).sortChoice()->value(), shown) << sort;
}

TEST(FileDialog, SelectionPutsFilesInTheInputAndDoubleClicksOpenFolders) {
    DialogWindow multi(FL_FILE_DIALOG_MULTI, "", FL_DIR_FOLDER);  // .., .hidden, a.txt, b.txt, run.exe
    const std::string lines = "@C35@b@.../|@C33@i@..hidden|@C00@.a.txt|@C00@.b.txt|@C34@.run.exe*| " + multi.dir;
    for (const auto& [picked, clicks, after] : {std::tuple(std::vector{1, 3, 5}, 0, "a.txt,run.exe | Multi Files Selected..."),
                                                std::tuple(std::vector{4}, 0, "b.txt | Single File Selected..."),
                                                std::tuple(std::vector{2, 3}, 1, ".hidden,a.txt | Multi Files Selected...")}) {
        choose(multi.d, picked, clicks);
        EXPECT_EQ(multi.look(), lines + after);
    }

    DialogWindow noParent(FL_FILE_DIALOG_MULTI, "", FL_DIR_FOLDER | FL_DIR_PARENT);  // a file on the first line
    choose(noParent.d, {1, 2});
    EXPECT_EQ(noParent.look(), "@C33@i@..hidden|@C00@.a.txt|@C00@.b.txt|@C34@.run.exe*| " + noParent.dir +
                                   ".hidden,a.txt | Multi Files Selected...");

    DialogWindow w(0);
    int ended = 0;
    w.d.endCallback([](Fl_Widget*, void* n) { ++*static_cast<int*>(n); }, &ended);
    pick(w.d.sortChoice(), FL_DIR_SORT_REVERSE);
    const std::string reverse = kReverse + std::string("| ") + w.dir;
    for (const auto& [line, clicks, after] : {std::tuple(0, 0, " | Please enter or select file0"),
                                              std::tuple(1, 0, " | Please enter or select file0"),  // a folder: nothing
                                              std::tuple(5, 0, ".hidden | Single File Selected...0"),
                                              std::tuple(4, 1, "a.txt | Single File Selected...1")}) {
        choose(w.d, {line}, clicks);
        EXPECT_EQ(w.look() + std::to_string(ended), reverse + after) << line;
    }
    const int slot = Fl_Input_File::Fl_Dir_User_Index;
    choose(w.d, {1}, 1);
    EXPECT_EQ(w.look(), "@C35@b@.../| " + w.dir + "sub/ | Please enter or select file");
    EXPECT_EQ(Fl_Input_File::pulldown[slot].label(), w.dir + "sub/");
    qvtest::flushDrawing();  // a real double click on the parent, the first line of a drawn list
    qvtest::doubleClick(&w.win, w.d.fileBrowser()->x() + 30, w.d.fileBrowser()->y() + 8);
    EXPECT_EQ(w.look() + std::to_string(ended), reverse + " | Please enter or select file1");
}

// Runs the modal dialog on `start` in a buffer of `size` bytes with `answer`
// run on its window (none: nobody answers); gives the result and the buffer.
std::string runDialog(const std::string& start, int size, int mode, std::function<void(Fl_Window&, Fl_File_Dialog&)> answer) {
    std::vector<char> buffer(static_cast<size_t>(std::max(size, int(FL_DIR_PATH))));
    char* path = buffer.data();
    std::snprintf(path, buffer.size(), "%s", start.c_str());
    qvtest::ModalDriver driver(answer ? 3.0 : 0.3);
    // The window is drawn first, as on screen: a list knows where its lines are once drawn.
    if (answer)
        driver.onModal([&](Fl_Window& w) {
            qvtest::showAndDraw(w);
            answer(w, *static_cast<Fl_File_Dialog*>(w.child(0)));
        });
    driver.after(60, [] {});  // never due: the watchdog closes a dialog left open
    const int r = fl_file_dialog("Choisir", path, mode, FL_DIR_SORT_ALPHA, 0, false, size);
    return std::to_string(r) + " " + path;
}

void press(Fl_Window& w, const char* button) { qvtest::clickWidget(qvtest::findWidget(&w, button)); }

TEST(FileDialog, ModalDialogReturnsTheChosenNameOrLeavesTheBufferAlone) {
    TempDir tmp;
    const std::string dir = tmp.path() + "/", folder = std::to_string(dir.size()) + " " + dir;
    for (const char* f : {"a.txt", "b.txt"}) ecrireFichier(tmp.file(f), "x");
    const char* texts[] = {"Please select File to Open", "Please select Files to Open", "Please select File to Save",
                           "Please select Files to Save"};
    for (int mode = 0; mode < 4; ++mode)  // refused by Cancel, the window's close box, Escape, Cancel
        EXPECT_EQ(runDialog(dir, FL_DIR_PATH, mode, [&](Fl_Window& w, Fl_File_Dialog& d) {
                      EXPECT_EQ(d.statusLine()->label() + std::to_string(d.fileBrowser()->type()),
                                texts[mode] + std::to_string(mode & 1 ? FL_MULTI_BROWSER : FL_HOLD_BROWSER));
                      mode == 1 ? w.do_callback() : mode == 2 ? void(qvtest::key(&w, FL_Escape)) : press(w, "Cancel");
                  }),
                  "0 " + dir);
    std::string unanswered;  // fails the test instead of hanging
    EXPECT_NONFATAL_FAILURE(unanswered = runDialog(dir, FL_DIR_PATH, 0, nullptr), "still waiting");
    EXPECT_EQ(unanswered, "0 " + dir);

    EXPECT_EQ(runDialog(dir, FL_DIR_PATH, 0, [&](Fl_Window& w, Fl_File_Dialog& d) {
                  EXPECT_EQ(std::make_tuple(w.w(), w.h(), std::string(w.label()), w.child(1)->image()->w(), rectOf(w.child(1)),
                                            rectOf(qvtest::findWidget(&w, "Ok")), rectOf(qvtest::findWidget(&w, "Cancel"))),
                            std::make_tuple(472, 343, std::string("Choisir"), 32, Rect(208, 306, 56, 34),
                                            Rect(8, 311, 196, 25), Rect(267, 311, 197, 25)));
                  d.input()->value((dir + "b.txt").c_str());
                  press(w, "Ok");
              }),
              folder + "b.txt");
    // Saving: a new name reads as such, and Enter in the input reaches OK,
    // the pointer resting on the dialog.
    EXPECT_EQ(runDialog(dir, FL_DIR_PATH, FL_FILE_DIALOG_SAVE, [](Fl_Window& w, Fl_File_Dialog& d) {
                  type(w, d, 'q', "q");
                  EXPECT_EQ(d.statusLine()->label() + std::string(d.input()->textcolor() == FL_RED ? " red" : ""),
                            "Entering a new file red");
                  qvtest::moveMouse(&w, d.input()->x() + 20, d.input()->y() + 25);
                  type(w, d, FL_Enter);
              }),
              folder + "q");
    // A double click on a file accepts it; several files in a buffer one
    // byte short of them are refused as too long, one that fits is taken.
    EXPECT_EQ(runDialog(dir, FL_DIR_PATH, 0, [](Fl_Window&, Fl_File_Dialog& d) { choose(d, {3}, 1); }), folder + "b.txt");
    for (int mode : {int(FL_FILE_DIALOG_MULTI), FL_FILE_DIALOG_MULTI | FL_FILE_DIALOG_SAVE})
        EXPECT_EQ(runDialog(dir, static_cast<int>(dir.size()) + 11, mode, [](Fl_Window& w, Fl_File_Dialog& d) {
                      clickLine(w, d, 2);
                      clickLine(w, d, 3, FL_CTRL);
                      press(w, "Ok");
                      EXPECT_EQ(d.statusLine()->label() + std::string(w.shown() ? " shown" : ""),
                                "Sorry - The path is too long shown");
                      clickLine(w, d, 2);
                      press(w, "Ok");
                  }),
                  folder + "a.txt");
    // Longer than the system takes a name: too long, not missing.
    EXPECT_EQ(runDialog(dir, 3 * FL_DIR_PATH, 0, [&](Fl_Window& w, Fl_File_Dialog& d) {
                  d.input()->value((dir + std::string(5000, 'x')).c_str());
                  press(w, "Ok");
                  EXPECT_EQ(d.statusLine()->label() + std::string(w.shown() ? " shown" : ""),
                            "Sorry - The path is too long shown");
                  press(w, "Cancel");
              }),
              "0 " + dir);
}

TEST(FileDialog, AFolderShowingNothingEmptiesTheListAndUpLeavesTheFolderNamed) {
    TempDir tmp;
    const std::string dir = tmp.path() + "/";
    for (const char* f : {"a.txt", "run.exe", "Zed/z.txt"}) {
        std::filesystem::create_directories(std::filesystem::path(tmp.file(f)).parent_path());
        ecrireFichier(tmp.file(f), "x");
    }
    mkdir(tmp.file("fifo").c_str(), 0755);
    mkfifo(tmp.file("fifo/p").c_str(), 0644);
    // Files hidden, a folder of text files shows no name: none of this folder
    // is left to be picked there.
    EXPECT_EQ(runDialog(dir, FL_DIR_PATH, 0, [&](Fl_Window& w, Fl_File_Dialog& d) {
                  pick(d.filterChoice(), 1);
                  EXPECT_EQ(lookOf(d), "@C35@b@.../|@C32@b@.Zed/|@C32@b@.fifo/|@C34@.run.exe*| " + dir +
                                           " | Please enter or select file");
                  doubleClickLine(w, d, 2);
                  EXPECT_EQ(lookOf(d), "@C35@b@.../| " + dir + "Zed/ | Sorry - No file matches entry");
                  clickLine(w, d, 4);  // where the program was
                  press(w, "Ok");
              }),
              std::to_string(dir.size() + 4) + " " + dir + "Zed/");

    DialogWindow w(0);
    Fl_File_Dialog& d = w.d;
    d.input()->value(tmp.file("fifo").c_str());
    type(w.win, d, '/', "/");  // a folder holding only a pipe
    EXPECT_EQ(w.look(), "@C35@b@.../| " + dir + "fifo/ | Sorry - No file matches entry");
    // A path longer than the lister holds would, cut, open Zed: refused.
    d.input()->value((dir + "Zed/" + std::string(FL_DIR_PATH, 'x')).c_str());
    type(w.win, d, '/', "/");
    EXPECT_EQ(lookOf(d).substr(0, 13) + d.statusLine()->label(), "@C35@b@.../| Sorry - The path is too long");
    // The parent line of a path through ".." opens the parent of the folder it names.
    d.input()->value((dir + "Zed/..").c_str());
    type(w.win, d, '/', "/");
    EXPECT_EQ(d.fileBrowser()->size(), 5);
    doubleClickLine(w.win, d, 1);
    EXPECT_EQ(d.input()->value(), std::filesystem::path(tmp.path()).parent_path().string() + "/");
    // After a ".." that follows a link, the system shows the parent of the
    // link's target (here the folder itself): Up opens the parent of that.
    for (const char* f : {"d", "e"}) mkdir(tmp.file(f).c_str(), 0755);
    ASSERT_EQ(symlink(tmp.file("e").c_str(), tmp.file("d/link").c_str()), 0);
    d.input()->value((dir + "d/link/..").c_str());
    type(w.win, d, '/', "/");
    EXPECT_EQ(d.fileBrowser()->size(), 7);  // .., Zed, a.txt, d, e, fifo, run.exe
    doubleClickLine(w.win, d, 1);
    EXPECT_EQ(d.input()->value(), std::filesystem::canonical(tmp.path()).parent_path().string() + "/");
}

TEST(FileDialog, TheAnswerIsTheHighlightedFilesAndEnterGivesItFromTheList) {
    TempDir tmp;
    const std::string dir = tmp.path() + "/";
    for (const char* f : {"a.txt", "b.txt", "c.txt"}) ecrireFichier(tmp.file(f), "x");
    mkdir(tmp.file("sub").c_str(), 0755);
    // Lines: .., a.txt, b.txt, c.txt, sub.
    EXPECT_EQ(runDialog(dir, FL_DIR_PATH, FL_FILE_DIALOG_MULTI, [&](Fl_Window& w, Fl_File_Dialog& d) {
                  const struct { int line, modifiers; const char* after; } clicks[] = {
                      {2, 0, "a.txt | Single File Selected..."},
                      {3, FL_CTRL, "a.txt,b.txt | Multi Files Selected..."},
                      {3, FL_CTRL, "a.txt | Single File Selected..."},  // b.txt deselected
                      {2, FL_CTRL, " | Please enter or select file"},   // nothing left: the folder
                      {4, FL_CTRL, "c.txt | Single File Selected..."},
                      {5, FL_CTRL, "c.txt | Single File Selected..."},  // a folder is no answer
                      {2, FL_SHIFT, "a.txt,b.txt,c.txt | Multi Files Selected..."},
                      {4, FL_CTRL, "a.txt,b.txt | Multi Files Selected..."},
                  };
                  for (const auto& c : clicks) {
                      clickLine(w, d, c.line, c.modifiers);
                      EXPECT_EQ(d.input()->value() + std::string(" | ") + d.statusLine()->label(), dir + c.after)
                          << c.line << " " << c.modifiers;
                  }
                  // A text typed since is the user's: deselecting the last file leaves it.
                  clickLine(w, d, 2, FL_CTRL);
                  d.input()->value((dir + "s*/x").c_str());
                  type(w, d, 'y', "y");
                  clickLine(w, d, 3, FL_CTRL);
                  EXPECT_STREQ(d.input()->value(), (dir + "s*/xy").c_str());
                  for (int line : {2, 3}) clickLine(w, d, line, FL_CTRL);
                  // A quick second Ctrl+click deselects: it accepts nothing.
                  qvtest::EventSpec second;
                  second.x = d.fileBrowser()->x() + 40;
                  second.y = lineY(d, 3);
                  second.button = 1;
                  second.held = 1;
                  second.modifiers = FL_CTRL;
                  second.clicks = 1;
                  qvtest::sendEvent(&w, FL_PUSH, second);
                  second.held = 0;
                  qvtest::sendEvent(&w, FL_RELEASE, second);
                  EXPECT_EQ(d.input()->value() + std::string(w.shown() ? " shown" : ""), dir + "a.txt shown");
                  clickLine(w, d, 3, FL_CTRL);
                  qvtest::moveMouse(&w, d.fileBrowser()->x() + 40, lineY(d, 3));
                  qvtest::key(&w, FL_Enter);  // the list has the focus
              }),
              std::to_string(dir.size()) + " " + dir + "a.txt,b.txt");
    // A single list: a click on a folder takes the file out of the answer.
    EXPECT_EQ(runDialog(dir, FL_DIR_PATH, 0, [&](Fl_Window& w, Fl_File_Dialog& d) {
                  clickLine(w, d, 3);
                  clickLine(w, d, 5);
                  EXPECT_EQ(d.input()->value() + std::string(" | ") + d.statusLine()->label(),
                            dir + " | Please enter or select file");
                  qvtest::key(&w, FL_KP_Enter);
              }),
              std::to_string(dir.size()) + " " + dir);
}

TEST(FileDialog, OddNamesShowControlCharactersAsQuestionMarksAndReturnAsTheyAre) {
    TempDir tmp;
    const std::string dir = tmp.path() + "/";
    for (const char* f : {"new\nline.txt", "c:d.txt", "tab\there", "@at", "a b"}) ecrireFichier(tmp.file(f), "x");
    for (const auto& [line, name] : {std::pair(5, "new\nline.txt"), std::pair(4, "c:d.txt")})
        EXPECT_EQ(runDialog(dir, FL_DIR_PATH, 0, [&](Fl_Window& w, Fl_File_Dialog& d) {
                      EXPECT_EQ(lookOf(d), "@C35@b@.../|@C00@.@at|@C00@.a b|@C00@.c:d.txt|@C00@.new?line.txt|@C00@.tab?here| " +
                                               dir + " | Please select File to Open");
                      clickLine(w, d, line);
                      press(w, "Ok");
                  }),
                  std::to_string(dir.size()) + " " + dir + name);
}

TEST(FileDialog, ALargeFolderListsItsFirstNamesAndANameTypedInFull) {
    TempDir big;
    const std::string dir = big.path() + "/";
    remplirDossier(big.path(), 3100);
    Fl_Window win(0, 0, 480, 320);
    Fl_File_Dialog& d = *new Fl_File_Dialog(5, 5, nullptr, dir.c_str(), 0, FL_DIR_SORT_ALPHA, 0);
    win.end();
    qvtest::showAndDraw(win);
    Fl_Multi_Browser* list = d.fileBrowser();
    EXPECT_EQ(std::to_string(list->size()) + list->text(2) + list->text(FL_DIR_MAX_FILES), "3000@C00@.f0000@C00@.f2998");
    for (const char* c : {"f", "3", "0", "5", "0"}) type(win, d, *c, c);
    EXPECT_EQ(lookOf(d) + (d.input()->textcolor() == FL_RED ? " red" : ""),
              "@C35@b@.../|@C00@.f3050| " + dir + "f3050 | Please enter or select file");
}

}  // namespace

namespace {

// The highlighted lines, as "2,4,".
std::string highlightOf(Fl_File_Dialog& d) {
    std::string s;
    for (int i = 1; i <= d.fileBrowser()->size(); ++i)
        if (d.fileBrowser()->selected(i)) s += std::to_string(i) + ",";
    return s;
}

TEST(FileDialog, ASortOrARefillKeepsTheHighlightedFilesThatTheInputNames) {
    TempDir tmp;
    const std::string dir = tmp.path() + "/";
    for (const char* f : {"a.txt", "b.txt", "c.txt"}) ecrireFichier(tmp.file(f), "x");
    mkdir(tmp.file("sub").c_str(), 0755);
    // Lines: .., a.txt, b.txt, c.txt, sub; reversed: sub, c.txt, b.txt, a.txt, ..
    const struct { int mode; bool noParent; std::vector<int> clicked; const char *highlight, *answer, *status; } cases[] = {
        {0, false, {2}, "4,", "a.txt", "Single"},
        {FL_FILE_DIALOG_MULTI, false, {2, 4}, "2,4,", "c.txt,a.txt", "Multi"},  // named in the new order
        {0, true, {1}, "4,", "a.txt", "Single"},  // a file on the first line
    };
    for (const auto& c : cases)
        EXPECT_EQ(runDialog(dir, FL_DIR_PATH, c.mode, [&](Fl_Window& w, Fl_File_Dialog& d) {
                      if (c.noParent) pick(d.filterChoice(), 5);
                      for (int line : c.clicked) clickLine(w, d, line, FL_CTRL);
                      qvtest::key(&w, 'a', 0, "a");  // the shortcut of the first sort: nothing moves
                      pick(d.sortChoice(), FL_DIR_SORT_REVERSE);
                      d.fill();  // a caller's refill
                      EXPECT_EQ(highlightOf(d) + " " + d.input()->value() + " " + d.statusLine()->label(),
                                c.highlight + (" " + dir) + c.answer + " " + c.status +
                                    (c.mode ? " Files Selected..." : " File Selected..."));
                      press(w, "Ok");
                  }),
                  std::to_string(dir.size()) + " " + dir + c.answer)
            << c.mode;

    // A file still listed after a pattern that shows nothing, then sorted
    // away: it leaves the answer.
    DialogWindow w(0);
    Fl_File_Dialog& d = w.d;
    pick(d.patternChoice(), 8);  // *.C*: nothing matches, the lines stay
    clickLine(w.win, d, 3);
    EXPECT_EQ(w.look(), "@C35@b@.../|@C33@i@..hidden|@C00@.a.txt|@C00@.b.txt|@C34@.run.exe*|@C32@b@.sub/| " + w.dir +
                            "a.txt | Single File Selected...");
    pick(d.sortChoice(), FL_DIR_SORT_REVERSE);
    EXPECT_EQ(w.look() + highlightOf(d), "@C32@b@.sub/|@C35@b@.../| " + w.dir + "*.C* | Please enter or select file");
}

TEST(FileDialog, AReleaseOverTheListsScrollbarStillChoosesTheHighlightedFile) {
    TempDir tmp;
    const std::string dir = tmp.path() + "/";
    remplirDossier(tmp.path(), 40);  // more lines than the list shows: a scrollbar
    for (int mode : {0, int(FL_FILE_DIALOG_MULTI)}) {
        Fl_Window win(0, 0, 480, 320);
        Fl_File_Dialog& d = *new Fl_File_Dialog(5, 5, nullptr, dir.c_str(), mode, FL_DIR_SORT_ALPHA, FL_DIR_PARENT);
        win.end();
        qvtest::showAndDraw(win);
        Fl_Multi_Browser* list = d.fileBrowser();
        const int onBar = list->x() + list->w() - Fl::box_dw(list->box()) - Fl::scrollbar_size() / 2;
        const int ctrl = mode ? FL_CTRL : 0;  // adds to a multi list, moves the highlight of a single one
        // Lines: f0000 ... f0039, no parent; the last one first, from no highlight.
        const struct { int line; std::string after; } gestures[] = {
            {40, "40, " + dir + "f0039"},
            {1, mode ? "1,40, " + dir + "f0000,f0039" : "1, " + dir + "f0000"},
            {3, mode ? "1,3,40, " + dir + "f0000,f0002,f0039" : "3, " + dir + "f0002"},
        };
        for (const auto& g : gestures) {
            if (g.line > 20) list->bottomline(g.line);
            else list->topline(1);
            qvtest::flushDrawing();
            const int y = lineY(d, g.line) - list->position();
            const std::string before = d.input()->value();
            qvtest::push(&win, list->x() + 40, y, 1, ctrl);
            qvtest::drag(&win, onBar, y, 1, ctrl);
            EXPECT_EQ(d.input()->value(), before) << "the input follows at the release";
            qvtest::release(&win, onBar, y, 1, ctrl);
            EXPECT_EQ(highlightOf(d) + " " + d.input()->value(), g.after) << mode << " " << g.line;
        }
    }
}

TEST(FileDialog, ADoubleClickOffTheLinesOpensNothing) {
    DialogWindow w(0);  // .., .hidden, a.txt, b.txt, run.exe, sub
    clickLine(w.win, w.d, 6);
    const std::string before = w.look();
    for (int y : {w.d.fileBrowser()->y(), lineY(w.d, 9)}) {  // the frame, below the last line
        qvtest::flushDrawing();
        qvtest::doubleClick(&w.win, w.d.fileBrowser()->x() + 40, y);
        EXPECT_EQ(w.look(), before) << y;
    }
    doubleClickLine(w.win, w.d, 6);
    EXPECT_EQ(w.d.input()->value(), w.dir + "sub/");
}

TEST(FileDialog, ADoubleClickOnAFileAnswersOnce) {
    for (int mode : {0, int(FL_FILE_DIALOG_MULTI)}) {
        DialogWindow w(mode);  // .., .hidden, a.txt, b.txt, run.exe, sub
        int ended = 0;
        w.d.endCallback([](Fl_Widget*, void* n) { ++*static_cast<int*>(n); }, &ended);
        doubleClickLine(w.win, w.d, 4);
        EXPECT_EQ(w.d.input()->value() + std::string(" ") + std::to_string(ended), w.dir + "b.txt 1") << mode;
    }
}

// In open mode the answer names what exists when it is given: files removed
// or renamed while the list shows them, and names typed that match nothing,
// are refused with the folder read again.
TEST(FileDialog, OpeningRefusesANameThatNamesNothingAndReadsTheFolderAgain) {
    TempDir tmp;
    const std::string dir = tmp.path() + "/", folder = std::to_string(dir.size()) + " " + dir;
    for (const char* f : {"a.txt", "b.txt", "c.txt"}) ecrireFichier(tmp.file(f), "x");
    mkdir(tmp.file("sub").c_str(), 0755);
    const auto seen = [](Fl_Window& w, Fl_File_Dialog& d) {
        return highlightOf(d) + " " + lookOf(d) + (w.shown() ? " shown" : "");
    };
    const std::string refused = " | Sorry - No file matches entry shown";
    // Lines: .., a.txt, b.txt, c.txt, sub.
    EXPECT_EQ(runDialog(dir, FL_DIR_PATH, 0, [&](Fl_Window& w, Fl_File_Dialog& d) {
                  clickLine(w, d, 3);
                  std::remove(tmp.file("b.txt").c_str());
                  press(w, "Ok");
                  EXPECT_EQ(seen(w, d), " @C35@b@.../|@C00@.a.txt|@C00@.c.txt|@C32@b@.sub/| " + dir + refused);
                  std::rename(tmp.file("c.txt").c_str(), tmp.file("d.txt").c_str());
                  doubleClickLine(w, d, 3);
                  EXPECT_EQ(seen(w, d), " @C35@b@.../|@C00@.a.txt|@C00@.d.txt|@C32@b@.sub/| " + dir + refused);
                  type(w, d, 'q', "q");
                  type(w, d, FL_Enter);
                  EXPECT_EQ(seen(w, d), " @C35@b@.../|@C32@b@.sub/| " + dir + "q" + refused);
                  type(w, d, FL_BackSpace);
                  press(w, "Ok");  // the folder alone
              }),
              folder);
    // A pattern names no file: it gives no name, as ever.
    EXPECT_EQ(runDialog(dir, FL_DIR_PATH, 0, [&](Fl_Window& w, Fl_File_Dialog& d) {
                  type(w, d, '*', "*");
                  press(w, "Ok");
              }),
              "0 ");
    // Several files: the one still there stays chosen.
    EXPECT_EQ(runDialog(dir, FL_DIR_PATH, FL_FILE_DIALOG_MULTI, [&](Fl_Window& w, Fl_File_Dialog& d) {
                  clickLine(w, d, 2);
                  clickLine(w, d, 3, FL_CTRL);
                  std::remove(tmp.file("d.txt").c_str());
                  press(w, "Ok");
                  EXPECT_EQ(seen(w, d), "2, @C35@b@.../|@C00@.a.txt|@C32@b@.sub/| " + dir + "a.txt" + refused);
                  press(w, "Ok");
              }),
              folder + "a.txt");
    // A name holding "," is one name when it exists.
    ecrireFichier(tmp.file("e,f"), "x");
    EXPECT_EQ(runDialog(dir, FL_DIR_PATH, FL_FILE_DIALOG_MULTI, [&](Fl_Window& w, Fl_File_Dialog& d) {
                  d.input()->value((dir + "e,f").c_str());
                  press(w, "Ok");
              }),
              folder + "e,f");
    // Saving takes a name that is gone, or new.
    EXPECT_EQ(runDialog(dir, FL_DIR_PATH, FL_FILE_DIALOG_SAVE, [&](Fl_Window& w, Fl_File_Dialog& d) {
                  clickLine(w, d, 2);
                  std::remove(tmp.file("a.txt").c_str());
                  press(w, "Ok");
              }),
              folder + "a.txt");
    // "~" names nothing to the caller: refused, the input shows the folder
    // that it stands for, which is then taken.
    VariableEnvironnement home("HOME", tmp.path().c_str());
    EXPECT_EQ(runDialog("~/", FL_DIR_PATH, 0, [&](Fl_Window& w, Fl_File_Dialog& d) {
                  press(w, "Ok");
                  EXPECT_EQ(d.input()->value() + std::string(" ") + d.statusLine()->label(), dir + refused.substr(2, 30));
                  press(w, "Ok");
              }),
              folder);
    // A folder that may no longer be searched hides its files (root passes).
    if (geteuid() != 0) {
        mkdir(tmp.file("sub/in").c_str(), 0755);
        ecrireFichier(tmp.file("sub/in/x.txt"), "x");
        EXPECT_EQ(runDialog(dir + "sub/in/", FL_DIR_PATH, 0, [&](Fl_Window& w, Fl_File_Dialog& d) {
                      clickLine(w, d, 2);
                      chmod(tmp.file("sub/in").c_str(), 0600);
                      press(w, "Ok");
                      EXPECT_EQ(d.statusLine()->label() + std::string(w.shown() ? " shown" : ""),
                                "Sorry - No such directory or permission denied shown");
                      chmod(tmp.file("sub/in").c_str(), 0755);
                      press(w, "Cancel");
                  }),
                  "0 " + dir + "sub/in/");
        std::filesystem::remove_all(tmp.file("sub/in"));
    }
    // A folder removed while shown lists nothing once refused.
    EXPECT_EQ(runDialog(dir + "sub/", FL_DIR_PATH, 0, [&](Fl_Window& w, Fl_File_Dialog& d) {
                  rmdir(tmp.file("sub").c_str());
                  press(w, "Ok");
                  EXPECT_EQ(seen(w, d), "  " + dir + "sub/" + refused);
                  press(w, "Cancel");
              }),
              "0 " + dir + "sub/");
}

}  // namespace
