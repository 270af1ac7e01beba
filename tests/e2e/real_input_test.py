#!/usr/bin/env python3
"""Drives the real sheetloom.exe under Wine with real X mouse and keyboard input.

The program is started as a user starts it; its window is found on the X
screen, and every control is reached at its place in the window: the client
origin plus the control's position at 96 dpi. Clicks and keys go through X,
Wine, the program's own message loop and dialog navigation. What it saves is
compared byte for byte with rule texts written out by hand below.

Run it inside an X display (xvfb-run) with a Wine prefix (scripts/with-wine):
  real_input_test.py --exe PATH/sheetloom.exe [--wine "WINE COMMAND"] [--out DIR]
Prints one line per check and ends with "e2e: N checks, N failed"; exits 1 on
any failure.
"""

import argparse
import array
import fcntl
import os
import shlex
import signal
import subprocess
import sys
import time
import traceback

from xsession import (Clipboard, DriverError, Image, Input, KeyboardMap, WineProgram,
                      settled_screen, visible_windows, wait_until)

MAIN_CAPTION = "SHEETLOOM"
APP_TITLE = "Sheetloom"  # caption of the confirmation window and of error boxes
CLIENT_W, CLIENT_H = 710, 601

# The window's controls at 96 dpi: name, parent, left, top, width, height,
# kind, page (0: below or above the pages, always shown). Parents: "client"
# (the framing group fills the client area), "page" (the page area below the
# tab buttons) and the four groups of the second page.
LAYOUT = [
    ("Label1", "client", 8, 24, 62, 12, "label", 0),
    ("TAG", "client", 72, 24, 121, 20, "combo", 0),
    ("make", "client", 8, 368, 115, 25, "button", 0),
    ("Button2", "client", 128, 368, 89, 25, "button", 0),
    ("Button5", "client", 224, 368, 49, 25, "button", 0),
    ("StyleSheet", "client", 2, 396, 706, 203, "memo", 0),
    ("Button1", "page", 16, 16, 81, 20, "button", 1),
    ("Label8", "page", 16, 48, 24, 12, "label", 1),
    ("align", "page", 72, 48, 145, 20, "list", 1),
    ("Label9", "page", 16, 80, 48, 12, "label", 1),
    ("valign", "page", 72, 80, 145, 20, "list", 1),
    ("Label10", "page", 16, 112, 12, 12, "label", 1),
    ("width", "page", 72, 112, 57, 21, "spin", 1),
    ("wu", "page", 136, 112, 81, 20, "combo", 1),
    ("Label12", "page", 16, 144, 21, 12, "label", 1),
    ("height", "page", 72, 144, 57, 21, "spin", 1),
    ("hu", "page", 136, 144, 81, 20, "combo", 1),
    ("Label13", "page", 16, 184, 44, 12, "label", 1),
    ("cursor", "page", 72, 184, 145, 20, "combo", 1),
    ("GroupBox2", "page", 8, 8, 665, 105, "group", 2),
    ("GroupBox3", "page", 8, 113, 313, 89, "group", 2),
    ("GroupBox4", "page", 328, 113, 345, 89, "group", 2),
    ("GroupBox5", "page", 8, 205, 665, 73, "group", 2),
    ("border_kind", "GroupBox2", 8, 16, 145, 20, "list", 2),
    ("border_check", "GroupBox2", 160, 16, 97, 17, "check", 2),
    ("Label2", "GroupBox2", 8, 40, 82, 12, "label", 2),
    ("border_style", "GroupBox2", 96, 40, 145, 20, "list", 2),
    ("Label4", "GroupBox2", 264, 40, 70, 12, "label", 2),
    ("border_color", "GroupBox2", 344, 40, 57, 20, "edit", 2),
    ("Button3", "GroupBox2", 400, 40, 65, 20, "button", 2),
    ("Label3", "GroupBox2", 8, 64, 79, 12, "label", 2),
    ("border_width", "GroupBox2", 96, 64, 57, 21, "spin", 2),
    ("border_unit", "GroupBox2", 152, 64, 89, 20, "combo", 2),
    ("Ma_kind", "GroupBox3", 8, 16, 145, 20, "list", 2),
    ("Ma_check", "GroupBox3", 160, 16, 81, 17, "check", 2),
    ("Ma", "GroupBox3", 8, 48, 57, 21, "spin", 2),
    ("Ma_unit", "GroupBox3", 64, 48, 89, 20, "combo", 2),
    ("Pa_kind", "GroupBox4", 8, 16, 145, 20, "list", 2),
    ("Pa_check", "GroupBox4", 160, 16, 81, 17, "check", 2),
    ("Pa", "GroupBox4", 8, 48, 57, 21, "spin", 2),
    ("Pa_unit", "GroupBox4", 64, 48, 89, 20, "combo", 2),
    ("Label5", "GroupBox5", 8, 24, 36, 12, "label", 2),
    ("back_color", "GroupBox5", 48, 21, 57, 20, "edit", 2),
    ("Button4", "GroupBox5", 104, 21, 65, 20, "button", 2),
    ("Label6", "GroupBox5", 176, 24, 48, 12, "label", 2),
    ("Back_Image", "GroupBox5", 224, 21, 281, 20, "edit", 2),
    ("kotei", "GroupBox5", 8, 45, 129, 17, "check", 2),
    ("Label7", "GroupBox5", 176, 48, 135, 12, "label", 2),
    ("back_repeat", "GroupBox5", 312, 45, 193, 20, "list", 2),
    ("Label14", "page", 16, 16, 68, 12, "label", 3),
    ("zin", "page", 96, 16, 41, 21, "spin", 3),
    ("Label15", "page", 16, 48, 48, 12, "label", 3),
    ("posit", "page", 96, 48, 113, 20, "list", 3),
    ("Label16", "page", 16, 80, 70, 12, "label", 3),
    ("top", "page", 96, 80, 57, 21, "spin", 3),
    ("tu", "page", 160, 80, 65, 20, "combo", 3),
    ("Label17", "page", 16, 112, 70, 12, "label", 3),
    ("buttom", "page", 96, 112, 57, 21, "spin", 3),
    ("bu", "page", 160, 112, 65, 20, "combo", 3),
    ("Label11", "page", 16, 144, 70, 12, "label", 3),
    ("left", "page", 96, 144, 57, 21, "spin", 3),
    ("lu", "page", 160, 144, 65, 20, "combo", 3),
    ("Label18", "page", 16, 176, 70, 12, "label", 3),
    ("right", "page", 96, 176, 57, 21, "spin", 3),
    ("ru", "page", 160, 176, 65, 20, "combo", 3),
    ("visible", "page", 16, 216, 57, 17, "check", 3),
]
CONTROLS = {row[0]: row for row in LAYOUT}
TABS_LEFT, TABS_TOP, TABS_WIDTH = 8, 54, 684
EMPTY_SPOT = (400, 380)  # framing group, right of the buttons: nothing drawn there
LIST_ITEM_HEIGHT = 12
SPIN_PAIR_WIDTH = 15

