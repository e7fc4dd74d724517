#!/usr/bin/env python3
"""Installs the built tree into a scratch prefix and checks what a desktop finds there: the programs
and their versions, every help page and picture of help/, the desktop entry, the icons and the
AppStream metainfo (validated by desktop-file-validate and appstreamcli when present), and that the
installed lab, started from a folder without help pages, shows its pages from the installed copy.

usage: install_check.py BUILD_DIR SOURCE_DIR VERSION
"""

import json
import os
import shutil
import subprocess
import sys
import tempfile

APP_ID = "org.vlab.vlab"


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)
    print("ok  ", message)


def run(args, **kwargs):
    return subprocess.run(args, capture_output=True, text=True, timeout=120, **kwargs)


def main():
    build, source, version = sys.argv[1:4]
    prefix = tempfile.mkdtemp(prefix="vlab-install-")
    elsewhere = tempfile.mkdtemp(prefix="vlab-elsewhere-")
    try:
        done = run(["cmake", "--install", build, "--prefix", prefix])
        check(done.returncode == 0, "cmake --install succeeds " + done.stderr.strip())
        share = os.path.join(prefix, "share")

        for program in ("vlab", "vlab-script"):
            path = os.path.join(prefix, "bin", program)
            check(os.access(path, os.X_OK), f"{program} is installed in bin")
            out = run([path, "--version"], env={**os.environ, "DISPLAY": "", "QT_QPA_PLATFORM": ""})
            check(out.returncode == 0 and out.stdout == f"{program} {version}\n",
                  f"{program} --version prints its version ({out.stdout.strip()!r})")

        # Whatever help/ holds is installed, pictures included.
        wanted = []
        for root, _, files in os.walk(os.path.join(source, "help")):
            wanted += [os.path.relpath(os.path.join(root, f), source) for f in files]
        missing = [f for f in wanted if not os.path.isfile(os.path.join(share, "vlab", f))]
        check(wanted and not missing, f"all {len(wanted)} files of help/ are installed (missing: {missing})")

        desktop = os.path.join(share, "applications", APP_ID + ".desktop")
        metainfo = os.path.join(share, "metainfo", APP_ID + ".metainfo.xml")
        check(os.path.isfile(desktop) and os.path.isfile(metainfo), "desktop entry and metainfo are installed")
        icons = os.path.join(share, "icons", "hicolor")
        check(os.path.isfile(os.path.join(icons, "scalable", "apps", "vlab.svg")), "the scalable icon is installed")
        for size in (16, 32, 48, 64, 128, 256):
            png = os.path.join(icons, f"{size}x{size}", "apps", "vlab.png")
            with open(png, "rb") as f:
                head = f.read(24)
            # The PNG header's width and height must be the folder's size.
            width, height = int.from_bytes(head[16:20], "big"), int.from_bytes(head[20:24], "big")
            check(head[:8] == b"\x89PNG\r\n\x1a\n" and (width, height) == (size, size),
                  f"the {size}x{size} icon is a PNG of that size")

        if shutil.which("desktop-file-validate"):
            out = run(["desktop-file-validate", desktop])
            check(out.returncode == 0 and not out.stdout.strip() and not out.stderr.strip(),
                  "desktop-file-validate has nothing to say " + out.stdout + out.stderr)
        if shutil.which("appstreamcli"):
            out = run(["appstreamcli", "validate", "--pedantic", "--no-net", metainfo])
            text = out.stdout + out.stderr
            flagged = [l for l in text.splitlines() if l[:2] in ("E:", "W:", "I:", "P:")]
            check(out.returncode == 0 and not flagged, "appstreamcli validate --pedantic has nothing to say " + text)

        # The installed lab run from a folder without help pages shows them from the installed copy.
        script = os.path.join(elsewhere, "help.vls")
        with open(script, "w", encoding="utf-8") as f:
            f.write("click Main.Image4\nclick Form1.Button3\ndump first.json\n"
                    "click Form1.BitBtn2\ndump second.json\n")
        out = run([os.path.join(prefix, "bin", "vlab-script"), script], cwd=elsewhere,
                  env={**os.environ, "QT_QPA_PLATFORM": "offscreen"})
        check(out.returncode == 0, "the installed vlab-script plays a scenario " + out.stderr)
        for name in ("first.json", "second.json"):
            with open(os.path.join(elsewhere, name), encoding="utf-8") as f:
                help_state = json.load(f)["help"]
            check(help_state["visible"] and help_state["found"],
                  f"the help page {help_state['page']} is found outside the current folder")
    except Failure as problem:
        print("FAIL", problem)
        return 1
    finally:
        shutil.rmtree(prefix, ignore_errors=True)
        shutil.rmtree(elsewhere, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
