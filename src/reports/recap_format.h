#ifndef QV_REPORTS_RECAP_FORMAT_H
#define QV_REPORTS_RECAP_FORMAT_H

#include <string>

// Section names of the recap file, shared by its writer and its loaders.
extern const char* const SECTION_PRESENTATION;
extern const char* const SECTION_GENERAL;
extern const char* const SECTION_PLATEAU;
extern const char* const SECTION_DICOS;
extern const char* const SECTION_SCORES;
extern const char* const SECTION_SAC;
extern const char* const SECTION_FIN;
extern const char* const SECTION_PARTIE;
extern const char* const SECTION_BONUS;
extern const char* const SECTION_RECAP;
extern const char* const SECTION_RECAP_TOP;
extern const char* const SECTION_RECAP_JOUEUR;  // "RecapJoueurDuplicate%d"
extern const char* const SECTION_RECAP_TXT;
extern const int VERSION_RECAP;

// A key formatted from one number ("Joueur %d").
std::string cleNumero(const char* format, int n);
// A value with its NUL bytes blanked.
std::string valeurSansNul(std::string s);
// The 2,047-character cut of composed values, NUL bytes blanked.
std::string valeurBornee(std::string s);
// Decimal value of a field as a 16-bit number (0 when not a number).
short versShort(const std::string& texte);
// Puts the counters (0 to 127 each; below 0 counts as 0) in the bag, the
// number of tiles left being their sum.
void poserSac(const int sac[28]);
// A field of a "|" list: the format has no escape, so "|" and line breaks become blanks.
std::string champSansSeparateur(std::string s);

#endif
