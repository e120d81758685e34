// The baseline for bench_startup: an empty Qt Widgets window that ends at its first paint.
#include <QApplication>
#include <QTimer>
#include <QWidget>

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
  QApplication app(argc, argv);
  FirstPaintQuits window;
  window.resize(220, 270);
  window.show();
  return app.exec();
}
