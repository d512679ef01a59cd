#ifndef QV_TEST_FIXTURES_H
#define QV_TEST_FIXTURES_H

#include <string>

// Games shared by every report test, built through the engine's own
// operations and fields. Each one starts from a new game with the built-in
// rules and a small game dictionary.
namespace fixtures {

// Alice (human) and Ordi (computer level 6), in progress: a word, a joker
// move, a whole-rack move (64 points), an exchange, an erroneous move and a
// pass, then the empty record of the move to come.
void partieNormale();
// Alice and Bruno (humans) and Ordi (computer level 6): three complete
// rounds and the fourth open. Bruno scores the top in round 2, Alice has no
// valid move in round 3.
void partieDuplicate();
// A new normal game of two players: one empty history record, racks drawn.
void partieCommencee();
// Resolution mode with tiles on the board.
void partieResolution();
// A duplicate game played by the self-play test (test mode).
void partieTest();
// A game on the 21 x 21 board of "grand.pea2" (black squares, a tile set of
// its own, a rack of 8, a 60-point whole-rack bonus), which it writes in the
// current folder with its word list "grand.txt": Alice and Bruno (humans), in
// progress, three words (Bruno's places his whole rack down the last column,
// Alice's ends beside a black square in the last row), a pass, racks of 8.
void partieGrande();
extern const char* const PEA2_GRAND;  // "grand.pea2"
// The text of that parameter file; its black squares and its tile set.
std::string texteParametresGrands();
extern const int CASES_NOIRES_GRANDES[5][2];  // row, column
short nombreGrand(int lettre);  // letter index 1 to 27
short valeurGrande(int lettre);

// Building blocks, for tests that need their own positions.
void nouvellePartie(int nbJoueurs);
// The same on the game parameters of a file, loaded as the program loads them.
void nouvellePartieSur(const std::string& pea2, int nbJoueurs);
void joueur(int numero, const std::string& nom, short type);
void donnerChevalet(int numero, const std::string& lettres);
// Plays a word at a position ("H8" across, "8H" down); cells already holding
// a tile are not placed again. Fills the last history record and appends the
// next one.
void jouerMot(int numero, const std::string& mot, const std::string& position, short score,
              const std::string& reglette, const std::string& mots);
void jouerAutre(int numero, short typeCoup, const std::string& texte, const std::string& reglette,
                const std::string& lettresEchangees = "");

}  // namespace fixtures

#endif
