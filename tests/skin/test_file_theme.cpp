#include "SkinTestHelpers.h"
#include "ThemeFileSamples.h"
#include "common/QtMessages.h"

#include "skin/TsuiFileTheme.h"
#include "skin/style/StyleReads.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QWidget>

using namespace skin;
using namespace skin::test;
using theme::ThemeEntry;

namespace {

// A folder standing in for the program's, and files written into it.
struct FileTheme : testing::Test {
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    theme.SetProgramFolder(folder.path());
  }
  std::string Write(const std::string &name, const Bytes &bytes) {
    return WriteFile(folder.path().toStdString() + "/" + name, bytes);
  }
  std::string Write(const std::string &name, const std::vector<ThemeEntry> &entries) {
    return Write(name, *theme::WriteThemeFile(entries));
  }
  QTemporaryDir folder;
  QWidget form;
  TsuiFileTheme theme{&form};
};

// What Reapply said, in order.
struct Notices {
  explicit Notices(TsuiFileTheme &theme) {
    QObject::connect(&theme, &TsuiFileTheme::Reapply,
                     [this](bool replaced) { Said.push_back(replaced); });
  }
  std::vector<bool> Said;
};

QImage Marker() {
  return Solid(QSize(3, 3), Qt::green);
}

} // namespace

TEST_F(FileTheme, ReadsGiveTheFilesValuesAndNeutralOnesForWhatItLacks) {
  const QImage before = Marker();
  const auto expectNeutral = [&](const char *when) {
    QImage bitmap = before;
    theme.GetImage("TitleBarLeftImage", bitmap);
    EXPECT_EQ(bitmap, before) << when;
    theme.GetImagePart("TitleBarLeftImage", bitmap, 1, 3);
    EXPECT_EQ(bitmap, before) << when;
    EXPECT_EQ(theme.GetColor("FormBorderColor"), style::AbsentColor) << when;
    EXPECT_EQ(theme.GetInt("FormRoundCornerInt"), -1) << when;
    EXPECT_FALSE(theme.GetBool("TitleBarButtonTransparentBool")) << when;
  };
  expectNeutral("nothing loaded");

  Write("sample.thm", SampleEntries());
  theme.SetThemeFile("sample.thm");
  ASSERT_TRUE(theme.Loaded());
  expectNeutral("entries the file lacks");
  EXPECT_EQ(theme.GetInt("FormMinWidthInt"), 130);
  EXPECT_EQ(theme.GetColor("FormMinWidthInt"), 130u);
  EXPECT_TRUE(theme.GetBool("ButtonTransparentBool"));
  // Asked as another kind, an entry is missing.
  EXPECT_EQ(theme.GetInt("ButtonTransparentBool"), -1);
  EXPECT_EQ(theme.GetInt("Author"), -1);
  EXPECT_FALSE(theme.GetBool("FormMinWidthInt"));
  QImage bitmap = before;
  theme.GetImage("FormMinWidthInt", bitmap);
  EXPECT_EQ(bitmap, before);
}

TEST_F(FileTheme, ImagesKeepTheirPixelsAndStripsAreCutInEqualParts) {
  Write("sample.thm", SampleEntries());
  theme.SetThemeFile("sample.thm");
  QImage whole;
  theme.GetImage("ButtonImage", whole);
  ASSERT_EQ(whole.size(), QSize(6, 2));
  for (int i = 0; i < 12; ++i)
    EXPECT_EQ(whole.pixel(i % 6, i / 6) & 0xFFFFFFu,
              0x102030u * static_cast<unsigned>(i + 1) & 0xFFFFFFu)
        << "pixel " << i;

  // The cutting itself is the style strips' (their table has the bounds); here a cut, the
  // remainder left over, count 0 for the whole picture and a refused cut leaving the bitmap.
  struct Cut {
    int Part, Count;
    int X, Width; // where the part lies in the whole; Width 0: bitmap unchanged
  };
  for (const Cut &c : {Cut{3, 3, 4, 2}, {2, 4, 1, 1}, {0, 0, 0, 6}, {1, 7, 0, 0}}) {
    QImage part = Marker();
    theme.GetImagePart("ButtonImage", part, c.Part, c.Count);
    const QImage expected = c.Width ? whole.copy(c.X, 0, c.Width, 2) : Marker();
    EXPECT_EQ(part, expected) << "part " << c.Part << " of " << c.Count;
  }
}

