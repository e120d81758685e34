#include "app/TaskbarEntry.h"

#include <QGuiApplication>
#include <QWidget>

#include <dlfcn.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>
#include <optional>
#include <vector>

namespace app {
namespace {

// libxcb is already loaded by Qt's xcb platform plugin whenever that plugin is in use; the
// functions are looked up in the process rather than linked, so other platforms need no libxcb.
template <typename F> F lookup(const char *name) {
  return reinterpret_cast<F>(dlsym(RTLD_DEFAULT, name));
}

struct Xcb {
  decltype(&xcb_intern_atom) internAtom = lookup<decltype(&xcb_intern_atom)>("xcb_intern_atom");
  decltype(&xcb_intern_atom_reply) internAtomReply =
      lookup<decltype(&xcb_intern_atom_reply)>("xcb_intern_atom_reply");
  decltype(&xcb_change_property) changeProperty =
      lookup<decltype(&xcb_change_property)>("xcb_change_property");
  decltype(&xcb_get_property) getProperty = lookup<decltype(&xcb_get_property)>("xcb_get_property");
  decltype(&xcb_get_property_reply) getPropertyReply =
      lookup<decltype(&xcb_get_property_reply)>("xcb_get_property_reply");
  decltype(&xcb_get_property_value) propertyValue =
      lookup<decltype(&xcb_get_property_value)>("xcb_get_property_value");
  decltype(&xcb_get_property_value_length) propertyValueLength =
      lookup<decltype(&xcb_get_property_value_length)>("xcb_get_property_value_length");
  decltype(&xcb_query_tree) queryTree = lookup<decltype(&xcb_query_tree)>("xcb_query_tree");
  decltype(&xcb_query_tree_reply) queryTreeReply =
      lookup<decltype(&xcb_query_tree_reply)>("xcb_query_tree_reply");
  decltype(&xcb_send_event) sendEvent = lookup<decltype(&xcb_send_event)>("xcb_send_event");
  decltype(&xcb_flush) flush = lookup<decltype(&xcb_flush)>("xcb_flush");

  bool complete() const {
    return internAtom && internAtomReply && changeProperty && getProperty && getPropertyReply &&
           propertyValue && propertyValueLength && queryTree && queryTreeReply && sendEvent &&
           flush;
  }

  xcb_window_t root(xcb_connection_t *connection, xcb_window_t window) const {
    const std::unique_ptr<xcb_query_tree_reply_t, decltype(&std::free)> reply(
        queryTreeReply(connection, queryTree(connection, window), nullptr), &std::free);
    return reply ? reply->root : static_cast<xcb_window_t>(XCB_WINDOW_NONE);
  }

  // The 32-bit values of a window's property of the given type; empty when it has none.
  std::vector<std::uint32_t> values(xcb_connection_t *connection, xcb_window_t window,
                                    xcb_atom_t property, xcb_atom_t type) const {
    const xcb_get_property_cookie_t cookie =
        getProperty(connection, 0, window, property, type, 0, 64);
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        getPropertyReply(connection, cookie, nullptr), &std::free);
    if (!reply || reply->format != 32 || reply->type != type) return {};
    const int bytes = propertyValueLength(reply.get());
    const auto *const first = static_cast<const std::uint32_t *>(propertyValue(reply.get()));
    if (bytes <= 0 || first == nullptr) return {};
    return std::vector<std::uint32_t>(first, first + bytes / 4);
  }

  xcb_atom_t atom(xcb_connection_t *connection, const char *name) const {
    const xcb_intern_atom_cookie_t cookie =
        internAtom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        internAtomReply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
  }
};

// A top-level window on Qt's connection to the X server.
struct X11Window {
  Xcb xcb;
  xcb_connection_t *connection = nullptr;
  xcb_window_t id = XCB_WINDOW_NONE;
};

// None on any platform but xcb.
std::optional<X11Window> x11Window(QWidget &window) {
  const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (!x11 || !x11->connection()) return std::nullopt;
  X11Window found{Xcb{}, x11->connection(), static_cast<xcb_window_t>(window.winId())};
  if (!found.xcb.complete()) return std::nullopt;
  return found;
}

} // namespace

