#ifndef QV_REPORTS_EXPORT_HTML_H
#define QV_REPORTS_EXPORT_HTML_H

#include <string>

// Writes the HTML recap page of the running game.
void export_html(const std::string& path);

#endif
