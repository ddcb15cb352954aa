#!/usr/bin/env python3
"""Ordwell beside the tools a user would pick instead, measured in one run.

Run through bench/run, which installs what the comparison needs, builds the
release preset and then starts this script. It starts a private Xvfb with
openbox, measures every row several times (Ordwell and its peer one after
the other, in turns), prints one table and writes it as Markdown to
bench/results.md, with a description of the machine.

    bench/compare.py [--runs N] [--build DIR] [--output FILE]
"""

import argparse
import os
import platform
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent

# How many rounds the loop rows run: enough that starting the program is a
# small part of the time.
LOOP_ROUNDS = 3_000_000
# Bash takes microseconds a round; it runs a tenth of the rounds, and its
# figure is per round as the others are.
BASH_ROUNDS = LOOP_ROUNDS // 10
FILE_LINES = 1_000_000
# What the cases of bench/memory_cases.sh are.
MEMORY_CASES = {
    "deep_key": "A registry key 10,000 levels deep",
    "nested_if": "A 1 MiB value inside 190 nested `If` lines",
    "date_widths": "`GetDateTime` with 250,000 fields of width 9,999,999",
    "blank_lines": "20 million blank lines",
}


class Figure:
    """Several measurements of one thing: median, min and max."""

    def __init__(self, values, unit, better):
        self.values = sorted(values)
        self.unit = unit
        self.better = better  # "higher" or "lower"

    @property
    def median(self):
        return statistics.median(self.values)

    def text(self):
        def number(value):
            if value == 0:
                return "0"
            if abs(value) >= 100:
                return f"{value:,.0f}"
            if abs(value) >= 10:
                return f"{value:.1f}"
            return f"{value:.3g}"

        spread = ""
        if len(self.values) > 1:
            spread = f" ({number(self.values[0])}–{number(self.values[-1])})"
        return f"{number(self.median)}{spread} {self.unit}"


def ratio(ours, theirs):
    """How many times better Ordwell is (above 1) or worse (below 1)."""
    if ours.median == theirs.median:
        return "1.0×"
    if ours.better == "higher":
        if theirs.median == 0:
            return "∞"
        value = ours.median / theirs.median
    else:
        if ours.median == 0:
            return "∞"
        value = theirs.median / ours.median
    return f"{value:.2f}×" if value < 10 else f"{value:.0f}×"


