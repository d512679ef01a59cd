#ifndef QV_FL_INPUT_FILE_H
#define QV_FL_INPUT_FILE_H

// A one-line file-name input that is also a directory lister. Above the
// text, a strip of path buttons, one per folder of the typed path, jumps to
// that folder when clicked; the right mouse button offers the parent, root,
// home and current folders and the ten folders used last; Tab completes the
// typed name; every other key makes the lister follow the text, and a lister
// error turns the text red until the next key.

#include "widgets/Fl_Dir.h"

#include <FL/Fl.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Menu_Item.H>

#include <vector>

class Fl_Menu_Button;

enum {
    FL_INPUT_FILE_STRIP = 12,      // height of the path strip
    FL_INPUT_FILE_FIRST_USER = 4,  // pull-down index of the first recent folder
    FL_INPUT_FILE_USERS = 10,
    FL_INPUT_FILE_USER_TEXT = 2228,
    // The toolkit input lays out only about the first 1,020 characters of a
    // line; a longer text is drawn here.
    FL_INPUT_FILE_TOOLKIT_LINE = 1000
};

// A menu entry with nothing but its label, shortcut and flags.
inline Fl_Menu_Item fl_menu_entry(const char* label, int shortcut = 0, int flags = 0) {
    Fl_Menu_Item m{};
    m.text = label;
    m.shortcut_ = shortcut;
    m.flags = flags;
    return m;
}

class Fl_Input_File : public Fl_Input, public Fl_Dir {
public:
    // Shared by every input: the pull-down menu, the recent folders behind
    // its last ten entries, and the pull-down index of the next one to fill.
    static Fl_Menu_Item pulldown[];
    static char Fl_Dir_User_Array[FL_INPUT_FILE_USERS][FL_INPUT_FILE_USER_TEXT];
    static int Fl_Dir_User_Index;

    Fl_Input_File(int x, int y, int w, int h, const char* label, const char* path, int sort, int filter);
    ~Fl_Input_File() override;

    // Called after every lister error, with the lister.
    void errorHook(Fl_Dir_Callback* cb, void* data) { hook_ = cb; hookData_ = data; }

    void value(const char* text);
    void value(const char* text, int n) { Fl_Input::value(text, n); }
    const char* value() const { return Fl_Input::value(); }

    // Writes the chosen name into `out` (`outSize` bytes) and returns the
    // length of its folder part; 0, with `out` empty, for a name holding a
    // wildcard or one that does not fit.
    int getFilename(char* out, int outSize = FL_DIR_PATH);
    bool setFilename(const char* path);
    static void updateUserDir(const char* path);
    bool refreshValue(const char* text);
    void stripTopBtn(int n);

    int textState() const { return textState_; }
    int highlighted() const { return highlighted_; }
    Fl_Menu_Button* pulldownButton() const { return pulldown_; }

    void draw() override;
    int handle(int event) override;

protected:
    void drawTopBtn();
    // A text longer than the toolkit input lays out, drawn from the first
    // byte in view, which follows the cursor.
    void drawLongText();

private:
    // Right edges of the path buttons, from the widget's left edge.
    std::vector<int> buttonEdges();
    int buttonAt(int ex);
    bool longText() const;
    int textScroll();
    void keepCursorInView(int width);
    int positionAt(int ex);
    void setTextState(bool normal);
    void lowerInput(int by);
    void followText();

    static void listCb(Fl_Dir*, void* self);
    static void errorCb(Fl_Dir*, void* self);
    static void pulldownCb(Fl_Widget* w, void* self);

    Fl_Dir_Callback* hook_ = nullptr;
    void* hookData_ = nullptr;
    bool pressed_ = false;
    int highlighted_ = 0;
    int textState_ = 1;
    Fl_Menu_Button* pulldown_ = nullptr;
    Fl_Widget_Tracker* pulldownAlive_ = nullptr;
    int firstInView_ = 0;  // of a long text
};

#endif
