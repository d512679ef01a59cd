#include "engine/chargerpeau2.h"

#include "engine/dicopartie.h"
#include "engine/params.h"
#include "engine/partie.h"
#include "support/MessageRecorder.h"
#include "support/TempDir.h"
#include "engine/divers.h"
#include "support/Fixtures.h"
#include "support/PartieNeuve.h"
#include "core/utile_gcc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>
#include <array>
#include <map>

class ParametresDeJeu : public PartieNeuve {};

TEST_F(ParametresDeJeu, MissingFileGivesItsMessageAndTheBuiltInRules) {
    MessageRecorder rec;
    ChargerPeau2("absent_100%s.pea2");
    ASSERT_EQ(rec.boites().size(), 1u);
    EXPECT_NE(rec.boites()[0].find("'absent_100%s.pea2'"), std::string::npos) << rec.boites()[0];
    EXPECT_EQ(params.ficRecords, "defaut.bst");
    EXPECT_EQ(params.langue, "fr");
    EXPECT_EQ(partie.ficRecords, "defaut.bst");
    EXPECT_EQ(params.typePartie, TYPE_PARTIE_ORDINAIRE);
    // The classic board: T/D word x3/x2, t/d letter x3/x2, symmetric about its centre lines.
    const char* const quart[] = {"T..d...T", ".D...t..", "..D...d.", "d..D...d", "....D...", ".t...t..", "..d...d.",
                                 "T..d...D"};
    for (int l = 1; l <= 15; ++l) {
        std::string ligne, attendu;
        for (int c = 1; c <= 15; ++c) {
            const short m = partie.coefMot[l][c], k = partie.coefLettre[l][c];
            ligne += m == 3 ? 'T' : m == 2 ? 'D' : k == 3 ? 't' : k == 2 ? 'd' : m == 1 && k == 1 ? '.' : '?';
            attendu += quart[(l <= 8 ? l : 16 - l) - 1][(c <= 8 ? c : 16 - c) - 1];
        }
        EXPECT_EQ(ligne, attendu) << "row " << l;
    }
    EXPECT_EQ(partie.dimPlateau, 15);
    EXPECT_EQ(partie.ligneDepart, 8);
    EXPECT_EQ(partie.colDepart, 8);
    // The French tile set, 'A' to 'Z' then the joker: counts and values.
    std::string jeu;
    for (int k = 1; k < NB_LETTRES; ++k) jeu += std::to_string(partie.nbLettre[k]) + "x" + std::to_string(partie.valeurLettre[k]) + " ";
    EXPECT_EQ(jeu, "9x1 2x3 2x3 3x2 15x1 2x4 2x2 2x4 8x1 1x8 1x10 5x1 3x2 6x1 6x1 2x3 1x8 6x1 6x1 6x1 6x1 2x4 1x10 "
                   "1x10 1x10 1x10 2x0 ");
}

// A file that is there but cannot be used says what is wrong with it; the
// built-in rules stand as for a missing file, nothing of the file before.
TEST_F(ParametresDeJeu, FileThatCannotBeReadSaysWhy) {
    MessageRecorder rec;
    std::filesystem::create_directory("dossier.pea2");
    ASSERT_EQ(mkfifo("tube.pea2", 0600), 0);  // read, it would wait for a writer
    ecrireFichier("enorme.pea2", "[Regles]\nChevalet=9\n");
    std::filesystem::resize_file("enorme.pea2", TAILLE_FICHIER_MAX + 1);
    ecrireFichier("limite.pea2", "[Regles]\nChevalet=9\n");
    std::filesystem::resize_file("limite.pea2", TAILLE_FICHIER_MAX);
    const std::string pasUnFichier = "n'est pas un fichier ordinaire (dossier, tube ou p\351riph\351rique)";
    const std::pair<const char*, std::string> cas[] = {
        {"dossier.pea2", pasUnFichier}, {"tube.pea2", pasUnFichier}, {"enorme.pea2", "est trop grand (plus de 16 Mo)"}};
    for (const auto& [fichier, raison] : cas) {
        ecrireFichier("avant.pea2", fixtures::texteParametresGrands());
        ChargerPeau2("avant.pea2");
        rec.messages.clear();
        ChargerPeau2(fichier);
        const std::string message = "Le fichier de param\350tres '" + std::string(fichier) + "' " + raison +
                                    ", les param\350tres par d\351faut sont utilis\351s";
        EXPECT_EQ(rec.boites(), std::vector<std::string>{message});
        EXPECT_EQ(partie.dimPlateau, 15) << fichier;
        EXPECT_EQ(partie.tailleChevalet, 7) << fichier;
        EXPECT_EQ(partie.nbCasesNoires, 0) << fichier;
        EXPECT_TRUE(dicP.nomFichier.empty()) << fichier;
        EXPECT_EQ(partie.fichierPea2, fichier);
        const ReglesLues lues = reglesDuFichier(fichier);
        EXPECT_FALSE(lues.fichierLu) << fichier;
        EXPECT_EQ(lues.messages, std::vector<std::string>{message});
    }
    // At the size limit, a file is read.
    rec.messages.clear();
    ChargerPeau2("limite.pea2");
    EXPECT_TRUE(rec.boites().empty());
    EXPECT_EQ(partie.tailleChevalet, 9);
}

