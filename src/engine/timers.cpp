#include "engine/timers.h"

#include "app/interface.h"
#include "display/affichage.h"
#include "engine/duplicate.h"
#include "engine/params.h"
#include "engine/partie.h"

#include <FL/Fl.H>

#include <algorithm>

namespace {

const double SECONDE = 1.0;

// Which counter the countdown runs on.
enum class Decompte { Aucun, Partie, Coup, Joueur };
Decompte g_decompte = Decompte::Aucun;
int g_joueurDecompte = 0;

short* compteur() {
    switch (g_decompte) {
    case Decompte::Partie: return &partie.chronoPartie;
    case Decompte::Coup: return &partie.chronoCoup;
    case Decompte::Joueur: return &partie.joueurs[g_joueurDecompte].chrono;
    case Decompte::Aucun: break;
    }
    return nullptr;
}

void demarrerDecompte(Decompte d) {
    couperChrono();
    partie.tempsEcoule = 0;
    g_decompte = d;
    g_joueurDecompte = std::clamp<int>(partie.joueurEnCours, 0, NB_JOUEURS_MAX - 1);
    short v = *compteur();
    if (v > 0) {
        drawarea.AffCpteur(v, ZONE_CHRONO, 0);
        Fl::add_timeout(SECONDE, callbackChrono);
    } else {
        g_decompte = Decompte::Aucun;
        drawarea.AffCpteur(CHRONO_ARRETE, ZONE_CHRONO, 0);
    }
}

}  // namespace

void armerTimerPas() {
    Fl::remove_timeout(callbacktimer);
    Fl::add_timeout(DUREE_PAS, callbacktimer);
}

void couperTimerPas() { Fl::remove_timeout(callbacktimer); }

void callbacktimer(void*) {
    // A direct call must not leave the armed step behind.
    couperTimerPas();
    gestionTimerSimplifie();
}

void gestionTimerSimplifie() {
    if (!partie.partieEnCours) return;
    drawarea.AffPlateau();
    if (partie.modeDuplicate && !gl_tourDuplicateOuvert) gestDebDuplicate();
}

void callbackChrono(void*) {
    Fl::remove_timeout(callbackChrono);
    short* c = compteur();
    if (!c) return;
    if (*c > 0) --*c;
    drawarea.AffCpteur(*c, ZONE_CHRONO, 0);
    if (*c > 0) {
        Fl::add_timeout(SECONDE, callbackChrono);
        return;
    }
    g_decompte = Decompte::Aucun;
    partie.tempsEcoule = 1;
    // Exchange and undo wait for the time-out flag; only play has a state here.
    if (!partie.modeDuplicate) gl_menus.boutonPlacerActif = false;
}

void lancerChronoPartie(bool partieEntiere, short secondes) {
    if (!partie.modeDuplicate || !params.chronoPartie) return;
    if (partieEntiere) {
        partie.chronoPartie = std::max<short>(secondes, 0);
        demarrerDecompte(Decompte::Partie);
    } else {
        partie.chronoCoup = std::max<short>(params.dureeCoup, 0);
        demarrerDecompte(Decompte::Coup);
    }
}

void lancerChrono() {
    if (!params.chrono || (params.chronoPartie && partie.modeDuplicate)) return;
    // A normal game on the whole-game chrono spends the player's own time.
    if (params.chronoPartie) {
        demarrerDecompte(Decompte::Joueur);
        return;
    }
    partie.chronoCoup = std::max<short>(params.dureeCoup, 0);
    demarrerDecompte(Decompte::Coup);
}

void couperChrono() {
    Fl::remove_timeout(callbackChrono);
    g_decompte = Decompte::Aucun;
}
