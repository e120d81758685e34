// Draws every style bitmap of the skin at its catalogue size, writes them as 24-bit BMP files and
// a contact sheet of all styles side by side. Run with the output folder on the offscreen
// platform; needs DejaVu Sans for the sheet's labels.
#include "SkinArt.h"
#include "skin/style/BitmapCatalogue.h"

#include <QDir>
#include <QFont>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

using namespace art;
namespace cat = skin::style;

namespace {

QImage draw(std::string_view name, Style s, int w, int h) {
  if (name == "BUTTON") return button(s, w, h);
  if (name == "CHECKBOX") return checkBox(s, w, h, false);
  if (name == "RADIOBUTTON") return checkBox(s, w, h, true);
  if (name == "TITLEBTN") return titleButtons(s, w, h);
  if (name == "TITLE_LEFT") return titlePicture(s, 0, w, h);
  if (name == "TITLE_CLIENT") return titlePicture(s, 1, w, h);
  if (name == "TITLE_RIGHT") return titlePicture(s, 2, w, h);
  if (name == "PROGRESSBAR") return progress(s, w, h);
  if (name == "TRACKBAR_BAR") return trackBar(s, w, h);
  if (name == "TRACKBAR_SLIDER") return trackSlider(s, w, h, false);
  if (name == "TRACKBAR_SLIDER_V") return trackSlider(s, w, h, true);
  if (name == "SCROLLBAR_BUTTON") return scrollBarButtons(s, w, h);
  if (name == "SCROLLBAR_TRACK") return scrollThumb(s, w, h);
  if (name == "CHECKLIST") return checkList(s, w, h);
  if (name == "SCROLLBUTTON") return scrollButtons(s, w, h);
  if (name == "TAB") return tab(s, w, h);
  if (name == "TAB_LINE") return tabLine(s, w, h);
  if (name == "SIDECHENNEL_HANDLE") return sideHandle(s, w, h);
  if (name == "SIDECHENNEL_BAR") return sideBar(s, w, h);
  if (name == "COMBOBOX_BUTTON") return comboButton(s, w, h);
  if (name == "FORM_BACKGROUND") return formTile(s);
  if (name == "MENU_BAR") return menuBar(w, h);
  if (name == "MENU_SELECT") return menuSelect(w, h);
  return {};
}

QString outDir;

void save(const QImage &image, const std::string &name, int w, int h) {
  if (image.width() != w || image.height() != h) {
    std::fprintf(stderr, "%s: drawn %dx%d, wanted %dx%d\n", name.c_str(), image.width(),
                 image.height(), w, h);
    std::exit(1);
  }
  const QString path = outDir + QLatin1Char('/') + QString::fromStdString(name) + ".bmp";
  if (!image.convertToFormat(QImage::Format_RGB888).save(path, "BMP")) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    std::exit(1);
  }
}

// How a title bar puts its pictures and buttons together, for the sheet: the three pictures,
// then close, maximize and minimize from the right, keyed by their bottom-left pixel where the
// style draws them transparent.
QImage titleBarPreview(Style s, int width) {
  constexpr int LeftOffset[] = {3, 2, 0, 0, 4}, RightOffset[] = {-2, -2, 0, 0, -3},
                ButtonTop[] = {4, 5, 2, 2, 6};
  constexpr bool Keyed[] = {false, false, false, true, true};
  const auto size = [s](const char *name) {
    return cat::FindBitmap(std::string(cat::StylePrefixes[s]) + name)->Size;
  };
  const cat::BitmapSize l = size("TITLE_LEFT"), c = size("TITLE_CLIENT"), r = size("TITLE_RIGHT"),
                        b = size("TITLEBTN");
  QImage bar(width, l.Height, QImage::Format_RGB32);
  QPainter p(&bar);
  p.drawImage(0, 0, titlePicture(s, 0, l.Width, l.Height));
  p.drawImage(width - r.Width, 0, titlePicture(s, 2, r.Width, r.Height));
  p.drawImage(QRect(l.Width, 0, width - r.Width - l.Width, l.Height),
              titlePicture(s, 1, c.Width, c.Height));
  const QImage strip = titleButtons(s, b.Width, b.Height);
  const int pw = b.Width / 18;
  int x = width + RightOffset[s];
  for (int part : {15, 6, 12}) { // pressed close, normal maximize, touched minimize (0-based)
    x -= pw + 1;
    QImage pic = strip.copy(part * pw, 0, pw, b.Height);
    if (Keyed[s]) {
      pic = pic.convertToFormat(QImage::Format_ARGB32);
      const QRgb key = pic.pixel(0, pic.height() - 1);
      for (int y = 0; y < pic.height(); ++y)
        for (int k = 0; k < pic.width(); ++k)
          if (pic.pixel(k, y) == key) pic.setPixel(k, y, 0);
    }
    p.drawImage(x, ButtonTop[s], pic);
  }
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setPixelSize(11);
  f.setBold(true);
  p.setFont(f);
  p.setPen(s == MacOS ? Qt::black : Qt::white);
  p.drawText(QRect(LeftOffset[s] + 6, ButtonTop[s], 200, b.Height), Qt::AlignVCenter,
             QStringLiteral("Quelvane"));
  return bar;
}

