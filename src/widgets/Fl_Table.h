#ifndef QV_FL_TABLE_H
#define QV_FL_TABLE_H

// Spreadsheet-like grid. It paints no cell itself: every cell, row header
// cell and column header cell that needs painting goes through draw_cell().
// It lives in namespace qv because the toolkit's library ships a class of
// the same name.

#include <FL/Enumerations.H>
#include <FL/Fl_Group.H>
#include <vector>

class Fl_Scroll;
class Fl_Scrollbar;

namespace qv {

class Fl_Table : public Fl_Group {
public:
    enum TableContext {
        CONTEXT_NONE = 0x00,       // nowhere, also the corner where the headers meet
        CONTEXT_STARTPAGE = 0x01,  // before a full redraw; rectangle = inner data area
        CONTEXT_ENDPAGE = 0x02,    // after a full redraw
        CONTEXT_ROW_HEADER = 0x04,
        CONTEXT_COL_HEADER = 0x08,
        CONTEXT_CELL = 0x10,
        CONTEXT_TABLE = 0x20,      // data area outside every cell
        CONTEXT_RC_RESIZE = 0x40   // a size changed, or the visible range was recomputed
    };
    enum ResizeFlag {
        RESIZE_NONE = 0,
        RESIZE_COL_LEFT = 1,
        RESIZE_COL_RIGHT = 2,
        RESIZE_ROW_ABOVE = 3,
        RESIZE_ROW_BELOW = 4
    };

    static const int SCROLLBAR_SIZE = 16;

private:
    int _rows = 0, _cols = 0;
    int _row_header_w = 40, _col_header_h = 18;
    int _row_position = -1, _col_position = -1;
    char _row_header = 0, _col_header = 0, _row_resize = 0, _col_resize = 0;
    int _row_resize_min = 1, _col_resize_min = 1;
    int _redraw_toprow = -1, _redraw_botrow = -1, _redraw_leftcol = -1, _redraw_rightcol = -1;
    Fl_Color _row_header_color, _col_header_color;
    enum { AUTO_DRAG_OFF, AUTO_DRAG_ARMED, AUTO_DRAG_RUNNING };  // the last: the timer's own drag pass
    int _auto_drag = AUTO_DRAG_OFF;
    TableContext _selecting = CONTEXT_NONE;
    // Grown geometrically: a vector keeps its memory when cut back.
    std::vector<int> _colwidths, _rowheights;
    Fl_Cursor _last_cursor = FL_CURSOR_DEFAULT;
    TableContext _callback_context = CONTEXT_NONE;
    int _callback_row = 0, _callback_col = 0;
    int _resizing_col = -1, _resizing_row = -1;
    int _dragging_x = -1, _dragging_y = -1;
    int _last_row = -1;

protected:
    int table_w = 0, table_h = 0;
    int toprow = 0, botrow = 0, leftcol = 0, rightcol = 0;
    int current_row = -1, current_col = -1;  // selection anchor
    int select_row = -1, select_col = -1;    // cursor, the moving end of the selection
    int toprow_scrollpos = -1, leftcol_scrollpos = -1;
    int tix = 0, tiy = 0, tiw = 0, tih = 0;  // inner data area, where cells are drawn
    int tox = 0, toy = 0, tow = 0, toh = 0;  // outer data area, the inner scroll group
    int wix = 0, wiy = 0, wiw = 0, wih = 0;  // inside the widget's frame

    Fl_Scroll* table = nullptr;
    Fl_Scrollbar* vscrollbar = nullptr;
    Fl_Scrollbar* hscrollbar = nullptr;

public:
    Fl_Table(int X, int Y, int W, int H, const char* l = nullptr);
    ~Fl_Table() override;