TEST_F(ParametresDeJeu, ReadsTheKeysOfTheFile) {
    MessageRecorder rec;
    ecrireFichier("jeu.txt", "# Dico de jeu\nCHAT\n");
    ecrireFichier("sup.txt", "#  Noms propres\nPARIS\n");
    ecrireFichier("regles.pea2",
                  "[Bonus]\r\n7=10\r\n8=20\r\n9=x\r\n10=-4\r\n15=1001\r\n"
                  "[Fichier des Records]\r\nfic=mes_records.bst\r\n"
                  "[General]\r\ngmc=non\r\nthematique=oui\r\nListeLettresOrdonnees=EAS?\r\n"
                  "[MsgMenus]\r\nlangue=en\r\n"
                  "[Dicos]\r\nprincipal=jeu.txt\r\nnb_dicos_sup=2\r\n"
                  "dico_1=sup.txt\r\nregpt_dico_1=3\r\ndico_2=absent.txt\r\nregpt_dico_2=zz\r\n"
                  "rubrique_1=Jeu\r\nrubrique_2=Villes\r\n");
    ChargerPeau2("regles.pea2");
    EXPECT_TRUE(rec.boites().empty());
    EXPECT_EQ(rec.journal(), std::vector<std::string>{"ERR : dictionnaire 'absent.txt' non charg\351\n"});
    const short bonus[16] = {0, 0, 0, 0, 0, 0, 0, 10, 20};  // out-of-range values give 0
    for (int i = 1; i <= 15; ++i) EXPECT_EQ(params.bonus[i], bonus[i]) << i;
    EXPECT_EQ(params.ficRecords, "mes_records.bst");
    EXPECT_EQ(params.langue, "en");
    EXPECT_EQ(params.listeLettresOrdonnees, "EAS?");
    EXPECT_EQ(params.typePartie, TYPE_PARTIE_THEMATIQUE);
    EXPECT_TRUE(dicP.lexique.contient("CHAT"));
    ASSERT_EQ(params.dicos2.size(), 2u);
    EXPECT_EQ(params.dicos2[0].commentaire, "Noms propres");
    EXPECT_EQ(vect_regpt, (std::vector<short>{3, 0}));
    EXPECT_EQ(params.rubriques, (std::vector<std::string>{"Jeu", "Villes", ""}));  // one per dictionary
    // The game type: a crossword grid, or ordinary when the file says nothing.
    for (const auto& [texte, type] : {std::pair{"[General]\ngmc=VRAI\nthematique=oui\n", TYPE_PARTIE_GRILLE},
                                      {"[General]\n", TYPE_PARTIE_ORDINAIRE}}) {
        ecrireFichier("type.pea2", texte);
        ChargerPeau2("type.pea2");
        EXPECT_EQ(params.typePartie, type) << texte;
        EXPECT_TRUE(dicP.lexique.vide()) << "no game dictionary named: none kept from before";
    }
    // A file that is gone gives the built-in rules again, nothing of the one before.
    ChargerPeau2("parti.pea2");
    EXPECT_EQ(params.ficRecords, "defaut.bst");
    EXPECT_EQ(params.listeLettresOrdonnees, "");
    EXPECT_EQ(params.langue, "fr");
    EXPECT_TRUE(params.dicos2.empty());
    EXPECT_TRUE(vect_regpt.empty());
    EXPECT_TRUE(params.rubriques.empty());
    EXPECT_TRUE(dicP.lexique.vide());
    EXPECT_TRUE(dicP.nomFichier.empty());
    EXPECT_EQ(params.bonus[8], 0);
    EXPECT_EQ(params.typePartie, TYPE_PARTIE_ORDINAIRE);
    EXPECT_EQ(partie.fichierPea2, "parti.pea2");
    // A byte-order mark that an editor put before the first section hides nothing.
    rec.messages.clear();
    ecrireFichier("bom.pea2", "\357\273\277[Dicos]\r\nprincipal=jeu.txt\r\n");
    ChargerPeau2("bom.pea2");
    EXPECT_TRUE(dicP.lexique.contient("CHAT"));
    std::string plateau = "\357\273\277[Plateau]\nDimension=5\n";
    for (int l = 1; l <= 5; ++l) plateau += std::to_string(l) + "=00000\n";
    ecrireFichier("bom.pea2", plateau);
    ChargerPeau2("bom.pea2");
    EXPECT_EQ(partie.dimPlateau, 5);
    EXPECT_TRUE(rec.boites().empty());
}

