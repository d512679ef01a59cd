#include "app/interface.h"
#include "core/maChaine.h"
#include "engine/dicopartie.h"
#include "engine/divers.h"
#include "engine/duplicate.h"
#include "engine/historic.h"
#include "engine/normal.h"
#include "engine/params.h"
#include "engine/partie.h"
#include "engine/timers.h"
#include "reports/recap.h"
#include "reports/records.h"
#include "PageHtml.h"
#include "engine/chargerpeau2.h"
#include "support/Fixtures.h"
#include "support/LimiteEcriture.h"
#include "support/MessageRecorder.h"
#include "support/PartieNeuve.h"

#include <FL/Fl.H>
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <map>
#include <sstream>
#include <sys/stat.h>

namespace {

const std::string kScores = "Scores finaux (tiennent compte du r\351ajustement)";
const std::string kArretee = "Cette partie ne peut pas \352tre reprise : le joueur qui a la main n'a pas de lettres";
const std::string kInvalide = "Le fichier 'h.qv2' n'est pas un r\351capitulatif valide (";
using Changes = std::vector<std::array<std::string, 3>>;
using Textes = std::vector<std::string>;
using fixtures::texteParametresGrands;

// The keys of one section in file order.
Textes clesDe(const std::string& texte, const std::string& section) {
    Textes out;
    std::istringstream in(texte);
    std::string courante;
    for (std::string l; std::getline(in, l);) {
        if (!l.empty() && l[0] == '[') courante = l.substr(1, l.size() - 2);
        else if (courante == section) out.push_back(l.substr(0, l.find('=')));
    }
    return out;
}

std::string valeur(const std::string& texte, const std::string& section, const std::string& cle) {
    const size_t s = texte.find("[" + section + "]\n"), k = texte.find("\n" + cle + "=", s);
    if (s == std::string::npos || k == std::string::npos || k > texte.find("\n[", s + 1)) return "<absent>";
    return texte.substr(k + cle.size() + 2, texte.find('\n', k + 1) - k - cle.size() - 2);
}

// The whole game as the recap file holds it, and the transposed board.
std::string etat() {
    save_recap("etat.qv2");
    return lireFichier("etat.qv2") + std::string(&dicP.plateauT[0][0], sizeof dicP.plateauT);
}

// A saved recap with values changed ("" removes the key; a missing key is added at the section's head).
void modifier(const std::string& path, const Changes& changes) {
    std::string texte = lireFichier(path);
    for (const auto& c : changes) {
        const size_t section = texte.find("[" + c[0] + "]"), cle = texte.find("\n" + c[1] + "=", section);
        ASSERT_NE(section, std::string::npos) << c[0];
        if (cle == std::string::npos || cle > texte.find("\n[", section))
            texte.insert(texte.find('\n', section), "\n" + c[1] + "=" + c[2]);
        else
            texte.replace(cle, texte.find('\n', cle + 1) - cle, c[2].empty() ? "" : "\n" + c[1] + "=" + c[2]);
    }
    ecrireFichier(path, texte);
}

// A "|" field list with some fields replaced (numbered from 1).
std::string avecChamps(const std::string& ligne, std::map<int, std::string> champs) {
    std::istringstream in(ligne);
    std::string out, champ;
    for (int f = 1; std::getline(in, champ, '|'); ++f) out += (champs.count(f) ? champs[f] : champ) + "|";
    return out;
}

// Another game in place, to be replaced by the loaded one.
void autrePartie() {
    fixtures::partieCommencee();
    fixtures::joueur(2, "Zoe", 2);
    fixtures::jouerMot(1, "VIE", "B2", 9, "EIV", "VIE");
    partie.partieEnCours = 0;
}

// Saves a fixture's game (stopped unless asked) with keys changed, then puts another game in place.
void fichierDe(void (*fixture)(), const std::string& nom, const Changes& changes = {}, bool enCours = false) {
    fixture();
    if (!enCours) partie.partieEnCours = 0;
    save_recap(nom);
    modifier(nom, changes);
    autrePartie();
}

class Recap : public PartieNeuve {
protected:
    MessageRecorder messages;
};

}  // namespace

