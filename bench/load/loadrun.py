#!/usr/bin/env python3
"""Runs vantor-road-app-gui against the radar simulator at a chosen load under Xvfb and
reports what the program costs: its share of one core, its resident memory, frames
handled against frames sent, the delay from a message leaving the simulator to the end of
its handling, and how fast a menu opened by a mouse click appears.

With --soak MINUTES it also restarts the simulator every few minutes (the link drops and
comes back), clicks the panels' Get buttons now and then, and checks that memory stays
flat once the history is full, that every command ends in a final state and that the link
came back after every drop; the exit status is 0 when all three checks pass.

Needs the Debian packages xvfb, xdotool and x11-utils (scripts/install-deps.sh adds them
when given their names). See bench/README.md.
"""

import argparse
import ctypes
import json
import os
import select
import signal
import statistics
import subprocess
import sys
import tempfile
import time

CLK_TCK = os.sysconf("SC_CLK_TCK")
PAGE = os.sysconf("SC_PAGE_SIZE")
CONFIG_NAME = ".vantor-road-app-gui_config.json"
HISTORY_ROWS = 100000
# Panels shown with --views all: every box (0-9) and the history and projection windows.
ALL_VIEWS = [0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 12, 13]
# Command states of the radar client that end a command.
FINAL_STATES = {0, 3, 4}


def log(text):
    print(time.strftime("%H:%M:%S ") + text, flush=True)


def profile(port, views):
    """A work profile pointing at the simulator: a curved road of two lanes each way,
    coloured objects, current and average tracks in mixed mode and a camera."""
    view = {
        "traffic_scheme": {
            "draw_vertical": False, "keep_aspect_ratio": True, "show_sightline": True,
            "show_current_tracks": True, "show_average_tracks": True,
            "tracks_display_mode": 2,
            "road_config": {
                "origin_offset": 7,
                "parts": {
                    "-3": {"is_lane": False, "width": 2.5}, "-2": {"is_lane": True, "width": 3.5},
                    "-1": {"is_lane": True, "width": 3.5}, "0": {"is_lane": False, "width": 1},
                    "1": {"is_lane": True, "width": 3.5}, "2": {"is_lane": True, "width": 3.5},
                    "3": {"is_lane": False, "width": 2.5}},
                "sections": [{"is_curved": False, "length": 100, "radius": 0},
                             {"is_curved": True, "length": 160, "radius": 400}]}},
        "monitoring_system": {
            "show_lane_boundaries": True, "show_distance_lines": True,
            "show_object_dimensions": True, "show_current_tracks": True,
            "show_average_tracks": True,
            "tvms_config": {"horizontal_view_angle": 30, "x_offset": 0, "y_offset": 0,
                            "z_offset": 0, "video_delay": 0}},
        "paint_objects": True,
        "auto_change_view": True,
    }
    if views == "all":
        view["controls"] = {str(c): {"visible": c in ALL_VIEWS, "collapsed": False}
                            for c in range(14)}
    return {
        "current_id": 0,
        "profiles": [{
            "name": "Load harness",
            "connection": {"radar_protocol": 0, "protocol_forcing": True,
                           "radar_server_url": f"ws://127.0.0.1:{port}/"},
            "view": view,
            "data": {"auto_get_data": True},
            "presets": {},
        }],
    }


class Process:
    def __init__(self, args, log_path, env=None, cwd=None, nice=0):
        self.args = args
        self.log_path = log_path
        self.env = env
        self.cwd = cwd
        self.nice = nice
        self.proc = None

    def start(self):
        out = open(self.log_path, "ab")
        nice = self.nice
        self.proc = subprocess.Popen(self.args, stdout=out, stderr=out, env=self.env,
                                     cwd=self.cwd,
                                     preexec_fn=(lambda: os.nice(nice)) if nice else None)
        out.close()

    def alive(self):
        return self.proc is not None and self.proc.poll() is None

    def stop(self):
        if not self.alive():
            return
        self.proc.send_signal(signal.SIGTERM)
        try:
            self.proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    # utime and stime are the 14th and 15th fields; fields[0] is the 3rd.
    return (int(fields[11]) + int(fields[12])) / CLK_TCK


def rss_mib(pid):
    with open(f"/proc/{pid}/statm") as f:
        return int(f.read().split()[1]) * PAGE / 2**20


def load_average():
    with open("/proc/loadavg") as f:
        return " ".join(f.read().split()[:3])


