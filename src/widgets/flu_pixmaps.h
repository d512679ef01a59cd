#ifndef QV_FLU_PIXMAPS_H
#define QV_FLU_PIXMAPS_H

// Icons of the tree browser (the first four) and of the skin font editor.

extern const char* const plus_xpm[];           // 15 x 15, closed expander
extern const char* const minus_xpm[];          // 15 x 15, open expander
extern const char* const folder_closed_xpm[];  // 20 x 16
extern const char* const folder_open_xpm[];    // 20 x 16
extern const char* const arrow_closed_xpm[];   // 15 x 15
extern const char* const arrow_open_xpm[];     // 15 x 15
extern const char* const bluedot_xpm[];        // 13 x 13
extern const char* const greendot_xpm[];
extern const char* const reddot_xpm[];
extern const char* const tealdot_xpm[];
extern const char* const book_xpm[];           // 18 x 18
extern const char* const cd_drive_xpm[];       // 18 x 16
extern const char* const computer_xpm[];       // 20 x 20
extern const char* const textdoc_xpm[];        // 15 x 18

#endif
