#include "ui/pictures.h"

// The pictures are compiled into the library; a static library has to register
// its resources itself, and Q_INIT_RESOURCE must stand outside any namespace.
static void registerPictures()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(pictures);
        return true;
    }();
    (void)registered;
}

namespace ui {

QPixmap logoPicture()
{
    registerPictures();
    return QPixmap(QStringLiteral(":/app/logo.gif"));
}

QIcon applicationIcon()
{
    registerPictures();
    return QIcon(QStringLiteral(":/app/kuptools.ico"));
}

}  // namespace ui
