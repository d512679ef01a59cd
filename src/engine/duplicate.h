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

void gestDebDuplicate();

#endif
