#include "core/Inifile.h"

#include "core/utile_gcc.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <filesystem>
#include <sys/stat.h>

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

TEST_F(INIfileTest, UnchangedFileKeepsEveryByteAndLookupRules) {
    const std::string texte = "; note\n[S]\nk=v\n\nodd line";  // no final newline
    ouvrir(texte);
    EXPECT_EQ(ini.text(), texte);
    ouvrir("[G]\n blancs =  a b  \ncle=x=y\nw=x y \r\n[pas un titre\n] [\nd=z\r\r\n"
           "[Dup]\nk=\n[Dup]\nk=second\n[Dup]\nk=third\n");
    const char* cas[][3] = {
        {"G", " blancs ", "  a b  "},  // values keep their blanks
        {"G", "cle", "x=y"},           // the key ends at the first '='
        {"G", "w", "x y "},            // trailing '\r' dropped
        {"G", "d", "z"},               // after lines that are no headers
        {"Dup", "k", "second"},        // first non-empty value in file order
    };
    for (auto& c : cas) EXPECT_EQ(ini(c[0], c[1], "def"), c[2]) << c[0] << "/" << c[1];
    // An unchanged object writes nothing: a CRLF file keeps its line ends.
    ouvrir("[S]\r\nk=v\r\n; note\r\n");
    ini.close();
    EXPECT_EQ(lireFichier(chemin), "[S]\r\nk=v\r\n; note\r\n");
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
    // A created file starts empty, whatever the object held before.
    ouvrir("[S]\nk=v\n");
    ASSERT_TRUE(ini.create(dir.file("neuf.ini")));
    ini.close();
    EXPECT_EQ(lireFichier(dir.file("neuf.ini")), "");
    // A path that cannot be a file is refused, and nothing of the file before stays.
    ouvrir("[S]\nk=v\n");
    ecrireFichier(dir.file("simple"), "x");
    EXPECT_FALSE(ini.open(dir.file("simple/f.ini"), true));
    EXPECT_FALSE(ini.isOpen());
    EXPECT_FALSE(ini.set("S", "k", "w"));
    EXPECT_EQ(ini("S", "k", "def"), "def");
}

TEST_F(INIfileTest, NumbersAndFlags) {
    ouvrir("[N]\nn=42\nneg=-7\ntexte=abc\ngrand=99999999999\nvide=\n"
           "[B]\nt=TRUE\ny=yes\nv=Vrai\no=oui\nf=False\nn=non\nun=1\nblanc= oui\n");
    const std::pair<const char*, int> nombres[] = {{"n", 42}, {"neg", -7}, {"texte", 0}, {"grand", INT_MAX},
                                                   {"vide", 5}, {"absent", 5}};
    for (const auto& [cle, valeur] : nombres) EXPECT_EQ(ini.get("N", cle, 5), valeur) << cle;
    for (const char* oui : {"t", "y", "v", "o"}) EXPECT_TRUE(ini.get("B", oui, false)) << oui;
    for (const char* non : {"f", "n", "un", "blanc"}) EXPECT_FALSE(ini.get("B", non, true)) << non;
    EXPECT_TRUE(ini.get("B", "absent", true));
    EXPECT_TRUE(ini.get("N", "vide", true));
}

// Editors may start a file with a UTF-8 byte-order mark: it is no part of the
// first line, and a file written back keeps it in front.
TEST_F(INIfileTest, ByteOrderMarkIsNoPartOfTheFirstLine) {
    const std::string bom = "\357\273\277";
    ouvrir(bom + "[Plateau]\r\nk=v\r\n");
    EXPECT_EQ(ini.sectionNames(), std::vector<std::string>{"Plateau"});
    EXPECT_EQ(ini("Plateau", "k", "def"), "v");
    ouvrir(bom + "k=v\n[S]\n");  // a key before any section
    EXPECT_EQ(ini("", "k", "def"), "v");
    // A mark further in is text like any other.
    ouvrir(bom + "[S]\nk=v\n[" + bom + "T]\nj=1\n" + bom + "[U]\n");
    EXPECT_EQ(ini.sectionNames(), (std::vector<std::string>{"S", bom + "T"}));
    EXPECT_EQ(ini(bom + "T", bom + "[U]", "def"), "def");
    EXPECT_TRUE(ini.set("S", "k", "w"));
    ini.close();
    EXPECT_EQ(lireFichier(chemin), bom + "[S]\nk=w\n[" + bom + "T]\nj=1\n" + bom + "[U]\n");
    ouvrir(bom);
    EXPECT_TRUE(ini.sectionNames().empty());
    EXPECT_EQ(ini.text(), bom);
    ouvrir("[S]\n");  // nothing of the file before
    EXPECT_EQ(ini.text(), "[S]\n");
}

TEST_F(INIfileTest, ErreurSaysWhyAFileCannotBeRead) {
    std::filesystem::create_directory(dir.file("dossier"));
    ASSERT_EQ(mkfifo(dir.file("tube").c_str(), 0600), 0);
    ecrireFichier(dir.file("enorme"), "");
    std::filesystem::resize_file(dir.file("enorme"), TAILLE_FICHIER_MAX + 1);
    const std::pair<std::string, int> cas[] = {{dir.file("absent"), ENOENT}, {dir.file("dossier"), EINVAL},
                                               {dir.file("tube"), EINVAL},   {dir.file("enorme"), EFBIG},
                                               {dir.file("tube/x"), ENOTDIR}};
    for (const auto& [fichier, erreur] : cas) {
        ouvrir("[S]\n");
        if (erreur != ENOENT) {
            EXPECT_FALSE(ini.open(fichier, true)) << fichier;  // only a missing file is created
            EXPECT_EQ(ini.erreur(), erreur) << fichier;
        }
        EXPECT_FALSE(ini.open(fichier, false));
        EXPECT_EQ(ini.erreur(), erreur) << fichier;
    }
    ouvrir("[S]\n");
    EXPECT_EQ(ini.erreur(), 0);
    ASSERT_TRUE(ini.open(dir.file("neuf"), true));
    EXPECT_EQ(ini.erreur(), 0) << "created";
}
