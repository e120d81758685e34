#include "ButtonTestHelpers.h"

#include <gtest/gtest.h>

using namespace skin;
using namespace skin::test;

namespace {

constexpr QRgb Magenta = 0xFFFF00FF;
const QColor Behind(0x20, 0x90, 0x30);

// The MacOS strip as its file holds it, cut by hand.
QImage MacState(int part) {
  const QImage strip =
      QImage(QStringLiteral(":/skin/MACOS_BUTTON.bmp")).convertToFormat(QImage::Format_RGB32);
  return strip.copy(84 * (part - 1), 0, 84, 23);
}

// Which state pixel a 97 x 27 button shows at (x, y): the 42 x 11 top-left corner and the
// 41-wide, 10-high right and bottom corners unscaled, column 42 across the middle, row 11 down
// the left and centre, row 12 down the right.
QPoint MacSource(int x, int y) {
  const int sx = x < 42 ? x : x >= 97 - 41 ? x - (97 - 41) + 43 : 42;
  const int sy = y < 11 ? y : y >= 27 - 10 ? y - (27 - 10) + 13 : x >= 97 - 41 ? 12 : 11;
  return {sx, sy};
}

TEST(TsuiButton, MacOSStatesKeepCornersAndStretchOnlyTheMiddleRowAndColumn) {
  const struct {
    int part;
    bool transparent;
  } cases[] = {{1, true}, {2, true}, {3, true}, {1, false}}; // the opaque one keeps corner magenta
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << "part " << c.part << " transparent " << c.transparent);
    QWidget parent;
    parent.resize(120, 60);
    parent.setAutoFillBackground(true);
    parent.setPalette(QPalette(Behind));
    TsuiButton button(&parent);
    button.setGeometry(5, 7, 97, 27);
    button.SetUIStyle(TsuiUIStyle::MacOS);
    button.SetTransparent(c.transparent);
    button.SetColor(framework::clYellow);
    if (c.part == 2) Enter(button);
    if (c.part == 3) Mouse(button, QEvent::MouseButtonPress, QPoint(3, 3));
    button.Repaint();
    const QImage state = MacState(c.part);
    const QImage &shown = button.Buffer();
    ASSERT_EQ(shown.size(), QSize(97, 27));
    int differences = 0;
    for (int y = 0; y < 27; ++y)
      for (int x = 0; x < 97; ++x) {
        const bool corner = (x < 42 || x >= 56) && (y < 11 || y >= 17);
        QRgb expected = state.pixel(MacSource(x, y));
        if (expected == Magenta && (!corner || c.transparent))
          expected = c.transparent ? Behind.rgb() : QColor(Qt::yellow).rgb();
        differences += shown.pixel(x, y) != expected;
      }
    EXPECT_EQ(differences, 0);
  }
}

TEST(ButtonSkin, SmallButtonCutsCornersToHalfItsSize) {
  // A 10 x 6 picture with a different colour in every pixel over a 7 x 5 button.
  QImage state(10, 6, QImage::Format_RGB32);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 10; ++x)
      state.setPixel(x, y, qRgb(x * 20, y * 40, 7));
  QImage out(7, 5, QImage::Format_RGB32);
  out.fill(Qt::black);
  framework::Canvas canvas(out);
  DrawCornerStretch(canvas, state, 7, 5, false);
  // Corners 3 x 2 (top-left), 2 wide (right), 1 high (bottom): the pixels nearest the outside.
  EXPECT_EQ(out.pixel(0, 0), state.pixel(0, 0));
  EXPECT_EQ(out.pixel(2, 1), state.pixel(2, 1));
  EXPECT_EQ(out.pixel(5, 0), state.pixel(8, 0));
  EXPECT_EQ(out.pixel(6, 1), state.pixel(9, 1));
  EXPECT_EQ(out.pixel(0, 4), state.pixel(0, 5));
  EXPECT_EQ(out.pixel(6, 4), state.pixel(9, 5));
  // Middle column 5 of the picture, middle rows 3 (left) and 4 (right).
  EXPECT_EQ(out.pixel(3, 0), state.pixel(5, 0));
  EXPECT_EQ(out.pixel(4, 4), state.pixel(5, 5));
  EXPECT_EQ(out.pixel(1, 2), state.pixel(1, 3));
  EXPECT_EQ(out.pixel(6, 3), state.pixel(9, 4));
  EXPECT_EQ(out.pixel(3, 2), state.pixel(5, 3));
}

