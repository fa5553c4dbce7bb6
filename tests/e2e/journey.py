# A person's whole journey through the real Nodalis, by keyboard where a person can, checked as a
# screen reader hears it (AT-SPI), on an X server of its own without a window manager, whose close
# box is a WM_DELETE_WINDOW message:  dbus-run-session -- journey.py <nodalis> <artefact folder>
# Screenshots, the program's output and the windows' accessibility trees are left in the latter.

import os
import shutil
import subprocess
import sys
import tempfile
import time
from pathlib import Path

import pyatspi
from gi.repository import Gio, GLib
from Xlib import X, display
from Xlib.protocol.event import ClientMessage

EXECUTABLE, ARTEFACTS = (Path(argument).absolute() for argument in sys.argv[1:3])
X_SERVER = display.Display()
DESKTOP = pyatspi.Registry.getDesktop(0)
PROGRAMS = []
ENVIRONMENT = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
CAPTION = "Nodalis v1.45"
SHOWN = ("North Node sign", "South Node sign", "North Node keywords", "South Node keywords")


# Gives what `probe` gives once it is true; one that raises counts as not yet, as windows change.
def wait(what, probe):
    deadline, reason = time.monotonic() + 10, ""
    while time.monotonic() < deadline:
        try:
            if result := probe():
                return result
        except Exception as error:
            reason = f": {error}"
        time.sleep(0.05)
    raise AssertionError(f"waited 10 s for {what}{reason}")


def xdotool(*arguments):
    subprocess.run(["xdotool", *map(str, arguments)], check=True, timeout=10)


def screenshot(name):
    step = len(list(ARTEFACTS.glob("*.png"))) + 1
    subprocess.run(["import", "-window", "root", ARTEFACTS / f"{step:02d}-{name}.png"], check=True)
    print(f"step {step:2d}: {name}", flush=True)


def kids(node):
    return [c for c in map(node.getChildAtIndex, range(node.childCount)) if c is not None]


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def on_screen(node):
    for child in filter(showing, kids(node)):
        yield child
        if child.getRoleName() != "list":
            yield from on_screen(child)


def labels(control):
    by = pyatspi.RELATION_LABELLED_BY
    return [r.getTarget(0).name for r in control.getRelationSet() if r.getRelationType() == by]


def known_as(control, key):
    return key in (control.name, control.description, *labels(control))


def one(node, role, key):
    found = [c for c in on_screen(node) if c.getRoleName() == role and known_as(c, key)]
    assert len(found) == 1, f"{len(found)} controls are the {role} {key!r}"
    return found[0]


def find(node, role, key):
    return wait(f"the {role} {key!r}", lambda: one(node, role, key))


def text(control):
    return control.queryText().getText(0, -1)


def window_of(node):
    while node.parent.getRoleName() != "application":
        node = node.parent
    return node


def window(app, role, key):
    found = window_of(find(app, role, key))
    assert found.name == CAPTION, f"the window of {key!r} is called {found.name!r}"
    return found


