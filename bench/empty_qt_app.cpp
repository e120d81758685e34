// The baselines for bench_startup: an empty Qt Widgets window that ends at its first paint, or
// with "--label" the same window painting one line of text (the first text a program draws
// reads the font configuration).
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <cstring>

namespace {

class FirstPaintQuits final : public QWidget {
protected:
  void paintEvent(QPaintEvent *) override {
    if (!m_painted) {
      m_painted = true;
      QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }
  }

private:
  bool m_painted = false;
};

} // namespace

int main(int argc, char **argv) {
  const bool label = argc > 1 && std::strcmp(argv[1], "--label") == 0;
  QApplication app(argc, argv);
  FirstPaintQuits window;
  window.resize(220, 270);
  if (label) (new QLabel(QStringLiteral("Battery 83%"), &window))->move(10, 10);
  window.show();
  return app.exec();
}
