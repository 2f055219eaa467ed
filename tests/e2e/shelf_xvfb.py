#!/usr/bin/env python3
"""The shelf under a virtual X display, driven by real pointer and key events (xdotool).

A home folder of its own holds a shelf folder with the sample disc and a fixture disc that lacks
its background bitmap. The front end is started with no disc: the shelf must open and show both,
the broken one with its reason; a double-click on the sample disc starts the front end on it in
a process of its own while the shelf steps aside; clicking the front end's Exit brings the shelf
back; opening the broken disc ends that process at start-up, and the shelf shows the front end's
own message on the disc. Ctrl+Q closes the shelf, which keeps the discs opened and its place in
the settings file.

Usage: shelf_xvfb.py --binary KESTROVA --fixture FIXTURE_MAKER --source TREE --work DIR
"""
import argparse
import json
import os
import shutil
import subprocess
import sys
import time

SKIP = 77


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--binary", required=True)
    ap.add_argument("--fixture", required=True)
    ap.add_argument("--source", required=True)
    ap.add_argument("--work", required=True)
    a = ap.parse_args()
    for tool in ("xvfb-run", "xdotool"):
        if shutil.which(tool) is None:
            print(f"skipped: {tool} is not installed")
            return SKIP
    if "KESTROVA_SHELF_DISPLAY" not in os.environ:
        # Once more under a display of its own, which ends with the run.
        env = dict(os.environ, KESTROVA_SHELF_DISPLAY="1")
        return subprocess.run(["xvfb-run", "-a", "-s", "-screen 0 1280x800x24",
                               sys.executable] + sys.argv, env=env).returncode

    shutil.rmtree(a.work, ignore_errors=True)
    home = os.path.join(a.work, "home")
    shelf = os.path.join(home, "Kestrova")
    os.makedirs(shelf)
    shutil.copytree(os.path.join(a.source, "sample-disc"), os.path.join(shelf, "sample"))
    subprocess.run([a.fixture, os.path.join(shelf, "broken"), "no-background"], check=True)
    state_path = os.path.join(a.work, "state.json")
    env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(a.work, "config"),
               XDG_DATA_HOME=os.path.join(a.work, "data"),
               XDG_CACHE_HOME=os.path.join(a.work, "cache"), QT_QPA_PLATFORM="xcb",
               KESTROVA_SHELF_STATE=state_path,
               KESTROVA_SHELF_SNAPSHOT=os.path.join(a.work, "shelf.png"))
    env.pop("KESTROVA_SHELF_DISPLAY")
    # Under the sanitizers: the X server's client libraries and the session bus's, loaded at run
    # time, leave blocks LeakSanitizer cannot place. Neither is this program's; the offscreen
    # shelf tests keep every check.
    env["ASAN_OPTIONS"] = ":".join(filter(None, [env.get("ASAN_OPTIONS", ""), "detect_leaks=0",
                                                 "new_delete_type_mismatch=0"]))
    log = open(os.path.join(a.work, "stderr.txt"), "w")
    shelf_process = subprocess.Popen([a.binary, "--light-web"], env=env, cwd=a.work,
                                     stderr=log, stdout=subprocess.DEVNULL)
    try:
        check(a, env, shelf_process, state_path, shelf)
    except Failure as f:
        print("FAILED:", f)
        shelf_process.kill()
        log.close()
        with open(os.path.join(a.work, "stderr.txt")) as err:
            print("--- stderr ---\n" + err.read())
        return 1
    log.close()
    print("ok")
    return 0


class Failure(Exception):
    pass


def read_state(path):
    try:
        with open(path, encoding="utf-8") as f:
            return json.load(f)
    except (OSError, ValueError):
        return None


def wait_for(path, what, test, seconds=30):
    end = time.time() + seconds
    state = None
    while time.time() < end:
        state = read_state(path)
        if state is not None and test(state):
            return state
        time.sleep(0.05)
    raise Failure(f"{what}; last state: {json.dumps(state, indent=1)}")


def disc(state, name):
    for d in state["discs"]:
        if d["fileName"] == name:
            return d
    raise Failure(f"no disc {name} on the shelf")


