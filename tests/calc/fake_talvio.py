#!/usr/bin/python3
"""Stands in for Talvio's window commands in the Calc tests, where no window can be shown.
It does what the test asked for in $TALVIO_FAKE_SCRIPT: "pick position" prints the position
(once the file "wait_for" exists, when given),
"panel" runs each of the real program's commands listed (as a user's edits would) and prints
"saved". Everything else runs the real program."""

import json
import os
import subprocess
import sys
import time

arguments = sys.argv[1:]
if arguments[:1] == ["--messages"]:
    arguments = arguments[2:]
with open(os.environ["TALVIO_FAKE_SCRIPT"]) as f:
    script = json.load(f)
real = os.environ["TALVIO_BINARY"]


def log_line(text):
    with open(os.environ["TALVIO_FAKE_SCRIPT"] + ".log", "a") as log:
        log.write(text + "\n")


log_line(" ".join(arguments))
if arguments == ["pick", "position"]:
    # A user takes their time: the test says when the choice is made.
    deadline = time.monotonic() + 120
    while script.get("wait_for") and not os.path.exists(script["wait_for"]):
        if time.monotonic() > deadline:
            sys.exit(1)
        time.sleep(0.05)
    if script.get("position") is None:
        log_line("cancelled")
        sys.exit(1)
    print(script["position"])
elif arguments == ["panel"]:
    for command in script.get("panel", []):
        subprocess.run([real] + command, check=True, stdout=subprocess.DEVNULL)
    print("saved")
else:
    sys.exit(subprocess.run([real] + arguments).returncode)
