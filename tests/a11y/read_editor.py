#!/usr/bin/env python3
"""Reads the running program through AT-SPI, as a screen reader does.

Finds the program on the accessibility bus, checks the names of its toolbar
buttons, finds the editor control of the open page, reads its text, role and
caret, presses keys (xdotool) and checks what the bus reports afterwards.
Prints one line per check and exits 1 when any fails.
"""
import subprocess
import sys
import time

import pyatspi

failures = []


def check(what, ok, detail=""):
    print(("ok   " if ok else "FAIL ") + what + (": " + detail if detail else ""), flush=True)
    if not ok:
        failures.append(what)


def walk(node, depth=0):
    if node is None or depth > 40:
        return
    yield node
    for i in range(node.childCount):
        try:
            child = node.getChildAtIndex(i)
        except Exception:
            continue
        yield from walk(child, depth + 1)


def find_app(name, seconds=30):
    end = time.time() + seconds
    while time.time() < end:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name and app.name.lower().startswith(name):
                return app
        time.sleep(0.5)
    return None


def find_editor(app, seconds=20):
    end = time.time() + seconds
    while time.time() < end:
        for node in walk(app):
            try:
                if node.getRole() == pyatspi.ROLE_TEXT and node.getState().contains(pyatspi.STATE_MULTI_LINE):
                    text = node.queryText()
                    if text.characterCount > 0:
                        return node
            except Exception:
                continue
        time.sleep(0.5)
    return None


def keys(*names):
    subprocess.run(["xdotool", "key", "--clearmodifiers", *names], check=True)
    time.sleep(0.4)


def main():
    expected_start = sys.argv[1]
    app = find_app("velora")
    check("the program is on the accessibility bus", app is not None)
    if app is None:
        return 1

    editor = find_editor(app)
    check("the editor control is a multi-line text", editor is not None)
    if editor is None:
        return 1
    text = editor.queryText()
    whole = text.getText(0, -1)
    check("its role is text", editor.getRoleName() == "text", editor.getRoleName())
    check("it is editable", editor.getState().contains(pyatspi.STATE_EDITABLE))
    check("its text is the page's", whole.startswith(expected_start), repr(whole[:60]))
    check("it counts characters, not bytes", text.characterCount == len(whole),
          "%d vs %d" % (text.characterCount, len(whole)))

    # The caret after key presses, and the line a reader speaks there.
    editor.queryComponent().grabFocus()
    time.sleep(0.5)
    keys("ctrl+Home")
    keys("Down", "End")
    caret = text.caretOffset
    first_break = whole.find("\n")
    second_break = whole.find("\n", first_break + 1)
    check("the caret follows the keys", caret == second_break, "%d, expected %d" % (caret, second_break))
    line, start, end = text.getTextAtOffset(caret - 1, pyatspi.TEXT_BOUNDARY_LINE_START)
    check("the line at the caret", line.rstrip("\n") == whole[first_break + 1:second_break], repr(line))

    # A change after typing: the text read back holds the typed word where the caret was.
    keys("Home")
    subprocess.run(["xdotool", "type", "--delay", "40", "Hello "], check=True)
    time.sleep(0.8)
    after = text.getText(0, -1)
    check("typed text is read back", after[first_break + 1:first_break + 7] == "Hello ", repr(after[first_break + 1:first_break + 12]))
    check("the caret moved past it", text.caretOffset == first_break + 7, str(text.caretOffset))

    # Toolbar buttons name themselves.
    unnamed = []
    buttons = 0
    for node in walk(app):
        try:
            # Buttons a reader can reach: shown ones (a bar's hidden overflow button is not).
            if node.getRole() == pyatspi.ROLE_PUSH_BUTTON and node.parent is not None and \
                    node.parent.getRole() == pyatspi.ROLE_TOOL_BAR and node.getState().contains(pyatspi.STATE_SHOWING):
                buttons += 1
                if not node.name:
                    unnamed.append("%s #%d of toolbar %r" % (node.description or "?", node.getIndexInParent(),
                                                            node.parent.name))
        except Exception:
            continue
    check("toolbar buttons were found", buttons > 0, str(buttons))
    check("every toolbar button has a name", not unnamed, ", ".join(unnamed[:10]))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