TEST_F(Recap, PartieNormaleEcritePuisRelue) {
    fixtures::partieNormale();
    save_recap("p.qv2");
    EXPECT_EQ(lireFichier("p.qv2"), lireFichier(std::string(QV_SOURCE_DIR) + "/samples/partie_normale.qv2"));
    gl_definitionsChargees = true;
    gl_indexDefinitions["MAISON"] = "Demeure.\nLogis";
    partie.joueurs[0].nom = "Ali|ce\nde\rux";
    v_histo[1].sens = 2;          // anything but 1 is vertical
    v_histo[1].mots = "MeR|X";    // a field never holds the separator
    v_histo[1].lettres[0] = 0;    // an empty slot below the count must not cut the line
    v_histo[1].lettres[2] = 'Q';  // a slot from the count on is not a tile
    partie.afficherToutesSolutions = 1;  // written in resolution mode only
    save_recap("p.qv2");
    const std::string f = lireFichier("p.qv2");
    EXPECT_EQ(valeur(f, "Partie", "Afficher toutes les solutions"), "<absent>");
    EXPECT_EQ(valeur(f, kScores, "Nom Joueur 1"), "Ali|ce de ux") << "a value never breaks its line";
    EXPECT_EQ(valeur(f, "Recap", "2"), "2|5|2|0|0|MeR X||MeR|-|R|-|-|-|-|-|-|ERTUVWX||ERTUVWX|| | | | |9|10|0|0|0|0|0|"
                                       "0|4|4|0|0|0|0|0|0|4H|0|0|0|0|0|0|0|0|0|0|0|0|0|0|-|-|-|-|-|-|-|1||");
    const std::string absente = " * la d\351finition n'a pas \351t\351 trouv\351e";
    EXPECT_EQ(valeur(f, "RecapTxt", "l 5"), "*  2. ERTUVWX      MAISON                      H4      22 * Demeure - Logis");
    EXPECT_EQ(valeur(f, "RecapTxt", "l 7"), "*  4. TUVWXYZ      RELATION                  * J4      64" + absente);
    EXPECT_EQ(valeur(f, "RecapTxt", "l 8"), "*  5. BCDEFGH      echange 'VWX'                        0 *  ");
    partie.joueurs[0].nom = "Ali|ce de ux";  // as the file holds it
    const std::string avant = etat();
    EXPECT_EQ(avant.substr(0, f.size()), f) << "the writer changes nothing in the game";

    autrePartie();
    ASSERT_TRUE(chargerRecapitulatif("p.qv2"));
    EXPECT_EQ(etat(), avant);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(partie.joueurEnCours, 0) << "Alice plays after Ordi's pass";
    EXPECT_EQ(partie.chevaletEnCours.size(), 7u);
    ASSERT_EQ(v_listeContenu.size(), 6u);
    for (size_t i = 3; i < 6; ++i) {  // the moves that are not words show no score
        EXPECT_EQ(v_listeContenu[i].score, 0) << i;
        EXPECT_EQ(v_listeContenu[i].texte, Textes({"echange 'VWX'", "coup errone", "passe son tour"})[i - 3]);
    }
    EXPECT_TRUE(partie.partieEnCours);
    EXPECT_TRUE(gl_menus.boutonsActifs);
    EXPECT_EQ(bestmove.mot, "MeRE") << "the moves offered to Alice";
    EXPECT_EQ(bestmove.score, 4);
    // Over the game in progress: "Non" keeps it, "Oui" loads the file, here stopped.
    modifier("p.qv2", {{"Partie", "En Cours", "non"}});
    EXPECT_FALSE(chargerRecapitulatif("p.qv2"));
    EXPECT_EQ(messages.messages.back().texte, "Une partie est en cours\nsouhaitez-vous vraiment l'arreter ?");
    EXPECT_TRUE(partie.partieEnCours);
    messages.reponsesQuestions.push_back(true);
    ASSERT_TRUE(chargerRecapitulatif("p.qv2"));
    EXPECT_FALSE(partie.partieEnCours);
    EXPECT_FALSE(gl_menus.boutonsActifs);
}

TEST_F(Recap, CasesNoiresBonusEtPartieVide) {
    fixtures::partieNormale();
    dicP.special[1][4] = dicP.special[8][4] = CASE_NOIRE;  // the second under the M of MAISON
    dicP.plateau[1][1] = 'a';                              // a joker standing for A
    dicP.plateau[1][2] = 'Z';
    dicP.plateau[1][3] = 'z';
    partie.nbCasesNoires = 1;  // as the file holds it, even when it disagrees with the board
    params.bonus[15] = 10;
    const std::string f = etat();
    EXPECT_EQ(valeur(f, "Plateau", "1"), "aZz_...........");
    EXPECT_EQ(valeur(f, "Plateau", "8"), "...MAISON......");
    EXPECT_EQ(valeur(f, "Partie", "NbCasesNoires"), "1");
    EXPECT_EQ(valeur(f, "Bonus sp\351cifique", "15"), "10");
    EXPECT_EQ(clesDe(f, "Bonus sp\351cifique").size(), 1u);
    // A write that cannot complete leaves the previous recap byte for byte.
    {
        LimiteEcriture disquePlein(16);
        save_recap("etat.qv2");
    }
    EXPECT_EQ(lireFichier("etat.qv2"), f.substr(0, f.size() - sizeof dicP.plateauT));
    autrePartie();
    ASSERT_TRUE(chargerRecapitulatif("etat.qv2"));
    EXPECT_EQ(valeur(etat(), "Plateau", "1").substr(0, 3), "aZz") << "the first column and the jokers read back";
    fixtures::partieCommencee();  // before the first move: no line 4, the empty record's move at line 5
    save_recap("c.qv2");
    EXPECT_EQ(clesDe(lireFichier("c.qv2"), "RecapTxt"), (Textes{"l 1", "l 2", "l 3", "l 5", "l 6", "l 7", "l 8", "l 9"}));
}

TEST_F(Recap, DuplicateEcritePuisRelue) {
    fichierDe(fixtures::partieDuplicate, "d.qv2", {}, true);
    const std::string f = lireFichier("d.qv2");
    EXPECT_EQ(valeur(f, "Partie", "Total"), "92") << "the sum of the tops, not of the players";
    EXPECT_EQ(valeur(f, kScores, "Lettres Joueur 2"), "TUVW+EES") << "the draw of the last top";
    EXPECT_EQ(valeur(f, "RecapTop", "2"), "AEILNOT|64|92|7|*|J4|RELATION|1");
    EXPECT_EQ(valeur(f, "RecapJoueurDuplicate1", "2"), "AEILNOT|0|25|0| ||ZUT| |");
    EXPECT_EQ(valeur(f, "RecapJoueurDuplicate2", "2"), "AEILNOT|64|88|7|*|J4|RELATION|$|RELATION");
    EXPECT_EQ(valeur(f, "RecapTxt", "l 5").substr(0, 59), "*  2. TUVW+ER      MAISON                      H4      22 *");

    ASSERT_TRUE(chargerRecapitulatif("d.qv2"));
    EXPECT_TRUE(gl_tourDuplicateOuvert);
    std::string sens;
    for (const saisieDP& t : result_best) sens += t.horizontal ? "-" : "|";
    EXPECT_EQ(partie.chevaletEnCours, "EESTUVW") << "the shared rack";
    EXPECT_EQ(sens, "-|-|") << "each top's direction";
    EXPECT_EQ(result_best.back().tirage, "TUVW+EES") << "the open round's draw is player 1's letters";
    ASSERT_EQ(saisie_duplicate[1].size(), 4u) << "three rounds of the file, then the open round's";
    // Stopped, then saved again: no round is lost.
    modifier("d.qv2", {{"Partie", "En Cours", "non"}});
    autrePartie();
    ASSERT_TRUE(chargerRecapitulatif("d.qv2"));
    save_recap("d.qv2");
    auto tops = [](const std::string& t) { return t.substr(t.find("[RecapTop]")); };
    EXPECT_EQ(tops(lireFichier("d.qv2")), tops(f));
    // Fewer tops, and a player with fewer entries, than the other players' rounds: every round is kept.
    modifier("d.qv2", {{"RecapTop", "Taille", "2"}, {"RecapJoueurDuplicate2", "Taille", "1"},
                       {"RecapTop", "1", avecChamps(valeur(f, "RecapTop", "1"), {{6, "Z1"}})}});
    autrePartie();
    ASSERT_TRUE(chargerRecapitulatif("d.qv2"));
    EXPECT_TRUE(result_best[1].horizontal) << "a position from A to Z first reads across";
    EXPECT_EQ(valeur(etat(), "RecapJoueurDuplicate1", "2"), "|0|25|0| ||ZUT|$|");
    result_best.resize(1);  // tops missing for typed rounds read as empty tops
    save_recap("d.qv2");
    const std::string ancien = lireFichier("d.qv2");
    EXPECT_EQ(valeur(ancien, "RecapTop", "2"), "|0|22|0| |||0");
    saisie_duplicate[1].clear();  // a player without an entry: no complete round, the old file stays
    save_recap("d.qv2");
    EXPECT_EQ(lireFichier("d.qv2"), ancien);
}

