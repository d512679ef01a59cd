#include "widgets/Fl_Dir.h"

#include "support/Environnement.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

namespace {

// A lister that logs its callbacks: "1" and "2" the list callbacks, "E" and
// the status the error callback. It opens its path before they are set.
struct Lister : Fl_Dir {
    std::string calls;
    explicit Lister(const std::string& path, int filter = 0, int sort = FL_DIR_SORT_ALPHA)
        : Fl_Dir(path.c_str(), sort, filter) {
        dirCallback([](Fl_Dir* d, void*) { static_cast<Lister*>(d)->calls += "1"; }, nullptr);
        dirCallback2([](Fl_Dir* d, void*) { static_cast<Lister*>(d)->calls += "2"; }, nullptr);
        dirErrorCallback([](Fl_Dir* d, void*) { static_cast<Lister*>(d)->calls += "E" + std::to_string(d->dirStatus()); },
                         nullptr);
    }
    // The shown entries in display order: every change of the list starts
    // the iteration afresh, and so does its end.
    std::string shown() {
        std::string s;
        while (const Fl_Dir_File* f = fileList()) s += (s.empty() ? "" : " ") + std::string(f->name);
        return s;
    }
    // A call's result, the callbacks since the last look, and the path.
    std::string after(int result) {
        const std::string s = std::to_string(result) + " " + calls + " " + dirPath();
        calls.clear();
        return s;
    }
};

// Three names beginning with "ab", a text file, a folder, a dot file and a FIFO.
struct TestFolder {
    TempDir tmp;
    std::string dir = tmp.path() + "/";
    TestFolder() {
        for (const char* f : {"ab1", "ab2", "abc", "b.txt", ".hidden"}) ecrireFichier(tmp.file(f), "x");
        mkdir(tmp.file("sub").c_str(), 0755);
        mkfifo(tmp.file("pipe").c_str(), 0644);
    }
};

TEST(Dir, PartialNameShowsParentMatchesAndFoldersAndTheFolderIsReadOnce) {
    TestFolder t;
    for (const auto& [mode, calls] : {std::pair(0, "12"), std::pair(1, "1"), std::pair(2, "2"), std::pair(3, "")}) {
        Lister d("");
        EXPECT_EQ(d.after(d.cd((t.dir + "ab").c_str(), mode)), "3 " + std::string(calls) + " " + t.dir + "ab");
        EXPECT_EQ(d.shown(), ".. ab1 ab2 abc sub");
        EXPECT_EQ(d.dirFolderLength(), static_cast<int>(t.dir.size()));
    }
    Lister d(t.dir);  // every entry but the FIFO
    EXPECT_EQ(d.shown(), ".. .hidden ab1 ab2 abc b.txt sub");
    EXPECT_EQ(d.dirFileCount(), 8);
    EXPECT_STREQ(d.fileInList("a?c", 1)->name, "abc");
    EXPECT_EQ(d.fileInList("pipe", 1), nullptr);
    EXPECT_STREQ(d.fileInList("pipe", 0)->name, "pipe");

    ecrireFichier(t.tmp.file("abz"), "new");
    EXPECT_EQ(d.after(d.cd((t.dir + "abz").c_str())), "0 E7 " + t.dir + "abz");
    EXPECT_EQ(d.after(d.cd((t.dir + "sub/").c_str())), "1 12 " + t.dir + "sub/");
    EXPECT_EQ(d.after(d.cd((t.dir + "abz").c_str())), "1 12 " + t.dir + "abz");
    EXPECT_EQ(d.shown(), ".. abz sub");
    EXPECT_EQ(d.after(d.cd("ab", 3)), "4  " + t.dir + "ab");  // a bare name stays in the folder
}

TEST(Dir, FailuresSetTheStatusCallTheErrorCallbackAndKeepTheFolder) {
    TestFolder t;
    mkdir(t.tmp.file("locked").c_str(), 0);
    const std::string ab = t.dir + "ab";
    // A refused folder leaves the path; in the same folder the text is taken over.
    const struct { std::string path; int status; std::string after; } cases[] = {
        {t.dir + "missing/", FL_DIR_NO_FOLDER, ab},    {t.dir + "b.txt/", FL_DIR_NO_FOLDER, ab},
        {t.dir + "zz", FL_DIR_NO_ENTRY_MATCH, t.dir + "zz"}, {t.dir + "zz*", FL_DIR_NO_PATTERN_MATCH, t.dir + "zz*"},
        {t.dir + "s*/x", FL_DIR_INVALID_FOLDER, ab},   {t.dir + "a,b/x", FL_DIR_INVALID_FOLDER, ab},
        {"*/x", FL_DIR_INVALID_FOLDER, ab},            {",b/x", FL_DIR_INVALID_FOLDER, ab},
        {t.dir + "locked/", geteuid() == 0 ? FL_DIR_OK : FL_DIR_NO_FOLDER, ab},  // root reads anything
    };
    for (const auto& c : cases) {
        Lister d(ab);
        const int n = d.cd(c.path.c_str());
        if (c.status == FL_DIR_OK) continue;
        EXPECT_EQ(d.after(n), "0 E" + std::to_string(c.status) + " " + c.after);
        EXPECT_EQ(d.dirFolderLength(), static_cast<int>(t.dir.size())) << c.path;
    }
}

TEST(Dir, FilterBitsHideTheirKindsAndAnEmptyResultIsReported) {
    TestFolder t;
    ecrireFichier(t.tmp.file("run.EXE"), "x");
    const struct { int bits; const char* names; } cases[] = {
        {0, ".. .hidden ab1 ab2 abc b.txt run.EXE sub"},   {FL_DIR_PARENT, ".hidden ab1 ab2 abc b.txt run.EXE sub"},
        {FL_DIR_FOLDER, ".. .hidden ab1 ab2 abc b.txt run.EXE"}, {FL_DIR_FILE, ".. .hidden run.EXE sub"},
        {FL_DIR_HIDDEN, ".. ab1 ab2 abc b.txt run.EXE sub"}, {FL_DIR_EXECUTABLE, ".. .hidden ab1 ab2 abc b.txt sub"},
    };
    for (const auto& c : cases) {
        Lister d(t.dir);
        d.dirSetFilter(c.bits);
        EXPECT_EQ(d.calls + " " + d.shown(), "12 " + std::string(c.names)) << c.bits;
        EXPECT_EQ(d.dirFilter(), c.bits);
    }
    Lister d(t.dir + "ab", FL_DIR_HIDDEN);
    d.dirToggelFilter(FL_DIR_FILE);  // hides the three matches: nothing counts
    EXPECT_EQ(d.dirFilter(), FL_DIR_HIDDEN | FL_DIR_FILE);
    d.dirToggelFilter(FL_DIR_FILE);
    EXPECT_EQ(d.dirFilter(), FL_DIR_HIDDEN);
    EXPECT_EQ(d.shown(), ".. ab1 ab2 abc sub");
    d.dirClearFilter();
    EXPECT_EQ(d.dirFilter(), 0);
    EXPECT_EQ(d.calls, "12E01212");
}

TEST(Dir, SortModesOrderTheDisplay) {
    Lister d("/nonexistent-folder/", 0, FL_DIR_SORT_NONE);
    const std::pair<const char*, int> files[] = {
        {"b", FL_DIR_FILE},      {"B", FL_DIR_FILE}, {"a", FL_DIR_FILE},     {"..", FL_DIR_PARENT},
        {"zdir", FL_DIR_FOLDER}, {"A", FL_DIR_FILE}, {"c.txt", FL_DIR_FILE}, {"sub", FL_DIR_FOLDER}};
    for (int i = 0; i < 8; ++i) d.dirAddFile(i, files[i].first, static_cast<int>(std::strlen(files[i].first)), files[i].second, 0, 0);
    const char* reverse = "zdir sub c.txt b a B A ..";
    const std::pair<int, const char*> cases[] = {
        {FL_DIR_SORT_NONE, "b B a .. zdir A c.txt sub"},    {FL_DIR_SORT_NOCASE, ".. a A b B c.txt sub zdir"},
        {FL_DIR_SORT_ALPHA, ".. A B a b c.txt sub zdir"},   {FL_DIR_SORT_REVERSE, reverse},
        {FL_DIR_SORT_NUMERIC, reverse}, {FL_DIR_SORT_TIME, reverse}, {FL_DIR_SORT_SIZE, reverse},
        {FL_DIR_SORT_FOLDERS, ".. sub zdir A B a b c.txt"}, {FL_DIR_SORT_NONE, "b B a .. zdir A c.txt sub"},
    };
    for (const auto& [mode, order] : cases) {
        d.dirSort(mode);
        EXPECT_EQ(d.shown(), order) << mode;
        EXPECT_EQ(d.dirSortMode(), mode);
    }
    EXPECT_EQ(d.dirDisplayed(8), nullptr);
    EXPECT_EQ(d.dirDisplayed(-1), nullptr);

    // Equal names keep their order; a name is cut to 255 characters.
    Lister same("/nonexistent-folder/", 0, FL_DIR_SORT_NONE);
    const std::string longName(300, 'x');
    same.dirAddFile(0, longName.c_str(), 300, FL_DIR_FILE, 0, 0);
    same.dirAddFile(1, longName.c_str(), 300, FL_DIR_FOLDER, 0, 0);
    same.dirAddFile(3, "gap", 3, FL_DIR_FILE, 0, 0);  // beyond the records: ignored
    for (int mode : {int(FL_DIR_SORT_ALPHA), int(FL_DIR_SORT_REVERSE)}) {
        same.dirSort(mode);
        EXPECT_EQ(same.dirDisplayed(0)->type * 10 + same.dirDisplayed(1)->type, FL_DIR_FILE * 10 + FL_DIR_FOLDER);
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
        {"a", "[a\\", false},    {"{a", "[{]{a,b}", true},  {"}", "{[}]}", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Fl_Dir::simpleExp(c.name, c.pattern), c.match) << c.name << " ~ " << c.pattern;
    EXPECT_FALSE(Fl_Dir::simpleExp(nullptr, "*"));
    EXPECT_FALSE(Fl_Dir::simpleExp("a", nullptr));
    std::string many;  // stacked groups are bounded instead of exploding
    for (int i = 0; i < 40; ++i) many += "{a,b}";
    EXPECT_FALSE(Fl_Dir::simpleExp("c", many.c_str()));
}

TEST(Dir, TabCompletesToTheLongestCommonBeginning) {
    TestFolder t;
    const std::string sub = t.dir + "sub/";
    for (const char* f : {"abc1", "abc2", "abd"}) ecrireFichier(sub + f, "x");
    mkdir((sub + "only").c_str(), 0755);
    const struct { std::string text, out; int typed; const char* calls; } cases[] = {
        {sub + "a", sub + "ab", 1, ""},         {sub + "abc", sub + "abc", 3, ""},
        {sub + "o", sub + "only/", 1, ""},      {t.dir + "su", t.dir + "sub/", 2, ""},
        {t.dir + "b", t.dir + "b.txt", 1, ""},  {t.dir + "q", t.dir + "q", 1, "E6"},
        {t.dir, t.dir, 0, ""},                  {t.dir + "a*", t.dir + "a*", 2, ""},
    };
    for (const auto& c : cases) {
        Lister d(c.text);
        char out[FL_DIR_PATH];
        EXPECT_EQ(d.tabComplete(c.text.c_str(), out), c.typed) << c.text;
        EXPECT_EQ(out + std::string(" ") + d.calls, c.out + " " + c.calls);
    }
    Lister d(sub + "a");
    char small[8];
    d.tabComplete((sub + "a").c_str(), small, sizeof small);
    EXPECT_EQ(std::string(small), sub.substr(0, 7));
}

TEST(Dir, FilenameExpandReplacesVariablesAndHome) {
    VariableEnvironnement home("HOME", "/home/u"), abs("QV_ABS", "/abs"), rel("QV_REL", "rel"),
        drive("QV_DRIVE", "c:/x"), nope("NOPE", nullptr);
    const struct { const char* in; const char* out; } cases[] = {
        {"~/f", "/home/u/f"},          {"$HOME/x", "/home/u/x"},   {"/a/$QV_REL/b", "/a/rel/b"},
        {"/junk/$QV_ABS/y", "/abs/y"}, {"$NOPE/x", "$NOPE/x"},     {"a/~x/$", "a/~x/$"},
        {"/a//b", "/a//b"},            {"/junk/$QV_DRIVE/y", "c:/x/y"},
    };
    char out[FL_DIR_PATH];
    for (const auto& c : cases) {
        Fl_Dir::filename_expand(out, c.in);
        EXPECT_STREQ(out, c.out) << c.in;
    }
    VariableEnvironnement longue("QV_LONG", std::string(5000, 'x').c_str());
    Fl_Dir::filename_expand(out, "/$QV_LONG/$QV_LONG");
    EXPECT_EQ(std::strlen(out), static_cast<size_t>(FL_DIR_PATH - 1));
    char text[] = "a\\b\\c";
    Fl_Dir::convertSlash(text);
    EXPECT_STREQ(text, "a/b/c");
}

TEST(Dir, CdFamilyMovesBetweenFolders) {
    TestFolder t;
    Lister d(t.dir + "sub/*.txt");
    EXPECT_EQ(d.after(d.cdUp()), "1 12 " + t.dir + "*.txt");  // a pattern goes along
    EXPECT_EQ(d.after(d.cdSub("sub")), "1 12 " + t.dir + "sub/");
    EXPECT_EQ(d.after(d.cdUp()), "6 12 " + t.dir);  // the rest of the text does not
    EXPECT_EQ(d.after(d.cdSub("a*")), "3 12 " + t.dir + "a*");
    {
        VariableEnvironnement home("HOME", (t.dir + "sub").c_str());
        EXPECT_EQ(d.after(d.cdHome()), "1 12 " + t.dir + "sub/");
    }
    {
        VariableEnvironnement home("HOME", nullptr);
        EXPECT_EQ(d.after(d.cdHome()), "0 E4 " + t.dir + "sub/");
    }
    EXPECT_GT(d.cdRoot(), 0);
    EXPECT_EQ(d.after(d.cdUp()), "0 12 /");  // the root's callbacks, then none

    InTempDir here;
    ecrireFichier(here.file("f"), "x");
    char cwd[FL_DIR_PATH];
    ASSERT_TRUE(getcwd(cwd, sizeof cwd));
    EXPECT_EQ(d.after(d.cdCurrent()), "1 12 " + std::string(cwd) + "/");
    EXPECT_EQ(d.cdSub(nullptr), 0);
    mkdir(here.file("rel").c_str(), 0755);
    EXPECT_EQ(d.after(d.cd("rel/")), "1 12 rel/");  // an empty folder: its parent alone counts
    EXPECT_EQ(d.after(d.cdUp()), "0  rel/");        // a relative folder has no parent to name
}

TEST(Dir, LongNamesAndBigFoldersAreKeptWithinBounds) {
    TempDir tmp;
    const std::string longName(255, 'n');
    ecrireFichier(tmp.file(longName), "x");
    EXPECT_EQ(Lister(tmp.path() + "/" + longName).shown(), ".. " + longName);

    TempDir big;
    for (int i = 0; i < 3100; ++i) ecrireFichier(big.file("f" + std::to_string(i)), "");
    Lister b(big.path() + "/");
    EXPECT_EQ(b.dirFileCount(), FL_DIR_MAX_FILES);
    EXPECT_GE(b.cd((big.path() + "/f").c_str(), 3), FL_DIR_MAX_FILES - 1);
}

}  // namespace
