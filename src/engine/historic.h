#ifndef QV_ENGINE_HISTORIC_H
#define QV_ENGINE_HISTORIC_H

#include <string>
#include <vector>

// Move kinds of the history.
enum : short {
    COUP_NORMAL = 0,
    COUP_PASSE = 1,
    COUP_ECHANGE = 2,
    COUP_ERRONE = 3,
    COUP_FIN_PARTIE = 4,
    COUP_FIN_DUPLICATE = 5,
};

// One line of the move history.
class c_historique {
public:
    short joueur = 0;
    short score = 0;
    short typeCoup = 0;
    short coord1[16] = {};  // index along the move's line
    short coord2[16] = {};  // index of the move's line
    short nbLettresPosees = 0;
    short sens = 0;          // 1 horizontal, 0 vertical
    short scoreMeilleurCoup = 0;
    short nbTops = 0;
    std::string texteTops;
    std::string reglette;
    std::string chevalet;
    std::string coupJoue;
    std::string meilleurCoup;
    std::string position;
    std::string duree;
    std::string lettresEchangees;
    std::string mots;
    std::string reliquat;
    std::string nouvTirage;
    char lettres[16] = {};
};

extern std::vector<c_historique> v_histo;

// A record appended while playing: an empty record whose rack is "-------".
void ajouterEnregHisto();

// One line of the history window's list of moves.
struct LigneListe {
    int score = 0;
    std::string texte;
    int nbLettres = 0;
    std::string position;
    std::string reglette;
    std::string duree;
};
extern std::vector<LigneListe> v_listeContenu;

void AlimLST(int score, const std::string& texte, int nbLettres, const std::string& position,
             const std::string& reglette);

#endif