TEST_F(Recap, EnCoursSelonLaPartieAvecSesChronos) {
    struct Cas { void (*preparer)(); bool chronoPartie; const char* enCours; Textes chronos; };
    const std::vector<Cas> cas = {
        {[] {}, false, "oui", {}},
        {[] {}, true, "oui", {"Chrono partie", "Chrono partie temps restant j1", "Chrono partie temps restant j2"}},
        {[] { fixtures::partieDuplicate(); }, true, "oui", {"Chrono partie", "Chrono partie temps restant"}},
        {[] { partie.partieJoker = 1; }, true, "non", {}},
        {[] { partie.partieEnCours = 0; }, true, "non", {}},
        {[] { partie.partieEnCours = 0; partie.arbitrage = 1; }, true, "oui", {}},
        {[] { partie.partieEnCours = 0; partie.modeResolution = 1; }, true, "oui", {}},  // bag not empty
    };
    for (size_t i = 0; i < cas.size(); ++i) {
        fixtures::partieNormale();
        params.chronoPartie = cas[i].chronoPartie;
        cas[i].preparer();
        partie.joueurs[0].chrono = 120;
        partie.chronoPartie = 300;
        const std::string f = etat();
        EXPECT_EQ(valeur(f, "Partie", "En Cours"), cas[i].enCours) << i;
        Textes chronos;
        for (const std::string& k : clesDe(f, "Partie"))
            if (k.rfind("Chrono", 0) == 0) chronos.push_back(k);
        EXPECT_EQ(chronos, cas[i].chronos) << i;
        if (chronos.size() > 1) { EXPECT_EQ(valeur(f, "Partie", chronos[1]), partie.modeDuplicate ? "300" : "120"); }
    }
}

TEST_F(Recap, ResolutionLeSacEstReconstruitDepuisLePlateau) {
    fixtures::partieResolution();
    partie.afficherToutesSolutions = 1;
    const std::string f = etat();
    EXPECT_EQ(valeur(f, "Partie", "Afficher toutes les solutions"), "oui");
    // 102 tiles less M A I S O N e R E on the board.
    EXPECT_EQ(valeur(f, "Sac", "taille"), "93");
    EXPECT_EQ(valeur(f, "Sac", "5"), "14");
    EXPECT_EQ(partie.nbLettresSac, 93);
    EXPECT_EQ(etat(), f) << "the second save finds the bag already rebuilt";
    // Loaded back in resolution mode; a file of the older key sets test mode too.
    for (const char* cle : {"Resolution", "Mode resolution"}) {
        fichierDe([] {}, "r.qv2", {{"Partie", "Resolution", ""}, {"Partie", cle, "oui"}});
        ASSERT_TRUE(chargerRecapitulatif("r.qv2"));
        EXPECT_TRUE(partie.modeResolution) << cle;
        EXPECT_TRUE(gl_menus.resolution) << cle;
        EXPECT_EQ(std::string(cle) == "Mode resolution", valeur(etat(), "Partie", "Mode test") == "oui");
        fixtures::partieResolution();
    }
}

