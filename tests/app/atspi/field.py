# What a screen reader hears of the staged window over AT-SPI, as Orca hears it:
# the cell cursor's moves on the field as the focus of the vio or the empty cell
# it stands on, the items of the drop-down lists as their text, a new item as a
# change of that text, an announcement as a notification that shows, the robot
# monitor's numbers as their text, a name
# for every control, and the list of keys (F1) as its text. Run by run.sh on a private session bus and X display.
#   field.py TESSARO PROGRAM.vio
import ctypes
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

TIMEOUT = 8.0  # seconds for each thing awaited; the intro alone takes five
CONTROLS = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_COMBO_BOX,
    pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY, pyatspi.ROLE_SLIDER, pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_MENU_ITEM,
    pyatspi.ROLE_LIST, pyatspi.ROLE_LIST_ITEM, pyatspi.ROLE_TABLE, pyatspi.ROLE_TABLE_CELL, pyatspi.ROLE_TREE,
    pyatspi.ROLE_PAGE_TAB, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_NOTIFICATION,
}
events = []
failures = []


def fail(what):
    failures.append(what)
    print("FAIL:", what, flush=True)


def record(e):
    try:
        events.append((e.type, e.detail1, e.source.name, e.source.getRoleName(), e.any_data))
    except Exception:  # the source may be gone already
        pass


def pump():
    ctx = GLib.MainContext.default()
    while ctx.iteration(False):
        pass


def wait(what, cond):
    """Runs the events until cond() gives a result; None after TIMEOUT."""
    end = time.monotonic() + TIMEOUT
    while time.monotonic() < end:
        pump()
        got = cond()
        if got:
            return got
        time.sleep(0.02)
    fail("timed out: " + what)
    return None


def find(node, pred, depth=0):
    if node is None or depth > 40:
        return None
    try:
        if pred(node):
            return node
        for c in node:
            hit = find(c, pred, depth + 1)
            if hit:
                return hit
    except Exception:  # an object that went while it was walked
        pass
    return None


def showing(o):
    return o.getState().contains(pyatspi.STATE_SHOWING)


def unnamed(node, out, depth=0):
    if node is None or depth > 40 or not showing(node):
        return
    role = node.getRole()
    panel = node.parent is not None and node.parent.name == FIELD
    if (role in CONTROLS or panel) and not node.name.strip():
        out.append("%s in %r" % (node.getRoleName(), node.parent.name if node.parent else ""))
    for c in node:
        unnamed(c, out, depth + 1)


def focus_to(what, name):
    """The focus that the next key brings: an object of that name, focused."""
    def hit():
        for i, (t, d, n, r, _) in enumerate(events):
            if t == "object:state-changed:focused" and d == 1 and n == name:
                del events[: i + 1]
                return r
        return None
    role = wait(what + " -> focus on " + repr(name) + "; heard " + repr([e[:3] for e in events]), hit)
    return role


KEYSYM = {"Left": 0xFF51, "Up": 0xFF52, "Right": 0xFF53, "Down": 0xFF54, "F1": 0xFFBE}


def give_focus(frame):
    """Gives the X input focus to the window of the frame, as a window manager does."""
    ext = frame.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    x = ctypes.CDLL("libX11.so.6")
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XDefaultRootWindow.restype = ctypes.c_ulong
    x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_void_p] * 4
    x.XGetGeometry.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_void_p] * 7
    x.XSetInputFocus.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_ulong]
    x.XFlush.argtypes = [ctypes.c_void_p]
    dpy = x.XOpenDisplay(None)
    root, parent = ctypes.c_ulong(), ctypes.c_ulong()
    kids, n = ctypes.POINTER(ctypes.c_ulong)(), ctypes.c_uint()
    x.XQueryTree(dpy, x.XDefaultRootWindow(dpy), ctypes.byref(root), ctypes.byref(parent), ctypes.byref(kids),
                 ctypes.byref(n))
    for i in range(n.value):
        r = ctypes.c_ulong()
        gx, gy = ctypes.c_int(), ctypes.c_int()
        w, h, b, d = ctypes.c_uint(), ctypes.c_uint(), ctypes.c_uint(), ctypes.c_uint()
        x.XGetGeometry(dpy, kids[i], ctypes.byref(r), ctypes.byref(gx), ctypes.byref(gy), ctypes.byref(w),
                       ctypes.byref(h), ctypes.byref(b), ctypes.byref(d))
        if (gx.value, gy.value, w.value, h.value) == (ext.x, ext.y, ext.width, ext.height):
            x.XSetInputFocus(dpy, kids[i], 2, 0)  # RevertToParent, CurrentTime
            x.XFlush(dpy)
            return
    fail("no X window at %r" % ((ext.x, ext.y, ext.width, ext.height),))


def key(sym):
    events.clear()
    pyatspi.Registry.generateKeyboardEvent(KEYSYM[sym], None, pyatspi.KEY_SYM)


