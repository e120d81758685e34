#pragma once

#include "hid/HidTrace.h"

#include <QJsonObject>
#include <QString>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

namespace app {

// Writes the trace as JSON lines, one event a line, `t` in milliseconds since the writer was
// created. Every line is flushed at once, so a program that is killed leaves a complete trace.
class TraceWriter final : public hid::HidTrace {
public:
  // None, with `error` set, when the file cannot be created.
  static std::unique_ptr<TraceWriter> Open(const QString &path, QString &error);

  void Feature(const std::string &path, FeatureOp op, const std::uint8_t *bytes, std::size_t length,
               bool ok) override;
  void Scan(std::size_t devices, bool changed) override;
  // A `state` event; `state` holds every field but `t` and `ev`.
  void State(const QJsonObject &state);

private:
  struct FileCloser {
    void operator()(std::FILE *file) const { std::fclose(file); }
  };

  explicit TraceWriter(std::unique_ptr<std::FILE, FileCloser> file);
  long long Elapsed() const;
  void WriteLine(const std::string &event, const std::string &fields);

  std::unique_ptr<std::FILE, FileCloser> m_file;
  std::chrono::steady_clock::time_point m_start;
};

} // namespace app
