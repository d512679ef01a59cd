#ifndef QV_CORE_UTILE_GCC_H
#define QV_CORE_UTILE_GCC_H

#include <string>

// Local date and time as "dd/mm/yyyy hh:mm:ss".
std::string JourHeureNow();

// A file that exists and is a regular file.
bool estFichierRegulier(const std::string& path);

// Writes content to path through a temporary file beside it: every write and
// the close are checked and the temporary is renamed over the target only then.
// On failure the target is untouched and no temporary is left.
bool ecrireFichierAtomique(const std::string& path, const std::string& content);

#endif