TEST_F(Recap, VersionsParametresEtSac) {
    const std::string ancienne = "Version un peu ancienne, le resultat n'est pas garanti";
    const std::string mauvaise = "Mauvais n\260 de version";
    struct Cas { Changes changes; Textes messages; int nbLettresSac; };  // -1 refused, 0 unchecked
    auto v = [](const char* numero) { return Changes{{"General", "Version", numero}}; };
    const std::vector<Cas> cas = {
        {v(""), {mauvaise}, -1},    {v("20"), {mauvaise}, -1}, {v("21"), {ancienne}, 0}, {v("27"), {ancienne}, 0},
        {v("29"), {mauvaise}, -1},  {v("30"), {}, 0},          {v("-1"), {mauvaise}, -1},
        {v("65567"), {mauvaise}, -1},  // not taken for 31 modulo 65536
        {v("32767"), {}, 73},
        {v("31"), {"Recapitulatif cree avec une version <= 1.4, on garde donc les parametres actuels"}, 73},
        {v("32"), {}, 73},  // naming the parameters already loaded: nothing loaded, nothing shown
        // Another regular file is loaded, its name shown as it is; a folder is not.
        {{{"General", "Pea2", "autre%s.pea2"}}, {"On charge les parametres du fichier autre%s.pea2"}, 73},
        // A file that cannot be read gives a message saying why and the built-in rules.
        {{{"General", "Pea2", "absent.pea2"}},
         {"On charge les parametres du fichier absent.pea2",
          "Le fichier de param\350tres 'absent.pea2' est introuvable, les param\350tres par d\351faut sont utilis\351s"}, 73},
        {{{"General", "Pea2", "."}},
         {"On charge les parametres du fichier .",
          "Le fichier de param\350tres '.' n'est pas un fichier ordinaire (dossier, tube ou p\351riph\351rique), "
          "les param\350tres par d\351faut sont utilis\351s"}, 73},
        // A bag count that disagrees with the counters is recomputed; version 33 has no bag.
        {{{"Sac", "0", "3"}, {"Sac", "taille", "5000"}}, {}, 76},
        {{{"Sac", "0", "3"}, {"General", "Version", "33"}}, {}, 73},
    };
    ecrireFichier("autre%s.pea2", "[Bonus]\n7=12\n");
    for (size_t i = 0; i < cas.size(); ++i) {
        MessageRecorder messages;
        fixtures::etatDeDemarrage();
        fichierDe(fixtures::partieNormale, "v.qv2", cas[i].changes);
        const std::string avant = etat();
        EXPECT_EQ(chargerRecapitulatif("v.qv2"), cas[i].nbLettresSac >= 0) << i;
        EXPECT_EQ(messages.boites(), cas[i].messages) << i;
        if (cas[i].nbLettresSac < 0) { EXPECT_EQ(etat(), avant) << i; }
        if (cas[i].nbLettresSac > 0) { EXPECT_EQ(partie.nbLettresSac, cas[i].nbLettresSac) << i; }
    }
}

TEST_F(Recap, FichiersHostilesRefusesSansToucherLaPartie) {
    const std::string enreg = "1|22|6|0|1|MAISON||MAISON|M|A|I|S|O|N|-|-|||||||||";
    const Changes cas = {  // the duplicate game's sections last
        {"Partie", "Nb Joueurs", "0"}, {"Partie", "Nb Joueurs", "9"}, {kScores, "Joueur 1", "9,22"},
        {kScores, "Joueur 2", "-1,5"}, {kScores, "Lettres Joueur 1", std::string(29, 'A')}, {"Recap", "2", "3|5|2|0|0||||"},
        {"Recap", "1", "1|22|16|0|1|"}, {"Recap", "1", enreg + "23|"}, {"Sac", "5", "128"}, {"Sac", "5", "-1"},
        {"Plateau", "3", "..#"}, {"Partie", "Nb Enreg. Recap", "32767"}, {"Partie", "Nb Enreg. Recap", "-2"},
        {"Partie", "Total", "32768"}, {"Plateau", "21", "#"},
        {"Recap", "1", enreg + "0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|H4|0|0|0|0|0|0|0|0|0|0|0|0|0|23|"},
        {"RecapTop", "Taille", "4"}, {"RecapJoueurDuplicate2", "Taille", "40000"}, {"RecapJoueurDuplicate3", "1", ""}};
    for (const auto& c : cas) {
        const bool duplicate = c[0].size() > 5 && c[0].rfind("Recap", 0) == 0;
        fichierDe(duplicate ? fixtures::partieDuplicate : fixtures::partieNormale, "h.qv2", {c});
        const std::string avant = etat();
        messages.messages.clear();
        EXPECT_FALSE(chargerRecapitulatif("h.qv2")) << c[1] << "=" << c[2];
        ASSERT_EQ(messages.boites().size(), 1u) << c[1];
        EXPECT_EQ(messages.boites()[0].rfind(kInvalide, 0), 0u) << c[1];
        EXPECT_EQ(etat(), avant) << c[1];
    }
}

TEST_F(Recap, FichiersBizarresMaisUtilisables) {
    fichierDe([] { fixtures::partieNormale(); partie.joueurs[0].nom = "%s%n%s"; }, "b.qv2");
    std::string texte = lireFichier("b.qv2");
    // A record of player 0 is filled again by the next line; a move of 9 tiles; the largest values allowed.
    const std::string neufTuiles = avecChamps(valeur(texte, "Recap", "3"), {{3, "9"}, {8, std::string("REL\0ATION", 9)},
                                                                            {16, "S"}, {40, "9"}, {42, "5"}, {49, "7"}, {56, "E"}});
    replaceAllNb(texte, "\n", "\r\n");
    replaceAllNb(texte, "%s%n%s", std::string("%s%n\0s", 6));
    ecrireFichier("b.qv2", texte);
    modifier("b.qv2", {{"Plateau", "8", "...MAI"}, {"Recap", "1", "0|99|6|0|1|MAISON"}, {"Recap", "2", "2|-40000|0|40000"},
                       {"Recap", "3", neufTuiles}, {"Plateau", "2", std::string(15, 'A') + std::string(6, '.') + "#" + std::string(1 << 20, '.')}, {kScores, "Joueur 1", "A"},
                       {kScores, "Joueur 2", "8"}, {"Partie", "Joker Tessarel", "oui"},
                       {kScores, "Lettres Joueur 2", "TUABCDE" + std::string(21, ' ')}});
    ASSERT_TRUE(chargerRecapitulatif("b.qv2"));
    EXPECT_EQ(partie.joueurs[0].nom, std::string("%s%n\0s", 6));
    const std::string f = etat();  // saved again: every NUL byte is a blank
    EXPECT_EQ(f.find('\0'), f.size() - sizeof dicP.plateauT);
    EXPECT_EQ(valeur(f, kScores, "Nom Joueur 1"), "%s%n s");
    EXPECT_EQ(valeur(f, "Partie", "Joker Tessarel"), "oui");
    EXPECT_EQ(valeur(f, "Recap", "2"), avecChamps(neufTuiles, {{8, "REL ATION"}}));
    EXPECT_EQ(partie.joueurs[1].type, 8);
    EXPECT_EQ(partie.joueurs[1].score, 0) << "a missing score reads 0";
    EXPECT_EQ(v_listeContenu.size(), 5u);
    // A short line leaves the rest of its row empty; a 1 MB line of empty squares past the board is no tile, and
    // what stands past the largest board is not read.
    EXPECT_EQ(std::string(1, dicP.plateau[8][6]) + dicP.plateau[8][7] + dicP.plateau[2][15] + dicP.plateau[2][16],
              std::string("I\0A\0", 4));
    EXPECT_EQ(v_histo[0].score, -32768);
    EXPECT_EQ(v_histo[0].typeCoup, 32767);
    EXPECT_EQ(v_histo[0].mots, "") << "missing fields read empty";
    EXPECT_EQ(v_histo[0].nbLettresPosees, 0);
    EXPECT_TRUE(messages.boites().empty());
}

