// The command-line program, for what the loader's own tests do not reach:
// its translations, its folder and files that cannot be written, the sample
// that ./run.sh shows and the terminal's character set.
#include "core/Inifile.h"
#include "core/maChaine.h"
#include "core/utile_gcc.h"
#include "engine/chargerpeau2.h"
#include "engine/dicopartie.h"
#include "engine/partie.h"
#include "reports/recap.h"
#include "support/Fixtures.h"
#include "support/LimiteEcriture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>
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
    ASSERT_EQ(s.err, "");
    ASSERT_EQ(s.statut, 0);
    const std::string page = lireFichier("_recap/histo.html");
    for (const char* attendu :
         {"1 - mots.txt : Mots de la partie d'exemple<br />\n2 - mots_longs.txt : Mots de six lettres et plus<br />\n",
          "MAISON (1,2): B\342timent d'habitation<br />\nMER (1): Vaste \351tendue d'eau sal\351e<br />\n"
          "RELATION (1,2): Lien entre des personnes ou des choses<br />\n"})
        EXPECT_NE(page.find(attendu), std::string::npos) << attendu;
    EXPECT_EQ(page.find(": ?<"), std::string::npos) << "a word without its definition";
    EXPECT_FALSE(fichierExiste("quorvel.ini")) << "no settings file is created";
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
    EXPECT_EQ(s.out, "");
    EXPECT_EQ(s.statut, 1);
    EXPECT_EQ(s.err, "Pas de fichier absent.qv2\n");
    EXPECT_EQ(quorvel("a.qv2 b.qv2").err, "usage: quorvel RECAP.qv2\n");
}

