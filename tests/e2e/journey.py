"""A person's whole journey through the real, built Nodalis, driven from outside
the process: keys and clicks from xdotool, and what the windows show read from
the accessibility tree (AT-SPI), as a screen reader reads it.

    dbus-run-session -- journey.py <nodalis> <artefact folder>

on an X server of its own (tests/support/on-x-server.sh): the journey takes
the screen, the pointer and the session bus for itself.

How it reaches the program:
- Accessibility. The script starts the accessibility bus (at-spi-bus-launcher)
  on the private session bus, and the program with
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1, since no desktop is there to switch
  accessibility on. Windows and controls are found by role and accessible name
  (a list by the label that names it), so the journey also checks what a
  screen reader announces.
- Input. No window manager runs, so windows have no decorations and the
  screen positions that the tree gives are where xdotool clicks; a click waits
  until the X window under the pointer is the window that the tree shows
  there, as Qt reports a window shown before the X server maps it. Keys go to
  the window with the X input focus, which the script gives with
  `windowfocus --sync` (windowactivate needs a window manager). A list is
  opened with a click and an item chosen with Home, Down as often as its
  position and Return: a typed prefix would depend on the time between keys.
- The close box. A window manager closes a window by sending it the
  WM_DELETE_WINDOW message; the script sends the same message.
- Waiting. Every wait polls for what it waits for, for at most ten seconds.
- Files. HOME, XDG_CONFIG_HOME and XDG_RUNTIME_DIR are fresh temporary
  folders, so the user's settings are never touched and the update reminder
  stays quiet. A screenshot of every step, the program's output and, after a
  failure, the accessibility tree are left in the artefact folder.
"""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from collections import namedtuple
from pathlib import Path

import pyatspi
from gi.repository import Gio, GLib
from Xlib import X, display, protocol
from Xlib.error import XError

TIMEOUT = 10.0
WINDOW_CAPTION = "Nodalis v1.45"
MESSAGE_TITLE = "Nodalis"
GET_READING = "Get My Karmic Astrology Interpretation"
OPEN_SAVED = "Click Here To Open Previously Saved Karmic Astrology Interpretation"

# What the reading window shows of a reading, in the order read here.
Reading = namedtuple(
    "Reading",
    "north_sign south_sign north_keywords south_keywords north_description south_description",
)


class JourneyFailure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise JourneyFailure(message)


def wait_until(what, probe):
    """Polls `probe` until it gives something true, and returns that. A probe
    that fails counts as not yet: windows change while the tree is read."""
    deadline = time.monotonic() + TIMEOUT
    while True:
        try:
            result, reason = probe(), ""
        except (GLib.Error, LookupError, XError, JourneyFailure) as error:
            result, reason = None, f": {error}"
        if result:
            return result
        if time.monotonic() > deadline:
            raise JourneyFailure(f"waited {TIMEOUT:.0f} s for {what}{reason}")
        time.sleep(0.05)


# --- What the windows show: the accessibility tree ---------------------------


def showing(accessible):
    return accessible.getState().contains(pyatspi.STATE_SHOWING)


def children(accessible):
    return [accessible.getChildAtIndex(i) for i in range(accessible.childCount)]


def descendants(accessible):
    """Every control on screen inside `accessible`, not counting the items of
    drop-down lists."""
    for child in children(accessible):
        if child is not None and showing(child):
            yield child
            if child.getRoleName() != "list":
                yield from descendants(child)


def find_all(window, role, name=None, description=None):
    return [
        control
        for control in descendants(window)
        if control.getRoleName() == role
        and (name is None or control.name == name)
        and (description is None or control.description == description)
    ]


def find_one(window, role, name=None, description=None):
    found = find_all(window, role, name, description)
    what = f"{role} {name or description!r}"
    check(found, f"no {what} in the window {window.name!r}")
    check(len(found) == 1, f"{len(found)} controls are the {what}")
    return found[0]


def labelled_by(control):
    for relation in control.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            return [relation.getTarget(i).name for i in range(relation.getNTargets())]
    return []


def find_labelled(window, role, caption):
    found = [c for c in find_all(window, role) if labelled_by(c) == [caption]]
    check(len(found) == 1, f"{len(found)} controls of role {role} are labelled {caption!r}")
    return found[0]


def text_of(control):
    return control.queryText().getText(0, -1)


def extents(accessible):
    box = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x, box.y, box.width, box.height


def window_of(control):
    while control.parent.getRoleName() != "application":
        control = control.parent
    return control


