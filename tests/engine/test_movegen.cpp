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
    // The best move found, as "position word score"; "" when there is none.
    static std::string jouer(const std::vector<std::string>& mots, const std::string& chevalet) {
        dicP.lexique.definir(mots);
        alimChevalet(0, chevalet);
        dicP.suggestmove(true);
        if (v_result.empty()) return "";
        return v_result[0].position + " " + v_result[0].mot + " " + std::to_string(v_result[0].score);
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
        EXPECT_EQ(jouer({c.mot}, c.chevalet), c.top) << c.chevalet;
    }
    jouer({"ZESTE"}, "ZESTE");
    EXPECT_EQ(v_result.size(), 10u);  // five placements each way over H8
    EXPECT_EQ(v_histo.back().scoreMeilleurCoup, 48);
}

TEST_F(MoveGen, HookScoresTheCrossWord) {
    const std::string rat = "RAT";  // J7
    for (int k = 0; k < 3; ++k) dicP.plateau[10][7 + k] = dicP.plateauT[7 + k][10] = rat[k];
    // IS down column 10, S on the triple letter: IS 1 + 3, RATS 3 + 3.
    EXPECT_EQ(jouer({"RAT", "RATS", "IS"}, "IS"), "10I IS 10");
    EXPECT_EQ(v_result[0].mots, "IS, RATS");
}

TEST_F(MoveGen, NoRunOfCellsThroughTheStartCell) {
    for (auto [l, k] : {std::pair{8, 6}, {8, 10}, {6, 8}, {10, 8}}) dicP.special[l][k] = CASE_NOIRE;
    EXPECT_EQ(jouer({"ZESTE"}, "ZESTE"), "");
    EXPECT_EQ(v_histo.back().scoreMeilleurCoup, 0);
}