# The X window under the pointer once it is the control's: Qt tells of windows before they map.
def point_at(control):
    box = control.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    place = (box.x + box.width // 2, box.y + box.height // 2)
    xdotool("mousemove", *place)
    box = window_of(control).queryComponent().getExtents(pyatspi.DESKTOP_COORDS)

    def arrived():
        pointer = X_SERVER.screen().root.query_pointer()
        mapped = pointer.child.get_geometry()
        seen = (pointer.root_x, pointer.root_y, mapped.x, mapped.y, mapped.width, mapped.height)
        return seen == (*place, box.x, box.y, box.width, box.height) and pointer.child

    return wait(f"the pointer on {control.name!r}", arrived)


def click(control):
    under = point_at(control)
    xdotool("click", 1)
    return under


def close_box(window):
    target, atom = point_at(window), X_SERVER.intern_atom
    data = (32, [atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0])
    target.send_event(ClientMessage(window=target, client_type=atom("WM_PROTOCOLS"), data=data))
    X_SERVER.flush()


def closed(what, window):
    wait(f"{what} to close", lambda: not showing(window))


def start(log, *reading_file):
    program = subprocess.Popen([EXECUTABLE, *reading_file], env=ENVIRONMENT, stdout=log, stderr=log)
    PROGRAMS.append(program)
    apps = lambda: [app for app in kids(DESKTOP) if app.get_process_id() == program.pid]
    return program, wait("the program on the accessibility bus", apps)[0]


def choose(app, caption, item):
    chooser = find(app, "combo box", caption)
    items = chooser.getChildAtIndex(0)
    position = [entry.name for entry in kids(items)].index(item)
    click(chooser)
    wait(f"the list {caption!r} to open", lambda: showing(items))
    xdotool("key", "--delay", 20, "Home", *["Down"] * position, "Return")
    wait(f"{item!r} chosen", lambda: text(chooser) == item and not showing(items))


def reading(app, picture, *expected):
    def shown():
        texts = [one(app, "label", what).name for what in SHOWN]
        assert texts == list(expected), f"the reading window shows {texts}"
        boxes = [one(app, "text", f"{node} Node description") for node in ("North", "South")]
        return texts + [text(box) for box in boxes]

    shows = wait("the reading", shown)
    assert all(shows[4:]), "a Node's description is empty"
    screenshot(picture)
    return window(app, "label", SHOWN[0]), shows


def get_reading(app, date, *expected):
    for caption, item in zip(("Date", "Month", "Year"), date.split()):
        choose(app, caption, item)
    xdotool("key", "--delay", 100, "alt+f", "k")  # File, Get My Karmic Astrology Interpretation
    return reading(app, "reading-" + date.lower().replace(" ", "-"), *expected)


def answer_file_dialog(app, title, path, picture):
    dialog = find(app, "dialog", title)
    name_box = find(dialog, "text", "File name:")
    xdotool("windowfocus", "--sync", click(name_box).id)
    xdotool("type", "--delay", 20, str(path))
    wait("the typed path", lambda: text(name_box) == str(path))
    screenshot(picture)
    xdotool("key", "Return")
    closed(f"the dialog {title!r}", dialog)


def focus_in(window):
    focused = (pyatspi.STATE_FOCUSED, pyatspi.STATE_FOCUSABLE)
    return next((c for c in on_screen(window) if all(map(c.getState().contains, focused))), None)


def called(control):  # a list by its caption, as its name is the item chosen
    return (labels(control) if control.getRoleName() == "combo box" else [control.name])[0]


def note_opened_pages(work):
    opener = work / "xdg-open"
    opener.write_text('#!/bin/sh\necho "$1" >> "$HOME/pages"\n')
    opener.chmod(0o755)
    ENVIRONMENT["PATH"] = f"{work}:{os.environ['PATH']}"


def page_opened_by(act):
    pages = Path(ENVIRONMENT["HOME"], "pages")
    before = pages.read_text() if pages.exists() else ""
    act()
    return wait("a page to open", lambda: pages.exists() and pages.read_text()[len(before):])


def short_tree(node, depth=0):
    acts = node.queryAction() if "Action" in pyatspi.listInterfaces(node) else None
    line = [node.getRoleName(), repr(node.name[:60]), *map(repr, labels(node)[:1])]
    line += [f"= {text(node)!r}"] if node.getRoleName() == "combo box" else []
    line += [f"[{acts.getName(0)}]"] if acts and acts.nActions else []
    inside = [] if node.getRoleName() == "list" else filter(showing, kids(node))
    return ["  " * depth + " ".join(line), *(l for c in inside for l in short_tree(c, depth + 1))]


# Tabs round the window from the focus, passing `controls`: each by its name's first word, "link"
# after a link's and an offer as "offer". Each link opens one page by Enter, Space and its action.
def keyboard_round(window, picture, *controls):
    Path(ARTEFACTS, f"tree-{picture}.txt").write_text("\n".join(short_tree(window)) + "\n")
    control, names, passed = wait("the focus", lambda: focus_in(window)), [], []
    while called(control) not in names:
        names.append(name := called(control))
        link = control.getRoleName() == "link"
        offer = name.startswith(("Co-brand", "Home Business"))
        passed.append(("offer" if offer else name.split()[0]) + " link" * link)
        if link:
            screenshot(f"{picture}-link-{len(passed)}")
            pages = {page_opened_by(lambda: xdotool("key", key)) for key in ("Return", "space")}
            pages.add(page_opened_by(lambda: control.queryAction().doAction(0)))
            assert len(pages) == 1 and "?page=" in pages.pop(), f"{control.name!r} opens {pages}"
        xdotool("key", "Tab")
        control = wait("the focus to move",
                       lambda: (c := focus_in(window)) and called(c) != names[-1] and c)
    assert passed == list(controls), f"Tab passes {passed}"


# The accessibility bus, for questions sent many at a time rather than one after another.
def accessibility_bus():
    session = Gio.bus_get_sync(Gio.BusType.SESSION)
    reply = session.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None,
                              GLib.VariantType("(s)"), Gio.DBusCallFlags.NONE, 5000)
    flags = Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION
    return Gio.DBusConnection.new_for_address_sync(reply.unpack()[0], flags)


