#include <QApplication>
#include <gmock/gmock.h>

int main(int argc, char **argv) {
  // Tests assert exact pixels; never depend on a display or the user's desktop.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
  QApplication app(argc, argv);
  testing::InitGoogleMock(&argc, argv);
  return RUN_ALL_TESTS();
}
