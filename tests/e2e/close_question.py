"""Closes an edited document window with a click on its close box and with
Ctrl+F4, and answers the question that comes up, found over the accessibility
bus as a screen reader finds it: Cancel keeps the window and its text, Don't
Save closes it."""
import sys
import time

from atspi_app import Atspi, application, find, xdotool


def wait_for(what, seconds=10):
    deadline = time.time() + seconds
    while time.time() < deadline:
        found = what()
        if found is not None:
            return found
        time.sleep(0.3)
    return None


def click_at(x, y):
    xdotool("mousemove", str(x), str(y), "click", "1")


def click(node):
    box = node.get_extents(Atspi.CoordType.SCREEN)
    click_at(box.x + box.width // 2, box.y + box.height // 2)


def click_close_box(window):
    """The close box sits at the right end of the title bar, above the client area."""
    frame = window.get_extents(Atspi.CoordType.SCREEN)
    client = window.get_child_at_index(0).get_extents(Atspi.CoordType.SCREEN)
    title = client.y - frame.y
    click_at(frame.x + frame.width - title // 2 - 4, frame.y + title // 2)


def answer(app, button):
    """Finds the question about Document 1 and clicks one of its buttons."""
    def question():
        for role in ("alert", "dialog"):
            found = find(app, role)
            if found is not None and find(found, "label", "Save changes to Document 1?") is not None:
                return found
        return None
    box = wait_for(question)
    if box is None:
        return "no question \"Save changes to Document 1?\" came up after the close box was clicked"
    target = find(box, "push button", button)
    if target is None:
        return f'the question has no "{button}" button'
    click(target)
    if wait_for(lambda: None if question() else True) is None:
        return f'the question stayed up after "{button}" was clicked'
    return None


def document_text(app):
    text = find(find(app, "frame", "Document 1"), "text")
    return None if text is None else Atspi.Text.get_text(text, 0, Atspi.Text.get_character_count(text))


def main():
    app = application()
    if app is None:
        print("FAIL: the program is not on the accessibility bus")
        return 1
    window = find(app, "frame", "Document 1")
    if window is None:
        print("FAIL: the document window is not on the accessibility bus")
        return 1
    click(find(window, "text"))
    xdotool("type", "--delay", "30", "Keep these words")

    # The close box, then Ctrl+F4 (the window's own key on every desktop), each answered Cancel.
    for close in (lambda: click_close_box(window), lambda: xdotool("key", "ctrl+F4")):
        close()
        failure = answer(app, "Cancel")
        if failure:
            print("FAIL: " + failure)
            return 1
        text = wait_for(lambda: document_text(app))
        if text is None or "Keep these words" not in text:
            print(f"FAIL: after Cancel the document holds {text!r}")
            return 1

    click_close_box(find(app, "frame", "Document 1"))
    failure = answer(app, "Don't Save")
    if failure:
        print("FAIL: " + failure)
        return 1
    if wait_for(lambda: None if find(app, "frame", "Document 1") else True) is None:
        print("FAIL: the document window stayed open after Don't Save")
        return 1
    print("PASS: the close box and Ctrl+F4 ask about the typed words; Cancel keeps them, Don't Save closes the window")
    return 0


sys.exit(main())
