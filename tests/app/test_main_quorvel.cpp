// The command-line program, for what the loader's own tests do not reach:
// its translations, its folder and files that cannot be written, the sample
// that ./run.sh shows and the terminal's character set.
#include "core/Inifile.h"
#include "engine/chargerpeau2.h"
#include "engine/dicopartie.h"
#include "reports/recap.h"
#include "support/Fixtures.h"
#include "support/LimiteEcriture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>

namespace {

// Runs quorvel in the current folder: its exit status, standard output and error.
struct Sortie {
    int statut;
    std::string out, err;
};

Sortie quorvel(const std::string& arguments, const std::string& environnement = "") {
    const std::string cmd = environnement + " " + std::string(QV_BIN_DIR) + "/quorvel " + arguments +
                            " >out.txt 2>err.txt";
    const int s = std::system(cmd.c_str());
    return {WIFEXITED(s) ? WEXITSTATUS(s) : -1, lireFichier("out.txt"), lireFichier("err.txt")};
}

const std::string kEchantillon = std::string(QV_SOURCE_DIR) + "/samples/partie_normale.qv2";

// The sample's game folder: game parameters, the game's word list, a list of
// its long words and personal definitions, all written by our own code.
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
    std::filesystem::create_directories(dossier + "/_dicos");
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

}  // namespace

// What ./run.sh shows: the sample's folder, which must be what our code writes,
// copied into the working folder; the page shows the dictionaries, each word's
// dictionary numbers and its definition.
TEST(MainQuorvel, TheSamplePageShowsDictionariesAndDefinitions) {
    InTempDir ici;
    ecrireDonneesEchantillon(".");
    for (const char* nom : kDonnees)
        EXPECT_EQ(lireFichier(nom), lireFichier(std::string(QV_SOURCE_DIR) + "/samples/" + nom)) << nom;
    const Sortie s = quorvel(kEchantillon);
    ASSERT_EQ(std::to_string(s.statut) + s.err, "0");
    const std::string page = lireFichier("_recap/histo.html");
    for (const char* attendu :
         {"1 - mots.txt : Mots de la partie d'exemple<br />\n2 - mots_longs.txt : Mots de six lettres et plus<br />\n",
          "MAISON (1,2): B\342timent d'habitation<br />\nMER (1): Vaste \351tendue d'eau sal\351e<br />\n"
          "RELATION (1,2): Lien entre des personnes ou des choses<br />\n"})
        EXPECT_NE(page.find(attendu), std::string::npos) << attendu;
    EXPECT_EQ(page.find(": ?<"), std::string::npos) << "a word without its definition";
    EXPECT_NE(lireFichier("_recap/histo.qv2").find("Pea2=dezediziziz_zelio3fr_1.pea2\n"), std::string::npos);
}

// Messages reach a terminal in its own character set; files stay Latin-1.
TEST(MainQuorvel, MessagesInTheTerminalsCharacterSet) {
    InTempDir ici;
    ecrireFichier("mauvais.qv2", "[General]\nVersion=34\n[Partie]\nNb Joueurs=12\n");
    const std::pair<const char*, const char*> cas[] = {
        {"LC_ALL=C.UTF-8", "r\303\251capitulatif"}, {"LC_ALL=C", "r\351capitulatif"}, {"LC_ALL= LC_CTYPE= LANG=", "r\351capitulatif"}};
    for (const auto& [locale, attendu] : cas) {
        const Sortie s = quorvel("mauvais.qv2", locale);
        EXPECT_EQ(s.statut, 1);
        EXPECT_NE(s.err.find(std::string("n'est pas un ") + attendu + " valide"), std::string::npos) << locale;
    }
}

TEST(MainQuorvel, TranslatedRefusalAndUsage) {
    InTempDir ici;
    // The translation table of the current folder serves its messages.
    ecrireFichier("msgmenus.ini", "[Le fichier '%s' est introuvable]\nfr=Pas de fichier %s\n");
    const Sortie s = quorvel("absent.qv2");
    EXPECT_EQ(s.out + std::to_string(s.statut) + s.err.substr(0, s.err.find('\n')), "1Pas de fichier absent.qv2");
    EXPECT_EQ(quorvel("a.qv2 b.qv2").err, "usage: quorvel RECAP.qv2\n");
}

