#include "framework/ReadOnlyAccessibleText.h"

#include <algorithm>

namespace framework {

void ReadOnlyAccessibleText::selection(int, int *startOffset, int *endOffset) const {
  *startOffset = 0;
  *endOffset = 0;
}

QString ReadOnlyAccessibleText::text(int startOffset, int endOffset) const {
  const QString whole = ReadText();
  const int size = static_cast<int>(whole.size());
  const int end = endOffset < 0 ? size : std::min(endOffset, size);
  const int start = std::clamp(startOffset, 0, end);
  return whole.mid(start, end - start);
}

QString ReadOnlyAccessibleText::attributes(int, int *startOffset, int *endOffset) const {
  // One run without attributes covers the whole text.
  *startOffset = 0;
  *endOffset = characterCount();
  return QString();
}

} // namespace framework