namespace {

// The board as the file writes it: '9' a black square, '5' to '7' word x2 to
// x4, '2' to '4' letter x2 to x4, '0' plain ('?' for anything else).
std::string rangee(int l, int n) {
    std::string s;
    for (int c = 1; c <= n; ++c) {
        const short m = partie.coefMot[l][c], k = partie.coefLettre[l][c];
        char ch = dicP.special[l][c] == CASE_NOIRE ? '9' : '?';
        if (ch == '?' && m >= 2 && m <= 4 && k == 1) ch = static_cast<char>('3' + m);
        if (ch == '?' && k >= 2 && k <= 4 && m == 1) ch = static_cast<char>('0' + k);
        if (ch == '?' && k == 1 && m == 1) ch = '0';
        s += ch;
    }
    return s;
}

// Board, tile set and rack as one line: "N,start row,start column,black squares
// A's count,A's value rack,bonus".
std::string regles() {
    return std::to_string(partie.dimPlateau) + "," + std::to_string(partie.ligneDepart) + "," +
           std::to_string(partie.colDepart) + "," + std::to_string(partie.nbCasesNoires) + " " +
           std::to_string(partie.nbLettre[1]) + "," + std::to_string(partie.valeurLettre[1]) + " " +
           std::to_string(partie.tailleChevalet) + "," + std::to_string(partie.bonusTessarel);
}

}  // namespace

