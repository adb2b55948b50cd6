#!/usr/bin/python3
"""Drives the packaged program as a user would, over the accessibility bus.

    package_run.py PROGRAM

Starts PROGRAM (quintabel as unpacked from the package) on an empty settings folder and, in
the connection window, presses "Load Sample/Example Database" and the Paradox side's "Test
Connection": the folder field must show the user's own copy of the samples
($XDG_DATA_HOME/Quintabel/Samples) and the answer must be "Connection successful.". Then it
types the MySQL login of the test server into the window, goes on to the tables window and
sends a table each way: the MySQL table "tiny" into the samples copy, and the sample tables
into MySQL. The copies are checked with the packaged pdxtool and the server's own client; the
scratch database must lie in the user's runtime folder, never beside the program.

The login and the way to the server's client come from the environment: PACKAGE_CHECK_PORT,
PACKAGE_CHECK_DATABASE, and PACKAGE_CHECK_SQL (a command that takes the client's arguments).
Run on a display with the accessibility bus up (screen_reader_check.sh brings up both).
"""

import glob
import json
import os
import shlex
import subprocess
import sys
import time

import pyatspi

WAIT_SECONDS = 40
SUCCESS = "Connection successful."
SANDBOX_USER = "quintabel"
SANDBOX_PASSWORD = "quintabel-sandbox"


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


def showing(accessible):
    return accessible.getState().contains(pyatspi.STATE_SHOWING)


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
    """The first showing control of that role (any role for None) and name."""
    for window in [inside] if inside is not None else application_windows():
        for control in controls(window):
            if (role_name is None or control.getRoleName() == role_name) and control.name == name \
                    and showing(control):
                return control
    return None


def press(button):
    actions = button.queryAction()
    for index in range(actions.nActions):
        if actions.getName(index).lower() in ("press", "click"):
            actions.doAction(index)
            return
    actions.doAction(0)


def type_into(panel, label, text):
    # The field carries the name of the label before it; the label itself is passed over.
    field = find_control("text", label, panel) or find_control("password text", label, panel)
    if field is None:
        raise SystemExit("no field %r" % label)
    field.queryEditableText().setTextContents(text)


def list_items(list_name):
    table_list = find_control("list", list_name)
    return [c for c in controls(table_list)[1:] if c.name] if table_list is not None else []


def selected(accessible):
    return accessible.getState().contains(pyatspi.STATE_SELECTED)


def click_first_item(list_name):
    """Clicks the first item of the list with the mouse (through the display's test
    extension) until it shows as selected. A send needs a current item besides the
    selection, which "Select All" alone does not give; a click does, as it does for a user."""
    def attempt():
        items = list_items(list_name)
        if not items:
            return None
        if selected(items[0]):
            return True
        extents = items[0].queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        pyatspi.Registry.generateMouseEvent(extents.x + extents.width // 2, extents.y + extents.height // 2,
                                            pyatspi.MOUSE_B1C)
        time.sleep(1)
        return None

    wait_for("a click on the first item of %r" % list_name, attempt)


def select_all_and_send(list_name, panel, send_button):
    click_first_item(list_name)
    press(find_control("push button", "Select All", panel))
    wait_for("every item of %r to be selected" % list_name,
             lambda: all(selected(item) for item in list_items(list_name)) or None)
    press(find_control("push button", send_button, panel))


def list_names(panel_name):
    panel = find_control("panel", panel_name)
    lists = [c for c in controls(panel) if c.getRoleName() == "list"] if panel is not None else []
    return {item.name for item in controls(lists[0])[1:] if item.name} if lists else set()


def texts_shown():
    return sorted({c.name for w in application_windows() for c in controls(w) if c.name and showing(c)})


def answer_boxes_until(what, done, boxes_seen):
    """Waits until `done()` holds; meanwhile answers every message box: "No" to a question
    (never overwrite), "OK" to a message. The boxes' texts are kept in `boxes_seen`."""
    def step():
        if done():
            return True
        button = find_control("push button", "No") or find_control("push button", "OK")
        if button is not None:
            window = next((w for w in application_windows() if button in controls(w)), None)
            if window is not None:
                boxes_seen.append(" ".join(c.name for c in controls(window)
                                           if c.name and c.getRoleName() == "label"))
            press(button)
            time.sleep(0.5)
        return None

    wait_for(what, step)


def sql(statement):
    command = shlex.split(os.environ["PACKAGE_CHECK_SQL"]) + ["-N", "-B", "-e", statement]
    return subprocess.run(command, check=True, capture_output=True, text=True).stdout.strip()


def pdxtool(program, *arguments):
    tool = os.path.join(os.path.dirname(program), "pdxtool")
    return subprocess.run([tool, *arguments], check=True, capture_output=True, text=True).stdout


def file_named(folder, name):
    """The file in `folder` whose name is `name` in any letter case, or None."""
    return next((os.path.join(folder, f) for f in os.listdir(folder) if f.lower() == name.lower()), None)


