#ifndef QV_FL_FILE_DIALOG_H
#define QV_FL_FILE_DIALOG_H

// A file-selection panel: a colour-coded file list, the file-name input with
// its lister, choices for sort order, type filter and name pattern, and a
// status line. fl_file_dialog puts it in a modal window with OK and Cancel.

#include "widgets/Fl_Dir.h"

#include <FL/Fl_Group.H>

#include <string>
#include <vector>

class Fl_Box;
class Fl_Choice;
class Fl_Input_File;
class Fl_Multi_Browser;
struct Fl_Menu_Item;

enum {
    FL_FILE_DIALOG_MULTI = 1,  // several files may be chosen
    FL_FILE_DIALOG_SAVE = 2    // the name is for saving
};

class Fl_File_Dialog : public Fl_Group {
public:
    static Fl_Menu_Item menuSort[];
    static Fl_Menu_Item menuFilter[];
    static Fl_Menu_Item menuPattern[];

    Fl_File_Dialog(int x, int y, const char* label, const char* path, int mode, int sort, int filter);

    // Called on a double click on a file.
    void endCallback(Fl_Callback* cb, void* data) { end_ = cb; endData_ = data; }
    // Refills the file list from the lister's shown entries.
    void fill();
    // Whether the input's text may be handed to a caller whose buffer holds
    // `pathSize` bytes: to open, it must name existing files or a folder
    // (folders change while the list shows them). When it may not, the status
    // line says why, and a missing name has the folder read again.
    bool acceptAnswer(int pathSize = FL_DIR_PATH);

    Fl_Multi_Browser* fileBrowser() const { return list_; }
    Fl_Input_File* input() const { return input_; }
    Fl_Choice* sortChoice() const { return sort_; }
    Fl_Choice* filterChoice() const { return filter_; }
    Fl_Choice* patternChoice() const { return pattern_; }
    Fl_Box* statusLine() const { return status_; }

    // Leaves Enter to the window's return button.
    int handle(int event) override;

private:
    static void listCb(Fl_Widget*, void* self);
    static void releaseCb(void* self);
    std::string highlightKey() const;
    static void inputCb(Fl_Widget*, void* self);
    static void errorHook(Fl_Dir* dir, void* self);
    static void sortCb(Fl_Widget*, void* self);
    static void filterCb(Fl_Widget*, void* self);
    static void patternCb(Fl_Widget*, void* self);
    void select();
    int highlighted(std::string& names) const;
    bool nameHighlighted(const std::string& folder);
    void showChosen(const std::string& text, const char* message);
    void status(const char* text);

    int mode_;
    Fl_Callback* end_ = nullptr;
    void* endData_ = nullptr;
    Fl_Multi_Browser* list_;
    Fl_Input_File* input_;
    Fl_Choice* sort_;
    Fl_Choice* filter_;
    Fl_Choice* pattern_;
    Fl_Box* status_;
    // Name and type of each line of the list.
    std::vector<std::string> names_;
    std::vector<int> types_;
    // The text the last selection put in the input.
    std::string chosen_;
    // The folder whose entries the list shows.
    std::string listed_;
    // The highlighted lines when the input last followed them.
    std::string followed_;
    // The eleventh pattern entry's text: the pattern part of the given path.
    std::string patternLabel_;
};

// Asks for a file in a modal window. Accepted, writes the chosen name into
// `path` (`pathSize` bytes) and returns its folder part's length (0 for a
// name without folder or with a wildcard); cancelled, returns 0 and leaves
// `path` untouched.
int fl_file_dialog(const char* title, char* path, int mode, int sort, int filter, bool unused = false,
                   int pathSize = FL_DIR_PATH);

#endif
