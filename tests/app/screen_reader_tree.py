#!/usr/bin/python3
"""Reads the three windows as a screen reader does, over the accessibility bus.

    screen_reader_tree.py DRIVER

Starts DRIVER (windows_for_screen_reader), prints the accessibility tree of each of its
windows and of the message box it opens, and fails when a control has no name, when a control
does not carry the name its window gives it, when the box's text or button does not reach the
reader, when the progress bar's new value is not announced, or when a text change of the
password field, or its text, carries the password. Run on a display with the accessibility bus up (screen_reader_check.sh does both).
"""

import subprocess
import sys

import pyatspi
from gi.repository import GLib

STORED_PASSWORD = "Stored-Secret-7"
TYPED_TEXT = "Typed9x"
RUN_SECONDS = 8
READ_AFTER_MS = 4500

# Controls a user reaches and a screen reader must announce by name.
NAMED_ROLES = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY,
    pyatspi.ROLE_PASSWORD_TEXT, pyatspi.ROLE_LIST, pyatspi.ROLE_LIST_BOX, pyatspi.ROLE_PROGRESS_BAR,
    pyatspi.ROLE_PANEL, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_TABLE,
}

# Window caption -> (role name, accessible name) of every control it must hold.
EXPECTED = {
    "Quintabel/connection": [
        ("panel", "Paradox Database"), ("text", "Paradox Folder:"),
        ("push button", "Browse for the Paradox folder"),
        ("push button", "Load Sample/Example Database"), ("push button", "Test Connection"),
        ("panel", "MySQL Login"), ("text", "Server:"), ("text", "Port:"), ("text", "Username:"),
        ("password text", "Password:"), ("text", "Database:"), ("push button", "Help"),
        ("push button", "Next >"),
    ],
    "Quintabel/tables": [
        ("panel", "MySQL Tables"), ("list", "MySQL Tables"), ("push button", "Select All"),
        ("push button", "Deselect All"), ("push button", "Send Table/s To Paradox"),
        ("check box", "Send with data type customization"), ("push button", "Delete Table/s"),
        ("push button", "Rename Table"), ("panel", "Paradox Tables"), ("list", "Paradox Tables"),
        ("push button", "Send Table/s To MySQL"), ("progress bar", "Progress Bar"),
        ("push button", "< Back"), ("push button", "Help"),
    ],
    "Data Type Customization Before Transfer": [
        ("push button", "Help"), ("panel", "Fields"), ("list", "Fields"), ("panel", "Data Type"),
        ("list", "Data Type"), ("panel", "Change Selected Data Type To This"),
        ("text", "Change Selected Data Type To This"), ("push button", "Apply"),
        ("push button", "OK"), ("push button", "Cancel"),
    ],
    "message box": [("push button", "OK")],
}

# The start of the connection window's "Help" message, which the box must hand on whole.
HELP_TEXT = "If you cannot establish connection to your database with this program"
HELP_END = "not a web based connection, for example."

failures = []
password_events = []
leaks = []
progress_values = []


def secret_in(text):
    return any(part in text for part in (STORED_PASSWORD, TYPED_TEXT, STORED_PASSWORD[:4], TYPED_TEXT[:4]))


def on_text_changed(event):
    data = event.any_data if isinstance(event.any_data, str) else ""
    source_role = event.source.getRoleName() if event.source else ""
    if source_role == "password text":
        password_events.append((event.type, data))
        if data.strip("*"):
            leaks.append((event.type, data))
    elif secret_in(data):
        leaks.append((event.type, data))


def on_value_changed(event):
    if event.source and event.source.getRole() == pyatspi.ROLE_PROGRESS_BAR:
        progress_values.append(event.source.queryValue().currentValue)


def describe(accessible):
    line = "%s '%s'" % (accessible.getRoleName(), accessible.name)
    try:
        value = accessible.queryValue()
        line += " value=%g of %g..%g" % (value.currentValue, value.minimumValue, value.maximumValue)
    except NotImplementedError:
        pass
    return line


def walk(accessible, depth, lines, controls, unnamed):
    lines.append("  " * depth + describe(accessible))
    role = accessible.getRole()
    if role == pyatspi.ROLE_PASSWORD_TEXT:
        text = accessible.queryText().getText(0, -1)
        if secret_in(text) or text.strip("*"):
            failures.append("the password field's text reveals the password: %r" % text)
    if role in NAMED_ROLES and not accessible.name:
        unnamed.append(accessible.getRoleName())
    controls.append((accessible.getRoleName(), accessible.name))
    for child in accessible:
        if child is not None:
            walk(child, depth + 1, lines, controls, unnamed)


def window_key(window, controls):
    if any(name.startswith(HELP_TEXT) for _, name in controls):
        return "message box"
    if window.name == "Quintabel":
        return "Quintabel/connection" if ("push button", "Next >") in controls else "Quintabel/tables"
    return window.name


def read_windows():
    desktop = pyatspi.Registry.getDesktop(0)
    application = next((a for a in desktop if a is not None and a.name == "windows_for_screen_reader"), None)
    if application is None:
        failures.append("the windows never appeared on the accessibility bus")
        return False
    seen = set()
    for window in application:
        lines, controls, unnamed = [], [], []
        walk(window, 0, lines, controls, unnamed)
        key = window_key(window, controls)
        # Qt groups a box's buttons in a panel of its own, which a reader passes over.
        if key == "message box":
            unnamed = [role for role in unnamed if role != "panel"]
        for role in unnamed:
            failures.append("unnamed %s in %s" % (role, key))
        seen.add(key)
        print("\n".join(lines))
        print()
        if key == "message box" and not any(HELP_END in name for _, name in controls):
            failures.append("the message box does not hand on its whole text")
        for expected in EXPECTED.get(key, []):
            if expected not in controls:
                failures.append("%s: no %s named %r" % (key, expected[0], expected[1]))
    for key in EXPECTED:
        if key not in seen:
            failures.append("window %s not found" % key)
    return False


def main():
    driver = sys.argv[1]
    pyatspi.Registry.registerEventListener(on_text_changed, "object:text-changed")
    pyatspi.Registry.registerEventListener(on_value_changed, "object:property-change:accessible-value")
    process = subprocess.Popen([driver, str(RUN_SECONDS), STORED_PASSWORD, TYPED_TEXT])
    GLib.timeout_add(READ_AFTER_MS, read_windows)

    def stop_when_ended():
        if process.poll() is None:
            return True
        pyatspi.Registry.stop()
        return False

    GLib.timeout_add(200, stop_when_ended)
    pyatspi.Registry.start()
    if process.returncode != 0:
        failures.append("the windows ended with status %d" % process.returncode)

    # Without a single event from the password field the check above would prove nothing.
    print("password field text changes heard: %s" % password_events)
    if not password_events:
        failures.append("no text change of the password field was heard")
    print("progress bar values heard: %s" % progress_values)
    if 40 not in progress_values:
        failures.append("the progress bar's value 40 was not announced")
    for kind, data in leaks:
        failures.append("%s carried %r" % (kind, data))
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
