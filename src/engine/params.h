#ifndef QV_ENGINE_PARAMS_H
#define QV_ENGINE_PARAMS_H

#include "lexicon/dico2.h"

#include <string>
#include <vector>

// Game types of the game parameters.
enum : short { TYPE_PARTIE_ORDINAIRE = 0, TYPE_PARTIE_GRILLE = 1, TYPE_PARTIE_THEMATIQUE = 2 };

// Parameters from the skin, the game-parameter file and the program settings.
class Params {
public:
    std::vector<Dico2> dicos2;            // extra dictionaries, in file order
    short bonus[16] = {};                 // bonus by main-word length, 1 to 15
    bool chrono = false;                  // per-move chrono option
    bool chronoPartie = false;            // whole-game chrono option
    short dureeCoup = 0;                  // seconds of the per-move chrono
    bool saisieTirage = false;            // "Saisie tirage (duplicate)"
    bool utiliserRepCourant = true;       // write in the current folder
    short typeChoixTop = 0;               // 0 first, 1 random, 2 coef. per letter, 3 connections
    short typePartie = TYPE_PARTIE_ORDINAIRE;
    std::string listeLettresOrdonnees;    // fixed letter order, empty when none
    std::string ficRecords = "defaut.bst";
    std::vector<std::string> rubriques;   // personal-definition rubric of dictionary n at n - 1
    unsigned char chargtIniUniq = 0;      // [Definitions] ChargtIniUniq of the program settings
    std::string langue = "fr";            // language code of the translation table
    short maxJoueurs = 8;
    std::string imgBoutons[4];            // skin button pictures; 1 OK, 2 Cancel
    bool optionResolution = false;        // set while the window is in resolution mode
};

extern Params params;

#endif
