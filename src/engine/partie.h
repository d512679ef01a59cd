#ifndef QV_ENGINE_PARTIE_H
#define QV_ENGINE_PARTIE_H

#include "reports/records.h"

#include <ctime>
#include <string>
#include <utility>
#include <vector>

const int NB_JOUEURS_MAX = 8;
const int NB_LETTRES = 28;     // index 0 unused, 1-26 'A'-'Z', 27 the joker
const int IDX_JOKER = 27;
const int TAILLE_GRILLE = 23;  // board grids; rows and columns 1 to N used
const int DIM_MIN = 5;
const int DIM_MAX = 21;
const int TAILLE_CHEVALET_MAX = 15;

// One player slot.
struct Joueur {
    short type = 0;  // 0 human, 1 to 8 computer level
    short score = 0;
    std::string nom;
    char lettres[NB_LETTRES] = {};  // rack slots, 0 = empty
    short chrono = 0;               // seconds left on the player's chrono
    std::pair<int, std::string> numNom{0, std::string()};
    short scoreFinal = 0;
    short sommeMeilleursCoups = 0;  // best possible scores of the player's turns
};

class Joueurs {
public:
    Joueur& operator[](int i) { return j_[i]; }
    const Joueur& operator[](int i) const { return j_[i]; }

private:
    Joueur j_[NB_JOUEURS_MAX];
};

// The running game.
class Partie {
public:
    short nbJoueurs = 0;
    short joueurEnCours = 0;  // 0-based
    short nbPasses = 0;
    short tailleChevalet = 7;
    short bonusTessarel = 50;
    unsigned short dimPlateau = 15;
    short ligneDepart = 8;
    short colDepart = 8;
    short nbCasesNoires = 0;
    short valeurLettre[NB_LETTRES] = {};
    short nbLettre[NB_LETTRES] = {};
    short coefMot[TAILLE_GRILLE][TAILLE_GRILLE] = {};
    short coefLettre[TAILLE_GRILLE][TAILLE_GRILLE] = {};
    signed char sac[NB_LETTRES] = {};
    short nbLettresSac = 0;
    signed char chevalet[NB_JOUEURS_MAX][NB_LETTRES] = {};

    unsigned char partieEnCours = 0;
    unsigned char finPartie = 0;
    unsigned char modeTest = 0;
    unsigned char partieJoker = 0;
    unsigned char modeDuplicate = 0;
    unsigned char unSeulChevalet = 0;     // "Un seul chevalet (normal)"
    unsigned char valeurFacultative = 0;  // "Valeur facultative (duplicate)"
    unsigned char modeResolution = 0;
    unsigned char afficherToutesSolutions = 0;
    unsigned char arbitrage = 0;          // tournament refereeing
    unsigned char saisieDuplicateEnCours = 0;  // a human is typing a duplicate move
    unsigned char tempsEcoule = 0;

    short chronoPartie = 0;   // seconds left on the game chrono
    short chronoCoup = 0;     // seconds left on the move chrono
    short nbJoueursHumains = 0;
    unsigned short dernCoupDuplSaisi = 0;
    short nbLignesHisto = 1;
    std::string coupEnCours;
    std::string chevaletEnCours;
    std::time_t debutCoup = 0;
    std::string fichierPea2;
    std::string fichierPea1;
    std::string ficRecords;  // records file in use, written only by InitLangue
    std::string rubriqueDefinitions;

    Joueurs joueurs;
    Records records;

    void AlimDernCoupDuplSaisi();
    unsigned short NombreEnregsRecap();
    short nbCoupsAnnules() const { return nbCoupsAnnules_; }
    short nivDernierCoupAnnule() const { return nivDernierCoupAnnule_; }
    void noterCoupAnnule();   // an undo: counts it and raises the undo level
    void nouvellePartie();    // undo bookkeeping back to a new game

private:
    short nbCoupsAnnules_ = 0;
    short nivDernierCoupAnnule_ = 0;
};

extern Partie partie;
extern std::string gs_finPartie;
extern std::vector<short> vect_regpt;

bool estDuplicateHorsTest();  // a duplicate game not in test mode

#endif