class Program:
    """One run of the program, seen through its accessibility tree."""

    def __init__(self, executable, environment, log):
        # Started in its home folder, where its file dialogs then open.
        self.process = subprocess.Popen(
            [executable],
            env=environment,
            cwd=environment["HOME"],
            stdout=log,
            stderr=subprocess.STDOUT,
        )
        self.application = wait_until("the program on the accessibility bus", self._find)

    def _find(self):
        ended = self.process.poll()
        if ended is not None:
            raise JourneyFailure(f"the program ended at its start, with exit code {ended}")
        desktop = pyatspi.Registry.getDesktop(0)
        for application in children(desktop):
            if application is not None and application.get_process_id() == self.process.pid:
                return application
        return None

    def wait_for_window(self, what, role, name, holding=None):
        """The one window of `role` and `name` on screen; when several are,
        the one that holds a control matching `holding` (role, name, description)."""

        def probe():
            found = [
                window
                for window in children(self.application)
                if window.getRoleName() == role
                and window.name == name
                and showing(window)
                and (holding is None or find_all(window, *holding))
            ]
            return found[0] if len(found) == 1 else None

        return wait_until(what, probe)

    def main_window(self):
        return self.wait_for_window(
            "the main window", "frame", WINDOW_CAPTION, ("push button", GET_READING)
        )

    def reading_window(self):
        return self.wait_for_window(
            "the reading window", "frame", WINDOW_CAPTION, ("label", None, "North Node sign")
        )

    def report_window(self):
        return self.wait_for_window(
            "the report window", "dialog", WINDOW_CAPTION, ("text", "Report")
        )

    def message(self):
        """The text of the message box on screen and its OK button."""
        box = self.wait_for_window("a message", "alert", MESSAGE_TITLE)
        return [label.name for label in find_all(box, "label")], find_one(box, "push button", "OK")

    def wait_until_closed(self, what, window):
        wait_until(f"{what} to close", lambda: not showing(window))

    def exit_code(self):
        try:
            return self.process.wait(TIMEOUT)
        except subprocess.TimeoutExpired:
            raise JourneyFailure("the program did not end") from None

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


# --- A person's hands: xdotool, and the close box ---------------------------


def xdotool(*arguments):
    try:
        result = subprocess.run(
            ["xdotool", *map(str, arguments)], capture_output=True, text=True, timeout=TIMEOUT
        )
    except subprocess.TimeoutExpired:
        raise JourneyFailure(f"xdotool {arguments[0]} did not end") from None
    check(result.returncode == 0, f"xdotool {arguments[0]} failed: {result.stderr.strip()}")
    return result.stdout