class Trace:
    """Reads the lines the program writes to VANTOR_LOAD_TRACE as they grow."""

    def __init__(self, path):
        self.path = path
        self.offset = 0
        self.frames = []    # (handled_us, server_ms, cycle)
        self.links = []     # (us, "up"|"down")
        self.commands = []  # (us, command, state, error)
        self.buttons = []   # (panel, text, x, y, w, h)

    def poll(self):
        try:
            with open(self.path, "rb") as f:
                f.seek(self.offset)
                data = f.read()
        except FileNotFoundError:
            return
        end = data.rfind(b"\n") + 1
        self.offset += end
        for line in data[:end].decode("utf-8", "replace").splitlines():
            parts = line.split()
            if not parts:
                continue
            if parts[0] == "frame" and len(parts) == 4:
                self.frames.append((int(parts[1]), int(parts[2]), int(parts[3])))
            elif parts[0] == "link" and len(parts) == 3:
                self.links.append((int(parts[1]), parts[2]))
            elif parts[0] == "command" and len(parts) == 5:
                self.commands.append(tuple(int(p) for p in parts[1:]))
            elif parts[0] == "button" and len(parts) == 7:
                self.buttons.append((parts[1], parts[2], *(int(p) for p in parts[3:])))


def percentile(values, p):
    ordered = sorted(values)
    if not ordered:
        return float("nan")
    k = min(len(ordered) - 1, max(0, round(p / 100 * (len(ordered) - 1))))
    return ordered[k]


def frame_figures(frames, start_us, end_us):
    """Frames handled and sent in a window, and the handling delays (ms). The cycle
    number counts the frames sent; it restarts with the simulator."""
    window = [f for f in frames if start_us <= f[0] < end_us]
    sent = 0
    run = []
    for f in window:
        if run and f[2] <= run[-1][2]:
            sent += run[-1][2] - run[0][2] + 1
            run = []
        run.append(f)
    if run:
        sent += run[-1][2] - run[0][2] + 1
    delays = [f[0] / 1000 - f[1] for f in window]
    return len(window), sent, delays


def screen_of(display):
    """The screen number of a display name such as ":35.1"."""
    return display.rsplit(".", 1)[1] if "." in display.split(":")[-1] else "0"


def xdo(display, *args):
    return subprocess.run(["xdotool", *args], env={**os.environ, "DISPLAY": display},
                          capture_output=True, text=True).stdout.split()


class XClient:
    """Just enough of Xlib and the XTest extension, through ctypes, to click and to see
    windows being mapped without starting a process per step (the runtime libraries come
    with xdotool)."""

    MAP_NOTIFY = 19
    SUBSTRUCTURE_NOTIFY_MASK = 1 << 19
    ESCAPE_KEYSYM = 0xFF1B

    def __init__(self, display):
        self.x = ctypes.cdll.LoadLibrary("libX11.so.6")
        self.xt = ctypes.cdll.LoadLibrary("libXtst.so.6")
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        for name in ("XDefaultRootWindow", "XKeysymToKeycode"):
            getattr(self.x, name).restype = ctypes.c_ulong
        self.dpy = self.x.XOpenDisplay(display.encode())
        if not self.dpy:
            raise RuntimeError(f"cannot open display {display}")
        self.dpy_arg = ctypes.c_void_p(self.dpy)
        self.root = self.x.XDefaultRootWindow(self.dpy_arg)
        self.x.XSelectInput(self.dpy_arg, ctypes.c_ulong(self.root),
                            ctypes.c_long(self.SUBSTRUCTURE_NOTIFY_MASK))
        self.fd = self.x.XConnectionNumber(self.dpy_arg)
        self.event = (ctypes.c_long * 24)()

    def drain(self):
        """Reads the pending events; returns how many windows were mapped."""
        mapped = 0
        while self.x.XPending(self.dpy_arg):
            self.x.XNextEvent(self.dpy_arg, ctypes.byref(self.event))
            if ctypes.c_int.from_buffer(self.event).value == self.MAP_NOTIFY:
                mapped += 1
        return mapped

    def click(self):
        """Clicks where the pointer is."""
        self.xt.XTestFakeButtonEvent(self.dpy_arg, 1, True, 0)
        self.xt.XTestFakeButtonEvent(self.dpy_arg, 1, False, 0)
        self.x.XFlush(self.dpy_arg)

    def key_escape(self):
        code = self.x.XKeysymToKeycode(self.dpy_arg, ctypes.c_ulong(self.ESCAPE_KEYSYM))
        self.xt.XTestFakeKeyEvent(self.dpy_arg, code, True, 0)
        self.xt.XTestFakeKeyEvent(self.dpy_arg, code, False, 0)
        self.x.XFlush(self.dpy_arg)

    def wait_for_map(self, deadline):
        """The monotonic time at which a window was seen mapped, or None at the deadline."""
        while True:
            if self.drain():
                return time.monotonic()
            left = deadline - time.monotonic()
            if left <= 0:
                return None
            select.select([self.fd], [], [], left)

    def close(self):
        self.x.XCloseDisplay(self.dpy_arg)


