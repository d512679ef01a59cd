#include "widgets/Fl_Dir.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Records the lister's callbacks in order: "1" and "2" the list callbacks,
// "E" and the status for the error callback.
struct DirLog {
    std::string calls;
    void attach(Fl_Dir& d) {
        d.dirCallback([](Fl_Dir*, void* l) { static_cast<DirLog*>(l)->calls += "1"; }, this);
        d.dirCallback2([](Fl_Dir*, void* l) { static_cast<DirLog*>(l)->calls += "2"; }, this);
        d.dirErrorCallback([](Fl_Dir* d, void* l) { static_cast<DirLog*>(l)->calls += "E" + std::to_string(d->dirStatus()); }, this);
    }
};

// The shown entries in display order, separated by spaces.
std::string shown(Fl_Dir& d) {
    std::string s;
    d.fileListRewind();
    while (const Fl_Dir_File* f = d.fileList()) s += (s.empty() ? "" : " ") + std::string(f->name);
    return s;
}

// The folder every test lists: three names beginning with "ab", a text file,
// a folder, a dot file and a FIFO.
struct TestFolder {
    TempDir tmp;
    std::string dir = tmp.path() + "/";
    TestFolder() {
        for (const char* f : {"ab1", "ab2", "abc", "b.txt", ".hidden"}) ecrireFichier(tmp.file(f), "x");
        mkdir(tmp.file("sub").c_str(), 0755);
        mkfifo(tmp.file("pipe").c_str(), 0644);
    }
};

TEST(Dir, PartialNameListsParentMatchesAndFoldersAndCallsTheChosenCallbacks) {
    TestFolder t;
    const struct { int mode; const char* calls; } cases[] = {{0, "12"}, {1, "1"}, {2, "2"}, {3, ""}};
    for (const auto& c : cases) {
        Fl_Dir d("", FL_DIR_SORT_ALPHA, 0);
        DirLog log;
        log.attach(d);
        EXPECT_EQ(d.cd((t.dir + "ab").c_str(), c.mode), 3);
        EXPECT_EQ(log.calls, c.calls) << c.mode;
        EXPECT_EQ(shown(d), ".. ab1 ab2 abc sub");
        EXPECT_EQ(d.dirPath(), t.dir + "ab");
        EXPECT_EQ(d.dirFolderLength(), static_cast<int>(t.dir.size()));
        EXPECT_EQ(d.dirStatus(), FL_DIR_OK);
    }
    // With no pattern, every entry but the FIFO; a fresh lister opens its path.
    Fl_Dir all(t.dir.c_str(), FL_DIR_SORT_ALPHA, 0);
    EXPECT_EQ(shown(all), ".. .hidden ab1 ab2 abc b.txt sub");
    EXPECT_EQ(all.dirFileCount(), 8);
    EXPECT_STREQ(all.fileInList("a?c", 1)->name, "abc");
    EXPECT_EQ(all.fileInList("pipe", 1), nullptr);
    EXPECT_STREQ(all.fileInList("pipe", 0)->name, "pipe");
}

TEST(Dir, SameFolderIsNotReadAgainAnotherIs) {
    TestFolder t;
    Fl_Dir d(t.dir.c_str(), FL_DIR_SORT_ALPHA, 0);
    DirLog log;
    log.attach(d);
    ecrireFichier(t.tmp.file("abz"), "new");
    EXPECT_EQ(d.cd((t.dir + "abz").c_str()), 0);
    EXPECT_EQ(log.calls, "E7");
    EXPECT_EQ(d.dirPath(), t.dir + "abz");  // the typed text is taken over
    EXPECT_EQ(d.cd((t.dir + "sub/").c_str()), 1);
    EXPECT_EQ(shown(d), "..");
    EXPECT_EQ(d.cd((t.dir + "abz").c_str()), 1);
    EXPECT_EQ(shown(d), ".. abz sub");
    // A bare name stays in the current folder.
    EXPECT_EQ(d.cd("ab", 3), 4);
    EXPECT_EQ(d.dirPath(), t.dir + "ab");
}

