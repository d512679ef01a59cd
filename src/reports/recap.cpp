#include "reports/recap.h"

char gc_buf2048[2048];

std::string valRec(short, short) { return " "; }
void alimRec(const std::string&, short) {}
void save_recap(const std::string&) {}
void save_recap_vsc(const std::string&) {}
void AffRecap2(std::string) {}
void AffRecap31(std::string) {}