BUS = accessibility_bus()
TEXT = "org.a11y.atspi.Text"
BOUNDARIES = range(7)  # character, word start and end, sentence start and end, line start and end


# Sends all `questions` (key, object, method, arguments) to the program, 200 at a time; every
# answer must come within five seconds, as a query that loops for ever never answers.
def ask(questions):
    loop, questions, answers, waiting = GLib.MainLoop(), iter(questions), {}, [0]

    def send():
        for key, control, method, arguments in questions:
            BUS.call(control.app.bus_name, control.path, TEXT, method, arguments, None,
                     Gio.DBusCallFlags.NONE, 5000, None, answered, (key, method, arguments))
            waiting[0] += 1
            if waiting[0] == 200:
                return
        if not waiting[0]:
            loop.quit()

    def answered(bus, result, question):
        waiting[0] -= 1
        try:
            answers[question[0]] = bus.call_finish(result).unpack()
        except GLib.Error as error:
            raise SystemExit(f"no answer to {question[1:]}: {error.message}")
        send()

    send()
    loop.run()
    return answers


# Asks every text of `window` for its parts around every offset by every boundary, and each
# character's place; a part must be the text between its offsets (widget tests check further).
def every_text_query_answered(window):
    texts = [c for c in on_screen(window) if "Text" in pyatspi.listInterfaces(c)]
    assert texts, f"no text in {window.name!r}"
    for control in texts:
        whole = text(control)
        offsets = range(-1, len(whole) + 2)
        sides = ("GetTextBeforeOffset", "GetTextAtOffset", "GetTextAfterOffset")
        parts = ask(((b, o, side), control, side, GLib.Variant("(iu)", (o, b)))
                    for b in BOUNDARIES for o in offsets for side in sides)
        ask(((o, c), control, "GetCharacterExtents", GLib.Variant("(iu)", (o, c)))
            for o in offsets for c in (0, 1))
        wrong = [(q, p) for q, p in parts.items() if p[0] != whole[p[1]:p[2]] or p[1] > p[2]]
        assert not wrong, f"{control.getRoleName()} {whole[:20]!r}: {wrong[:3]}"


