#include "engine/dicopartie.h"

#include <cstring>

DicoPartie dicP;
std::vector<solution> v_result;
c_bestmove bestmove;

void DicoPartie::viderPlateaux() {
    std::memset(plateau, 0, sizeof plateau);
    std::memset(plateauT, 0, sizeof plateauT);
}
