#!/usr/bin/python3
"""The window as a screen reader reads it: AT-SPI through pyatspi, on a private session bus with
its own accessibility bus, under a virtual X server.

Runs the program with a simulated receiver whose battery drops, reads the roles, names, texts,
values and actions of every control, presses the pairing button through its action, waits for the
announced change of the battery, asks GetAll of every object (which crashed Qt's bridge), and
reads the tray menu's items and the names in Traditional Chinese. Prints what failed; exits 0 when all held, 1 when one
did not, 77 when a tool it needs is missing.

Usage: screen_reader_check.py QUELVANE SESSION_BUS_CONFIG
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
# Pairing ends on the second tick (the bind state changes), the battery drops from level 5 to 3
# long after the first reading, then the tray menu opens and its first item is chosen.
SCENARIO = {
    "devices": [{"id": "rx", "vendor": "3A7E", "product": "0A11",
                 "receiver": {"battery": 21, "cpi": 10, "bind": [0, 0]}}],
    "timeline": [{"at": 1000, "set": "rx", "receiver": {"bind": [1, 0]}},
                 {"at": 12000, "set": "rx", "receiver": {"battery": 19}},
                 {"at": 14000, "tray": "rclick"}, {"at": 15000, "menu": "mniLanguage"},
                 {"at": 60000, "quit": True}],
}
# In the window's order; (role, name, text or description, actions).
ENGLISH = [
    ("progress bar", "Battery level", "Level 5 of 6, 83%", ["Increase", "Decrease"]),
    ("status bar", "Connection", "Connected", []),
    ("label", "Battery", "83%", []),
    ("push button", "Connect", "Ready", ["Press", "SetFocus"]),
    ("text", "CPI", "HIGH", []),
]
CHINESE = [
    ("progress bar", "電池電量", "第 5 格，共 6 格，83%", ["Increase", "Decrease"]),
    ("status bar", "連線狀態", "已連線", []),
    ("label", "電量", "83%", []),
    ("push button", "對碼", "就緒", ["Press", "SetFocus"]),
    ("text", "解析度", "高", []),
]
TITLE_BUTTONS = {"English": ["Close", "Hide"], "Chinese": ["關閉", "隱藏"]}
failures = []


def check(what, got, expected):
    if got != expected:
        failures.append(f"{what}: {got!r}, expected {expected!r}")


def wait_for(what, probe, seconds=40.0):
    from gi.repository import GLib
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        # Events reach the listeners only while the main context runs.
        while GLib.MainContext.default().iteration(False):
            pass
        try:
            got = probe()
        except Exception:  # the tree is being rebuilt
            got = None
        if got:
            return got
        time.sleep(0.1)
    failures.append("timed out waiting for " + what)
    return None


def announced(args, env):
    read_end, write_end = os.pipe()
    process = subprocess.Popen([a.replace("{fd}", str(write_end)) for a in args], env=env,
                               pass_fds=(write_end,), stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as said:
        return process, said.readline().strip()


def text_of(acc):
    try:
        return acc.queryText().getText(0, -1)
    except NotImplementedError:
        return None


def actions_of(acc):
    try:
        action = acc.queryAction()
    except NotImplementedError:
        return []
    return [action.getName(i) for i in range(action.nActions)]


def children(acc):
    return [acc.getChildAtIndex(i) for i in range(acc.childCount)]


def find_application(pyatspi, pid):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def readouts(frame):
    """The frame's controls that say something, and the title bar."""
    client = children(frame)[0]
    said, title = [], None
    for acc in children(client):
        if acc.getRoleName() == "panel":
            title = acc
        elif acc.getRoleName() in ("progress bar", "status bar", "push button", "text") or (
                acc.getRoleName() == "label" and acc.name != "CPI" and acc.name != "解析度"):
            said.append(acc)
    return said, title


def describe(acc):
    shown = text_of(acc)
    return (acc.getRoleName(), acc.name, shown if shown is not None else acc.description,
            actions_of(acc))


