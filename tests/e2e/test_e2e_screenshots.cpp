// The whole window as the program draws it in its own simulated runs, compared pixel for pixel
// with the pictures in golden/. A mismatch leaves the actual picture and a difference picture in
// the build's golden-failures folder. QUELVANE_UPDATE_GOLDENS=1 writes the pictures anew instead
// (scripts/update-goldens.sh).
#include "common/GoldenPicture.h"
#include "common/ProgramRun.h"
#include "common/TestPictures.h"
#include "skin/theme/BitmapFile.h"
#include "skin/theme/ThemeFile.h"

#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace {

// The receiver of a plain --simulate: 83 % and HIGH CPI, its mouse not bound yet.
constexpr const char *Receiver =
    R"({"id": "rx", "vendor": "3A7E", "product": "0A11", "product_name": "2.4G Wireless Receiver",
        "receiver": {"battery": 21, "cpi": 10, "bind": [0, 0], "query14": [1, 0], "ack": true}})";

using testcommon::ProgramHome;

// The transparent colour of the pictures stays; every other hue turns from the navy of the window's
// own style to copper.
QRgb coppered(QRgb rgb) {
  if ((rgb & 0xFFFFFF) == 0xFF00FF) return rgb;
  const QColor hsv = QColor::fromRgb(rgb).toHsv();
  if (hsv.hsvHue() < 0) return rgb; // a grey
  return QColor::fromHsv((hsv.hsvHue() + 150) % 360, hsv.hsvSaturation(), hsv.value()).rgb();
}

// Theme colours are 0x00BBGGRR.
std::int32_t copperedColour(std::int32_t colour) {
  if (colour < 0 || colour > 0xFFFFFF) return colour;
  const QRgb rgb = coppered(qRgb(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF));
  return qRed(rgb) | qGreen(rgb) << 8 | qBlue(rgb) << 16;
}

// copper.thm in the home: the window's own style exported by the program, every picture and
// colour recoloured, so that it looks like no built-in style.
void writeCopperTheme(const ProgramHome &home) {
  using namespace skin::theme;
  const QString base = home.FilePath("protein.thm");
  const auto exported = home.Run({"--export-theme=" + base, "--style=Protein"});
  ASSERT_EQ(exported.Code, 0) << exported.Err.toStdString();
  const QByteArray bytes = testcommon::FileContent(base);
  ThemeParse parse = ParseThemeFile(
      {reinterpret_cast<const std::uint8_t *>(bytes.constData()), std::size_t(bytes.size())});
  ASSERT_EQ(parse.Error, ThemeError::None);
  // Cream panels and copper borders where the style has white and black.
  const std::map<std::string, std::int32_t, std::less<>> chosen = {
      {"FormBackgroundColor", 0xD8ECFA}, {"ControlBackgroundColor", 0xD8ECFA},
      {"MenuMenuBarColor", 0xD8ECFA},    {"FormBorderColor", 0x1E4B8C},
      {"ControlBorderColor", 0x1E4B8C},
  };
  for (ThemeEntry &entry : parse.Contents.Entries) {
    if (entry.Kind == ThemeEntryKind::Image) {
      const QImage picture = QImage::fromData(entry.Data.data(), int(entry.Data.size()), "BMP")
                                 .convertToFormat(QImage::Format_RGB32);
      ASSERT_FALSE(picture.isNull()) << entry.Name;
      std::vector<std::uint32_t> pixels;
      for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
          pixels.push_back(coppered(picture.pixel(x, y)) & 0xFFFFFF);
      entry = ThemeEntry::Image(entry.Name,
                                WriteBitmapFile24(picture.width(), picture.height(), pixels));
    } else if (entry.Kind == ThemeEntryKind::Integer && entry.Name.ends_with("Color")) {
      const auto set = chosen.find(entry.Name);
      entry = ThemeEntry::Integer(entry.Name, set != chosen.end() ? set->second
                                                                  : copperedColour(entry.Value()));
    }
  }
  const auto file = WriteThemeFile(parse.Contents.Entries);
  ASSERT_TRUE(file);
  home.Write("copper.thm",
             QByteArray(reinterpret_cast<const char *>(file->data()), qsizetype(file->size())));
}

// A logo of the user's own beside the program: one colour, as a bitmap, with a cut GIF of the
// same name that goes first and must be passed over.
void writeLogoFiles(const ProgramHome &home) {
  const QByteArray gif = test::Gif(QSize(50, 20), 40);
  home.Write("Logo.gif", gif.left(gif.size() - 30));
  home.Write("Logo.bmp", test::Bmp(test::Filled(QSize(50, 20), QColor(0, 128, 128))));
}

struct Shot {
  const char *Name;
  // Steps before the screenshot. The lamp blinks once a second while pairing: a pairing look is
  // taken at once, a bound one after the blinking stopped.
  const char *Steps;
  int At;
  // One more command-line option, if any.
  const char *Option = nullptr;
  // What the run needs in its home first, if anything.
  void (*Prepare)(const ProgramHome &) = nullptr;
  // The screen's scale factor, when not 1, and the variable that tells Qt.
  const char *Scale = nullptr;
  const char *ScaleVariable = "QT_SCALE_FACTOR";
};