def text_of(o):
    try:
        t = o.queryText()
    except NotImplementedError:
        return "(no text)"
    return t.getText(0, t.characterCount)


FIELD = "Programming field"
tessaro, program = sys.argv[1], sys.argv[2]
pyatspi.Registry.registerEventListener(
    record, "object:state-changed:focused", "object:state-changed:showing", "object:text-changed")
app = subprocess.Popen([tessaro, program], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
try:
    desk = pyatspi.Registry.getDesktop(0)
    # The field with the program on it, once the intro has gone.
    fld = wait("the field with the program", lambda: find(
        desk, lambda o: o.name == FIELD and any(c.name.startswith("Goto,") for c in o if c is not None)))
    if fld:
        frame = fld
        while frame.getRole() != pyatspi.ROLE_FRAME:
            frame = frame.parent
        # The window takes the focus as a window manager would give it; the field holds it.
        events.clear()
        give_focus(frame)
        focus_to("the window's focus", "Start, row 1, column 1")
        steps = [
            ("Right", "Label, row 1, column 2, name loop, follows Start in row 1, column 1"),
            ("Down", "row 2, column 2, empty"),
            ("Right", "row 2, column 3, empty"),
            ("Up", "Actor, row 1, column 3, Back Leds, On, 5 tenths of a second, follows Label in row 1, column 2"),
            ("Left", "Label, row 1, column 2, name loop, follows Start in row 1, column 1"),
            ("Left", "Start, row 1, column 1"),
        ]
        for sym, name in steps:
            if failures:
                break  # one move not heard: the rest would only wait
            key(sym)
            role = focus_to(sym, name)
            if role and name.endswith("empty") and role != "table cell":
                fail("%r is a %s, not a table cell" % (name, role))
        # The drop-down lists hold their item as their text.
        want = {"Actor type": "Back Leds", "Actor command": "On", "Speed": "x1", "Label name": "loop",
                "Label to jump to": "loop"}
        for name, item in want.items():
            box = find(frame.parent, lambda o: o.getRole() == pyatspi.ROLE_COMBO_BOX and o.name == name)
            got = text_of(box) if box else "(no such box)"
            if got != item:
                fail("box %r holds %r, not %r" % (name, got, item))
        # A new item is told as the box's new text.
        speed = find(frame.parent, lambda o: o.getRole() == pyatspi.ROLE_COMBO_BOX and o.name == "Speed")
        if speed:
            events.clear()
            speed.queryComponent().grabFocus()
            focus_to("the Speed list", "Speed")
            key("Down")
            wait("the Speed list's new item", lambda: any(
                t.startswith("object:text-changed:insert") and n == "Speed" and a == "x2"
                for t, d, n, r, a in events))
            if text_of(speed) != "x2":
                fail("the Speed list holds %r after Down" % text_of(speed))
        # An upload to the built-in robot is announced as a notification that shows.
        upload = find(frame, lambda o: o.getRole() == pyatspi.ROLE_PUSH_BUTTON and o.name == "Upload")
        events.clear()
        upload.queryAction().doAction(0)
        wait("an announcement", lambda: any(
            t == "object:state-changed:showing" and d == 1 and r == "notification" and n for t, d, n, r, a in events))
        # The robot monitor, opened from the View menu, names its controls and
        # reads its numbers as text.
        item = find(frame, lambda o: o.getRole() in (pyatspi.ROLE_CHECK_MENU_ITEM, pyatspi.ROLE_MENU_ITEM)
                    and o.name == "Robot monitor")
        if item:
            item.queryAction().doAction(0)
            num = wait("the monitor's first measurement", lambda: find(
                frame, lambda o: o.getRole() == pyatspi.ROLE_LABEL and showing(o)
                and (o.name or text_of(o)).startswith("Measurement 1: ")))
            if num and "(" not in (num.name or text_of(num)):
                fail("the monitor's first measurement reads %r" % (num.name or text_of(num)))
        else:
            fail("no View > Robot monitor")
        missing = []
        for win in frame.parent:
            unnamed(win, missing)
        if missing:
            fail("controls without a name: " + ", ".join(sorted(set(missing))))
        # F1 lists every key in a window of its own, which reads as lines of text.
        give_focus(frame)
        key("F1")
        keys = wait("the list of keys", lambda: find(
            desk, lambda o: o.name == "Keys" and "S: Put a vio on the cursor's cell: START" in text_of(o)))
        if keys and not text_of(keys).startswith("Field"):
            fail("the list of keys begins with %r" % text_of(keys)[:40])
finally:
    app.terminate()
    try:
        app.wait(5)
    except subprocess.TimeoutExpired:
        app.kill()
print("screen reader over AT-SPI:", "failed" if failures else "all heard")
sys.exit(1 if failures else 0)
