#include "app/interface.h"
#include "core/Inifile.h"
#include "engine/arbitrage.h"
#include "engine/dicopartie.h"
#include "engine/duplicate.h"
#include "engine/historic.h"
#include "engine/params.h"
#include "engine/partie.h"
#include "lexicon/dico2.h"
#include "reports/recap.h"
#include "support/Fixtures.h"
#include "support/MessageRecorder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sstream>
#include <sys/stat.h>

namespace {

const std::string kScores = "Scores finaux (tiennent compte du r\351ajustement)";

struct Ligne {
    std::string section, cle, valeur;
};

// The file as written, in order: one entry per key line.
std::vector<Ligne> lignesDe(const std::string& texte) {
    std::vector<Ligne> out;
    std::istringstream in(texte);
    std::string l, section;
    while (std::getline(in, l)) {
        if (!l.empty() && l[0] == '[') {
            section = l.substr(1, l.size() - 2);
            continue;
        }
        size_t eq = l.find('=');
        out.push_back({section, l.substr(0, eq), eq == std::string::npos ? "" : l.substr(eq + 1)});
    }
    return out;
}

std::vector<std::string> sectionsDe(const std::string& texte) {
    std::vector<std::string> out;
    std::istringstream in(texte);
    std::string l;
    while (std::getline(in, l))
        if (!l.empty() && l[0] == '[') out.push_back(l.substr(1, l.size() - 2));
    return out;
}

std::vector<std::string> clesDe(const std::string& texte, const std::string& section) {
    std::vector<std::string> out;
    for (const Ligne& l : lignesDe(texte))
        if (l.section == section) out.push_back(l.cle);
    return out;
}

std::string valeur(const std::string& texte, const std::string& section, const std::string& cle) {
    for (const Ligne& l : lignesDe(texte))
        if (l.section == section && l.cle == cle) return l.valeur;
    return "<absent>";
}

std::string chaine_rack(int i) { return "RACK" + std::to_string(i); }

std::string sauver(const TempDir& dir, const std::string& nom = "recap.qv2") {
    save_recap(dir.file(nom));
    return lireFichier(dir.file(nom));
}

}  // namespace

TEST(ChampsDuRecord, EcritsPuisRelusChampParChamp) {
    c_historique h;
    h.joueur = 2;
    h.score = -7;
    h.typeCoup = 0;
    h.nbLettresPosees = 3;
    h.sens = 2;  // anything but 1 is vertical
    h.nbTops = 4;
    h.mots = "MER, ET|AS";
    h.duree = "01:02";
    h.coupJoue = "MeR";
    h.reglette = "EMRSTU?";
    h.lettresEchangees = "";
    h.chevalet = "EMRSTU?";
    h.meilleurCoup = "MER 4H (6)";
    h.position = "4H";
    h.texteTops = "[MER 4H]";
    const char lettres[] = {'M', 'e', 'R'};
    for (int i = 0; i < 3; ++i) {
        h.lettres[i] = lettres[i];
        h.coord1[i] = static_cast<short>(8 + i);
        h.coord2[i] = 4;
    }
    h.coord1[14] = 21;  // the last saved slot
    v_histo.assign(1, h);

    std::vector<std::string> champs;
    for (short f = 0; f <= 65; ++f) champs.push_back(valRec(f, 0));
    EXPECT_EQ(champs[0], " ");
    EXPECT_EQ(champs[65], " ");
    EXPECT_EQ(champs[1], "2");
    EXPECT_EQ(champs[2], "-7");
    EXPECT_EQ(champs[5], "0");
    EXPECT_EQ(champs[6], "MER, ET AS") << "a '|' in a field becomes a blank";
    EXPECT_EQ(champs[9] + champs[10] + champs[11], "MeR");
    for (int f : {12, 13, 14, 15, 16, 56, 57, 58, 59, 60, 61, 62}) EXPECT_EQ(champs[f], "-") << f;
    for (int f : {21, 22, 23, 24}) EXPECT_EQ(champs[f], " ") << f;
    EXPECT_EQ(champs[25], "8");
    EXPECT_EQ(champs[33], "4");
    EXPECT_EQ(champs[48], "21");
    EXPECT_EQ(champs[41], "4H");
    EXPECT_EQ(champs[63], "4");

    v_histo.push_back(c_historique());
    for (short f = 0; f <= 65; ++f) alimRec(champs[f], f);
    const c_historique& r = v_histo.back();
    EXPECT_EQ(r.joueur, 2);
    EXPECT_EQ(r.score, -7);
    EXPECT_EQ(r.sens, 0);
    EXPECT_EQ(r.nbLettresPosees, 3);
    EXPECT_EQ(r.nbTops, 4);
    EXPECT_EQ(r.mots, "MER, ET AS");
    EXPECT_EQ(r.coupJoue, "MeR");
    EXPECT_EQ(r.meilleurCoup, "MER 4H (6)");
    EXPECT_EQ(r.texteTops, "[MER 4H]");
    EXPECT_EQ(std::string(r.lettres, 15), "MeR------------");
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(r.coord1[i], h.coord1[i]) << i;
        EXPECT_EQ(r.coord2[i], h.coord2[i]) << i;
    }

    // A letter slot left empty below the count (an inconsistent loaded record)
    // must not cut the line with a NUL.
    v_histo[0].lettres[1] = 0;
    EXPECT_EQ(valRec(10, 0), "-");
    alimRec("", 9);
    EXPECT_EQ(v_histo.back().lettres[0], 0);
}