TEST(MainQuorvel, FolderOrFilesThatCannotBeWritten) {
    InTempDir ici;
    ecrireFichier("_recap", "un fichier, pas un dossier");
    Sortie s = quorvel(kEchantillon);
    EXPECT_EQ(s.out + std::to_string(s.statut) + s.err, "1quorvel: cannot create the folder '_recap': Not a directory\n");
    std::filesystem::remove("_recap");
    std::filesystem::create_directories("_recap/histo.qv2");  // neither file can take its name
    std::filesystem::create_directories("_recap/histo.html");
    const std::string rien = "quorvel: nothing was written for this game\n";
    s = quorvel(kEchantillon);
    EXPECT_EQ(s.out + std::to_string(s.statut), "0");
    EXPECT_NE(s.err.find(rien), std::string::npos) << s.err;
    std::filesystem::remove("_recap/histo.html");
    s = quorvel(kEchantillon);
    EXPECT_EQ(s.out, "_recap/histo.html\n");
    EXPECT_EQ(s.err.find(rien), std::string::npos);
    // Files that exist but cannot be replaced are not reported as written.
    std::filesystem::remove("_recap/histo.qv2");
    ASSERT_EQ(quorvel(kEchantillon).out, "_recap/histo.qv2\n_recap/histo.html\n");
    // The built-in rules stand when the folder holds no game parameters: K is worth 10.
    EXPECT_NE(lireFichier("_recap/histo.html").find("<tr><td>K</td><td>10</td><td>1</td></tr>"), std::string::npos);
    {
        LimiteEcriture disquePlein(1024);  // neither file fits
        s = quorvel(kEchantillon);
    }
    EXPECT_EQ(s.out, "");
    EXPECT_NE(s.err.find(rien), std::string::npos);
    EXPECT_EQ(s.err.find("Creation du fichier"), std::string::npos) << "debug lines stay off";
}

// The version messages that also go to standard error reach it once, in the
// terminal's character set, whether the file is refused or loaded.
TEST(MainQuorvel, VersionMessagesOnceOnStandardError) {
    InTempDir ici;
    ecrireFichier("v20.qv2", "[General]\nVersion=20\n");
    Sortie s = quorvel("v20.qv2", "LC_ALL=C.UTF-8");
    EXPECT_EQ(std::to_string(s.statut) + s.out + s.err, "1Mauvais n\302\260 de version\n");
    EXPECT_FALSE(fichierExiste("_recap"));
    ecrireFichier("v27.qv2", "[General]\nVersion=27\n[Plateau]\n8=...MAISON\n[Scores finaux (tiennent compte du "
                             "r\351ajustement)]\nJoueur 1=0,22\nNom Joueur 1=Alice\n[Partie]\nNb Joueurs=1\n");
    s = quorvel("v27.qv2", "LC_ALL=C");
    EXPECT_EQ(s.statut, 0);
    EXPECT_EQ(s.err, "Version un peu ancienne, le resultat n'est pas garanti\n");
}

// A recap whose tiles lie outside the board of the parameters it loads with
// is refused whole: exit 1 and nothing written.
TEST(MainQuorvel, TilesOutsideTheBoardRefused) {
    InTempDir ici;
    fixtures::partieGrande();
    save_recap("grand.qv2");
    std::filesystem::remove(fixtures::PEA2_GRAND);
    Sortie s = quorvel("grand.qv2", "LC_ALL=C");
    EXPECT_EQ(std::to_string(s.statut) + s.out + s.err,
              "1Le r\351capitulatif 'grand.qv2' ne tient pas dans les r\350gles par d\351faut, son fichier de "
              "param\350tres 'grand.pea2' \351tant introuvable (plateau de 15 x 15, chevalet de 7 lettres) : [Plateau] 11\n");
    EXPECT_FALSE(fichierExiste("_recap"));
    // With its parameters back it loads, and its page shows their 21 x 21 board.
    ecrireFichier(fixtures::PEA2_GRAND, fixtures::texteParametresGrands());
    s = quorvel("grand.qv2", "LC_ALL=C");
    EXPECT_EQ(std::to_string(s.statut) + s.err, "0On charge les parametres du fichier grand.pea2\n");
    EXPECT_NE(lireFichier("_recap/histo.html").find("<td class=\"pcase\">21</td>"), std::string::npos);
    EXPECT_EQ(lireFichier("_recap/histo.qv2"), lireFichier("grand.qv2"));
}