TEST(TsuiButton, WithoutAPictureShowsABlankStateAndAutoSizesTo24x21) {
  QWidget parent;
  ButtonThemeFile empty;
  ASSERT_TRUE(empty.theme.Loaded());
  TsuiButton button(&parent);
  button.SetFileTheme(&empty.theme);
  button.SetUIStyle(TsuiUIStyle::FromThemeFile);
  button.setGeometry(0, 0, 30, 20);
  button.Repaint();
  EXPECT_EQ(PixelsOf(button.Buffer(), Qt::white).size(), 30u * 20u);
  button.SetAutoSize(true);
  EXPECT_EQ(button.size(), QSize(24, 21));
  button.SetUIStyle(TsuiUIStyle::MacOS);
  EXPECT_EQ(button.size(), QSize(84, 23));
}

TEST(TsuiButton, FollowsItsThemeToANewFileAndFallsBackToDeepBlueWhenItGoes) {
  QWidget window;
  auto file = std::make_unique<ButtonThemeFile>(
      ButtonThemeFile::Strip(QSize(20, 10), Qt::red, Qt::green, Qt::blue), &window);
  TsuiButton button(&window);
  button.SetFileTheme(&file->theme);
  button.SetUIStyle(TsuiUIStyle::FromThemeFile);
  button.SetAutoSize(true);
  EXPECT_EQ(button.size(), QSize(20, 10));
  button.Repaint();
  EXPECT_EQ(button.Buffer().pixelColor(10, 5), QColor(Qt::red));
  file->Load(ButtonThemeFile::Strip(QSize(30, 12), Qt::blue, Qt::green, Qt::red));
  EXPECT_EQ(button.size(), QSize(30, 12));
  file.reset();
  EXPECT_EQ(button.FileTheme(), nullptr);
  EXPECT_EQ(button.size(), QSize(222 / 3, 21));
}

TEST(TsuiButton, FocusShowsTheStylesLook) {
  const struct {
    TsuiUIStyle style;
    bool boldCaption;
    bool dottedFrame;
  } cases[] = {{TsuiUIStyle::MacOS, true, false},
               {TsuiUIStyle::BlueGlass, true, false},
               {TsuiUIStyle::DeepBlue, false, true},
               {TsuiUIStyle::WinXP, false, true}};
  for (const auto &c : cases) {
    SCOPED_TRACE(static_cast<int>(c.style));
    QWidget window;
    window.resize(140, 60);
    TsuiButton button(&window);
    button.setGeometry(10, 10, 97, 27);
    button.SetUIStyle(c.style);
    button.SetFont({QStringLiteral("MS Sans Serif"), -13, false, false, false, framework::clBlue});
    button.SetCaption(QStringLiteral("Ok"));
    ShowActive(window);
    button.clearFocus();
    button.Repaint();
    const QImage plain = button.Buffer().copy();
    button.setFocus();
    ASSERT_TRUE(button.hasFocus());
    button.Repaint();
    const QImage focused = button.Buffer();

    EXPECT_EQ(PixelsOf(focused, Qt::blue).size() > PixelsOf(plain, Qt::blue).size(), c.boldCaption);
    // The frame 2 pixels inside the edges: every other pixel inverted, the rest untouched.
    int inverted = 0, kept = 0;
    for (int y = 2; y < 25; ++y)
      for (int x = 2; x < 95; ++x) {
        if (x != 2 && x != 94 && y != 2 && y != 24) continue;
        const QRgb before = plain.pixel(x, y) & 0xFFFFFF, after = focused.pixel(x, y) & 0xFFFFFF;
        if ((x + y) % 2 == 0 ? after == (before ^ 0xFFFFFF) : after == before)
          ++((x + y) % 2 == 0 ? inverted : kept);
      }
    const int dots = (93 + 93 + 21 + 21) / 2;
    EXPECT_EQ(inverted, c.dottedFrame ? dots : 0);
    EXPECT_EQ(kept, dots);
  }
}

