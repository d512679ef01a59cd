#ifndef QV_ENGINE_NORMAL_H
#define QV_ENGINE_NORMAL_H

// Hands the turn on (pass: the move was a pass); may end the game.
void passer_joueur_suiv(bool pass);
// Ends the running game: settles the racks, records, running recap files.
void end_game();

#endif