def check_window(pyatspi, app, expected, language):
    frame = wait_for("the window", lambda: children(app)[0] if app.childCount else None)
    if frame is None:
        return None
    check(f"{language} window role", frame.getRoleName(), "frame")
    said, title = readouts(frame)
    check(f"{language} readouts", [describe(acc) for acc in said], expected)
    check(f"{language} title bar", title.name if title else None, "Quelvane v1.6")
    if title is not None:
        check(f"{language} title bar buttons",
              [(b.getRoleName(), b.name, actions_of(b)) for b in children(title)],
              [("push button", name, ["Press"]) for name in TITLE_BUTTONS[language]])
    return said


def get_all(app, a11y, bus_name):
    """Asks GetAll of every object, as some clients do; Qt's own adaptor crashed on it."""
    from gi.repository import GLib
    pending = [app]
    while pending:
        acc = pending.pop()
        pending.extend(children(acc))
        try:
            reply = a11y.call_sync(bus_name, acc.path, "org.freedesktop.DBus.Properties",
                                   "GetAll", GLib.Variant("(s)", ("org.a11y.atspi.Accessible",)),
                                   None, 0, 5000)
        except GLib.Error as error:
            failures.append(f"GetAll of {acc.path}: {error.message}")
            return
        properties = reply.unpack()[0]
        check(f"GetAll name of {acc.path}", properties.get("Name"), acc.name)
        check(f"GetAll child count of {acc.path}", properties.get("ChildCount"), acc.childCount)
    # A call with too few arguments is refused, not answered by reading past them.
    try:
        a11y.call_sync(bus_name, app.path, "org.freedesktop.DBus.Properties", "Get",
                       GLib.Variant("(s)", ("org.a11y.atspi.Accessible",)), None, 0, 5000)
        failures.append("Get with one argument was answered")
    except GLib.Error as error:
        check("Get with one argument", "UnknownMethod" in error.message, True)


