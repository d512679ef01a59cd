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
// A refereed duplicate tournament.

// Building blocks, for tests that need their own positions.
void nouvellePartie(int nbJoueurs);
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
