#!/usr/bin/env python3
"""Drives the real vlab on a virtual X display with real X input (xdotool) and checks the screen by
its pixels at every step: the title screen, the lab window, Friction set up in the panel, a run in
real time, Stop, and Exit answered Yes, after which the process must have ended.

usage: x_session.py VLAB [PICTURE_FOLDER]   exit status 0 pass, 1 fail, 77 tools missing (skipped)
"""

import collections
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

TOOLS = ["Xvfb", "xdotool", "import"]
SCREEN_W, SCREEN_H = 1024, 768

# Window sizes, which tell the lab's windows apart on a display without a window manager.
MAIN = (807, 607)
FORM1 = (788, 600)
CHECK = (220, 111)
FORM2 = (510, 518)
# The lab's pale rose (#E7D1D1) and the surface's white.
ROSE = (0xE7, 0xD1, 0xD1)
WHITE = (0xFF, 0xFF, 0xFF)


class Failure(Exception):
    pass


class Session:
    def __init__(self, vlab, pictures):
        self.vlab = vlab
        self.pictures = pictures
        self.display = None
        self.xvfb = None
        self.lab = None
        self.names = []

    # --- the display and the program ---------------------------------------------------------

    def start_display(self):
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{SCREEN_W}x{SCREEN_H}x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + 20
        while not number.endswith(b"\n"):
            if time.monotonic() > deadline or self.xvfb.poll() is not None:
                raise Failure("Xvfb did not start")
            chunk = os.read(read_end, 16)
            if not chunk:
                raise Failure("Xvfb did not name its display")
            number += chunk
        os.close(read_end)
        self.display = ":" + number.decode().strip()

    def env(self):
        env = dict(os.environ)
        env["DISPLAY"] = self.display
        env["QT_QPA_PLATFORM"] = "xcb"
        env.pop("WAYLAND_DISPLAY", None)
        return env

    def start_lab(self, folder):
        self.lab = subprocess.Popen([self.vlab], cwd=folder, env=self.env(),
                                    stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)

    def stop(self):
        for proc in (self.lab, self.xvfb):
            if proc and proc.poll() is None:
                proc.send_signal(signal.SIGTERM)
                try:
                    proc.wait(5)
                except subprocess.TimeoutExpired:
                    proc.kill()
                    proc.wait()

    # --- X: windows, input, pixels ----------------------------------------------------------------

    def xdotool(self, *args):
        out = subprocess.run(["xdotool", *map(str, args)], env=self.env(), capture_output=True,
                             text=True, timeout=10)
        return out.stdout

    def windows(self):
        """The lab's visible windows as {(width, height): (x, y)}."""
        found = {}
        ids = self.xdotool("search", "--onlyvisible", "--pid", self.lab.pid).split()
        for wid in ids:
            geometry = {}
            for line in self.xdotool("getwindowgeometry", "--shell", wid).splitlines():
                key, _, value = line.partition("=")
                geometry[key] = int(value) if value.lstrip("-").isdigit() else value
            if {"X", "Y", "WIDTH", "HEIGHT"} <= geometry.keys():
                found[(geometry["WIDTH"], geometry["HEIGHT"])] = (geometry["X"], geometry["Y"])
        return found

    def wait_for(self, what, test, seconds=15):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            if self.lab.poll() is not None and what != "the program to end":
                raise Failure(f"vlab ended while waiting for {what}: {self.lab.stderr.read().decode()}")
            value = test()
            if value:
                return value
            time.sleep(0.05)
        raise Failure(f"timed out waiting for {what}")

    def wait_window(self, size, gone=()):
        def shown():
            wins = self.windows()
            if size in wins and not any(g in wins for g in gone):
                return wins[size]
            return None
        return self.wait_for(f"a {size[0]}x{size[1]} window", shown)

    def click(self, x, y):
        self.xdotool("mousemove", "--sync", x, y)
        self.xdotool("click", "1")

    def drag(self, x0, y0, x1, y1):
        self.xdotool("mousemove", "--sync", x0, y0)
        self.xdotool("mousedown", "1")
        steps = 8
        for i in range(1, steps + 1):
            self.xdotool("mousemove", "--sync", x0 + (x1 - x0) * i // steps, y0 + (y1 - y0) * i // steps)
        self.xdotool("mouseup", "1")

    def shot(self, name):
        """The whole screen as rows of (r, g, b); also kept as a picture to look at."""
        data = subprocess.run(["import", "-display", self.display, "-window", "root", "-depth", "8", "ppm:-"],
                              capture_output=True, timeout=20, check=True).stdout
        if self.pictures:
            # A step polled for keeps its last picture only.
            if name not in self.names:
                self.names.append(name)
            number = self.names.index(name) + 1
            with open(os.path.join(self.pictures, f"{number:02d}_{name}.ppm"), "wb") as f:
                f.write(data)
        return parse_ppm(data)


class Shot:
    def __init__(self, width, height, pixels):
        self.width, self.height, self.pixels = width, height, pixels

    def at(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i:i + 3])

    def region(self, x, y, w, h):
        return b"".join(self.pixels[((y + r) * self.width + x) * 3:((y + r) * self.width + x + w) * 3]
                        for r in range(h))

    def share(self, x, y, w, h, colour, tolerance=8):
        """The share of pixels in a rectangle that have a colour."""
        hits = 0
        for r in range(y, y + h):
            for c in range(x, x + w):
                p = self.at(c, r)
                if all(abs(p[k] - colour[k]) <= tolerance for k in range(3)):
                    hits += 1
        return hits / (w * h)


