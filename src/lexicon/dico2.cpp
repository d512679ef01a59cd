#include "lexicon/dico2.h"

#include "core/maChaine.h"
#include "core/utile_gcc.h"
#include "engine/dicopartie.h"
#include "engine/params.h"
#include "engine/partie.h"

#include <algorithm>

const char* const TXT_DEFINITION_NON_TROUVEE = "la d\351finition n'a pas \351t\351 trouv\351e";

std::map<std::string, std::string> gl_indexDefinitions;
bool gl_definitionsChargees = false;

bool Lexique::charger(const std::string& path) {
    // A folder, a pipe or a huge file is no word list.
    std::string texte;
    if (!lireFichierBorne(path, texte)) return false;
    std::vector<std::string> mots;
    std::string commentaire;
    bool premierCommentaire = true;
    for (size_t pos = longueurBom(texte); pos < texte.size();) {
        size_t fin = texte.find('\n', pos);
        if (fin == std::string::npos) fin = texte.size();
        std::string ligne = texte.substr(pos, fin - pos);
        pos = fin + 1;
        if (!ligne.empty() && ligne.back() == '\r') ligne.pop_back();
        // Words never hold blanks at their ends; a stray one must not split a word.
        size_t a = ligne.find_first_not_of(" \t");
        if (a == std::string::npos) continue;
        size_t b = ligne.find_last_not_of(" \t");
        ligne = ligne.substr(a, b - a + 1);
        if (ligne[0] == '#') {
            if (premierCommentaire) {
                size_t debut = ligne.find_first_not_of("# ");
                commentaire = debut == std::string::npos ? std::string() : ligne.substr(debut);
            }
            premierCommentaire = false;
            continue;
        }
        mots.push_back(std::move(ligne));
    }
    definir(std::move(mots));
    commentaire_ = commentaire;
    return true;
}

void Lexique::definir(std::vector<std::string> mots) {
    for (std::string& m : mots) m = chaineMajuscule(m);
    std::sort(mots.begin(), mots.end());
    mots.erase(std::unique(mots.begin(), mots.end()), mots.end());
    mots_ = std::move(mots);
}

bool Lexique::contient(const std::string& mot) const {
    return std::binary_search(mots_.begin(), mots_.end(), mot);
}

bool Lexique::prefixe(const std::string& debut) const {
    auto it = std::lower_bound(mots_.begin(), mots_.end(), debut);
    return it != mots_.end() && it->compare(0, debut.size(), debut) == 0;
}

std::string verifMotLstDico(const std::string& mot) {
    // Words come from the board, where a joker is a lower-case letter.
    std::string cherche = chaineMajuscule(mot);
    if (partie.partieJoker) {
        size_t blanc = cherche.find(' ');
        if (blanc != std::string::npos) cherche.resize(blanc);
    }
    std::string liste;
    auto ajoute = [&liste](int n) {
        if (!liste.empty()) liste += ',';
        liste += std::to_string(n);
    };
    if (dicP.lexique.contient(cherche)) ajoute(1);
    for (size_t k = 0; k < params.dicos2.size(); ++k) {
        const Dico2& d = params.dicos2[k];
        if (!d.nomFichier.empty() && d.lexique.contient(cherche)) ajoute(static_cast<int>(k) + 2);
    }
    return liste;
}

std::string valeurDefinition(const std::string& mot) {
    if (mot.empty()) return std::string();
    auto it = gl_indexDefinitions.find(mot);
    if (it == gl_indexDefinitions.end()) return TXT_DEFINITION_NON_TROUVEE;
    return it->second;
}