constexpr const char *StyleNames[] = {"MacOS", "WinXP", "DeepBlue", "Protein", "BlueGlass"};

struct Cell {
  QImage image;
  int row, column;
  bool tiled = false; // stretched or tiled by its control
};

bool tiledByControl(std::string_view name) {
  for (std::string_view n : {"TITLE_CLIENT", "PROGRESSBAR", "TAB_LINE", "SIDECHENNEL_BAR",
                             "FORM_BACKGROUND", "MENU_BAR", "MENU_SELECT"})
    if (n == name) return true;
  return false;
}

// One row per element, one column per style; the shared bitmaps in a last row.
void contactSheet(const std::vector<Cell> &cells, int rows) {
  constexpr int Label = 150, Gap = 14, Top = 28;
  std::vector<int> widths(cat::BuiltInStyleCount, 60), heights(rows, 0);
  for (const Cell &c : cells) {
    widths[c.column] = std::max(widths[c.column], c.image.width());
    heights[c.row] = std::max(heights[c.row], c.image.height());
  }
  std::vector<int> xs{Label}, ys{Top};
  for (int w : widths)
    xs.push_back(xs.back() + w + Gap);
  for (int h : heights)
    ys.push_back(ys.back() + std::max(h, 12) + Gap);
  QImage sheet(xs.back(), ys.back(), QImage::Format_RGB32);
  sheet.fill(QColor(0x5A, 0x5E, 0x66));
  QPainter p(&sheet);
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setPixelSize(11);
  p.setFont(f);
  p.setPen(QColor(0xF0, 0xF2, 0xF6));
  for (std::size_t s = 0; s < widths.size(); ++s)
    p.drawText(xs[s], 18, QString::fromLatin1(StyleNames[s]));
  for (std::size_t r = 0; r < cat::BitmapCatalogue.size(); ++r)
    p.drawText(8, ys[r] + 11, QString::fromLatin1(cat::BitmapCatalogue[r].Name));
  p.drawText(8, ys[rows - 2] + 11, QStringLiteral("shared"));
  p.drawText(8, ys[rows - 1] + 11, QStringLiteral("(a title bar)"));
  for (const Cell &c : cells) {
    p.drawImage(xs[c.column], ys[c.row], c.image);
    // Show the pictures that controls repeat repeated beside them.
    if (c.tiled) {
      p.setBrushOrigin(xs[c.column] + c.image.width() + 6, ys[c.row]);
      p.fillRect(QRect(xs[c.column] + c.image.width() + 6, ys[c.row], 52, c.image.height()),
                 QBrush(c.image));
    }
  }
  p.end();
  const QString path = outDir + QStringLiteral("/contact_sheet.png");
  if (!sheet.save(path)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    std::exit(1);
  }
}

} // namespace

int main(int argc, char **argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: draw_skin OUTPUT_DIR\n");
    return 2;
  }
  outDir = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(outDir);

  std::vector<Cell> cells;
  int row = 0;
  for (const cat::BitmapElement &e : cat::BitmapCatalogue) {
    for (std::size_t s = 0; s < cat::BuiltInStyleCount; ++s) {
      const cat::BitmapSize size = e.Sizes[s];
      if (!size.Present()) continue;
      const QImage image = draw(e.Name, static_cast<Style>(s), size.Width, size.Height);
      save(image, cat::ResourceName(e, static_cast<int>(s)), size.Width, size.Height);
      cells.push_back({image, row, static_cast<int>(s), tiledByControl(e.Name) || size.Width <= 2});
    }
    ++row;
  }
  int column = 0;
  for (const cat::SharedBitmap &b : cat::SharedBitmaps) {
    const QImage image = std::strcmp(b.Name, "MENU_CHECKED") == 0
                             ? menuChecked()
                             : scrollButtons(std::nullopt, b.Size.Width, b.Size.Height);
    save(image, b.Name, b.Size.Width, b.Size.Height);
    cells.push_back({image, row, column++});
  }
  ++row;
  for (std::size_t s = 0; s < cat::BuiltInStyleCount; ++s)
    cells.push_back({titleBarPreview(static_cast<Style>(s), 300), row, static_cast<int>(s)});
  contactSheet(cells, row + 1);
  return 0;
}
