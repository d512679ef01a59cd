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
    // Widgets created after the constructor become cell widgets, until end().
    Fl_Table(int X, int Y, int W, int H, const char* l = nullptr);
    // Removes the auto-scroll timer; the group deletes the children.
    ~Fl_Table() override;

    // Paints the cells, headers and children that need it, each cell through draw_cell().
    void draw() override;
    // Cursor keys, clicks, selection drags, header resizes and the auto-scroll;
    // a key it cannot use is returned unused.
    int handle(int event) override;
    // Keeps the rows and columns in place and recomputes what shows.
    void resize(int X, int Y, int W, int H) override;
    // Paints one cell or header cell; also told of each page's start and end,
    // and of a recomputed visible range (CONTEXT_RC_RESIZE) to move cell widgets.
    virtual void draw_cell(TableContext context, int R = 0, int C = 0, int X = 0, int Y = 0,
                           int W = 0, int H = 0);
    // No rows and no columns; the cell widgets stay.
    virtual void clear();
    // New rows take the height of the last one (25 in an empty table).
    virtual void rows(int val);
    // New columns take the width of the last one (80 in an empty table).
    virtual void cols(int val);
    // The counts.
    int rows() const { return _rows; }
    int cols() const { return _cols; }

    // Reports the change to a callback that asks for changes (FL_WHEN_CHANGED).
    void row_height(int row, int height);
    // 0 for a row the table does not hold.
    int row_height(int row) const;
    // Reports the change to a callback that asks for changes (FL_WHEN_CHANGED).
    void col_width(int col, int width);
    // 0 for a column the table does not hold.
    int col_width(int col) const;
    // Every row in turn; stops when a callback deletes the table.
    void row_height_all(int height);

    // Whether the strip of row headers on the left shows (off by default).
    void row_header(int flag);
    int row_header() const { return _row_header; }
    // Whether the strip of column headers on top shows (off by default).
    void col_header(int flag);
    int col_header() const { return _col_header; }
    // The strip's width (40), which also bounds the band where a drag does
    // not scroll by itself, whether or not the strip shows.
    void row_header_width(int width);
    int row_header_width() const { return _row_header_w; }
    // The strip's height (18), which also bounds that band on top.
    void col_header_height(int height);
    int col_header_height() const { return _col_header_h; }
    // The widget's colour at construction, for subclasses to paint row headers with.
    Fl_Color row_header_color() const { return _row_header_color; }
    // The same for column headers.
    Fl_Color col_header_color() const { return _col_header_color; }

    // Whether dragging a border of a row header resizes the row (off by default).
    void row_resize(int flag) { _row_resize = flag ? 1 : 0; }
    int row_resize() const { return _row_resize; }
    // Whether dragging a border of a column header resizes the column (off by default).
    void col_resize(int flag) { _col_resize = flag ? 1 : 0; }
    int col_resize() const { return _col_resize; }
    // The smallest height a resize drag gives a row.
    int row_resize_min() const { return _row_resize_min; }
    // The smallest width a resize drag gives a column.
    int col_resize_min() const { return _col_resize_min; }

    // What the last callback was about, for the callback to read: the
    // context, then its row and column.
    TableContext callback_context() const { return _callback_context; }
    int callback_row() const { return _callback_row; }
    int callback_col() const { return _callback_col; }

    // Scrolls so that the row is the top one (as far as the table scrolls).
    void row_position(int row);
    // The row last scrolled to, or the top row.
    int row_position() const { return _row_position; }
    // Scrolls so that the column is the left one (as far as the table scrolls).
    void col_position(int col);
    // The column last scrolled to, or the left column.
    int col_position() const { return _col_position; }
    // Pixels from the table's top to the row's top edge.
    int row_scroll_position(int row);
    // Pixels from the table's left to the column's left edge.
    int col_scroll_position(int col);

    // After a count, a size or the widget's size changed: the scrollbars and
    // the visible range follow.
    void table_resized();
    // The screen rectangle of a cell or header cell: 0, or -1 (and an empty
    // rectangle) for one the table does not hold.
    int find_cell(TableContext context, int R, int C, int& X, int& Y, int& W, int& H);
    // The rectangle of a whole header strip or of the data area.
    void get_bounds(TableContext context, int& X, int& Y, int& W, int& H);
    // Brings a row and a column into the table; 1 when either changed.
    int row_col_clamp(TableContext context, int& R, int& C);
    // What lies under the mouse, and the header border it grabs.
    TableContext cursor2rowcol(int& R, int& C, ResizeFlag& resizeflag);

    // The selection, top-left to bottom-right, or -1s when there is none.
    void get_selection(int& row_top, int& col_left, int& row_bot, int& col_right) const;
    // The anchor at (row_top, col_left), the cursor at (row_bot, col_right).
    void set_selection(int row_top, int col_left, int row_bot, int col_right);
    // 1 when the cell lies in the selection, else 0.
    int is_selected(int r, int c) const;
    // Moves the cursor by rows and columns, right from the last column on to
    // the next row, and scrolls it into view; 0 when it cannot move.
    int move_cursor(int R, int C);

    // Marks the cells between three cells for the next partial repaint.
    void damage_zone(int r1, int c1, int r2, int c2, int r3 = 0, int c3 = 0);
    // Widens the range of cells the next partial repaint draws.
    void redraw_range(int topRow, int botRow, int leftCol, int rightCol);
    // Sets the mouse pointer's shape over the window when it changes.
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
    // Anchor (unless Shift stretches from it) and cursor to the cell.
    void place_cursor(int r, int c);
    // Page Down (1) or Up (-1); 0 when the cursor cannot move.
    int page_cursor(int dir);
    enum RowSeen { ROW_HIDDEN, ROW_IN_PART, ROW_WHOLE };
    // How much shows of a row at `top` of `height` pixels, drawn where
    // find_cell() puts it, in the view scrolled to `scroll`.
    RowSeen row_seen(int top, int height, double scroll) const;
    // The row nearest `to`, on the way from `from` in the direction `dir`,
    // that the view scrolled to `scroll` shows; `from` when none.
    int row_in_view(int from, int to, int dir, double scroll);
    void fit_selection();
    // Sets anchor and cursor and marks the new selection for repainting.
    void select_block(int anchor_row, int anchor_col, int cursor_row, int cursor_col);
    // Ends the auto-scroll and, for button 1, a resize; true for button 1.
    bool end_drag();
};

}  // namespace qv

#endif
