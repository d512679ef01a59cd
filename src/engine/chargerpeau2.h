#ifndef QV_ENGINE_CHARGERPEAU2_H
#define QV_ENGINE_CHARGERPEAU2_H

#include <string>

extern const char* const PEA2_DEFAUT;  // "dezediziziz_zelio3fr_1.pea2"

// Loads a game-parameter file; a missing file gives a message and the
// built-in defaults. Ends with InitLangue on the records file it names.
void ChargerPeau2(const std::string& fichier);
// The built-in rules: 15 x 15 classic board, rack of 7, French tile set.
void parametresParDefaut();

#endif
