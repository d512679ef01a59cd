#ifndef QV_ENGINE_DIVERS_H
#define QV_ENGINE_DIVERS_H

#include <string>

void init_board();
void fillsock();
std::string listerLeSac(bool flag, int n);
short indiceLettre(char c, int mode);
void alim_tableaux(short t1[28], short t2[28]);
void showrack(const signed char compteurs[28], bool flag);

// The bag as the tile set less every tile on the board (a joker tile counts
// as a joker): the letters still in the bag or on the racks.
void sacMoinsPlateau(int sac[28], int& nbLettres);
// 'A' to 'Z' each repeated by its count, then one '?' per joker.
std::string lettresDuSac(const int sac[28]);
// Letter index of a tile in board notation: a lower-case letter (or '?') is a
// joker tile; anything else is no tile (0).
int indiceTuile(char c);

#endif
