#!/usr/bin/python3
"""Drives the packaged program as a user would, over the accessibility bus.

    package_run.py PROGRAM

Starts PROGRAM (quintabel as unpacked from the package) on an empty settings folder, waits for
the connection window, presses "Load Sample/Example Database" and then the Paradox side's
"Test Connection", and fails unless the folder field then shows the user's own copy of the
samples ($XDG_DATA_HOME/Quintabel/Samples), the copy holds the sample tables, and the answer is
"Connection successful.". Run on a display with the accessibility bus up
(screen_reader_check.sh brings up both).
"""

import os
import subprocess
import sys
import time

import pyatspi

WAIT_SECONDS = 40
SUCCESS = "Connection successful."


def controls(accessible):
    """Every accessible below `accessible`, itself included."""
    found = [accessible]
    for child in accessible:
        if child is not None:
            found.extend(controls(child))
    return found


def application_windows():
    desktop = pyatspi.Registry.getDesktop(0)
    for application in desktop:
        if application is not None and application.name.lower() == "quintabel":
            return [window for window in application if window is not None]
    return []


def wait_for(what, find):
    """Polls `find` until it answers something other than None; fails after WAIT_SECONDS."""
    deadline = time.monotonic() + WAIT_SECONDS
    while time.monotonic() < deadline:
        try:
            found = find()
        except Exception:  # an accessible that went away while it was read
            found = None
        if found is not None:
            return found
        time.sleep(0.2)
    raise SystemExit("gave up waiting for %s" % what)


def find_control(role_name, name, inside=None):
    for window in [inside] if inside is not None else application_windows():
        for control in controls(window):
            if (role_name is None or control.getRoleName() == role_name) and control.name == name:
                return control
    return None


def press(button):
    actions = button.queryAction()
    for index in range(actions.nActions):
        if actions.getName(index).lower() in ("press", "click"):
            actions.doAction(index)
            return
    actions.doAction(0)


def texts_shown():
    return sorted({c.name for w in application_windows() for c in controls(w) if c.name})


def main():
    program = sys.argv[1]
    expected_folder = os.path.join(os.environ["XDG_DATA_HOME"], "Quintabel", "Samples")
    process = subprocess.Popen([program])
    try:
        paradox_panel = wait_for("the connection window", lambda: find_control("panel", "Paradox Database"))
        press(wait_for("the sample button", lambda: find_control("push button", "Load Sample/Example Database")))
        folder_field = find_control("text", "Paradox Folder:", paradox_panel) or find_control("text", "Paradox Folder:")

        def folder_shown():
            text = folder_field.queryText().getText(0, -1)
            return text if text == expected_folder else None

        wait_for("the folder field to show %s" % expected_folder, folder_shown)
        tables = sorted(name for name in os.listdir(expected_folder) if name.upper().endswith(".DB"))
        if not tables:
            raise SystemExit("the user's copy of the samples holds no tables")
        print("samples copied to the user's folder:", " ".join(tables))

        test_button = find_control("push button", "Test Connection", paradox_panel)
        if test_button is None:
            raise SystemExit("no Test Connection button on the Paradox side")
        press(test_button)
        answer = wait_for("the answer of Test Connection", lambda: find_control(None, SUCCESS))
        print("Test Connection answered:", answer.name)
    except SystemExit as failure:
        print("texts on screen:", texts_shown())
        raise failure
    finally:
        process.terminate()
        try:
            process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
    return 0


if __name__ == "__main__":
    sys.exit(main())