def probe_menu(display, title, tries):
    """Clicks the first menu of the main window's menu bar and times until its popup
    window is mapped; returns the times in ms (None when it did not appear in 2 s)."""
    ids = xdo(display, "search", "--screen", screen_of(display), "--onlyvisible", "--name",
              title)
    if not ids:
        return []
    geometry = dict(line.split("=") for line in subprocess.run(
        ["xdotool", "getwindowgeometry", "--shell", ids[0]],
        env={**os.environ, "DISPLAY": display}, capture_output=True, text=True).stdout.split())
    x, y = int(geometry["X"]) + 20, int(geometry["Y"]) + 10
    xc = XClient(display)
    times = []
    try:
        for _ in range(tries):
            # The pointer goes to the menu's screen first: XTest moves it only within the
            # screen it is on.
            xdo(display, "mousemove", "--screen", screen_of(display), str(x), str(y))
            xc.drain()
            start = time.monotonic()
            xc.click()
            mapped = xc.wait_for_map(start + 2.0)
            times.append(None if mapped is None else (mapped - start) * 1000)
            xc.key_escape()
            time.sleep(1)
            xc.drain()
    finally:
        xc.close()
    return times


def ensure_display(display, size):
    number = display.lstrip(":").split(".")[0]
    if os.path.exists(f"/tmp/.X11-unix/X{number}"):
        return None
    xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", size, "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    for _ in range(100):
        if os.path.exists(f"/tmp/.X11-unix/X{number}"):
            return xvfb
        time.sleep(0.1)
    xvfb.kill()
    sys.exit(f"Xvfb did not start on {display}")


class Harness:
    def __init__(self, opts):
        self.opts = opts
        self.dir = tempfile.mkdtemp(prefix="vantor-load-")
        self.config = os.path.join(self.dir, CONFIG_NAME)
        self.trace = Trace(os.path.join(self.dir, "trace.txt"))
        with open(self.config, "w") as f:
            json.dump(profile(opts.port, opts.views), f, indent=1)
        # Radar 6 m high, tilted 5.5 degrees down: the camera sees the road.
        state = os.path.join(self.dir, "sim-state.json")
        with open(state, "w") as f:
            json.dump({"format": "vantor-radar-sim state", "version": 1, "parameters": {},
                       "position": {"height": 600, "x_offset": 0, "y_offset": 0,
                                    "azimuth": 0, "altitude": 550, "roll": 0}}, f)
        bin_dir = os.path.join(os.path.abspath(opts.build), "bin")
        self.sim = Process([os.path.join(bin_dir, "vantor-radar-sim"), "--port", str(opts.port),
                            "--max-load", "--cycle-ms", str(opts.cycle_ms), "--road", self.config,
                            "--seed", "1", "--state", state, "--state-step-ms", "100"],
                           os.path.join(self.dir, "sim.log"), nice=opts.nice)
        env = {**os.environ, "DISPLAY": opts.display, "HOME": self.dir,
               "VANTOR_LOAD_TRACE": self.trace.path}
        env.pop("QT_QPA_PLATFORM", None)
        self.app = Process([os.path.join(bin_dir, "vantor-road-app-gui")],
                           os.path.join(self.dir, "app.log"), env=env, cwd=self.dir,
                           nice=opts.nice)
        self.rss = []  # (monotonic s, MiB)

    def start(self):
        self.sim.start()
        self.wait_for_sim()
        self.app.start()

    def wait_for_sim(self):
        for _ in range(100):
            with open(self.sim.log_path, "rb") as f:
                if b"Listening on" in f.read():
                    return
            if not self.sim.alive():
                break
            time.sleep(0.1)
        sys.exit(f"The simulator did not start; see {self.sim.log_path}")

    def restart_sim(self, down_s):
        self.sim.stop()
        time.sleep(down_s)
        with open(self.sim.log_path, "r+b") as f:
            f.truncate()
        self.sim.start()
        self.wait_for_sim()

    def sleep(self, seconds):
        """Sleeps, sampling the resident memory every second and reading the trace."""
        end = time.monotonic() + seconds
        while True:
            if not self.app.alive():
                sys.exit(f"The program ended; see {self.app.log_path}")
            self.rss.append((time.monotonic(), rss_mib(self.app.proc.pid)))
            self.trace.poll()
            left = end - time.monotonic()
            if left <= 0:
                return
            time.sleep(min(1.0, left))

    def stop(self):
        self.app.stop()
        self.sim.stop()


