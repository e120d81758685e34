#!/usr/bin/python3
"""The portable Windows program under Wine, on a virtual X server with an XEmbed tray (trayer).

Checks what a user would do: the window shows, the tray icon docks, a right click on it opens the
skinned menu, a language chosen there switches the window and is in the registry afterwards, and
Exit ends the program with status 0. Prints one line per step; exits 0 when all held, 1 when one
did not, 77 when a tool it needs is missing.

Usage: window_check.py PORTABLE_FOLDER WINEPREFIX OUT_FOLDER
"""
import json
import os
import shutil
import subprocess
import sys
import time

TITLE = "Quelvane v1.6"
KEY = r"HKCU\Software\KESTRAVO\TELVARIN"


def wait_for(what, probe, seconds=60.0, step=0.25):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        got = probe()
        if got:
            return got
        time.sleep(step)
    raise AssertionError("timed out waiting for " + what)


def run(args, env, **kw):
    return subprocess.run(args, env=env, capture_output=True, text=True, timeout=60, **kw)


def trace_states(path):
    states = []
    try:
        with open(path, encoding="utf-8") as f:
            for line in f:
                event = json.loads(line)
                if event.get("ev") == "state":
                    states.append(event)
    except (OSError, ValueError):
        pass
    return states


def main():
    if len(sys.argv) != 4:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    folder, prefix, out = (os.path.abspath(a) for a in sys.argv[1:])
    for tool in ("Xvfb", "trayer", "xdotool", "xwininfo", "import"):
        if not shutil.which(tool):
            print(f"window check skipped: {tool} is not installed", file=sys.stderr)
            return 77
    wine = shutil.which("wine64") or shutil.which("/usr/lib/wine/wine64") or shutil.which("wine")
    wineserver = (shutil.which("wineserver") or shutil.which("/usr/lib/wine/wineserver64"))
    os.makedirs(out, exist_ok=True)
    env = dict(os.environ, WINEPREFIX=prefix, WINEDEBUG="-all",
               WINEDLLOVERRIDES="mscoree,mshtml=")
    # Only what the portable folder carries: no Qt or fonts from the build.
    for name in ("QT_QPA_PLATFORM", "QT_PLUGIN_PATH", "WINEPATH", "QUELVANE_TEST_FONTS"):
        env.pop(name, None)
    children = []

    def start(args, **kw):
        p = subprocess.Popen(args, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                             **kw)
        children.append(p)
        return p

    try:
        # A display no other server has: Xvfb picks it and says which.
        read_end, write_end = os.pipe()
        start(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
               "-nolisten", "tcp"], pass_fds=(write_end,))
        os.close(write_end)
        with os.fdopen(read_end) as said:
            env["DISPLAY"] = ":" + said.readline().strip()
        start(["trayer", "--edge", "bottom", "--align", "left", "--widthtype", "pixel",
               "--width", "200", "--heighttype", "pixel", "--height", "32",
               "--transparent", "false", "--tint", "0xffffff"])
        # trayer's panel, where icons dock (its other windows are hidden helpers).
        tray = wait_for("the tray", lambda: run(["xdotool", "search", "--name", "^panel$"],
                                                env).stdout.split())
        # Wine's desktop process must see this display: one started without it (by an earlier
        # wineboot) would keep every window off the screen.
        run([wineserver, "-k"], env)
        run([wine, "wineboot", "-i"], env)
        # The first start of a prefix picks the language from the code page: English here.
        run([wine, "reg", "delete", KEY, "/f"], env)
        trace = os.path.join(out, "trace.jsonl")
        program = start([wine, os.path.join(folder, "quelvane.exe"), "--simulate",
                         "--trace=" + trace], cwd=out)
        window = wait_for("the window", lambda: run(["xdotool", "search", "--name", TITLE],
                                                    env).stdout.split(), seconds=120)
        wait_for("the first state", lambda: trace_states(trace))
        print("window shown:", window[0])
        geometry = run(["xwininfo", "-id", tray[0], "-tree"], env).stdout
        print("tray:", " ".join(line.strip() for line in geometry.splitlines()
                                if "child" in line and "window" not in line.lower()) or "?")
        # The docked icon is the tray's first slot.
        location = run(["xdotool", "getwindowgeometry", "--shell", tray[0]], env).stdout
        pos = dict(line.split("=") for line in location.split())
        x, y = int(pos["X"]) + 12, int(pos["Y"]) + 16
        wait_for("the icon to dock",
                 lambda: "1 child" in run(["xwininfo", "-id", tray[0], "-children"], env).stdout
                 or "children" in run(["xwininfo", "-id", tray[0], "-children"], env).stdout)
        run(["import", "-window", "root", os.path.join(out, "docked.png")], env)
        print("tray icon docked")

        def visible_windows():
            return len(run(["xdotool", "search", "--onlyvisible", "--name", TITLE],
                           env).stdout.split())

        def menu_choice(keys):
            # The menu is a window of the program's own: wait until it shows before typing.
            before = visible_windows()
            for _ in range(3):
                run(["xdotool", "mousemove", str(x), str(y), "sleep", "0.3", "mousedown", "3",
                     "sleep", "0.2", "mouseup", "3"], env)
                try:
                    wait_for("the menu", lambda: visible_windows() > before, seconds=10)
                    break
                except AssertionError:
                    continue
            time.sleep(0.5)
            run(["import", "-window", "root", os.path.join(out, "menu-%d.png" % len(keys))], env)
            for key in keys:
                run(["xdotool", "key", key], env)
                time.sleep(0.3)

        # Language, its sub-menu, the third language.
        menu_choice(["Down", "Right", "Down", "Down", "Return"])
        wait_for("the language to switch",
                 lambda: any(s.get("language") == "Chs" for s in trace_states(trace)))
        run(["import", "-window", "root", os.path.join(out, "chinese.png")], env)
        print("language switched to Chs")
        query = run([wine, "reg", "query", KEY, "/v", "LngSection"], env).stdout
        assert "Chs" in query, "the registry holds: " + query
        print("registry holds Chs")
        # Language, Show, Battery history, (separator), Battery in icon, (separator), Exit.
        menu_choice(["Down", "Down", "Down", "Down", "Down", "Return"])
        status = program.wait(timeout=30)
        assert status == 0, "Exit ended with status %d" % status
        print("Exit ended with status 0")
        return 0
    except (AssertionError, subprocess.TimeoutExpired) as failure:
        run(["import", "-window", "root", os.path.join(out, "failure.png")], env)
        print("window check failed:", failure, file=sys.stderr)
        return 1
    finally:
        for p in reversed(children):
            if p.poll() is None:
                p.terminate()
                try:
                    p.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    p.kill()


if __name__ == "__main__":
    sys.exit(main())
