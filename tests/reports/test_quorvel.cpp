// The quorvel program, run as a user runs it.
#include "core/Inifile.h"
#include "engine/chargerpeau2.h"
#include "engine/dicopartie.h"
#include "engine/params.h"
#include "lexicon/dico2.h"
#include "reports/recap.h"
#include "support/Fixtures.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

struct Resultat {
    int statut;
    std::string sortie;
};

Resultat lancer(const std::string& arguments, const std::string& environnement = "") {
    const std::string commande =
        environnement + " " + std::string(QV_BIN_DIR) + "/quorvel " + arguments + " 2>erreurs.txt";
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

// The files of the sample's game folder, as our own code writes them: the
// game parameters, the game's word list, an extra list of its long words and
// personal definitions of every word.
const char* const kDonnees[] = {"dezediziziz_zelio3fr_1.pea2", "mots.txt", "mots_longs.txt",
                                "_dicos/definitions_personnelles.ini"};

void ecrireDonneesEchantillon(const std::string& dossier) {
    fixtures::partieNormale();
    std::string liste = "# Mots de la partie d'exemple\n", longs = "# Mots de six lettres et plus\n";
    for (const std::string& mot : dicP.lexique.mots()) {
        liste += mot + "\n";
        if (mot.size() >= 6) longs += mot + "\n";
    }
    ecrireFichier(dossier + "/mots.txt", liste);
    ecrireFichier(dossier + "/mots_longs.txt", longs);
    INIfile ini;
    ini.create(dossier + "/" + PEA2_DEFAUT);
    ini.set("Dicos", "principal", "mots.txt");
    ini.set("Dicos", "nb_dicos_sup", 1);
    ini.set("Dicos", "dico_1", "mots_longs.txt");
    ini.set("Fichier des Records", "fic", "defaut.bst");
    ini.close();
    fs::create_directories(dossier + "/_dicos");
    ini.create(dossier + "/_dicos/definitions_personnelles.ini");
    const char* const definitions[][2] = {
        {"AS", "Carte \340 jouer marqu\351e d'un seul signe"}, {"MAISON", "B\342timent d'habitation"},
        {"MER", "Vaste \351tendue d'eau sal\351e"},               {"MERE", "Femme qui a des enfants"},
        {"ON", "Pronom ind\351fini"},                            {"OSE", "Sucre simple"},
        {"RELATION", "Lien entre des personnes ou des choses"},  {"SON", "Enveloppe des grains de c\351r\351ales"},
        {"TOUR", "Construction haute"},                          {"VIE", "Fait d'\352tre vivant"}};
    for (const auto& d : definitions) ini.set("Exemple", d[0], d[1]);
    ini.close();
}

// Options that other tests of this program may leave set and that the
// writer reads: the whole-game chrono and the loaded definitions.
void sansOptionsDesAutresTests() {
    params.chronoPartie = false;
    gl_definitionsChargees = false;
    gl_indexDefinitions.clear();
}

}  // namespace

TEST(Echantillon, LesDonneesDuJeuSontCeQueNotreCodeEcrit) {
    TempDir dir;
    ecrireDonneesEchantillon(dir.path());
    for (const char* nom : kDonnees)
        EXPECT_EQ(lireFichier(dir.file(nom)), lireFichier(std::string(QV_SOURCE_DIR) + "/samples/" + nom)) << nom;
}

// What ./run.sh shows: the sample's game folder copied into the working folder.
TEST(ProgrammeQuorvel, LaPageDeLEchantillonMontreDicosNumerosEtDefinitions) {
    InTempDir ici;
    for (const char* nom : kDonnees) {
        fs::create_directories(fs::path(nom).parent_path().empty() ? "." : fs::path(nom).parent_path());
        fs::copy_file(std::string(QV_SOURCE_DIR) + "/samples/" + nom, nom);
    }
    Resultat r = lancer(std::string(QV_SOURCE_DIR) + kEchantillon);
    ASSERT_EQ(r.statut, 0) << lireFichier("erreurs.txt");
    EXPECT_EQ(lireFichier("erreurs.txt"), "");
    const std::string page = lireFichier("_recap/histo.html");
    for (const char* attendu :
         {"1 - mots.txt : Mots de la partie d'exemple<br />\n2 - mots_longs.txt : Mots de six lettres et plus<br />\n",
          "MAISON (1,2): B\342timent d'habitation<br />\nMER (1): Vaste \351tendue d'eau sal\351e<br />\n"
          "RELATION (1,2): Lien entre des personnes ou des choses<br />\n",
          "name=\"recap\"", "name=\"definitions\"", "name=\"plateau\"", "name=\"distrib\"", "name=\"statistiques\""})
        EXPECT_NE(page.find(attendu), std::string::npos) << attendu;
    EXPECT_EQ(page.find(": ?<"), std::string::npos) << "a word without its definition";
    EXPECT_NE(lireFichier("_recap/histo.qv2").find("Pea2=dezediziziz_zelio3fr_1.pea2\n"), std::string::npos);
}

// Messages reach a terminal in its own character set; files stay Latin-1.
TEST(ProgrammeQuorvel, MessagesDansLeJeuDeCaracteresDuTerminal) {
    InTempDir ici;
    ecrireFichier("mauvais.qv2", "[General]\nVersion=34\n[Partie]\nNb Joueurs=12\n");
    const std::pair<const char*, const char*> cas[] = {
        {"LC_ALL=C.UTF-8", "r\303\251capitulatif"}, {"LC_ALL=C", "r\351capitulatif"}, {"LC_ALL= LC_CTYPE= LANG=", "r\351capitulatif"}};
    for (const auto& [locale, attendu] : cas) {
        EXPECT_EQ(lancer(std::string("mauvais.qv2"), locale).statut, 1);
        EXPECT_NE(lireFichier("erreurs.txt").find(std::string("n'est pas un ") + attendu + " valide"), std::string::npos)
            << locale;
    }
}

TEST(Echantillon, EstCeQueLeRedacteurEcritPourLaPartieNormale) {
    TempDir dir;
    sansOptionsDesAutresTests();
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
