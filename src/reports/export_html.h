#ifndef QV_REPORTS_EXPORT_HTML_H
#define QV_REPORTS_EXPORT_HTML_H

#include <ostream>
#include <string>

// Writes the HTML recap page of the running game (the crossword-grid page in
// a crossword-grid game). A duplicate game with no complete round writes
// nothing and leaves any older page as it is.
void export_html(const std::string& path);

// The contents lines of a duplicate game: the synthesis, then each player's
// detail (shared with the crossword-grid page).
void affSommaireDuplicate(std::ostream& out);

#endif
