#ifndef QV_CORE_UTILE_GCC_H
#define QV_CORE_UTILE_GCC_H

#include <string>

// Local date and time as "dd/mm/yyyy hh:mm:ss".
std::string JourHeureNow();

// A file that exists and is a regular file.
bool estFichierRegulier(const std::string& path);

// The largest file any reader takes: anything bigger is a mistake or an
// attack, never a game's data.
const long TAILLE_FICHIER_MAX = 16L * 1024 * 1024;

// Opens a file for reading only when it is a regular file of at most
// TAILLE_FICHIER_MAX bytes (a FIFO never blocks the call). The descriptor, or
// -1 with errno ENOENT when missing, EINVAL when not a regular file, EFBIG
// when too big.
int ouvrirFichierLecture(const std::string& path);

// The whole of such a file; false when it cannot be read (errno as above).
bool lireFichierBorne(const std::string& path, std::string& content);

// The UTF-8 byte-order mark that some editors put at the start of a text
// file; in Latin-1 text it would read as "\357\273\277" glued to the first line.
extern const char BOM_UTF8[];
// 3 when the text starts with that mark, else 0.
size_t longueurBom(const std::string& texte);

// Writes content to path through a temporary file beside it, created for this
// call alone: every write and the close are checked and the temporary is
// renamed over the target only then. Several writers at once each put one
// whole content in place (the last rename wins). On failure the target is
// untouched and no temporary is left.
bool ecrireFichierAtomique(const std::string& path, const std::string& content);

#endif
