#!/usr/bin/env python3
"""The lab at full screen on a 1920 x 1080 virtual X display, driven by real X input (xdotool):
F11, then the spring's block dragged 99 pixels at its scaled place on the screen; then the field
set up through the panel and the question, both at the lab's scale, and a test point clicked. Each
time the surface is read back from the screen, one screen pixel from the middle of each surface
pixel's square, and must equal the runner's snapshot of the same actions at the normal size, pixel
for pixel.

usage: full_screen_session.py VLAB VLAB_SCRIPT [PICTURE_FOLDER]   status 0 pass, 1 fail, 77 skipped
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import x_session  # noqa: E402  (the display, the program, input and screen pictures)

WIDTH, HEIGHT = 1920, 1080
FULL = (WIDTH, HEIGHT)
SCALE = min(WIDTH / 788, HEIGHT / 600)  # 1.8
# The lab's left edge on the screen: the scaled window centred across the width.
LEFT = (WIDTH - round(788 * SCALE)) // 2
# The block's grab point, the first move (where the grab offset is taken) and the end of the drag.
GRAB, FIRST, END, ROW = 334, 335, 433, 100


def screen_x(x):
    """A screen column inside surface column x's square (see the floor rule of the surface view)."""
    return LEFT + int((x + 0.5) * SCALE)


def screen_y(y):
    return int((y + 0.5) * SCALE)


def lab_point(x, y):
    """A point of the lab window's normal layout (a button's middle) on the full screen."""
    return LEFT + int(x * SCALE), int(y * SCALE)


# The field's test point.
TEST_POINT = (300, 280)


def scaled(size):
    return round(size[0] * SCALE), round(size[1] * SCALE)


def snapshot(script, folder, lines=None):
    """The runner's surface after the same actions at the normal size."""
    lines = lines or ["click Form1.Button1", "click Form1.Button4", f"press {GRAB} {ROW}", f"move {FIRST} {ROW}",
                      f"move {END} {ROW}", f"release {END} {ROW}"]
    scenario = "\n".join(["click Main.Image4"] + lines + ["snapshot runner.png"]) + "\n"
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    subprocess.run([script, "-"], input=scenario.encode(), cwd=folder, env=env, check=True, timeout=120)
    data = subprocess.run(["convert", os.path.join(folder, "runner.png"), "-depth", "8", "ppm:-"],
                          capture_output=True, check=True).stdout
    return x_session.parse_ppm(data)


def raise_lab(session):
    """The lab raised over the help viewer (there is no window manager to do it on a click), so
    that the whole surface is on the screen."""
    for wid in session.xdotool("search", "--onlyvisible", "--pid", session.lab.pid).split():
        if f"WIDTH={WIDTH}" in session.xdotool("getwindowgeometry", "--shell", wid):
            session.xdotool("windowraise", wid)
    time.sleep(0.5)


