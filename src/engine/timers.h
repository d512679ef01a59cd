#ifndef QV_ENGINE_TIMERS_H
#define QV_ENGINE_TIMERS_H

const double DUREE_PAS = 0.1;  // seconds between two turn steps
const int CHRONO_ARRETE = 65535;  // shown in the chrono zone when no countdown runs

// The one-shot turn step timer and the 1 s countdown. Arming replaces a
// pending timer of the same kind; the couper functions are safe at any time,
// also when nothing is armed.
void callbacktimer(void*);
void armerTimerPas();
void couperTimerPas();
// One turn step: nothing without a game in progress; else a redraw and, in a
// duplicate game without an open round, the start of the next round.
void gestionTimerSimplifie();
void callbackChrono(void*);
void lancerChronoPartie(bool partieEntiere, short secondes);
void lancerChrono();
void couperChrono();

#endif
