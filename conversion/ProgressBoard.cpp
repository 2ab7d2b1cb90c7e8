#include "conversion/ProgressBoard.h"

#include <algorithm>

ProgressBoard::ProgressBoard(int barPixels)
    : m_barPixels(std::max(barPixels, 1))
{
}

// What a text progress bar draws for a position: the filled pixels and the percent, both
// truncated as the bar truncates them. An empty range draws nothing.
ProgressBoard::Shown ProgressBoard::ShownFor(int lower, int upper, int pos) const
{
    if (lower >= upper)
        return {};
    const double fraction = std::clamp((double(pos) - lower) / (double(upper) - lower), -1e6, 1e6);
    return {int(fraction * m_barPixels), int(fraction * 100)};
}

bool ProgressBoard::Publish(const ProgressSnapshot& state)
{
    std::lock_guard lock(m_mutex);
    m_published = state;
    if (m_told)
        return false;
    m_told = true;
    return true;
}

bool ProgressBoard::SetRange(int lower, int upper)
{
    m_worker.lower = lower;
    m_worker.upper = upper;
    m_worker.pos = lower;
    m_lastShown = ShownFor(lower, upper, lower);
    // A new range is a new file: always worth showing, even when the fill happens to match.
    return Publish(m_worker);
}

bool ProgressBoard::SetPos(int pos)
{
    m_worker.pos = pos;
    const Shown shown = ShownFor(m_worker.lower, m_worker.upper, pos);
    if (shown == m_lastShown)
        return false;
    m_lastShown = shown;
    return Publish(m_worker);
}

bool ProgressBoard::FileDone(int done, int count)
{
    m_worker.pos = m_worker.upper;
    m_lastShown = ShownFor(m_worker.lower, m_worker.upper, m_worker.pos);
    return SetFilesDone(done, count);
}

bool ProgressBoard::SetFilesDone(int done, int count)
{
    m_worker.filesDone = done;
    m_worker.fileCount = count;
    return Publish(m_worker);
}

ProgressSnapshot ProgressBoard::Take()
{
    std::lock_guard lock(m_mutex);
    m_told = false;
    return m_published;
}