def check_connection_window(samples):
    paradox_panel = wait_for("the connection window", lambda: find_control("panel", "Paradox Database"))
    press(wait_for("the sample button", lambda: find_control("push button", "Load Sample/Example Database")))
    folder_field = find_control("text", "Paradox Folder:", paradox_panel)

    def folder_shown():
        text = folder_field.queryText().getText(0, -1)
        return text if text == samples else None

    wait_for("the folder field to show %s" % samples, folder_shown)
    tables = sorted(name for name in os.listdir(samples) if name.upper().endswith(".DB"))
    if not tables:
        raise SystemExit("the user's copy of the samples holds no tables")
    print("samples copied to the user's folder:", " ".join(tables))

    test_button = find_control("push button", "Test Connection", paradox_panel)
    if test_button is None:
        raise SystemExit("no Test Connection button on the Paradox side")
    press(test_button)
    answer = wait_for("the answer of Test Connection", lambda: find_control(None, SUCCESS))
    print("Test Connection answered:", answer.name)
    press(wait_for("the answer's OK button", lambda: find_control("push button", "OK")))
    wait_for("the answer to close", lambda: None if find_control(None, SUCCESS) else True)
    return tables


def send_mysql_table_to_paradox(program, samples, boxes_seen):
    select_all_and_send("MySQL Tables", find_control("panel", "MySQL Tables"), "Send Table/s To Paradox")
    answer_boxes_until("TINY in the Paradox list", lambda: "TINY" in list_names("Paradox Tables") or None,
                       boxes_seen)
    table = file_named(samples, "tiny.db")
    if table is None:
        raise SystemExit("no tiny.db in the user's samples copy: %s" % os.listdir(samples))
    rows = [{key.lower(): value for key, value in json.loads(line).items()}
            for line in pdxtool(program, "dump", table).splitlines()]
    got = [[row.get("id"), row.get("name")] for row in rows]
    print("tiny.db as pdxtool reads it:", rows)
    if got != [[1, "kale"], [2, "leek"], [3, "ñame"]]:
        raise SystemExit("tiny.db does not hold the MySQL rows: %s" % got)

    scratch = glob.glob(os.path.join(os.environ["XDG_RUNTIME_DIR"], "quintabel", "scratch-*", "dbtemp.mdb"))
    if len(scratch) != 1:
        raise SystemExit("the running program's scratch database is not in the runtime folder: %s" % scratch)
    beside = os.listdir(os.path.dirname(program))
    if sorted(beside) != ["pdxtool", "quintabel", "quintabel-cli"]:
        raise SystemExit("the program wrote beside itself: %s" % beside)
    print("scratch database:", scratch[0])


def send_samples_to_mysql(program, samples, sample_tables, boxes_seen):
    select_all_and_send("Paradox Tables", find_control("panel", "Paradox Tables"), "Send Table/s To MySQL")
    wanted = {os.path.splitext(name)[0].upper() for name in sample_tables}
    answer_boxes_until("the samples in the MySQL list",
                       lambda: wanted <= {n.upper() for n in list_names("MySQL Tables")} or None, boxes_seen)
    database = os.environ["PACKAGE_CHECK_DATABASE"]
    for name in sorted(wanted):
        records = json.loads(pdxtool(program, "info", file_named(samples, name + ".db")))["recordsCounted"]
        count = int(sql("SELECT COUNT(*) FROM `%s`.`%s`" % (database, name)))
        print("%s: %d rows in Paradox, %d in MySQL" % (name, records, count))
        if count != records:
            raise SystemExit("%s arrived in MySQL with %d rows instead of %d" % (name, count, records))
    if sql("SELECT COUNT(*) FROM `%s`.tiny" % database) != "3":
        raise SystemExit("the MySQL table tiny was changed by the way back")


def main():
    program = sys.argv[1]
    samples = os.path.join(os.environ["XDG_DATA_HOME"], "Quintabel", "Samples")
    process = subprocess.Popen([program])
    boxes_seen = []
    try:
        sample_tables = check_connection_window(samples)

        login = find_control("panel", "MySQL Login")
        for label, text in (("Server:", "127.0.0.1"), ("Port:", os.environ["PACKAGE_CHECK_PORT"]),
                            ("Username:", SANDBOX_USER), ("Password:", SANDBOX_PASSWORD),
                            ("Database:", os.environ["PACKAGE_CHECK_DATABASE"])):
            type_into(login, label, text)
        press(find_control("push button", "Next >"))
        wait_for("the tables window", lambda: "tiny" in list_names("MySQL Tables") or None)

        send_mysql_table_to_paradox(program, samples, boxes_seen)
        send_samples_to_mysql(program, samples, sample_tables, boxes_seen)
        print("boxes answered:", boxes_seen)
    except SystemExit as failure:
        print("texts on screen:", texts_shown())
        print("boxes answered:", boxes_seen)
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
