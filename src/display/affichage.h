#ifndef QV_DISPLAY_AFFICHAGE_H
#define QV_DISPLAY_AFFICHAGE_H

#include <string>

// Glyph zones of the skin.
enum { ZONE_TOTAL = 3, ZONE_CHRONO = 6, ZONE_SAC = 7, ZONE_SCORE = 8, ZONE_NUM_COUP = 10 };
const int NB_ZONES = 11;

// The board view. There is no main window in this build, so it keeps what it
// would show, for the program and its tests to read.
class Affichage {
public:
    struct Zone {
        int valeur = 0;
        int joueur = 0;
        int traces = 0;
    };
    Zone zones[NB_ZONES];
    std::string noms[8];
    std::string scores[8];
    std::string chevalets[8];
    int joueurEnCours = -1;
    int tracesPlateau = 0;
    int tracesJoueurEnCours = 0;
    int tracesJoueurEnCoursFltk = 0;
    int tracesInfos = 0;

    void AffCpteur(int valeur, int zone, int joueur);
    void affNom(int joueur);
    void affScore(int joueur);
    void AffPlateau();
    void AffJoueurEnCours();
    void AffJoueurEnCoursFltk();
    void reinitialiser();
};

extern Affichage drawarea;

// Redraws every information zone: racks, names, scores, counters, move number.
void qvaff_infos_sc();

#endif
