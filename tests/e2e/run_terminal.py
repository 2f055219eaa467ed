#!/usr/bin/env python3
"""Plays the adventure in terminal mode through a pipe: the walkthrough must reach the end of
part one, and the end-of-part message must come again on a second try."""
import os
import subprocess
import sys

END = ("This concludes PART ONE of TOBRIK'S SPACE ADVENTURE. "
       "The interactive saga continues on next month's disk!")


def main():
    binary, walkthrough = sys.argv[1], sys.argv[2]
    with open(walkthrough, encoding="utf-8") as f:
        script = f.read()
    env = dict(os.environ)
    env.pop("COLUMNS", None)
    p = subprocess.run([binary, "--adventure"], input=script, capture_output=True, text=True,
                       timeout=60, env=env)
    lines = p.stdout.splitlines()
    # Long story texts are broken into lines of 80 columns at spaces; joined again they compare.
    text = " ".join(p.stdout.split())
    if any(len(line) > 80 for line in lines):
        problems_width = ["a line is longer than 80 columns"]
    else:
        problems_width = []
    problems = problems_width
    if p.returncode != 0:
        problems.append(f"exit status {p.returncode}")
    if "Tobrik Adventure" not in lines:
        problems.append("no opening title")
    if text.count(END) != 2:
        problems.append(f"end-of-part message seen {text.count(END)} times, expected 2")
    if ">> hop on the red button" not in lines:
        problems.append("commands are not echoed with the prompt")
    if problems:
        print("\n".join(problems))
        print(p.stdout[-3000:])
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
