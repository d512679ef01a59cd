#include "core/utile_gcc.h"

#include "support/Processus.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::vector<std::string> fichiers(const std::string& dossier) {
    std::vector<std::string> noms;
    for (const auto& e : fs::directory_iterator(dossier)) noms.push_back(e.path().filename().string());
    std::sort(noms.begin(), noms.end());
    return noms;
}

}  // namespace

TEST(utile_gcc, JourHeureNowHasTwoDigitFields) {
    std::string forme = JourHeureNow();
    for (char& c : forme)
        if (std::isdigit(static_cast<unsigned char>(c))) c = '9';
    EXPECT_EQ(forme, "99/99/9999 99:99:99");
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    char date[48];
    std::snprintf(date, sizeof date, "%02d/%02d/%04d", local.tm_mday, local.tm_mon + 1, local.tm_year + 1900);
    EXPECT_EQ(JourHeureNow().substr(0, 10), date);
}

TEST(EcritureAtomique, EcrivainsSimultanesLaissentUnContenuEntier) {
    TempDir dir;
    const std::string cible = dir.file("histo.html");
    // A crashed run left its temporary: it blocks nothing and never lands in place.
    ecrireFichier(dir.file("histo.htm~"), "reste d'un plantage");
    std::vector<std::string> contenus;
    for (char c : {'a', 'b', 'c', 'd'}) contenus.push_back(std::string(200000, c) + "\n");
    ASSERT_TRUE(enParallele(4, [&](int i) {
        bool ok = true;
        for (int k = 0; k < 40; ++k) ok = ecrireFichierAtomique(cible, contenus[i]) && ok;
        return ok;
    }));
    const std::string fin = lireFichier(cible);
    EXPECT_NE(std::find(contenus.begin(), contenus.end(), fin), contenus.end()) << "a mixture of writers";
    EXPECT_EQ(fichiers(dir.path()), (std::vector<std::string>{"histo.html", "histo.htm~"}));
    EXPECT_EQ(lireFichier(dir.file("histo.htm~")), "reste d'un plantage");
}

TEST(EcritureAtomique, EchecLaisseLaCibleEtAucunTemporaire) {
    TempDir dir;
    // The same name rule for a target that itself ends in '~'; a name at the
    // length limit has a temporary of its own length.
    EXPECT_TRUE(ecrireFichierAtomique(dir.file("a~"), "x"));
    EXPECT_EQ(lireFichier(dir.file("a~")), "x");
    const std::string longNom(255, 'n');
    EXPECT_TRUE(ecrireFichierAtomique(dir.file(longNom), "y"));
    EXPECT_EQ(lireFichier(dir.file(longNom)), "y");
    fs::remove(dir.file(longNom));
    EXPECT_FALSE(ecrireFichierAtomique("", "x"));
    EXPECT_FALSE(ecrireFichierAtomique(dir.file("absent/f.txt"), "x"));
    // A folder at the target's name: the rename fails and the temporary goes.
    fs::create_directory(dir.file("dossier"));
    EXPECT_FALSE(ecrireFichierAtomique(dir.file("dossier"), "x"));
    EXPECT_EQ(fichiers(dir.path()), (std::vector<std::string>{"a~", "dossier"}));
}

// Stale temporaries of this very process id (a crashed run, a reused pid)
// are stepped over; the file gets the usual permissions either way.
TEST(EcritureAtomique, TemporairesPerimesEtDroits) {
    TempDir dir;
    ASSERT_TRUE(enParallele(1, [&dir](int) {
        ecrireFichier(dir.file("droit~"), "");
        for (int k = 0; k < 60; ++k) ecrireFichier(dir.file("droit~" + std::to_string(getpid()) + "." + std::to_string(k)), "");
        umask(022);
        return ecrireFichierAtomique(dir.file("droits"), "d") && ecrireFichierAtomique(dir.file("droit"), "e");
    }));
    EXPECT_EQ(fichiers(dir.path()).size(), 63u) << "the stale files only, no temporary of ours";
    for (const char* nom : {"droits", "droit"}) {
        struct stat st;
        ASSERT_EQ(stat(dir.file(nom).c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0644u) << nom;
    }
    EXPECT_EQ(lireFichier(dir.file("droit")), "e");
}

TEST(LectureBornee, SeulUnFichierOrdinaireDeTailleRaisonnable) {
    TempDir dir;
    std::string lu = "avant";
    ecrireFichier(dir.file("petit"), "a");
    ecrireFichier(dir.file("vide"), "");
    fs::create_directory(dir.file("dossier"));
    ASSERT_EQ(mkfifo(dir.file("fifo").c_str(), 0600), 0);
    // Sparse files: the sizes cost no disk.
    ecrireFichier(dir.file("limite"), "");
    ecrireFichier(dir.file("enorme"), "");
    ASSERT_EQ(truncate(dir.file("limite").c_str(), TAILLE_FICHIER_MAX), 0);
    ASSERT_EQ(truncate(dir.file("enorme").c_str(), TAILLE_FICHIER_MAX + 1), 0);

    const auto descripteurs = [] { return std::distance(fs::directory_iterator("/proc/self/fd"), {}); };
    const auto ouverts = descripteurs();
    struct Cas { const char* nom; bool lisible; int erreur; size_t taille; };
    for (const Cas& c : {Cas{"petit", true, 0, 1}, Cas{"vide", true, 0, 0}, Cas{"absent", false, ENOENT, 0},
                         Cas{"dossier", false, EINVAL, 0}, Cas{"fifo", false, EINVAL, 0},
                         Cas{"limite", true, 0, static_cast<size_t>(TAILLE_FICHIER_MAX)},
                         Cas{"enorme", false, EFBIG, 0}}) {
        errno = 0;
        EXPECT_EQ(lireFichierBorne(dir.file(c.nom), lu), c.lisible) << c.nom;
        if (!c.lisible) {
            EXPECT_EQ(errno, c.erreur) << c.nom;
        }
        EXPECT_EQ(lu.size(), c.taille) << c.nom;
    }
    EXPECT_EQ(descripteurs(), ouverts) << "every file is closed";
}