class Bench:
    def __init__(self, build, runs, work):
        self.build = build
        self.runs = runs
        self.work = work
        self.ordwell = build / "src/shell/ordwell"
        self.rows = []
        self.alone = []
        self.display = None
        self.processes = []
        self.base_env = dict(os.environ)
        for name in ("DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS"):
            self.base_env.pop(name, None)
        self.base_env.update(HOME=str(work), XDG_CONFIG_HOME=str(work / "config"), LC_ALL="C.UTF-8")

    # -- the private display ----------------------------------------------

    def start_display(self):
        """Xvfb on a free display, then openbox; returns once openbox manages it."""
        read_end, write_end = os.pipe()
        xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        self.processes.append(xvfb)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            sys.exit("Xvfb did not start")
        self.display = ":" + number
        env = self.env(display=True)
        self.processes.append(subprocess.Popen(["openbox"], env=env, stdout=subprocess.DEVNULL,
                                               stderr=subprocess.DEVNULL))
        deadline = time.monotonic() + 30
        while time.monotonic() < deadline:
            probe = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=env, capture_output=True,
                                   text=True)
            if "window id" in probe.stdout:
                break
            time.sleep(0.05)
        else:
            sys.exit("openbox did not start on " + self.display)
        # A window, active as on any desktop in use (`xdotool getactivewindow`
        # fails without one).
        self.processes.append(subprocess.Popen(["xmessage", "-geometry", "+10+10", "Ordwell bench"], env=env,
                                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        while time.monotonic() < deadline:
            probe = subprocess.run(["xdotool", "getactivewindow"], env=env, capture_output=True, text=True)
            if probe.returncode == 0:
                return
            time.sleep(0.05)
        sys.exit("no window became active on " + self.display)

    def stop_display(self):
        for process in reversed(self.processes):
            process.terminate()
            process.wait()

    def env(self, display=False):
        env = dict(self.base_env)
        if display:
            env["DISPLAY"] = self.display
        return env

    # -- measuring ---------------------------------------------------------

    def run(self, command, display=False, check=True, peak=False):
        """Runs a command to its end: wall seconds, processor seconds, and with
        peak=True its peak memory in KiB (else 0).

        The peak comes from GNU time started in between: the kernel counts a
        child's memory before it starts the program, and that would be this
        script's own. GNU time is small, and costs a little start-up time."""
        peak_file = self.work / "peak.txt"
        if peak:
            command = ["/usr/bin/time", "-f", "%M", "-o", str(peak_file), *command]
        with open(self.work / "errors.txt", "w+b") as errors:
            start = time.perf_counter()
            process = subprocess.Popen(command, cwd=self.work, env=self.env(display), stdin=subprocess.DEVNULL,
                                       stdout=subprocess.DEVNULL, stderr=errors)
            _, status, usage = os.wait4(process.pid, 0)
            wall = time.perf_counter() - start
            process.returncode = os.waitstatus_to_exitcode(status)
            if check and process.returncode != 0:
                errors.seek(0)
                text = errors.read(2000).decode(errors="replace")
                sys.exit(f"{' '.join(map(str, command))[:200]} failed ({process.returncode}): {text}")
        kib = int(peak_file.read_text().split()[-1]) if peak else 0
        return wall, usage.ru_utime + usage.ru_stime, kib

    def measure(self, commands, peak=False):
        """Runs each command self.runs times, in turns; a list of results per
        command. A command is (argv, display) or (argv, display, False) for one
        whose exit status is not checked."""
        results = [[] for _ in commands]
        for _ in range(self.runs):
            for index, (command, display, *check) in enumerate(commands):
                results[index].append(self.run(command, display, check=check != [False], peak=peak))
        return results

    def write(self, name, text):
        path = self.work / name
        path.write_text(text)
        return str(path)

    def add(self, measure, ours, peer, theirs):
        self.rows.append((measure, ours, peer, theirs))

    # -- the rows ------------------------------------------------------------

    def loops(self):
        n = LOOP_ROUNDS
        repeat = self.write("repeat.ow", f"PutVar(%A,0)\nRepeat(Increment(%A),{n})\n")
        goto = self.write("goto.ow", f"PutVar(%C,0)\n:Top\nIncrement(%C)\nIfLessThan(%C,{n},GoTo(Top))\n")
        py_for = self.write("for.py", f"a = 0\nfor _ in range({n}):\n    a += 1\n")
        # The same work as the GoTo loop, in its order: add one, compare, jump.
        py_while = self.write("while.py", f"c = 0\nwhile True:\n    c += 1\n    if not c < {n}:\n        break\n")
        sh_while = self.write("while.sh", f"c=0\nwhile true; do ((c++)); ((c < {BASH_ROUNDS})) || break; done\n")
        sh_for = self.write("for.sh", f"a=0\nfor ((i = 0; i < {BASH_ROUNDS}; i++)); do ((a++)); done\n")
        python, bash = sys.executable, shutil.which("bash")
        results = self.measure([([self.ordwell, "/r", repeat], False), ([python, py_for], False),
                                ([bash, sh_for], False), ([self.ordwell, "/r", goto], False),
                                ([python, py_while], False), ([bash, sh_while], False)])

        def rate(runs, rounds):
            return Figure([rounds / wall / 1e6 for wall, _, _ in runs], "M rounds/s", "higher")

        repeat_ours = rate(results[0], n)
        self.add(f"`Repeat(Increment(%A),{n:,})`, whole run", repeat_ours, "python3 `for` loop of `a += 1`",
                 rate(results[1], n))
        self.add("", repeat_ours, "bash `for ((…))` loop of `((a++))`", rate(results[2], BASH_ROUNDS))
        goto_ours = rate(results[3], n)
        self.add(f"`GoTo` loop of `Increment` and `IfLessThan` ({n:,} rounds, 3 lines each)", goto_ours,
                 "python3 `while True:` `c += 1`, `if not c < n: break`", rate(results[4], n))
        self.add("", goto_ours, "bash `while true; do ((c++)); ((c < n)) || break; done`",
                 rate(results[5], BASH_ROUNDS))

    def typing(self):
        program = self.build / "bench/ordwell_bench_typing"
        rows = {}
        runs = {}
        for _ in range(self.runs):
            output = subprocess.run([program], env=self.env(), capture_output=True, text=True, check=True).stdout
            for line in output.splitlines():
                match = re.match(r"(ASCII|non-US characters|pings|no pings)\s+(SendKeys|xdotool)\s+(\d+)\s+(\d+)\s+"
                                 r"(\d+)", line)
                if match:
                    text, typer, _, read, wrong = match.groups()
                    rows.setdefault((text, typer), []).append((float(read), int(wrong)))
                match = re.match(r"(pings|no pings)\s+(\d+)\s+(\d+)$", line)
                if match:
                    receiver, plain, accented = match.groups()
                    runs.setdefault(receiver, []).append((float(plain), float(accented)))
        for text in ("ASCII", "non-US characters"):
            ours, theirs = rows[(text, "SendKeys")], rows[(text, "xdotool")]
            self.add(f"Typing 5,000 characters ({text}) into one window, until it has read them",
                     Figure([r for r, _ in ours], "chars/s", "higher"), "`xdotool type --delay 0`",
                     Figure([r for r, _ in theirs], "chars/s", "higher"))
            self.add("", Figure([w for _, w in ours], "wrong", "lower"), "",
                     Figure([w for _, w in theirs], "wrong", "lower"))
        distinct = "Typing 306 distinct characters the layout lacks (CJK) into one window, until it has read them"
        # xdotool pays no heed to pings: its one figure stands beside both.
        theirs = rows[("no pings", "xdotool")]
        for receiver in ("pings", "no pings"):
            ours = rows[(receiver, "SendKeys")]
            where = "whose program answers pings" if receiver == "pings" else "whose program answers none"
            self.add(f"{distinct}, a window {where}", Figure([r for r, _ in ours], "chars/s", "higher"),
                     "`xdotool type --delay 0`", Figure([r for r, _ in theirs], "chars/s", "higher"))
            self.add("", Figure([w for _, w in ours], "wrong", "lower"), "",
                     Figure([w for _, w in theirs], "wrong", "lower"))
        for receiver in ("pings", "no pings"):
            where = "answers pings" if receiver == "pings" else "answers no pings"
            self.add(f"`SendKeys(\"é\")` as a whole macro, start to end; the active window {where}",
                     Figure([a for _, a in runs[receiver]], "ms", "lower"), "`SendKeys(\"e\")` as a whole macro",
                     Figure([p for p, _ in runs[receiver]], "ms", "lower"))

    def windows(self):
        program = self.build / "bench/ordwell_bench_windows"
        found, find_peer, activated, activate_peer = [], [], [], []
        pattern = r"([\d.]+) ms\s+([\d.]+) ms"
        for _ in range(self.runs):
            output = subprocess.run([program], env=self.env(), capture_output=True, text=True, check=True).stdout
            for line in output.splitlines():
                match = re.search(pattern, line)
                if line.startswith("FindWindow") and match:
                    found.append(float(match.group(1)))
                    find_peer.append(float(match.group(2)))
                elif line.startswith("ActivateWindow") and match:
                    activated.append(float(match.group(1)))
                    activate_peer.append(float(match.group(2)))
        self.add("`FindWindow` among 200 windows (a line of a running macro)", Figure(found, "ms", "lower"),
                 "`xdotool search --name`", Figure(find_peer, "ms", "lower"))
        self.add("`ActivateWindow` among 200 windows, openbox", Figure(activated, "ms", "lower"),
                 "`xdotool windowactivate --sync`", Figure(activate_peer, "ms", "lower"))

    def wayland(self):
        # Its own headless sway (run as the unprivileged user setup makes
        # when we are root); wtype reads its text in a UTF-8 locale.
        program = self.build / "bench/ordwell_bench_wayland"
        rows = {}
        found = []
        for _ in range(self.runs):
            output = subprocess.run([program], env=self.env(), capture_output=True, text=True, check=True).stdout
            for line in output.splitlines():
                match = re.match(r"(ASCII|non-US characters)\s+(SendKeys|wtype)\s+(\d+)\s+(\d+)", line)
                if match:
                    text, typer, read, wrong = match.groups()
                    rows.setdefault((text, typer), []).append((float(read), int(wrong)))
                match = re.match(r"FindWindow among 200 toplevels ([\d.]+) ms", line)
                if match:
                    found.append(float(match.group(1)))
        for text in ("ASCII", "non-US characters"):
            ours, theirs = rows[(text, "SendKeys")], rows[(text, "wtype")]
            self.add(f"Wayland (headless sway): typing 5,000 characters ({text}) into a native Qt window, until it "
                     "has them", Figure([r for r, _ in ours], "chars/s", "higher"), "`wtype`",
                     Figure([r for r, _ in theirs], "chars/s", "higher"))
            self.add("", Figure([w for _, w in ours], "wrong", "lower"), "",
                     Figure([w for _, w in theirs], "wrong", "lower"))
        self.add("Wayland (headless sway): `FindWindow` among 200 toplevels", Figure(found, "ms", "lower"), "none", None)

    def start_up(self):
        empty = self.write("empty.ow", "")
        find = self.write("find.ow", "FindWindow(\"No such window\")\n")
        xdotool = shutil.which("xdotool")
        # Starting is quick: more runs give a steadier median.
        runs, self.runs = self.runs, self.runs * 4
        commands = [([self.ordwell, "/r", empty], False), (["/bin/true"], False), ([self.ordwell, "/r", empty], True),
                    ([xdotool, "getactivewindow"], True), ([self.ordwell, "/r", find], True),
                    # It finds nothing, and says so with status 1.
            ([xdotool, "search", "--name", "No such window"], True, False)]
        results = self.measure(commands)
        self.runs = runs
        peaks = self.measure(commands, peak=True)

        def ms(index):
            return Figure([wall * 1000 for wall, _, _ in results[index]], "ms", "lower")

        def peak(index):
            return Figure([kib / 1024 for _, _, kib in peaks[index]], "MiB", "lower")

        self.add("Empty macro, start to end, no display (`ordwell /r empty.ow`)", ms(0), "`/bin/true`", ms(1))
        self.add("Empty macro, start to end, with a display", ms(2), "`xdotool getactivewindow`", ms(3))
        self.add("`FindWindow` macro, start to end, with a display", ms(4), "`xdotool search --name`", ms(5))
        self.add("`MessageBox` macro, start to the box mapped, with a display", self.box_mapped(), "none", None)
        def cpu(index):
            return Figure([used * 1000 for _, used, _ in results[index]], "ms CPU", "lower")

        # What the waiting rows below include besides the wait.
        self.add("Processor time of an empty run, no display", cpu(0), "`/bin/true`", cpu(1))
        self.add("Processor time of an empty run, with a display", cpu(2), "`xdotool getactivewindow`", cpu(3))
        self.add("Peak memory of an empty headless run, no display", peak(0), "`/bin/true`", peak(1))
        self.add("Peak memory of an empty run, with a display", peak(2), "`xdotool getactivewindow`", peak(3))
        self.add("Peak memory of a `FindWindow` run, with a display", peak(4), "`xdotool search --name`", peak(5))

    def box_mapped(self):
        """Milliseconds from the start of a run of one MessageBox to the box's
        window mapped (the window manager's frame mapped on the root window),
        told by the X server's MapNotify; the run is then ended by SIGTERM."""
        import ctypes
        import select
        import signal

        xlib = ctypes.CDLL("libX11.so.6")
        xlib.XOpenDisplay.restype = ctypes.c_void_p
        xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
        xlib.XDefaultRootWindow.restype = ctypes.c_ulong
        xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        xlib.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
        for name in ("XPending", "XConnectionNumber", "XSync", "XCloseDisplay"):
            getattr(xlib, name).argtypes = [ctypes.c_void_p] + ([ctypes.c_int] if name == "XSync" else [])
        xlib.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
        display = xlib.XOpenDisplay(self.display.encode())
        substructure_notify, map_notify = 1 << 19, 19
        xlib.XSelectInput(display, xlib.XDefaultRootWindow(display), substructure_notify)
        xlib.XSync(display, 1)
        fd = xlib.XConnectionNumber(display)
        event = ctypes.create_string_buffer(192)
        box = self.write("box.ow", "MessageBox(Mapped)\n")
        times = []
        for _ in range(self.runs):
            start = time.perf_counter()
            process = subprocess.Popen([self.ordwell, "/r", box], cwd=self.work, env=self.env(True),
                                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL)
            mapped = None
            while mapped is None and time.perf_counter() - start < 30:
                if not xlib.XPending(display):
                    select.select([fd], [], [], 1)
                    continue
                xlib.XNextEvent(display, event)
                if ctypes.c_int.from_buffer(event).value == map_notify:
                    mapped = time.perf_counter()
            process.send_signal(signal.SIGTERM)
            process.wait()
            while xlib.XPending(display):
                xlib.XNextEvent(display, event)
            if mapped is None:
                sys.exit("the box of a MessageBox macro was not mapped within 30 seconds")
            times.append((mapped - start) * 1000)
        xlib.XCloseDisplay(display)
        return Figure(times, "ms", "lower")

    def waits(self):
        delay = self.write("delay.ow", "Delay(5000)\n")
        program = self.write("program.ow", 'RunProgram("sleep 5")\nWaitForProgram()\n')
        xdotool, bash = shutil.which("xdotool"), shutil.which("bash")
        results = self.measure([([self.ordwell, "/r", delay], True), ([xdotool, "sleep", "5"], True),
                                ([self.ordwell, "/r", delay], False), ([self.ordwell, "/r", program], True),
                                ([bash, "-c", "sleep 5 & wait $!"], False)])

        def cpu(index):
            return Figure([used * 1000 for _, used, _ in results[index]], "ms CPU", "lower")

        # The whole process: start-up included.
        self.add("Processor time of `Delay(5000)`, with a display (Qt)", cpu(0), "`xdotool sleep 5`", cpu(1))
        self.add("Processor time of `Delay(5000)`, no display (terminal)", cpu(2), "`xdotool sleep 5`", cpu(1))
        self.add("Processor time of `WaitForProgram()` on a 5 s program, with a display", cpu(3),
                 "bash `sleep 5 & wait $!`", cpu(4))

    def big_file(self):
        n = FILE_LINES
        macro = self.write("million.ow", "PutVar(%A,0)\n" + "Increment(%A)\n" * n)
        script = self.write("million.py", "a = 0\n" + "a += 1\n" * n)
        shell = self.write("million.sh", "a=0\n" + "((a++))\n" * n)
        python, bash = sys.executable, shutil.which("bash")
        # Through GNU time for the peak memory: a millisecond on runs of a second.
        results = self.measure([([self.ordwell, "/r", macro], False), ([python, script], False),
                                ([bash, shell], False)], peak=True)

        def seconds(index):
            return Figure([wall for wall, _, _ in results[index]], "s", "lower")

        def peak(index):
            return Figure([kib / 1024 for _, _, kib in results[index]], "MiB", "lower")

        self.add(f"Load and run a file of {n:,} `Increment` lines", seconds(0), "python3, as many `a += 1` lines",
                 seconds(1))
        self.add("", seconds(0), "bash, as many `((a++))` lines", seconds(2))
        self.add("Peak memory of that run", peak(0), "python3", peak(1))
        self.add("", peak(0), "bash", peak(2))

    def memory_cases(self):
        """bench/memory_cases.sh: macros that could make memory grow far out of proportion (no peer does these)."""
        peaks = {}
        for _ in range(self.runs):
            output = subprocess.run([HERE / "memory_cases.sh", self.ordwell], env=self.env(), capture_output=True,
                                    text=True, check=True).stdout
            for line in output.splitlines():
                match = re.match(r"(\w+)\s+(\d+)\s+(\d+) MiB$", line)
                if match:
                    name, size, mib = match.groups()
                    peaks.setdefault((name, int(size)), []).append(float(mib))
        for (name, size), values in peaks.items():
            self.alone.append((MEMORY_CASES.get(name, name), f"{size:,}", Figure(values, "MiB", "lower")))

    # -- the table -------------------------------------------------------------

    def describe_machine(self):
        self.machine_lines = self.machine()

    def machine(self):
        def first_line(command):
            try:
                return subprocess.run(command, capture_output=True, text=True, env=self.env(True)).stdout.splitlines()[0]
            except (OSError, IndexError):
                return "?"

        cpu = "?"
        for line in Path("/proc/cpuinfo").read_text().splitlines():
            if line.startswith("model name"):
                cpu = line.split(":", 1)[1].strip()
                break
        memory = int(Path("/proc/meminfo").read_text().split()[1]) // 1024
        release = "?"
        if Path("/etc/os-release").exists():
            for line in Path("/etc/os-release").read_text().splitlines():
                if line.startswith("PRETTY_NAME="):
                    release = line.split("=", 1)[1].strip('"')
        compiler = "?"
        cache = self.build / "CMakeCache.txt"
        if cache.exists():
            match = re.search(r"CMAKE_CXX_COMPILER:\w+=(.*)", cache.read_text())
            if match:
                compiler = first_line([match.group(1), "--version"])
        return [
            f"{cpu}, {os.cpu_count()} processors, {memory:,} MiB of memory; load average when it began: "
            f"{os.getloadavg()[0]:.2f}",
            f"{release}, Linux {platform.release()}; Xvfb with openbox",
            f"Ordwell {first_line([self.ordwell, '--version'])}, release preset (RelWithDebInfo), {compiler}",
            f"python3 {platform.python_version()} ({sys.executable}), "
            f"{first_line(['bash', '--version'])}, {first_line(['xdotool', 'version'])}",
        ]

    def report(self, output):
        header = ["Measure", "Ordwell", "Peer", "Peer's figure", "Ordwell vs peer"]
        lines = ["| " + " | ".join(header) + " |", "|" + "---|" * len(header)]
        for measure, ours, peer, theirs in self.rows:
            # A row with no peer (no Wayland tool lists windows for a lookup to compare with).
            if theirs is None:
                lines.append(f"| {measure} | {ours.text()} | none | | |")
                continue
            lines.append(f"| {measure} | {ours.text()} | {peer} | {theirs.text()} | {ratio(ours, theirs)} |")
        alone = ["| Macro | Size (bytes) | Peak memory |", "|---|---|---|"]
        alone += [f"| {name} | {size} | {figure.text()} |" for name, size, figure in self.alone]
        when = time.strftime("%Y-%m-%d %H:%M")
        document = [
            "# Ordwell beside its peers",
            "",
            f"Measured by `bench/run` on {when}. Every figure is the median of {self.runs} runs (the start-up "
            f"rows of {self.runs * 4}), with the smallest and largest in parentheses; Ordwell and its peer ran "
            "in turns, in the same run. \"Ordwell vs peer\" is how many times better Ordwell does (faster, "
            "fewer wrong characters, less processor time or memory): above 1 Ordwell is ahead, below 1 behind. "
            "Processor time and memory are those of the whole process, start-up included. The machine may be "
            "shared: its load average is given below.",
            "",
            "Machine:",
            "",
        ]
        document += [f"- {line}" for line in self.machine_lines]
        document += ["", *lines, "", "Ordwell alone: macros that could make memory grow far out of proportion "
                     "(no peer runs these).", "", *alone, ""]
        text = "\n".join(document)
        print(text)
        Path(output).write_text(text)
        print(f"(written to {output})")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--runs", type=int, default=5, help="runs of each measurement (default 5)")
    parser.add_argument("--build", default=str(HERE.parent / "build/release"), help="the release build")
    parser.add_argument("--output", default=str(HERE / "results.md"), help="where the Markdown table goes")
    parser.add_argument("--only", nargs="*", help="measure only these groups (for work on one of them)")
    args = parser.parse_args()

    groups = ["loops", "typing", "windows", "wayland", "start_up", "waits", "big_file", "memory_cases"]
    with tempfile.TemporaryDirectory(prefix="ordwell-bench-") as work:
        bench = Bench(Path(args.build).resolve(), args.runs, Path(work))
        try:
            # Inside: a display that fails to come up halfway (no xdotool,
            # say) is not left running.
            bench.start_display()
            bench.describe_machine()
            for group in groups:
                if args.only and group not in args.only:
                    continue
                print(f"== {group}", file=sys.stderr, flush=True)
                getattr(bench, group)()
        finally:
            bench.stop_display()
        bench.report(args.output)


if __name__ == "__main__":
    main()
