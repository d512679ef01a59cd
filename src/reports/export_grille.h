#ifndef QV_REPORTS_EXPORT_GRILLE_H
#define QV_REPORTS_EXPORT_GRILLE_H

#include <string>

// The page of a themed crossword-grid game: the words played, the
// dictionaries, the words with their definitions and the filled grid.
void export_grille_mots_croises_html(const std::string& path);

#endif
