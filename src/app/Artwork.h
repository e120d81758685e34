#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

namespace app {

// Our own pictures, compiled in: `name` as in assets/app, e.g. "logo.png".
QImage Artwork(const QString &name);
QIcon ProgramIcon();

} // namespace app
