#!/usr/bin/env python3
"""End-to-end test of the desktop program on a real X server.

Installs the build into a temporary prefix (or takes an installed one with
--prefix), starts Xvfb without a window manager and the installed `ampelsim`
in a temporary home, shows the signal heads through the menu "Ampelköpfe",
holds "Start" with xdotool and compares the lamps of group 1 on screenshots
with what `ampelsim-cli run` plans for the same start time. Loads the demo's
weekday traffic and runs an hour of it in "Zeitraffer". Ends the program
through "Datei" > "Beenden", discarding the evaluation, and wants exit
status 0.

Exit 0: passed; 1: failed; 77: skipped (Xvfb, xdotool or ImageMagick missing).
Screenshots of the run are kept in --keep (default BUILD/e2e).
"""

import argparse
import json
import math
import os
import re
import select
import shutil
import subprocess
import sys
import tempfile
import time

SKIPPED = 77
TOOLS = ("Xvfb", "xdotool", "import", "convert")

# The main window's client area and the Start button in it (fixed form layout).
CLIENT_WIDTH, CLIENT_HEIGHT = 624, 232
START_BUTTON_CENTRE = (4 + 12, 3 + 12)
# Head 1 in the signal-head window: panel at (6, 10), lamps of 36 pixels at
# (4, 4), (4, 44) and (4, 84) in it.
LAMP_CENTRES = {"red": (28, 32), "yellow": (28, 72), "green": (28, 112)}
LIT = {"red": (255, 0, 0), "yellow": (255, 255, 0), "green": (0, 255, 0)}
DARK = (192, 192, 192)

# Lamps of each actual-plan code: red, yellow, green; None = flashing.
CODE_LAMPS = {
    "- ": (False, False, False),
    "R ": (True, False, False),
    "Gr": (False, False, True),
    "RG": (True, True, False),
    "Ge": (False, True, False),
    "B ": (False, None, False),
    "RD": (True, True, False),
    "RB": (True, None, False),
    "GD": (False, True, True),
    "GB": (False, None, True),
}
PLAN_SECONDS = 200
HOLD_START = 0.4  # longer than one 100 ms tick, as a user holds the button


class Failure(Exception):
    pass


def log(text):
    print(text, flush=True)


class Display:
    """Xvfb on a display number it picks itself."""

    def __init__(self):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            # -noreset: the server would otherwise reset each time the last
            # program closes, and the next program could start into that reset
            # and find no display.
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1600x1024x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + 20
        while not number.endswith(b"\n"):
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([read_end], [], [], left)[0]:
                break
            chunk = os.read(read_end, 16)
            if not chunk:
                break
            number += chunk
        os.close(read_end)
        if not number.strip().isdigit():
            self.close()
            raise Failure("Xvfb did not report a display number")
        self.name = ":" + number.strip().decode()

    def close(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


class Session:
    def __init__(self, display, keep):
        self.env = dict(os.environ, DISPLAY=display.name)
        self.keep = keep
        self.shots = 0

    def xdotool(self, *args):
        result = subprocess.run(["xdotool", *map(str, args)], env=self.env, capture_output=True,
                                text=True, timeout=30)
        return result.stdout

    def find_window(self, caption, timeout, process):
        """The visible top-level window whose caption starts with `caption`."""
        pattern = "^" + re.escape(caption[:5])
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline and process.poll() is None:
            for window in self.xdotool("search", "--onlyvisible", "--name", pattern).split():
                name = self.xdotool("getwindowname", window).strip()
                if name == caption or name.startswith(caption + " "):
                    return window
            time.sleep(0.2)
        if process.poll() is not None:
            raise Failure(f'the program ended with status {process.returncode} before its window '
                          f'"{caption}" showed (its output: {self.keep}/program.log)')
        raise Failure(f'no visible window "{caption}" within {timeout} s')

    def geometry(self, window):
        values = dict(line.split("=", 1)
                      for line in self.xdotool("getwindowgeometry", "--shell", window).split())
        return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))

    def screenshot(self, label):
        self.shots += 1
        path = os.path.join(self.keep, f"{self.shots:02d}-{label}.png")
        subprocess.run(["import", "-window", "root", path], env=self.env, check=True,
                       timeout=30, capture_output=True)
        return path


