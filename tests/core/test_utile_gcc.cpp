#include "core/utile_gcc.h"

#include "LimiteTaille.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <cctype>

namespace {

TEST(utile_gcc, JourHeureNowHasTwoDigitFields) {
    std::time_t avant = std::time(nullptr);
    std::string s = JourHeureNow();
    std::time_t apres = std::time(nullptr);
    const std::string forme = "99/99/9999 99:99:99";
    ASSERT_EQ(s.size(), forme.size()) << s;
    for (size_t i = 0; i < s.size(); ++i)
        EXPECT_TRUE(forme[i] == '9' ? std::isdigit(static_cast<unsigned char>(s[i])) != 0 : s[i] == forme[i]) << s;
    // The text is the local time of the call (one of the two seconds around it).
    bool trouve = false;
    for (std::time_t t : {avant, apres}) {
        std::tm tm{};
        localtime_r(&t, &tm);
        char attendu[32];
        std::strftime(attendu, sizeof attendu, "%d/%m/%Y %H:%M:%S", &tm);
        trouve = trouve || s == attendu;
    }
    EXPECT_TRUE(trouve) << s;
}

TEST(utile_gcc, AtomicWriteReportsFailureAndKeepsTheTarget) {
    namespace fs = std::filesystem;
    TempDir dir;
    const std::string cible = dir.file("a.txt");
    EXPECT_TRUE(ecrireFichierAtomique(cible, "un"));
    EXPECT_EQ(lireFichier(cible), "un");
    EXPECT_TRUE(estFichierRegulier(cible));
    EXPECT_FALSE(estFichierRegulier(dir.path()));
    EXPECT_FALSE(estFichierRegulier(dir.file("absent")));
    {
        LimiteTailleFichiers limite(4);
        EXPECT_FALSE(ecrireFichierAtomique(cible, "beaucoup trop long"));
    }
    EXPECT_EQ(lireFichier(cible), "un");
    EXPECT_FALSE(fs::exists(dir.file("a.tx~")));
    EXPECT_FALSE(ecrireFichierAtomique(dir.file("a.txt/b"), "x"));  // parent is a file
    EXPECT_FALSE(ecrireFichierAtomique("", "x"));
    EXPECT_EQ(lireFichier(cible), "un");
}

}  // namespace
