#ifndef QV_REPORTS_EXPORT_HTML_CADRE_H
#define QV_REPORTS_EXPORT_HTML_CADRE_H

#include <ostream>
#include <string>
#include <vector>

class c_historique;

// What every HTML page of the program shares: head, foot, the page-level
// tables and the text helpers for the words of a move.

// Words the current page defines: upper case, accent-free, each once, in
// order of first addition until the word list sorts them.
extern std::vector<std::string> vdef;
// Folded blocks of the current page; block n has the id "affcach_n".
extern unsigned int gi_nb_affcach;
// CSS class of player i (1 to 8) at i - 1.
extern const std::string couleurs[8];
// Names of the computer levels 1 to 8, "|"-separated.
extern const std::string niveaux;

void affHeadHtml(std::ostream& out);
void affFinFichier(std::ostream& out);

void ajoutMotVDef(const std::string& mot);
void viderVdef();  // empties vdef at the start of a page
// Each word of a words-formed text (main word, then ", " and each
// connecting word) through ajoutMotVDef.
void ajoutMotsFormesVDef(const std::string& mots);
// Starts the table row of a history record: a placed word's words go to
// vdef, and the row opens in the class of players 1 to 4.
void debutLigneCoup(std::ostream& out, const c_historique& h);
// The move of a history record as the page shows it.
std::string texteCoup(const c_historique& h);

// The connecting words of a words-formed text: all after its first ", ".
std::string neGarderQueRaccords(const std::string& mots);
// A move text for the page: data characters escaped, a joker's letter shown
// as "(X)" (not in a crossword-grid game) and a line break after each "]".
std::string remplaceJokerDsTexte(const std::string& texte);

// '&', '<' and '>' of a data text as entities; everything else as it is.
std::string texteHtml(const std::string& texte);

// A folded block: the count as a link that shows the text when clicked.
// Takes the next block number of the page.
std::string blocPliable(int nombre, const std::string& extra, const std::string& texte);

// Writes a composed page through a temporary file; a failure goes to the
// debug output and leaves any older page as it was.
void ecrirePageHtml(const std::string& path, const std::string& contenu);

// Whether the recap pages have something to show: any game but a duplicate
// game (outside test mode) with no complete round.
bool pageRecapAEcrire();

// Kind of the player of a history record (1-based number); a number outside
// 1 to 8 reads as a human's.
int typeJoueurEnreg(int joueur);

// Name of computer level k, "" outside 1 to 8.
std::string nomNiveau(int niveau);

// The product banner of the page foot: name, version, compiler and toolkit.
std::string banniereVersion();

#endif
