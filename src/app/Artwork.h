#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

namespace skin {
class TsuiCustomPanel;
}

namespace app {

// Our own pictures, compiled in: `name` as in assets/app, e.g. "logo.png".
QImage Artwork(const QString &name);
// The picture of `panel`, decoded when the panel first draws it or it is asked for.
void SetArtwork(skin::TsuiCustomPanel &panel, const QString &name);
QIcon ProgramIcon();

} // namespace app
