#include "RecordingTable.h"

#include <FL/fl_draw.H>

namespace qvtest {

std::string callWord(int context, int row, int col, int clicks) {
    using T = qv::Fl_Table;
    const std::pair<int, const char*> letters[] = {{T::CONTEXT_ROW_HEADER, "R"}, {T::CONTEXT_COL_HEADER, "C"}, {T::CONTEXT_CELL, "c"},
                                                   {T::CONTEXT_TABLE, "T"}, {T::CONTEXT_RC_RESIZE, "Z"}, {T::CONTEXT_NONE, "N"}};
    if (context == T::CONTEXT_STARTPAGE || context == T::CONTEXT_ENDPAGE) return context == T::CONTEXT_STARTPAGE ? "S" : "E";
    for (auto [known, letter] : letters)
        if (known == context) return letter + std::to_string(row) + "," + std::to_string(col) + (clicks ? "*" : "");
    return "?" + std::to_string(context);
}

void fillRect(Fl_Color color, int X, int Y, int W, int H) {
    fl_color(color);
    fl_rectf(X, Y, W, H);
}

}  // namespace qvtest