TEST(Dir, FailuresSetTheStatusCallTheErrorCallbackAndKeepTheFolder) {
    TestFolder t;
    mkdir(t.tmp.file("locked").c_str(), 0);
    // A refused folder leaves the path as it was; in the same folder the
    // typed text is taken over.
    const struct { std::string path; int status; std::string after; } cases[] = {
        {t.dir + "missing/", FL_DIR_NO_FOLDER, t.dir + "ab"},
        {t.dir + "b.txt/", FL_DIR_NO_FOLDER, t.dir + "ab"},
        {t.dir + "zz", FL_DIR_NO_ENTRY_MATCH, t.dir + "zz"},
        {t.dir + "zz*", FL_DIR_NO_PATTERN_MATCH, t.dir + "zz*"},
        {t.dir + "s*/x", FL_DIR_INVALID_FOLDER, t.dir + "ab"},
        {t.dir + "a,b/x", FL_DIR_INVALID_FOLDER, t.dir + "ab"},
        {"*/x", FL_DIR_INVALID_FOLDER, t.dir + "ab"},
        {",b/x", FL_DIR_INVALID_FOLDER, t.dir + "ab"},
        {t.dir + "locked/", geteuid() == 0 ? FL_DIR_OK : FL_DIR_NO_FOLDER, t.dir + "ab"},
    };
    for (const auto& c : cases) {
        Fl_Dir d((t.dir + "ab").c_str(), FL_DIR_SORT_ALPHA, 0);
        DirLog log;
        log.attach(d);
        const int n = d.cd(c.path.c_str());
        if (c.status == FL_DIR_OK) continue;  // permissions do not stop root
        EXPECT_EQ(n, 0) << c.path;
        EXPECT_EQ(d.dirStatus(), c.status) << c.path;
        EXPECT_STREQ(d.dirMessage(), fl_dir_messages[c.status]);
        EXPECT_EQ(log.calls, "E" + std::to_string(c.status)) << c.path;
        EXPECT_EQ(d.dirPath(), c.after);
        EXPECT_EQ(d.dirFolderLength(), static_cast<int>(t.dir.size())) << c.path;
    }
    EXPECT_STREQ(fl_dir_messages[FL_DIR_NO_FOLDER], "Sorry - No such directory or permission denied");
}

TEST(Dir, FilterBitsHideTheirKindsAndAnEmptyResultIsReported) {
    TestFolder t;
    ecrireFichier(t.tmp.file("run.EXE"), "x");
    const struct { int bits; const char* names; } cases[] = {
        {0, ".. .hidden ab1 ab2 abc b.txt run.EXE sub"},
        {FL_DIR_PARENT, ".hidden ab1 ab2 abc b.txt run.EXE sub"},
        {FL_DIR_FOLDER, ".. .hidden ab1 ab2 abc b.txt run.EXE"},
        {FL_DIR_FILE, ".. .hidden run.EXE sub"},
        {FL_DIR_HIDDEN, ".. ab1 ab2 abc b.txt run.EXE sub"},
        {FL_DIR_EXECUTABLE, ".. .hidden ab1 ab2 abc b.txt sub"},
    };
    for (const auto& c : cases) {
        Fl_Dir d(t.dir.c_str(), FL_DIR_SORT_ALPHA, 0);
        DirLog log;
        log.attach(d);
        d.dirSetFilter(c.bits);
        EXPECT_EQ(shown(d), c.names) << c.bits;
        EXPECT_EQ(log.calls, "12");
        EXPECT_EQ(d.dirFilter(), c.bits);
    }
    Fl_Dir d((t.dir + "ab").c_str(), FL_DIR_SORT_ALPHA, FL_DIR_HIDDEN);
    DirLog log;
    log.attach(d);
    d.dirToggelFilter(FL_DIR_FILE);  // hides the three matches: nothing counts
    EXPECT_EQ(log.calls, "12E0");
    EXPECT_EQ(d.dirFilter(), FL_DIR_HIDDEN | FL_DIR_FILE);
    d.dirToggelFilter(FL_DIR_FILE);
    EXPECT_EQ(d.dirFilter(), FL_DIR_HIDDEN);
    EXPECT_EQ(shown(d), ".. ab1 ab2 abc sub");
    d.dirClearFilter();
    EXPECT_EQ(d.dirFilter(), 0);
    EXPECT_EQ(log.calls, "12E01212");
}

