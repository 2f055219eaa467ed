#!/usr/bin/env python3
"""Runs one replay script against the built front end and checks how it ended.

Header lines of the script (anywhere, each starting with "#!"):
  #! disc: PATH        the disc, relative to the source tree (default: sample-disc)
  #! fixture: VARIANT  a fixture disc written by kestrova_fixture_disc into a short temporary
                       folder
  #! exit: N           the expected exit status (default 0)
  #! stderr: TEXT      a line that standard error must hold exactly
  #! stderr-end: TEXT  a line of standard error must end with TEXT
  #! args: ...         more command-line arguments
  #! env: NAME=VALUE   an environment variable of the run (KESTROVA_WINE, ...)
  #! stdout: TEXT      a line that standard output must hold exactly ("{disc}" stands for the
                       disc root)
  #! display: xvfb     runs under a virtual X display (the browser engine draws nothing
                       offscreen); skipped when xvfb-run is missing
  #! screen: WxHxD     the virtual X display's size and depth (default 1024x768x24)
  #! screen-density: DPI
                       offscreen, one 2560 x 1600 screen of DPI dots per inch (96 is plain)
  #! needs: PROGRAM    skipped when PROGRAM is not on the path (xdotool for click-screen)
  #! scaled-copy: N    runs the script with --scale N, then again at --scale 1 (in the work
                       folder's "scale1"): every PNG the scaled run wrote must be the one of the
                       same name the other run wrote, with each pixel made an N x N block
  #! enlarged: SMALL LARGE N X Y
                       the PNG LARGE, from X, Y on, must be the PNG SMALL with each pixel made an
                       N x N block
  #! image: FLAVOUR    runs on a CD image of the disc, built by tests/support/make_image.py
  #! disc-copy: PATH   a copy of the disc PATH in the work folder, for scripts that write to it
  #! file-size-limit: BYTES
                       the front end runs with no file larger than BYTES writable (as on a
                       full disk: writes past it fail with "File too large")
  #! unchanged: FILE   FILE of the disc must be byte for byte as it was before the run
  #! file-contains: FILE|TEXT
                       FILE of the disc must hold TEXT after the run
  #! same-as-folder: FILE
                       runs the script again on the disc as a folder: the state dumps FILE
                       written by both runs must be the same, the disc root aside
  #! writes: FILE      the run must write FILE in its work folder: a script that must reach its
                       last line (a page may end the program early) ends with "state FILE"
  #! http-serve: DIR   serves a copy of DIR (relative to the source tree) over HTTP on
                       127.0.0.1, on a port of the system's choosing, while the front end runs;
                       in the script "{http}" stands for "http://127.0.0.1:PORT" and "{served}"
                       for the copy's folder, in the copy's files "{disc}" for the disc root
The script's own expect lines are checked by the front end itself.
"""
import argparse
import atexit
import functools
import http.server
import json
import os
import resource
import shlex
import shutil
import signal
import subprocess
import sys
import tempfile
import threading

