#pragma once

#include "platform/settings/SettingsStore.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace receiver {

// The user interface language. The value names are what the settings hold.
enum class TLngID : std::uint8_t { Eng = 0, Cht = 1, Chs = 2 };

inline constexpr std::array<TLngID, 3> AllLanguages = {TLngID::Eng, TLngID::Cht, TLngID::Chs};

// "Eng", "Cht" or "Chs".
std::string_view LanguageName(TLngID id);
// The language of a name, letter case ignored.
std::optional<TLngID> LanguageFromName(std::string_view name);

// The code page each language's texts are written in.
int LanguageCodePage(TLngID id);

enum class TermId : std::uint8_t {
  tmCPI = 0,
  tmHigh = 1,
  tmLow = 2,
  tmExit = 3,
  tmShow = 4,
  tmConnect = 5,
  tmConnecting = 6,
};

// One term: its id and its text per language, in TLngID order. The Chinese texts are the raw
// bytes of code page 950 (Traditional) and 936 (Simplified).
struct TTerm {
  std::uint8_t Id;
  std::array<std::string_view, 3> Texts;
};

// Consecutive hex escapes are split into separate literals where the next byte is a hex digit.
inline constexpr std::array<TTerm, 7> Terms = {{
    {0,
     {"CPI",
      "\xB8\xD1\xAA"
      "R\xAB\xD7",
      "\xBD\xE2\xCE\xF6\xB6\xC8"}},
    {1, {"HIGH", "  \xB0\xAA", "    \xB8\xDF"}},
    {2,
     {"LOW",
      "  \xA7"
      "C",
      "  \xB5\xCD"}},
    {3, {"&Exit", "\xB5\xB2\xA7\xF4", "\xBD\xE1\xCA\xF8"}},
    {4, {"&Show", "\xC5\xE3\xA5\xDC", "\xCF\xD4\xCA\xBE"}},
    {5,
     {"&Connect",
      "\xB9\xEF\xBD"
      "X",
      "\xB6\xD4\xC2\xEB"}},
    {6,
     {"&Connecting",
      "\xB9\xEF\xBD"
      "X\xA4\xA4",
      "\xB6\xD4\xC2\xEB\xD6\xD0"}},
}};

// A text together with the code page its bytes are in.
struct TermText {
  std::string Bytes;
  int CodePage = 1252;

  bool operator==(const TermText &) const = default;
};

// The code-page lists for the first choice of language.
TLngID LanguageForCodePage(int codePage);

// The window's controls as the language logic sees them.
class LanguageView {
public:
  virtual ~LanguageView() = default;

  // mniEng, mniCht, mniChs.
  virtual void SetLanguageItemChecked(TLngID item, bool checked) = 0;
  // imgBattEng, imgBattCht, imgBattChs.
  virtual void SetBatteryPictureVisible(TLngID picture, bool visible) = 0;
  virtual void SetCPILabelFontSize(int points) = 0;
  virtual void SetCPILabelTop(int top) = 0;
  virtual void SetCPIBoxLeft(int left) = 0;
  virtual void SetCPIBoxHeight(int height) = 0;
  virtual void SetCPILabelCaption(const TermText &text) = 0;
  virtual void SetPairingButtonCaption(const TermText &text) = 0;
  virtual void SetExitCaption(const TermText &text) = 0;
  virtual void SetShowCaption(const TermText &text) = 0;
  // True while tmrSoftBind runs.
  virtual bool PairingTimerRunning() const = 0;
};

// The current language with its load, save and apply steps.
class Languages {
public:
  static constexpr const char *RegistryKey = "Software\\KESTRAVO\\TELVARIN";
  static constexpr const char *RegistryValue = "LngSection";

  explicit Languages(platform::SettingsStore &settings) : m_settings(settings) {}

  TLngID Language() const { return m_language; }

  // The text of a term in the current language; none for an id not in the table.
  std::optional<TermText> GetTerm(std::uint8_t id) const;
  std::optional<TermText> GetTerm(TermId id) const {
    return GetTerm(static_cast<std::uint8_t>(id));
  }
  // GetTerm, with an empty text for an unknown id.
  TermText Term(TermId id) const;

  // Reads the stored language; without a valid one, picks it from `ansiCodePage` and stores
  // that. Applies the result.
  void LoadLanguage(int ansiCodePage, LanguageView &view);
  // False when the store refused the write; callers do not report it.
  bool SaveLanguage();
  void ApplyLanguage(LanguageView &view) const;
  // A language menu item: its name is "mni" followed by a language name.
  void mniLanguageClick(std::string_view senderName, LanguageView &view);

private:
  platform::SettingsStore &m_settings;
  TLngID m_language = TLngID::Eng;
};

} // namespace receiver
