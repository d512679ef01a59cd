#include "core/utile_gcc.h"

#include "support/LimiteEcriture.h"
#include "support/Processus.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <filesystem>
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

TEST(utile_gcc, JourHeureNowIsTheLocalDateWithTwoDigitFields) {
    const std::time_t t = std::time(nullptr);
    std::tm l{};
    localtime_r(&t, &l);
    char attendu[48];
    std::snprintf(attendu, sizeof attendu, "%02d/%02d/%04d %02d:%02d", l.tm_mday, l.tm_mon + 1, l.tm_year + 1900,
                  l.tm_hour, l.tm_min);
    const std::string vu = JourHeureNow();  // seconds may tick over: compared up to the minute
    EXPECT_EQ(vu.substr(0, 16), attendu);
    EXPECT_EQ(vu.size(), 19u) << vu;
    EXPECT_EQ(vu[16], ':') << vu;
}

TEST(EcritureAtomique, EchecLaisseLaCibleEtAucunTemporaire) {
    TempDir dir;
    // The same name rule for a target that itself ends in '~'; a name at the
    // length limit has a temporary of its own length.
    for (const std::string& nom : {std::string("a~"), std::string(255, 'n')}) {
        EXPECT_TRUE(ecrireFichierAtomique(dir.file(nom), "x" + nom));
        EXPECT_EQ(lireFichier(dir.file(nom)), "x" + nom);
    }
    fs::remove(dir.file(std::string(255, 'n')));
    fs::create_directory(dir.file("dossier"));  // the rename fails and the temporary goes
    for (const std::string& cible : {std::string(), dir.file("absent/f.txt"), dir.file("dossier")})
        EXPECT_FALSE(ecrireFichierAtomique(cible, "x")) << cible;
    {
        LimiteEcriture disquePlein(16);  // a full disk
        EXPECT_FALSE(ecrireFichierAtomique(dir.file("a~"), std::string(5000, 'n')));
    }
    EXPECT_EQ(lireFichier(dir.file("a~")), "xa~");
    EXPECT_EQ(fichiers(dir.path()), (std::vector<std::string>{"a~", "dossier"}));
}

// Temporaries left by a crash, even of this very process id (a reused pid),
// are stepped over and never land in place; the file gets the usual permissions.
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
    EXPECT_EQ(lireFichier(dir.file("droit")) + lireFichier(dir.file("droit~")), "e");
}

TEST(LectureBornee, SeulUnFichierOrdinaireDeTailleRaisonnable) {
    TempDir dir;
    ecrireFichier(dir.file("petit"), "a");
    ecrireFichier(dir.file("vide"), "");
    fs::create_directory(dir.file("dossier"));
    ASSERT_EQ(mkfifo(dir.file("fifo").c_str(), 0600), 0);  // would block a plain open for ever
    for (const auto& [nom, taille] : {std::pair{"limite", TAILLE_FICHIER_MAX}, {"enorme", TAILLE_FICHIER_MAX + 1}}) {
        ecrireFichier(dir.file(nom), "");
        ASSERT_EQ(truncate(dir.file(nom).c_str(), taille), 0);  // sparse: no disk used
    }
    const auto descripteurs = [] { return std::distance(fs::directory_iterator("/proc/self/fd"), {}); };
    const auto ouverts = descripteurs();
    std::string lu = "avant";
    const std::tuple<const char*, int, size_t> cas[] = {  // name, errno (0: read), size read
        {"petit", 0, 1}, {"vide", 0, 0}, {"absent", ENOENT, 0}, {"dossier", EINVAL, 0}, {"fifo", EINVAL, 0},
        {"limite", 0, static_cast<size_t>(TAILLE_FICHIER_MAX)}, {"enorme", EFBIG, 0}};
    for (const auto& [nom, erreur, taille] : cas) {
        errno = 0;
        EXPECT_EQ(lireFichierBorne(dir.file(nom), lu), erreur == 0) << nom;
        if (erreur) {
            EXPECT_EQ(errno, erreur) << nom;
        }
        EXPECT_EQ(lu.size(), taille) << nom;
    }
    EXPECT_EQ(descripteurs(), ouverts) << "every file is closed";
}
