#include "widgets/Fl_Dir.h"

#include "support/Environnement.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>

namespace {

// A lister that logs its callbacks: "1" and "2" the list callbacks, "E" and
// the status the error callback. It opens its path before they are set.
struct Lister : Fl_Dir {
    std::string calls;
    explicit Lister(const std::string& path, int sort = FL_DIR_SORT_ALPHA) : Fl_Dir(path.c_str(), sort, 0) {
        dirCallback([](Fl_Dir* d, void*) { static_cast<Lister*>(d)->calls += "1"; }, nullptr);
        dirCallback2([](Fl_Dir* d, void*) { static_cast<Lister*>(d)->calls += "2"; }, nullptr);
        dirErrorCallback([](Fl_Dir* d, void*) { static_cast<Lister*>(d)->calls += "E" + std::to_string(d->dirStatus()); },
                         nullptr);
    }
    // The shown entries in display order, then the callbacks since the last look.
    std::string shown() {
        std::string s;
        while (const Fl_Dir_File* f = fileList()) s += std::string(f->name) + " ";
        return s + std::exchange(calls, {});
    }
    // A call's result, the callbacks since the last look, and the path.
    std::string after(int result) { return std::to_string(result) + " " + std::exchange(calls, {}) + " " + dirPath(); }
};

TEST(Dir, TypedNameShowsItsMatchesFailuresKeepTheFolderAndCdMovesBetweenFolders) {
    // Three names beginning with "ab", a text file, a folder, a dot file, a FIFO and two links.
    TempDir tmp;
    const std::string dir = tmp.path() + "/";
    for (const char* f : {"ab1", "ab2", "abc", "b.txt", ".hidden"}) ecrireFichier(tmp.file(f), "x");
    mkdir(tmp.file("sub").c_str(), 0755);
    mkfifo(tmp.file("pipe").c_str(), 0644);
    mkdir(tmp.file("fifo").c_str(), 0755);  // a folder where nothing can be shown
    mkfifo(tmp.file("fifo/p").c_str(), 0644);
    ASSERT_EQ(symlink("sub", tmp.file("link").c_str()) + symlink("none", tmp.file("dead").c_str()), 0);
    const char* const calls[] = {"12", "1", "2", ""};  // by mode: both list callbacks, either, neither
    for (int mode = 0; mode < 4; ++mode) {
        Lister d("");
        EXPECT_EQ(d.after(d.cd((dir + "ab").c_str(), mode)), "3 " + std::string(calls[mode]) + " " + dir + "ab");
        EXPECT_EQ(d.shown() + d.shown(), ".. ab1 ab2 abc fifo link sub .. ab1 ab2 abc fifo link sub ");
    }
    Lister d(dir);  // the FIFO and the dead link are never listed, but can be found
    EXPECT_EQ(d.shown() + d.fileInList("pipe", 0)->name, ".. .hidden ab1 ab2 abc b.txt fifo link sub pipe");
    EXPECT_TRUE(d.fileInList("a?c", 1) == d.dirDisplayed(4) && !d.fileInList("pipe", 1));
    EXPECT_EQ(d.fileInList("dead", 0)->sizeHigh, 0);  // a dangling link has no size

    // The folder is read once, until another one is opened; a bare name stays in it.
    ecrireFichier(tmp.file("abz"), "new");
    EXPECT_EQ(d.after(d.cd((dir + "abz").c_str())), "0 E7 " + dir + "abz");
    EXPECT_EQ(d.after(d.cd((dir + "sub/").c_str())), "1 12 " + dir + "sub/");
    EXPECT_EQ(d.after(d.cd((dir + "abz").c_str())), "1 12 " + dir + "abz");
    EXPECT_EQ(d.after(d.cd("ab", 3)), "4  " + dir + "ab");
    EXPECT_EQ(d.after(d.cd((tmp.path() + "\\sub\\").c_str())), "1 12 " + dir + "sub/");  // backslashes separate too
    d.cd((dir + "ab").c_str(), 3);

    // A refused folder leaves the path; in the same folder the text is taken
    // over and the list left as it is; a new folder showing nothing still
    // reaches the list, which must drop the lines of the previous one.
    const std::string ab = dir + "ab", fill(FL_DIR_PATH - 1 - dir.size(), 'y');
    const struct { std::string path, after; } failures[] = {
        {dir + "missing/", "E2 " + ab},         {dir + "s*/x", "E1 " + ab},
        {dir + "zz", "E7 " + dir + "zz"},       {dir + "zz*", "E3 " + dir + "zz*"},
        {dir + "a,b/x", "E1 " + ab},            {"*/x", "E1 " + ab},
        {",b/x", "E1 " + ab},                   {"*q", "E3 " + dir + "*q"},
        {dir + "fifo/", "12E7 " + dir + "fifo/"}, {dir + "fifo/*.txt", "12E3 " + dir + "fifo/*.txt"},
        {dir + "c:x", "E7 " + dir + "c:x"},     // ":" belongs to the name
        {fill, "E7 " + dir + fill},             // the longest path the lister holds
        {fill + "y", "E10 " + ab},              // one more would be cut: refused as too long
        {dir + std::string(FL_DIR_PATH, 'x') + "/f", "E10 " + ab},
    };
    for (const auto& c : failures) {
        Lister f(ab);
        EXPECT_EQ(f.after(f.cd(c.path.c_str())), "0 " + c.after) << c.path.substr(0, 60);
    }

    // Up goes to the parent of the folder the path names, "." and ".." resolved.
    const std::string parent = std::filesystem::path(tmp.path()).parent_path().string() + "/";
    const std::pair<std::string, std::string> ups[] = {
        {dir + "sub/../", parent},  {dir + "./", parent},       {dir + "sub/./../sub//", dir},
        {dir + "sub/../*.txt", parent + "*.txt"}, {dir + "sub/../x", parent}, {"/../", "/../"},
    };
    for (const auto& [from, to] : ups) {
        Lister u(from);
        u.cdUp();
        EXPECT_EQ(u.dirPath(), to) << from;
    }
    // A ".." after a link leads where the system goes: to the parent of the
    // link's target, not back over the link's name.
    TempDir links;
    const std::string top = links.path() + "/";
    for (const char* f : {"d", "e", "e/in"}) mkdir(links.file(f).c_str(), 0755);
    ASSERT_EQ(symlink((top + "e").c_str(), links.file("d/link").c_str()), 0);
    const std::string real = std::filesystem::canonical(links.path()).string();
    const std::string realParent = std::filesystem::path(real).parent_path().string() + "/";
    const std::pair<std::string, std::string> linkUps[] = {
        {top + "d/link/../", realParent}, {top + "d/link/../e/", real + "/"},
        {top + "d/link/in/../../", realParent}, {top + "d/link/", top + "d/"},
    };
    for (const auto& [from, to] : linkUps) {
        Lister u(from);
        u.cdUp();
        EXPECT_EQ(u.dirPath(), to) << from;
    }
    Lister gone(top + "d/link/../");  // its target removed since: its name is all there is
    for (const char* f : {"e/in", "e"}) rmdir(links.file(f).c_str());
    gone.cdUp();
    EXPECT_EQ(gone.dirPath(), top);

    // A sub-folder or a pattern of this folder; the rest of the text does not go up.
    EXPECT_EQ(d.after(d.cdSub("sub")), "1 12 " + dir + "sub/");
    EXPECT_EQ(d.after(d.cdUp()), "9 12 " + dir);
    EXPECT_EQ(d.after(d.cdSub("a*")), "4 12 " + dir + "a*");
    EXPECT_EQ(d.after(d.cdSub(nullptr)), "0  " + dir + "a*");
    InTempDir here;
    mkdir(here.file("rel").c_str(), 0755);
    Lister unread("/nonexistent-qv/");  // nothing read yet: a bare name reads the working folder
    EXPECT_EQ(unread.after(unread.cd("re")), "1 12 re");
    EXPECT_EQ(d.after(d.cd("rel/")), "1 12 rel/");  // an empty folder: its parent alone counts
    EXPECT_EQ(d.after(d.cdUp()), "0  rel/");        // a relative folder has no parent to name
    ecrireFichier(here.file("rel/new"), "");
    d.cd("rel/ne");
    EXPECT_EQ(d.shown(), ".. 12");  // read once, even with the parent alone
    d.cd("rel/../../");
    d.cdUp();
    EXPECT_STREQ(d.dirPath(), "../../");
}

TEST(Dir, LargeFolderKeepsItsFirstNamesAndFindsANameTypedInFull) {
    // -0000 to -3099 created out of order, all before ".." in byte order,
    // and a folder after them.
    TempDir big;
    const std::string dir = big.path() + "/";
    remplirDossier(big.path(), 3100, "-");
    mkdir((dir + "zdir").c_str(), 0755);
    Lister d(dir);
    EXPECT_EQ(std::to_string(d.dirFileCount()) + " " + d.dirDisplayed(0)->name + " " + d.dirDisplayed(2998)->name + " " +
                  d.dirDisplayed(FL_DIR_MAX_FILES - 1)->name,
              "3000 -0000 -2998 ..");
    int misplaced = 0;
    for (int i = 0; i < FL_DIR_MAX_FILES - 1; ++i) {
        char name[8];
        std::snprintf(name, sizeof name, "-%04d", i);
        misplaced += std::string(name) != d.dirDisplayed(i)->name;
    }
    EXPECT_EQ(misplaced, 0);
    d.dirAddFile(FL_DIR_MAX_FILES, "beyond", 6, FL_DIR_FILE, 0, 0);  // past the table: ignored
    EXPECT_EQ(d.dirFileCount(), FL_DIR_MAX_FILES);
    // A name typed in full is found past the kept ones, a beginning is not.
    const auto typedIn = [&](const std::string& name) {
        const int shown = d.cd((dir + name).c_str());
        return std::to_string(shown) + " " + std::to_string(d.dirFileCount()) + " " + d.shown();
    };
    const std::pair<std::string, std::string> typed[] = {
        {"-3050", "1 3001 .. -3050 12"}, {"-305", "0 3000 .. E7"}, {"-31", "0 3000 .. E7"}, {"-30*", "0 3000 .. E3"},
        {"zdir", "1 3001 .. zdir 12"},   {"-2998", "1 3000 -2998 .. 12"}, {".", "0 3000 .. E7"},
    };
    for (const auto& [name, after] : typed) EXPECT_EQ(typedIn(name), after) << name;
    d.cd((dir + "zdir").c_str(), 3);
    EXPECT_EQ(d.fileInList("zdir", 1)->type, FL_DIR_FOLDER);
    // The entry found goes with the next text, wherever a sort put it.
    d.cd((dir + "-3099").c_str(), 3);
    d.dirSort(FL_DIR_SORT_REVERSE);
    EXPECT_STREQ(d.dirDisplayed(1)->name, "-3099");
    EXPECT_EQ(typedIn("-299"), "9 3000 .. -2998 -2997 -2996 -2995 -2994 -2993 -2992 -2991 -2990 12");
    d.dirSetFilter(FL_DIR_FILE);  // a kept name hidden by the filter is not added again
    EXPECT_EQ(typedIn("-2998"), "0 3000 .. 12E0E7");
    EXPECT_EQ(typedIn("zdir/"), "1 1 .. 12");
}

TEST(Dir, SortModesAndFilterBitsDecideTheDisplayWithinBounds) {
    Lister d("/nonexistent-folder/", FL_DIR_SORT_NONE);
    const std::pair<const char*, int> files[] = {
        {"b", FL_DIR_FILE}, {"B", FL_DIR_FILE}, {"a", FL_DIR_HIDDEN}, {"..", FL_DIR_PARENT}, {"zdir", FL_DIR_FOLDER},
        {"A", FL_DIR_EXECUTABLE}, {"c", FL_DIR_SYSTEM}, {"sub", FL_DIR_FOLDER}, {"gap", FL_DIR_FILE}};
    for (int i = 0; i < 9; ++i) d.dirAddFile(i == 8 ? 9 : i, files[i].first, 9, files[i].second, 0, 0);  // 9: a gap, ignored
    d.dirSetDisplay();  // a system entry is never shown
    // The order by mode; numeric, time and size leave it as it is.
    const char* reverse = "zdir sub b a B A .. ";
    const char* const orders[] = {".. A B a b sub zdir ", ".. a A b B sub zdir ", reverse, reverse, reverse, reverse,
                                  "b B a .. zdir A sub ", ".. sub zdir A B a b "};
    for (int mode : {6, 1, 0, 2, 3, 4, 5, 7}) {  // reading order first
        d.dirSort(mode);
        EXPECT_EQ(std::to_string(d.dirSortMode()) + " " + d.shown(), std::to_string(mode) + " " + orders[mode]);
    }
    EXPECT_TRUE(d.dirFileCount() == 8 && !d.dirDisplayed(8) && !d.dirDisplayed(-1));
    d.dirSetFilter(FL_DIR_FILE);  // the bits hide their kinds; none left is an error
    d.dirSetFilter(FL_DIR_HIDDEN | FL_DIR_EXECUTABLE | FL_DIR_FOLDER);
    EXPECT_EQ(std::to_string(d.dirFilter()) + " " + d.shown(), "102 .. 1212E0");
    d.dirClearFilter();
    EXPECT_EQ(std::to_string(d.dirFilter()) + " " + d.shown(), "0 .. sub zdir A B a b 12");

    // A name is cut to 255 characters; a folder keeps so many entries at most.
    d.dirSort(FL_DIR_SORT_NONE);
    d.dirAddFile(0, std::string(300, 'x').c_str(), 300, FL_DIR_FILE, 0, 0);
    EXPECT_EQ(d.dirDisplayed(0)->name + std::to_string(d.dirDisplayed(0)->length), std::string(255, 'x') + "255");
    d.dirAddFile(FL_DIR_MAX_FILES, "beyond", 6, FL_DIR_FILE, 0, 0);
    EXPECT_EQ(d.dirFileCount(), 8);
    TempDir huge;  // the size's high word, of a sparse file of 8 GiB; the longest name there is
    ASSERT_EQ(truncate((ecrireFichier(huge.file("f"), ""), huge.file("f")).c_str(), 8LL << 30), 0);
    const std::string longest(255, 'n');
    ecrireFichier(huge.file(longest), "");
    Lister h(huge.path() + "/");
    EXPECT_EQ(h.fileInList("f", 0)->sizeHigh, 2);
    EXPECT_TRUE(h.fileInList(longest.c_str(), 1));
}

TEST(Dir, SimpleExpMatchesWildcardsAndRefusesUnfinishedPatterns) {
    const struct { const char* name; const char* pattern; bool match; } cases[] = {
        {"a", "?", true},          {"", "?", false},          {"ab", "?", false},        {"abc", "a*", true},
        {"abc", "*b", false},      {"", "*", true},           {"abcabd", "*abd", true},  {"ab", "a*b*c", false},
        {"b", "[a-c]", true},      {"d", "[a-c]", false},     {"d", "[!a-c]", true},     {"b", "[^a-c]", false},
        {"]", "[]]", true},        {"-", "[a-]", true},       {"Ab", "ab", false},       {"*", "\\*", true},
        {"x.png", "*.{png,jpg}", true}, {"x.jpg", "*.{png|jpg}", true}, {"x.gif", "*.{png,jpg}", false},
        {"x.jpg", "x.{p{ng,ic},jpg}", true}, {"x.pic", "x.{p{ng,ic},jpg}", true}, {"x.p", "x.{p{ng,ic},jpg}", false},
        {"a", "[ab", false},       {"ab", "ab\\", false},     {"ab", "{ab", false},      {"a", "[a-", false},
        {"x", "{x,y", false},      {"a", "[a\\", false},      {"a}", "a}", true},        {"bx", "[abc]{x,y}", true},
        {"}x", "[}]x", true},      {"{x", "\\{x", true},      {"{a", "[{]{a,b}", true},  {"}", "{[}]}", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Fl_Dir::simpleExp(c.name, c.pattern), c.match) << c.name << " ~ " << c.pattern;
    EXPECT_FALSE(Fl_Dir::simpleExp(nullptr, "*") || Fl_Dir::simpleExp("a", nullptr));
    std::string many;  // stacked groups are bounded instead of exploding
    for (int i = 0; i < 40; ++i) many += "{a,b}";
    EXPECT_FALSE(Fl_Dir::simpleExp("c", many.c_str()));
}

TEST(Dir, FilenameExpandReplacesVariablesAndHomeWithinBounds) {
    VariableEnvironnement home("HOME", "/home/u"), abs("QV_ABS", "/abs"), rel("QV_REL", "rel"),
        drive("QV_DRIVE", "c:/x"), one("Q", "q1"), nope("NOPE", nullptr), big("QV_LONG", std::string(5000, 'x').c_str());
    const struct { const char* in; std::string out; } cases[] = {
        {"~/f", "/home/u/f"},          {"$HOME/x", "/home/u/x"},   {"/a/$QV_REL/b", "/a/rel/b"},
        {"/junk/$QV_ABS/y", "/abs/y"}, {"$NOPE/x", "$NOPE/x"},     {"a/~x/$", "a/~x/$"},
        {"/a//b", "/a//b"},            {"/a/xQV_REL/b", "/a/xQV_REL/b"},  {"/a/$Q/b", "/a/q1/b"},            {"/junk/$QV_DRIVE/y", "/junk/c:/x/y"}, {"/$QV_LONG/$QV_LONG", "/" + std::string(2046, 'x')},
    };
    char out[FL_DIR_PATH];
    for (const auto& c : cases) {
        Fl_Dir::filename_expand(out, c.in);
        EXPECT_EQ(out, c.out) << c.in;
    }
    char text[] = "a\\b\\c";
    Fl_Dir::convertSlash(text);
    EXPECT_STREQ(text, "a/b/c");
}

}  // namespace

namespace {

TEST(Dir, ReadingAgainShowsWhatCameAndWentAndAFolderGoneListsNothing) {
    TempDir tmp;
    const std::string dir = tmp.path() + "/sub/";
    mkdir(dir.c_str(), 0755);
    for (const char* f : {"a1", "a2", "b"}) ecrireFichier(dir + f, "x");
    Lister d(dir + "a");
    EXPECT_EQ(d.shown(), ".. a1 a2 ");
    std::remove((dir + "a1").c_str());
    ecrireFichier(dir + "a3", "x");
    EXPECT_EQ(d.after(d.dirReread()), "2 12 " + dir + "a");
    EXPECT_EQ(d.shown(), ".. a2 a3 ");
    // Nothing left that the text shows: the list hears of it all the same.
    for (const char* f : {"a2", "a3"}) std::remove((dir + f).c_str());
    EXPECT_EQ(d.after(d.dirReread()), "0 12E7 " + dir + "a");
    EXPECT_EQ(d.shown(), ".. ");
    d.after(d.cd((dir + "*.txt").c_str(), 3));
    for (const auto& [mode, calls] : {std::pair(3, "E3"), std::pair(1, "1E3"), std::pair(2, "2E3")})
        EXPECT_EQ(d.after(d.dirReread(mode)), "0 " + std::string(calls) + " " + dir + "*.txt");
    // The folder gone: none of its lines stays, the path is kept.
    std::filesystem::remove_all(dir);
    EXPECT_EQ(d.after(d.dirReread()), "0 12E2 " + dir + "*.txt");
    EXPECT_EQ(std::to_string(d.dirFileCount()) + d.shown(), "0");
    Lister never(tmp.path() + "/none/x");  // no folder was ever read: nothing to read again
    EXPECT_EQ(never.after(never.dirReread()) + std::to_string(never.dirFileCount()), "0  0");
    mkdir(dir.c_str(), 0755);  // a bare name then reads it anew
    ecrireFichier(dir + "c.txt", "x");
    EXPECT_EQ(d.after(d.cd("c")), "1 12 " + dir + "c");
}

}  // namespace
