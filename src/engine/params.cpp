#include "engine/params.h"

Params params;
