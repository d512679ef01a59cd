#ifndef QV_REPORTS_EXPORT_HTML_PLATEAU_H
#define QV_REPORTS_EXPORT_HTML_PLATEAU_H

#include "core/Inifile.h"

#include <ostream>
#include <string>

// The sections of the recap page after the moves, in page order.
void affDicosHtml(std::ostream& out);           // dictionaries, or the theme
void affListeMotsHtml(std::ostream& out);       // words of the page with definitions
void affPlateauHtml(std::ostream& out);         // the board with letter values
void affLettresRestantesHtml(std::ostream& out);
void affDistributionHtml(std::ostream& out);

// Shared with the crossword-grid page.

// "Dico utilisé" or "Dicos utilisés", as the game has extra dictionaries.
const char* texteDicosUtilises();
// The dictionaries heading and one line per dictionary.
void affListeDicosHtml(std::ostream& out);
// The board table; returns the number of board cells holding no tile.
int affGrilleHtml(std::ostream& out, bool avecValeurs);
// The CSS colour of board cell (r, c), nullptr for none.
const char* couleurCase(int r, int c);
// One line per definition line: the word, its dictionary numbers when the
// game has extra dictionaries, and the line.
void affDefinitionMot(std::ostream& out, const std::string& mot, const std::string& dicos, std::string def);

// The personal definitions file for one page: the shell's copy while it holds
// it open ([Definitions] ChargtIniUniq), else a copy of our own that is never
// the shell's to close.
class DefinitionsPerso {
public:
    DefinitionsPerso();
    bool ouvert() const { return ini_ != nullptr; }
    std::string valeur(const std::string& rubrique, const std::string& mot) const;

private:
    INIfile local_;
    const INIfile* ini_ = nullptr;
};

#endif