    void draw() override;
    int handle(int event) override;
    void resize(int X, int Y, int W, int H) override;
    virtual void draw_cell(TableContext context, int R = 0, int C = 0, int X = 0, int Y = 0,
                           int W = 0, int H = 0);
    virtual void clear();
    virtual void rows(int val);
    virtual void cols(int val);
    int rows() const { return _rows; }
    int cols() const { return _cols; }

    void row_height(int row, int height);
    int row_height(int row) const;
    void col_width(int col, int width);
    int col_width(int col) const;
    void row_height_all(int height);

    void row_header(int flag);
    int row_header() const { return _row_header; }
    void col_header(int flag);
    int col_header() const { return _col_header; }
    void row_header_width(int width);
    int row_header_width() const { return _row_header_w; }
    void col_header_height(int height);
    int col_header_height() const { return _col_header_h; }
    Fl_Color row_header_color() const { return _row_header_color; }
    Fl_Color col_header_color() const { return _col_header_color; }

    void row_resize(int flag) { _row_resize = flag ? 1 : 0; }
    int row_resize() const { return _row_resize; }
    void col_resize(int flag) { _col_resize = flag ? 1 : 0; }
    int col_resize() const { return _col_resize; }
    int row_resize_min() const { return _row_resize_min; }
    int col_resize_min() const { return _col_resize_min; }

    TableContext callback_context() const { return _callback_context; }
    int callback_row() const { return _callback_row; }
    int callback_col() const { return _callback_col; }

    void row_position(int row);
    int row_position() const { return _row_position; }
    void col_position(int col);
    int col_position() const { return _col_position; }
    int row_scroll_position(int row);
    int col_scroll_position(int col);

    void table_resized();
    int find_cell(TableContext context, int R, int C, int& X, int& Y, int& W, int& H);
    void get_bounds(TableContext context, int& X, int& Y, int& W, int& H);
    int row_col_clamp(TableContext context, int& R, int& C);
    TableContext cursor2rowcol(int& R, int& C, ResizeFlag& resizeflag);

    void get_selection(int& row_top, int& col_left, int& row_bot, int& col_right) const;
    void set_selection(int row_top, int col_left, int row_bot, int col_right);
    int is_selected(int r, int c) const;
    int move_cursor(int R, int C);

    void damage_zone(int r1, int c1, int r2, int c2, int r3 = 0, int c3 = 0);
    void redraw_range(int topRow, int botRow, int leftCol, int rightCol);
    void change_cursor(Fl_Cursor newcursor);

    // Closes the inner scroll group that holds the cell widgets a subclass
    // creates after the constructor.
    void end();

protected:
    // A callback other than the toolkit's default one: only such a callback
    // makes the table take the events it reports.
    bool has_own_callback() const;
    void recalc_dimensions();
    void table_scrolled();
    void _redraw_cell(TableContext context, int R, int C);
    void draw_header_strip(TableContext context);
    void _start_auto_drag();
    void _stop_auto_drag();
    void _auto_drag_cb();
    static void _auto_drag_cb2(void* d);
    static void scroll_cb(Fl_Widget* w, void* data);
    // Stores the three values and calls the callback; false when the callback
    // deleted the table.
    bool fire_callback(TableContext context, int R, int C);

private:
    int handle_push(TableContext context, int R, int C, ResizeFlag resizeflag, int ret);
    int handle_drag(TableContext context, int R, int C, int ret);
    int handle_release(TableContext context, int R, int C, int ret);
    int handle_key();
    // Stores one height or width; false when nothing changed.
    static bool store_size(std::vector<int>& sizes, int index, int size);
    // After one size changed: recompute, repaint when visible, report.
    void size_changed(bool visible, int R, int C);
    void scroll_to(bool vertical, int index);
    void fit_selection();
    // Sets anchor and cursor and marks the new selection for repainting.
    void select_block(int anchor_row, int anchor_col, int cursor_row, int cursor_col);
    // Ends the auto-scroll and, for button 1, a resize; true for button 1.
    bool end_drag();
};

}  // namespace qv

#endif
