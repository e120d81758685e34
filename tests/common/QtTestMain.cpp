#include <QApplication>
#include <cstdlib>
#include <gmock/gmock.h>

int main(int argc, char **argv) {
  // Tests assert exact pixels; never depend on a display or the user's desktop.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  testing::InitGoogleMock(&argc, argv);
  return RUN_ALL_TESTS();
}
