#pragma once

#include <QAccessibleTextInterface>
#include <QString>

namespace framework {

// The text interface of a control whose text assistive technology reads but does not change:
// no caret, no selection, no character places. Offsets count UTF-16 code units, as Qt's do; an
// end offset of -1 or past the text means its end.
class ReadOnlyAccessibleText : public QAccessibleTextInterface {
public:
  void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
  int selectionCount() const override { return 0; }
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int) override {}
  QString text(int startOffset, int endOffset) const override;
  int characterCount() const override { return static_cast<int>(ReadText().size()); }
  QRect characterRect(int) const override { return {}; }
  int offsetAtPoint(const QPoint &) const override { return -1; }
  void scrollToSubstring(int, int) override {}
  QString attributes(int offset, int *startOffset, int *endOffset) const override;

protected:
  virtual QString ReadText() const = 0;
};

} // namespace framework
