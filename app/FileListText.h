#pragma once
// The texts the file list shows and says: a file's size and creation time as its row shows
// them, and one message that lists many files without growing past the screen.
#include <QString>
#include <QStringList>

#include <cstdint>
#include <ctime>

// Whole kilobytes with a comma before every group of three digits: 1048576 -> "1,024 KB".
QString FileSizeText(std::uint64_t bytes);

// "%H:%M:%S %m/%d/%Y" in local time.
QString CreationTimeText(std::time_t time);

// lead (when not empty), a blank line, then the first `shown` lines and, when there are more,
// how many were left out.
QString ListMessage(const QString& lead, const QStringList& lines, int shown = 20);