def pixels(shot, x, y, size=5):
    """The colours of a size x size square centred on (x, y)."""
    half = size // 2
    text = subprocess.run(
        ["convert", shot, "-crop", f"{size}x{size}+{x - half}+{y - half}", "+repage",
         "-depth", "8", "txt:-"],
        check=True, capture_output=True, text=True, timeout=30).stdout
    found = re.findall(r"^\d+,\d+: \((\d+),(\d+),(\d+)", text, re.MULTILINE)
    if len(found) != size * size:
        raise Failure(f"cannot read the pixels at {x},{y} of {shot}")
    return [tuple(int(c) for c in colour) for colour in found]


def near(colour, target, tolerance=40):
    return all(abs(a - b) <= tolerance for a, b in zip(colour, target))


def lamp_states(session, shot, heads):
    """Whether each lamp of head 1 is lit, from the screenshot."""
    x0, y0 = heads[0], heads[1]
    states = {}
    for lamp, (dx, dy) in LAMP_CENTRES.items():
        square = pixels(shot, x0 + dx, y0 + dy)
        lit = sum(near(c, LIT[lamp]) for c in square)
        dark = sum(near(c, DARK) for c in square)
        if lit > len(square) // 2:
            states[lamp] = True
        elif dark > len(square) // 2:
            states[lamp] = False
        else:
            raise Failure(f"the {lamp} lamp of group 1 shows neither lit nor dark: {square[12]} "
                          f"({shot})")
    return states


def describe(lamps):
    return ", ".join(f"{lamp} {'flashing' if on is None else 'on' if on else 'off'}"
                     for lamp, on in lamps.items())


def planned_codes(cli, demo, now, workdir, seconds=PLAN_SECONDS):
    """Group 1's actual-plan code for each second of a run started at `now`
    with Start held as the test holds it; without `now`, of a run without
    Start."""
    command = [cli, "run", demo, "--seconds", str(seconds)]
    if now is not None:
        script = os.path.join(workdir, "start.txt")
        with open(script, "w", encoding="ascii") as file:
            file.write(f"0.1 down Start\n{0.1 + HOLD_START:.1f} up Start\n")
        command += ["--script", script, "--now", now]
    # The run keeps its fault store in the current directory: the scratch one.
    output = subprocess.run(command, check=True, capture_output=True, cwd=workdir,
                            timeout=120).stdout.decode("cp1252")
    codes = []
    for line in output.splitlines():
        match = re.match(r"^ (\S+) (\d+)", line)
        if not match or len(line) < match.end() + 3:
            continue
        code = line[match.end() + 1:match.end() + 3]
        if code not in CODE_LAMPS:
            raise Failure(f"unknown code {code!r} in the planned run: {line!r}")
        codes.append(code)
    if len(codes) < seconds:
        raise Failure(f"ampelsim-cli run gave {len(codes)} lines for {seconds} seconds")
    return codes


def check_flashing_or_steady(session, heads, codes):
    """Head 1 over a good second: a flashing lamp must be seen lit and dark."""
    if len(set(codes)) != 1:
        raise Failure(f"without Start the plan changes: {codes}")
    expected = dict(zip(LIT, CODE_LAMPS[codes[0]]))
    seen = []
    for _ in range(5):
        lamps = lamp_states(session, session.screenshot("before-start"), heads)
        for lamp, on in expected.items():
            if on is not None and lamps[lamp] != on:
                raise Failure(f'before Start group 1 shows {describe(lamps)}, the plan "{codes[0]}" '
                              f"gives {describe(expected)}")
        seen.append(lamps)
        time.sleep(0.3)
    for lamp, on in expected.items():
        states = {lamps[lamp] for lamps in seen}
        if on is None and states != {True, False}:
            raise Failure(f"before Start the {lamp} lamp of group 1 does not flash: "
                          f"{'always on' if True in states else 'always off'}")
    log(f'before Start (plan "{codes[0]}"): {describe(expected)}')