TEST(TsuiButton, DisabledCaptionIsGreyOverWhiteOnePixelDownRight) {
  QWidget parent;
  FlatButton flat(&parent);
  flat.button.SetCaption(QStringLiteral("&Pair"));
  flat.button.SetEnabled(false);
  flat.button.Repaint();
  const QImage &shown = flat.button.Buffer();
  const auto grey = PixelsOf(shown, QColor(0x80, 0x80, 0x80));
  const auto white = PixelsOf(shown, Qt::white);
  EXPECT_TRUE(PixelsOf(shown, Qt::blue).empty());
  ASSERT_GT(grey.size(), 20u);
  ASSERT_FALSE(white.empty());
  for (const auto &[x, y] : white)
    EXPECT_TRUE(grey.count({x - 1, y - 1})) << x << "," << y;
  for (const auto &[x, y] : grey)
    EXPECT_TRUE(grey.count({x + 1, y + 1}) || white.count({x + 1, y + 1})) << x << "," << y;
}

TEST(TsuiButton, PressedCaptionMovesOnePixelDownRight) {
  QWidget parent;
  FlatButton flat(&parent);
  flat.button.SetCaption(QStringLiteral("Pair"));
  flat.button.Repaint();
  const auto normal = PixelsOf(flat.button.Buffer(), Qt::blue);
  Mouse(flat.button, QEvent::MouseButtonPress, QPoint(5, 5));
  ASSERT_TRUE(flat.button.Pressed());
  flat.button.Repaint();
  std::set<std::pair<int, int>> moved;
  for (const auto &[x, y] : normal)
    moved.emplace(x + 1, y + 1);
  EXPECT_FALSE(normal.empty());
  EXPECT_EQ(PixelsOf(flat.button.Buffer(), Qt::blue), moved);
}

// The pairing button's size and font, whose "Connecting" is too wide for the installed fonts.
TsuiButton &PairingButton(QWidget &window, const QString &caption = {}) {
  auto *button = new TsuiButton(&window);
  button->setGeometry(0, 0, 97, 27);
  button->SetUIStyle(TsuiUIStyle::MacOS);
  button->SetFont({QStringLiteral("MS Sans Serif"), -16, true, false, false, framework::clBlue});
  button->SetCaption(caption);
  return *button;
}

TEST(TsuiButton, WideCaptionIsNarrowedToStayInsideTheButton) {
  QWidget window;
  TsuiButton &button = PairingButton(window);
  const auto captionColumns = [&](const QString &caption) {
    button.SetCaption(caption);
    button.Repaint();
    int first = button.width(), last = -1;
    for (const auto &[x, y] : PixelsOf(button.Buffer(), Qt::blue)) {
      first = std::min(first, x);
      last = std::max(last, x);
    }
    return std::pair(first, last);
  };
  const auto [first, last] = captionColumns(QStringLiteral("&Connecting"));
  EXPECT_GE(first, 4);
  EXPECT_LE(last, 92);
  EXPECT_GT(last - first, 40);
  // A caption that fits keeps its width.
  const auto [shortFirst, shortLast] = captionColumns(QStringLiteral("CPI"));
  EXPECT_GT(shortFirst, 20);
  EXPECT_LT(shortLast, 76);
  // A caption that comes back is narrowed the same way, and again for a narrower button.
  EXPECT_EQ(captionColumns(QStringLiteral("&Connecting")), std::pair(first, last));
  button.resize(80, 27);
  const auto [narrowFirst, narrowLast] = captionColumns(QStringLiteral("&Connecting"));
  EXPECT_GE(narrowFirst, 4);
  EXPECT_LE(narrowLast, 75);
}

TEST(TsuiButton, DrawnAheadAWideCaptionIsFittedOneTrialFontAStep) {
  QWidget window;
  for (const QString &caption : {QStringLiteral("&Connecting"), QStringLiteral("CPI")}) {
    SCOPED_TRACE(caption.toStdString());
    TsuiButton &ahead = PairingButton(window, caption);
    int steps = 0;
    while (ahead.RenderIfStale())
      ++steps;
    // Each trial is a step of its own; a caption that fits is drawn at once.
    EXPECT_EQ(steps > 1, caption.size() > 3) << steps;
    TsuiButton &direct = PairingButton(window, caption);
    direct.Repaint();
    EXPECT_EQ(ahead.Buffer(), direct.Buffer());
  }
}

} // namespace