class Hands:
    def __init__(self, x_server):
        self.x_server = x_server

    def pointer(self):
        """Where the pointer is, and the X window under it."""
        shell = dict(line.split("=", 1) for line in xdotool("getmouselocation", "--shell").split())
        return (int(shell["X"]), int(shell["Y"])), int(shell["WINDOW"])

    def point_at(self, control):
        """Moves the pointer onto `control`; gives the X window of its window
        once the X server shows that window where the tree says it is."""
        x, y, width, height = extents(control)
        check(width > 0 and height > 0, f"{control.name!r} has no place on screen")
        place = (x + width // 2, y + height // 2)
        if self.pointer()[0] != place:
            # --sync waits for the pointer to move, so it must not be there already.
            xdotool("mousemove", "--sync", *place)
        window = window_of(control)

        def mapped_window_under_pointer():
            x_window = self.pointer()[1]
            if x_window == self.x_server.screen().root.id:
                return None
            geometry = self.x_server.create_resource_object("window", x_window).get_geometry()
            box = (geometry.x, geometry.y, geometry.width, geometry.height)
            return x_window if box == extents(window) else None

        return wait_until(f"the window {window.name!r} on the screen", mapped_window_under_pointer)

    def click(self, control):
        self.point_at(control)
        xdotool("click", "1")

    def type_into(self, field, text):
        self.click(field)
        xdotool("windowfocus", "--sync", self.point_at(field))
        xdotool("type", "--delay", 20, text)

    def press(self, *keys):
        xdotool("key", "--delay", 20, *keys)

    def close_box(self, window):
        """What a window manager does when the user clicks the window's close box."""
        target = self.x_server.create_resource_object("window", self.point_at(window))
        protocols = self.x_server.intern_atom("WM_PROTOCOLS")
        delete = self.x_server.intern_atom("WM_DELETE_WINDOW")
        message = protocol.event.ClientMessage(
            window=target, client_type=protocols, data=(32, [delete, X.CurrentTime, 0, 0, 0])
        )
        target.send_event(message, event_mask=X.NoEventMask)
        self.x_server.flush()


# --- The journey -------------------------------------------------------------


def bus_has_owner(bus, name):
    reply = bus.call_sync(
        "org.freedesktop.DBus",
        "/org/freedesktop/DBus",
        "org.freedesktop.DBus",
        "NameHasOwner",
        GLib.Variant("(s)", (name,)),
        GLib.VariantType("(b)"),
        Gio.DBusCallFlags.NONE,
        -1,
        None,
    )
    return reply.unpack()[0]


class Journey:
    def __init__(self, executable, artefacts):
        self.executable = executable
        self.artefacts = artefacts
        self.step = 0
        self.work = Path(tempfile.mkdtemp(prefix="nodalis-journey-"))
        self.environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        for variable, folder in (
            ("HOME", "home"),
            ("XDG_CONFIG_HOME", "config"),
            ("XDG_RUNTIME_DIR", "runtime"),
        ):
            (self.work / folder).mkdir(mode=0o700)
            self.environment[variable] = str(self.work / folder)
        self.reading_file = self.work / "home" / "ann-lee.nrd"
        self.program_output = None
        self.x_server = None
        self.hands = None
        self.accessibility_bus = None
        self.program = None

    def __enter__(self):
        self.program_output = open(self.artefacts / "program-output.txt", "wb")
        self.x_server = display.Display()
        self.hands = Hands(self.x_server)
        # The bus and its registry in a process group of their own, to be ended together.
        self.accessibility_bus = subprocess.Popen(
            ["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
            env=self.environment,
            stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL,
            start_new_session=True,
        )
        # Asking for the bus before the launcher owns its name would start a second launcher.
        session = Gio.bus_get_sync(Gio.BusType.SESSION)
        wait_until("the accessibility bus", lambda: bus_has_owner(session, "org.a11y.Bus"))
        return self

    def __exit__(self, kind, error, trace):
        if error is not None and self.program is not None:
            self.save_tree()
            self.screenshot("failure")
        if self.program is not None:
            self.program.kill()
        if self.accessibility_bus is not None:
            os.killpg(self.accessibility_bus.pid, signal.SIGTERM)
            self.accessibility_bus.wait()
        if self.x_server is not None:
            self.x_server.close()
        if self.program_output is not None:
            self.program_output.close()
        shutil.rmtree(self.work, ignore_errors=True)
        return False

    # Artefacts

    def screenshot(self, name):
        self.step += 1
        path = self.artefacts / f"{self.step:02d}-{name}.png"
        subprocess.run(["import", "-window", "root", str(path)], check=True, timeout=TIMEOUT)
        print(f"step {self.step:2d}: {name}", flush=True)

    def save_tree(self):
        def lines(accessible, depth):
            about = f" ({accessible.description})" if accessible.description else ""
            yield f"{'  ' * depth}[{accessible.getRoleName()}] {accessible.name!r}{about}"
            if accessible.getRoleName() != "list":
                for child in children(accessible):
                    if child is not None and showing(child):
                        yield from lines(child, depth + 1)

        try:
            tree = "\n".join(lines(self.program.application, 0))
        except Exception as error:  # only a help for reading the failure
            tree = f"the tree could not be read: {error}"
        (self.artefacts / "failure-tree.txt").write_text(tree + "\n")

    # Steps

    def start_program(self):
        if self.program is not None:
            self.program.kill()
        self.program = Program(self.executable, self.environment, self.program_output)
        return self.program.main_window()

    def expect_message(self, text, picture):
        shown, ok = self.program.message()
        check(shown == [text], f"the message says {shown}, not {text!r}")
        self.screenshot(picture)
        box = window_of(ok)
        self.hands.click(ok)
        self.program.wait_until_closed("the message", box)

    def choose(self, window, caption, item):
        chooser = find_labelled(window, "combo box", caption)
        items = chooser.getChildAtIndex(0)
        offered = [entry.name for entry in children(items)]
        check(item in offered, f"the list {caption!r} does not offer {item!r}")
        self.hands.click(chooser)
        wait_until(f"the list {caption!r} to open", lambda: showing(items))
        self.hands.press("Home", *["Down"] * offered.index(item), "Return")
        wait_until(
            f"{item!r} chosen in the list {caption!r}",
            lambda: chooser.name == item and not showing(items),
        )

    def choose_date(self, window, day, month, year):
        self.choose(window, "Date", day)
        self.choose(window, "Month", month)
        self.choose(window, "Year", year)

    def entries(self, window):
        name = find_one(window, "text", "Name")
        dates = [find_labelled(window, "combo box", c).name for c in ("Date", "Month", "Year")]
        return [text_of(name), *dates]

    def get_reading(self, main):
        self.hands.click(find_one(main, "push button", GET_READING))
        return self.program.reading_window()

    def read_reading(self, window):
        def caption(description):
            return find_one(window, "label", description=description).name

        def description_box(name):
            return text_of(find_one(window, "text", name))

        return Reading(
            caption("North Node sign"),
            caption("South Node sign"),
            caption("North Node keywords"),
            caption("South Node keywords"),
            description_box("North Node description"),
            description_box("South Node description"),
        )

    def expect_reading(self, window, *signs_and_keywords):
        def written():
            reading = self.read_reading(window)
            return reading if reading.north_sign != "lblSignNorth" else None

        reading = wait_until("the reading to be written into the reading window", written)
        check(
            tuple(reading[:4]) == signs_and_keywords,
            f"the reading window shows {reading[:4]}, not {signs_and_keywords}",
        )
        check(reading.north_description, "the North Node's description is empty")
        check(reading.south_description, "the South Node's description is empty")
        return reading

    def answer_file_dialog(self, title, path, picture):
        """Types `path` into the file name box of Qt's file dialog and accepts it."""
        dialog = self.program.wait_for_window(f"the dialog {title!r}", "dialog", title)
        name_box = wait_until(
            "the file name box", lambda: find_labelled(dialog, "text", "File name:")
        )
        self.hands.type_into(name_box, str(path))
        wait_until("the typed path in the file name box", lambda: text_of(name_box) == str(path))
        self.screenshot(picture)
        self.hands.press("Return")
        self.program.wait_until_closed(f"the dialog {title!r}", dialog)

    def run(self):
        main = self.start_program()
        self.screenshot("main-window")

        name = find_one(main, "text", "Name")
        self.hands.type_into(name, "ann7")
        self.expect_message("Please Enter only Letters", "a-digit-in-the-name")
        check(text_of(name) == "ANN", f"after the digit the name is {text_of(name)!r}")
        self.hands.type_into(name, " lee")
        wait_until("the name ANN LEE", lambda: text_of(name) == "ANN LEE")

        self.choose_date(main, "10", "August", "1975")
        self.screenshot("ann-lee-10-august-1975")
        reading = self.get_reading(main)
        self.expect_reading(
            reading, "Scorpio", "Taurus", "Stubborn and Self-Reliant", "Stubborn and Self-reliant"
        )
        self.screenshot("reading-10-august-1975")

        self.hands.click(find_one(reading, "push button", "Back"))
        self.program.wait_until_closed("the reading window", reading)
        main = self.program.main_window()
        kept = self.entries(main)
        check(
            kept == ["ANN LEE", "10", "August", "1975"], f"after Back the main window holds {kept}"
        )
        self.screenshot("back-in-the-main-window")

        self.choose(main, "Date", "31")
        self.choose(main, "Month", "April")
        self.hands.click(find_one(main, "push button", GET_READING))
        self.expect_message("Please Enter Correct Date Or Month !", "31-april-1975")

        self.choose_date(main, "29", "February", "1964")
        reading = self.get_reading(main)
        saved = self.expect_reading(
            reading, "Cancer", "Capricorn", "Impulsive and Social", "Impulsive and Social"
        )
        self.screenshot("reading-29-february-1964")

        self.hands.click(find_one(reading, "push button", "Print"))
        report = self.program.report_window()
        report_lines = text_of(find_one(report, "text", "Report")).splitlines()
        for line in ("Name :- ANN LEE", "Date Of Birth :- February/29/1964"):
            check(line in report_lines, f"the report has no line {line!r}")
        self.screenshot("report-window")

        self.hands.click(find_one(report, "push button", "Save"))
        # Typed without its extension, which the dialog adds.
        self.answer_file_dialog(
            MESSAGE_TITLE, self.reading_file.with_suffix(""), "save-dialog-with-the-path"
        )
        check(self.reading_file.is_file(), f"{self.reading_file} was not saved")
        self.hands.close_box(report)
        self.program.wait_until_closed("the report window", report)
        self.screenshot("report-closed")

        self.hands.close_box(reading)
        check(self.program.exit_code() == 0, "the program failed when its close box ended it")
        self.screenshot("program-ended")

        main = self.start_program()
        self.hands.click(find_one(main, "push button", OPEN_SAVED))
        self.answer_file_dialog(
            "Select the source file", self.reading_file, "open-dialog-with-the-path"
        )
        reading = self.program.reading_window()
        reopened = self.expect_reading(reading, *saved[:4])
        check(reopened == saved, f"the opened reading differs from the saved one: {reopened}")
        self.screenshot("reopened-reading")

        self.hands.click(find_one(reading, "push button", "Exit"))
        check(self.program.exit_code() == 0, "the program failed when Exit ended it")


def main():
    executable, artefacts = sys.argv[1], Path(sys.argv[2])
    shutil.rmtree(artefacts, ignore_errors=True)
    artefacts.mkdir(parents=True)
    began = time.monotonic()
    try:
        with Journey(executable, artefacts) as journey:
            journey.run()
    except JourneyFailure as failure:
        print(f"FAIL: {failure}", file=sys.stderr)
        return 1
    print(f"the journey took {time.monotonic() - began:.1f} s; screenshots in {artefacts}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