def xdotool(*args):
    p = subprocess.run(["xdotool"] + [str(x) for x in args], capture_output=True, text=True,
                       timeout=20)
    if p.returncode != 0:
        raise Failure(f"xdotool {' '.join(map(str, args))}: {p.stderr.strip()}")
    return p.stdout


def visible_window_of(pid, seconds=20):
    end = time.time() + seconds
    while time.time() < end:
        p = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)],
                           capture_output=True, text=True)
        ids = p.stdout.split()
        if ids:
            return ids[-1]
        time.sleep(0.1)
    raise Failure(f"process {pid} showed no window")


def double_click(state, card):
    xdotool("mousemove", "--sync", "--window", state["window"], card["x"], card["y"])
    xdotool("click", "--repeat", 2, "--delay", 80, 1)


def check(a, env, shelf_process, state_path, shelf):
    ready = lambda s: s["visible"] and s["pending"] == 0 and len(s["discs"]) == 2 and all(
        d["probed"] for d in s["discs"])
    state = wait_for(state_path, "the shelf did not show both discs read", ready)
    sample = disc(state, "sample")
    broken = disc(state, "broken")
    if sample["fault"] or not sample["thumbnail"]:
        raise Failure(f"the sample disc should start and have its thumbnail: {sample}")
    if "mainbg.bmp" not in broken["fault"] or broken["thumbnail"]:
        raise Failure(f"the broken disc should show why it would not start: {broken}")

    # A double-click opens the disc in a front end of its own; the shelf steps aside.
    double_click(state, sample)
    state = wait_for(state_path, "the double-click started no front end",
                     lambda s: s["frontEnd"] != 0 and not s["visible"])
    child = state["frontEnd"]
    window = visible_window_of(child)
    time.sleep(1.0)  # the front end's first frames
    # Its Exit zone, clicked as a reader would.
    xdotool("mousemove", "--sync", "--window", window, 762, 34)
    xdotool("click", 1)
    state = wait_for(state_path, "closing the front end did not bring the shelf back",
                     lambda s: s["frontEnd"] == 0 and s["visible"])
    if disc(state, "sample")["startFault"]:
        raise Failure("a front end closed by the reader is no failure")

    # The broken disc: the front end ends at start-up after its message box.
    broken = disc(state, "broken")
    double_click(state, broken)
    state = wait_for(state_path, "the broken disc's front end did not start",
                     lambda s: s["frontEnd"] != 0)
    box = visible_window_of(state["frontEnd"])
    xdotool("windowfocus", "--sync", box)
    xdotool("key", "Return")
    state = wait_for(state_path, "the shelf did not tell why the front end did not start",
                     lambda s: s["visible"] and s["frontEnd"] == 0 and
                     disc(s, "broken")["startFault"] != "")
    want = "Cannot open file engine\\images\\mainbg.bmp"
    if disc(state, "broken")["startFault"] != want:
        raise Failure(f"the reason should be the front end's own: {disc(state, 'broken')}")
    if want not in state["status"]:
        raise Failure(f"the status line should say it too: {state['status']}")

    # Ctrl+Q closes the shelf; the discs opened and its place are kept.
    xdotool("windowfocus", "--sync", state["window"])
    xdotool("key", "ctrl+q")
    try:
        code = shelf_process.wait(timeout=15)
    except subprocess.TimeoutExpired:
        raise Failure("Ctrl+Q did not close the shelf")
    if code != 0:
        raise Failure(f"the shelf ended with status {code}")
    with open(os.path.join(env["XDG_CONFIG_HOME"], "kestrova", "kestrova.conf")) as f:
        conf = f.read()
    for needed in ("recent\\1\\path=" + os.path.join(shelf, "broken"),
                   "recent\\2\\path=" + os.path.join(shelf, "sample"),
                   "last=" + os.path.join(shelf, "broken"), "geometry=@ByteArray"):
        if needed not in conf:
            raise Failure(f"the settings file lacks {needed}:\n{conf}")


if __name__ == "__main__":
    sys.exit(main())
