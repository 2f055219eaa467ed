#!/usr/bin/env python3
"""`kestrova --list-discs FOLDER` on a shelf folder holding a disc folder, an ISO, a cue sheet
with its BIN, a disc folder without its background, an ISO cut short and a text file named .iso:
the good discs are "ok", each bad one gives the words the front end's start-up prints for it.

  run_list_discs.py KESTROVA FIXTURE_WRITER SOURCE_DIR WORK_DIR
"""
import os
import shutil
import subprocess
import sys


def main():
    binary, fixture, source, work = sys.argv[1:5]
    shutil.rmtree(work, ignore_errors=True)
    shelf = os.path.join(work, "shelf")
    os.makedirs(shelf)
    make_image = os.path.join(source, "tests", "support", "make_image.py")
    disc = os.path.join(shelf, "June 1999")
    subprocess.run([fixture, disc, "ok"], check=True)
    subprocess.run([fixture, os.path.join(shelf, "Broken"), "no-background"], check=True)
    subprocess.run([sys.executable, make_image, "joliet", disc, os.path.join(shelf, "july.iso")],
                   check=True)
    os.makedirs(os.path.join(shelf, "Raw"))
    subprocess.run([sys.executable, make_image, "bincue", disc,
                    os.path.join(shelf, "Raw", "august.bin")], check=True)
    subprocess.run([sys.executable, make_image, "truncated", disc,
                    os.path.join(shelf, "cut.iso")], check=True)
    with open(os.path.join(shelf, "notes.iso"), "w") as f:
        f.write("not a disc at all\n")

    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", XDG_CACHE_HOME=os.path.join(work, "cache"))
    run = subprocess.run([binary, "--list-discs", shelf], env=env, capture_output=True,
                         text=True, timeout=120)
    failures = []
    if run.returncode != 0:
        failures.append("status %d, standard error: %s" % (run.returncode, run.stderr))
    rows = {}
    for line in run.stdout.splitlines():
        fields = line.split("\t")
        if len(fields) != 3:
            failures.append("not three tab-separated fields: %r" % line)
            continue
        rows[fields[0]] = fields[1:]

    expected_ok = {disc: "June 1999", os.path.join(shelf, "july.iso"): "KESTROVA_TEST",
                   os.path.join(shelf, "Raw", "august.cue"): "KESTROVA_TEST"}
    for path, label in expected_ok.items():
        if rows.get(path) != [label, "ok"]:
            failures.append("%s: %r, expected %r" % (path, rows.get(path), [label, "ok"]))
    # Start-up under the harness: the same words, with no box waiting for a click.
    script = os.path.join(work, "first.replay")
    with open(script, "w") as f:
        f.write("frames 1\n")
    for name in ["Broken", "cut.iso", "notes.iso"]:
        path = os.path.join(shelf, name)
        start = subprocess.run([binary, "--disc", path, "--replay", script], env=env,
                               capture_output=True, text=True, timeout=60)
        said = start.stderr.splitlines()
        if start.returncode != 1 or not said:
            failures.append("%s: start-up ended with %d" % (name, start.returncode))
            continue
        reason = said[0] + (" (%s)" % said[1] if len(said) > 1 else "")
        if rows.get(path, [None, None])[1] != reason:
            failures.append("%s: listed %r, start-up said %r" % (name, rows.get(path), reason))
    if len(rows) != 6:
        failures.append("%d discs listed, expected 6 (the .bin only through its sheet):\n%s"
                        % (len(rows), run.stdout))

    # A folder that cannot be read: said, status 1, and the others still listed.
    missing = subprocess.run([binary, "--list-discs", os.path.join(work, "nowhere"),
                              os.path.join(shelf, "Raw")], env=env, capture_output=True,
                             text=True, timeout=60)
    if missing.returncode != 1 or "Cannot read the folder" not in missing.stderr or \
            "august.cue\tKESTROVA_TEST\tok" not in missing.stdout:
        failures.append("unreadable folder: status %d, %r, %r"
                        % (missing.returncode, missing.stdout, missing.stderr))

    for f in failures:
        print(f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
