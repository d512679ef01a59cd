#ifndef QV_REPORTS_EXPORT_HTML_DUPLICATE_H
#define QV_REPORTS_EXPORT_HTML_DUPLICATE_H

#include <ostream>

// The moves of a duplicate game on the recap page: every round's top beside
// every player's entry, then one detail table per player (which also fills
// the page's word list).
void affSyntheseDuplicate(std::ostream& out);
void affDetailsJoueursDuplicate(std::ostream& out);

#endif
