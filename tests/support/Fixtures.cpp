#include "Fixtures.h"

#include "engine/chargerpeau2.h"
#include "engine/dicopartie.h"
#include "engine/divers.h"
#include "engine/duplicate.h"
#include "engine/historic.h"
#include "engine/params.h"
#include "engine/partie.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>
#include <gtest/gtest.h>

namespace fixtures {

namespace {

// Players are numbered from 1; a wrong number must fail the test, not write
// beside the arrays.
int indiceJoueur(int numero) {
    if (numero < 1 || numero > NB_JOUEURS_MAX)
        throw std::out_of_range("fixtures: no player " + std::to_string(numero));
    return numero - 1;
}

void retirerDuSac(char c) {
    int k = indiceTuile(c);
    if (k == 0) return;
    --partie.sac[k];
    --partie.nbLettresSac;
}

saisieDP entree(const std::string& tirage, short score, short nbLettres, const std::string& position,
                const std::string& mot, const std::string& mots, short nbTops = 0) {
    saisieDP s;
    s.tirage = tirage;
    s.score = score;
    s.nbLettresPosees = nbLettres;
    s.position = position;
    s.mot = mot;
    s.mots = mots;
    s.nbTops = nbTops;
    s.horizontal = !position.empty() && position[0] >= 'A' && position[0] <= 'Z';
    return s;
}

void commencer(int nbJoueurs) {
    partie.fichierPea1 = "dezediziziz640_480_1.pea1";
    partie.modeDuplicate = partie.modeTest = partie.modeResolution = partie.arbitrage = 0;
    partie.partieJoker = 0;
    partie.nbJoueurs = static_cast<short>(nbJoueurs);
    init_board();
    partie.partieEnCours = 1;
}

}  // namespace

void nouvellePartie(int nbJoueurs) {
    parametresParDefaut();
    partie.fichierPea2 = PEA2_DEFAUT;
    dicP.nomFichier = "mots.txt";
    dicP.lexique.definir({"MAISON", "MER", "MERE", "RELATION", "AS", "ON", "OSE", "SON", "TOUR", "VIE"});
    commencer(nbJoueurs);
}

void nouvellePartieSur(const std::string& pea2, int nbJoueurs) {
    ChargerPeau2(pea2);
    commencer(nbJoueurs);
}

void joueur(int numero, const std::string& nom, short type) {
    Joueur& j = partie.joueurs[indiceJoueur(numero)];
    j.nom = nom;
    j.type = type;
    j.numNom = {11 + numero, nom};
    partie.nbJoueursHumains = 0;
    for (int i = 0; i < partie.nbJoueurs; ++i) partie.nbJoueursHumains += partie.joueurs[i].type == 0;
}

void donnerChevalet(int numero, const std::string& lettres) {
    const int i = indiceJoueur(numero);
    if (lettres.size() > static_cast<size_t>(NB_LETTRES))
        throw std::length_error("fixtures: a rack of " + std::to_string(lettres.size()));
    Joueur& j = partie.joueurs[i];
    std::fill(j.lettres, j.lettres + NB_LETTRES, 0);
    std::fill(partie.chevalet[i], partie.chevalet[i] + NB_LETTRES, 0);
    for (size_t k = 0; k < lettres.size(); ++k) {
        j.lettres[k] = lettres[k];
        ++partie.chevalet[i][indiceTuile(lettres[k])];
        retirerDuSac(lettres[k]);
    }
}

void jouerMot(int numero, const std::string& mot, const std::string& position, short score,
              const std::string& reglette, const std::string& mots) {
    bool horizontal = position[0] >= 'A' && position[0] <= 'Z';
    int lig, col;
    if (horizontal) {
        lig = position[0] - 'A' + 1;
        col = std::atoi(position.c_str() + 1);
    } else {
        col = std::atoi(position.c_str());
        lig = position.back() - 'A' + 1;
    }
    c_historique& h = v_histo.back();
    h = c_historique();
    h.joueur = static_cast<short>(numero);
    h.score = score;
    h.typeCoup = COUP_NORMAL;
    h.sens = horizontal ? 1 : 0;
    h.coupJoue = mot;
    h.position = position;
    h.mots = mots;
    h.reglette = reglette;
    h.chevalet = reglette;
    for (size_t i = 0; i < mot.size(); ++i) {
        int l = horizontal ? lig : lig + static_cast<int>(i);
        int c = horizontal ? col + static_cast<int>(i) : col;
        if (dicP.plateau[l][c] != 0) {
            EXPECT_EQ(dicP.plateau[l][c], mot[i]) << "fixture word crosses another letter";
            continue;
        }
        int n = h.nbLettresPosees++;
        h.lettres[n] = mot[i];
        h.coord1[n] = static_cast<short>(horizontal ? c : l);
        h.coord2[n] = static_cast<short>(horizontal ? l : c);
        dicP.plateau[l][c] = mot[i];
        dicP.plateauT[c][l] = mot[i];
        retirerDuSac(mot[i]);
    }
    partie.joueurs[indiceJoueur(numero)].score += score;
    partie.joueurEnCours = static_cast<short>(numero - 1);
    ajouterEnregHisto();
}

void jouerAutre(int numero, short typeCoup, const std::string& texte, const std::string& reglette,
                const std::string& lettresEchangees) {
    c_historique& h = v_histo.back();
    h = c_historique();
    h.joueur = static_cast<short>(indiceJoueur(numero) + 1);
    h.typeCoup = typeCoup;
    h.coupJoue = texte;
    h.reglette = reglette;
    h.chevalet = reglette;
    h.lettresEchangees = lettresEchangees;
    partie.joueurEnCours = static_cast<short>(numero - 1);
    ajouterEnregHisto();
}

void partieNormale() {
    nouvellePartie(2);
    joueur(1, "Alice", 0);
    joueur(2, "Ordi", 6);
    jouerMot(1, "MAISON", "H4", 22, "AIMNOSE", "MAISON");
    v_histo[0].nbTops = 2;
    v_histo[0].texteTops = "[MAISON H4][MAISON H5]";
    v_histo[0].meilleurCoup = "MAISON H4 (22)";
    v_histo[0].scoreMeilleurCoup = 22;
    jouerMot(2, "MeR", "4H", 5, "ERTUVWX", "MeR");
    v_histo[1].nbTops = 1;
    jouerMot(1, "RELATION", "J4", 64, "AEILNOT", "RELATION");
    v_histo[2].nbTops = 1;
    v_histo[2].meilleurCoup = "RELATION J4 (64)";
    v_histo[2].scoreMeilleurCoup = 64;
    jouerAutre(2, COUP_ECHANGE, "echange 'VWX'", "TUVWXYZ", "VWX");
    jouerAutre(1, COUP_ERRONE, "ZOU", "BCDEFGH");
    jouerAutre(2, COUP_PASSE, "passe son tour", "TUABCDE");
    donnerChevalet(1, "BCDEFGH");
    donnerChevalet(2, "TUABCDE");
    partie.joueurEnCours = 0;
}

void partieDuplicate() {
    nouvellePartie(3);
    partie.modeDuplicate = 1;
    joueur(1, "Alice", 0);
    joueur(2, "Bruno", 0);
    joueur(3, "Ordi", 6);
    // Round 0: top MAISON H4, 22 points; round 1: MER 4H, 6; round 2: RELATION J4, 64.
    jouerMot(1, "MAISON", "H4", 22, "AIMNOSE", "MAISON");
    v_histo[0].nbTops = 2;
    v_histo[0].texteTops = "[MAISON H4][MAISON H5]";
    jouerMot(1, "MER", "4H", 6, "ERTUVWX", "MER");
    jouerMot(1, "RELATION", "J4", 64, "AEILNOT", "RELATION");
    result_best.push_back(entree("AIMNOSE", 22, 6, "H4", "MAISON", "MAISON", 2));
    result_best.push_back(entree("TUVW+ER", 6, 2, "4H", "MER", "MER", 1));
    result_best.push_back(entree("AEILNOT", 64, 7, "J4", "RELATION", "RELATION", 1));
    result_best.push_back(entree("TUVW+EES", 0, 0, "", "", "", 0));
    saisie_duplicate[0] = {entree("", 20, 6, "H5", "MAISON", "MAISON"), entree("", 5, 2, "4H", "MeR", "MeR"),
                           entree("", 0, 0, "", "ZUT", ""), saisieDP()};
    saisie_duplicate[1] = {entree("", 18, 5, "8D", "SON", "SON"), entree("", 6, 2, "4H", "MER", "MER"),
                           entree("", 64, 7, "J4", "RELATION", "RELATION"), saisieDP()};
    saisie_duplicate[2] = {entree("", 22, 6, "H4", "MAISON", "MAISON"), entree("", 6, 2, "4H", "MER", "MER"),
                           entree("", 12, 3, "K4", "OSE", "OSE"), entree("", 9, 3, "5D", "VIE", "VIE")};
    partie.joueurs[0].score = 25;
    partie.joueurs[1].score = 88;
    partie.joueurs[2].score = 40;
    partie.joueurEnCours = 0;
    gl_tourDuplicateOuvert = true;  // round 4 is open: the humans' last entries wait for their moves
}

void partieCommencee() {
    nouvellePartie(2);
    joueur(1, "Alice", 0);
    joueur(2, "Ordi", 3);
    donnerChevalet(1, "AEINRST");
    donnerChevalet(2, "BEGLMOU");
}

void partieResolution() {
    nouvellePartie(1);
    joueur(1, "Alice", 0);
    partie.modeResolution = 1;
    jouerMot(1, "MAISON", "H4", 22, "AIMNOSE", "MAISON");
    jouerMot(1, "MeRE", "4H", 4, "EERTUVX", "MeRE");
    // A bag that no longer matches the board: saving rebuilds it.
    partie.sac[5] = 0;
    partie.nbLettresSac = 3;
}

const char* const PEA2_GRAND = "grand.pea2";
const int CASES_NOIRES_GRANDES[5][2] = {{1, 1}, {1, 21}, {21, 21}, {7, 7}, {15, 4}};

short nombreGrand(int lettre) { return static_cast<short>(lettre == IDX_JOKER ? 3 : 2 + lettre % 4); }
short valeurGrande(int lettre) { return static_cast<short>(lettre == IDX_JOKER ? 0 : 1 + lettre % 7); }

std::string texteParametresGrands() {
    std::string t = "[Dicos]\nprincipal=grand.txt\n[Plateau]\nDimension=21\nLigneDepart=11\nColonneDepart=10\n";
    for (int r = 1; r <= 21; ++r) {
        std::string ligne(21, '0');
        for (const auto& n : CASES_NOIRES_GRANDES)
            if (n[0] == r) ligne[static_cast<size_t>(n[1] - 1)] = '9';
        if (r == 3) ligne[2] = '7', ligne[18] = '4';  // word x4, letter x4
        if (r == 5) ligne[10] = '3';
        if (r == 11) ligne[4] = '2';
        if (r == 19) ligne[10] = '6', ligne[19] = '5';
        t += std::to_string(r) + "=" + ligne + "\n";
    }
    t += "[Jetons]\n";
    for (int k = 1; k <= IDX_JOKER; ++k)
        t += (k == IDX_JOKER ? std::string("Joker") : std::string(1, static_cast<char>('A' + k - 1))) + "=" +
             std::to_string(nombreGrand(k)) + "," + std::to_string(valeurGrande(k)) + "\n";
    return t + "[Regles]\nChevalet=8\nBonus=60\n";
}

void partieGrande() {
    std::ofstream("grand.txt") << "# Mots du grand plateau\nMAISONS\nRELATION\nVIE\nAS\n";
    std::ofstream(PEA2_GRAND) << texteParametresGrands();
    nouvellePartieSur(PEA2_GRAND, 2);
    joueur(1, "Alice", 0);
    joueur(2, "Bruno", 0);
    jouerMot(1, "MAISONS", "K10", 30, "AIMNOSSE", "MAISONS");
    jouerMot(2, "RELATION", "21M", 80, "AEILNORT", "RELATION");
    jouerMot(1, "VIE", "U18", 12, "EIVABCDF", "VIE");
    jouerAutre(2, COUP_PASSE, "passe son tour", "GHJKLMNU");
    donnerChevalet(1, "ABCDFO?Z");
    donnerChevalet(2, "GHJKLMNU");
    partie.joueurEnCours = 1;
}

void partieTest() {
    partieDuplicate();
    partie.modeTest = 1;
}


}  // namespace fixtures