TEST_F(ParametresDeJeu, TheFileSuppliesTheBoardTheTilesAndTheRack) {
    MessageRecorder rec;
    ecrireFichier("grand.txt", "VIE\n");
    ecrireFichier(fixtures::PEA2_GRAND, fixtures::texteParametresGrands());
    ChargerPeau2(fixtures::PEA2_GRAND);
    EXPECT_TRUE(rec.boites().empty());
    EXPECT_EQ(regles(), "21,11,10,5 3,2 8,60");
    const std::string texte = fixtures::texteParametresGrands();
    for (int l = 1; l <= 21; ++l) {
        const std::string cle = "\n" + std::to_string(l) + "=";
        EXPECT_EQ(rangee(l, 21), texte.substr(texte.find(cle) + cle.size(), 21)) << "row " << l;
    }
    int noires = 0;
    for (int l = 0; l < TAILLE_GRILLE; ++l)
        for (int c = 0; c < TAILLE_GRILLE; ++c) noires += dicP.special[l][c] == CASE_NOIRE;
    EXPECT_EQ(noires, 5);
    EXPECT_EQ(rangee(0, 22) + rangee(22, 22), std::string(44, '0')) << "no bonus outside the board";
    for (int k = 1; k < NB_LETTRES; ++k) {
        EXPECT_EQ(partie.nbLettre[k], fixtures::nombreGrand(k)) << k;
        EXPECT_EQ(partie.valeurLettre[k], fixtures::valeurGrande(k)) << k;
    }
    // The bag is refilled from that tile set.
    init_board();
    EXPECT_EQ(partie.nbLettresSac, 94);
    EXPECT_EQ(partie.sac[IDX_JOKER], 3);
    EXPECT_EQ(partie.sac[4], 2);
    // Read ahead without loading or a message, as the recap loader does.
    ChargerPeau2("absent.pea2");
    rec.messages.clear();
    const ReglesLues lues = reglesDuFichier(fixtures::PEA2_GRAND);
    EXPECT_TRUE(lues.fichierLu);
    EXPECT_TRUE(lues.messages.empty());
    const ReglesJeu& r = lues.regles;
    EXPECT_EQ(r.dimPlateau, 21);
    EXPECT_EQ(r.tailleChevalet, 8);
    EXPECT_EQ(r.special[7][7], CASE_NOIRE);
    EXPECT_EQ(r.coefMot[3][3], 4);
    EXPECT_EQ(r.nbLettre[1], 3);
    EXPECT_EQ(r.valeurLettre[1], 2);
    EXPECT_EQ(regles(), "15,8,8,0 9,1 7,50");
    const ReglesLues absent = reglesDuFichier("absent.pea2");
    EXPECT_FALSE(absent.fichierLu);
    EXPECT_EQ(absent.regles.dimPlateau, 15);
    EXPECT_TRUE(rec.messages.empty());
}

