#pragma once

#include "app/TraceFile.h"
#include "hid/HidTrace.h"

#include <QJsonObject>
#include <QString>

#include <chrono>
#include <iostream>
#include <memory>
#include <string>

namespace app {

// Writes the trace as JSON lines, one event a line, `t` in milliseconds since the writer was
// created. Each line goes out in one write as soon as it is made, so a program that is killed
// leaves a complete trace. A line that cannot be written whole is not written at all: the trace
// stops there, with one message on `err`.
class TraceWriter final : public hid::HidTrace {
public:
  // None, with `error` set, when the file cannot be created, is a pipe nothing reads, or is
  // `input` (the file the program reads, empty for none), also through a link: a trace never
  // overwrites it.
  static std::unique_ptr<TraceWriter> Open(const QString &path, QString &error,
                                           const QString &input = QString(),
                                           std::ostream &err = std::cerr);
  ~TraceWriter() override;
  TraceWriter(const TraceWriter &) = delete;
  TraceWriter &operator=(const TraceWriter &) = delete;

  void Feature(const std::string &path, FeatureOp op, const std::uint8_t *bytes, std::size_t length,
               bool ok) override;
  void Scan(std::size_t devices, bool changed) override;
  // A `state` event; `state` holds every field but `t` and `ev`.
  void State(const QJsonObject &state);
  // A `notification` event: what the user was told (`kind`, `title`, `body`) and where (`via`).
  void Notification(const QString &kind, const QString &title, const QString &body,
                    const QString &via);

  // Ends the trace. False when it is incomplete: a line failed, or closing did.
  bool Close();

private:
  TraceWriter(std::unique_ptr<TraceFile> file, QString path, std::ostream &err);
  long long Elapsed() const;
  void WriteLine(const std::string &event, const std::string &fields);
  void WriteObject(const std::string &event, QJsonObject fields);
  void Stop(int error);

  std::unique_ptr<TraceFile> m_file; // none once closed
  long long m_whole = 0;             // bytes of whole lines written
  bool m_stopped = false;
  const QString m_path;
  std::ostream &m_err;
  std::chrono::steady_clock::time_point m_start;
};

} // namespace app
