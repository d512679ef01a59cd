#include "core/Inifile.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>

class INIfileTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string chemin = dir.file("f.ini");
    INIfile ini;

    void ouvrir(const std::string& contenu) {
        ecrireFichier(chemin, contenu);
        ASSERT_TRUE(ini.open(chemin, false));
    }
};

TEST_F(INIfileTest, UnchangedFileKeepsEveryByte) {
    const std::string texte = "; note\n[S]\nk=v\n\nodd line";  // no final newline
    ouvrir(texte);
    EXPECT_EQ(ini.text(), texte);
    // An unchanged object writes nothing: a CRLF file keeps its line ends.
    ouvrir("[S]\r\nk=v\r\n; note\r\n");
    ini.close();
    EXPECT_EQ(lireFichier(chemin), "[S]\r\nk=v\r\n; note\r\n");
}

TEST_F(INIfileTest, LookupRules) {
    ouvrir("[G]\n blancs =  a b  \ncle=x=y\nw=x y \r\nd=z\r\r\n"
           "[Dup]\nk=\n[Dup]\nk=second\n[Dup]\nk=third\n");
    const char* cas[][3] = {
        {"G", " blancs ", "  a b  "},  // values keep their blanks
        {"G", "cle", "x=y"},           // the key ends at the first '='
        {"G", "w", "x y "},            // trailing '\r' dropped
        {"G", "d", "z"},
        {"Dup", "k", "second"},        // first non-empty value in file order
    };
    for (auto& c : cas) EXPECT_EQ(ini(c[0], c[1], "def"), c[2]) << c[0] << "/" << c[1];
}

TEST_F(INIfileTest, SetPlacesKeysWhereTheFileExpects) {
    ouvrir("; head\n[A]\na=1\n; trailing comment of A\n\n[B]\nb=2\n[A]\nc=3");
    EXPECT_TRUE(ini.set("A", "a", "10"));                    // in place
    EXPECT_TRUE(ini.set("A", "new", "n"));                   // after the section's last line
    EXPECT_TRUE(ini.set("A", "c", "30"));                    // in the first [A], which wins
    EXPECT_TRUE(ini.set("B", "b", std::string("x\ny\r")));  // stays one line
    EXPECT_TRUE(ini.set("C", "k", 5));                       // new section at the end
    // Keys that would not read back as themselves are refused.
    for (const char* cle : {"k=v", "[x]", "  [x"}) EXPECT_FALSE(ini.set("A", cle, "1]")) << cle;
    ini.close();
    EXPECT_EQ(lireFichier(chemin),
              "; head\n[A]\na=10\n; trailing comment of A\n\nnew=n\nc=30\n[B]\nb=x y \n[A]\nc=3\n[C]\nk=5\n");
}

TEST_F(INIfileTest, OpenWithCreateOnlyCreatesMissingFiles) {
    ASSERT_TRUE(ini.open(chemin, true));
    ini.close();
    EXPECT_EQ(lireFichier(chemin), "");
    ecrireFichier(dir.file("simple"), "x");
    EXPECT_FALSE(ini.open(dir.file("simple/f.ini"), true));  // cannot be a file: refused
}

TEST_F(INIfileTest, FailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
    const std::string ancien = "[S]\r\nk=old\r\n; keep me\r\n";
    ouvrir(ancien);
    ASSERT_TRUE(ini.set("S", "k", std::string(5000, 'n')));
    // Caps the size of written files so that the write fails even for root.
    rlimit avant{}, limite{};
    getrlimit(RLIMIT_FSIZE, &avant);
    limite = avant;
    limite.rlim_cur = 16;
    auto signalAvant = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &limite);
    ini.close();
    setrlimit(RLIMIT_FSIZE, &avant);
    std::signal(SIGXFSZ, signalAvant);
    EXPECT_EQ(lireFichier(chemin), ancien);
    namespace fs = std::filesystem;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}