TEST(Dir, SortModesOrderTheDisplay) {
    Fl_Dir d("/nonexistent-folder/", FL_DIR_SORT_NONE, 0);
    const struct { const char* name; int type; } files[] = {
        {"b", FL_DIR_FILE}, {"B", FL_DIR_FILE}, {"a", FL_DIR_FILE}, {"..", FL_DIR_PARENT},
        {"zdir", FL_DIR_FOLDER}, {"A", FL_DIR_FILE}, {"c.txt", FL_DIR_FILE}, {"sub", FL_DIR_FOLDER}};
    for (int i = 0; i < 8; ++i)
        d.dirAddFile(i, files[i].name, static_cast<int>(std::strlen(files[i].name)), files[i].type, 0, 0);
    const struct { int mode; const char* order; } cases[] = {
        {FL_DIR_SORT_NONE, "b B a .. zdir A c.txt sub"},
        {FL_DIR_SORT_NOCASE, ".. a A b B c.txt sub zdir"},  // equal names keep their order
        {FL_DIR_SORT_ALPHA, ".. A B a b c.txt sub zdir"},
        {FL_DIR_SORT_REVERSE, "zdir sub c.txt b a B A .."},
        {FL_DIR_SORT_NUMERIC, "zdir sub c.txt b a B A .."},
        {FL_DIR_SORT_TIME, "zdir sub c.txt b a B A .."},
        {FL_DIR_SORT_SIZE, "zdir sub c.txt b a B A .."},
        {FL_DIR_SORT_FOLDERS, ".. sub zdir A B a b c.txt"},
        {FL_DIR_SORT_NONE, "b B a .. zdir A c.txt sub"},
    };
    for (const auto& c : cases) {
        d.dirSort(c.mode);
        EXPECT_EQ(shown(d), c.order) << c.mode;
        EXPECT_EQ(d.dirSortMode(), c.mode);
    }
    EXPECT_STREQ(d.dirDisplayed(0)->name, "b");
    EXPECT_EQ(d.dirDisplayed(8), nullptr);
    EXPECT_EQ(d.dirDisplayed(-1), nullptr);

    // Equal names keep their order; a name is cut to 255 characters.
    Fl_Dir same("/nonexistent-folder/", FL_DIR_SORT_NONE, 0);
    const std::string longName(300, 'x');
    same.dirAddFile(0, longName.c_str(), 300, FL_DIR_FILE, 0, 0);
    same.dirAddFile(1, longName.c_str(), 300, FL_DIR_FOLDER, 0, 0);
    same.dirAddFile(3, "gap", 3, FL_DIR_FILE, 0, 0);  // beyond the records: ignored
    for (int mode : {int(FL_DIR_SORT_ALPHA), int(FL_DIR_SORT_REVERSE)}) {
        same.dirSort(mode);
        EXPECT_EQ(same.dirDisplayed(0)->type, FL_DIR_FILE) << mode;
        EXPECT_EQ(same.dirDisplayed(1)->type, FL_DIR_FOLDER) << mode;
    }
    EXPECT_EQ(same.dirFileCount(), 2);
    EXPECT_EQ(same.dirDisplayed(0)->length, 255);
    EXPECT_EQ(std::string(same.dirDisplayed(0)->name), longName.substr(0, 255));
}

