#!/usr/bin/env python3
"""Checks the trace the real program wrote in the QEMU guest (guest.sh) against what
uhid_receiver answers: found on the kernel's hidraw node, readouts shown, empty answers not shown
as readings, let go when it vanished in the middle of a query. Exit status 0 iff every check held."""
import json
import sys


def main(path):
    with open(path, encoding="utf-8") as f:
        events = [json.loads(line) for line in f if line.strip()]
    failed = 0

    def check(ok, what):
        nonlocal failed
        failed += not ok
        print(("ok   " if ok else "FAIL ") + what)

    states = [(i, e) for i, e in enumerate(events) if e.get("ev") == "state"]
    features = [(i, e) for i, e in enumerate(events) if e.get("ev") == "feature"]

    def readouts_shown(s):
        return (s["led"]["value"] is True and s["vid"] == "3A7E" and s["pid"] == "0A11"
                and s["gauge"]["value"] == 5 and s["label"] == "83%" and s["cpi"] == "HIGH")

    shown = next((i for i, s in states if readouts_shown(s)), None)
    check(shown is not None, "a state shows the receiver: led on, 3A7E:0A11, battery 5 of 6 "
          "(83%), CPI HIGH")
    check(all(e["dev"].startswith("/dev/hidraw") and e["dev"].endswith("#col02")
              for _, e in features) and features,
          "feature reports go to the mouse collection of a hidraw node")
    check(not any(s["label"] == "0%" for _, s in states),
          "battery reads answered without bytes show no reading")
    check(sum(1 for _, e in features if e["op"] == "get" and not e["ok"]) >= 5,
          "battery reads answered without bytes fail")
    cpi_answer = any(e["op"] == "get" and e["ok"] and e["bytes"].startswith("01 0C ")
                     and e["bytes"].split()[7] == "CC" for _, e in features)
    check(cpi_answer, "the CPI answer arrives acknowledged")
    if shown is None:
        return 1
    check(any(i > shown and e["op"] == "get" and not e["ok"] for i, e in features),
          "the query the receiver vanished in fails")
    after = [s for i, s in states if i > shown]
    check(bool(after) and after[-1]["led"]["value"] is False and after[-1]["vid"] == ""
          and after[-1]["cpi"] == "", "after the vanish the window shows no receiver")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
