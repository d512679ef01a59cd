#ifndef QV_ENGINE_CHARGERPEAU2_H
#define QV_ENGINE_CHARGERPEAU2_H

#include "engine/partie.h"

#include <string>
#include <vector>

extern const char* const PEA2_DEFAUT;  // "dezediziziz_zelio3fr_1.pea2"

// What the game-parameter file sizes: the board with its bonus cells, black
// squares and start cell ([Plateau]), the tile set ([Jetons]), the rack and
// the whole-rack bonus ([Regles]).
struct ReglesJeu {
    unsigned short dimPlateau = 15;
    short ligneDepart = 8;
    short colDepart = 8;
    short coefMot[TAILLE_GRILLE][TAILLE_GRILLE] = {};
    short coefLettre[TAILLE_GRILLE][TAILLE_GRILLE] = {};
    char special[TAILLE_GRILLE][TAILLE_GRILLE] = {};
    short nbCasesNoires = 0;
    short nbLettre[NB_LETTRES] = {};
    short valeurLettre[NB_LETTRES] = {};
    short tailleChevalet = 7;
    short bonusTessarel = 50;
};

// The built-in rules: 15 x 15 classic board, French tile set, rack of 7.
ReglesJeu reglesParDefaut();

// The rules that ChargerPeau2(fichier) puts in place, and the messages that it
// shows about them, in order: why the file cannot be read (the built-in rules
// then stand), each section refused (its built-in values then stand).
struct ReglesLues {
    ReglesJeu regles;
    bool fichierLu = false;
    std::vector<std::string> messages;
};
// Read without loading anything or showing a message.
ReglesLues reglesDuFichier(const std::string& fichier);

// A board cell as a horizontal move's position names it: row letter, then
// column number ("H8").
std::string nomCase(int lig, int col);

// Loads a game-parameter file; a file that cannot be read gives a message
// saying why and the built-in defaults, a refused section a message naming
// what breaks it and the built-in values of that section. Ends with
// InitLangue on the records file it names.
void ChargerPeau2(const std::string& fichier);
// The built-in rules and parameters.
void parametresParDefaut();

#endif
