#include "common/ProgramRun.h"

#include <QFile>
#include <QJsonDocument>
#include <QSettings>
#include <QSysInfo>

#include <gtest/gtest.h>

namespace testcommon {

ProgramHome::ProgramHome() : Environment(QProcessEnvironment::systemEnvironment()) {
  Environment.insert("QT_QPA_PLATFORM", "offscreen");
  Environment.insert("HOME", m_dir.path());
  Environment.insert("XDG_CONFIG_HOME", m_dir.filePath("config"));
  // The battery history's folder: Linux's, and Windows' (whose names ignore case).
  Environment.insert("XDG_STATE_HOME", m_dir.filePath("state"));
  Environment.insert("LOCALAPPDATA", m_dir.filePath("state"));
  Environment.insert("LANG", "C.UTF-8");
  Environment.remove("LC_ALL");
  Environment.remove("LC_CTYPE");
  // The interface language comes from these first; the tester's own must not decide.
  Environment.remove("LANGUAGE");
  Environment.remove("LC_MESSAGES");
  // Windows keeps the settings in the user's registry, not the home: each home starts afresh.
  if (QSysInfo::productType() == QLatin1String("windows"))
    QSettings(QStringLiteral("HKEY_CURRENT_USER\\Software\\KESTRAVO"), QSettings::NativeFormat)
        .remove(QStringLiteral("TELVARIN"));
}

QString ProgramHome::SettingsFile() const {
  return m_dir.filePath("config/KESTRAVO/TELVARIN.conf");
}

std::unique_ptr<QProcess> ProgramHome::Start(const QStringList &arguments) const {
  auto process = std::make_unique<QProcess>();
  process->setProcessEnvironment(Environment);
  process->setWorkingDirectory(m_dir.path());
  process->start(QUELVANE_BINARY, arguments);
  EXPECT_TRUE(process->waitForStarted(10000)) << "the program did not start";
  return process;
}

ProgramOutcome ProgramHome::Finish(QProcess &process, int timeoutMs) {
  ProgramOutcome outcome;
  outcome.Ended = process.waitForFinished(timeoutMs);
  if (!outcome.Ended) {
    process.kill();
    process.waitForFinished(5000);
  }
  outcome.Status = process.exitStatus();
  outcome.Code = process.exitCode();
  // Windows' text streams end lines in CR LF: the tests read lines.
  outcome.Err = QString::fromUtf8(process.readAllStandardError()).replace("\r\n", "\n");
  outcome.Out = QString::fromUtf8(process.readAllStandardOutput()).replace("\r\n", "\n");
  EXPECT_TRUE(outcome.Ended) << "the program did not end; stderr: " << outcome.Err.toStdString();
  return outcome;
}

ProgramOutcome ProgramHome::Run(const QStringList &arguments, int timeoutMs) const {
  const auto process = Start(arguments);
  return Finish(*process, timeoutMs);
}

std::vector<QJsonObject> ProgramHome::RunTraced(const QStringList &arguments, int timeoutMs) const {
  const QString trace = FilePath("trace.jsonl");
  QFile::remove(trace);
  const ProgramOutcome outcome = Run(QStringList(arguments) << "--trace=" + trace, timeoutMs);
  EXPECT_EQ(outcome.Status, QProcess::NormalExit);
  EXPECT_EQ(outcome.Code, 0) << outcome.Err.toStdString();
  return outcome.Ended ? ReadTrace(trace).value_or(std::vector<QJsonObject>{})
                       : std::vector<QJsonObject>{};
}

QString ProgramHome::Write(const QString &name, const QByteArray &content) const {
  QFile file(FilePath(name));
  EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(content) == content.size())
      << name.toStdString();
  return file.fileName();
}

void ProgramHome::WithoutDisplay() {
  for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
    Environment.remove(name);
}

std::vector<QJsonObject> EventsOf(const std::vector<QJsonObject> &events, const QString &kind) {
  std::vector<QJsonObject> out;
  for (const QJsonObject &event : events)
    if (event.value("ev").toString() == kind) out.push_back(event);
  return out;
}

QByteArray FileContent(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::optional<std::vector<QJsonObject>> ReadTrace(const QString &path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    ADD_FAILURE() << "no trace written";
    return std::nullopt;
  }
  std::vector<QJsonObject> events;
  for (const QByteArray &line : file.readAll().split('\n')) {
    if (line.isEmpty()) continue;
    const QJsonDocument document = QJsonDocument::fromJson(line);
    if (!document.isObject()) {
      ADD_FAILURE() << "trace line is not an object: " << line.toStdString();
      return std::nullopt;
    }
    events.push_back(document.object());
  }
  return events;
}

} // namespace testcommon
