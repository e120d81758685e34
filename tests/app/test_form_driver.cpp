#include "FormFixture.h"

#include "app/StateTrace.h"
#include "app/TraceWriter.h"
#include "app/WindowDriver.h"
#include "skin/TsuiPopupMenu.h"
#include "tray/CoolTrayIcon.h"

#include <QFile>
#include <QImage>
#include <QRegularExpression>

#ifndef _WIN32
#include <sys/stat.h>
#endif

using namespace app;
using namespace app::test;

namespace {

class FormDriver : public FormFixture {
protected:
  void SetUp() override {
    Form = Create(1252);
    Form->show();
    QString error;
    Writer = TraceWriter::Open(Dir.filePath("trace.jsonl"), error);
    ASSERT_TRUE(Writer) << error.toStdString();
    Trace = std::make_unique<StateTrace>(*Form, *Writer);
    Driver = std::make_unique<WindowDriver>(*Form, Trace.get());
  }
  void TearDown() override {
    Driver.reset();
    Trace.reset();
    Form.reset();
  }
  std::vector<QJsonObject> States() const { return TraceEvents("trace.jsonl", "state"); }

  std::unique_ptr<TForm1> Form;
  std::unique_ptr<TraceWriter> Writer;
  std::unique_ptr<StateTrace> Trace;
  std::unique_ptr<WindowDriver> Driver;
};

} // namespace

TEST_F(FormDriver, StateIsWrittenOnceAndAgainOnlyWhenItChanges) {
  ASSERT_EQ(States().size(), 1U);
  EXPECT_FALSE(Trace->Check());
  ASSERT_TRUE(Driver->Menu("mniChs"));
  const auto written = States();
  ASSERT_EQ(written.size(), 2U);
  const QJsonObject before = written[0], after = written[1];
  EXPECT_EQ(before.value("language").toString(), "Eng");
  EXPECT_EQ(after.value("language").toString(), "Chs");
  EXPECT_EQ(after.value("button").toObject().value("caption").toString(), QStringLiteral(u"对码"));
  EXPECT_TRUE(after.value("window_visible").toBool());
  // The rest of the state belongs to the receiver logic; here only its shape counts.
  EXPECT_TRUE(after.value("cpi").isString());
  EXPECT_TRUE(after.value("label").isString());
  const QJsonObject gauge = after.value("gauge").toObject(), led = after.value("led").toObject();
  EXPECT_TRUE(gauge.value("max").isDouble());
  EXPECT_TRUE(gauge.value("value").isDouble());
  EXPECT_TRUE(after.value("button").toObject().value("enabled").isBool());
  EXPECT_TRUE(led.value("blink").isBool());
  const QRegularExpression colour("^0x00[0-9A-F]{6}$");
  EXPECT_TRUE(colour.match(gauge.value("color").toString()).hasMatch());
  EXPECT_TRUE(colour.match(led.value("color").toString()).hasMatch());
  EXPECT_FALSE(after.value("timers").toObject().value("pairing").toBool());
  EXPECT_EQ(Settings.Language(), "Chs");
}

TEST_F(FormDriver, TimerChangesAreCaughtWithoutAStep) {
  Form->tmrSoftBind->SetEnabled(true);
  EXPECT_TRUE(Trace->Check());
  EXPECT_TRUE(States().back().value("timers").toObject().value("pairing").toBool());
  Form->tmrSoftBind->SetEnabled(false);
}

TEST_F(FormDriver, TitleButtonsAndTrayHideAndShowTheWindow) {
  EXPECT_FALSE(Driver->TitleButton(3)); // hidden minimise button
  EXPECT_FALSE(Driver->TitleButton(9));
  ASSERT_TRUE(Driver->TitleButton(4));
  EXPECT_FALSE(Form->isVisible());
  EXPECT_FALSE(States().back().value("window_visible").toBool());
  ASSERT_TRUE(Driver->Tray(TrayAction::DoubleClick));
  EXPECT_TRUE(Form->isVisible());
  EXPECT_TRUE(States().back().value("window_visible").toBool());
  Form->setWindowState(Qt::WindowMinimized);
  EXPECT_TRUE(Trace->Check());
  EXPECT_TRUE(States().back().value("window_minimized").toBool());
  EXPECT_TRUE(States().back().value("window_visible").toBool());
}

TEST_F(FormDriver, UnknownNamesAreRefused) {
  EXPECT_FALSE(Driver->Click("btnNothing"));
  EXPECT_FALSE(Driver->Click("lblCPI")); // a plain label takes no clicks
  EXPECT_FALSE(Driver->Menu("mniNothing"));
  EXPECT_TRUE(Driver->Click("btnCPI")); // outside the window, but it works
  EXPECT_TRUE(Driver->Menu("mniConfigure"));
}

TEST_F(FormDriver, ScreenshotShowsTheWholeWindow) {
  const QString path = Dir.filePath("shot.png");
  ASSERT_TRUE(Driver->Screenshot(path));
  const QImage shot(path);
  ASSERT_EQ(shot.size(), QSize(220, 270));
  // The frame's black border and the title band's dark blue.
  EXPECT_EQ(shot.pixelColor(0, 150), QColor(Qt::black));
  EXPECT_EQ(shot.pixelColor(150, 20), QColor(0x21, 0x25, 0x75));
#ifndef _WIN32
  // A full device and a FIFO without a reader are refused at once, not written or waited on.
  const QString fifo = Dir.filePath("fifo");
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  for (const QString &bad : {Dir.filePath("missing/dir/shot.png"), QString("/dev/full"), fifo})
    EXPECT_FALSE(Driver->Screenshot(bad)) << bad.toStdString();
#endif
}

TEST_F(FormDriver, LastStateIsWrittenWhenTheTraceEnds) {
  // A change the poll has not seen yet, as at quit.
  Form->tmrStatus->SetEnabled(true);
  Driver.reset();
  Trace.reset();
  EXPECT_TRUE(States().back().value("timers").toObject().value("status").toBool());
  Form->tmrStatus->SetEnabled(false);
}