def journey(log, work):
    saved_file = work / "ann-lee.nrd"
    note_opened_pages(work)
    program, app = start(log)
    dates = [text(find(app, "combo box", caption)) for caption in ("Date", "Month", "Year")]
    assert dates == ["1", "January", "1940"], f"the lists show {dates}"
    name = find(app, "text", "Name")
    xdotool("windowfocus", "--sync", click(name).id)
    # A name that ends in a space, an empty one and one that ends in a letter.
    for how, *keys, shown in [("type", "ann lee ", "ANN LEE "),
                              ("key", "Home", "shift+End", "BackSpace", ""),
                              ("type", "ann lee", "ANN LEE")]:
        xdotool(how, "--delay", 20, *keys)
        wait(f"the name {shown!r}", lambda: text(name) == shown)
        every_text_query_answered(window_of(name))
    keyboard_round(window_of(name), "main", "Name", "Date", "Month", "Year", "Get", "Click",
                   "Exit", "Nodalis link", "offer link")

    signs = ("Scorpio", "Taurus", "Stubborn and Self-Reliant", "Stubborn and Self-reliant")
    reading_window, _ = get_reading(app, "10 August 1975", *signs)
    click(find(reading_window, "heading", "Karmic Astrology Interpretation"))  # as a window manager
    panels = [c.name for c in on_screen(reading_window) if c.getRoleName() == "panel" and c.name]
    assert panels == ["North Node", "South Node"], f"the panels are {panels}"
    every_text_query_answered(reading_window)  # Scorpio's description ends in a space
    keyboard_round(reading_window, "reading", "Your", "Your", "Print", "Back", "Exit",
                   "Nodalis link", "offer link")
    click(find(reading_window, "push button", "Back"))
    closed("the reading window", reading_window)
    wait("the focus back in the year list", lambda: called(focus_in(app)) == "Year")

    choose(app, "Date", "31")
    choose(app, "Month", "April")
    xdotool("key", "Return")  # in the month list, which has the focus
    box = find(app, "alert", "Nodalis")
    said = [c.name for c in on_screen(box) if c.getRoleName() == "label"]
    assert said == ["Please Enter Correct Date Or Month !"], f"the message says {said}"
    screenshot("31-april-1975")
    click(find(box, "push button", "OK"))
    closed("the message", box)

    signs = ("Cancer", "Capricorn", "Impulsive and Social", "Impulsive and Social")
    reading_window, saved = get_reading(app, "29 February 1964", *signs)
    click(find(reading_window, "push button", "Print"))
    report = window(app, "text", "Report")
    every_text_query_answered(report)
    click(one(report, "text", "Report"))
    keyboard_round(report, "report", "Report", "Save", "Print", "Nodalis link", "Visit link",
                   "offer link")

    click(find(report, "push button", "Save"))
    # Typed without its extension, which the dialog adds.
    answer_file_dialog(app, "Nodalis", saved_file.with_suffix(""), "save-dialog")
    assert saved_file.is_file(), f"{saved_file} was not saved"
    close_box(report)
    closed("the report window", report)
    click(find(reading_window, "heading", "Karmic Astrology Interpretation"))
    xdotool("key", "--delay", 100, "alt+h", "a")
    about = window(app, "push button", "OK")
    click(find(about, "heading", CAPTION))
    keyboard_round(about, "about", "OK", "Click link", "Click link")
    click(find(about, "push button", "OK"))
    closed("the About window", about)
    close_box(reading_window)
    assert program.wait(10) == 0, f"the program ended with {program.returncode}"

    # A file name that is not UTF-8 is bytes all the way to the file.
    odd_file = work / os.fsdecode(b"caf\xe9.nrd")
    shutil.copy(saved_file, odd_file)
    program, app = start(log, odd_file)
    reading_window, opened = reading(app, "reading-opened-at-the-start", *saved[:4])
    assert opened == saved, f"the reading started with its file differs from the saved one: {opened}"
    click(find(reading_window, "push button", "Back"))
    closed("the reading window", reading_window)
    click(find(app, "label", "Date Of Birth"))
    xdotool("key", "ctrl+o")
    answer_file_dialog(app, "Select the source file", saved_file, "open-dialog")
    reading_window, opened = reading(app, "reopened-reading", *saved[:4])
    assert opened == saved, f"the opened reading differs from the saved one: {opened}"
    # Opened from a file manager: the running copy goes back and opens it; the new start ends.
    handed = subprocess.run([EXECUTABLE, odd_file], env=ENVIRONMENT, stdout=log, stderr=log, timeout=30)
    assert handed.returncode == 0, f"the start with a file ended with {handed.returncode}"
    closed("the reading window", reading_window)
    reading_window, opened = reading(app, "reading-handed-over", *saved[:4])
    assert opened == saved, f"the reading handed over differs from the saved one: {opened}"
    click(find(reading_window, "push button", "Exit"))
    assert program.wait(10) == 0, f"the program ended with {program.returncode}"


def main():
    shutil.rmtree(ARTEFACTS, ignore_errors=True)
    ARTEFACTS.mkdir(parents=True)
    with tempfile.TemporaryDirectory(prefix="nodalis-journey-") as work:
        ENVIRONMENT.update(HOME=work, XDG_RUNTIME_DIR=work, XDG_CONFIG_HOME=work, XDG_STATE_HOME=work,
                           XDG_DATA_HOME=work, XDG_CACHE_HOME=work)
        os.chdir(work)  # where the file dialogs open
        try:
            with open(ARTEFACTS / "program-output.txt", "wb") as log:
                journey(log, Path(work))
        except BaseException:
            screenshot("failure")
            raise
        finally:
            for program in PROGRAMS:
                program.kill()
                program.wait()


main()
