#include "engine/historic.h"

#include "core/maChaine.h"
#include "engine/partie.h"

#include <ctime>

std::vector<c_historique> v_histo;
std::vector<LigneListe> v_listeContenu;

void ajouterEnregHisto() {
    c_historique h;
    h.reglette = "-------";
    v_histo.push_back(h);
    ++partie.nbLignesHisto;
}

void AlimLST(int score, const std::string& texte, int nbLettres, const std::string& position,
             const std::string& reglette) {
    LigneListe l;
    l.score = score;
    l.texte = texte;
    l.nbLettres = nbLettres;
    l.position = position;
    l.reglette = reglette;
    if (!partie.modeDuplicate && partie.debutCoup != 0) {
        long s = static_cast<long>(std::difftime(std::time(nullptr), partie.debutCoup));
        if (s < 0) s = 0;
        l.duree = chaine("%02ld:%02ld", s / 60, s % 60);
    }
    v_listeContenu.push_back(l);
}
