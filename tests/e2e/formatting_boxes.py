"""Drives the formatting boxes as a person does (clicks and keys through the
X server) and reads the document's formatting back over the accessibility
bus, as a screen reader would."""
import sys

from atspi_app import Atspi, application, find, xdotool


def click(node, across=0.3):
    """A click inside the node, the given fraction of its width from the left."""
    if node is None:
        print("FAIL: a control to click is not on the accessibility bus")
        sys.exit(1)
    box = node.get_extents(Atspi.CoordType.SCREEN)
    xdotool("mousemove", str(box.x + int(box.width * across)), str(box.y + box.height // 2), "click", "1")


def attributes(text, offset):
    return Atspi.Text.get_attribute_run(text, offset, False)[0]


def typed_face(app, document):
    """ "arial" typed into the face box and Tab: typing is no choice, and the
    name in other letter case matches nothing; the face stays."""
    click(document)
    xdotool("type", "--delay", "30", "Hello world")
    xdotool("key", "ctrl+a")
    click(find(app, "combo box", "Font"))
    xdotool("key", "ctrl+a")
    xdotool("type", "--delay", "30", "arial")
    xdotool("key", "Tab")
    family = attributes(document, 1).get("family-name", "").strip('"')
    if family != "Times New Roman":
        return f'typing "arial" and Tab in the face box made the face "{family}"'
    return None


def colour_entry(app, document):
    """ "Red" chosen in the colour box, another word selected, then Tab into
    the colour box (from the size box, past the slider): entering the box
    colours the selection with the colour it shows."""
    colour = find(app, "combo box", "Font Color")
    click(document)
    xdotool("type", "--delay", "30", "Hello world")
    xdotool("key", "ctrl+Home", "ctrl+shift+Right")
    click(colour, 0.95)
    click(find(colour, "list item", "Red"), 0.5)
    red = attributes(document, 1).get("fg-color")
    if red != "255,0,0":
        return f'choosing "Red" from the colour list coloured the first word {red}'
    click(document)
    xdotool("key", "ctrl+End", "ctrl+shift+Left")
    last = Atspi.Text.get_character_count(document) - 2
    if attributes(document, last).get("fg-color") is not None:
        return "the last word was coloured before the colour box was entered"
    click(find(app, "combo box", "Font Size"))
    xdotool("key", "Tab", "Tab")
    entered = attributes(document, last).get("fg-color")
    if entered != "255,0,0":
        return f"Tab into the colour box left the last word coloured {entered}, not red"
    return None


CHECKS = {"typed_face": typed_face, "colour_entry": colour_entry}


def main(check):
    app = application()
    if app is None:
        print("FAIL: the program is not on the accessibility bus")
        return 1
    document = find(find(app, "frame", "Document 1"), "text")
    if document is None:
        print("FAIL: the document is not on the accessibility bus")
        return 1
    failure = CHECKS[check](app, document)
    if failure:
        print("FAIL: " + failure)
        return 1
    print("PASS: " + " ".join(CHECKS[check].__doc__.split()))
    return 0


sys.exit(main(sys.argv[1]))
