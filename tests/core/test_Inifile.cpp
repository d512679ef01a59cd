#include "core/Inifile.h"

#include "LimiteTaille.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <functional>

namespace {

const char kExemple[] =
    "; preamble\n"
    "top=level\n"
    "[General]\n"
    "Version=34\n"
    "vide=\n"
    " blancs =  a b  \n"
    "cle=x=y\n"
    "n1=-5\n"
    "n2=12abc\n"
    "n3=99999999999\n"
    "[Dup]\n"
    "k=\n"
    "[Dup]\n"
    "k=second\n"
    "autre=1\n"
    "[Dup]\n"
    "k=third\n"
    "odd line without equals\n"
    "[a]b]\n"
    "z=1\n"
    "  [Indent]\n"
    "i=2\n";

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
    const std::string contenus[] = {
        kExemple,
        "",
        "\n\n",
        "[S]\nk=v",                              // no final newline
        "[S]\r\nk=v\r\n; note\r\n\r\n",          // CRLF
        "# \351t\351\n[R\351sum\351]\nmot=\340 \377\n",  // Latin-1
        std::string("[S]\nk=a\0b\n", 10),
    };
    for (const std::string& c : contenus) {
        SCOPED_TRACE(c);
        ouvrir(c);
        if (c.find('\r') == std::string::npos) {
            EXPECT_EQ(ini.text(), c);
        }
        ini.close();
        EXPECT_EQ(lireFichier(chemin), c);
    }
    // An unchanged object does not write at all: a file replaced meanwhile stays.
    ouvrir(kExemple);
    ecrireFichier(chemin, "autre");
    ini.close();
    EXPECT_EQ(lireFichier(chemin), "autre");
}

TEST_F(INIfileTest, LookupRules) {
    ouvrir(kExemple);
    struct Cas {
        const char* section;
        const char* cle;
        const char* attendu;
    } cas[] = {
        {"General", "Version", "34"},
        {"general", "Version", "def"},   // names are case-sensitive
        {"General", "version", "def"},
        {"General", "vide", "def"},      // empty value gives the default
        {"General", " blancs ", "  a b  "},
        {"General", "cle", "x=y"},       // the key ends at the first '='
        {"Dup", "k", "second"},          // first non-empty value in file order
        {"Dup", "autre", "1"},
        {"a]b", "z", "1"},
        {"Indent", "i", "2"},
        {"", "top", "level"},
        {"Absente", "k", "def"},
        {"General", "absente", "def"},
        {"General", "odd line without equals", "def"},
    };
    for (const Cas& c : cas) EXPECT_EQ(ini(c.section, c.cle, "def"), c.attendu) << c.section << "/" << c.cle;

    EXPECT_EQ(ini.get("General", "Version", 0), 34);
    EXPECT_EQ(ini.get("General", "vide", 7), 7);
    EXPECT_EQ(ini.get("General", "absente", -1), -1);
    EXPECT_EQ(ini.get("General", "n1", 0), -5);
    EXPECT_EQ(ini.get("General", "n2", 0), 12);
    EXPECT_EQ(ini.get("General", "n3", 0), INT_MAX);
    EXPECT_EQ(ini.get("General", "cle", 9), 0);

    EXPECT_EQ(ini.sectionNames(), (std::vector<std::string>{"", "General", "Dup", "a]b", "Indent"}));
}

TEST_F(INIfileTest, BooleanValues) {
    const char* vrais[] = {"TRUE", "True", "yes", "Vrai", "oui", "OUI"};
    const char* faux[] = {"False", "non", "1", "truee", " true"};
    std::string c = "[B]\nvide=\n";
    for (const char* v : vrais) c += std::string("v") + v + "=" + v + "\n";
    for (const char* v : faux) c += std::string("f") + v + "=" + v + "\n";
    ouvrir(c);
    for (const char* v : vrais) EXPECT_TRUE(ini.get("B", std::string("v") + v, false)) << v;
    for (const char* v : faux) EXPECT_FALSE(ini.get("B", std::string("f") + v, true)) << v;
    EXPECT_TRUE(ini.get("B", "vide", true));
    EXPECT_FALSE(ini.get("B", "absente", false));
}

TEST_F(INIfileTest, CrLfLinesLoseTheirCarriageReturn) {
    ouvrir("[S]\r\nk=v\r\nw=x y \r\nd=z\r\r\n");
    EXPECT_EQ(ini("S", "k", ""), "v");
    EXPECT_EQ(ini("S", "w", ""), "x y ");
    EXPECT_EQ(ini("S", "d", ""), "z");  // CRLF converted twice
    ASSERT_TRUE(ini.set("S", "k", "2"));
    ini.close();
    EXPECT_EQ(lireFichier(chemin), "[S]\nk=2\nw=x y \nd=z\n");
}

