#pragma once

// Runs the real program for end-to-end tests: its own home and settings folder, the offscreen
// platform, a fixed locale, and a time limit after which it is killed and the test fails.

#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <optional>
#include <vector>

namespace testcommon {

struct ProgramOutcome {
  bool Ended = false; // false: killed at the time limit
  QProcess::ExitStatus Status = QProcess::CrashExit;
  int Code = -1;
  QString Err;
  QString Out;
};

class ProgramHome {
public:
  ProgramHome();
  bool IsValid() const { return m_dir.isValid(); }
  QString Path() const { return m_dir.path(); }
  QString FilePath(const QString &name) const { return m_dir.filePath(name); }
  QString SettingsFile() const;
  // What the program runs with; tests may change it before Start.
  QProcessEnvironment Environment;

  // The program started in this home as its current directory; waits until it runs.
  std::unique_ptr<QProcess> Start(const QStringList &arguments) const;
  // Waits for the end; kills the program and fails the test after `timeoutMs`.
  static ProgramOutcome Finish(QProcess &process, int timeoutMs = 30000);
  ProgramOutcome Run(const QStringList &arguments, int timeoutMs = 30000) const;
  // Runs with --trace to a fresh trace.jsonl in the home, expects a clean exit 0 and gives the
  // trace's events (none when it cannot be read).
  std::vector<QJsonObject> RunTraced(const QStringList &arguments, int timeoutMs = 30000) const;

  // `content` as the file `name` in the home; its path.
  QString Write(const QString &name, const QByteArray &content) const;
  // No platform plugin chosen and no display to connect to.
  void WithoutDisplay();

private:
  QTemporaryDir m_dir;
};

// Every line of a trace as an object; none, with the test failed, when a line is not one.
std::optional<std::vector<QJsonObject>> ReadTrace(const QString &path);
// The events whose "ev" is `kind`, in order.
std::vector<QJsonObject> EventsOf(const std::vector<QJsonObject> &events, const QString &kind);
// The whole file; empty when it cannot be read.
QByteArray FileContent(const QString &path);

} // namespace testcommon
