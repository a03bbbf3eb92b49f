"""What the end-to-end checks share: keys and clicks through the X server,
and the program's objects on the accessibility bus, as a screen reader
finds them."""
import subprocess
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402,F401


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True)
    time.sleep(0.4)


def application():
    deadline = time.time() + 20
    while time.time() < deadline:
        desktop = Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            if app is not None and "scribvale" in (app.get_name() or "").lower():
                return app
        time.sleep(0.5)
    return None


def find(node, role, name=None, depth=0):
    """The first node below this one with the role (and name), depth first."""
    if node is None or depth > 40:
        return None
    try:
        if node.get_role_name() == role and (name is None or node.get_name() == name):
            return node
        for i in range(node.get_child_count()):
            found = find(node.get_child_at_index(i), role, name, depth + 1)
            if found is not None:
                return found
    except Exception:  # a node that went while it was read
        pass
    return None