TEST(RecapNormal, SectionsClesEtValeurs) {
    TempDir dir;
    fixtures::partieNormale();
    gl_definitionsChargees = true;
    gl_indexDefinitions["MAISON"] = "Demeure.\nLogis";
    const std::string f = sauver(dir);

    EXPECT_EQ(sectionsDe(f), (std::vector<std::string>{"Presentation", "General", "Plateau", "Dico(s)", kScores, "Sac",
                                                       "Fin", "Partie", "Recap", "RecapTxt"}));
    EXPECT_EQ(clesDe(f, "General"), (std::vector<std::string>{"Version", "Pea1", "Pea2"}));
    EXPECT_EQ(valeur(f, "General", "Version"), "34");
    EXPECT_EQ(clesDe(f, kScores), (std::vector<std::string>{"Joueur 1", "Nom Joueur 1", "Lettres Joueur 1", "Joueur 2",
                                                            "Nom Joueur 2", "Lettres Joueur 2"}));
    EXPECT_EQ(valeur(f, kScores, "Joueur 1"), "0,86");
    EXPECT_EQ(valeur(f, kScores, "Joueur 2"), "6,5");
    EXPECT_EQ(valeur(f, kScores, "Lettres Joueur 2"), "TUABCDE");
    EXPECT_EQ(clesDe(f, "Partie"),
              (std::vector<std::string>{"Afficher les lettres de l'ordinateur", "Valeur facultative (duplicate)",
                                        "Un seul chevalet (normal)", "Afficher toutes les solutions (resolution)",
                                        "Resolution", "Afficher les valeurs des lettres", "Saisie tirage (duplicate)",
                                        "Joker Tessarel", "Duplicate", "En Cours", "Nb Joueurs", "Total",
                                        "Nb Enreg. Recap", "Utiliser Repertoire Courant", "Fichier Parametre"}));
    EXPECT_EQ(valeur(f, "Partie", "Duplicate"), "non");
    EXPECT_EQ(valeur(f, "Partie", "Total"), "91");
    EXPECT_EQ(valeur(f, "Partie", "Nb Enreg. Recap"), "6");
    EXPECT_EQ(valeur(f, "Partie", "Fichier Parametre"), "dezediziziz640_480_1.pea1");
    EXPECT_EQ(valeur(f, "Dico(s)", "Liste"), "mots.txt");
    EXPECT_EQ(clesDe(f, "Recap"), (std::vector<std::string>{"1", "2", "3", "4", "5", "6"}));
    EXPECT_EQ(valeur(f, "Recap", "3"),
              "1|64|7|0|1|RELATION||RELATION|E|L|A|T|I|O|N|-|AEILNOT||AEILNOT|RELATION J4 (64)| | | | "
              "|5|6|7|8|9|10|11|0|10|10|10|10|10|10|10|0|J4|0|0|0|0|0|0|0|0|0|0|0|0|0|0|-|-|-|-|-|-|-|1||");

    // The bag: the tile set less the board and the two racks.
    EXPECT_EQ(valeur(f, "Sac", "5"), "12");
    EXPECT_EQ(valeur(f, "Sac", "27"), "1");
    EXPECT_EQ(valeur(f, "Sac", "taille"), "73");

    const std::string vide(15, '.');
    EXPECT_EQ(valeur(f, "Plateau", "8"), "...MAISON......");
    EXPECT_EQ(valeur(f, "Plateau", "9"), "...e...........");
    EXPECT_EQ(valeur(f, "Plateau", "1"), vide);
    EXPECT_EQ(clesDe(f, "Plateau").size(), 15u);

    const std::vector<std::string> texte = {
        std::string(59, '*'),
        "*      Tirage        Solution               Position  Pts *",
        std::string(59, '*'),
        "*  1. AIMNOSE                                             *",
        "*  2. ERTUVWX      MAISON                      H4      22 * Demeure - Logis",
        "*  3. AEILNOT      MeR                         4H       5 * la d\351finition n'a pas \351t\351 trouv\351e",
        "*  4. TUVWXYZ      RELATION                  * J4      64 * la d\351finition n'a pas \351t\351 trouv\351e",
        "*  5. BCDEFGH      echange 'VWX'                        0 *  ",
        "*  6. TUABCDE      ZOU                                  0 *  ",
        "*                  passe son tour                       0 *  ",
        "*                                             Total:   91 *",
        std::string(59, '*'),
        "lettres restantes: AAAAAAABBCCDDDEEEEEEEEEEEEEEFFGGHHIIIIIIJKLLLLMMNNNNOOOOPPQRRRRRSSSSSTTTTTUUUUUUVVWXYZ?",
        "nb lettres restantes: 87"};
    std::vector<std::string> cles;
    for (size_t i = 0; i < texte.size(); ++i) {
        char cle[8];
        std::snprintf(cle, sizeof cle, "l%2d", static_cast<int>(i + 1));
        cles.push_back(cle);
        EXPECT_EQ(valeur(f, "RecapTxt", cle), texte[i]) << cle;
    }
    EXPECT_EQ(clesDe(f, "RecapTxt"), cles);
    EXPECT_EQ(f.find("Mode test"), std::string::npos);
    EXPECT_EQ(f.find("NbCasesNoires"), std::string::npos);

    // Saving again gives the same bytes: the writer changes nothing in the game.
    EXPECT_EQ(sauver(dir), f);
}

