#ifndef QV_ENGINE_NORMAL_H
#define QV_ENGINE_NORMAL_H

#include <string>

// Hands the turn on (pass: the move was a pass); may end the game, and then
// always leaves the game-in-progress flag cleared.
void passer_joueur_suiv(bool pass);
// Ends the running game: settles the racks, records, running recap files.
// Does nothing when no game is in progress (the racks were settled already).
void end_game();

// While one lives, end_game leaves the records alone: a load may end the game
// it puts in place, and that game was recorded when it was played, if ever.
class RecordsSuspendus {
public:
    RecordsSuspendus() { ++actifs_; }
    ~RecordsSuspendus() { --actifs_; }
    RecordsSuspendus(const RecordsSuspendus&) = delete;
    RecordsSuspendus& operator=(const RecordsSuspendus&) = delete;
    static bool actifs() { return actifs_ > 0; }

private:
    static int actifs_;
};

// Rack services of a player slot (0-based).
bool chevaletVide(int joueur);
// Sum of the values of the letters left on the rack.
int valeurChevalet(int joueur);
// Puts the letters of the text ('A' to 'Z', '?' a joker) on the rack: slots
// and letter counters; other characters are skipped.
void alimChevalet(int joueur, const std::string& lettres);

// End-of-game reasons, translated through ptraduire where shown.
extern const char* const TXT_FIN_LETTRES_PLACEES;  // "Partie terminee car toutes les lettres sont placees"
extern const char* const TXT_FIN_PASSES;

#endif
