// The two pictures of the tool (drawn by ui/make_pictures.sh): the logo, a
// 42 x 42 GIF, and the application icon, one 42 x 42 image with 256 colours.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace ui {

QPixmap logoPicture();
QIcon applicationIcon();

}  // namespace ui
