#ifndef QV_ENGINE_DICOPARTIE_H
#define QV_ENGINE_DICOPARTIE_H

#include "engine/partie.h"
#include "lexicon/dico2.h"

#include <string>
#include <vector>

const char CASE_NOIRE = '9';  // black square in the special-cells grid

// One move found by the generator.
struct solution {
    std::string mot;
    std::string position;
    std::string lettres;  // letters placed, in tile order (board notation)
    short score = 0;
    short coefMot = 1;
    short nbLettresPosees = 0;
    short lig[16] = {};
    short col[16] = {};
    char sens = 'H';
    std::string mots;  // main word, then ", " and each connecting word
};

struct c_bestmove {
    short score = 0;
    short lig[16] = {};
    short col[16] = {};
    std::string mot;
    std::string position;
};

// The game dictionary and the move generator's boards.
class DicoPartie {
public:
    char plateau[TAILLE_GRILLE][TAILLE_GRILLE] = {};   // 0 empty, 'A'-'Z', 'a'-'z' a joker
    char plateauT[TAILLE_GRILLE][TAILLE_GRILLE] = {};  // transposed copy
    char special[TAILLE_GRILLE][TAILLE_GRILLE] = {};   // CASE_NOIRE marks a black square
    std::string nomFichier;
    std::string commentaire;
    Lexique lexique;

    void viderPlateaux();
    // Computes the moves of the current player's rack into v_result, best
    // first, the top into bestmove and the current history record's
    // scoreMeilleurCoup. Returns whether a move exists. It leaves result_best
    // alone: the duplicate round start appends the round's top there, so the
    // moves offered to a human in a normal game never add a top. The flag is
    // not used; no level limit is applied.
    bool suggestmove(bool flag);
};

extern DicoPartie dicP;
extern std::vector<solution> v_result;
extern c_bestmove bestmove;

#endif
