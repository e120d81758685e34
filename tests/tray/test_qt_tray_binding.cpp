#include "framework/QMenuPopup.h"
#include "platform/QtTrayBinding.h"
#include "tray/CoolTrayIcon.h"

#include <QAction>
#include <QMenu>
#include <QPixmap>
#include <gmock/gmock.h>

using platform::QtTrayBinding;
using platform::TrayMouseMessage;
using testing::ElementsAre;

namespace {

QIcon redIcon() {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::red);
  return QIcon(pixmap);
}

TEST(QtTrayBinding, EveryActivationIsAPressAndReleasePairDeliveredAtThePress) {
  EXPECT_THAT(QtTrayBinding::messagesFor(QSystemTrayIcon::Trigger),
              ElementsAre(TrayMouseMessage::LeftButtonDown, TrayMouseMessage::LeftButtonUp));
  EXPECT_THAT(QtTrayBinding::messagesFor(QSystemTrayIcon::DoubleClick),
              ElementsAre(TrayMouseMessage::LeftButtonDblClk, TrayMouseMessage::LeftButtonUp));
  EXPECT_THAT(QtTrayBinding::messagesFor(QSystemTrayIcon::Context),
              ElementsAre(TrayMouseMessage::RightButtonDown, TrayMouseMessage::RightButtonUp));
  EXPECT_THAT(QtTrayBinding::messagesFor(QSystemTrayIcon::MiddleClick),
              ElementsAre(TrayMouseMessage::MiddleButtonDown, TrayMouseMessage::MiddleButtonUp));
  EXPECT_TRUE(QtTrayBinding::messagesFor(QSystemTrayIcon::Unknown).empty());
}

TEST(QtTrayBinding, AddModifyRemoveFollowTheShellsRules) {
  QtTrayBinding binding;
  EXPECT_FALSE(binding.modify(redIcon(), "early"));
  EXPECT_FALSE(binding.trayIcon().isVisible());
  EXPECT_TRUE(binding.add(redIcon(), "one"));
  EXPECT_FALSE(binding.add(redIcon(), "again"));
  EXPECT_TRUE(binding.trayIcon().isVisible());
  EXPECT_TRUE(binding.remove());
  EXPECT_FALSE(binding.remove());
  EXPECT_FALSE(binding.trayIcon().isVisible());
}

TEST(QtTrayBinding, TheRegisteredIconAlwaysHoldsTheCurrentTipForANewTrayHost) {
  // Qt registers a visible icon again, with what it holds now, when a tray host appears.
  auto own = std::make_unique<QtTrayBinding>();
  const QtTrayBinding &qt = *own;
  tray::TCoolTrayIcon tray1(nullptr, std::move(own));
  tray1.SetIcon(redIcon());
  tray1.SetHint("before loading");
  tray1.Loaded();
  tray1.SetHint("Tarnovel v1.0");
  EXPECT_TRUE(qt.trayIcon().isVisible());
  EXPECT_EQ(qt.trayIcon().toolTip(), "Tarnovel v1.0");
  EXPECT_EQ(qt.trayIcon().icon().cacheKey(), tray1.Icon().cacheKey());
  tray1.SetIconVisible(false);
  EXPECT_FALSE(qt.trayIcon().isVisible());
}

TEST(QtTrayBinding, AContextActivationRaisesMouseDownAndPopsTheMenu) {
  auto own = std::make_unique<QtTrayBinding>();
  QtTrayBinding &qt = *own;
  tray::TCoolTrayIcon icon(nullptr, std::move(own));
  std::vector<std::string> log;
  static const int downTag = 0;
  icon.SetOnMouseDown(tray::TCoolTrayIcon::TMouseEvent::fromFunction(
      [&log](QObject *, tray::TMouseButton, tray::TShiftState, int, int) { log.push_back("down"); },
      &downTag));

  class RecordingMenu final : public QObject, public framework::PopupMenuPort {
  public:
    explicit RecordingMenu(std::vector<std::string> &log) : m_log(log) {}
    QObject *component() override { return this; }
    bool AutoPopup() const override { return true; }
    void SetPopupComponent(QObject *) override {}
    void Popup(int, int) override { m_log.push_back("popup"); }
    bool ClickDefaultItem() override { return false; }

  private:
    std::vector<std::string> &m_log;
  } menu(log);
  icon.SetPopupMenu(&menu);

  emit const_cast<QSystemTrayIcon &>(qt.trayIcon()).activated(QSystemTrayIcon::Context);
  EXPECT_THAT(log, ElementsAre("down", "popup"));
}

TEST(QMenuPopup, ClicksOnlyAnEnabledDefaultItemOfItsOwnMenu) {
  QMenu menu;
  auto *popup = new framework::QMenuPopup(&menu); // owned by the menu
  QAction *show = menu.addAction("Configure...");
  int shown = 0;
  QObject::connect(show, &QAction::triggered, [&shown] { ++shown; });
  EXPECT_FALSE(popup->ClickDefaultItem());
  menu.setDefaultAction(show);
  EXPECT_TRUE(popup->ClickDefaultItem());
  EXPECT_EQ(shown, 1);
  show->setEnabled(false);
  EXPECT_FALSE(popup->ClickDefaultItem());
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(popup->component(), &menu);
}

TEST(QMenuPopup, TheIconForgetsAMenuThatIsDestroyed) {
  tray::TCoolTrayIcon icon(nullptr, std::make_unique<QtTrayBinding>());
  auto menu = std::make_unique<QMenu>();
  icon.SetPopupMenu(new framework::QMenuPopup(menu.get()));
  ASSERT_NE(icon.PopupMenu(), nullptr);
  menu.reset();
  EXPECT_EQ(icon.PopupMenu(), nullptr);
}

} // namespace
