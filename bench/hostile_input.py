#!/usr/bin/env python3
"""Times the console program on the inputs an attacker would choose.

    python3 bench/hostile_input.py CLI

- towers of 10^5 and 10^6 powers whose every base stands between bars, and
  300,000 brackets around a fraction 3,000 deep, with --natural: each is to
  be drawn or refused within 2 s (the bars grow as the square of the input);
- towers of 5,000 to 12,000 levels, whose canvas fits the drawing's limit
  but whose lines may not: 6,678 levels are the highest drawn at the default
  width, 6,679 the lowest refused; and a tower of 8,053 levels, a plus and
  one of 2,436 (the fuzzer's slowest find), cut at the plus;
- the late result: `1+1`, then a tower of 20,000 such powers, with
  --natural, read through a pipe: when the `2` arrives (target: within
  1.5 s), and whether it survives a SIGINT sent 1.5 s after the start; the
  same behind a tower of 7,000, refused once planned.

Wall times of one run each, on whatever load the machine has.
"""
import os
import signal
import subprocess
import sys
import time


def timed_run(cli, text):
    start = time.monotonic()
    subprocess.run([cli, "-n"], input=text.encode(), stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, check=False)
    return time.monotonic() - start


def late_result(cli, levels, interrupt_at=None):
    """Seconds until the first output, and that output at the end."""
    text = b"1+1\n" + b"1^" * levels + b"1\n"
    start = time.monotonic()
    process = subprocess.Popen([cli, "-n"], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                               stderr=subprocess.DEVNULL)
    process.stdin.write(text)
    process.stdin.close()
    os.set_blocking(process.stdout.fileno(), False)
    first, out = None, b""
    while True:
        chunk = process.stdout.read()
        if chunk:
            out += chunk
            if first is None:
                first = time.monotonic() - start
        if interrupt_at is not None and time.monotonic() - start >= interrupt_at:
            process.send_signal(signal.SIGINT)
            interrupt_at = None
        if process.poll() is not None:
            out += process.stdout.read() or b""
            break
        time.sleep(0.005)
    return first, out, process.returncode


def main():
    cli = sys.argv[1]
    fraction = "1/(" * 3000 + "1" + ")" * 3000
    shapes = [
        ("tower of 10^5 barred powers", "1^" * 100000 + "1\n"),
        ("tower of 10^6 barred powers", "1^" * 1000000 + "1\n"),
        ("300,000 brackets around a 3,000-deep fraction",
         "(" * 300000 + fraction + ")" * 300000 + "\n"),
    ]
    for levels in (5000, 6678, 6679, 7000, 8000, 10000, 12000):
        shapes.append((f"tower of {levels:,} levels", "1^" * levels + "1\n"))
    shapes.append(("towers of 8,053 and 2,436 levels, cut between them",
                   "1^" * 8053 + "1+" + "1^" * 2436 + "1\n"))
    for name, text in shapes:
        print(f"{name}: {timed_run(cli, text):.2f} s (target: 2 s)")
    # 20,000 levels are refused as soon as they are measured; 7,000 fit the
    # canvas and are refused once their lines are counted in planning.
    for levels in (20000, 7000):
        first, out, _ = late_result(cli, levels)
        shown = "never" if first is None else f"{first:.2f} s"
        print(f"late result behind {levels} levels: first output after {shown} (target: 1.5 s)")
        _, out, status = late_result(cli, levels, interrupt_at=1.5)
        kept = "kept" if out.startswith(b"2\n") else "lost"
        print(f"  SIGINT at 1.5 s: the 2 is {kept} (status {status})")


if __name__ == "__main__":
    main()
