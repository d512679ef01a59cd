#include "engine/duplicate.h"

std::vector<saisieDP> result_best;
std::vector<saisieDP> saisie_duplicate[8];
bool gl_tourDuplicateOuvert = false;
