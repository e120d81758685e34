#include "app/Artwork.h"

#include "framework/PictureLoader.h"

#include <QPixmap>

// The pictures live in a static library, whose resource registration must be pulled in by hand.
static void initArtwork() {
  Q_INIT_RESOURCE(app);
}

namespace app {

QImage Artwork(const QString &name) {
  initArtwork();
  const framework::PictureFormat format = name.endsWith(QLatin1String(".png"))
                                              ? framework::PictureFormat::Png
                                              : framework::PictureFormat::Bmp;
  return framework::LoadPicture(QStringLiteral(":/app/") + name, format).value_or(QImage());
}

QIcon ProgramIcon() {
  initArtwork();
  QIcon icon;
  for (int size : {16, 22, 32, 48, 64})
    icon.addPixmap(QPixmap::fromImage(Artwork(QStringLiteral("icon_%1.png").arg(size))));
  return icon;
}

} // namespace app