// A section with a bad value or a missing or malformed row is refused whole,
// with one message naming its key; the other sections are taken.
TEST_F(ParametresDeJeu, EachRefusedKeyLeavesItsSectionBuiltIn) {
    MessageRecorder rec;
    using Cles = std::vector<std::pair<std::string, std::string>>;
    std::map<std::string, Cles> base = {
        {"Plateau", {{"Dimension", "5"}, {"1", "90002"}, {"2", "03000"}, {"3", "00500"}, {"4", "40060"}, {"5", "07009"}}},
        {"Jetons", {}},
        {"Regles", {{"Chevalet", "4"}, {"Bonus", "20"}}}};
    for (char c = 'A'; c <= 'Z'; ++c) base["Jetons"].push_back({std::string(1, c), "2,3"});
    base["Jetons"].push_back({"Joker", "1,0"});
    struct Cas { std::vector<std::array<std::string, 3>> changes; const char* refus; const char* regles; };
    const char* const lu = "5,3,3,2 2,3 4,20";
    std::vector<std::array<std::string, 3>> sansDimension = {{"Plateau", "Dimension", ""}};  // 15 by default
    for (int l = 1; l <= 15; ++l) sansDimension.push_back({"Plateau", std::to_string(l), std::string(15, '0')});
    const std::vector<Cas> cas = {
        {{}, "", lu},
        {{{"Plateau", "Dimension", "4"}}, "Plateau] est refus\351e (cl\351 Dimension", "15,8,8,0 2,3 4,20"},
        {{{"Plateau", "Dimension", "22"}}, "Plateau] est refus\351e (cl\351 Dimension", "15,8,8,0 2,3 4,20"},
        {{{"Plateau", "Dimension", "5x"}}, "Plateau] est refus\351e (cl\351 Dimension", "15,8,8,0 2,3 4,20"},
        {{{"Plateau", "LigneDepart", "0"}}, "Plateau] est refus\351e (cl\351 LigneDepart", "15,8,8,0 2,3 4,20"},
        {{{"Plateau", "LigneDepart", "6"}}, "Plateau] est refus\351e (cl\351 LigneDepart", "15,8,8,0 2,3 4,20"},
        {{{"Plateau", "ColonneDepart", "0"}}, "Plateau] est refus\351e (cl\351 ColonneDepart", "15,8,8,0 2,3 4,20"},
        {{{"Plateau", "ColonneDepart", "6"}}, "Plateau] est refus\351e (cl\351 ColonneDepart", "15,8,8,0 2,3 4,20"},
        {{{"Plateau", "3", ""}}, "Plateau] est refus\351e (cl\351 3", "15,8,8,0 2,3 4,20"},
        {{{"Plateau", "3", "0050"}}, "Plateau] est refus\351e (cl\351 3", "15,8,8,0 2,3 4,20"},
        {{{"Plateau", "3", "005000"}}, "Plateau] est refus\351e (cl\351 3", "15,8,8,0 2,3 4,20"},
        {{{"Plateau", "3", "00510"}}, "Plateau] est refus\351e (cl\351 3", "15,8,8,0 2,3 4,20"},
        {{{"Plateau", "5", "07008"}}, "Plateau] est refus\351e (cl\351 5", "15,8,8,0 2,3 4,20"},
        {{{"Plateau", "6", "00000"}}, "Plateau] est refus\351e (cl\351 6", "15,8,8,0 2,3 4,20"},
        {{{"Plateau", "21", "00000"}}, "Plateau] est refus\351e (cl\351 21", "15,8,8,0 2,3 4,20"},
        // A black start cell: named by the cell, with no key when the file holds none.
        {{{"Plateau", "LigneDepart", "1"}, {"Plateau", "ColonneDepart", "1"}},
         "Plateau] est refus\351e (la case de d\351part A1 est une case noire", "15,8,8,0 2,3 4,20"},
        {{{"Plateau", "3", "00900"}},
         "Plateau] est refus\351e (la case de d\351part C3, au centre par d\351faut, est une case noire", "15,8,8,0 2,3 4,20"},
        {{{"Plateau", "3", "00900"}, {"Plateau", "LigneDepart", ""}},
         "Plateau] est refus\351e (la case de d\351part C3, au centre par d\351faut, est une case noire", "15,8,8,0 2,3 4,20"},
        {{{"Plateau", "3", "00900"}, {"Plateau", "ColonneDepart", "3"}},
         "Plateau] est refus\351e (la case de d\351part C3 est une case noire", "15,8,8,0 2,3 4,20"},
        {{{"Plateau", "5", "00900"}, {"Plateau", "LigneDepart", "5"}},
         "Plateau] est refus\351e (la case de d\351part E3 est une case noire", "15,8,8,0 2,3 4,20"},
        {{{"Plateau", "LigneDepart", "5"}, {"Plateau", "ColonneDepart", "4"}}, "", "5,5,4,2 2,3 4,20"},
        {{{"Plateau", "ColonneDepart", "5"}}, "", "5,3,5,2 2,3 4,20"},
        {{{"Plateau", "LigneDepart", "1"}, {"Plateau", "ColonneDepart", "3"}}, "", "5,1,3,2 2,3 4,20"},
        {{{"Plateau", "ColonneDepart", "1"}}, "", "5,3,1,2 2,3 4,20"},
        {sansDimension, "", "15,8,8,0 2,3 4,20"},
        {{{"Plateau", "Dimension", "6"}, {"Plateau", "1", "900000"}, {"Plateau", "2", "000000"}, {"Plateau", "3", "000000"},
          {"Plateau", "4", "000000"}, {"Plateau", "5", "000000"}, {"Plateau", "6", "000000"}},
         "", "6,3,3,1 2,3 4,20"},  // the centre of an even board: the upper left of the middle four
        {{{"Jetons", "A", ""}}, "Jetons] est refus\351e (cl\351 A", "5,3,3,2 9,1 4,20"},
        {{{"Jetons", "A", "2"}}, "Jetons] est refus\351e (cl\351 A", "5,3,3,2 9,1 4,20"},
        {{{"Jetons", "A", "2,"}}, "Jetons] est refus\351e (cl\351 A", "5,3,3,2 9,1 4,20"},
        {{{"Jetons", "A", "100,1"}}, "Jetons] est refus\351e (cl\351 A", "5,3,3,2 9,1 4,20"},
        {{{"Jetons", "A", "-1,1"}}, "Jetons] est refus\351e (cl\351 A", "5,3,3,2 9,1 4,20"},
        {{{"Jetons", "A", "2,100"}}, "Jetons] est refus\351e (cl\351 A", "5,3,3,2 9,1 4,20"},
        {{{"Jetons", "A", "2,-1"}}, "Jetons] est refus\351e (cl\351 A", "5,3,3,2 9,1 4,20"},
        {{{"Jetons", "Z", "a,1"}}, "Jetons] est refus\351e (cl\351 Z", "5,3,3,2 9,1 4,20"},
        {{{"Jetons", "Joker", "1,0,0"}}, "Jetons] est refus\351e (cl\351 Joker", "5,3,3,2 9,1 4,20"},
        {{{"Jetons", "A", "99,99"}}, "", "5,3,3,2 99,99 4,20"},
        {{{"Jetons", "A", " 0 , 0 "}}, "", "5,3,3,2 0,0 4,20"},
        {{{"Regles", "Chevalet", "1"}}, "Regles] est refus\351e (cl\351 Chevalet", "5,3,3,2 2,3 7,50"},
        {{{"Regles", "Chevalet", "16"}}, "Regles] est refus\351e (cl\351 Chevalet", "5,3,3,2 2,3 7,50"},
        {{{"Regles", "Chevalet", "sept"}}, "Regles] est refus\351e (cl\351 Chevalet", "5,3,3,2 2,3 7,50"},
        {{{"Regles", "Bonus", "-1"}}, "Regles] est refus\351e (cl\351 Bonus", "5,3,3,2 2,3 7,50"},
        {{{"Regles", "Bonus", "1001"}}, "Regles] est refus\351e (cl\351 Bonus", "5,3,3,2 2,3 7,50"},
        {{{"Regles", "Chevalet", "2"}, {"Regles", "Bonus", "1000"}}, "", "5,3,3,2 2,3 2,1000"},
        {{{"Regles", "Chevalet", "15"}, {"Regles", "Bonus", "0"}}, "", "5,3,3,2 2,3 15,0"},
        {{{"Regles", "Chevalet", ""}, {"Regles", "Bonus", ""}}, "", "5,3,3,2 2,3 7,50"},
        // Each section that is not there keeps the built-in values, nothing of the file before.
        {{{"Plateau", "", ""}, {"Jetons", "", ""}}, "", "15,8,8,0 9,1 4,20"},
        {{{"Regles", "", ""}}, "", "5,3,3,2 2,3 7,50"},
    };
    for (size_t i = 0; i < cas.size(); ++i) {
        auto sections = base;
        for (const auto& [section, cle, valeur] : cas[i].changes) {
            Cles& cles = sections[section];
            if (cle.empty()) {
                sections.erase(section);
                continue;
            }
            auto it = std::find_if(cles.begin(), cles.end(), [&](const auto& kv) { return kv.first == cle; });
            if (it == cles.end()) cles.push_back({cle, valeur});
            else it->second = valeur;
        }
        std::string texte = "[Bonus]\n7=5\n";
        for (const auto& [section, cles] : sections) {
            texte += "[" + section + "]\n";
            for (const auto& [cle, valeur] : cles) texte += cle + "=" + valeur + "\n";
        }
        ecrireFichier("r.pea2", texte);
        rec.messages.clear();
        ChargerPeau2("r.pea2");
        EXPECT_EQ(regles(), cas[i].regles) << i;
        if (*cas[i].refus) {
            EXPECT_EQ(rec.boites(), std::vector<std::string>{"Fichier de param\350tres 'r.pea2' : la section [" +
                                                             std::string(cas[i].refus) +
                                                             "), ses valeurs par d\351faut sont utilis\351es"})
                << i;
        } else {
            EXPECT_TRUE(rec.boites().empty()) << i << ": " << rec.boites().front();
        }
        EXPECT_EQ(params.bonus[7], 5) << "the rest of the file is read: " << i;
        // Read ahead, the same rules and the same messages.
        const ReglesLues lues = reglesDuFichier("r.pea2");
        EXPECT_EQ(lues.messages, rec.boites()) << i;
        EXPECT_EQ(lues.regles.nbCasesNoires, partie.nbCasesNoires) << i;
        EXPECT_EQ(lues.regles.ligneDepart, partie.ligneDepart) << i;
        if (i == 0) {
            for (int l = 1; l <= 5; ++l) EXPECT_EQ(rangee(l, 5), base["Plateau"][static_cast<size_t>(l)].second) << l;
            EXPECT_EQ(partie.nbLettre[IDX_JOKER], 1);
            EXPECT_EQ(partie.valeurLettre[IDX_JOKER], 0);
        }
    }
}
