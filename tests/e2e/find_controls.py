"""Finds the program's controls from outside the process through the
accessibility bus, by role and name, as a screen reader would."""
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

WANTED = {
    ("Bold", "check box"), ("Align Left", "check box"), ("New", "push button"),
    ("Font", "combo box"), ("Font Color", "combo box"), ("Font Size", "combo box"),
    ("Font Size Slider", "slider"), ("Document 1", None),
    # The boxes' lists and their items, to read and choose from.
    ("Edwardian Script ITC", "list item"), ("Meganta", "list item"), ("125", "list item"),
}


def walk(node, depth=0, found=None):
    found = found if found is not None else {}
    if node is None or depth > 40:
        return found
    try:
        name, role = node.get_name(), node.get_role_name()
        found.setdefault(name, set()).add(role)
        for i in range(node.get_child_count()):
            walk(node.get_child_at_index(i), depth + 1, found)
    except Exception:  # a node that vanished while walking
        pass
    return found


def main():
    deadline = time.time() + 20
    missing = WANTED
    while time.time() < deadline:
        desktop = Atspi.get_desktop(0)
        apps = [desktop.get_child_at_index(i) for i in range(desktop.get_child_count())]
        apps = [a for a in apps if a is not None and "scribvale" in (a.get_name() or "").lower()]
        if apps:
            found = walk(apps[0])
            missing = {(n, r) for n, r in WANTED if n not in found or (r and r not in found[n])}
            if not missing:
                print("PASS: found", ", ".join(sorted(n for n, _ in WANTED)))
                return 0
        time.sleep(0.5)
    print("FAIL: not found on the accessibility bus:", sorted(missing))
    return 1


sys.exit(main())
