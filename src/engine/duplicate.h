#ifndef QV_ENGINE_DUPLICATE_H
#define QV_ENGINE_DUPLICATE_H

#include <string>
#include <vector>

// One move typed in a duplicate round, or the top of a round.
class saisieDP {
public:
    short score = 0;   // below 1: no valid move
    short nbTops = 0;
    short nbLettresPosees = 0;
    std::string position;
    std::string tirage;
    std::string mot;
    std::string mots;
    std::string valeur;  // the value as typed
    bool horizontal = true;
};

extern std::vector<saisieDP> result_best;
extern std::vector<saisieDP> saisie_duplicate[8];

// Set while a duplicate round is open: the play command closes it only then.
extern bool gl_tourDuplicateOuvert;

// Starts a duplicate round: completes the shared rack from the bag (at
// random, or in the fixed letter order), appends the round's top to
// result_best, asks whether to end the game when no move exists, opens the
// round, starts the chrono, fills the round's history record and arms the
// step timer. When nothing can be drawn, or the user chooses to stop, the
// round's record becomes the kind-5 line and the game ends.
void gestDebDuplicate();

#endif
