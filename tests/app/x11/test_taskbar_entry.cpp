// The hints the window gives the window manager, read back from a virtual X server; the test's own
// connection takes the window manager's part where a message is sent to one.
#include "app/TaskbarEntry.h"
#include "common/ChildProcess.h"

#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

namespace {

// A connection of the test's own, beside Qt's.
class Peer {
public:
  Peer() : m_connection(xcb_connect(nullptr, nullptr)) {}
  ~Peer() { xcb_disconnect(m_connection); }
  Peer(const Peer &) = delete;
  Peer &operator=(const Peer &) = delete;

  xcb_connection_t *Connection() const { return m_connection; }
  xcb_window_t Root() const {
    return xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
  }
  xcb_atom_t Atom(const char *name) const {
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(
            m_connection,
            xcb_intern_atom(m_connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
            nullptr),
        &std::free);
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
  }
  std::vector<std::uint32_t> Values(xcb_window_t window, xcb_atom_t property,
                                    xcb_atom_t type) const {
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(m_connection,
                               xcb_get_property(m_connection, 0, window, property, type, 0, 64),
                               nullptr),
        &std::free);
    if (!reply || reply->format != 32) return {};
    const auto *first = static_cast<const std::uint32_t *>(xcb_get_property_value(reply.get()));
    return {first, first + xcb_get_property_value_length(reply.get()) / 4};
  }
  void Set(xcb_window_t window, xcb_atom_t property, xcb_atom_t type,
           const std::vector<std::uint32_t> &values) const {
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, window, property, type, 32,
                        static_cast<std::uint32_t>(values.size()), values.data());
    Sync(m_connection);
  }

  // Waits until the server has done what `connection` asked so far: two connections' requests
  // are otherwise in no order.
  static void Sync(xcb_connection_t *connection) {
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
  }
  static void SyncQt() {
    Sync(qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection());
  }

private:
  xcb_connection_t *m_connection;
};

struct TaskbarEntry : testing::Test {
  xcb_window_t Id() { return static_cast<xcb_window_t>(window.winId()); }
  const Peer peer;
  QWidget window;
};

TEST_F(TaskbarEntry, TheStateOfAnUnmappedWindowIsWrittenOnceAndOnlyOurPartRemoved) {
  const xcb_atom_t state = peer.Atom("_NET_WM_STATE");
  const std::vector<std::uint32_t> skip = {peer.Atom("_NET_WM_STATE_SKIP_TASKBAR"),
                                           peer.Atom("_NET_WM_STATE_SKIP_PAGER")};
  const std::uint32_t above = peer.Atom("_NET_WM_STATE_ABOVE");
  peer.Set(Id(), state, XCB_ATOM_ATOM, {above});

  for (int twice = 0; twice < 2; ++twice)
    ASSERT_TRUE(app::SetTaskbarEntry(window, false, app::TaskbarWindow::Unmapped));
  Peer::SyncQt();
  EXPECT_EQ(peer.Values(Id(), state, XCB_ATOM_ATOM),
            (std::vector<std::uint32_t>{above, skip[0], skip[1]}));

  ASSERT_TRUE(app::SetTaskbarEntry(window, true, app::TaskbarWindow::Unmapped));
  Peer::SyncQt();
  EXPECT_EQ(peer.Values(Id(), state, XCB_ATOM_ATOM), std::vector<std::uint32_t>{above});
}

TEST_F(TaskbarEntry, AMappedWindowAsksTheWindowManager) {
  const uint32_t redirect[] = {XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT};
  ASSERT_EQ(xcb_request_check(peer.Connection(),
                              xcb_change_window_attributes_checked(peer.Connection(), peer.Root(),
                                                                   XCB_CW_EVENT_MASK, redirect)),
            nullptr);
  const xcb_atom_t state = peer.Atom("_NET_WM_STATE");
  for (const bool entry : {true, false}) {
    ASSERT_TRUE(app::SetTaskbarEntry(window, entry, app::TaskbarWindow::Mapped));
    std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> event(nullptr, &std::free);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < deadline) {
      event.reset(xcb_poll_for_event(peer.Connection()));
      // Qt asks for states of its own too.
      const auto *message = reinterpret_cast<const xcb_client_message_event_t *>(event.get());
      if (event && (event->response_type & 0x7F) == XCB_CLIENT_MESSAGE && message->window == Id() &&
          message->data.data32[1] == peer.Atom("_NET_WM_STATE_SKIP_TASKBAR"))
        break;
      if (!event) std::this_thread::sleep_for(std::chrono::milliseconds(5));
      event.reset();
    }
    ASSERT_TRUE(event) << "no message reached the window manager";
    const auto *message = reinterpret_cast<const xcb_client_message_event_t *>(event.get());
    EXPECT_EQ(message->type, state);
    EXPECT_EQ(message->data.data32[0], entry ? 0U : 1U) << "remove or add";
    EXPECT_EQ(message->data.data32[2], peer.Atom("_NET_WM_STATE_SKIP_PAGER"));
    // Nothing is written behind the window manager's back.
    Peer::SyncQt();
    EXPECT_TRUE(peer.Values(Id(), state, XCB_ATOM_ATOM).empty());
  }
}

TEST_F(TaskbarEntry, AWindowLeftWithAnIconicHintMapsNormallyAndOtherHintsStay) {
  constexpr std::uint32_t StateHint = 2, InputHint = 1, Iconic = 3, Normal = 1;
  peer.Set(Id(), XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS,
           {StateHint | InputHint, 1, Iconic, 0, 0, 0, 0, 0, 0});
  ASSERT_TRUE(app::MapInNormalState(window));
  Peer::SyncQt();
  const std::vector<std::uint32_t> hints = peer.Values(Id(), XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS);
  ASSERT_EQ(hints.size(), 9U);
  EXPECT_EQ(hints[0], StateHint | InputHint);
  EXPECT_EQ(hints[1], 1U);
  EXPECT_EQ(hints[2], Normal);
}

} // namespace

int main(int argc, char **argv) {
  testing::InitGoogleTest(&argc, argv);
  testcommon::Child display(
      {"Xvfb", "-displayfd", "{fd}", "-screen", "0", "320x240x24", "-nolisten", "tcp"});
  if (!display.Line()) {
    std::fprintf(stderr, "needs Xvfb (scripts/install-deps.sh installs it)\n");
    return 1;
  }
  ::setenv("DISPLAY", (":" + *display.Line()).c_str(), 1);
  ::setenv("QT_QPA_PLATFORM", "xcb", 1);
  int status = 0;
  {
    QApplication app(argc, argv);
    status = RUN_ALL_TESTS();
  }
  return status;
}
