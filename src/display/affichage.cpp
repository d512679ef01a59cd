#include "display/affichage.h"

#include "engine/partie.h"

#include <algorithm>

Affichage drawarea;

void Affichage::AffCpteur(int valeur, int zone, int joueur) {
    if (zone < 0 || zone >= NB_ZONES) return;
    zones[zone].valeur = valeur;
    zones[zone].joueur = joueur;
    ++zones[zone].traces;
}

void Affichage::affNom(int joueur) {
    if (joueur < 0 || joueur >= NB_JOUEURS_MAX) return;
    noms[joueur] = partie.joueurs[joueur].nom;
}

void Affichage::affScore(int joueur) {
    if (joueur < 0 || joueur >= NB_JOUEURS_MAX) return;
    scores[joueur] = std::to_string(partie.joueurs[joueur].score);
}

void Affichage::AffPlateau() { ++tracesPlateau; }

void Affichage::AffJoueurEnCours() {
    ++tracesJoueurEnCours;
    AffJoueurEnCoursFltk();
}

void Affichage::AffJoueurEnCoursFltk() {
    ++tracesJoueurEnCoursFltk;
    joueurEnCours = partie.joueurEnCours;
}

void Affichage::reinitialiser() { *this = Affichage(); }

void qvaff_infos_sc() {
    int n = std::clamp<int>(partie.nbJoueurs, 0, NB_JOUEURS_MAX);
    int total = 0;
    for (int i = 0; i < n; ++i) {
        const Joueur& j = partie.joueurs[i];
        std::string rack;
        for (int k = 0; k < std::min<int>(partie.tailleChevalet, NB_LETTRES); ++k)
            if (j.lettres[k] != 0) rack += j.lettres[k];
        drawarea.chevalets[i] = rack;
        drawarea.affNom(i);
        drawarea.affScore(i);
        total += j.score;
    }
    // The whole zone is redrawn: seats of a larger earlier game show nothing.
    for (int i = n; i < NB_JOUEURS_MAX; ++i) drawarea.noms[i] = drawarea.scores[i] = drawarea.chevalets[i] = "";
    drawarea.AffCpteur(total, ZONE_TOTAL, 0);
    drawarea.AffCpteur(partie.nbLettresSac, ZONE_SAC, 0);
    drawarea.AffCpteur(partie.modeDuplicate ? partie.chronoPartie : partie.chronoCoup, ZONE_CHRONO, 0);
    drawarea.AffCpteur(partie.nbLignesHisto, ZONE_NUM_COUP, 0);
    ++drawarea.tracesInfos;
}