def measure(h, opts):
    pid = h.app.proc.pid
    h.sleep(opts.warmup)
    cpu0, wall0, us0 = cpu_seconds(pid), time.monotonic(), time.time() * 1e6
    load0 = load_average()
    h.sleep(opts.seconds)
    cpu1, wall1, us1 = cpu_seconds(pid), time.monotonic(), time.time() * 1e6
    load1 = load_average()
    handled, sent, delays = frame_figures(h.trace.frames, us0, us1)
    menu = probe_menu(opts.display, "QEL Vantor Road App", opts.menu_tries) \
        if opts.menu_tries else []
    rss = [m for t, m in h.rss if t >= wall0]
    result = {
        "views": opts.views, "cycle_ms": opts.cycle_ms, "window_s": round(wall1 - wall0, 1),
        "cpu_percent_of_one_core": round(100 * (cpu1 - cpu0) / (wall1 - wall0), 2),
        "rss_mib_start_end_max": [round(rss[0], 1), round(rss[-1], 1), round(max(rss), 1)],
        "frames_handled": handled, "frames_sent": sent,
        "delay_ms_median": round(statistics.median(delays), 1) if delays else None,
        "delay_ms_p99": round(percentile(delays, 99), 1) if delays else None,
        "delay_ms_max": round(max(delays), 1) if delays else None,
        "menu_ms": [None if m is None else round(m, 1) for m in menu],
        "menu_within_100ms": bool(menu) and all(m is not None and m < 100 for m in menu),
        "load_average": [load0, load1],
    }
    print(json.dumps(result, indent=1))
    return result


