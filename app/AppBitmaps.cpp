#include "app/AppBitmaps.h"

#include <QString>

// The bitmaps live in this library's resources; a static library's resource initialiser is
// only linked in when something calls it.
static void LoadAppResources()
{
    static const bool loaded = [] {
        Q_INIT_RESOURCE(app);
        return true;
    }();
    (void)loaded;
}

QPixmap AppBitmap(int id)
{
    LoadAppResources();
    return QPixmap(QStringLiteral(":/bitmaps/%1.png").arg(id));
}