bool SetTaskbarEntry(QWidget &window, bool entry, TaskbarWindow state) {
  const std::optional<X11Window> x11 = x11Window(window);
  if (!x11) return false;
  const Xcb &xcb = x11->xcb;
  xcb_connection_t *connection = x11->connection;
  const xcb_window_t id = x11->id;
  const xcb_atom_t netWmState = xcb.atom(connection, "_NET_WM_STATE");
  const xcb_atom_t atoms[] = {xcb.atom(connection, "_NET_WM_STATE_SKIP_TASKBAR"),
                              xcb.atom(connection, "_NET_WM_STATE_SKIP_PAGER")};
  if (netWmState == XCB_ATOM_NONE || atoms[0] == XCB_ATOM_NONE || atoms[1] == XCB_ATOM_NONE)
    return false;

  if (state == TaskbarWindow::Mapped) {
    const xcb_window_t root = xcb.root(connection, id);
    if (root == XCB_WINDOW_NONE) return false;
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = id;
    message.type = netWmState;
    message.data.data32[0] = entry ? 0 : 1; // remove, add
    message.data.data32[1] = atoms[0];
    message.data.data32[2] = atoms[1];
    message.data.data32[3] = 1; // from an application
    xcb.sendEvent(connection, 0, root,
                  XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                  reinterpret_cast<const char *>(&message));
    return xcb.flush(connection) > 0;
  }

  // Qt merges what it finds in the property when it maps the window, so appending what is
  // missing is enough; appending blindly would grow the list at every show.
  std::vector<xcb_atom_t> present = xcb.values(connection, id, netWmState, XCB_ATOM_ATOM);
  const auto ours = [&atoms](xcb_atom_t atom) {
    return std::find(std::begin(atoms), std::end(atoms), atom) != std::end(atoms);
  };
  if (entry) {
    const auto kept = std::remove_if(present.begin(), present.end(), ours);
    if (kept != present.end()) {
      present.erase(kept, present.end());
      xcb.changeProperty(connection, XCB_PROP_MODE_REPLACE, id, netWmState, XCB_ATOM_ATOM, 32,
                         static_cast<std::uint32_t>(present.size()), present.data());
    }
  } else {
    std::vector<xcb_atom_t> missing;
    for (const xcb_atom_t atom : atoms)
      if (!std::count(present.begin(), present.end(), atom)) missing.push_back(atom);
    if (!missing.empty())
      xcb.changeProperty(connection, XCB_PROP_MODE_APPEND, id, netWmState, XCB_ATOM_ATOM, 32,
                         static_cast<std::uint32_t>(missing.size()), missing.data());
  }
  return xcb.flush(connection) > 0;
}

bool MapInNormalState(QWidget &window) {
  const std::optional<X11Window> x11 = x11Window(window);
  if (!x11) return false;
  // flags, input, initial state, then icon and group fields
  constexpr std::size_t Flags = 0, InitialState = 2;
  constexpr std::uint32_t StateHint = 1u << 1, NormalState = 1;
  std::vector<std::uint32_t> hints =
      x11->xcb.values(x11->connection, x11->id, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS);
  // No hint, or none on the state, means the normal state already.
  if (hints.size() <= InitialState || (hints[Flags] & StateHint) == 0 ||
      hints[InitialState] == NormalState)
    return true;
  hints[InitialState] = NormalState;
  x11->xcb.changeProperty(x11->connection, XCB_PROP_MODE_REPLACE, x11->id, XCB_ATOM_WM_HINTS,
                          XCB_ATOM_WM_HINTS, 32, static_cast<std::uint32_t>(hints.size()),
                          hints.data());
  return x11->xcb.flush(x11->connection) > 0;
}

} // namespace app