def click_get_button(h, opts, turn):
    """Clicks one of the fine-tuning panel's Get buttons; returns the time of the click (us)
    or None when there is no such button on the screen."""
    buttons = [b for b in h.trace.buttons if b[0] == "RadarTuningWidget" and b[1] == "Get"]
    if not buttons:
        return None
    _, _, x, y, w, hgt = buttons[turn % len(buttons)]
    at = time.time() * 1e6
    xdo(opts.display, "mousemove", "--screen", screen_of(opts.display), str(x + w // 2),
        str(y + hgt // 2), "click", "1")
    return at


def command_figures(commands, clicks, end_us, grace_s):
    """Every click must start a command within 2 s; every command must reach a final
    state. Commands are told apart by their number and the order of their states."""
    open_commands = {}
    finished = 0
    for us, command, state, _ in commands:
        if state in FINAL_STATES:
            if open_commands.pop(command, None) is not None:
                finished += 1
        else:
            open_commands.setdefault(command, us)
    stuck = [c for c, us in open_commands.items() if us < end_us - grace_s * 1e6]
    lost = 0
    for click in clicks:
        if not any(click <= us <= click + 2e6 for us, *_ in commands):
            lost += 1
    return finished, stuck, lost


def soak(h, opts):
    pid = h.app.proc.pid
    start = time.monotonic()
    end = start + opts.soak * 60
    next_restart = start + opts.restart_every
    next_click = start + 10
    restarts = []
    clicks = []
    turn = 0
    full_at = None
    rows = 0
    cpu0 = cpu_seconds(pid)
    while time.monotonic() < end:
        h.sleep(1)
        now = time.monotonic()
        rows = len(h.trace.frames) * 64
        if full_at is None and rows >= HISTORY_ROWS:
            full_at = now
            log(f"history full ({rows} rows recorded), RSS {h.rss[-1][1]:.1f} MiB")
        if now >= next_restart and now < end - 30:
            log("restarting the simulator")
            restarts.append(time.time() * 1e6)
            h.restart_sim(opts.down_seconds)
            next_restart = time.monotonic() + opts.restart_every
        elif now >= next_click and h.trace.frames \
                and time.time() * 1e6 - h.trace.frames[-1][0] < 1e6 \
                and next_restart - now > 10:
            at = click_get_button(h, opts, turn)
            if at is not None:
                clicks.append(at)
                turn += 1
            next_click = now + opts.click_every
    # Let the last commands finish.
    h.sleep(10)
    end_us = time.time() * 1e6
    cpu = cpu_seconds(pid) - cpu0
    ups = [us for us, what in h.trace.links if what == "up"]
    returned = sum(1 for r in restarts if any(r < u < r + 60e6 for u in ups))
    finished, stuck, lost = command_figures(h.trace.commands, clicks, end_us, 10)
    handled, sent, delays = frame_figures(h.trace.frames, 0, end_us)
    # Memory growth: the median of the last window against that of the window that
    # starts one window after the history filled (a minute, or half a minute in short
    # soaks), so that the allocations of filling it are behind.
    span = 60 if opts.soak >= 10 else 30
    growth = None
    if full_at is not None:
        settle = full_at + span
        early = [m for t, m in h.rss if settle <= t < settle + span]
        late = [m for t, m in h.rss if t >= h.rss[-1][0] - span]
        if early and late and h.rss[-1][0] - span >= settle + span:
            growth = statistics.median(late) - statistics.median(early)
    result = {
        "minutes": opts.soak, "cycle_ms": opts.cycle_ms, "views": opts.views,
        "cpu_percent_of_one_core": round(100 * cpu / (time.monotonic() - start), 2),
        "history_full_after_s": None if full_at is None else round(full_at - start),
        "rss_mib_at_full": None if full_at is None else round(
            min(h.rss, key=lambda s: abs(s[0] - full_at))[1], 1),
        "rss_mib_end": round(h.rss[-1][1], 1), "rss_mib_max": round(max(m for _, m in h.rss), 1),
        "rss_growth_mib_after_full": None if growth is None else round(growth, 2),
        "simulator_restarts": len(restarts), "link_returned": returned,
        "reconnections": len(ups) - 1 if ups else 0,
        "clicks": len(clicks), "commands_finished": finished, "commands_stuck": stuck,
        "clicks_without_command": lost,
        "frames_handled": handled, "frames_sent": sent,
        "delay_ms_p99": round(percentile(delays, 99), 1) if delays else None,
        "load_average": load_average(),
    }
    checks = {
        "memory flat": growth is not None and growth < opts.max_growth_mib,
        "link back after every drop": returned == len(restarts) and len(restarts) > 0,
        "no stuck commands": not stuck and finished > 0,
    }
    result["checks"] = checks
    print(json.dumps(result, indent=1))
    return all(checks.values())


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--build", default="build-release",
                        help="build folder holding bin/ (default build-release)")
    parser.add_argument("--views", choices=["default", "all"], default="default",
                        help="default views, or every box with the history and projection")
    parser.add_argument("--cycle-ms", type=int, default=50, help="simulator cycle (default 50)")
    parser.add_argument("--warmup", type=float, default=20, help="seconds before measuring")
    parser.add_argument("--seconds", type=float, default=60, help="measured window")
    parser.add_argument("--menu-tries", type=int, default=5, help="menu clicks to time")
    parser.add_argument("--display", default=":35")
    parser.add_argument("--port", type=int, default=17535)
    parser.add_argument("--nice", type=int, default=0, help="niceness of both programs")
    parser.add_argument("--keep", action="store_true", help="keep the temporary folder")
    parser.add_argument("--soak", type=float, metavar="MINUTES",
                        help="soak run of this length instead of one measurement")
    parser.add_argument("--restart-every", type=float, default=240,
                        help="soak: seconds between simulator restarts (default 240)")
    parser.add_argument("--down-seconds", type=float, default=3,
                        help="soak: how long the simulator stays away (default 3)")
    parser.add_argument("--click-every", type=float, default=15,
                        help="soak: seconds between panel clicks (default 15)")
    parser.add_argument("--max-growth-mib", type=float, default=2,
                        help="soak: allowed memory growth after the history is full")
    opts = parser.parse_args()
    if opts.soak:
        opts.views = "all"

    xvfb = ensure_display(opts.display, "1920x1080x24")
    h = Harness(opts)
    ok = True
    try:
        h.start()
        if opts.soak:
            ok = soak(h, opts)
        else:
            measure(h, opts)
    finally:
        h.stop()
        if xvfb:
            xvfb.terminate()
            xvfb.wait()
        if opts.keep or not ok:
            log(f"files kept in {h.dir}")
        else:
            for name in os.listdir(h.dir):
                os.remove(os.path.join(h.dir, name))
            os.rmdir(h.dir)
    sys.exit(0 if ok else 1)


if __name__ == "__main__":
    main()