def margin(second):
    """How far the program's own seconds may lie from the wall clock's: the
    one-second phase of its tick, the hold of the button and late ticks on a
    loaded machine."""
    return 2 + math.ceil(0.05 * second)


def steady(codes, second):
    m = margin(second)
    if second - m < 0 or second + m >= len(codes):
        return False
    window = codes[second - m:second + m + 1]
    return len(set(window)) == 1 and None not in CODE_LAMPS[window[0]]


def check_seconds(codes):
    """Two seconds at which group 1 shows different steady, lit lamps."""
    chosen = []
    for second in range(len(codes)):
        lamps = CODE_LAMPS[codes[second]]
        if not steady(codes, second) or not any(lamps):
            continue
        if chosen and CODE_LAMPS[codes[chosen[-1]]] == lamps:
            continue
        chosen.append(second)
        if len(chosen) == 2:
            return chosen
    raise Failure(f"group 1 has no two different steady states in {len(codes)} planned seconds")


def install(build, cmake, prefix):
    result = subprocess.run([cmake, "--install", build, "--prefix", prefix], capture_output=True,
                            text=True, timeout=300)
    if result.returncode != 0:
        raise Failure("cmake --install failed:\n" + result.stdout + result.stderr)


def run(args, session, workdir):
    prefix = os.path.abspath(args.prefix) if args.prefix else None
    if prefix is None:
        prefix = os.path.join(workdir, "prefix")
        install(args.build_dir, args.cmake, prefix)
    program = os.path.join(prefix, "bin", "ampelsim")
    cli = os.path.join(prefix, "bin", "ampelsim-cli")
    demo = os.path.join(prefix, "share", "ampelsim", "Demo")

    home = os.path.join(workdir, "home")
    runtime = os.path.join(workdir, "runtime")
    os.makedirs(home)
    os.makedirs(runtime, mode=0o700)
    env = {k: v for k, v in session.env.items()
           if not k.startswith("XDG_") and k not in ("DBUS_SESSION_BUS_ADDRESS", "QT_QPA_PLATFORM")}
    env.update(HOME=home, XDG_RUNTIME_DIR=runtime, QT_QPA_PLATFORM="xcb")
    started = time.monotonic()
    cwd = args.cwd or home
    stray = os.path.join(cwd, "DATEN.STO")
    stray_before = os.stat(stray).st_mtime_ns if os.path.exists(stray) else None
    program_log = os.path.join(session.keep, "program.log")
    with open(program_log, "wb") as output:
        app = subprocess.Popen([program], cwd=cwd, env=env, stdout=output,
                               stderr=subprocess.STDOUT)
    try:
        main = session.find_window("Steuerung", 30, app)
        mx, my, mw, mh = session.geometry(main)
        menu_height = mh - CLIENT_HEIGHT
        if mw != CLIENT_WIDTH or not 10 <= menu_height <= 60:
            raise Failure(f"main window is {mw}x{mh}, not {CLIENT_WIDTH} wide with a menu bar "
                          f"above {CLIENT_HEIGHT} pixels")
        log(f"main window at {mx},{my} {mw}x{mh}, menu bar {menu_height} px")
        menu_datei = (mx + 12, my + menu_height // 2)

        # "Ampelköpfe" is the entry right of "Datei" and a command itself.
        # A program that has only just shown its window may miss the first
        # click (fonts and the menu still loading on a busy machine): then the
        # menu is closed and the way tried again.
        for attempt in range(3):
            session.xdotool("mousemove", *menu_datei, "click", "1")
            time.sleep(0.5)
            session.xdotool("key", "Right", "Return")
            try:
                heads_window = session.find_window("Ampelköpfe", 10, app)
                break
            except Failure:
                if attempt == 2 or app.poll() is not None:
                    raise
                session.xdotool("key", "Escape", "Escape")
                time.sleep(0.5)
        if args.docs_screenshot:
            session.xdotool("windowmove", heads_window, mx + mw, my)
            time.sleep(0.5)
        heads = session.geometry(heads_window)
        log(f"signal heads at {heads[0]},{heads[1]} {heads[2]}x{heads[3]}")

        # Until Start the controller is off: what the plan gives without it.
        time.sleep(1.0)
        check_flashing_or_steady(session, heads, planned_codes(cli, demo, None, workdir, 3))

        session.xdotool("mousemove", mx + START_BUTTON_CENTRE[0],
                        my + menu_height + START_BUTTON_CENTRE[1])
        now = time.strftime("%Y-%m-%d %H:%M:%S")
        pressed = time.monotonic()
        session.xdotool("mousedown", "1")
        time.sleep(HOLD_START)
        session.xdotool("mouseup", "1")

        codes = planned_codes(cli, demo, now, workdir)
        seconds = check_seconds(codes)
        for second in seconds:
            delay = pressed + second - time.monotonic()
            if delay > 0:
                time.sleep(delay)
            taken = time.monotonic()
            shot = session.screenshot(f"second-{second}")
            elapsed = round((taken - pressed + time.monotonic() - pressed) / 2)
            if not steady(codes, elapsed) or codes[elapsed] != codes[second]:
                raise Failure(f"the screenshot for second {second} came at second {elapsed}: "
                              "the machine is too busy for this test")
            expected = dict(zip(LIT, CODE_LAMPS[codes[second]]))
            lamps = lamp_states(session, shot, heads)
            log(f"second {second} after Start (plan \"{codes[second]}\"): {describe(lamps)}")
            if lamps != expected:
                raise Failure(f"second {second}: group 1 shows {describe(lamps)}, the planned "
                              f"program gives {describe(expected)} ({shot})")
            if args.docs_screenshot and second == seconds[0]:
                docs_screenshot(shot, (mx, my, mw, mh), heads, args.docs_screenshot)

        time_lapse_step(session, app, menu_datei,
                        os.path.join(prefix, "share", "ampelsim", "Verkehr", "weekday.json"))

        raise_main_window(session, app)
        session.xdotool("mousemove", *menu_datei, "click", "1")
        time.sleep(0.5)
        # "Beenden" is the last entry of "Datei": Up from the opened menu.
        session.xdotool("key", "Up", "Return")
        discard_unsaved_evaluation(session, app)
        try:
            status = app.wait(timeout=20)
        except subprocess.TimeoutExpired:
            raise Failure("the program did not end within 20 s of Datei > Beenden")
        if status != 0:
            raise Failure(f"the program ended with status {status} (its output: {program_log})")
        log(f"Datei > Beenden: exit status 0 after {time.monotonic() - started:.1f} s in all")
    finally:
        if app.poll() is None:
            app.kill()
            app.wait()

    # Installed and started from the home folder: what it wrote is in the
    # user's data folder, not in the current directory.
    store = os.path.join(home, ".local", "share", "ampelsim", "DATEN.STO")
    if not os.path.isfile(store):
        raise Failure(f"no fault store at {store}")
    stray_after = os.stat(stray).st_mtime_ns if os.path.exists(stray) else None
    if stray_after != stray_before:
        raise Failure(f"the fault store was written into the current directory {cwd}")
    log(f"fault store written to {store}")

    edit_step(session, program, cli, demo, env, cwd, workdir,
              os.path.join(home, ".local", "share", "ampelsim", "Demo"))


# The editing step: G. 1's green in P1 of the demo ends this much earlier.
EDIT_SHIFT = -15
CHART_GREEN = (0, 160, 0)


def dump(cli, data, workdir):
    output = subprocess.run([cli, "dump", data], check=True, capture_output=True, cwd=workdir,
                            timeout=60).stdout
    return json.loads(output)


def first_green_bar(shot, window):
    """Left end, right end (exclusive) and middle height of the topmost run of
    the chart's green in the window, in screen pixels: G. 1's green in P1."""
    x0, y0, width, height = window
    ppm = subprocess.run(["convert", shot, "-crop", f"{width}x{height}+{x0}+{y0}", "+repage",
                          "-depth", "8", "ppm:-"], check=True, capture_output=True,
                         timeout=30).stdout
    fields = ppm.split(maxsplit=4)
    w, h, data = int(fields[1]), int(fields[2]), fields[4]
    for y in range(h):
        row = data[y * w * 3:(y + 1) * w * 3]
        green = [x for x in range(w) if near(tuple(row[3 * x:3 * x + 3]), CHART_GREEN, 12)]
        if len(green) < 20:
            continue
        # The dashed lines of the program's points cross the bar: a gap of a
        # few pixels does not end it.
        first = last = green[0]
        for x in green[1:]:
            if x - last > 4:
                break
            last = x
        if last - first >= 20:
            return x0 + first, x0 + last + 1, y0 + y + 8
    raise Failure(f"no green bar in the editor's chart ({shot})")


def open_heads(session, app, main_window):
    mx, my, mw, mh = session.geometry(main_window)
    menu_datei = (mx + 12, my + (mh - CLIENT_HEIGHT) // 2)
    for attempt in range(3):
        session.xdotool("mousemove", *menu_datei, "click", "1")
        time.sleep(0.5)
        session.xdotool("key", "Right", "Return")
        try:
            return session.find_window("Ampelköpfe", 10, app), menu_datei
        except Failure:
            if attempt == 2 or app.poll() is not None:
                raise
            session.xdotool("key", "Escape", "Escape")
            time.sleep(0.5)


def quit_program(session, app, menu_datei):
    session.xdotool("mousemove", *menu_datei, "click", "1")
    time.sleep(0.5)
    session.xdotool("key", "Up", "Return")
    try:
        status = app.wait(timeout=20)
    except subprocess.TimeoutExpired:
        raise Failure("the program did not end within 20 s of Datei > Beenden")
    if status != 0:
        raise Failure(f"the program ended with status {status}")


def edit_step(session, program, cli, demo, env, cwd, workdir, data):
    """Opens the editor with Strg+E, drags G. 1's green end in P1's chart
    EDIT_SHIFT seconds, saves with Strg+S and checks the saved files; then
    starts the program again, holds Start and compares head 1 with
    `ampelsim-cli run` on the saved files at a second where the edit shows."""
    before = dump(cli, data, workdir)
    plan = before["SignalPrograms"][0]
    begin, end = plan["GreenBegin1"][0], plan["GreenEnd1"][0]
    with open(os.path.join(session.keep, "program-edit.log"), "wb") as output:
        app = subprocess.Popen([program], cwd=cwd, env=env, stdout=output,
                               stderr=subprocess.STDOUT)
    try:
        main = session.find_window("Steuerung", 30, app)
        mx, my, mw, mh = session.geometry(main)
        menu_datei = (mx + 12, my + (mh - CLIENT_HEIGHT) // 2)
        # Without a window manager the window is given the keyboard directly.
        session.xdotool("mousemove", mx + mw // 2, my + mh // 2)
        session.xdotool("windowfocus", "--sync", main)
        time.sleep(0.3)
        session.xdotool("key", "ctrl+e")
        editor = session.find_window("Datensatz bearbeiten", 20, app)
        session.xdotool("windowmove", editor, mx + mw + 8, 0)
        time.sleep(1.0)
        window = session.geometry(editor)
        left, right, y = first_green_bar(session.screenshot("editor"), window)
        per_second = (right - left) / (end - begin)
        log(f"editor at {window}; G. 1 green {begin}..{end} s drawn at x {left}..{right}")
        session.xdotool("mousemove", right, y)
        session.xdotool("mousedown", "1")
        for step in range(1, abs(EDIT_SHIFT) + 1):
            time.sleep(0.05)
            session.xdotool("mousemove", round(right + math.copysign(step, EDIT_SHIFT) * per_second),
                            y)
        time.sleep(0.2)
        session.xdotool("mouseup", "1")
        time.sleep(0.5)
        session.screenshot("dragged")
        session.xdotool("windowfocus", "--sync", editor)
        time.sleep(0.3)
        session.xdotool("key", "ctrl+s")
        deadline = time.monotonic() + 15
        while True:
            time.sleep(0.5)
            after = dump(cli, data, workdir)
            if after != before or time.monotonic() > deadline:
                break
        expected = before
        expected["SignalPrograms"][0]["GreenEnd1"][0] = end + EDIT_SHIFT
        if after != expected:
            raise Failure(f"the saved data set is not the demo with G. 1's green end at "
                          f"{end + EDIT_SHIFT} s (saved: {after['SignalPrograms'][0]['GreenEnd1'][:3]}"
                          f" ...; screenshots in {session.keep})")
        log(f"dragged and saved: G. 1 green {begin}..{end + EDIT_SHIFT} s in {data}")
        quit_program(session, app, menu_datei)
    finally:
        if app.poll() is None:
            app.kill()
            app.wait()

    with open(os.path.join(session.keep, "program-edited.log"), "wb") as output:
        app = subprocess.Popen([program], cwd=cwd, env=env, stdout=output,
                               stderr=subprocess.STDOUT)
    try:
        main = session.find_window("Steuerung", 30, app)
        mx, my, mw, mh = session.geometry(main)
        heads_window, menu_datei = open_heads(session, app, main)
        heads = session.geometry(heads_window)
        time.sleep(1.0)
        session.xdotool("mousemove", mx + START_BUTTON_CENTRE[0],
                        my + (mh - CLIENT_HEIGHT) + START_BUTTON_CENTRE[1])
        now = time.strftime("%Y-%m-%d %H:%M:%S")
        pressed = time.monotonic()
        session.xdotool("mousedown", "1")
        time.sleep(HOLD_START)
        session.xdotool("mouseup", "1")
        codes = planned_codes(cli, data, now, workdir)
        unedited = planned_codes(cli, demo, now, workdir)
        second = next((s for s in range(len(codes)) if steady(codes, s)
                       and any(CODE_LAMPS[codes[s]]) and codes[s] != unedited[s]), None)
        if second is None:
            raise Failure("the edit changes no steady second of group 1 in the planned run")
        delay = pressed + second - time.monotonic()
        if delay > 0:
            time.sleep(delay)
        taken = time.monotonic()
        shot = session.screenshot(f"edited-second-{second}")
        elapsed = round((taken - pressed + time.monotonic() - pressed) / 2)
        if not steady(codes, elapsed) or codes[elapsed] != codes[second]:
            raise Failure(f"the screenshot for second {second} came at second {elapsed}: "
                          "the machine is too busy for this test")
        expected = dict(zip(LIT, CODE_LAMPS[codes[second]]))
        lamps = lamp_states(session, shot, heads)
        log(f'edited data, second {second} after Start (plan "{codes[second]}", unedited '
            f'"{unedited[second]}"): {describe(lamps)}')
        if lamps != expected:
            raise Failure(f"second {second}: group 1 shows {describe(lamps)}, the saved program "
                          f"gives {describe(expected)} ({shot})")
        quit_program(session, app, menu_datei)
    finally:
        if app.poll() is None:
            app.kill()
            app.wait()


def raise_main_window(session, app):
    """The "Auswertung" opens large and may cover the main window's menu bar:
    the main window comes to the top before its menu is clicked."""
    session.xdotool("windowraise", session.find_window("Steuerung", 15, app))
    time.sleep(0.3)


def open_verkehr_menu(session, menu_datei):
    """Opens the menu "Verkehr" from "Datei" with the keyboard: from the right
    end of the menu bar ("?", "Programmeinstellungen", "Uhrzeit") it is the
    fourth to the left. Its first entry is then active."""
    session.xdotool("mousemove", *menu_datei, "click", "1")
    time.sleep(0.5)
    session.xdotool("key", "Left", "Left", "Left", "Left")
    time.sleep(0.5)


def time_lapse_step(session, app, menu_datei, traffic_file):
    """Verkehr > Verkehrsdatei laden ... with the installed weekday traffic,
    then Verkehr > Zeitraffer ... for its preset hour: the run ends with the
    window "Zeitraffer" closing and the "Auswertung" showing its result."""
    open_verkehr_menu(session, menu_datei)
    session.xdotool("key", "Return")
    chooser = session.find_window("Verkehrsdatei laden", 15, app)
    session.xdotool("windowactivate", "--sync", chooser)
    session.xdotool("type", "--delay", "20", traffic_file)
    session.xdotool("key", "Return")
    session.find_window("Auswertung", 15, app)
    log(f"traffic file loaded: {traffic_file}")

    # "Verkehrsdatei laden ...", "Verkehr erzeugen", "Zeitraffer ...".
    raise_main_window(session, app)
    open_verkehr_menu(session, menu_datei)
    session.xdotool("key", "Down", "Down", "Return")
    dialog = session.find_window("Zeitraffer", 15, app)
    session.xdotool("windowactivate", "--sync", dialog)
    started = time.monotonic()
    session.xdotool("key", "Return")  # "Starten", the default button
    deadline = started + 120
    while time.monotonic() < deadline and app.poll() is None:
        visible = session.xdotool("search", "--onlyvisible", "--name", "^Zeitraffer$").split()
        if not visible:
            break
        time.sleep(0.5)
    else:
        raise Failure("the time-lapse hour did not end within 120 s")
    session.find_window("Auswertung", 10, app)
    session.screenshot("zeitraffer-auswertung")
    log(f"time-lapse of one hour done in {time.monotonic() - started:.1f} s")


def discard_unsaved_evaluation(session, app):
    """Answers "Auswertung speichern?" at the end with "Verwerfen"."""
    question = session.find_window("Auswertung speichern?", 15, app)
    session.xdotool("windowactivate", "--sync", question)
    session.xdotool("key", "v")
    log("unsaved evaluation asked about at the end: Verwerfen")


def docs_screenshot(shot, main, heads, out):
    """Main window and signal heads side by side, cut from the screenshot."""
    parts = []
    for name, (x, y, w, h) in (("main", main), ("heads", heads)):
        part = out + f".{name}.png"
        subprocess.run(["convert", shot, "-crop", f"{w}x{h}+{x}+{y}", "+repage", part],
                       check=True, timeout=30)
        parts.append(part)
    # The main window is the shorter one: a grey margin right of and below it.
    height = max(main[3], heads[3])
    subprocess.run(["convert", parts[0], "-background", "#d4d4d4", "-gravity", "northwest",
                    "-extent", f"{main[2] + 8}x{height}", parts[1], "+append", "-strip", out],
                   check=True, timeout=30)
    for part in parts:
        os.remove(part)
    log(f"screenshot for the docs: {out}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build-dir", required=True)
    parser.add_argument("--cmake", default="cmake")
    parser.add_argument("--prefix", help="an installed prefix (e.g. /usr) instead of installing")
    parser.add_argument("--cwd", help="current directory of the program (default: its home)")
    parser.add_argument("--keep", help="folder for the screenshots (default BUILD/e2e)")
    parser.add_argument("--docs-screenshot", help="also write the README's screenshot here")
    args = parser.parse_args()

    missing = [tool for tool in TOOLS if shutil.which(tool) is None]
    if missing:
        log(f"e2e test skipped: {', '.join(missing)} not installed "
            "(scripts/install-deps.sh installs xvfb, xdotool and imagemagick)")
        return SKIPPED

    keep = args.keep or os.path.join(args.build_dir, "e2e")
    shutil.rmtree(keep, ignore_errors=True)
    os.makedirs(keep)
    started = time.monotonic()
    display = None
    try:
        display = Display()
        log(f"Xvfb on display {display.name}")
        with tempfile.TemporaryDirectory(prefix="ampelsim-e2e-") as workdir:
            run(args, Session(display, keep), workdir)
    except (Failure, subprocess.SubprocessError, OSError) as error:
        log(f"FAILED: {error}\nscreenshots in {keep}")
        return 1
    finally:
        if display is not None:
            display.close()
    log(f"passed in {time.monotonic() - started:.1f} s; screenshots in {keep}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
