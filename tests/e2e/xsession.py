"""Real X input and screen reading for driving a Windows program under Wine.

Everything goes through the X server the program draws on: xdotool for the
mouse, the keyboard and the list of windows, imagemagick's `import` for
screenshots and xclip for the clipboard. Nothing here knows the program.
"""

import os
import re
import subprocess
import time


class DriverError(Exception):
    """The session cannot go on (a window did not appear, a tool failed)."""


def run(*args, check=True, binary=False, timeout=30):
    done = subprocess.run(list(map(str, args)), capture_output=True, timeout=timeout,
                          text=not binary)
    if check and done.returncode != 0:
        raise DriverError("%s failed: %s" % (args[0], done.stderr))
    return done.stdout


def xdo(*args, check=True):
    return run("xdotool", *args, check=check)


def wait_until(what, condition, timeout, interval=0.1):
    """Polls condition() until it returns something true; bounded by timeout."""
    end = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() > end:
            raise DriverError("timed out after %.0f s waiting for %s" % (timeout, what))
        time.sleep(interval)


class Window:
    def __init__(self, wid, x, y, width, height, name):
        self.wid, self.x, self.y, self.width, self.height, self.name = (wid, x, y, width, height,
                                                                       name)

    def __repr__(self):
        return "%s %dx%d+%d+%d" % (self.name, self.width, self.height, self.x, self.y)


def visible_windows(name_regex="."):
    """Mapped windows larger than Wine's 1x1 helper windows, named as given.
    xdotool matches names without regard to case; the match here is exact."""
    found = []
    out = xdo("search", "--onlyvisible", "--name", name_regex, check=False)
    for wid in out.split():
        geometry = xdo("getwindowgeometry", "--shell", wid, check=False)
        values = dict(line.split("=", 1) for line in geometry.split() if "=" in line)
        if "WIDTH" not in values:
            continue  # gone meanwhile
        name = xdo("getwindowname", wid, check=False).rstrip("\n")
        if int(values["WIDTH"]) > 1 and re.search(name_regex, name):
            found.append(Window(int(wid), int(values["X"]), int(values["Y"]),
                                int(values["WIDTH"]), int(values["HEIGHT"]), name))
    return found


def focused_window_name():
    wid = xdo("getwindowfocus", check=False).strip()
    return xdo("getwindowname", wid, check=False).rstrip("\n") if wid else ""


class Image:
    """A screenshot of the whole screen as RGB bytes."""

    def __init__(self, width, height, pixels):
        self.width, self.height, self.pixels = width, height, pixels

    @staticmethod
    def grab():
        data = run("import", "-window", "root", "-depth", "8", "ppm:-", binary=True)
        m = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
        if not m:
            raise DriverError("import gave no 8-bit PPM image")
        return Image(int(m[1]), int(m[2]), data[m.end():])

    def at(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i:i + 3])

    def region(self, x, y, w, h):
        """The pixels of a rectangle, row by row."""
        return [self.at(px, py) for py in range(y, y + h) for px in range(x, x + w)]

    def differing(self, other, x, y, w, h):
        """How many pixels of the rectangle differ between two screenshots."""
        count = 0
        for py in range(y, y + h):
            start = (py * self.width + x) * 3
            a, b = self.pixels[start:start + w * 3], other.pixels[start:start + w * 3]
            if a != b:
                count += sum(1 for i in range(0, w * 3, 3) if a[i:i + 3] != b[i:i + 3])
        return count

    def save(self, path, crop=None):
        """Writes a PNG (through imagemagick), optionally cropped (x, y, w, h)."""
        header = b"P6 %d %d 255\n" % (self.width, self.height)
        args = ["convert", "ppm:-"]
        if crop:
            args += ["-crop", "%dx%d+%d+%d" % (crop[2], crop[3], crop[0], crop[1]), "+repage"]
        subprocess.run(args + [path], input=header + self.pixels, check=True, timeout=30)


def settled_screen(timeout=15, interval=0.15, tolerance=80):
    """A screenshot taken once the screen has stopped changing: two grabs in a
    row differ in at most `tolerance` pixels (a blinking caret). The program
    draws what it has handled, so this waits for queued input to be handled."""
    end = time.monotonic() + timeout
    previous = Image.grab()
    while True:
        time.sleep(interval)
        current = Image.grab()
        if current.differing(previous, 0, 0, current.width, current.height) <= tolerance:
            return current
        if time.monotonic() > end:
            raise DriverError("the screen did not settle within %d s" % timeout)
        previous = current


class Input:
    """Mouse and keyboard input as a user gives it, at screen positions."""

    def click(self, x, y, button=1):
        xdo("mousemove", x, y)
        xdo("click", button)

    def key(self, *keys):
        xdo("key", "--delay", 60, *keys)

    def type(self, text):
        xdo("type", "--delay", 60, "--", text)


class KeyboardMap:
    """Gives characters outside the keyboard map keys of their own for the
    whole session. xdotool would otherwise map a spare key for each such
    character only while typing it, and Wine, which translates keys when it
    handles them, can then find the map already restored and lose it."""

    def __init__(self, characters):
        free = []
        for line in run("xmodmap", "-pke").splitlines():
            m = re.match(r"keycode\s+(\d+)\s*=\s*$", line)
            if m and int(m[1]) > 8:
                free.append(int(m[1]))
        wanted = sorted({ch for ch in characters if ord(ch) > 127})
        if len(free) < len(wanted):
            raise DriverError("%d free key codes for %d characters" % (len(free), len(wanted)))
        self.bound = list(zip(free, wanted))
        for code, ch in self.bound:
            run("xmodmap", "-e", "keycode %d = U%04X U%04X" % (code, ord(ch), ord(ch)))

    def restore(self):
        for code, _ in self.bound:
            run("xmodmap", "-e", "keycode %d =" % code, check=False)
        self.bound = []


class Clipboard:
    """The X clipboard, which Wine keeps in step with the Windows one."""

    def put(self, text):
        # xclip hands the selection to a child of its own, which serves it
        # until another program takes it over or the display ends.
        proc = subprocess.Popen(["xclip", "-selection", "clipboard", "-i"], stdin=subprocess.PIPE,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        proc.communicate(text.encode("utf-8"), timeout=10)

    def get(self):
        done = subprocess.run(["xclip", "-selection", "clipboard", "-o"], capture_output=True,
                              timeout=10)
        return done.stdout.decode("utf-8", "replace") if done.returncode == 0 else None

    def copied_by(self, action, timeout=5):
        """What the clipboard holds after action(), or None when action()
        puts nothing there within the timeout."""
        sentinel = "<nothing copied %f>" % time.monotonic()
        self.put(sentinel)
        action()
        try:
            return wait_until("a copy to the clipboard",
                              lambda: [text for text in [self.get()] if text not in
                                       (None, "", sentinel)], timeout,
                              0.2)[0]
        except DriverError:
            return None


class WineProgram:
    """One run of a Windows program under the given Wine command."""

    def __init__(self, wine, exe, log_path):
        self.log = open(log_path, "ab")
        self.proc = subprocess.Popen(wine + [exe], stdout=self.log, stderr=self.log,
                                     cwd=os.path.dirname(exe) or ".")

    def running(self):
        return self.proc.poll() is None

    def wait_exit(self, timeout):
        try:
            return self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def kill(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
        self.log.close()