TEST(RecapNormal, CasesNoiresBonusEtTextesHorsFormat) {
    TempDir dir;
    fixtures::partieNormale();
    dicP.special[1][1] = CASE_NOIRE;
    dicP.special[8][4] = CASE_NOIRE;  // under the M of MAISON
    partie.nbCasesNoires = 2;
    params.bonus[5] = 10;
    params.bonus[15] = -3;
    partie.joueurs[0].nom = "Ali|ce\nde\rux";
    params.dicos2.resize(3);
    params.dicos2[0].nomFichier = "extra1.txt";
    params.dicos2[2].nomFichier = "extra3.txt";
    const std::string f = sauver(dir);
    EXPECT_EQ(valeur(f, "Plateau", "1"), "_..............");
    EXPECT_EQ(valeur(f, "Plateau", "8"), "...MAISON......");
    EXPECT_EQ(valeur(f, "Partie", "NbCasesNoires"), "2");
    EXPECT_EQ(clesDe(f, "Bonus sp\351cifique"), (std::vector<std::string>{"5", "15"}));
    EXPECT_EQ(valeur(f, "Bonus sp\351cifique", "15"), "-3");
    EXPECT_EQ(valeur(f, kScores, "Nom Joueur 1"), "Ali|ce de ux") << "a value never breaks its line";
    EXPECT_EQ(valeur(f, "Dico(s)", "Liste"), "mots.txt - extra1.txt - extra3.txt");
    EXPECT_EQ(sectionsDe(f)[8], "Bonus sp\351cifique") << "the section comes after the first Partie keys";
}

TEST(RecapNormal, PartieQuiCommence) {
    TempDir dir;
    fixtures::partieCommencee();
    const std::string f = sauver(dir);
    EXPECT_TRUE(clesDe(f, "Recap").empty());
    EXPECT_EQ(valeur(f, "Partie", "Nb Enreg. Recap"), "0");
    EXPECT_EQ(clesDe(f, "RecapTxt"), (std::vector<std::string>{"l 1", "l 2", "l 3", "l 5", "l 6", "l 7", "l 8", "l 9"}));
    EXPECT_EQ(valeur(f, "RecapTxt", "l 6"), "*                                             Total:    0 *");
    EXPECT_EQ(valeur(f, "RecapTxt", "l 9"), "nb lettres restantes: 102");
    EXPECT_EQ(valeur(f, kScores, "Lettres Joueur 1"), "AEINRST");
}