TEST_F(INIfileTest, SetPlacesKeysWhereTheFileExpects) {
    ouvrir("; head\n[A]\na=1\n; trailing comment of A\n\n[B]\nb=2\n[A]\nc=3");
    EXPECT_TRUE(ini.set("A", "a", "10"));                  // in place
    EXPECT_TRUE(ini.set("A", "new", std::string("n")));   // after the section's last line
    EXPECT_TRUE(ini.set("A", "c", "30"));                  // in the first [A], which wins
    EXPECT_TRUE(ini.set("B", "b", std::string("x\ny\r")));  // one line
    EXPECT_TRUE(ini.set("C", "k", 5));
    EXPECT_TRUE(ini.set("C", "s", static_cast<short>(-7)));
    // Keys that would not read back as themselves are refused.
    EXPECT_FALSE(ini.set("A", "k=v", "1"));
    EXPECT_FALSE(ini.set("A", "[x]", "1"));
    EXPECT_FALSE(ini.set("A", "  [x", "1]"));
    EXPECT_EQ(ini("A", "c", ""), "30");
    EXPECT_EQ(ini.get("C", "s", 0), -7);
    const std::string attendu =
        "; head\n[A]\na=10\n; trailing comment of A\n\nnew=n\nc=30\n"
        "[B]\nb=x y \n[A]\nc=3\n[C]\nk=5\ns=-7\n";
    EXPECT_EQ(ini.text(), attendu);
    ini.close();
    EXPECT_FALSE(ini.isOpen());
    EXPECT_EQ(lireFichier(chemin), attendu);

    ASSERT_TRUE(ini.open(chemin));
    EXPECT_EQ(ini("A", "new", ""), "n");
    EXPECT_EQ(ini("B", "b", ""), "x y ");
}

TEST_F(INIfileTest, ClosedObjectGivesDefaultsAndRefusesSets) {
    EXPECT_FALSE(ini.open(dir.file("absent.ini"), false));
    EXPECT_FALSE(ini.isOpen());
    EXPECT_EQ(ini("S", "k", "def"), "def");
    EXPECT_EQ(ini.get("S", "k", 4), 4);
    EXPECT_FALSE(ini.set("S", "k", "v"));
    ini.close();
    EXPECT_FALSE(fichierExiste(dir.file("absent.ini")));
    EXPECT_FALSE(ini.open(dir.path(), false));  // a folder is not a file
}

TEST_F(INIfileTest, CreateAndOpenWithCreate) {
    EXPECT_FALSE(ini.create(""));
    ASSERT_TRUE(ini.open(chemin, true));
    ini.close();
    EXPECT_TRUE(fichierExiste(chemin));
    EXPECT_EQ(lireFichier(chemin), "");

    ASSERT_TRUE(ini.create(dir.file("neuf.ini")));
    ini.set("S", "k", "v");
    ini.set("", "racine", "1");
    ini.close();
    EXPECT_EQ(lireFichier(dir.file("neuf.ini")), "[S]\nk=v\n[]\nracine=1\n");
    ASSERT_TRUE(ini.open(dir.file("neuf.ini")));
    EXPECT_EQ(ini("", "racine", ""), "1");
    ini.close();

    // Only a missing file is created: a path that cannot be a file is refused.
    ecrireFichier(dir.file("simple"), "x");
    EXPECT_FALSE(ini.open(dir.file("simple/f.ini"), true));
    EXPECT_FALSE(ini.isOpen());
}

TEST_F(INIfileTest, FailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
    namespace fs = std::filesystem;
    const std::string ancien = "[S]\r\nk=old\r\n; keep me\r\n";
    const std::string temporaire = dir.file("f.in~");
    struct Cas {
        const char* nom;
        std::function<void()> avantClose;  // makes the write fail
        std::function<void()> apres;
    };
    std::unique_ptr<LimiteTailleFichiers> limite;
    Cas cas[] = {
        {"file size limit", [&] { limite.reset(new LimiteTailleFichiers(16)); }, [&] { limite.reset(); }},
        {"temporary name taken by a folder", [&] { fs::create_directory(temporaire); },
         [&] {
             EXPECT_TRUE(fs::is_directory(temporaire));
             fs::remove(temporaire);
         }},
    };
    for (Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        ouvrir(ancien);
        ASSERT_TRUE(ini.set("S", "k", std::string(5000, 'n')));
        c.avantClose();
        ini.close();
        c.apres();
        EXPECT_FALSE(ini.isOpen());
        EXPECT_EQ(lireFichier(chemin), ancien);
        EXPECT_FALSE(fs::exists(temporaire));
    }

    // The target is a folder: the rename fails and the temporary goes away.
    fs::create_directory(dir.file("rep"));
    ASSERT_TRUE(ini.create(dir.file("rep")));
    ini.set("S", "k", "v");
    ini.close();
    EXPECT_TRUE(fs::is_directory(dir.file("rep")));
    EXPECT_FALSE(fs::exists(dir.file("re~")));

    // A successful write leaves no temporary either, even for a name ending in '~'.
    ecrireFichier(dir.file("g~"), "[S]\n");
    ASSERT_TRUE(ini.open(dir.file("g~")));
    ini.set("S", "k", "v");
    ini.close();
    EXPECT_EQ(lireFichier(dir.file("g~")), "[S]\nk=v\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 3);  // f.ini rep g~
}

}  // namespace
