#pragma once
// The progress of a run as the window shows it: the Current bar (range and position of the file
// being converted) and the count of files done, which the Total bar's caption shows.
//
// The worker writes; the window reads. A 10 MB file reports 700,000 positions, so the board
// tells the window only about changes the bars can show (a pixel of the bar's fill or a percent
// of its text) and only once until the window has taken the state: the window then reads the
// latest state whenever it paints next, however many changes came in between.
//
// Threads: the Set and FileDone calls come from one worker thread, Take from the window's
// thread.
#include <mutex>

struct ProgressSnapshot {
    int lower = 0;      // the Current bar's range
    int upper = 0;
    int pos = 0;        // the Current bar's position
    int filesDone = 0;  // files finished so far (written or not)
    int fileCount = 0;  // files in the run
};

class ProgressBoard {
public:
    // barPixels is the length of the Current bar's fill area.
    explicit ProgressBoard(int barPixels);

    // Each returns true when the window should be told that there is something new to show;
    // it is told once until it calls Take.
    bool SetRange(int lower, int upper);
    bool SetPos(int pos);
    // The file under way is converted, and `done` of `count` files are finished: the Current
    // bar goes to the end of its range.
    bool FileDone(int done, int count);
    // `done` of `count` files are finished, while the file under way goes on.
    bool SetFilesDone(int done, int count);

    ProgressSnapshot Take();

private:
    struct Shown {
        int pixels = 0;
        int percent = 0;
        bool operator==(const Shown&) const = default;
    };
    Shown ShownFor(int lower, int upper, int pos) const;
    bool Publish(const ProgressSnapshot& state);

    const int m_barPixels;
    // The worker's own copy, read without the lock.
    ProgressSnapshot m_worker;
    Shown m_lastShown;

    std::mutex m_mutex;
    ProgressSnapshot m_published;
    bool m_told = false;
};
