#include "controls/FECFileDialog.h"

namespace {

// The file list shows far more names once it is taller than the default.
constexpr int kExtraHeight = 150;

} // namespace

CFECFileDialog::CFECFileDialog(BOOL openFileDialog, const QString& defaultExt, const QString& fileName,
                               DWORD flags, const QString& filter, QWidget* parent)
    : CFileDialog(openFileDialog, defaultExt, fileName, flags, filter, parent)
{
    resize(sizeHint() + QSize(0, kExtraHeight));
}

void CFECFileDialog::done(int result)
{
    m_paths = result == QDialog::Accepted ? selectedFiles() : QStringList();
    CFileDialog::done(result);
}

int CFECFileDialog::GetStartPosition() const
{
    return m_paths.isEmpty() ? -1 : 0;
}

QString CFECFileDialog::GetNextPathName(int& position) const
{
    if (position < 0 || position >= m_paths.size()) {
        position = -1;
        return QString();
    }
    const QString path = m_paths[position];
    position = position + 1 < m_paths.size() ? position + 1 : -1;
    return path;
}
