#ifndef QV_REPORTS_RECAP_H
#define QV_REPORTS_RECAP_H

#include <string>

// Subsystem's formatting buffer; a value composed in it is at most 2,047 characters.
extern char gc_buf2048[2048];
const size_t LONGUEUR_VALEUR_MAX = 2047;

// Text of field 1 to 64 of record `rec` (a valid index) of v_histo; " " for any other field.
std::string valRec(short champ, short rec);
// Stores the text as the given field of the last record of v_histo.
void alimRec(const std::string& texte, short champ);

// Rebuilds the recap file of the running game.
void save_recap(const std::string& path);
// Companion call of the ".vsc" name: writes nothing.
void save_recap_vsc(const std::string& path);

// Loads a recap file into the running game.
void AffRecap2(std::string path);
void AffRecap31(std::string path);
// AffRecap2 with its outcome: true when the game of the file is in place.
bool chargerRecapitulatif(const std::string& path);

#endif
