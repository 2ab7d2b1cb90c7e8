#pragma once
// One normal and one bold font shared by every self-drawn control of the process: the classic
// 8-point dialog face (Tahoma, or MS Sans Serif where Tahoma is missing), for which the
// controls' and panes' pixel sizes were made. The menu font gives only weight and slant.
//
// Each control holds a ControlFonts member for its lifetime; the pair is made when the first
// holder is constructed and dropped when the last one goes. Normal() and Bold() always answer
// (they make the pair if nobody holds it). Windows and panes use Normal() as their own font, so
// that progress captions and labels drawn in the parent's font match. GUI thread only.
#include <QFont>

class ControlFonts {
public:
    static constexpr int PointSize = 8;

    ControlFonts();
    ~ControlFonts();
    ControlFonts(const ControlFonts&) = delete;
    ControlFonts& operator=(const ControlFonts&) = delete;

    static const QFont& Normal();
    static const QFont& Bold();

    // The controls' face at a font height counted as the classic platform counts it: a
    // negative height is the character height in pixels, a positive one the cell height (ascent
    // plus descent as the face's own metrics for that platform give them). The file list's
    // header, "a 14-pixel bold font", is AtHeight(14, QFont::Bold).
    static QFont AtHeight(int height, QFont::Weight weight);

    // Makes the pair again (after a desktop font or theme change).
    static void Recreate();

    // Number of living holders.
    static int Holders();
};
