#include "reports/records.h"

Records::Records() {}
void Records::defauts() {}
void Records::loadscores() {}
void Records::savescores() {}
void Records::alterscores() {}
void Records::alterbestgo(int, std::string&) {}
void InitLangue(const std::string&) {}