TEST(RecapNormal, DouzeEnregistrements) {
    TempDir dir;
    fixtures::nouvellePartie(2);
    fixtures::joueur(1, "A", 0);
    fixtures::joueur(2, "B", 0);
    for (int i = 0; i < 12; ++i) fixtures::jouerAutre(1 + i % 2, COUP_PASSE, "passe", chaine_rack(i));
    const std::string f = sauver(dir);
    std::vector<std::string> cles = clesDe(f, "RecapTxt");
    ASSERT_EQ(cles.size(), 20u);
    EXPECT_EQ(cles[3], "l 4");
    EXPECT_EQ(cles[8], "l 9");
    EXPECT_EQ(cles[9], "l10");
    EXPECT_EQ(cles[19], "l20");
    EXPECT_EQ(valeur(f, "RecapTxt", "l15").substr(0, 18), "* 12. RACK11      ");
    EXPECT_EQ(valeur(f, "RecapTxt", "l16").substr(0, 20), "*                  p");
    EXPECT_EQ(valeur(f, "RecapTxt", "l17").substr(46, 6), "Total:");
}


TEST(RecapDuplicate, TopsEtSaisiesDesJoueurs) {
    TempDir dir;
    fixtures::partieDuplicate();
    const std::string f = sauver(dir);
    const std::vector<std::string> sections = sectionsDe(f);
    ASSERT_GE(sections.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(sections.end() - 5, sections.end()),
              (std::vector<std::string>{"RecapTop", "RecapJoueurDuplicate1", "RecapJoueurDuplicate2",
                                        "RecapJoueurDuplicate3", "RecapTxt"}));
    EXPECT_EQ(valeur(f, "Partie", "Duplicate"), "oui");
    EXPECT_EQ(valeur(f, "Partie", "Total"), "92") << "the sum of the tops, not of the players";
    EXPECT_EQ(valeur(f, kScores, "Lettres Joueur 2"), "TUVW+EES") << "the draw of the last top";
    EXPECT_EQ(clesDe(f, "Recap"), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(clesDe(f, "RecapTop"), (std::vector<std::string>{"Taille", "0", "1", "2"}));
    EXPECT_EQ(valeur(f, "RecapTop", "Taille"), "3");
    EXPECT_EQ(valeur(f, "RecapTop", "0"), "AIMNOSE|22|22|6| |H4|MAISON|2");
    EXPECT_EQ(valeur(f, "RecapTop", "2"), "AEILNOT|64|92|7|*|J4|RELATION|1");
    EXPECT_EQ(valeur(f, "RecapJoueurDuplicate1", "2"), "AEILNOT|0|25|0| ||ZUT| |");
    EXPECT_EQ(valeur(f, "RecapJoueurDuplicate2", "0"), "AIMNOSE|18|18|5| |8D|SON| |SON");
    EXPECT_EQ(valeur(f, "RecapJoueurDuplicate2", "2"), "AEILNOT|64|88|7|*|J4|RELATION|$|RELATION");
    EXPECT_EQ(valeur(f, "RecapJoueurDuplicate3", "1"), "TUVW+ER|6|28|2| |4H|MER|$|MER");
    // The text recap takes each round's rack from its top.
    EXPECT_EQ(valeur(f, "RecapTxt", "l 5").substr(0, 19), "*  2. TUVW+ER      ");
    EXPECT_EQ(valeur(f, "RecapTxt", "l 8"), "*                                             Total:   92 *");

    // The test-mode game writes no duplicate sections and no rack letters.
    partie.modeTest = 1;
    const std::string t = sauver(dir, "test.qv2");
    EXPECT_EQ(valeur(t, "Partie", "Mode test"), "oui");
    EXPECT_EQ(valeur(t, "Partie", "Duplicate"), "non");
    EXPECT_EQ(t.find("RecapTop"), std::string::npos);
    EXPECT_EQ(t.find("Lettres Joueur"), std::string::npos);
    EXPECT_EQ(valeur(t, "Partie", "Total"), "153") << "the players' scores";
}

TEST(RecapDuplicate, JoueurSansSaisieNEcritRien) {
    TempDir dir;
    fixtures::partieDuplicate();
    ecrireFichier(dir.file("histo.qv2"), "ancien recap\n");
    saisie_duplicate[1].clear();
    save_recap(dir.file("histo.qv2"));
    EXPECT_EQ(lireFichier(dir.file("histo.qv2")), "ancien recap\n");
    save_recap(dir.file("nouveau.qv2"));
    EXPECT_FALSE(fichierExiste(dir.file("nouveau.qv2")));
    // Tops missing for rounds that the players have typed read as empty tops.
    fixtures::partieDuplicate();
    result_best.resize(1);
    const std::string f = sauver(dir);
    EXPECT_EQ(valeur(f, "RecapTop", "2"), "|0|22|0| |||0");
    EXPECT_EQ(valeur(f, "RecapJoueurDuplicate3", "1"), "|6|28|2| |4H|MER| |MER");
}

TEST(RecapEnCours, ChaqueBrancheAvecSesChronos) {
    struct Cas {
        const char* nom;
        void (*preparer)();
        bool chronoPartie;
        const char* enCours;
        std::vector<std::string> chronos;
    };
    const std::vector<Cas> cas = {
        {"normal en cours", [] {}, false, "oui", {}},
        {"normal, chrono de partie", [] {}, true, "oui",
         {"Chrono partie", "Chrono partie temps restant j1", "Chrono partie temps restant j2"}},
        {"duplicate, chrono de partie", [] { fixtures::partieDuplicate(); }, true, "oui",
         {"Chrono partie", "Chrono partie temps restant"}},
        {"joker", [] { partie.partieJoker = 1; }, true, "non", {}},
        {"arretee", [] { partie.partieEnCours = 0; }, true, "non", {}},
        {"arbitrage d'une partie arretee", [] {
             partie.partieEnCours = 0;
             partie.arbitrage = 1;
             arbitrage.nomFichierSvg = "finale";
             arbitrage.nomFichierIni = "tournoi.ini";
         }, true, "oui", {}},
        {"resolution, sac non vide", [] {
             partie.partieEnCours = 0;
             partie.modeResolution = 1;
         }, true, "oui", {}},
    };
    for (const Cas& c : cas) {
        TempDir dir;
        fixtures::partieNormale();
        params.chronoPartie = c.chronoPartie;
        c.preparer();
        partie.joueurs[0].chrono = 120;
        partie.chronoPartie = 300;
        const std::string f = sauver(dir);
        EXPECT_EQ(valeur(f, "Partie", "En Cours"), c.enCours) << c.nom;
        std::vector<std::string> chronos;
        for (const std::string& k : clesDe(f, "Partie"))
            if (k.rfind("Chrono", 0) == 0) chronos.push_back(k);
        EXPECT_EQ(chronos, c.chronos) << c.nom;
        if (!c.chronos.empty()) {
            const char* cle = partie.modeDuplicate ? "Chrono partie temps restant" : "Chrono partie temps restant j1";
            EXPECT_EQ(valeur(f, "Partie", cle), partie.modeDuplicate ? "300" : "120") << c.nom;
        }
        if (partie.arbitrage) {
            EXPECT_EQ(valeur(f, "General", "Arbitrage"), "finale");
            EXPECT_EQ(valeur(f, "General", "ArbitrageIni"), "tournoi.ini");
        } else {
            EXPECT_EQ(f.find("Arbitrage"), std::string::npos) << c.nom;
        }
    }
}

TEST(RecapResolution, LeSacEstReconstruitDepuisLePlateau) {
    TempDir dir;
    fixtures::partieResolution();
    partie.afficherToutesSolutions = 1;
    const std::string f = sauver(dir);
    // 102 tiles less M A I S O N e R E on the board.
    EXPECT_EQ(valeur(f, "Sac", "taille"), "93");
    EXPECT_EQ(valeur(f, "Sac", "5"), "14");
    EXPECT_EQ(valeur(f, "Sac", "27"), "1");
    EXPECT_EQ(valeur(f, "Sac", "1"), "8");
    EXPECT_EQ(partie.nbLettresSac, 93);
    EXPECT_EQ(partie.sac[5], 14);
    EXPECT_EQ(valeur(f, "Partie", "Afficher toutes les solutions"), "oui");
    EXPECT_EQ(valeur(f, "Partie", "En Cours"), "oui");
    EXPECT_EQ(sauver(dir), f) << "the second save finds the bag already rebuilt";
}

TEST(RecapFichier, NomsRefusesEtEcritureRatee) {
    InTempDir ici;
    MessageRecorder messages;
    fixtures::partieNormale();

    save_recap("a.q");
    EXPECT_FALSE(fichierExiste("a.q"));

    // No path: the name is asked; a cancelled question writes nothing.
    save_recap("");
    ASSERT_EQ(messages.nombre(MessageRecorder::Message::ChoixFichier), 1);
    EXPECT_EQ(messages.messages[0].titre, "*.qv2");
    messages.reponsesFichiers.push_back("choisi.qv2");
    save_recap("");
    EXPECT_NE(lireFichier("choisi.qv2").find("[Recap]"), std::string::npos);

    // A write that cannot complete leaves the previous recap byte for byte.
    ecrireFichier("histo.qv2", "ancien\n");
    ASSERT_EQ(mkdir("histo.qv~", 0700), 0);  // the temporary cannot be created
    save_recap("histo.qv2");
    EXPECT_EQ(lireFichier("histo.qv2"), "ancien\n");
    save_recap("absent/histo.qv2");
    EXPECT_FALSE(fichierExiste("absent"));
}
