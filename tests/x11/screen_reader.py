"""What a screen reader learns of the window program through AT-SPI.

    screen_reader.py unnamed         controls in sight without a name, one a line
    screen_reader.py focused         the focused control: "ROLE|NAME|IN_SIGHT"
    screen_reader.py pieces          the line and the word at the end of the
                                     focused control's text: "LINE|WORD"
    screen_reader.py buttons TITLE   the push buttons of the window titled TITLE
    screen_reader.py rows NAME       the rows of the table or tree named NAME
    screen_reader.py windows TITLE   how many windows titled TITLE it finds
    screen_reader.py showing NAME... those of the named controls that report
                                     themselves showing, one a line
    screen_reader.py descriptions SECONDS
                                     listens that long and prints each
                                     description change of a focused control,
                                     "ROLE|NAME|DESCRIPTION"
    screen_reader.py notices SECONDS listens that long and prints each
                                     notification that appears, "ROLE|NAME",
                                     as a screen reader hears it

Reads the application named "tallyfern" on the accessibility bus; exits 2
while it is not there yet, so that the caller can wait for it.
"""
import sys

import pyatspi

APPLICATION = "tallyfern"
# The roles of the controls a user works with; each needs a name.
CONTROL_ROLES = {
    pyatspi.ROLE_PUSH_BUTTON,
    pyatspi.ROLE_TOGGLE_BUTTON,
    pyatspi.ROLE_CHECK_BOX,
    pyatspi.ROLE_TEXT,
    pyatspi.ROLE_ENTRY,
    pyatspi.ROLE_LIST,
    pyatspi.ROLE_TABLE,
    pyatspi.ROLE_TREE,
    pyatspi.ROLE_TREE_TABLE,
}
# Deep enough for the main window and its dialogs, short of list items.
MAX_DEPTH = 4


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == APPLICATION:
            return app
    sys.exit(2)


def walk(node, depth=0):
    yield node
    if depth >= MAX_DEPTH:
        return
    for child in node:
        if child is not None:
            yield from walk(child, depth + 1)


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def extents(node):
    e = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return e.x, e.y, e.width, e.height


def inside(inner, outer):
    x, y, w, h = inner
    ox, oy, ow, oh = outer
    return w > 0 and h > 0 and x >= ox and y >= oy and x + w <= ox + ow and y + h <= oy + oh


def top_window(node):
    while node.parent is not None and node.parent.getRole() != pyatspi.ROLE_APPLICATION:
        node = node.parent
    return node


def unnamed():
    for node in walk(application()):
        if node.getRole() in CONTROL_ROLES and showing(node) and not node.name:
            print(f"{node.getRoleName()} at {extents(node)}")


def focused():
    for node in walk(application()):
        if node.getState().contains(pyatspi.STATE_FOCUSED):
            in_sight = showing(node) and inside(extents(node), extents(top_window(node)))
            print(f"{node.getRoleName()}|{node.name}|{int(in_sight)}")
            return


def pieces():
    # The line and the word a reader reads at the end of the focused box's
    # text, where the caret stands after typing.
    for node in walk(application()):
        if node.getState().contains(pyatspi.STATE_FOCUSED):
            text = node.queryText()
            end = text.characterCount
            line = text.getTextAtOffset(end, pyatspi.TEXT_BOUNDARY_LINE_START)[0]
            word = text.getTextAtOffset(end, pyatspi.TEXT_BOUNDARY_WORD_START)[0]
            print(f"{line}|{word}")
            return


def buttons(title):
    for window in application():
        if window is not None and window.name == title:
            for node in walk(window):
                if node.getRole() == pyatspi.ROLE_PUSH_BUTTON and showing(node):
                    print(node.name)


def rows(name):
    for node in walk(application()):
        if node.name == name and node.getRole() in (pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE,
                                                    pyatspi.ROLE_TREE_TABLE):
            print(node.queryTable().nRows)
            return


def windows(title):
    print(sum(1 for w in application() if w is not None and w.name == title))


def showing_named(*names):
    for node in walk(application()):
        if node.name in names and showing(node):
            print(node.name)


def descriptions(seconds):
    from gi.repository import GLib

    def heard(event):
        # Qt sends the object along rather than the text, so the text is
        # read from the object, as a screen reader reads it.
        source = event.source
        if source.getState().contains(pyatspi.STATE_FOCUSED):
            print(f"{source.getRoleName()}|{source.name}|{source.description}", flush=True)

    application()
    pyatspi.Registry.registerEventListener(heard, "object:property-change:accessible-description")
    GLib.timeout_add(int(float(seconds) * 1000), pyatspi.Registry.stop)
    print("listening", flush=True)
    pyatspi.Registry.start()


def notices(seconds):
    from gi.repository import GLib

    def heard(event):
        # What a screen reader speaks unasked: a notification that appears.
        # Qt sends the object along rather than its text, which is read
        # from the object, as a screen reader reads it.
        source = event.source
        if event.detail1 and source.getRole() == pyatspi.ROLE_NOTIFICATION:
            print(f"{source.getRoleName()}|{source.name}", flush=True)

    application()
    pyatspi.Registry.registerEventListener(heard, "object:state-changed:showing")
    GLib.timeout_add(int(float(seconds) * 1000), pyatspi.Registry.stop)
    print("listening", flush=True)
    pyatspi.Registry.start()


COMMANDS = {
    "unnamed": unnamed,
    "focused": focused,
    "pieces": pieces,
    "buttons": buttons,
    "rows": rows,
    "windows": windows,
    "showing": showing_named,
    "descriptions": descriptions,
    "notices": notices,
}

if __name__ == "__main__":
    if len(sys.argv) < 2 or sys.argv[1] not in COMMANDS:
        sys.exit(__doc__)
    COMMANDS[sys.argv[1]](*sys.argv[2:])
