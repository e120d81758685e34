#include "app/Artwork.h"

#include "framework/PictureLoader.h"
#include "skin/TsuiCustomPanel.h"

#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>

#include <array>
#include <optional>

// The pictures live in a static library, whose resource registration must be pulled in by hand.
static void initArtwork() {
  Q_INIT_RESOURCE(app);
}

namespace app {
namespace {

// 128 serves a 64-pixel request on a screen of twice the density.
constexpr std::array<int, 6> IconSizes = {16, 22, 32, 48, 64, 128};

// The program icon in every drawn size, each decoded when first asked for: a desktop asks for
// one or two sizes, and decoding them all would lengthen every start.
class ProgramIconEngine final : public QIconEngine {
public:
  // Only the window and the notification area show it: one look for every mode.
  QPixmap pixmap(const QSize &size, QIcon::Mode, QIcon::State) override {
    const std::size_t index = bestFit(size);
    std::optional<QPixmap> &decoded = m_pixmaps[index];
    if (!decoded)
      decoded = QPixmap::fromImage(Artwork(QStringLiteral("icon_%1.png").arg(IconSizes[index])));
    QPixmap shown = *decoded;
    // Smaller sizes are scaled down from the next larger drawing; larger ones are not blown up.
    if (shown.width() > size.width() || shown.height() > size.height())
      shown = shown.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return shown;
  }
  void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override {
    // In the painter's device pixels: a tray at a scale of 2 paints its 22-pixel icon with 44.
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    QPixmap shown = pixmap(rect.size() * ratio, mode, state);
    shown.setDevicePixelRatio(ratio);
    painter->drawPixmap(rect, shown);
  }
  QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override {
    const int side = IconSizes[bestFit(size)];
    return QSize(side, side).boundedTo(size);
  }
  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
    QList<QSize> sizes;
    for (int side : IconSizes)
      sizes.append(QSize(side, side));
    return sizes;
  }
  QIconEngine *clone() const override { return new ProgramIconEngine(*this); }
  QString key() const override { return QStringLiteral("ProgramIconEngine"); }

private:
  // The smallest drawn size that covers the request, else the largest.
  static std::size_t bestFit(const QSize &size) {
    const int wanted = std::max(size.width(), size.height());
    for (std::size_t i = 0; i < IconSizes.size(); ++i)
      if (IconSizes[i] >= wanted) return i;
    return IconSizes.size() - 1;
  }

  std::array<std::optional<QPixmap>, IconSizes.size()> m_pixmaps;
};

} // namespace

QImage Artwork(const QString &name) {
  initArtwork();
  const framework::PictureFormat format = name.endsWith(QLatin1String(".png"))
                                              ? framework::PictureFormat::Png
                                              : framework::PictureFormat::Bmp;
  return framework::LoadPicture(QStringLiteral(":/app/") + name, format).value_or(QImage());
}

void SetArtwork(skin::TsuiCustomPanel &panel, const QString &name) {
  initArtwork();
  // The size is in the file's header; reading it decodes nothing.
  QImageReader header(QStringLiteral(":/app/") + name);
  header.setAutoDetectImageFormat(false);
  header.setFormat(name.endsWith(QLatin1String(".png")) ? "png" : "bmp");
  panel.SetPictureSource(header.size(), [name] { return Artwork(name); });
}

QIcon ProgramIcon() {
  initArtwork();
  // QIcon owns its engine.
  return QIcon(new ProgramIconEngine);
}

} // namespace app
