#pragma once

#include "framework/WindowlessControl.h"
#include "skin/TsuiEdit.h"

#include <cstdint>

namespace widgets {

// A skinned edit box with a text alignment.
class TVeskEdit : public skin::TsuiEdit {
public:
  explicit TVeskEdit(QWidget *parent);

  framework::TAlignment Alignment() const { return m_alignment; }
  void SetAlignment(framework::TAlignment value);

private:
  framework::TAlignment m_alignment = framework::TAlignment::taLeftJustify;
};

// An edit box for hexadecimal numbers: while IsFilter is set, typed characters other than the
// hexadecimal digits and backspace are dropped. Text put in otherwise (pasted from the context
// menu, set by the program) is taken as it is.
class THexEdit : public TVeskEdit {
public:
  explicit THexEdit(QWidget *parent);

  bool IsFilter() const { return m_isFilter; }
  void SetIsFilter(bool value) { m_isFilter = value; }

  // The text as a hexadecimal number, 0 for an empty text. Throws framework::EConvertError for
  // a text that is not one or does not fit in 32 bits.
  std::int64_t GetValue() const;
  // Upper-case hexadecimal without leading zeros; 0 and below give an empty text.
  void SetValue(std::int64_t value);

  // Whether a typed text passes the filter.
  bool Accepts(const QString &typed) const;

protected:
  // Every event of the edit box passes here first; descendants may replace it. Answers whether
  // the event was handled.
  virtual bool HexWndProc(QEvent *event);
  // What the edit box did with its events before the filter was put in front.
  bool OldWndProc(QEvent *event) { return TVeskEdit::event(event); }

  bool event(QEvent *event) final { return HexWndProc(event); }

private:
  bool m_isFilter = true;
};

} // namespace widgets
