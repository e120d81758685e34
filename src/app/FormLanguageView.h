#pragma once

#include "app/FormComponents.h"
#include "framework/Fonts.h"
#include "receiver/Languages.h"

namespace app {

// The language logic's view of the main window's controls. Keeps the CPI caption's font, whose
// height follows the language.
class FormLanguageView final : public receiver::LanguageView {
public:
  explicit FormLanguageView(FormComponents &components);

  const framework::FontDesc &CPILabelFont() const { return m_lblCPIFont; }

  void SetLanguageItemChecked(receiver::TLngID item, bool checked) override;
  void SetBatteryPictureVisible(receiver::TLngID picture, bool visible) override;
  void SetCPILabelFontSize(int points) override;
  void SetCPILabelTop(int top) override;
  void SetCPIBoxLeft(int left) override;
  void SetCPIBoxHeight(int height) override;
  void SetCPILabelCaption(const receiver::TermText &text) override;
  void SetPairingButtonCaption(const receiver::TermText &text) override;
  void SetExitCaption(const receiver::TermText &text) override;
  void SetShowCaption(const receiver::TermText &text) override;
  bool PairingTimerRunning() const override;

private:
  FormComponents &m_form;
  framework::FontDesc m_lblCPIFont;
};

} // namespace app
