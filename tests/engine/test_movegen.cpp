#include "engine/chargerpeau2.h"
#include "engine/dicopartie.h"
#include "engine/divers.h"
#include "engine/historic.h"
#include "engine/normal.h"
#include "engine/params.h"
#include "support/PartieNeuve.h"

#include <gtest/gtest.h>

// Classic 15 x 15 board, French values: Z 10, G 2, the other letters used
// here 1; H8 doubles the word; (8,4), (4,8), (8,12) and (12,8) double a
// letter, (10,10) triples one.
class MoveGen : public PartieNeuve {
protected:
    void SetUp() override {
        PartieNeuve::SetUp();
        partie.nbJoueurs = 1;
        init_board();
    }
    static void poser(int lig, int col, const std::string& mot) {
        dicP.viderPlateaux();
        for (size_t k = 0; k < mot.size(); ++k) dicP.plateau[lig][col + k] = dicP.plateauT[col + k][lig] = mot[k];
    }
    // Every move found for the rack, best first, as "position word score".
    static std::string jouer(const std::vector<std::string>& mots, const std::string& chevalet) {
        dicP.lexique.definir(mots);
        alimChevalet(0, chevalet);
        dicP.suggestmove(true);
        std::string s;
        for (const solution& m : v_result) s += (s.empty() ? "" : " / ") + m.position + " " + m.mot + " " + std::to_string(m.score);
        return s;
    }
};

TEST_F(MoveGen, FirstMoveCoversTheStartCell) {
    params.bonus[7] = 5;
    const struct { const char *mot, *chevalet; short taille; const char* top; } cas[] = {
        // Z on the double letter (8,4): (20 + 4) x 2, along row H (and down column 8).
        {"ZESTE", "ZESTE", 7, "H4 ZESTE 48"},
        // The joker earns nothing; E on (8,12): (0 + 1 + 1 + 1 + 2) x 2.
        {"ZESTE", "?ESTE", 7, "H8 zESTE 10"},
        // G on (8,12): (6 + 4) x 2; all of a 7-tile rack: + 50, else the 7-letter bonus: + 5.
        {"ORANGES", "ORANGES", 7, "H8 ORANGES 70"},
        {"ORANGES", "ORANGES", 8, "H8 ORANGES 25"},
        {"QI", "ZX", 7, ""},
    };
    for (auto& c : cas) {
        partie.tailleChevalet = c.taille;
        const std::string coups = jouer({c.mot}, c.chevalet);
        EXPECT_EQ(coups.substr(0, coups.find(" /")), c.top) << c.chevalet;
    }
    jouer({"ZESTE"}, "ZESTE");
    EXPECT_EQ(v_result.size(), 10u);  // five placements each way over H8
    EXPECT_EQ(v_histo.back().scoreMeilleurCoup, 48);
    // The top as the computer plays it: its word, score and the cells of its tiles.
    EXPECT_EQ(bestmove.mot + " " + bestmove.position + " " + std::to_string(bestmove.score), "ZESTE H4 48");
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(bestmove.lig[k], 8) << k;
        EXPECT_EQ(bestmove.col[k], 4 + k) << k;
    }
    EXPECT_EQ(v_result[0].nbLettresPosees, 5);
    EXPECT_EQ(v_result[0].coefMot, 2);
    // A start cell in the corner, then in the last row and column.
    partie.ligneDepart = partie.colDepart = 1;
    EXPECT_EQ(jouer({"ZESTE"}, "ZESTE"), "A1 ZESTE 45 / 1A ZESTE 45");  // (10 + 1 + 1 + 2 + 1) x 3
    partie.ligneDepart = partie.colDepart = 15;
    EXPECT_EQ(jouer({"ZESTE"}, "ZESTE"), "O11 ZESTE 45 / 15K ZESTE 45");
    // No run of free cells through the start cell: no move.
    for (auto [l, k] : {std::pair{15, 13}, {13, 15}}) dicP.special[l][k] = CASE_NOIRE;
    EXPECT_EQ(jouer({"ZESTE"}, "ZESTE"), "");
    EXPECT_EQ(v_histo.back().scoreMeilleurCoup, 0);
}

TEST_F(MoveGen, HookScoresTheCrossWord) {
    const struct { int lig, col; const char* plateau; std::vector<std::string> mots; const char *chevalet, *coups, *croises; } cas[] = {
        // IS down column 10, S on the triple letter: IS 1 + 3, RATS 3 + 3; every move touches the tiles.
        {10, 7, "RAT", {"RAT", "RATS", "IS"}, "IS", "10I IS 10 / J7 RATS 6", "IS, RATS"},
        // A tile placed before tiles forms the cross word with those after it.
        {10, 8, "AT", {"AT", "RAT", "OR"}, "OR", "7I OR 6 / J7 RAT 3", "OR, RAT"},
        {9, 8, "AT", {"AT", "RAT", "RO"}, "RO", "7I RO 7 / I7 RAT 4", "RO, RAT"},  // the first tile also across
        {8, 8, "Z", {"ZA"}, "A", "H8 ZA 11 / 8H ZA 11", "ZA"},  // the last letter is a tile like the others
    };
    for (auto& c : cas) {
        poser(c.lig, c.col, c.plateau);
        EXPECT_EQ(jouer(c.mots, c.chevalet), c.coups) << c.plateau;
        EXPECT_EQ(v_result.at(0).mots, c.croises) << c.plateau;
    }
}