TEST(Dir, SimpleExpMatchesWildcardsAndRefusesUnfinishedPatterns) {
    const struct { const char* name; const char* pattern; bool match; } cases[] = {
        {"a", "?", true},          {"", "?", false},          {"ab", "?", false},
        {"abc", "a*", true},       {"abc", "*c", true},       {"abc", "*b", false},
        {"", "*", true},           {"abcabd", "*abd", true},  {"ab", "a*b*c", false},
        {"b", "[a-c]", true},      {"d", "[a-c]", false},     {"d", "[!a-c]", true},
        {"b", "[!a-c]", false},    {"b", "[^a-c]", false},    {"x", "[xyz]", true},
        {"]", "[]]", true},        {"-", "[a-]", true},
        {"x.png", "*.{png,jpg}", true}, {"x.jpg", "*.{png|jpg}", true}, {"x.gif", "*.{png,jpg}", false},
        {"x.jpg", "x.{p{ng,ic},jpg}", true}, {"x.pic", "x.{p{ng,ic},jpg}", true}, {"x.p", "x.{p{ng,ic},jpg}", false},
        {"*", "\\*", true},        {"a", "\\*", false},       {"Ab", "ab", false},
        {"a", "[ab", false},       {"ab", "ab\\", false},     {"ab", "{ab", false},
        {"a", "[a-", false},       {"x", "{x,y", false},      {"a}", "a}", true},
        {"bx", "[abc]{x,y}", true}, {"}x", "[}]x", true},     {"{x", "\\{x", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Fl_Dir::simpleExp(c.name, c.pattern), c.match) << c.name << " ~ " << c.pattern;
    EXPECT_FALSE(Fl_Dir::simpleExp(nullptr, "*"));
    EXPECT_FALSE(Fl_Dir::simpleExp("a", nullptr));
    // Stacked groups are bounded instead of exploding.
    std::string many;
    for (int i = 0; i < 40; ++i) many += "{a,b}";
    EXPECT_FALSE(Fl_Dir::simpleExp("c", many.c_str()));
}

TEST(Dir, TabCompletesToTheLongestCommonBeginning) {
    TestFolder t;
    const std::string other = t.dir + "sub/";
    for (const char* f : {"abc1", "abc2", "abd"}) ecrireFichier(other + f, "x");
    mkdir((other + "only").c_str(), 0755);
    const struct { std::string text, out; int typed; const char* calls; } cases[] = {
        {other + "a", other + "ab", 1, ""},
        {other + "abc", other + "abc", 3, ""},
        {other + "o", other + "only/", 1, ""},
        {t.dir + "su", t.dir + "sub/", 2, ""},
        {t.dir + "b", t.dir + "b.txt", 1, ""},
        {t.dir + "q", t.dir + "q", 1, "E6"},
        {t.dir, t.dir, 0, ""},
        {t.dir + "a*", t.dir + "a*", 2, ""},
    };
    for (const auto& c : cases) {
        Fl_Dir d(c.text.c_str(), FL_DIR_SORT_ALPHA, 0);
        DirLog log;
        log.attach(d);
        char out[FL_DIR_PATH];
        EXPECT_EQ(d.tabComplete(c.text.c_str(), out), c.typed) << c.text;
        EXPECT_EQ(out, c.out);
        EXPECT_EQ(log.calls, c.calls) << c.text;
    }
    Fl_Dir d((other + "a").c_str(), FL_DIR_SORT_ALPHA, 0);
    char small[8];
    d.tabComplete((other + "a").c_str(), small, sizeof small);
    EXPECT_EQ(std::string(small), other.substr(0, 7));
}

TEST(Dir, FilenameExpandReplacesVariablesAndHome) {
    setenv("HOME", "/home/u", 1);
    setenv("QV_ABS", "/abs", 1);
    setenv("QV_REL", "rel", 1);
    setenv("QV_DRIVE", "c:/x", 1);
    unsetenv("NOPE");
    const struct { const char* in; const char* out; } cases[] = {
        {"~/f", "/home/u/f"},          {"$HOME/x", "/home/u/x"},   {"/a/$QV_REL/b", "/a/rel/b"},
        {"/junk/$QV_ABS/y", "/abs/y"}, {"$NOPE/x", "$NOPE/x"},     {"a/~x/$", "a/~x/$"},
        {"/a//b", "/a//b"},            {"/junk/$QV_DRIVE/y", "c:/x/y"},
    };
    for (const auto& c : cases) {
        char out[FL_DIR_PATH];
        Fl_Dir::filename_expand(out, c.in);
        EXPECT_STREQ(out, c.out) << c.in;
    }
    setenv("QV_LONG", std::string(5000, 'x').c_str(), 1);
    char out[FL_DIR_PATH];
    Fl_Dir::filename_expand(out, "/$QV_LONG/$QV_LONG");
    EXPECT_EQ(std::strlen(out), static_cast<size_t>(FL_DIR_PATH - 1));
    char text[] = "a\\b\\c";
    Fl_Dir::convertSlash(text);
    EXPECT_STREQ(text, "a/b/c");
}

TEST(Dir, CdFamilyMovesBetweenFolders) {
    TestFolder t;
    Fl_Dir d((t.dir + "sub/*.txt").c_str(), FL_DIR_SORT_ALPHA, 0);
    DirLog log;
    log.attach(d);
    EXPECT_EQ(d.cdUp(), 1);  // the pattern goes along
    EXPECT_EQ(d.dirPath(), t.dir + "*.txt");
    EXPECT_EQ(log.calls, "12");
    EXPECT_EQ(d.cdSub("sub"), 1);
    EXPECT_EQ(d.dirPath(), t.dir + "sub/");
    EXPECT_EQ(d.cdUp(), 6);
    EXPECT_EQ(d.dirPath(), t.dir);  // no wildcard: the typed rest is dropped
    EXPECT_EQ(d.cdSub("a*"), 3);
    EXPECT_EQ(d.dirPath(), t.dir + "a*");

    setenv("HOME", (t.dir + "sub").c_str(), 1);
    EXPECT_EQ(d.cdHome(), 1);
    EXPECT_EQ(d.dirPath(), t.dir + "sub/");
    unsetenv("HOME");
    log.calls.clear();
    EXPECT_EQ(d.cdHome(), 0);
    EXPECT_EQ(log.calls, "E4");

    EXPECT_GT(d.cdRoot(), 0);
    EXPECT_STREQ(d.dirPath(), "/");
    EXPECT_EQ(d.cdUp(), 0);
    EXPECT_STREQ(d.dirPath(), "/");

    InTempDir here;
    ecrireFichier(here.file("f"), "x");
    EXPECT_EQ(d.cdCurrent(), 1);
    char cwd[FL_DIR_PATH];
    ASSERT_TRUE(getcwd(cwd, sizeof cwd));
    EXPECT_EQ(d.dirPath(), std::string(cwd) + "/");
    EXPECT_EQ(d.cdSub(nullptr), 0);
    mkdir(here.file("rel").c_str(), 0755);
    EXPECT_EQ(d.cd("rel/"), 1);  // an empty folder: its parent alone counts
    EXPECT_STREQ(d.dirPath(), "rel/");
    EXPECT_EQ(d.cdUp(), 0);  // a relative folder has no parent to name
    EXPECT_STREQ(d.dirPath(), "rel/");
}

TEST(Dir, LongNamesAndBigFoldersAreKeptWithinBounds) {
    TempDir tmp;
    const std::string longName(255, 'n');
    ecrireFichier(tmp.file(longName), "x");
    Fl_Dir d((tmp.path() + "/" + longName).c_str(), FL_DIR_SORT_ALPHA, 0);
    EXPECT_EQ(shown(d), ".. " + longName);

    TempDir big;
    for (int i = 0; i < 3100; ++i) ecrireFichier(big.file("f" + std::to_string(i)), "");
    Fl_Dir b((big.path() + "/").c_str(), FL_DIR_SORT_ALPHA, 0);
    EXPECT_EQ(b.dirFileCount(), FL_DIR_MAX_FILES);
    EXPECT_GE(b.cd((big.path() + "/f").c_str(), 3), FL_DIR_MAX_FILES - 1);
}

}  // namespace