def run(session, script, folder):
    x_session.SCREEN_W, x_session.SCREEN_H = WIDTH, HEIGHT
    session.start_display()
    session.start_lab(folder)
    mx, my = session.wait_window(x_session.MAIN)
    session.wait_for("the title picture", lambda: session.shot("title").at(mx + 400, my + 300) != (0, 0, 0))
    session.click(mx + 338 + 67, my + 305 + 25)
    lx, ly = session.wait_window(x_session.FORM1, gone=[x_session.MAIN])
    # Keys go to the window that has the focus: a click on the vertical title picture gives it.
    session.click(lx + 704 + 40, ly + 61 + 150)
    time.sleep(0.3)
    session.xdotool("key", "F11")
    fx, fy = session.wait_window(FULL)
    x_session.check((fx, fy) == (0, 0), "F11 shows the lab window over the whole 1920 x 1080 screen")
    shot = session.wait_for("the lab at its full-screen size",
                            lambda: (lambda s: s if s.share(0, 500, LEFT - 2, 40, x_session.ROSE) > 0.95 else None)(
                                session.shot("full_screen")))
    x_session.check(shot.share(WIDTH - LEFT + 2, 500, LEFT - 4, 40, x_session.ROSE) > 0.95,
                    "the scaled lab is centred on the lab's rose")

    # The spring's button on the experiment row (x 160, 80 wide, on the tab page 22 down), Setting.
    session.click(*lab_point(3 + 160 + 40, 22 + 15))
    time.sleep(0.5)
    session.click(*lab_point(704 + 8 + 32, 368 + 96 + 15))
    time.sleep(0.5)
    # The drag, one move at a time, as a hand makes it.
    session.xdotool("mousemove", "--sync", screen_x(GRAB), screen_y(ROW))
    session.xdotool("mousedown", "1")
    time.sleep(0.2)
    session.xdotool("mousemove", "--sync", screen_x(FIRST), screen_y(ROW))
    time.sleep(0.2)
    session.xdotool("mousemove", "--sync", screen_x(END), screen_y(ROW))
    time.sleep(0.2)
    session.xdotool("mouseup", "1")
    time.sleep(0.5)
    # Away from the surface, so that no cursor lies over it in the picture.
    session.xdotool("mousemove", "--sync", WIDTH - 5, HEIGHT - 5)
    time.sleep(0.3)
    screen = session.shot("dragged")

    # The help viewer that choosing the spring opened is shown at the lab's scale, centred on the
    # screen, over part of the surface: the surface pixels under it are not on the screen.
    viewer_size = (round(x_session.FORM2[0] * SCALE), round(x_session.FORM2[1] * SCALE))
    viewer = session.windows().get(viewer_size)
    x_session.check(viewer is not None and abs(viewer[0] + viewer_size[0] // 2 - WIDTH // 2) <= 1,
                    f"the help viewer is shown {viewer_size[0]} x {viewer_size[1]}, centred")

    raise_lab(session)
    screen = session.shot("dragged")

    def hidden(x, y):
        return False

    runner = snapshot(script, folder)
    compared = [(x, y) for y in range(548) for x in range(700) if not hidden(x, y)]
    x_session.check(len(compared) == 700 * 548, f"{len(compared)} surface pixels are on the screen")
    differ = [(x, y) for x, y in compared if screen.at(screen_x(x), screen_y(y)) != runner.at(x, y)]
    x_session.check(not differ, "the surface read back from the full screen equals the runner's snapshot "
                                f"of the same drag at the normal size ({len(differ)} pixels differ"
                                + (f", first at {differ[0]})" if differ else ")"))
    # The field: chosen, set up through the panel and the question (both at the lab's scale, centred
    # on the screen), and a test point clicked on the surface.
    session.click(*lab_point(704 + 8 + 32, 368 + 158 + 15))  # Stop
    time.sleep(0.5)
    session.click(*lab_point(704 + 8 + 32, 2 + 7 + 20))  # Return
    time.sleep(0.5)
    session.click(*lab_point(3 + 400 + 40, 22 + 15))
    time.sleep(0.5)
    raise_lab(session)
    session.click(*lab_point(704 + 8 + 32, 368 + 96 + 15))  # Setting opens the panel
    panel_size = scaled((196, 92))
    px, py = session.wait_window(panel_size)
    x_session.check(abs(px + panel_size[0] // 2 - WIDTH // 2) <= 2 and abs(py + panel_size[1] // 2 - HEIGHT // 2) <= 2,
                    f"the panel is shown {panel_size[0]} x {panel_size[1]}, centred")
    # The layout box, its first entry by the keyboard.
    session.click(px + int((8 + 40) * SCALE), py + int((70 + 9) * SCALE))
    time.sleep(0.2)
    session.xdotool("key", "Down")
    time.sleep(0.2)
    # OK answers once a charge has been picked: the first one, its charge as it is.
    session.click(px + int((118 + 30) * SCALE), py + int((70 + 9) * SCALE))
    time.sleep(0.2)
    session.xdotool("key", "Down")
    time.sleep(0.2)
    session.click(px + int((134 + 30) * SCALE), py + int((14 + 7) * SCALE))
    check_size = scaled(x_session.CHECK)
    cx, cy = session.wait_window(check_size)
    x_session.check(True, f"OK asks at the lab's scale too ({check_size[0]} x {check_size[1]})")
    session.click(cx + int((1 + 11 + 20 + 30) * SCALE), cy + int((1 + 66 + 8 + 11) * SCALE))  # Yes
    session.wait_window(FULL, gone=[check_size])
    time.sleep(0.5)
    session.click(screen_x(TEST_POINT[0]), screen_y(TEST_POINT[1]))
    time.sleep(0.5)
    session.xdotool("mousemove", "--sync", WIDTH - 5, HEIGHT - 5)
    time.sleep(0.3)
    screen = session.shot("field")
    runner = snapshot(script, folder, ["click Form1.Button45", "click Form1.Button4", "combo table3.ComboBox2 两个点电荷",
                                       "combo table3.ComboBox1 点电荷1",
                                       "click table3.Button1", "click check.BitBtn1",
                                       f"press {TEST_POINT[0]} {TEST_POINT[1]}", f"release {TEST_POINT[0]} {TEST_POINT[1]}"])
    differ = [(x, y) for y in range(548) for x in range(700) if screen.at(screen_x(x), screen_y(y)) != runner.at(x, y)]
    x_session.check(not differ, "the field's test point clicked on the full screen gives the runner's picture of "
                                f"the same click at the normal size ({len(differ)} pixels differ"
                                + (f", first at {differ[0]})" if differ else ")"))

    # Keys go to the window with the focus: a click on the rose beside the lab gives it back.
    session.click(5, 500)
    time.sleep(0.3)
    session.xdotool("key", "F11")
    session.wait_window(x_session.FORM1)
    x_session.check(True, "F11 again gives the 788 x 600 window back")


def main():
    if len(sys.argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    missing = [t for t in x_session.TOOLS + ["convert"] if not shutil.which(t)]
    if missing:
        print("skipped: missing " + " ".join(missing))
        return 77
    vlab, script = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    pictures = sys.argv[3] if len(sys.argv) > 3 else None
    if pictures:
        os.makedirs(pictures, exist_ok=True)
    session = x_session.Session(vlab, pictures)
    with tempfile.TemporaryDirectory() as folder:
        os.symlink(os.path.join(os.getcwd(), "help"), os.path.join(folder, "help"))
        return x_session.play(session, run, script, folder,
                              failures=(x_session.Failure, subprocess.CalledProcessError))


if __name__ == "__main__":
    sys.exit(main())