def check(condition, message):
    if not condition:
        raise Failure(message)
    print("ok  ", message)


def run(session, folder):
    session.start_display()
    session.start_lab(folder)

    # The title screen alone: its picture covers the window; the screen around it stays black.
    mx, my = session.wait_window(MAIN)
    title = session.wait_for("the title picture", lambda: (lambda s: s if s.at(mx + 400, my + 300) != (0, 0, 0)
                                                             else None)(session.shot("title")))
    check(title.at(mx - 5, my - 5) == (0, 0, 0) and title.share(mx, my, 807, 607, (0, 0, 0), 0) < 0.5,
          "the title screen shows its picture")

    # The entering spot shows the lab window and hides the title screen.
    session.click(mx + 338 + 67, my + 305 + 25)
    fx, fy = session.wait_window(FORM1, gone=[MAIN])
    lab = session.wait_for("the lab window's rose", lambda: (lambda s: s if s.share(fx + 20, fy + 560, 600, 30, ROSE) > 0.9
                                                                else None)(session.shot("lab")))
    check(lab.share(fx + 20, fy + 560, 600, 30, ROSE) > 0.9, "the lab window is on show, its text strip in the lab's rose")
    splash = lab.region(fx + 12, fy + 67, 677, 472)

    # Friction's button, then Setting opens the panel.
    session.click(fx + 1 + 2 + 80 + 40, fy + 22 + 15)
    # The first choice also shows the help viewer with the operating instructions, over the surface.
    hx, hy = session.wait_window(FORM2)
    chosen = session.wait_for("Friction's title", lambda: (lambda s: s if s.region(fx + 12, fy + 67, 100, 472) != splash
                                                               else None)(session.shot("friction")))
    check(chosen.share(fx + 12, fy + 130, 100, 400, WHITE) > 0.95, "choosing Friction clears the drawing surface")
    # A page with text: mostly its background colour, the commonest one, but far from all of it.
    # A slow build (the sanitizer's) may map the viewer a moment before it paints the page.
    def page_share(shot):
        colours = collections.Counter(shot.at(x, y) for x in range(hx + 5, hx + 480, 2) for y in range(hy + 5, hy + 505, 2))
        background, count = colours.most_common(1)[0]
        return count / sum(colours.values()), background

    def page_painted():
        share, background = page_share(session.shot("viewer"))
        return (share, background) if 0.5 < share < 0.97 and sum(background) > 600 else None

    try:
        page, background = session.wait_for("the help viewer's page", page_painted, seconds=10)
    except Failure:
        page, background = page_share(chosen)
    check(0.5 < page < 0.97 and sum(background) > 600,
          f"the help viewer shows a page with text ({page:.2f} of it background)")
    before = set(session.windows())
    session.click(fx + 704 + 8 + 32, fy + 368 + 96 + 15)
    panel = session.wait_for("the panel", lambda: [s for s in session.windows() if s not in before])
    psize = panel[0]
    px, py = session.windows()[psize]
    check(psize[0] < 300 and psize[1] < 200, f"Setting opens the small panel ({psize[0]}x{psize[1]})")

    # The panel: pick the applied force in the list, drag the bar, OK.
    before = set(session.windows())
    session.click(px + 134 + 52, py + 6 + 10)
    popup = session.wait_for("the list", lambda: [s for s in session.windows() if s not in before])[0]
    ux, uy = session.windows()[popup]
    session.click(ux + 10, uy + popup[1] // 6)
    session.wait_for("the list to close", lambda: popup not in session.windows())
    session.drag(px + 6, py + 16 + 12, px + 70, py + 16 + 12)
    session.shot("panel")
    session.click(px + 134 + 30, py + 30 + 7)
    cx, cy = session.wait_window(CHECK)
    asking = session.shot("asking")
    check(asking.share(cx + 1, cy + 1, 218, 4, ROSE) > 0.5, "OK asks for confirmation")
    session.click(cx + 11 + 20 + 30, cy + 66 + 8 + 11)
    set_up = session.wait_for("Friction's first picture",
                              lambda: (lambda s: s if CHECK not in session.windows() and psize not in session.windows()
                                       and s.region(fx + 12, fy + 130, 100, 400) != chosen.region(fx + 12, fy + 130, 100, 400) else None)(session.shot("set_up")))
    check(True, "Yes closes the panel and draws the table and the block")

    # Start, and real time: the picture moves.
    surface = (fx, fy + 60, 700, 480)
    session.click(fx + 712 + 32, fy + 433 + 15)
    started = session.shot("started").region(*surface)
    time.sleep(1.5)
    running = session.shot("running")
    check(running.region(*surface) != started, "Start runs the animation in real time")

    # Stop: the picture stands still.
    session.click(fx + 704 + 8 + 32, fy + 368 + 158 + 15)
    time.sleep(0.3)
    stopped = session.shot("stopped").region(*surface)
    time.sleep(0.8)
    check(session.shot("still").region(*surface) == stopped, "Stop holds the picture")

    # Exit asks; Yes ends the program.
    session.click(fx + 704 + 8 + 32, fy + 368 + 188 + 15)
    cx, cy = session.wait_window(CHECK)
    session.shot("exit_asks")
    session.click(cx + 11 + 20 + 30, cy + 66 + 8 + 11)
    status = session.wait_for("the program to end", lambda: session.lab.poll() is not None or None, seconds=10)
    check(status and session.lab.returncode == 0, f"Exit and Yes end the program (status {session.lab.returncode})")


def parse_ppm(data):
    """An 8-bit binary PPM as a Shot. Its header: magic, width, height, maximum, separated by
    whitespace, then one whitespace byte before the pixels."""
    fields, at = [], 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        start = at
        while not data[at:at + 1].isspace():
            at += 1
        fields.append(data[start:at])
    if fields[0] != b"P6" or fields[3] != b"255":
        raise Failure("the picture is not an 8-bit PPM")
    return Shot(int(fields[1]), int(fields[2]), data[at + 1:])


def play(session, checks, *args, failures=(Failure,)):
    """Runs a session's checks and ends the session: 0 when they all hold, 1 (with the reason
    printed) when one fails."""
    try:
        checks(session, *args)
    except failures as problem:
        print("FAIL", problem)
        return 1
    finally:
        session.stop()
    return 0


def main():
    if len(sys.argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    missing = [t for t in TOOLS if not shutil.which(t)]
    if missing:
        print("skipped: missing " + " ".join(missing))
        return 77
    vlab = os.path.abspath(sys.argv[1])
    pictures = sys.argv[2] if len(sys.argv) > 2 else None
    if pictures:
        os.makedirs(pictures, exist_ok=True)
    folder = os.getcwd()
    return play(Session(vlab, pictures), run, folder)


if __name__ == "__main__":
    sys.exit(main())
