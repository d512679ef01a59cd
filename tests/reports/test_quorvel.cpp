// The quorvel program, run as a user runs it.
#include "reports/recap.h"
#include "support/Fixtures.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>

namespace {

struct Resultat {
    int statut;
    std::string sortie;
};

Resultat lancer(const std::string& arguments) {
    const std::string commande = std::string(QV_BIN_DIR) + "/quorvel " + arguments + " 2>erreurs.txt";
    Resultat r{-1, ""};
    FILE* p = popen(commande.c_str(), "r");
    if (!p) return r;
    char buf[256];
    while (fgets(buf, sizeof buf, p)) r.sortie += buf;
    int s = pclose(p);
    r.statut = WIFEXITED(s) ? WEXITSTATUS(s) : -1;
    return r;
}

const std::string kEchantillon = "/samples/partie_normale.qv2";

}  // namespace

TEST(Echantillon, EstCeQueLeRedacteurEcritPourLaPartieNormale) {
    TempDir dir;
    fixtures::partieNormale();
    save_recap(dir.file("normale.qv2"));
    EXPECT_EQ(lireFichier(dir.file("normale.qv2")), lireFichier(std::string(QV_SOURCE_DIR) + kEchantillon));
}

TEST(ProgrammeQuorvel, EcritLeRecapEtLaPageDuFichierCharge) {
    InTempDir ici;
    Resultat r = lancer(std::string(QV_SOURCE_DIR) + kEchantillon);
    EXPECT_EQ(r.statut, 0) << lireFichier("erreurs.txt");
    EXPECT_EQ(r.sortie, "_recap/histo.qv2\n_recap/histo.html\n");
    const std::string recap = lireFichier("_recap/histo.qv2");
    EXPECT_NE(recap.find("Nom Joueur 1=Alice"), std::string::npos);
    EXPECT_NE(recap.find("En Cours=oui"), std::string::npos);
    EXPECT_NE(lireFichier("_recap/histo.html").find("</html>"), std::string::npos);
}

TEST(ProgrammeQuorvel, RefuseUnFichierSansRienEcrire) {
    InTempDir ici;
    ecrireFichier("mauvais.qv2", "[General]\nVersion=34\n[Partie]\nNb Joueurs=12\n");
    Resultat r = lancer("mauvais.qv2");
    EXPECT_EQ(r.statut, 1);
    EXPECT_EQ(r.sortie, "");
    EXPECT_NE(lireFichier("erreurs.txt").find("Nb Joueurs"), std::string::npos);
    EXPECT_FALSE(fichierExiste("_recap"));

    r = lancer("absent.qv2");
    EXPECT_EQ(r.statut, 1);
    EXPECT_NE(lireFichier("erreurs.txt").find("Le fichier 'absent.qv2' est introuvable"), std::string::npos);
    EXPECT_EQ(lancer("").statut, 2);
}
