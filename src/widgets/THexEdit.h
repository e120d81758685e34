#pragma once

#include "framework/WindowlessControl.h"
#include "skin/TsuiEdit.h"

#include <cstdint>
#include <optional>

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

// An edit box for hexadecimal numbers: typed characters other than hexadecimal digits are
// dropped while IsFilter is set.
class THexEdit : public TVeskEdit {
public:
  explicit THexEdit(QWidget *parent);

  bool IsFilter() const { return m_isFilter; }
  void SetIsFilter(bool value) { m_isFilter = value; }

  // The text as a hexadecimal number; an empty text is 0. None for a text that is not one
  // (or does not fit in 32 bits).
  std::optional<std::int64_t> GetValue() const;
  // Upper-case hexadecimal without leading zeros; 0 and below give an empty text.
  void SetValue(std::int64_t value);

  // Whether a typed character passes the filter.
  bool Accepts(const QString &typed) const;

protected:
  void keyPressEvent(QKeyEvent *event) override;

private:
  bool m_isFilter = true;
};

} // namespace widgets
