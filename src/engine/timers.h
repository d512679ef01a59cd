#ifndef QV_ENGINE_TIMERS_H
#define QV_ENGINE_TIMERS_H

const double DUREE_PAS = 0.1;  // seconds between two turn steps

// The one-shot turn step timer and the 1 s countdown.
void callbacktimer(void*);
void armerTimerPas();
void couperTimerPas();
void callbackChrono(void*);
void lancerChronoPartie(bool partieEntiere, short secondes);
void lancerChrono();
void couperChrono();

#endif