import png_pixels


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--binary", required=True)
    ap.add_argument("--fixture", required=True)
    ap.add_argument("--source", required=True)
    ap.add_argument("--work", required=True)
    ap.add_argument("script")
    a = ap.parse_args()

    headers = {}
    extra = []
    stderr_lines = []
    stderr_ends = []
    unchanged = []
    contains = []
    writes = []
    enlarged = []
    stdout_lines = []
    env_vars = {}
    with open(a.script, encoding="utf-8") as f:
        for line in f:
            if line.startswith("#!"):
                key, _, value = line[2:].strip().partition(":")
                key, value = key.strip(), value.strip()
                if key == "stderr":
                    stderr_lines.append(value)
                elif key == "stderr-end":
                    stderr_ends.append(value)
                elif key == "unchanged":
                    unchanged.append(value)
                elif key == "writes":
                    writes.append(value)
                elif key == "enlarged":
                    enlarged.append(value.split())
                elif key == "file-contains":
                    contains.append(value.split("|", 1))
                elif key == "args":
                    extra += shlex.split(value)
                elif key == "stdout":
                    stdout_lines.append(value)
                elif key == "env":
                    name, _, setting = value.partition("=")
                    env_vars[name.strip()] = setting.strip()
                else:
                    headers[key] = value

    shutil.rmtree(a.work, ignore_errors=True)
    os.makedirs(a.work)
    if "fixture" in headers:
        # A short folder: the disc root counts towards the 79 characters a launched path may hold.
        short = tempfile.mkdtemp(prefix="ke2e-")
        atexit.register(shutil.rmtree, short, True)
        disc = os.path.join(short, "disc")
        subprocess.run([a.fixture, disc, headers["fixture"]], check=True)
    elif "disc-copy" in headers:
        disc = os.path.join(a.work, "disc")
        shutil.copytree(os.path.join(a.source, headers["disc-copy"]), disc, symlinks=True)
    else:
        disc = os.path.join(a.source, headers.get("disc", "sample-disc"))
    before = {}
    for name in unchanged:
        with open(os.path.join(disc, name), "rb") as f:
            before[name] = f.read()

    folder = disc
    if "image" in headers:
        flavour = headers["image"]
        # A short folder: the disc root counts towards the 79 characters a launched path may hold.
        short = tempfile.mkdtemp(prefix="ke2e-")
        atexit.register(shutil.rmtree, short, True)
        disc = os.path.join(short, "disc.bin" if flavour in ("bincue", "mode2") else "disc.iso")
        subprocess.run([sys.executable, os.path.join(a.source, "tests/support/make_image.py"),
                        flavour, folder, disc], check=True)

    if headers.get("display") == "xvfb" and shutil.which("xvfb-run") is None:
        print("skipped: xvfb-run is not installed")
        return 77
    if "needs" in headers and shutil.which(headers["needs"]) is None:
        print(f"skipped: {headers['needs']} is not installed")
        return 77
    scaled = int(headers.get("scaled-copy", "0"))
    if scaled:
        extra = extra + ["--scale", str(scaled)]
    script = os.path.abspath(a.script)
    if "http-serve" in headers:
        served = os.path.join(a.work, "served")
        server = serve(os.path.join(a.source, headers["http-serve"]), served,
                       os.path.realpath(disc) + "/")
        atexit.register(server.server_close)
        atexit.register(server.shutdown)
        script = os.path.join(a.work, os.path.basename(a.script))
        with open(a.script, encoding="utf-8") as f:
            text = f.read()
        text = text.replace("{http}", "http://127.0.0.1:%d" % server.server_address[1])
        with open(script, "w", encoding="utf-8") as f:
            f.write(text.replace("{served}", served))
    p = run(a, script, disc, a.work, extra, headers, env_vars)
    same = headers.get("same-as-folder")
    if same and p.returncode == 0:
        folder_work = os.path.join(a.work, "folder")
        os.makedirs(folder_work)
        q = run(a, script, folder, folder_work, extra, headers, env_vars)
        if q.returncode != 0:
            print("the run on the folder failed:\n" + q.stderr)
            return 1
        got = dump(os.path.join(a.work, same), os.path.abspath(disc))
        want = dump(os.path.join(folder_work, same), os.path.realpath(folder))
        if got != want:
            for g, w in zip(got.splitlines(), want.splitlines()):
                if g != w:
                    print(f"image:  {g}\nfolder: {w}")
            return 1
    want = int(headers.get("exit", "0"))
    ok = True
    if scaled and p.returncode == want:
        unscaled_work = os.path.join(a.work, "scale1")
        os.makedirs(unscaled_work)
        q = run(a, script, disc, unscaled_work, extra + ["--scale", "1"], headers,
                env_vars)
        if q.returncode != want:
            print("the run at scale 1 failed:\n" + q.stderr)
            return 1
        pictures = sorted(n for n in os.listdir(a.work) if n.endswith(".png"))
        if not pictures:
            print("the scaled run wrote no picture to compare")
            ok = False
        for name in pictures:
            differs = png_pixels.first_difference(os.path.join(unscaled_work, name),
                                                  os.path.join(a.work, name), scaled)
            if differs:
                print(differs)
                ok = False
    for small, large, factor, x, y in enlarged:
        differs = png_pixels.first_difference(os.path.join(a.work, small),
                                              os.path.join(a.work, large), int(factor),
                                              (int(x), int(y)))
        if differs:
            print(differs)
            ok = False
    for name, text in before.items():
        with open(os.path.join(disc, name), "rb") as f:
            if f.read() != text:
                print(f"{name} changed")
                ok = False
    for name, text in contains:
        with open(os.path.join(disc, name), "rb") as f:
            if text.encode("cp1252") not in f.read():
                print(f"{name} lacks: {text}")
                ok = False
    for name in writes:
        if not os.path.exists(os.path.join(a.work, name)):
            print(f"the run did not write {name}: the script did not reach its end")
            ok = False
    leftovers = [n for n in before if any(
        e.startswith("." + os.path.basename(n) + ".")
        for e in os.listdir(os.path.dirname(os.path.join(disc, n))))]
    for name in leftovers:
        print(f"a temporary file of {name} was left behind")
        ok = False
    if p.returncode != want:
        print(f"exit status {p.returncode}, expected {want}")
        ok = False
    got_lines = p.stderr.splitlines()
    for line in stderr_lines:
        if line not in got_lines:
            print(f"standard error lacks the line: {line}")
            ok = False
    for end in stderr_ends:
        if not any(line.endswith(end) for line in got_lines):
            print(f"no line of standard error ends with: {end}")
            ok = False
    out_lines = p.stdout.splitlines()
    for line in stdout_lines:
        if line.replace("{disc}", disc.rstrip("/") + "/") not in out_lines:
            print(f"standard output lacks the line: {line}")
            ok = False
    if not ok:
        print("--- stdout ---\n" + p.stdout + "--- stderr ---\n" + p.stderr)
        return 1
    return 0


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


