"""Reads the programs the way assistive technology does, through AT-SPI: names,
roles, texts and places on the screen. Imported only once the session bus is up."""
import re

import pyatspi

from userdesk import wait_until


def fresh(accessible):
    """Drops what the client library remembers, so the program is asked again."""
    try:
        accessible.clearCache()
    except Exception:
        pass
    return accessible


def application(pid, timeout=20.0):
    """The accessible application of the process pid, once it shows a window."""
    def probe():
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            try:
                if app is not None and app.get_process_id() == pid and app.childCount > 0:
                    return app
            except Exception:
                continue
        return None
    app = wait_until(probe, timeout=timeout, interval=0.2)
    if not app:
        raise AssertionError(f"no accessible application for process {pid}")
    return app


def descendants(root, predicate=lambda a: True, limit=5000):
    """Depth first, in child order; the tree is read anew every time."""
    found = []
    stack = [root]
    seen = 0
    while stack and seen < limit:
        node = stack.pop()
        seen += 1
        if node is None:
            continue
        try:
            if node is not root and predicate(node):
                found.append(node)
            children = [node.getChildAtIndex(i) for i in range(node.childCount)]
        except Exception:
            continue
        stack.extend(reversed(children))
    return found


def showing(accessible):
    try:
        return accessible.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:
        return False


def find(root, role, name=None, timeout=10.0):
    """The first showing object of that role (and name, when given) under root."""
    def probe():
        fresh(root)
        hits = descendants(root, lambda a: a.getRole() == role and showing(a)
                           and (name is None or a.name == name))
        return hits[0] if hits else None
    hit = wait_until(probe, timeout=timeout, interval=0.1)
    if not hit:
        raise AssertionError(f"nothing with role {role} and name {name!r} showing")
    return hit


def extents(accessible):
    box = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x, box.y, box.width, box.height


def centre(accessible):
    x, y, w, h = extents(accessible)
    return x + w // 2, y + h // 2


def table_cell(table, row, column=0):
    return fresh(table).queryTable().getAccessibleAt(row, column)


def table_rows(table):
    return fresh(table).queryTable().nRows


def row_texts(table, column=0):
    """Column texts of every row, as a screen reader announces them."""
    t = fresh(table).queryTable()
    return [t.getAccessibleAt(r, column).name for r in range(t.nRows)]


def whole_text(accessible):
    text = fresh(accessible).queryText()
    return text.getText(0, -1)


def status_panels(app):
    """Names of the labels in the window's status bar, left to right."""
    bar = find(app, pyatspi.ROLE_STATUS_BAR)
    panels = [a for a in descendants(fresh(bar)) if a.getRole() == pyatspi.ROLE_LABEL]
    panels.sort(key=lambda a: extents(a)[0])
    return [p.name for p in panels]


_MNEMONIC_HINT = re.compile(r"\((&?[A-Za-z])\)$")


def spoken_caption(name):
    """A caption as read out: no mnemonic marker, no "(Y)" hint after a Japanese word."""
    return _MNEMONIC_HINT.sub("", name.replace("&", "")).strip()


def message_boxes(app):
    """Showing dialogs and alerts of the application."""
    fresh(app)
    kinds = (pyatspi.ROLE_DIALOG, pyatspi.ROLE_ALERT)
    return [a for a in descendants(app, lambda a: a.getRole() in kinds and showing(a))]


def wait_for_message_box(app, containing, timeout=15.0):
    """The message box whose text contains the given words."""
    def probe():
        for box in message_boxes(app):
            texts = [box.name or ""] + [a.name or "" for a in descendants(box)]
            for a in descendants(box, lambda a: a.getRole() == pyatspi.ROLE_LABEL):
                try:
                    texts.append(a.queryText().getText(0, -1))
                except Exception:
                    pass
            if any(containing in t for t in texts):
                return box
        return None
    box = wait_until(probe, timeout=timeout, interval=0.2)
    if not box:
        raise AssertionError(f"no message box saying {containing!r}")
    return box


def buttons(box):
    return [a for a in descendants(fresh(box)) if a.getRole() == pyatspi.ROLE_PUSH_BUTTON]