const Shot Shots[] = {
    {"english_pairing", "", 0},
    // The second pairing tick sees the query value change: bound, the lamp lime and steady.
    {"english_connected", R"({"at": 1500, "set": "rx", "receiver": {"query14": [1, 7]}},)", 3500},
    {"traditional_pairing", R"({"at": 0, "menu": "mniCht"},)", 100},
    {"simplified_pairing", R"({"at": 0, "menu": "mniChs"},)", 100},
    // The tray menu with its first item selected and that item's sub-menu open.
    {"tray_menu", R"({"at": 0, "tray": "rclick"}, {"at": 300, "menu": "mniLanguage"},)", 600},
    // The battery turned into the icon, then the menu again: the item carries the check mark.
    {"tray_menu_battery",
     R"({"at": 0, "menu": "mniBatteryInIcon"}, {"at": 100, "tray": "rclick"},)", 400},
    // The whole window in each built-in look.
    {"style_protein", "", 0, "--style=Protein"},
    {"style_macos", "", 0, "--style=MacOS"},
    {"style_winxp", "", 0, "--style=WinXP"},
    {"style_deepblue", "", 0, "--style=DeepBlue"},
    {"style_blueglass", "", 0, "--style=BlueGlass"},
    {"theme_copper", "", 0, "--theme=copper.thm", writeCopperTheme},
    {"logo_file", "", 0, nullptr, writeLogoFiles},
    {"simplified_connected",
     R"({"at": 0, "menu": "mniChs"}, {"at": 1500, "set": "rx", "receiver": {"query14": [1, 7]}},)",
     3500},
    // On a screen of twice the density: text drawn at twice the size, pictures doubled.
    {"english_connected_2x", R"({"at": 1500, "set": "rx", "receiver": {"query14": [1, 7]}},)", 3500,
     nullptr, nullptr, "2"},
    {"style_macos_2x", "", 0, "--style=MacOS", nullptr, "2"},
#ifndef _WIN32
    // Windows widens the menu at twice the size by its own text metrics (12 pixels here).
    {"tray_menu_2x", R"({"at": 0, "tray": "rclick"}, {"at": 300, "menu": "mniLanguage"},)", 600,
     nullptr, nullptr, "2"},
#endif
};

void PrintTo(const Shot &shot, std::ostream *out) {
  *out << shot.Name;
}

QString goldenPath(const Shot &shot) {
  return QStringLiteral(QUELVANE_GOLDEN_DIR "/%1.png").arg(QLatin1String(shot.Name));
}

// The window as the program draws it in `shot`'s run; null after a failure.
QImage shoot(const Shot &shot) {
  ProgramHome home;
  EXPECT_TRUE(home.IsValid());
  if (!home.IsValid()) return {};
  if (shot.Prepare) {
    shot.Prepare(home);
    if (::testing::Test::HasFatalFailure()) return {};
  }
  // Only the faces the setup installs may draw, whatever else this machine has.
  home.Environment.insert("FONTCONFIG_FILE", QStringLiteral(QUELVANE_GOLDEN_DIR "/fonts.conf"));
  home.Environment.insert("XDG_CACHE_HOME", home.FilePath("cache"));
  if (shot.Scale) home.Environment.insert(shot.ScaleVariable, QLatin1String(shot.Scale));
  const QByteArray scenario = QStringLiteral(R"({"devices": [%1], "timeline": [%2
    {"at": %3, "screenshot": "shot.png"}, {"at": %4, "quit": true}]})")
                                  .arg(QLatin1String(Receiver), QLatin1String(shot.Steps))
                                  .arg(shot.At)
                                  .arg(shot.At + 100)
                                  .toUtf8();
  QStringList arguments = {"--simulate=" + home.Write("shot.json", scenario)};
  if (shot.Option) arguments.append(QLatin1String(shot.Option));
  const testcommon::ProgramOutcome outcome = home.Run(arguments);
  EXPECT_EQ(outcome.Code, 0) << outcome.Err.toStdString();
  const QImage actual = QImage(home.FilePath("shot.png")).convertToFormat(QImage::Format_ARGB32);
  EXPECT_FALSE(actual.isNull()) << "no screenshot written";
  return actual;
}

class Screenshots : public ::testing::TestWithParam<Shot> {};

TEST_P(Screenshots, MatchTheGoldenPicture) {
  const Shot &shot = GetParam();
  const QImage actual = shoot(shot);
  if (actual.isNull()) return;
  testcommon::ExpectGoldenPicture(actual, goldenPath(shot), QStringLiteral(QUELVANE_GOLDEN_OUT),
                                  QLatin1String(shot.Name));
}

TEST(ScaledScreenshots, AFractionalFactorDrawsTheWindowAtTheWholeFactorItRoundsTo) {
  const struct {
    const char *Variable;
    const char *Fractional;
    const char *Whole;
  } cases[] = {
      {"QT_SCALE_FACTOR", "1.5", "2"},
      {"QT_SCALE_FACTOR", "1.25", "1"},
      {"QT_SCREEN_SCALE_FACTORS", "1.5", "2"},
  };
  for (const auto &c : cases) {
    const QImage fractional =
        shoot({"fractional", "", 0, nullptr, nullptr, c.Fractional, c.Variable});
    const QImage whole = shoot({"whole", "", 0, nullptr, nullptr, c.Whole});
    ASSERT_FALSE(fractional.isNull() || whole.isNull());
    EXPECT_TRUE(fractional == whole)
        << c.Variable << "=" << c.Fractional << " drawn unlike " << c.Whole;
  }
}

INSTANTIATE_TEST_SUITE_P(Window, Screenshots, ::testing::ValuesIn(Shots),
                         [](const ::testing::TestParamInfo<Shot> &shot) {
                           return std::string(shot.param.Name);
                         });

} // namespace