# Copies the folder `source` to `served` ("{disc}" in its files becomes `root`) and serves it on
# 127.0.0.1 from a thread of its own; the caller shuts it down.
def serve(source, served, root):
    shutil.copytree(source, served)
    for folder, _, names in os.walk(served):
        for name in names:
            path = os.path.join(folder, name)
            with open(path, "rb") as f:
                data = f.read()
            with open(path, "wb") as f:
                f.write(data.replace(b"{disc}", root.encode("utf-8")))
    handler = functools.partial(QuietHandler, directory=served)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    server.daemon_threads = True
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def run(a, script, disc, work, extra, headers, env_vars):
    env = dict(os.environ)
    env.setdefault("QT_QPA_PLATFORM", "offscreen")
    if "screen-density" in headers:
        config = os.path.join(work, "screen.json")
        with open(config, "w", encoding="utf-8") as f:
            json.dump({"screens": [{"name": "dense", "x": 0, "y": 0, "width": 2560,
                                    "height": 1600, "logicalDpi": int(headers["screen-density"]),
                                    "logicalBaseDpi": 96, "dpr": 1}]}, f)
        env["QT_QPA_PLATFORM"] = "offscreen:configfile=" + config
    env.update(env_vars)
    env["KESTROVA_RUN_LOG"] = os.path.join(work, "ran.log")
    cmd = [a.binary, "--disc", disc, "--replay", script] + extra
    if headers.get("display") == "xvfb":
        env["QT_QPA_PLATFORM"] = "xcb"
        # Under the sanitizers: the X server's client libraries and the GL driver, loaded and
        # unloaded at run time, leave blocks LeakSanitizer cannot place, and the browser engine's
        # own library frees some objects through a base of another size. Neither is this
        # program's; offscreen replays keep every check.
        env["ASAN_OPTIONS"] = ":".join(filter(None, [env.get("ASAN_OPTIONS", ""),
                                                     "detect_leaks=0",
                                                     "new_delete_type_mismatch=0"]))
        screen = headers.get("screen", "1024x768x24")
        cmd = ["xvfb-run", "-a", "-s", "-screen 0 " + screen] + cmd
    limit = headers.get("file-size-limit")

    def limit_file_size():
        # Ignored, the signal does not end the program; its writes fail with EFBIG instead.
        signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
        resource.setrlimit(resource.RLIMIT_FSIZE, (int(limit), int(limit)))

    return subprocess.run(cmd, cwd=work, env=env, capture_output=True, text=True, timeout=110,
                          preexec_fn=limit_file_size if limit else None)


# A state dump with the disc root spelt "{disc}/".
def dump(path, root):
    with open(path, encoding="utf-8") as f:
        return f.read().replace(root.rstrip("/") + "/", "{disc}/")


if __name__ == "__main__":
    sys.exit(main())
