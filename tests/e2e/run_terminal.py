#!/usr/bin/env python3
"""Plays the adventure in terminal mode.

Through a pipe: the walkthrough must reach the end of part one, the end-of-part message must come
again on a second try, and each command read from the pipe is printed back as the game panel shows
it (">> look").

At a terminal (a pseudo-terminal): the game prompts with "> ", and the command the terminal has
echoed after the prompt is not printed a second time."""
import os
import pty
import select
import subprocess
import sys
import time

END = ("This concludes PART ONE of TOBRIK'S SPACE ADVENTURE. "
       "The interactive saga continues on next month's disk!")


def play_through_a_pipe(binary, walkthrough, env):
    with open(walkthrough, encoding="utf-8") as f:
        script = f.read()
    p = subprocess.run([binary, "--adventure"], input=script, capture_output=True, text=True,
                       timeout=60, env=env)
    lines = p.stdout.splitlines()
    # Long story texts are broken into lines of 80 columns at spaces; joined again they compare.
    text = " ".join(p.stdout.split())
    problems = []
    if any(len(line) > 80 for line in lines):
        problems.append("a line is longer than 80 columns")
    if p.returncode != 0:
        problems.append(f"exit status {p.returncode}")
    if "Tobrik Adventure" not in lines:
        problems.append("no opening title")
    if text.count(END) != 2:
        problems.append(f"end-of-part message seen {text.count(END)} times, expected 2")
    if ">> hop on the red button" not in lines:
        problems.append("commands are not echoed with the prompt")
    return problems, p.stdout


class Terminal:
    """The program on a pseudo-terminal, as a player's terminal runs it."""

    def __init__(self, binary, env):
        self.master, slave = pty.openpty()
        self.process = subprocess.Popen([binary, "--adventure"], stdin=slave, stdout=slave,
                                        stderr=slave, env=env, close_fds=True)
        os.close(slave)
        self.output = b""

    def read_until(self, done, seconds=30):
        """Reads what the program writes until done(output) holds, or it ends."""
        deadline = time.monotonic() + seconds
        while not done(self.output):
            left = deadline - time.monotonic()
            if left <= 0:
                raise TimeoutError("the program wrote:\n" + self.text())
            ready, _, _ = select.select([self.master], [], [], left)
            if not ready:
                continue
            try:
                chunk = os.read(self.master, 4096)
            except OSError:  # the program has ended and closed its terminal
                chunk = b""
            if not chunk:
                return
            self.output += chunk

    def type(self, keys):
        os.write(self.master, keys)

    def text(self):
        return self.output.decode("utf-8", "replace").replace("\r\n", "\n")


def play_at_a_terminal(binary, env):
    t = Terminal(binary, env)
    try:
        # The intro, then the prompt; the command typed there, its reply and the next prompt.
        t.read_until(lambda out: out.endswith(b"> "))
        t.type(b"look\n")
        t.read_until(lambda out: b"look" in out and out.endswith(b"\n> "))
        t.type(b"\x04")  # Ctrl+D ends the input
        t.read_until(lambda out: False)
        status = t.process.wait(timeout=30)
    finally:
        if t.process.poll() is None:
            t.process.kill()
        os.close(t.master)
    lines = t.text().splitlines()
    problems = []
    if status != 0:
        problems.append(f"exit status {status} at a terminal")
    if "> look" not in lines:
        problems.append("the typed command is not shown after the prompt")
    said = [line for line in lines if line.lstrip("> ") == "look"]
    if said != ["> look"]:
        problems.append(f"the command is shown {len(said)} times at a terminal: {said}")
    after = t.text().partition("> look\n")[2]
    if not after.startswith("\nYou are in a circular room"):
        problems.append("the room is not described after the command")
    return problems, t.text()


def main():
    binary, walkthrough = sys.argv[1], sys.argv[2]
    env = dict(os.environ)
    env.pop("COLUMNS", None)
    failed = False
    for problems, output in (play_through_a_pipe(binary, walkthrough, env),
                             play_at_a_terminal(binary, env)):
        if problems:
            failed = True
            print("\n".join(problems))
            print(output[-3000:])
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
