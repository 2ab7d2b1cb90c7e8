#pragma once
// One normal and one bold font shared by every self-drawn control of the process, made from the
// system's menu font so that rows, labels and in-place editors match the menus.
//
// Each control holds a ControlFonts member for its lifetime; the pair is made when the first
// holder is constructed and dropped when the last one goes. Normal() and Bold() always answer
// (they make the pair if nobody holds it). GUI thread only.
#include <QFont>

class ControlFonts {
public:
    ControlFonts();
    ~ControlFonts();
    ControlFonts(const ControlFonts&) = delete;
    ControlFonts& operator=(const ControlFonts&) = delete;

    static const QFont& Normal();
    static const QFont& Bold();

    // Makes the pair again from the current menu font (after a desktop font or theme change).
    static void Recreate();

    // Number of living holders.
    static int Holders();
};
