#include "receiver/Languages.h"

#include <algorithm>
#include <cctype>

namespace receiver {
namespace {

constexpr std::array<std::string_view, 3> LanguageNames = {"Eng", "Cht", "Chs"};

constexpr std::array<int, 5> SimplifiedCodePages = {936, 10008, 50935, 51936, 52936};
constexpr std::array<int, 5> TraditionalCodePages = {950, 10002, 20000, 20002, 50937};

std::size_t index(TLngID id) {
  return static_cast<std::size_t>(id);
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) ==
                  std::toupper(static_cast<unsigned char>(y));
         });
}

} // namespace

std::string_view LanguageName(TLngID id) {
  return LanguageNames.at(index(id));
}

std::optional<TLngID> LanguageFromName(std::string_view name) {
  for (const TLngID id : AllLanguages)
    if (equalsIgnoringCase(name, LanguageName(id))) return id;
  return std::nullopt;
}

int LanguageCodePage(TLngID id) {
  switch (id) {
  case TLngID::Cht:
    return 950;
  case TLngID::Chs:
    return 936;
  case TLngID::Eng:
    break;
  }
  return 1252;
}

TLngID LanguageForCodePage(int codePage) {
  if (std::ranges::find(SimplifiedCodePages, codePage) != SimplifiedCodePages.end())
    return TLngID::Chs;
  if (std::ranges::find(TraditionalCodePages, codePage) != TraditionalCodePages.end())
    return TLngID::Cht;
  return TLngID::Eng;
}

std::optional<TermText> Languages::GetTerm(std::uint8_t id) const {
  for (const TTerm &term : Terms)
    if (term.Id == id)
      return TermText{std::string(term.Texts.at(index(m_language))), LanguageCodePage(m_language)};
  return std::nullopt;
}

TermText Languages::Term(TermId id) const {
  return GetTerm(id).value_or(TermText{{}, LanguageCodePage(m_language)});
}

void Languages::LoadLanguage(int ansiCodePage, LanguageView &view) {
  const std::string stored = m_settings.ReadString(RegistryKey, RegistryValue).value_or("");
  const std::optional<TLngID> named = LanguageFromName(stored);
  if (named) {
    m_language = *named;
  } else {
    m_language = LanguageForCodePage(ansiCodePage);
    SaveLanguage();
  }
  ApplyLanguage(view);
}

bool Languages::SaveLanguage() {
  return m_settings.WriteString(RegistryKey, RegistryValue, std::string(LanguageName(m_language)));
}

void Languages::ApplyLanguage(LanguageView &view) const {
  for (const TLngID id : AllLanguages)
    view.SetLanguageItemChecked(id, id == m_language);
  // The pictures share one spot; set them in the window's own order.
  for (const TLngID id : {TLngID::Cht, TLngID::Chs, TLngID::Eng})
    view.SetBatteryPictureVisible(id, id == m_language);

  if (m_language == TLngID::Eng) {
    view.SetCPILabelFontSize(12);
    view.SetCPILabelTop(125);
    view.SetCPIBoxLeft(40);
  } else {
    view.SetCPILabelFontSize(10);
    view.SetCPILabelTop(127);
    view.SetCPIBoxLeft(58);
    view.SetCPIBoxHeight(24);
  }

  view.SetCPILabelCaption(Term(TermId::tmCPI));
  view.SetPairingButtonCaption(
      Term(view.PairingTimerRunning() ? TermId::tmConnecting : TermId::tmConnect));
  view.SetExitCaption(Term(TermId::tmExit));
  view.SetShowCaption(Term(TermId::tmShow));
}

void Languages::mniLanguageClick(std::string_view senderName, LanguageView &view) {
  constexpr std::string_view prefix = "mni";
  if (senderName.size() < prefix.size()) return;
  // Only the three language items call this; any other name leaves the language alone.
  const std::optional<TLngID> chosen = LanguageFromName(senderName.substr(prefix.size()));
  if (!chosen) return;
  m_language = *chosen;
  SaveLanguage();
  ApplyLanguage(view);
}

} // namespace receiver