# What the rule-and-files session types into the memo before adding a rule:
# "/* 見出し */" and Enter.
MEMO_PREFIX_TYPED = "/* 見出し */"
MEMO_PREFIX_BYTES = b"/* \x8c\xa9\x8f\x6f\x82\xb5 */\r\n"

# The rule that session's settings compose, in Shift_JIS with CR LF, written
# out by hand. The background image is "画像/a b.png".
EXPECTED_RULE = (b"div.note p{\r\n"
                 b"  background-color: #00FF00;\r\n"
                 b"  background-image: url(\"\x89\xe6\x91\x9c/a b.png\");\r\n"
                 b"  background-attachment: fixed;\r\n"
                 b"  background-repeat: repeat-y;\r\n"
                 b"  border-color: #FF0000;\r\n"
                 b"  border-style: double;\r\n"
                 b"  border-width: 3pt;\r\n"
                 b"  border-top-color: #000000;\r\n"
                 b"  border-top-style: none;\r\n"
                 b"  border-top-width: 1px;\r\n"
                 b"  margin: -2em;\r\n"
                 b"  padding-left: 7px;\r\n"
                 b"  text-align: center;\r\n"
                 b"  vertical-align: super;\r\n"
                 b"  width: 50%;\r\n"
                 b"  cursor: pointer;\r\n"
                 b"  z-index: 10;\r\n"
                 b"  position: absolute;\r\n"
                 b"  top: 4em;\r\n"
                 b"  left: 12ex;\r\n"
                 b"  visibility: hidden;\r\n"
                 b"}\r\n")

# The rule of a window at its starting values.
START_RULE = b"BODY{\r\n}\r\n"