TEST_F(Recap, AnciennesVersionsRejoueesSansHorloge) {
    auto enreg = [](std::map<int, std::string> champs) { return avecChamps(std::string(64, '|'), champs); };
    const std::string maison = enreg({{1, "1"}, {2, "22"}, {3, "6"}, {4, "0"}, {5, "1"}, {6, "MAISON"}, {8, "MAISON"},
                                      {9, "M"}, {10, "A"}, {11, "I"}, {12, "S"}, {13, "O"}, {14, "N"},
                                      {17, "AIMNOSE"}, {19, "AIMNOS"}, {41, "H4"}});
    const std::string debut = "\n[Plateau]\n8=...MAISON......\n[" + kScores + "]\nJoueur 1=0,22\nNom Joueur 1=Alice\n";
    // Ordi exchanges KK from KKKKKKW though the bag holds one K: the tiles left stay the sum of the counters.
    ecrireFichier("v30.qv2", "[General]\nVersion=30" + debut + "Lettres Joueur 1=EE+IRS-TU\nJoueur 2=6,0\nNom Joueur 2="
                  "Ordi\nLettres Joueur 2=ABCDEFG\n[Partie]\nEn Cours=oui\nNb Joueurs=2\nTotal=22\nNb Enreg. Recap=3\n"
                  "[Recap]\n1=" + maison + "\n2=" + enreg({{1, "2"}, {4, "2"}, {17, "KKKKKKW"}, {18, "KK"},
                  {19, "KKKKKKW"}}) + "\n3=" + enreg({{1, "1"}, {4, "1"}, {17, "BB"}}) + "\n");
    for (int unSeul : {1, 0}) {  // one rack: player 1's rack and the tiles placed leave the bag instead
        autrePartie();
        partie.unSeulChevalet = static_cast<unsigned char>(unSeul);
        ASSERT_TRUE(chargerRecapitulatif("v30.qv2"));
        EXPECT_EQ(partie.sac[5], 15 - 2 * unSeul) << "E: the rack's extra one goes back, but to a shared rack";
    }
    EXPECT_TRUE(messages.boites().empty());
    EXPECT_EQ(partie.nbLettresSac, 102 - 7 + 1 - 6 - 2 + 2) << "AIMNOSE, E back, six letters drawn, K and W, KK back";
    EXPECT_EQ(partie.sac[11], 2) << "K";
    EXPECT_EQ(partie.sac[23], 0) << "W";
    EXPECT_EQ(v_listeContenu[1].texte, "echange 'KK'") << "the third record takes no rack from the bag";
    EXPECT_EQ(valeur(etat(), kScores, "Lettres Joueur 1"), "EEIRSTU");
    EXPECT_FALSE(Fl::has_timeout(callbackChrono)) << "older files restart no clock";

    // Version 27 duplicate: the human's entries only; the others' rounds read as empty entries.
    std::string v27 = "[General]\nVersion=27" + debut + "Lettres Joueur 1=AERSTUV\nJoueur 2=0,0\nNom Joueur 2=Bruno\n"
                      "Lettres Joueur 2=AERSTUV\n[Partie]\nDuplicate=oui\nJoker Tessarel=oui\nEn Cours=oui\nNb Joueurs=2\n"
                      "Nb Enreg. Recap=1\n[Recap]\n1=" + maison + "\n[RecapTop]\n0=AIMNOSE|22|22|6| |H4|MAISON|2\n"
                      "1=EERT+SUV|0|22|0| |||0\n[RecapJoueurHumain]\nTaille=1\n0=AIMNOSE|20|20|6| |H5|MAISON| |MAISON\n";
    ecrireFichier("v27.qv2", v27);
    partie.partieEnCours = 0;
    testing::internal::CaptureStderr();
    ASSERT_TRUE(chargerRecapitulatif("v27.qv2"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "\nVersion un peu ancienne, le resultat n'est pas garanti");
    EXPECT_EQ(messages.boites().at(1), "Il s'agit d'une partie duplicate creee avec une version anterieure a la v1.3, "
                                       "seul le joueur humain sera traite");
    EXPECT_EQ(partie.sac[1], 7) << "the shared rack AERSTUV leaves the bag once";
    EXPECT_EQ(partie.sac[5], 14);
    EXPECT_EQ(saisie_duplicate[0].size(), 2u) << "the file's round, then the open one";
    EXPECT_EQ(saisie_duplicate[1].size(), 2u);
    EXPECT_EQ(saisie_duplicate[0][0].score, 20);
    EXPECT_EQ(result_best.back().tirage, "EERT+SUV");
    // Stopped: the check marks show the file's flags, and saving keeps the round for both players.
    replaceAllNb(v27, "En Cours=oui", "En Cours=non");
    ecrireFichier("v27.qv2", v27);
    autrePartie();
    alimMenuDuplicate();
    ASSERT_TRUE(chargerRecapitulatif("v27.qv2"));
    EXPECT_TRUE(gl_menus.duplicate);
    EXPECT_TRUE(gl_menus.joker);
    EXPECT_FALSE(partie.partieEnCours);
    EXPECT_FALSE(gl_menus.boutonsActifs);
    const std::string f = etat();
    EXPECT_EQ(valeur(f, "RecapJoueurDuplicate1", "0") + "/" + valeur(f, "RecapJoueurDuplicate2", "0"),
              "AIMNOSE|20|20|6| |H5|MAISON| |MAISON/AIMNOSE|0|0|0| ||| |");
}

TEST_F(Recap, UnChargementNEcritJamaisLesRecords) {
    // A test-mode file holds no rack: the game cannot go on and loads stopped, each time.
    fichierDe(fixtures::partieTest, "t.qv2", {}, true);
    InitLangue("defaut.bst");
    partie.records.defauts();  // no record of an earlier game stands in the way
    for (int fois = 1; fois <= 2; ++fois) {
        ASSERT_TRUE(chargerRecapitulatif("t.qv2"));
        EXPECT_EQ(messages.boites(), Textes(fois, kArretee)) << "no winner announced";
        EXPECT_FALSE(partie.partieEnCours);
        EXPECT_FALSE(gl_menus.boutonsActifs);
    }
    // A resumed game loaded over itself is not recorded again; once played on, it is.
    fichierDe(fixtures::partieNormale, "p.qv2", {}, true);
    messages.reponsesQuestions = {true, true};
    for (int fois = 0; fois < 2; ++fois) {
        ASSERT_TRUE(chargerRecapitulatif("p.qv2"));
        ASSERT_TRUE(partie.partieEnCours);
    }
    EXPECT_FALSE(fichierExiste("defaut.bst"));
    fixtures::jouerAutre(1, COUP_PASSE, "passe son tour", "BCDEFGH");
    ASSERT_TRUE(chargerRecapitulatif("p.qv2"));
    EXPECT_TRUE(fichierExiste("defaut.bst"));
}

TEST_F(Recap, TexteReencodeFifoEtOrdreFixe) {
    fichierDe([] { fixtures::partieNormale(); partie.joueurs[0].nom = "Zo\351"; }, "u.qv2", {}, true);
    const std::string latin1 = lireFichier("u.qv2");
    // Re-encoded to UTF-8 by an editor: loads as the original, accents kept, and saves byte for byte.
    ecrireFichier("u.qv2", latin1VersUtf8(latin1));
    ASSERT_TRUE(chargerRecapitulatif("u.qv2"));
    save_recap("u.qv2");
    EXPECT_EQ(lireFichier("u.qv2"), latin1);
    // Only the section name re-encoded: no player is found, the file is refused.
    std::string melange = latin1;
    replaceAllNb(melange, kScores, latin1VersUtf8(kScores));
    ecrireFichier("h.qv2", melange);
    autrePartie();
    EXPECT_FALSE(chargerRecapitulatif("h.qv2"));
    EXPECT_EQ(messages.boites().back(), kInvalide + "[" + kScores + "] Joueur 1)");
    // A FIFO is no file: refused at once, no wait for a writer.
    ASSERT_EQ(mkfifo("f.qv2", 0600), 0);
    messages.messages.clear();
    EXPECT_FALSE(chargerRecapitulatif("f.qv2"));
    AffRecap31("f.qv2");
    const std::string pasUnFichier = "Le fichier 'f.qv2' n'est pas un fichier ordinaire (dossier, tube ou p\351riph\351rique)";
    EXPECT_EQ(messages.boites(), Textes(2, pasUnFichier));

    // A fixed letter order: the bag holds the order less the 15 tiles on the board and the 14 on the racks.
    std::string ordre;
    for (int fois = 0; fois < 3; ++fois) ordre += "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    ecrireFichier("ordre.pea2", "[General]\nListeLettresOrdonnees=" + ordre + "??\n");
    fichierDe(fixtures::partieNormale, "o.qv2", {{"General", "Pea2", "ordre.pea2"}});
    ASSERT_TRUE(chargerRecapitulatif("o.qv2"));
    EXPECT_EQ(partie.nbLettresSac, 80 - 15 - 14);
    int sac[NB_LETTRES];
    std::copy(partie.sac, partie.sac + NB_LETTRES, sac);
    EXPECT_EQ(lettresDuSac(sac), "BCDFFGGHHIJJJKKKLLMMNOPPPQQQRRSSTUUVVVWWWXXXYYYZZZ?");
}

TEST_F(Recap, GrandPlateauCasesNoiresJetonsEtChevaletDesParametres) {
    fixtures::partieGrande();
    save_recap("g.qv2");
    const std::string f = lireFichier("g.qv2");
    // Rows 1 to 21 of 21 characters: the tiles, "_" for a black square, "." elsewhere.
    const Textes lignes = {"_" + std::string(19, '.') + "_", ".........MAISONS.....", "..._................L",
                           ".................VIE_"};
    const Textes cles = clesDe(f, "Plateau");
    ASSERT_EQ(cles.size(), 21u);
    EXPECT_EQ(cles.back(), "21");
    EXPECT_EQ(Textes({valeur(f, "Plateau", "1"), valeur(f, "Plateau", "11"), valeur(f, "Plateau", "15"),
                      valeur(f, "Plateau", "21")}), lignes);
    EXPECT_EQ(valeur(f, "Partie", "NbCasesNoires"), "5");
    EXPECT_EQ(valeur(f, kScores, "Lettres Joueur 1"), "ABCDFO?Z");
    EXPECT_NE(valeur(f, "RecapTxt", "l 6").find("RELATION                  * 21M     80 *"), std::string::npos)
        << "the whole rack of 8";
    // 94 tiles in the set, 18 on the board, 16 on the racks.
    EXPECT_EQ(valeur(f, "Sac", "taille"), "60");
    EXPECT_EQ(valeur(f, "RecapTxt", "l12"), "nb lettres restantes: 76");

    autrePartie();  // on the built-in rules
    ASSERT_TRUE(chargerRecapitulatif("g.qv2")) << messages.boites().back();
    EXPECT_EQ(messages.boites(), Textes{"On charge les parametres du fichier grand.pea2"});
    save_recap("g.qv2");
    EXPECT_EQ(lireFichier("g.qv2"), f);
    EXPECT_EQ(partie.chevaletEnCours, "ABCDFOZ?") << "Alice plays after Bruno's pass";

    // Its page: 21 columns, the black squares and bonus cells of the parameters, their tile set.
    const std::string p = pagehtml::page();
    pagehtml::verifierPage(p);
    const size_t debut = p.find("name=\"plateau\"");
    const std::string plateau = p.substr(debut, p.find("</table>", debut) - debut);
    EXPECT_EQ(pagehtml::compte(plateau, "<tr>"), 22);
    EXPECT_EQ(pagehtml::compte(plateau, "<td"), 22 * 22);
    EXPECT_TRUE(pagehtml::contient(plateau, "\">21</td>\n  </tr>\n"));
    EXPECT_TRUE(pagehtml::contient(plateau, "\"> U</td>"));
    std::string couleurs;
    for (const char* c : {"black", "magenta", "blue", "red", "hotpink", "royalblue", "lightblue", "lightgreen",
                          "burlywood", "darkviolet"})
        couleurs += std::to_string(pagehtml::compte(plateau, std::string("bgcolor=\"") + c + "\"")) + " ";
    EXPECT_EQ(couleurs, "5 1 1 1 1 1 1 412 18 0 ");
    EXPECT_TRUE(pagehtml::contient(plateau, ">M<span class=\"valeur\">7</span>"));
    std::string distribution;
    for (int k = 1; k <= IDX_JOKER; ++k)
        distribution += "  <tr><td>" + std::string(1, k == IDX_JOKER ? '?' : static_cast<char>('A' + k - 1)) +
                        "</td><td>" + std::to_string(fixtures::valeurGrande(k)) + "</td><td>" +
                        std::to_string(fixtures::nombreGrand(k)) + "</td></tr>\n";
    EXPECT_TRUE(pagehtml::contient(p, distribution + "    </tbody>\n    <tfoot>\n    <tr>\n      <td colspan=2>&nbsp;"
                                                     "</td>\n      <td>94</td>\n"));
    EXPECT_TRUE(pagehtml::contient(p, "<br />76 lettres restantes: A B B B B C C C C C D D E "));
    EXPECT_TRUE(pagehtml::contient(p, "*: les 8 lettres sont plac\351es (bonus de 60 points)"));
}

// A board or a rack that the parameters the file loads with cannot hold would
// lose tiles: the file is refused before anything changes.
TEST_F(Recap, LettresHorsDuPlateauOuDuChevaletRefusees) {
    fixtures::partieGrande();
    partie.partieEnCours = 0;
    save_recap("grand.qv2");
    std::string texte = texteParametresGrands();
    replaceAllNb(texte, "Chevalet=8", "Chevalet=7");
    ecrireFichier("chevalet7.pea2", texte);
    std::string moyen = "[Plateau]\nDimension=17\n";
    for (int r = 1; r <= 17; ++r) moyen += std::to_string(r) + "=" + std::string(17, '0') + "\n";
    ecrireFichier("moyen.pea2", moyen);
    // A black square under MAISONS (row K), and a board refused for a row of 20 digits.
    // A black square under the last letter of MAISONS (K10 to K16), and one just before it.
    std::string noir = texteParametresGrands(), voisin = noir;
    noir.at(noir.find("\n11=") + 4 + 15) = '9';
    ecrireFichier("noir.pea2", noir);
    voisin.at(voisin.find("\n11=") + 4 + 8) = '9';
    ecrireFichier("voisin.pea2", voisin);
    std::string rangee20 = texteParametresGrands();
    rangee20.erase(rangee20.find("\n3=") + 3, 1);
    ecrireFichier("rangee20.pea2", rangee20);
    std::filesystem::create_directory("dossier.pea2");
    Changes dernierRang;  // the tiles of row 21 alone, within 17 columns
    for (int r = 11; r <= 20; ++r) dernierRang.push_back({"Plateau", std::to_string(r), std::string(21, '.')});
    dernierRang.push_back({"Plateau", "21", "VIE" + std::string(18, '.')});
    dernierRang.push_back({"General", "Pea2", "moyen.pea2"});
    // What follows "Le récapitulatif 'h.qv2' ne tient pas dans les règles ".
    auto des = [](const std::string& pea2, const char* taille, const std::string& cle, const char* chevalet = "7") {
        return "des param\350tres '" + pea2 + "' (plateau de " + taille + ", chevalet de " + chevalet + " lettres) : " + cle;
    };
    const std::string dflt = PEA2_DEFAUT;
    const std::string defaut = "par d\351faut (plateau de 15 x 15, chevalet de 7 lettres) : [Plateau] 11\nLe fichier de "
                               "param\350tres '";
    const std::string utilises = ", les param\350tres par d\351faut sont utilis\351s";
    struct Cas { Changes changes; std::string message; };
    const std::vector<Cas> cas = {
        {{{"General", "Pea2", "absent.pea2"}}, defaut + "absent.pea2' est introuvable" + utilises},
        {{{"General", "Pea2", "dossier.pea2"}},
         defaut + "dossier.pea2' n'est pas un fichier ordinaire (dossier, tube ou p\351riph\351rique)" + utilises},
        {{{"General", "Pea2", "noir.pea2"}}, des("noir.pea2", "21 x 21", "[Plateau] 11 (tuile sur la case noire K16)", "8")},
        {{{"General", "Pea2", "rangee20.pea2"}},
         des("rangee20.pea2", "15 x 15", "[Plateau] 11", "8") + "\nFichier de param\350tres 'rangee20.pea2' : la section "
                                                              "[Plateau] est refus\351e (cl\351 3), ses valeurs par d\351faut sont utilis\351es"},
        {{{"General", "Pea2", PEA2_DEFAUT}}, des(dflt, "15 x 15", "[Plateau] 11")},
        {{{"General", "Version", "31"}}, des(dflt, "15 x 15", "[Plateau] 11")},
        {{{"General", "Version", "30"}}, des(dflt, "15 x 15", "[Plateau] 11")},
        {{{"General", "Pea2", "moyen.pea2"}}, des("moyen.pea2", "17 x 17", "[Plateau] 13")},
        {dernierRang, des("moyen.pea2", "17 x 17", "[Plateau] 21")},
        {{{"General", "Pea2", "chevalet7.pea2"}}, des("chevalet7.pea2", "21 x 21", "[" + kScores + "] Lettres Joueur 1")},
    };
    for (size_t i = 0; i < cas.size(); ++i) {
        ecrireFichier("h.qv2", lireFichier("grand.qv2"));
        modifier("h.qv2", cas[i].changes);
        autrePartie();
        const std::string avant = etat();
        messages.messages.clear();
        EXPECT_FALSE(chargerRecapitulatif("h.qv2")) << i;
        EXPECT_EQ(messages.boites(), Textes{"Le r\351capitulatif 'h.qv2' ne tient pas dans les r\350gles " + cas[i].message})
            << i;
        EXPECT_EQ(etat(), avant) << i;
    }
    // Up to version 31, against the parameters in place, their black squares included.
    ecrireFichier("h.qv2", lireFichier("grand.qv2"));
    modifier("h.qv2", {{"General", "Version", "31"}});
    autrePartie();
    ChargerPeau2("noir.pea2");
    messages.messages.clear();
    EXPECT_FALSE(chargerRecapitulatif("h.qv2"));
    EXPECT_EQ(messages.boites(), Textes{"Le r\351capitulatif 'h.qv2' ne tient pas dans les r\350gles " +
                                        des("noir.pea2", "21 x 21", "[Plateau] 11 (tuile sur la case noire K16)", "8")});
    // From version 32 on, the board is checked against the parameters that the file names.
    modifier("grand.qv2", {{"General", "Version", "32"}});
    autrePartie();
    ASSERT_TRUE(chargerRecapitulatif("grand.qv2"));
    EXPECT_EQ(partie.dimPlateau, 21);
    // A black square beside a tile is no tile on it.
    modifier("grand.qv2", {{"General", "Pea2", "voisin.pea2"}});
    autrePartie();
    ASSERT_TRUE(chargerRecapitulatif("grand.qv2")) << messages.boites().back();
    EXPECT_EQ(dicP.special[11][9], CASE_NOIRE);
    // The same rows of empty squares past the board are no tiles: loaded on the built-in board.
    fixtures::partieNormale();
    partie.partieEnCours = 0;
    save_recap("n.qv2");
    modifier("n.qv2", {{"Plateau", "8", "...MAISON......" + std::string(6, '.')}, {"Plateau", "21", "_____"}});
    autrePartie();
    ASSERT_TRUE(chargerRecapitulatif("n.qv2"));
    EXPECT_EQ(valeur(etat(), "Plateau", "8"), "...MAISON......");
}

// A missing parameter file gives its message and the built-in rules, not
// those of the game in place.
TEST_F(Recap, Pea2AbsentLesReglesIntegrees) {
    fichierDe(fixtures::partieNormale, "n.qv2", {{"General", "Pea2", "disparu.pea2"}});
    fixtures::partieGrande();
    partie.partieEnCours = 0;
    ASSERT_TRUE(chargerRecapitulatif("n.qv2"));
    EXPECT_EQ(messages.boites(), Textes({"On charge les parametres du fichier disparu.pea2",
                                         "Le fichier de param\350tres 'disparu.pea2' est introuvable, les param\350tres "
                                         "par d\351faut sont utilis\351s"}));
    EXPECT_EQ(partie.dimPlateau, 15);
    EXPECT_EQ(partie.tailleChevalet, 7);
    EXPECT_EQ(partie.nbLettre[5], 15);
    const std::string f = etat();
    EXPECT_EQ(valeur(f, "General", "Pea2"), "disparu.pea2");
    EXPECT_EQ(valeur(f, "Plateau", "8"), "...MAISON......");
    EXPECT_EQ(valeur(f, "Partie", "NbCasesNoires"), "<absent>");
}

// The save question starts from the name of the recap last read, without its
// ".qv2", which the save command adds back.
TEST_F(Recap, LaSauvegardeProposeLeDernierRecapitulatifLu) {
    fichierDe(fixtures::partieNormale, "p.qv2");
    ASSERT_TRUE(chargerRecapitulatif("p.qv2"));
    EXPECT_EQ(gs_dernierRecap, "p");
    ecrireFichier("v20.qv2", "[General]\nVersion=20\n");
    EXPECT_FALSE(chargerRecapitulatif("v20.qv2"));
    EXPECT_EQ(gs_dernierRecap, "p") << "a file refused was not read";
    const std::pair<const char*, const char*> noms[] = {
        {"_recap/P.QV2", "_recap/P"}, {"sans", "sans"}, {"p.qv2.txt", "p.qv2.txt"}, {".qv2", ".qv2"}};
    std::filesystem::create_directory("_recap");
    for (const auto& [nom, depart] : noms) {
        ecrireFichier(nom, lireFichier("p.qv2"));
        ASSERT_TRUE(chargerRecapitulatif(nom)) << nom;
        std::string choisi;
        sauveFichier(choisi);
        EXPECT_EQ(messages.departFichier, depart);
    }
}