TEST(MainQuorvel, FolderOrFilesThatCannotBeWritten) {
    InTempDir ici;
    ecrireFichier("_recap", "un fichier, pas un dossier");
    Sortie s = quorvel(kEchantillon);
    EXPECT_EQ(s.out, "");
    EXPECT_EQ(s.statut, 1);
    EXPECT_EQ(s.err, "quorvel: cannot create the folder '_recap': Not a directory\n");
    std::filesystem::remove("_recap");
    std::filesystem::create_directories("_recap/histo.qv2");  // neither file can take its name
    std::filesystem::create_directories("_recap/histo.html");
    const std::string rien = "quorvel: nothing was written for this game\n";
    s = quorvel(kEchantillon);
    EXPECT_EQ(s.out, "");
    EXPECT_EQ(s.statut, 0);
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
    EXPECT_EQ(s.statut, 1);
    EXPECT_EQ(s.out, "");
    EXPECT_EQ(s.err, "Mauvais n\302\260 de version\n");
    EXPECT_FALSE(fichierExiste("_recap"));
    // Saved by an editor that starts its files with a byte-order mark.
    ecrireFichier("v27.qv2", "\357\273\277[General]\nVersion=27\n[Plateau]\n8=...MAISON\n[Scores finaux (tiennent compte du "
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
    EXPECT_EQ(s.statut, 1);
    EXPECT_EQ(s.out, "");
    EXPECT_EQ(s.err, "Le r\351capitulatif 'grand.qv2' ne tient pas dans les r\350gles par d\351faut (plateau de 15 x 15, "
                     "chevalet de 7 lettres) : [Plateau] 11\nLe fichier de param\350tres 'grand.pea2' est introuvable, les "
                     "param\350tres par d\351faut sont utilis\351s\n");
    EXPECT_FALSE(fichierExiste("_recap"));
    // With its parameters back it loads, and its page shows their 21 x 21 board.
    ecrireFichier(fixtures::PEA2_GRAND, fixtures::texteParametresGrands());
    s = quorvel("grand.qv2", "LC_ALL=C");
    EXPECT_EQ(s.statut, 0);
    EXPECT_EQ(s.err, "On charge les parametres du fichier grand.pea2\n");
    EXPECT_NE(lireFichier("_recap/histo.html").find("<td class=\"pcase\">21</td>"), std::string::npos);
    EXPECT_EQ(lireFichier("_recap/histo.qv2"), lireFichier("grand.qv2"));
}

namespace {

const std::string kParDefaut = ", les param\350tres par d\351faut sont utilis\351s";

// The sample's game, saved naming the game parameters `pea2`.
void recapNommant(const std::string& pea2, const std::string& nom) {
    std::string texte = lireFichier(kEchantillon);
    replaceAllNb(texte, std::string("Pea2=") + PEA2_DEFAUT, "Pea2=" + pea2);
    ecrireFichier(nom, texte);
}

// Runs as a user that permissions bind: root reads every file.
std::string utilisateurOrdinaire() {
    if (geteuid() != 0) return std::string();
    std::filesystem::permissions(".", std::filesystem::perms::all);
    return "setpriv --reuid=65534 --regid=65534 --clear-groups";
}

}  // namespace

// A byte-order mark that an editor put before the first section hides
// neither the board nor the dictionaries.
TEST(MainQuorvel, ByteOrderMarkBeforeTheFirstSection) {
    InTempDir ici;
    ecrireDonneesEchantillon(".");
    std::string plateau = "[Plateau]\nDimension=9\n";
    for (int r = 1; r <= 9; ++r) plateau += std::to_string(r) + "=000000000\n";
    const std::string dicos = "[Dicos]\nprincipal=mots.txt\n";
    ecrireFichier("petit.pea2", plateau);
    fixtures::nouvellePartieSur("petit.pea2", 2);
    fixtures::joueur(1, "Alice", 0);
    fixtures::joueur(2, "Bruno", 0);
    fixtures::jouerMot(1, "MAISON", "E4", 20, "AIMNOSE", "MAISON");
    partie.partieEnCours = 0;
    save_recap("petit.qv2");
    for (const std::string& pea2 : {"\357\273\277" + plateau + dicos, "\357\273\277" + dicos + plateau}) {
        ecrireFichier("petit.pea2", pea2);
        const Sortie s = quorvel("petit.qv2", "LC_ALL=C");
        EXPECT_EQ(s.err, "On charge les parametres du fichier petit.pea2\n");
        EXPECT_EQ(s.statut, 0);
        const std::string recap = lireFichier("_recap/histo.qv2");
        EXPECT_NE(recap.find("\n9=.........\n[Dico(s)]\n"), std::string::npos) << "the board of 9 x 9";
        EXPECT_NE(lireFichier("_recap/histo.html").find("1 - mots.txt : Mots de la partie d'exemple<br />"), std::string::npos)
            << "the game dictionary";
    }
}

// A tile on a black square of the parameters is refused as one off the board:
// exit 1, nothing written, the square named.
TEST(MainQuorvel, TileOnABlackSquareRefused) {
    InTempDir ici;
    fixtures::partieGrande();
    partie.partieEnCours = 0;
    save_recap("grand.qv2");
    std::string noir = fixtures::texteParametresGrands();
    noir.at(noir.find("\n11=") + 4 + 11) = '9';  // under the first S of MAISONS, K10 to K16
    ecrireFichier(fixtures::PEA2_GRAND, noir);
    const Sortie s = quorvel("grand.qv2", "LC_ALL=C");
    EXPECT_EQ(s.statut, 1);
    EXPECT_EQ(s.out, "");
    EXPECT_EQ(s.err, "Le r\351capitulatif 'grand.qv2' ne tient pas dans les r\350gles des param\350tres 'grand.pea2' "
                     "(plateau de 21 x 21, chevalet de 8 lettres) : [Plateau] 11 (tuile sur la case noire K12)\n");
    EXPECT_FALSE(fichierExiste("_recap"));
}

// When the parameters' board is refused, the recap's refusal shows why.
TEST(MainQuorvel, RefusalShowsTheParametersOwnRefusal) {
    InTempDir ici;
    fixtures::partieGrande();
    partie.partieEnCours = 0;
    save_recap("grand.qv2");
    std::string texte = fixtures::texteParametresGrands();
    texte.erase(texte.find("\n14=") + 4, 1);  // a row of 20 digits
    ecrireFichier(fixtures::PEA2_GRAND, texte);
    const Sortie s = quorvel("grand.qv2", "LC_ALL=C");
    EXPECT_EQ(s.statut, 1);
    EXPECT_EQ(s.err, "Le r\351capitulatif 'grand.qv2' ne tient pas dans les r\350gles des param\350tres 'grand.pea2' "
                     "(plateau de 15 x 15, chevalet de 8 lettres) : [Plateau] 11\nFichier de param\350tres 'grand.pea2' : "
                     "la section [Plateau] est refus\351e (cl\351 14), ses valeurs par d\351faut sont utilis\351es\n");
    EXPECT_FALSE(fichierExiste("_recap"));
}

// Game parameters that exist but cannot be used say what is wrong; the
// built-in rules stand, as for a missing file.
TEST(MainQuorvel, ParametersThatCannotBeReadSayWhy) {
    InTempDir ici;
    recapNommant("p.pea2", "p.qv2");
    const std::string pasUnFichier = "n'est pas un fichier ordinaire (dossier, tube ou p\351riph\351rique)";
    const std::string tresGrand = "est trop grand (plus de 16 Mo)";
    const std::string illisible = "ne peut pas \352tre lu";
    struct Cas { std::function<void()> preparer; std::string raison; bool ordinaire; };
    const Cas cas[] = {
        {[] { std::filesystem::create_directory("p.pea2"); }, pasUnFichier, false},
        {[] { ASSERT_EQ(mkfifo("p.pea2", 0644), 0); }, pasUnFichier, false},  // never waited on
        {[] {
             ecrireFichier("p.pea2", "[Regles]\nChevalet=9\n");
             std::filesystem::resize_file("p.pea2", TAILLE_FICHIER_MAX + 1);
         },
         tresGrand, false},
        {[] {
             ecrireFichier("p.pea2", "[Regles]\nChevalet=9\n");
             std::filesystem::permissions("p.pea2", std::filesystem::perms::none);
         },
         illisible, true},
    };
    for (const Cas& c : cas) {
        std::filesystem::remove_all("_recap");
        std::filesystem::remove_all("p.pea2");
        c.preparer();
        const Sortie s = quorvel("p.qv2", "LC_ALL=C timeout 60 " + (c.ordinaire ? utilisateurOrdinaire() : ""));
        EXPECT_EQ(s.err, "On charge les parametres du fichier p.pea2\nLe fichier de param\350tres 'p.pea2' " + c.raison +
                             kParDefaut + "\n");
        EXPECT_EQ(s.statut, 0) << c.raison;
        EXPECT_EQ(s.out, "_recap/histo.qv2\n_recap/histo.html\n") << c.raison;
        // The built-in rules: K is worth 10, a rack of 7.
        EXPECT_NE(lireFichier("_recap/histo.html").find("<tr><td>K</td><td>10</td><td>1</td></tr>"), std::string::npos);
        std::string sansDico = lireFichier("p.qv2");
        replaceAllNb(sansDico, "Liste=mots.txt", "Liste=");  // no dictionary named
        EXPECT_EQ(lireFichier("_recap/histo.qv2"), sansDico) << c.raison;
    }
}

// The default game parameters are optional at start-up, but when the folder
// holds them in a form that cannot be read, the user is told why; the sample
// then loads on the built-in rules.
TEST(MainQuorvel, DefaultParametersThatCannotBeReadSayWhy) {
    InTempDir ici;
    ecrireDonneesEchantillon(".");
    std::filesystem::remove(PEA2_DEFAUT);
    std::filesystem::create_directory(PEA2_DEFAUT);
    Sortie s = quorvel(kEchantillon, "LC_ALL=C");
    EXPECT_EQ(s.err, std::string("Le fichier de param\350tres '") + PEA2_DEFAUT +
                         "' n'est pas un fichier ordinaire (dossier, tube ou p\351riph\351rique)" + kParDefaut + "\n");
    EXPECT_EQ(s.statut, 0);
    EXPECT_EQ(s.out, "_recap/histo.qv2\n_recap/histo.html\n");

    // Missing, it is passed over without a word.
    std::filesystem::remove(PEA2_DEFAUT);
    std::filesystem::remove_all("_recap");
    s = quorvel(kEchantillon, "LC_ALL=C");
    EXPECT_EQ(s.err, "");
    EXPECT_EQ(s.statut, 0);
}

// With the start cell left to its default, the centre, on a black square, the
// message names that cell, not a key that the file does not hold.
TEST(MainQuorvel, DefaultStartCellOnABlackSquare) {
    InTempDir ici;
    recapNommant("centre.pea2", "c.qv2");
    std::string plateau = "[Plateau]\n";
    for (int r = 1; r <= 15; ++r) plateau += std::to_string(r) + "=" + (r == 8 ? "000000090000000" : std::string(15, '0')) + "\n";
    ecrireFichier("centre.pea2", plateau);
    const Sortie s = quorvel("c.qv2", "LC_ALL=C");
    EXPECT_EQ(s.err, "On charge les parametres du fichier centre.pea2\nFichier de param\350tres 'centre.pea2' : la section "
                     "[Plateau] est refus\351e (la case de d\351part H8, au centre par d\351faut, est une case noire), ses "
                     "valeurs par d\351faut sont utilis\351es\n");
    EXPECT_EQ(s.statut, 0);
}

// The settings file of the current folder turns the debug output on and has
// the personal definitions opened at start-up.
TEST(MainQuorvel, SettingsOfTheCurrentFolder) {
    InTempDir ici;
    ecrireDonneesEchantillon(".");
    ecrireFichier("quorvel.ini", "\357\273\277[Debug]\r\nAfficher=True\r\n[Definitions]\r\nChargtIniUniq=True\r\n");
    std::filesystem::create_directories("_recap/histo.html");
    Sortie s = quorvel(kEchantillon, "LC_ALL=C");
    EXPECT_NE(s.err.find("Creation du fichier recap. impossible (_recap/histo.html)\n"), std::string::npos) << s.err;
    // A themed game's words are defined by the rubric the settings name, in the copy opened at start-up.
    std::filesystem::remove("_recap/histo.html");
    ecrireFichier("quorvel.ini", lireFichier("quorvel.ini") + "[Thematique]\r\nrubrique_definitions=Exemple\r\n");
    ecrireFichier(PEA2_DEFAUT, lireFichier(PEA2_DEFAUT) + "[General]\nthematique=oui\n");
    s = quorvel(kEchantillon, "LC_ALL=C");
    EXPECT_EQ(s.err, "");
    EXPECT_NE(lireFichier("_recap/histo.html").find("<br />\nMAISON: B\342timent d'habitation<br />\nMER: Vaste"),
              std::string::npos);
    // Settings that cannot be read are reported; the program goes on without them.
    std::filesystem::remove("quorvel.ini");
    std::filesystem::create_directory("quorvel.ini");
    s = quorvel(kEchantillon, "LC_ALL=C");
    EXPECT_EQ(s.err, "Le fichier 'quorvel.ini' n'est pas un fichier ordinaire (dossier, tube ou p\351riph\351rique)\n");
    EXPECT_EQ(s.statut, 0);
}
