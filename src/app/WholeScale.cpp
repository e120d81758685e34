#include "app/WholeScale.h"

#include "framework/Canvas.h"

#include <QGuiApplication>
#include <QList>

#include <cmath>

namespace app {

namespace {

QByteArray wholeFactor(const QByteArray &text) {
  bool ok = false;
  const double factor = text.trimmed().toDouble(&ok);
  if (!ok || !std::isfinite(factor)) return text;
  return QByteArray::number(framework::WholeRatio(factor));
}

} // namespace

QByteArray WholeScaleFactors(const QByteArray &value) {
  QList<QByteArray> entries = value.split(';');
  for (QByteArray &entry : entries) {
    const qsizetype named = entry.indexOf('=');
    entry =
        named < 0 ? wholeFactor(entry) : entry.left(named + 1) + wholeFactor(entry.mid(named + 1));
  }
  return entries.join(';');
}

void UseWholeScaleFactors() {
  QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Round);
  for (const char *name : {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS"})
    if (qEnvironmentVariableIsSet(name)) qputenv(name, WholeScaleFactors(qgetenv(name)));
}

} // namespace app
