#include "reports/export_html.h"

void export_html(const std::string&) {}
