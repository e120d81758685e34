#pragma once

#include <QString>

#include <functional>

namespace skin {

// The texts the skin shows, in one place so that a translation can replace them.
struct SkinStrings {
  QString SystemMenuMinimize = QStringLiteral("Mi&nimize");
  QString SystemMenuMaximizeRestore = QStringLiteral("Ma&ximize/Restore");
  QString SystemMenuClose = QStringLiteral("&Close");
  QString OneControlBox =
      QStringLiteral("Sorry, only one button's ButtonType property can be \"suiControlBox\"");
  QString OneClientSection =
      QStringLiteral("Sorry, only one section's Align property can be \"suiClient\"");
};

const SkinStrings &Strings();
void SetStrings(SkinStrings strings);

// Reports a refused property value the way the skin does: an error message box with OK. The
// handler can be replaced (tests record the text); the previous one is returned.
using ErrorReporter = std::function<void(const QString &)>;
void ShowSkinError(const QString &text);
ErrorReporter SetErrorReporter(ErrorReporter reporter);

} // namespace skin
