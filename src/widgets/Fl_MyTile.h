#ifndef QV_FL_MYTILE_H
#define QV_FL_MYTILE_H

// A tiling group whose inner borders the user drags to resize the panes.
// Unlike a plain tile, a border dragged past the group's right or bottom edge
// widens the group.

#include <FL/Fl_Group.H>

class Fl_MyTile : public Fl_Group {
    // The last drag, for the callback to read.
    int old_x_ = 0, old_y_ = 0, new_x_ = 0, new_y_ = 0;

public:
    using Fl_Group::Fl_Group;

    int handle(int event) override;
    void resize(int X, int Y, int W, int H) override;

    // Moves the border that was initially at (oix, oiy) to (newx, newy).
    void position(int oix, int oiy, int newx, int newy);

    int old_x() const { return old_x_; }
    int old_y() const { return old_y_; }
    int new_x() const { return new_x_; }
    int new_y() const { return new_y_; }
};

#endif
