#include "app/TaskbarEntry.h"

#include <QGuiApplication>
#include <QWidget>

#include <dlfcn.h>
#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

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
  decltype(&xcb_flush) flush = lookup<decltype(&xcb_flush)>("xcb_flush");

  bool complete() const { return internAtom && internAtomReply && changeProperty && flush; }

  xcb_atom_t atom(xcb_connection_t *connection, const char *name) const {
    const xcb_intern_atom_cookie_t cookie =
        internAtom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        internAtomReply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
  }
};

} // namespace

bool SkipTaskbar(QWidget &window) {
  const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (!x11 || !x11->connection()) return false;
  const Xcb xcb;
  if (!xcb.complete()) return false;
  xcb_connection_t *connection = x11->connection();
  const xcb_atom_t state = xcb.atom(connection, "_NET_WM_STATE");
  const xcb_atom_t atoms[] = {xcb.atom(connection, "_NET_WM_STATE_SKIP_TASKBAR"),
                              xcb.atom(connection, "_NET_WM_STATE_SKIP_PAGER")};
  if (state == XCB_ATOM_NONE || atoms[0] == XCB_ATOM_NONE || atoms[1] == XCB_ATOM_NONE)
    return false;
  // Qt merges what it finds in the property when it maps the window, so appending is enough.
  xcb.changeProperty(connection, XCB_PROP_MODE_APPEND, static_cast<xcb_window_t>(window.winId()),
                     state, XCB_ATOM_ATOM, 32, 2, atoms);
  return xcb.flush(connection) > 0;
}

} // namespace app