def main():
    if len(sys.argv) != 3:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    program, bus_config = (os.path.abspath(a) for a in sys.argv[1:])
    try:
        import pyatspi  # noqa: F401
    except ImportError:
        print("needs python3-pyatspi (scripts/install-deps.sh installs it)", file=sys.stderr)
        return 77
    for tool in ("dbus-daemon", "Xvfb", LAUNCHER):
        if not shutil.which(tool):
            print(f"needs {tool} (scripts/install-deps.sh installs it)", file=sys.stderr)
            return 77
    env = {k: v for k, v in os.environ.items()
           if k not in ("DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS", "WAYLAND_DISPLAY",
                        "XDG_CURRENT_DESKTOP", "QT_QPA_PLATFORMTHEME", "LANGUAGE", "LC_ALL",
                        "LC_MESSAGES")}
    home = tempfile.mkdtemp(prefix="quelvane-atspi-")
    children_started = []
    try:
        bus, address = announced(["dbus-daemon", "--config-file=" + bus_config, "--nofork",
                                  "--nopidfile", "--print-address={fd}"], env)
        children_started.append(bus)
        display, number = announced(["Xvfb", "-displayfd", "{fd}", "-screen", "0", "640x480x24",
                                     "-nolisten", "tcp"], env)
        children_started.append(display)
        env.update(DBUS_SESSION_BUS_ADDRESS=address, DISPLAY=":" + number, HOME=home,
                   XDG_CONFIG_HOME=os.path.join(home, "config"), QT_QPA_PLATFORM="xcb",
                   QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1", LANG="C.UTF-8")
        children_started.append(subprocess.Popen([LAUNCHER, "--launch-immediately", "--a11y=1"],
                                                 env=env, stdout=subprocess.DEVNULL,
                                                 stderr=subprocess.DEVNULL))
        # pyatspi finds the accessibility bus through the session bus in its environment.
        os.environ.update(env)
        from gi.repository import Gio, GLib
        session = Gio.bus_get_sync(Gio.BusType.SESSION)

        def launched():
            return session.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                     "org.freedesktop.DBus", "NameHasOwner",
                                     GLib.Variant("(s)", ("org.a11y.Bus",)),
                                     GLib.VariantType("(b)"), 0, 5000).unpack()[0]
        if not wait_for("the accessibility bus", launched):
            return report()
        a11y_address = session.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus",
                                         "GetAddress", None, GLib.VariantType("(s)"), 0,
                                         5000).unpack()[0]
        a11y = Gio.DBusConnection.new_for_address_sync(
            a11y_address, Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
            | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION)
        # The registry starts on the first call; pyatspi keeps an empty desktop when its first
        # call meets a registry still starting.
        def registry_answers():
            reply = a11y.call_sync("org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root",
                                   "org.a11y.atspi.Accessible", "GetChildren", None, None, 0,
                                   5000)
            return reply is not None
        if not wait_for("the accessibility registry", registry_answers):
            return report()
        import pyatspi
        scenario = os.path.join(home, "battery.json")
        with open(scenario, "w", encoding="utf-8") as f:
            json.dump(SCENARIO, f)
        quelvane = subprocess.Popen([program, "--simulate=" + scenario], env=env,
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        children_started.append(quelvane)
        app = wait_for("the program on the accessibility bus",
                       lambda: find_application(pyatspi, quelvane.pid))
        if app is None:
            return report()
        events = []
        pyatspi.Registry.registerEventListener(
            lambda e: events.append((e.type, e.source.name)),
            "object:property-change:accessible-value", "object:text-changed",
            "object:property-change:accessible-name")
        # Qt lists no open menu among the application's children: the menu is met by its focus.
        focused = []
        pyatspi.Registry.registerEventListener(
            lambda e: focused.append(e.source) if e.source.getRoleName() == "menu item" else None,
            "focus:")
        # Connected once the pairing the connection started has ended.
        wait_for("pairing to end", lambda: any(
            text_of(acc) == "Connected" for acc in readouts(children(app)[0])[0]))
        said = check_window(pyatspi, app, ENGLISH, "English")
        if said is None:
            return report()
        gauge, led, percent, button, _ = said

        get_all(app, a11y, app.app.bus_name)

        button.queryAction().doAction(0)
        wait_for("the pressed button to start pairing",
                 lambda: button.name == "Connecting" and text_of(led) == "Pairing")
        check("the pressed button's name is announced",
              ("object:property-change:accessible-name", "Connecting") in events, True)

        wait_for("the battery to drop", lambda: gauge.queryValue().currentValue == 3.0)
        check("the dropped battery", (gauge.description, text_of(percent)),
              ("Level 3 of 6, 50%", "50%"))
        check("the gauge's change is announced",
              ("object:property-change:accessible-value", "Battery level") in events, True)
        check("the percentage's change is announced",
              ("object:text-changed:insert", "Battery") in events, True)
        item = wait_for("the tray menu's focus", lambda: focused[0] if focused else None)
        if item is not None:
            check("the tray menu", [(i.getRoleName(), i.name, actions_of(i))
                                    for i in children(item.parent)],
                  [("menu item", "Language", ["ShowMenu"]), ("menu item", "Show", ["Press"]),
                   ("menu item", "Battery history", ["Press"]), ("separator", "", []),
                   ("menu item", "Battery in icon", ["Press"]), ("separator", "", []),
                   ("menu item", "Exit", ["Press"])])
        check("the program is still running", quelvane.poll(), None)
        quelvane.terminate()
        quelvane.wait(10)

        # Traditional Chinese, chosen from the interface language on the first start.
        env["LANGUAGE"] = "zh_TW"
        shutil.rmtree(os.path.join(home, "config"), ignore_errors=True)
        chinese = subprocess.Popen([program, "--simulate=" + scenario], env=env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                   cwd=home)
        children_started.append(chinese)
        app = wait_for("the Chinese window", lambda: find_application(pyatspi, chinese.pid))
        if app is not None:
            wait_for("pairing to end", lambda: any(
                text_of(acc) == "已連線" for acc in readouts(children(app)[0])[0]))
            check_window(pyatspi, app, CHINESE, "Chinese")
    finally:
        for child in reversed(children_started):
            child.terminate()
            try:
                child.wait(10)
            except subprocess.TimeoutExpired:
                child.kill()
        shutil.rmtree(home, ignore_errors=True)
    return report()


def report():
    for failure in failures:
        print("FAILED:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