TEST_F(FileTheme, ARefusedFileChangesNothingAndSaysWhy) {
  Write("good.thm", SampleEntries());
  theme.SetThemeFile("good.thm");
  Bytes badSignature = SampleFile();
  badSignature[3] = 'x';
  Bytes loop = SampleFile();
  SetU32(loop, EntryOffset(loop, 3) + NextAt, static_cast<std::uint32_t>(EntryOffset(loop, 1)));
  // An information header of a length no bitmap version has: the header check lets it pass (it
  // reads only the fields all versions share), the decoder not.
  Bytes undecodable = SampleBitmap();
  SetU32(undecodable, 14, 44);
  undecodable.insert(undecodable.begin() + 54, 4, 0);
  SetU32(undecodable, 10, 58);
  // Five colours for a one-bit picture: the decoder would complain to Qt's log about each extra.
  Bytes overfull = SampleBitmap();
  overfull[28] = 1;
  SetU32(overfull, 46, 5);
  const std::vector<std::pair<Bytes, std::string>> refused = {
      {badSignature, "no theme file signature"},
      {loop, "entry chain loops"},
      {*theme::WriteThemeFile({{ThemeEntry::Image("ButtonImage", undecodable)}}), "decoded"},
      {SharedDataFile(theme::ThemeEntryKind::Image, overfull, 1), "not a readable bitmap"},
  };
  const testcommon::QtMessages qt;
  for (const auto &[bytes, detail] : refused) {
    const std::string path = Write("bad.thm", bytes);
    try {
      theme.SetThemeFile("bad.thm");
      ADD_FAILURE() << detail << " was accepted";
    } catch (const theme::EInvalidSkinFile &e) {
      EXPECT_STREQ(e.what(), "Invalid skin file for Marbelo!");
      EXPECT_NE(e.Detail().find(detail), std::string::npos) << e.Detail();
      EXPECT_NE(e.Detail().find(path), std::string::npos) << e.Detail();
    }
    EXPECT_EQ(theme.ThemeFile(), "good.thm");
    EXPECT_EQ(theme.GetInt("FormMinWidthInt"), 130);
  }
  EXPECT_TRUE(qt.Said().isEmpty()) << qt.Said().join('\n').toStdString();
}

TEST_F(FileTheme, EntriesWithTheSameDataShareOnePicture) {
  Write("shared.thm", SharedDataFile(theme::ThemeEntryKind::Image, SampleBitmap(), 3));
  theme.SetThemeFile("shared.thm");
  QImage first, last;
  theme.GetImage("E0", first);
  theme.GetImage("E2", last);
  ASSERT_EQ(first.size(), QSize(6, 2));
  EXPECT_EQ(first.cacheKey(), last.cacheKey()) << "decoded once";
}

TEST_F(FileTheme, AMissingFileOrTheSameNameChangesNothingQuietly) {
  Write("good.thm", SampleEntries());
  theme.SetThemeFile("good.thm");
  Notices reapply(theme);
  theme.SetThemeFile("missing.thm");
  EXPECT_EQ(theme.ThemeFile(), "good.thm");
  Write("good.thm", {ThemeEntry::Integer("FormMinWidthInt", 7)});
  theme.SetThemeFile("good.thm");
  EXPECT_EQ(theme.GetInt("FormMinWidthInt"), 130) << "the same name is not read again";
  EXPECT_TRUE(reapply.Said.empty());
}

TEST_F(FileTheme, TheOwnerFormsControlsAreToldToReapplyOnEveryLoad) {
  Notices reapply(theme);
  Write("a.thm", SampleEntries());
  Write("b.thm", {ThemeEntry::Integer("FormMinWidthInt", 270)});
  theme.SetThemeFile("a.thm");
  theme.SetThemeFile(folder.path() + "/b.thm");
  ASSERT_EQ(reapply.Said.size(), 2u);
  EXPECT_FALSE(reapply.Said[0]) << "the first file";
  EXPECT_TRUE(reapply.Said[1]) << "a later file: the form recomputes its frame";
  EXPECT_EQ(theme.GetInt("FormMinWidthInt"), 270);
  EXPECT_EQ(theme.GetInt("ButtonTransparentBool"), -1) << "nothing of the first file is left";

  QWidget window;
  QWidget control(&window);
  TsuiFileTheme onControl(&control);
  onControl.SetProgramFolder(folder.path());
  Notices notOnForm(onControl);
  onControl.SetThemeFile("a.thm");
  EXPECT_TRUE(onControl.Loaded());
  EXPECT_TRUE(notOnForm.Said.empty()) << "its owner is no form";
}