class Results:
    def __init__(self):
        self.count = 0
        self.failures = []
        self.started = time.monotonic()

    def check(self, name, ok, detail=""):
        self.count += 1
        if ok:
            print("ok    %s  [%.0f s]" % (name, time.monotonic() - self.started))
        else:
            self.failures.append(name)
            print("FAIL  %s%s  [%.0f s]" % (name, (": " + detail) if detail else "",
                                          time.monotonic() - self.started))
        sys.stdout.flush()
        return ok


def shift_jis_text(data):
    return data.decode("cp932").replace("\r\n", "\n")


def difference(expected, got):
    """Where two texts (or byte strings) part: the first differing line."""
    if got is None:
        return "nothing"
    sep = b"\n" if isinstance(expected, bytes) else "\n"
    want, have = expected.split(sep), got.split(sep)
    for number, (a, b) in enumerate(zip(want, have), 1):
        if a != b:
            return "line %d is %r, expected %r" % (number, b, a)
    return "%d lines, expected %d" % (len(have), len(want))


def windows_path(path):
    """The path as the program sees it: Wine maps the Unix root to drive Z:."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Sheetloom:
    """One run of the program, reached only through the X screen."""

    def __init__(self, args, name, results):
        self.args, self.name, self.results = args, name, results
        self.input = Input()
        self.clipboard = Clipboard()
        self.shots = 0
        self.marks_of_page = {}
        self.program = WineProgram(args.wine, args.exe, os.path.join(args.out, "wine.log"))
        try:
            self.window = wait_until("the window " + MAIN_CAPTION, self.main_window, 90, 0.2)
            screen = settled_screen()
            self.calibrate(screen)
            self.references = {1: screen}
            for page in (2, 3, 1):
                self.show_page(page)
                self.references.setdefault(page, settled_screen())
            self.shot("start")
        except BaseException:
            Image.grab().save(os.path.join(args.out, "%s-failed-start.png" % name))
            self.end()
            raise

    # Finding things on the screen ------------------------------------------

    def main_window(self):
        found = [w for w in visible_windows("^%s$" % MAIN_CAPTION) if w.name == MAIN_CAPTION]
        return found[0] if found else None

    def other_windows(self):
        """Visible windows of the session apart from the main window."""
        return [w for w in visible_windows(".") if w.name not in (MAIN_CAPTION, "")]

    def calibrate(self, screen):
        w = self.window
        # The frame is as wide at the bottom as at the sides; the title bar
        # takes the rest at the top.
        border = (w.width - CLIENT_W) // 2
        self.cx, self.cy = w.x + border, w.y + w.height - CLIENT_H - border
        self.face = screen.at(self.cx + EMPTY_SPOT[0], self.cy + EMPTY_SPOT[1])
        self.page_x, self.page_y = self.find_page_origin(screen)
        self.tab_centres = self.find_tabs(screen)
        print("      %s: client at %d,%d, page area at %d,%d, tab buttons at x %s" %
              (self.name, self.cx - w.x, self.cy - w.y, self.page_x - self.cx,
               self.page_y - self.cy, [x - self.cx for x in self.tab_centres]))
        if len(self.tab_centres) != 3:
            raise DriverError("found %d tab buttons, not 3" % len(self.tab_centres))

    def find_page_origin(self, screen):
        """The page area lies below the tab buttons, which the system sizes;
        find it by the frame of the first page's font button (16, 16, 81 x 20
        in the page)."""
        _, _, _, _, bw, bh, _, _ = CONTROLS["Button1"]
        tabs_x, tabs_y = self.cx + TABS_LEFT, self.cy + TABS_TOP
        for dy in range(8, 60):
            for dx in range(0, 12):
                x, y = tabs_x + dx + 16, tabs_y + dy + 16
                # Straight edges (corners may be rounded) with face outside.
                top = {screen.at(x + i, y) for i in range(4, bw - 4)}
                left = {screen.at(x, y + i) for i in range(4, bh - 4)}
                above = {screen.at(x + i, y - 1) for i in range(4, bw - 4)}
                before = {screen.at(x - 1, y + i) for i in range(4, bh - 4)}
                if (len(top) == 1 and len(left) == 1 and self.face not in top | left and
                        above == before == {self.face}):
                    return tabs_x + dx, tabs_y + dy
        raise DriverError("the page area was not found (no font button below the tabs)")

    def find_tabs(self, screen):
        """Centres of the tab buttons: the stretches of the tab row between
        full-height lines (separators, the pressed button's edges) that hold
        a caption."""
        top, height = self.cy + TABS_TOP, self.page_y - (self.cy + TABS_TOP)
        columns = []
        for x in range(self.cx + TABS_LEFT, self.cx + TABS_LEFT + TABS_WIDTH):
            marked = sum(1 for y in range(top, top + height) if screen.at(x, y) != self.face)
            columns.append((x, marked))
        full = max(marked for _, marked in columns) - 1
        centres, start, ink = [], None, False
        for x, marked in columns:
            if marked >= full:
                if start is not None and ink and x - start >= 12:
                    centres.append((start + x) // 2)
                start, ink = x + 1, False
            else:
                if start is None:
                    start = x
                ink = ink or marked > 0
        return centres

    def rect(self, name):
        _, parent, x, y, w, h, _, _ = CONTROLS[name]
        if parent == "client":
            return self.cx + x, self.cy + y, w, h
        if parent == "page":
            return self.page_x + x, self.page_y + y, w, h
        px, py, _, _ = self.rect(parent)
        return px + x, py + y, w, h

    # Input -------------------------------------------------------------------

    def click(self, name, fx=0.5, dy=None):
        x, y, w, h = self.rect(name)
        self.input.click(x + int(w * fx), y + (h // 2 if dy is None else dy))

    def show_page(self, page):
        self.input.click(self.tab_centres[page - 1], (self.cy + TABS_TOP + self.page_y) // 2)

    def replace_text(self, name, text):
        """Clicks into the text, selects all of it and types."""
        self.click(name, 0.3)
        self.input.key("ctrl+a")
        self.input.type(text)

    def choose(self, name, index):
        """Opens a list with a click on its arrow and clicks an entry."""
        x, y, w, h = self.rect(name)
        self.input.click(x + w - 8, y + h // 2)
        time.sleep(0.2)
        settled_screen()
        self.input.click(x + w // 3, y + h + 1 + LIST_ITEM_HEIGHT * index + LIST_ITEM_HEIGHT // 2)

    def click_empty_spot(self):
        self.input.click(self.cx + EMPTY_SPOT[0], self.cy + EMPTY_SPOT[1])

    # Observing ---------------------------------------------------------------

    def shot(self, label, image=None):
        self.shots += 1
        image = image or settled_screen()
        label = "".join(ch if ch.isalnum() or ch in "-_" else "-" for ch in label)
        path = os.path.join(self.args.out, "%s-%02d-%s.png" % (self.name, self.shots, label))
        w = self.window
        image.save(path, (w.x, w.y, w.width, w.height))
        return image

    def memo_text(self):
        """The memo's text through the clipboard (lines end in LF there), or
        None when Ctrl+A, Ctrl+C in the memo copies nothing."""

        def copy():
            self.click("StyleSheet", 0.5, 150)
            self.click("StyleSheet", 0.5, 150)
            self.input.key("ctrl+a", "ctrl+c")

        text = self.clipboard.copied_by(copy)
        if text is None and self.memo_looks_empty():
            return ""  # an empty memo copies nothing
        return text

    def memo_looks_empty(self):
        """An empty memo copies nothing; it shows an even text area instead."""
        x, y, w, h = self.rect("StyleSheet")
        screen = settled_screen()
        inside = screen.region(x + 6, y + 6, w - 40, h - 40)
        return len(set(inside)) <= 2 and self.face not in inside  # white, the caret

    def undrawn(self, page, screen):
        """Controls of the page shown (and those above and below the pages)
        that no longer show what they showed at start: a control whose marks
        (frame, text, arrows) have turned into the plain button face, and a
        spin edit whose arrow pair has lost its dark pixels."""
        problems = []
        for name, marks, dark in self.marks(page):
            kept = sum(1 for i in marks if screen.pixels[i:i + 3] != self.face_bytes)
            if marks and kept < 0.8 * len(marks):
                problems.append("%s (%d of %d marks left)" % (name, kept, len(marks)))
            if dark is not None:
                left = sum(1 for i in dark if sum(screen.pixels[i:i + 3]) < 200)
                if not dark or left < 0.9 * len(dark):
                    problems.append("%s arrows (%d of %d dark pixels left)" %
                                    (name, left, len(dark)))
        return problems

    def marks(self, page):
        """Per control of the page: the byte offsets of the pixels that are
        not the button face at start and, for a spin edit, of the dark pixels
        of its arrow pair (which stands inside the right edge, within the
        sunken border)."""
        if page in self.marks_of_page:
            return self.marks_of_page[page]
        reference = self.references[page]
        self.face_bytes = bytes(self.face)
        found = []
        for name, _, _, _, _, _, kind, on_page in LAYOUT:
            if on_page not in (0, page):
                continue
            x, y, w, h = self.rect(name)
            offsets = [(py * reference.width + px) * 3 for py in range(y, y + h)
                       for px in range(x, x + w)]
            marks = [i for i in offsets if reference.pixels[i:i + 3] != self.face_bytes]
            dark = None
            if kind == "spin":
                px0, py0 = x + w - SPIN_PAIR_WIDTH - 3, y + 2
                pair = [(py * reference.width + px) * 3 for py in range(py0, py0 + h - 5)
                        for px in range(px0, px0 + SPIN_PAIR_WIDTH)]
                dark = [i for i in pair if sum(reference.pixels[i:i + 3]) < 200]
            found.append((name, marks, dark))
        self.marks_of_page[page] = found
        return found

    def check_drawn(self, page, label):
        """Checks that every control of the page shown is drawn, with a
        screenshot of the window."""
        screen = settled_screen()
        self.shot(label, screen)
        problems = self.undrawn(page, screen)
        return self.results.check("%s: every control is drawn" % label, not problems,
                                  ", ".join(problems))

    # Dialogs -----------------------------------------------------------------

    def wait_window(self, what, timeout=30):
        return wait_until(what, lambda: self.other_windows(), timeout, 0.2)[0]

    def wait_no_window(self, what, timeout=15):
        wait_until(what, lambda: not self.other_windows(), timeout, 0.2)

    def save_through_dialog(self, path, label):
        """Clicks the save button, types the path into the save dialog and
        presses Enter. Returns the window that follows (confirmation or
        error box) after a screenshot, or None."""
        self.click("Button2")
        dialog = self.wait_window("the save dialog")
        self.shot(label + "-dialog")
        self.results.check("%s: the save dialog opens (%s)" % (label, dialog.name),
                           dialog.name not in (APP_TITLE, MAIN_CAPTION))
        self.input.key("ctrl+a")  # the dialog offers the last path
        self.input.type(windows_path(path))
        self.input.key("Return")
        following = wait_until("a window after the save dialog",
                               lambda: [w for w in self.other_windows() if w.name == APP_TITLE],
                               30, 0.2)[0]
        self.shot(label + "-after")
        return following

    def copy_window_text(self):
        """Ctrl+C in a message window copies its caption and text."""
        return self.clipboard.copied_by(lambda: self.input.key("ctrl+c")) or ""

    def close(self, label):
        """Alt+F4 on the main window: the program ends with exit code 0."""
        self.input.click(self.window.x + self.window.width // 2, self.window.y + 8)
        self.input.key("alt+F4")
        code = self.program.wait_exit(20)
        self.results.check("%s: Alt+F4 ends the program with exit code 0" % label, code == 0,
                           "exit code %s" % code)

    def end(self):
        self.program.kill()


# The session that composes a rule and saves it ---------------------------------


def set_every_page(s):
    """Types and picks the values whose rule is EXPECTED_RULE."""
    s.replace_text("TAG", "div.note p")  # completion: d→DD, di→DIR, div→DIV, then no entry
    s.click_empty_spot()  # closes the list that typing opened
    s.choose("align", 3)  # 中央揃え
    s.click("valign")  # opens the list; keys pick the entry
    s.input.key("Home", *["Down"] * 6, "Return")  # 上付き文字
    s.replace_text("width", "50")
    s.replace_text("wu", "%")
    s.replace_text("height", "-5")  # not above 0: no height
    s.choose("cursor", 3)  # リンク
    s.check_drawn(1, "page 1 after typing and picking")

    s.show_page(2)
    s.click("border_check")  # all four sides enabled
    s.choose("border_style", 2)  # 2本線
    s.replace_text("border_width", "3")
    s.replace_text("border_unit", "pt")  # p completes to px, t replaces the x
    s.replace_text("border_color", "#FF0000")
    s.choose("border_kind", 1)  # 上: shows that side's own values
    s.click("border_check")  # and enables it as they are
    s.click("Ma_check")
    s.replace_text("Ma", "-2")
    s.replace_text("Ma_unit", "e")  # completes to em
    s.click("Pa_kind")  # opens the list; keys pick the entry
    s.input.key("Down", "Down", "Return")  # 左
    s.click("Pa_check")
    s.replace_text("Pa", "007")
    s.replace_text("back_color", "#00FF00")
    s.replace_text("Back_Image", "画像/a b.png")
    s.click("kotei")
    s.choose("back_repeat", 3)  # 縦方向のみ繰り返し表示する
    s.check_drawn(2, "page 2 after typing and picking")

    s.show_page(3)
    s.replace_text("zin", "+10")
    s.choose("posit", 2)  # 絶対位置
    s.replace_text("top", "4")
    s.replace_text("tu", "e")  # completes to em, which selects that entry
    s.replace_text("left", "12")
    s.choose("lu", 2)  # ex
    s.replace_text("right", "-3")  # not above 0: no right offset
    s.click("visible")
    s.check_drawn(3, "page 3 after typing and picking")


def rule_and_files(args, results):
    out = args.out
    s = Sheetloom(args, "rule", results)
    try:
        s.click("StyleSheet", 0.5, 20)
        s.input.type(MEMO_PREFIX_TYPED)
        s.input.key("Return")
        set_every_page(s)
        s.click("make")
        s.shot("added")
        expected = MEMO_PREFIX_BYTES + EXPECTED_RULE
        text = s.memo_text()
        results.check("the memo holds the typed line and the added rule",
                      text == shift_jis_text(expected),
                      difference(shift_jis_text(expected), text))

        first = os.path.join(out, "rule.css")
        box = s.save_through_dialog(first, "save")
        copied = s.copy_window_text()
        results.check("the confirmation says 保存しました。", "保存しました。" in copied,
                      "copied: %r" % copied)
        s.input.key("Return")
        s.wait_no_window("the confirmation window to close")
        data = open(first, "rb").read() if os.path.exists(first) else None
        results.check("the saved file holds exactly the memo's bytes (Shift_JIS, CR LF)",
                      data == expected, difference(expected, data))
        results.check("Enter closed the confirmation (%s)" % box.name, not s.other_windows())

        s.click("Button5")  # クリア
        empty = os.path.join(out, "cleared.css")
        s.save_through_dialog(empty, "cleared")
        s.input.key("Return")
        s.wait_no_window("the confirmation window to close")
        size = os.path.getsize(empty) if os.path.exists(empty) else None
        results.check("after クリア the saved file has 0 bytes", size == 0, "size %s" % size)

        # The settings stay as they were: the next rule is the same rule.
        s.click("make")
        failed_saves(s, results)
        again = os.path.join(out, "again.css")
        s.save_through_dialog(again, "again")
        s.input.key("Return")
        s.wait_no_window("the confirmation window to close")
        data = open(again, "rb").read() if os.path.exists(again) else None
        results.check("after failed saves the window still saves; the settings are kept",
                      data == EXPECTED_RULE, difference(EXPECTED_RULE, data))

        # An offset unit is written as typed, like the width and height units:
        # a unit that is no entry of the list ("%") still reaches the rule, since
        # an offset without a unit is invalid CSS that browsers drop.
        s.replace_text("lu", "%")
        s.click("make")
        expected = EXPECTED_RULE + EXPECTED_RULE.replace(b"  left: 12ex;", b"  left: 12%;")
        text = s.memo_text()
        results.check("a typed offset unit that is no entry of the list is written as typed",
                      text == shift_jis_text(expected), difference(shift_jis_text(expected), text))
        s.close("rule")
    finally:
        s.end()


FS_IOC_GETFLAGS, FS_IOC_SETFLAGS, FS_IMMUTABLE_FL = 0x80086601, 0x40086602, 0x10


def set_immutable(path, on):
    """The file system's immutable flag (what chattr +i sets)."""
    fd = os.open(path, os.O_RDONLY)
    try:
        flags = array.array("i", [0])
        fcntl.ioctl(fd, FS_IOC_GETFLAGS, flags, True)
        flags[0] = flags[0] | FS_IMMUTABLE_FL if on else flags[0] & ~FS_IMMUTABLE_FL
        fcntl.ioctl(fd, FS_IOC_SETFLAGS, flags)
    finally:
        os.close(fd)


def make_read_only(path):
    os.chmod(path, 0o444)
    if os.geteuid() == 0:
        # The superuser writes to any file whatever its mode, and so would the
        # program run as root; only the immutable flag stops it.
        set_immutable(path, True)


def release(path):
    if os.geteuid() == 0:
        set_immutable(path, False)
    os.chmod(path, 0o644)


def failed_saves(s, results):
    """Targets that cannot be written: the error box names the path, Enter
    closes it, and what was there stays."""
    out = s.args.out
    read_only = os.path.join(out, "read-only.css")
    missing = os.path.join(out, "no-such-folder", "x.css")
    if os.path.exists(read_only):
        release(read_only)  # left locked by an interrupted earlier run
    with open(read_only, "wb") as f:
        f.write(b"kept\r\n")
    make_read_only(read_only)
    try:
        for label, path in (("read-only", read_only), ("no-folder", missing)):
            box = s.save_through_dialog(path, label)
            copied = s.copy_window_text()
            wanted = "ファイル %s を作成できません." % windows_path(path)
            if copied:
                results.check("%s: the error box says %s" % (label, wanted), wanted in copied,
                              "copied: %r" % copied)
            else:
                print("      %s: this message box copies no text; see the screenshot" % label)
            results.check("%s: the error box is captioned %s" % (label, APP_TITLE),
                          box.name == APP_TITLE)
            s.input.key("Return")
            s.wait_no_window("the error box to close")
            s.check_drawn(3, "%s: after the error box" % label)
        kept = open(read_only, "rb").read()
        results.check("the read-only file keeps its content", kept == b"kept\r\n", repr(kept))
        results.check("no file appears in a missing folder", not os.path.exists(missing))
    finally:
        release(read_only)


# The session of keys in every kind of control -----------------------------------

# page, control, how it gets the focus, keys, what happens to the memo.
# Focus: "text" clicks into the text; "open" opens a list with a click;
# "closed" opens and closes it again; "click" clicks; "tab:NAME:N" clicks into
# NAME and presses Tab N times (Shift+Tab when N < 0).
# Memo: "same", "newline" (a line break at the end), "rule" (the starting
# rule appended) or "empty".
KEY_CASES = [
    (1, "make", "tab:TAG:1", ["Escape", "Tab"], "same"),
    (1, "make", "tab:TAG:1", ["Return"], "rule"),
    (1, "TAG", "text", ["Escape", "Return", "Tab"], "same"),
    (1, "StyleSheet", "text", ["Escape"], "same"),
    (1, "StyleSheet", "text", ["Tab"], "same"),
    (1, "StyleSheet", "text", ["Return"], "newline"),
    (1, "Button1", "tab:align:-1", ["Escape", "Tab"], "same"),
    (1, "align", "closed", ["Escape", "Return", "Tab"], "same"),
    (1, "align", "open", ["Escape"], "same"),
    (1, "valign", "open", ["Return"], "same"),
    (1, "valign", "open", ["Tab"], "same"),
    (1, "width", "text", ["Escape", "Return", "Tab"], "same"),
    (1, "width", "text", ["ctrl+a", "type:12", "Tab"], "same"),
    (1, "wu", "text", ["Escape", "Return", "Tab"], "same"),
    (1, "cursor", "open", ["Escape", "Return", "Tab"], "same"),
    (2, "border_kind", "closed", ["Escape", "Return", "Tab"], "same"),
    (2, "border_check", "click", ["Escape", "Return", "Tab"], "same"),
    (2, "border_color", "text", ["Escape", "Return", "Tab"], "same"),
    (2, "border_width", "text", ["type:7", "Escape", "Return", "Tab"], "same"),
    (2, "border_unit", "text", ["Escape", "Return", "Tab"], "same"),
    (2, "Ma", "text", ["Up", "Escape", "Return", "Tab"], "same"),
    (2, "Back_Image", "text", ["Escape", "Return", "Tab"], "same"),
    (2, "kotei", "click", ["Escape", "Return", "Tab"], "same"),
    (2, "back_repeat", "open", ["Escape", "Return", "Tab"], "same"),
    (3, "zin", "text", ["Escape", "Return", "Tab"], "same"),
    (3, "posit", "closed", ["Escape", "Return", "Tab"], "same"),
    (3, "tu", "text", ["Escape", "Return", "Tab"], "same"),
    (3, "visible", "click", ["Escape", "Return", "Tab"], "same"),
    (3, "Button5", "tab:StyleSheet:2", ["Escape", "Tab"], "same"),
    (3, "Button5", "tab:StyleSheet:2", ["Return"], "empty"),
]

KEYS_MEMO = "a { }\n" + "見出し"


def give_focus(s, name, how):
    if how == "text":
        s.click(name, 0.3)
        if name == "StyleSheet":
            s.input.key("ctrl+End")
    elif how == "click":
        s.click(name)
    elif how in ("open", "closed"):
        s.click(name)
        if how == "closed":
            time.sleep(0.2)
            settled_screen()
            s.click(name)
    elif how.startswith("tab:"):
        _, start, count = how.split(":")
        if CONTROLS[start][6] == "list":
            give_focus(s, start, "closed")
        else:
            give_focus(s, start, "text")
        count = int(count)
        for _ in range(abs(count)):
            s.input.key("Tab" if count > 0 else "shift+Tab")
    else:
        raise ValueError(how)


def press(s, keys):
    for key in keys:
        if key.startswith("type:"):
            s.input.type(key[5:])
        else:
            s.input.key(key)


def start_keys_session(args, results, run):
    s = Sheetloom(args, "keys%d" % run, results)
    s.click("StyleSheet", 0.5, 20)
    s.input.type(KEYS_MEMO)
    return s


def keys_everywhere(args, results):
    run = 1
    s = start_keys_session(args, results, run)
    memo = KEYS_MEMO
    try:
        for page, name, how, keys, effect in KEY_CASES:
            label = "%s in %s (%s)" % ("+".join(keys), name, how)
            s.show_page(page)
            give_focus(s, name, how)
            press(s, keys)
            screen = settled_screen()
            strays = s.other_windows()
            if strays:
                s.shot("stray-" + name, screen)
                for _ in strays:
                    s.input.key("Escape")
            problems = s.undrawn(page, screen)
            if problems:
                s.shot("undrawn-" + name, screen)
            expected = {
                "same": memo,
                "newline": memo + "\n",
                "rule": memo + shift_jis_text(START_RULE),
                "empty": ""
            }[effect]
            text = s.memo_text()
            ok = results.check(
                label, not problems and not strays and text == expected,
                "; ".join(
                    filter(None, [
                        problems and "undrawn: " + ", ".join(problems), strays and
                        "windows opened: %s" % strays, text != expected and
                        "memo: " + difference(expected, text)
                    ])))
            memo = expected
            if ok:
                continue
            if text is None or not s.program.running() or s.other_windows():
                # Go on from a fresh start, so that one fault hides no other.
                s.end()
                run += 1
                s = start_keys_session(args, results, run)
                memo = KEYS_MEMO
            else:
                # Showing the page again draws it afresh for the next case.
                s.show_page(1 if page != 1 else 2)
                s.show_page(page)
        s.close("keys")
    finally:
        s.end()


SESSIONS = {"rule": rule_and_files, "keys": keys_everywhere}


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--exe", required=True)
    parser.add_argument("--wine", default="/usr/lib/wine/wine64",
                        help="the command that runs a Windows program (split like a shell)")
    parser.add_argument("--out", default="e2e-out", help="screenshots and saved files")
    parser.add_argument("--session", action="append", choices=sorted(SESSIONS))
    parser.add_argument("--timeout", type=int, default=900, help="seconds for the whole run")
    args = parser.parse_args()
    args.wine = shlex.split(args.wine)
    args.exe = os.path.abspath(args.exe)
    os.makedirs(args.out, exist_ok=True)
    if not os.environ.get("DISPLAY"):
        print("e2e: no X display; run inside xvfb-run")
        return 2
    results = Results()

    def out_of_time(*_):
        raise DriverError("the run took more than %d s" % args.timeout)

    signal.signal(signal.SIGALRM, out_of_time)
    signal.alarm(args.timeout)
    keyboard = KeyboardMap(MEMO_PREFIX_TYPED + KEYS_MEMO + "画像")
    try:
        for name in args.session or ["rule", "keys"]:
            print("==== %s" % name)
            try:
                SESSIONS[name](args, results)
            except Exception as error:  # a session that cannot go on is one failure
                traceback.print_exc()
                results.check("%s: the session ran to its end" % name, False, str(error))
    finally:
        keyboard.restore()
    print("e2e: %d checks, %d failed" % (results.count, len(results.failures)))
    return 1 if results.failures else 0


if __name__ == "__main__":
    sys.exit(main())
