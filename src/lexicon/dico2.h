#ifndef QV_LEXICON_DICO2_H
#define QV_LEXICON_DICO2_H

#include <map>
#include <string>
#include <vector>

// A word list held sorted in memory, upper-case Latin-1. Binary dictionary
// files are not read: a dictionary is loaded from a plain word list, one word
// a line, of at most TAILLE_FICHIER_MAX bytes; lines starting with '#' are
// comments, the first one being the dictionary's header comment.
class Lexique {
public:
    bool charger(const std::string& path);
    void definir(std::vector<std::string> mots);  // for tests and generated lists
    void vider() { mots_.clear(); commentaire_.clear(); }

    bool contient(const std::string& mot) const;
    // Whether some word starts with `debut` (the empty prefix included).
    bool prefixe(const std::string& debut) const;
    size_t taille() const { return mots_.size(); }
    bool vide() const { return mots_.empty(); }
    const std::vector<std::string>& mots() const { return mots_; }
    const std::string& commentaire() const { return commentaire_; }

private:
    std::vector<std::string> mots_;
    std::string commentaire_;
};

// One extra dictionary of the game parameters.
struct Dico2 {
    std::string nomFichier;
    std::string commentaire;  // comment of its header
    Lexique lexique;
};

// The numbers of the loaded dictionaries holding the word, joined by ",":
// 1 for the game dictionary, k + 2 for extra dictionary k.
std::string verifMotLstDico(const std::string& mot);

// The definitions index (word -> definition text), read while
// gl_definitionsChargees is set. Nothing in this build fills it: the
// per-letter definitions files are not read.
extern std::map<std::string, std::string> gl_indexDefinitions;
extern bool gl_definitionsChargees;

extern const char* const TXT_DEFINITION_NON_TROUVEE;  // "la définition n'a pas été trouvée"

std::string valeurDefinition(const std::string& mot);

#endif
