#include "RecordingTable.h"

#include <FL/fl_draw.H>

namespace qvtest {

std::string callOrder(const std::vector<CellCall>& calls) {
    using T = qv::Fl_Table;
    std::string out;
    for (const CellCall& k : calls) {
        if (!out.empty()) out += ' ';
        const std::string at = std::to_string(k.row) + "," + std::to_string(k.col);
        switch (k.context) {
        case T::CONTEXT_STARTPAGE: out += "S"; break;
        case T::CONTEXT_ENDPAGE: out += "E"; break;
        case T::CONTEXT_ROW_HEADER: out += "R" + at; break;
        case T::CONTEXT_COL_HEADER: out += "C" + at; break;
        case T::CONTEXT_CELL: out += "c" + at; break;
        case T::CONTEXT_TABLE: out += "T" + at; break;
        case T::CONTEXT_RC_RESIZE: out += "Z"; break;
        case T::CONTEXT_NONE: out += "N"; break;
        default: out += "?" + std::to_string(k.context); break;
        }
    }
    return out;
}

void fillRect(Fl_Color color, int X, int Y, int W, int H) {
    fl_color(color);
    fl_rectf(X, Y, W, H);
}

}  // namespace qvtest
