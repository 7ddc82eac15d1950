"""Drives the real Olvenar window the way a screen-reader user meets it.

A Sandbox starts, each with process ids of its own: an X server (Xvfb), a session D-Bus, the
AT-SPI bus and registry, and a loopback weather server that plays the National Weather Service
and Open-Meteo with recorded answers; it writes a private program folder (a small catalogue
whose pages are on that server) and settings. Program then is build/olvenar started in it,
reached only through the accessibility bus and the keyboard: find by role and name, press,
read, wait for a condition with a deadline, take a screenshot.

Run with Debian's /usr/bin/python3 (pyatspi is a Debian package). A watchdog ends everything
when a run takes too long; nothing is left running afterwards.
"""
import array
import fcntl
import http.server
import os
import random
import re
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
import warnings

from gi.repository import Gio, GLib

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.dirname(os.path.dirname(HERE))
SERVICES = os.path.join(SOURCE, "tests", "fixtures", "services")

BOSTON = "United States|Massachusetts|Boston"
HAGATNA = "United States|Guam|Hagatna"

# Page paths of the recorded answers; the retrieval script tells the services apart by path.
ANSWERS = {
    "/MapClick.php": "nws-mapclick-json-hagatna-guam.json",
    "/v1/forecast": "open-meteo-forecast-current-hourly-daily-lat49.9-lon50.json",
}
# Where the retrieval script sends a ZIP code's coordinates; the sandbox's copy of the script
# sends them to loopback instead.
NWS_POINT_ADDRESS = "https://forecast.weather.gov/MapClick.php"

# pyatspi calls deprecated libatspi functions; that is its business, not this run's.
warnings.filterwarnings("ignore", category=DeprecationWarning)
warnings.filterwarnings("ignore", category=ImportWarning)

pyatspi = None  # imported once the private buses are known (libatspi reads them at import)


class Failure(AssertionError):
    pass


def place(key):
    """How the window names a city of the catalogue: "Boston, Massachusetts, United States"."""
    return ", ".join(reversed(key.split("|")))


def log(*parts):
    print(f"[{time.monotonic() - _T0:6.2f}s]", *parts, flush=True)


_T0 = time.monotonic()


def wait_for(condition, timeout=10.0, what="condition", interval=0.05):
    """condition()'s first true value; Failure after timeout seconds. A call that fails while
    the program changes its tree counts as not yet."""
    deadline = time.monotonic() + timeout
    last_error = None
    while True:
        _pump_events()
        try:
            value = condition()
            if value:
                return value
        except Failure:
            raise
        except Exception as error:  # noqa: BLE001 - stale accessibles raise all kinds
            last_error = error
        if time.monotonic() >= deadline:
            detail = f" (last error: {last_error})" if last_error else ""
            raise Failure(f"timed out after {timeout:g} s waiting for {what}{detail}")
        time.sleep(interval)


class _WeatherHandler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):  # noqa: N802 - the http.server interface
        self.server.requests.append(self.path)
        name = next((n for p, n in ANSWERS.items() if self.path.startswith(p)), None)
        if name is None:
            self.send_error(404)
            return
        with open(os.path.join(SERVICES, name), "rb") as answer:
            body = answer.read()
        self.send_response(200)
        self.send_header("Content-Type", "application/json")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


class Sandbox:
    """Private display, buses, weather server, program folder and settings.

    my_cities: the My Cities keys; settings: extra lines for the program's settings key;
    first_run: leave the first-run questions unanswered; scale: QT_SCALE_FACTOR for the
    program; timeout: the watchdog's limit in seconds."""

    def __init__(self, build, my_cities=(BOSTON, HAGATNA), settings="", first_run=False,
                 scale=None, screen="1280x1024x24", timeout=60.0):
        self.build = os.path.abspath(build)
        self.scale = scale
        self.procs = []
        self.work = tempfile.mkdtemp(prefix="olv-e2e-")
        self.home = self._folder("home")
        self.config = self._folder("config")
        self.runtime = self._folder("runtime")
        self.env = self._base_env()
        self.programs = []
        self._a11y_bus = None
        self._sound_lock = self._claim_sound_server()
        self._watchdog = threading.Timer(timeout, self._on_watchdog, args=(timeout,))
        self._watchdog.daemon = True
        try:
            self._watchdog.start()
            self._start_weather()
            self._write_program_folder(my_cities)
            self._write_settings(settings, first_run)
            self._start_display(screen)
            self._start_buses()
        except BaseException:
            self.close()
            raise

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    # Set-up -----------------------------------------------------------------------------------

    def _folder(self, name):
        path = os.path.join(self.work, name)
        os.mkdir(path, 0o700)
        return path

    def _base_env(self):
        drop = ("DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS",
                "SESSION_MANAGER", "XAUTHORITY", "QT_QPA_PLATFORM", "QT_SCALE_FACTOR")
        env = {k: v for k, v in os.environ.items() if k not in drop}
        # The shared sound server lives in the caller's runtime folder; the a11y bus in ours.
        pulse = os.path.join(os.environ.get("XDG_RUNTIME_DIR", "/nonexistent"), "pulse", "native")
        if "PULSE_SERVER" not in env and os.path.exists(pulse):
            env["PULSE_SERVER"] = "unix:" + pulse
        env.update(XDG_RUNTIME_DIR=self.runtime, HOME=self.work, NO_AT_BRIDGE="0",
                   OLVENAR_HOME=self.home, OLVENAR_CONFIG_DIR=self.config, LC_ALL="C.UTF-8")
        return env

    def _claim_sound_server(self):
        """The sound tests' lock on the shared server (see tests/speech/support/SoundServer):
        held while this sandbox lives, so that no test records this program's speech as its
        own and this one hears nobody else's."""
        if "PULSE_SERVER" not in self.env:
            return None
        folder = os.environ.get("XDG_RUNTIME_DIR") or "/tmp"
        lock = open(os.path.join(folder, "olvenar-sound-tests.lock"), "a")
        fcntl.flock(lock, fcntl.LOCK_EX)
        return lock

    def record_sink(self, sink="olvtest"):
        """Starts recording what sink plays (16-bit mono); stop_recording() gives its peak."""
        path = os.path.join(self.work, sink + ".raw")
        self._recording = self._start("parec", ["parec", "--device=" + sink + ".monitor",
                                                "--raw", "--format=s16le", "--rate=22050",
                                                "--channels=1", path])
        return path

    def stop_recording(self, path):
        self._end(self._recording)
        samples = array.array("h")
        with open(path, "rb") as raw:
            data = raw.read()
        samples.frombytes(data[:len(data) // 2 * 2])
        return max((abs(s) for s in samples), default=0)

    def _start(self, label, argv, **kw):
        # A session of its own: its group can be ended with the children it made.
        kw.setdefault("stdout", subprocess.DEVNULL)
        kw.setdefault("stderr", subprocess.DEVNULL)
        proc = subprocess.Popen(argv, env=kw.pop("env", self.env), start_new_session=True, **kw)
        self.procs.append((label, proc))
        return proc

    def _start_weather(self):
        self.weather = http.server.ThreadingHTTPServer(("127.0.0.1", 0), _WeatherHandler)
        self.weather.requests = []
        self.weather.daemon_threads = True
        threading.Thread(target=self.weather.serve_forever, daemon=True).start()

    def url(self, path):
        return f"http://127.0.0.1:{self.weather.server_address[1]}{path}"

    def _write_program_folder(self, my_cities):
        def city(name, path, lat, lon):
            return [name, self.url(path), lat, lon]
        lines = (["Olvenar test catalogue", "Asia", "Kazakhstan"]
                 + city("Atyrau", "/v1/forecast?latitude=49.9&longitude=50.0", "49.9", "50.0")
                 + ["Up", "Up", "United States", "Guam"]
                 + city("Hagatna", "/MapClick.php?lat=13.47&lon=144.75&FcstType=json",
                        "13.47", "144.75")
                 + ["Up", "Massachusetts"]
                 + city("Boston", "/MapClick.php?lat=42.36&lon=-71.06&FcstType=json",
                        "42.36", "-71.06")
                 + ["Up", "Up", "Up"])
        self.write("OVDef.chl", "\r\n".join(lines) + "\r\n")
        text = f"<MyCitiesList>{len(my_cities)}</MyCitiesList>\r\n"
        for i, key in enumerate(my_cities):
            text += f"<MyCitiesList{i}>{key}</MyCitiesList{i}>\r\n"
        self.write("MyCities.chl", text)
        # The shipped script with one change: no run ever reaches the real weather service.
        with open(os.path.join(SOURCE, "data", "Olvenar.chl"), encoding="latin-1",
                  newline="") as shipped:
            script = shipped.read()
        if NWS_POINT_ADDRESS not in script:
            raise Failure(f"the retrieval script no longer names {NWS_POINT_ADDRESS}")
        self.write("Olvenar.chl", script.replace(NWS_POINT_ADDRESS, self.url("/MapClick.php")))

    def write(self, name, text, folder=None):
        with open(os.path.join(folder or self.home, name), "w", encoding="latin-1") as f:
            f.write(text)

    def _write_settings(self, extra, first_run):
        # No splash or tip to close first; everything else at its default.
        answered = "" if first_run else "sz:StartupSaved=1\n"
        self.write("registry",
                   "[Software\\HalvernWorks\\Olvenar]\n" + answered + "sz:DisableSplash=true\n"
                   + "sz:ShowTips=N\n" + extra + "\n"
                   "[Software\\HalvernWorks\\FirstTimeDownloads]\nsz:olvenar=0\n",
                   folder=self.config)

    def settings(self):
        """The program's settings file as it stands."""
        with open(os.path.join(self.config, "registry"), encoding="latin-1") as f:
            return f.read()

    def _start_display(self, screen):
        # A display number of our own, far from the usual ones; Xvfb ends at once when it is
        # taken. (Left to choose with -displayfd, two servers starting together could both
        # take the same number.)
        for number in random.sample(range(200, 20000), 5):
            xvfb, ready = self._start_xvfb(number, screen)
            if ready and subprocess.run(["xdotool", "getdisplaygeometry"],
                                        env=dict(self.env, DISPLAY=f":{number}"),
                                        capture_output=True, timeout=10).returncode == 0:
                self.env["DISPLAY"] = f":{number}"
                return
            self._end(xvfb)
        raise Failure("no X server would start")

    def _start_xvfb(self, number, screen):
        """Xvfb on :number, and whether it said it is ready (it writes the number, then the
        line end separately; closing the pipe early would kill it)."""
        read_end, write_end = os.pipe()
        xvfb = self._start("Xvfb", ["Xvfb", f":{number}", "-displayfd", str(write_end),
                                    "-screen", "0", screen, "-nolisten", "tcp", "-dpi", "96",
                                    # (a server that resets when its last client leaves
                                    # turns the next one away meanwhile)
                                    "-noreset"],
                           pass_fds=(write_end,))
        os.close(write_end)
        said = b""
        try:
            while not said.endswith(b"\n"):
                if not select.select([read_end], [], [], 10)[0]:
                    return xvfb, False
                chunk = os.read(read_end, 64)
                if not chunk:
                    return xvfb, False
                said += chunk
        finally:
            os.close(read_end)
        return xvfb, said.strip() == str(number).encode()

    def _start_buses(self):
        bus = self._start("dbus-daemon", ["dbus-daemon", "--session", "--nofork",
                                          "--print-address=1"], stdout=subprocess.PIPE)
        if not select.select([bus.stdout], [], [], 10)[0]:
            raise Failure("dbus-daemon did not print its address")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().decode().strip()
        bus.stdout.close()
        self._start("at-spi-bus-launcher", ["/usr/libexec/at-spi-bus-launcher",
                                            "--launch-immediately"])
        address = wait_for(self._a11y_address, 10, "the accessibility bus")
        # Started here rather than by D-Bus activation, which would leave it running.
        self._start("at-spi2-registryd", ["/usr/libexec/at-spi2-registryd"])
        global pyatspi
        for name in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "XDG_RUNTIME_DIR"):
            os.environ[name] = self.env[name]
        os.environ["AT_SPI_BUS_ADDRESS"] = address  # for us only, never for the program
        if pyatspi is None:
            import pyatspi as module
            pyatspi = module

    def a11y_bus(self):
        if self._a11y_bus is None:
            self._a11y_bus = Gio.DBusConnection.new_for_address_sync(
                os.environ["AT_SPI_BUS_ADDRESS"],
                Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
                | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)
        return self._a11y_bus

    def _a11y_address(self):
        out = subprocess.run(["dbus-send", "--session", "--print-reply=literal",
                              "--reply-timeout=1000", "--dest=org.a11y.Bus", "/org/a11y/bus",
                              "org.a11y.Bus.GetAddress"], env=self.env, capture_output=True,
                             text=True, timeout=5)
        return out.returncode == 0 and out.stdout.strip()

    # The program ------------------------------------------------------------------------------

    def start(self, *args, check=True, env=None):
        """build/olvenar with args (and env added to the sandbox's), once its window shows on
        the accessibility bus (with check=False at once: wait for what it shows first)."""
        env = dict(self.env, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   **(env or {}))
        if self.scale:
            env["QT_SCALE_FACTOR"] = str(self.scale)
        output = open(os.path.join(self.work, f"olvenar-{len(self.programs)}.log"), "w+")
        proc = self._start("olvenar", [os.path.join(self.build, "olvenar"), *args], env=env,
                           stdout=output, stderr=subprocess.STDOUT)
        program = Program(self, proc, output)
        self.programs.append(program)
        if check:
            program.wait_shown()
        return program

    def requests(self):
        return list(self.weather.requests)

    # Ending -----------------------------------------------------------------------------------

    @staticmethod
    def _end(proc):
        if proc.poll() is None:
            try:
                os.killpg(proc.pid, signal.SIGTERM)
                proc.wait(3)
            except subprocess.TimeoutExpired:
                os.killpg(proc.pid, signal.SIGKILL)
                proc.wait(3)
            except ProcessLookupError:
                pass

    def _on_watchdog(self, timeout):
        log(f"WATCHDOG: over {timeout:g} s, ending everything")
        self.close()
        os._exit(124)

    def close(self):
        """Ends what was started, the newest first; each in its own group, signalled only
        while its leader is not reaped, so the id cannot belong to another process."""
        self._watchdog.cancel()
        for program in self.programs:
            if program.heard in _HEARD:
                _HEARD.remove(program.heard)
                program.heard.close()
            if program.proc.poll() != 0:  # still running or failed: what did it say?
                program.dump_output()
        for _, proc in reversed(self.procs):
            self._end(proc)
        self.procs.clear()
        for program in self.programs:
            program.output.close()
        self.programs.clear()
        if self._a11y_bus is not None and not self._a11y_bus.is_closed():
            self._a11y_bus.close_sync(None)
        self._a11y_bus = None
        if getattr(self, "weather", None):
            self.weather.shutdown()
            self.weather.server_close()
            self.weather = None
        shutil.rmtree(self.work, ignore_errors=True)
        if self._sound_lock is not None:
            self._sound_lock.close()
            self._sound_lock = None


def role(name):
    """pyatspi's role constant for a role name as AT-SPI spells it ("push button")."""
    return getattr(pyatspi, "ROLE_" + name.upper().replace(" ", "_"))


def states(node):
    return {pyatspi.stateToString(s) for s in node.getState().getStates()}


def walk(node, depth=0, cap=60, showing_only=False):
    """node and its descendants, depth first, at most cap children each (long lists)."""
    if showing_only and "showing" not in states(node):
        return
    yield node, depth
    for i in range(min(node.childCount, cap)):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child, depth + 1, cap, showing_only)


def describe(node):
    return f"{node.getRoleName()} {node.name!r}"


class Heard:
    """What a screen reader hears from the program, in order: where the focus goes, and the
    names and texts that change. Events arrive while wait_for() waits."""

    def __init__(self, pid):
        self._context = GLib.MainContext.default()
        self.pid = pid
        self.focus = None
        self.items = []  # (kind, role, text): kind "focus", "name" or "text"
        for kind in ("focus:", "object:property-change:accessible-name",
                     "object:text-changed:insert"):
            pyatspi.Registry.registerEventListener(self._on_event, kind)

    def _on_event(self, event):
        try:
            source = event.source
            if source.get_process_id() != self.pid:
                return
            if event.type.startswith("focus"):
                self.focus = source
                self.items.append(("focus", source.getRoleName(), source.name))
            elif event.type.startswith("object:property-change"):
                # Qt's event carries the object, not its new name: the name is read now, so a
                # second change that came meanwhile is heard twice (as a screen reader would).
                self.items.append(("name", source.getRoleName(), source.name))
            else:
                self.items.append(("text", source.getRoleName(), str(event.any_data)))
        except Exception:  # noqa: BLE001 - the object may be gone already
            pass

    def pump(self):
        while self._context.pending():
            self._context.iteration(False)

    def names(self, role_name=None):
        return [text for kind, r, text in self.items
                if kind == "name" and (role_name is None or r == role_name)]

    def close(self):
        pyatspi.Registry.deregisterEventListener(self._on_event, "focus:",
                                                 "object:property-change:accessible-name",
                                                 "object:text-changed:insert")


_HEARD = []  # listeners of the running programs; wait_for() lets their events in


def _pump_events():
    for heard in _HEARD:
        heard.pump()


# Roles whose children scroll or pop up: their extents say nothing about the layout.
_SCROLLED = {"tree", "list", "table", "combo box", "popup menu", "scroll bar", "label"}
_CONTROLS = {"push button", "label", "image", "combo box", "list", "tree", "text", "check box",
             "menu item", "radio button", "spin button", "slider"}


class Program:
    """build/olvenar running in a sandbox, seen through the accessibility bus."""

    def __init__(self, sandbox, proc, output):
        self.sandbox = sandbox
        self.proc = proc
        self.output = output
        self.app = None
        self.window = None
        # Listening before the program starts: it then learns of the listeners when it joins
        # the bus, and its first changes are not lost in a race with the registration.
        self.heard = Heard(proc.pid)
        _HEARD.append(self.heard)

    # Finding ----------------------------------------------------------------------------------

    def wait_shown(self, timeout=20):
        """The main window, once it shows."""
        self.window = self.wait_top("Olvenar", timeout)
        return self.window

    def wait_top(self, title, timeout=20):
        """The program's top-level window of that title (the main one, a dialog shown before
        it), once it shows on the accessibility bus."""
        def shown():
            if self.proc.poll() is not None:
                raise Failure(f"olvenar ended early with status {self.proc.returncode}")
            desktop = pyatspi.Registry.getDesktop(0)
            for i in range(desktop.childCount):
                app = desktop.getChildAtIndex(i)
                if app is not None and app.get_process_id() == self.proc.pid:
                    for j in range(app.childCount):
                        top = app.getChildAtIndex(j)
                        if top.name == title and "showing" in states(top):
                            self.app = app
                            return top
            return None
        return wait_for(shown, timeout, f"{title!r} on the accessibility bus")

    def windows(self):
        """The program's top-level windows that show (the main window, dialogs)."""
        found = []
        for i in range(self.app.childCount):
            node = self.app.getChildAtIndex(i)
            if node is not None and "showing" in states(node):
                found.append(node)
        return found

    def dialog(self, role_name="dialog"):
        """The program's other window of that role ("dialog", or "alert" for a message box)
        that shows; None when there is none."""
        return next((w for w in self.windows() if w != self.window and
                     w.getRoleName() == role_name), None)

    def find_all(self, role_name, name=None, within=None, showing=True, **props):
        wanted = role(role_name)
        found = []
        for node, _ in walk(within or self.window, showing_only=showing):
            if node.getRole() != wanted or (name is not None and node.name != name):
                continue
            if all(getattr(node, k) == v for k, v in props.items()):
                found.append(node)
        return found

    def find(self, role_name, name=None, within=None, timeout=10, showing=True, **props):
        """The one control of that role and name (and description=...); waits for it."""
        def one():
            nodes = self.find_all(role_name, name, within, showing, **props)
            if len(nodes) > 1:
                raise Failure(f"{len(nodes)} {role_name}s named {name!r}: ambiguous")
            return nodes[0] if nodes else None
        return wait_for(one, timeout, f"{role_name} {name!r} {props or ''}")

    def value(self, caption):
        """The text of a value label, found by what it is (its description)."""
        return self.find("label", description=caption).name

    def status(self):
        return self.find_all("label", within=self.find("status bar"))[0].name

    def wait_status(self, test, timeout=15):
        """The status line once test(text) holds (or once it equals test, a text)."""
        check = test if callable(test) else (lambda text: text == test)
        try:
            return wait_for(lambda: check(self.status()) and self.status(), timeout,
                            f"the status line to show {test!r}")
        except Failure as failure:
            raise Failure(f"{failure}; it shows {self.status()!r}") from None

    def text_of(self, node):
        text = node.queryText()
        return text.getText(0, text.characterCount)

    def rows(self, tree):
        """The first column of a tree's rows (its cells come row by row)."""
        columns = len(self.find_all("table column header", within=tree, showing=False))
        cells = self.find_all("table cell", within=tree, showing=False)
        return [cell.name for cell in cells[::columns]]

    # Acting -----------------------------------------------------------------------------------

    def act(self, node, action):
        """Starts node's action without waiting for it: a menu entry runs inside the call, so
        one that opens a message box would answer only once the box is closed."""
        actions = node.queryAction()
        names = [actions.getName(i) for i in range(actions.nActions)]
        if action not in names:
            raise Failure(f"{describe(node)} has no action {action!r}: {names}")
        if "enabled" not in states(node):
            raise Failure(f"{describe(node)} is disabled")
        self.sandbox.a11y_bus().call(
            node.app.bus_name, node.path, "org.a11y.atspi.Action", "DoAction",
            GLib.Variant("(i)", (names.index(action),)), None, Gio.DBusCallFlags.NONE, -1,
            None, None, None)

    def press(self, name, role_name="push button", **props):
        """Presses a button. The program acts a moment later: wait for the effect."""
        self.act(self.find(role_name, name, **props), "Press")

    def menu(self, *path):
        """Chooses a menu entry by its path ("View", "Normal Window") without opening menus."""
        node = self.find("menu bar")
        for name in path:
            node = self.find("menu item", name, within=node, showing=False)
        self.act(node, "Press")

    def focus_window(self, window=None):
        """Gives the window (the main one by default) the keyboard focus: with no window
        manager nobody else does. The control focused in it."""
        window = window or self.window
        window_id = subprocess.run(
            ["xdotool", "search", "--all", "--sync", "--onlyvisible", "--pid", str(self.proc.pid),
             "--name", "^" + re.escape(window.name) + "$"], env=self.sandbox.env,
            capture_output=True, text=True, timeout=10).stdout.split()[0]
        subprocess.run(["xdotool", "windowfocus", "--sync", window_id], env=self.sandbox.env,
                       timeout=10, check=True)
        wait_for(lambda: "active" in states(window), 10, f"{describe(window)} to be active")

        def focused():
            # The focus may have moved before anyone listened: then ask the window.
            if self.heard.focus is None:
                self.heard.focus = next((node for node, _ in walk(window, showing_only=True)
                                         if "focused" in states(node)), None)
            return self.heard.focus
        return wait_for(focused, 10, "a focused control")

    def keys(self, *names):
        """Key presses as xdotool names them ("Tab", "shift+Tab", "ctrl+g", "alt+f")."""
        subprocess.run(["xdotool", "key", "--delay", "40", *names], env=self.sandbox.env,
                       timeout=10, check=True)

    def key_to_focus(self, keys, what="the focus to move"):
        """Presses keys and waits until the focus goes somewhere else; where it went."""
        before = self.heard.focus
        self.keys(*keys)
        return wait_for(lambda: self.heard.focus != before and self.heard.focus, 10, what)

    def choose(self, combo, entry):
        """Chooses a drop-down's entry as the keyboard does (Up or Down on the focused combo
        box: Toggle on its list's items changes nothing)."""
        entries = [item.name for item, _ in walk(combo) if item.getRoleName() == "list item"]
        if entry not in entries:
            raise Failure(f"{describe(combo)} has no {entry!r}: {entries}")
        steps = entries.index(entry) - entries.index(combo.name)
        if steps:
            self.keys(*["Down" if steps > 0 else "Up"] * abs(steps))
        wait_for(lambda: combo.name == entry, 5, f"{entry!r} in the drop-down")

    def tab_order(self, limit=40):
        """What a screen reader says on each Tab ("push button 'Update'"), from the control
        focused now until Tab comes round to it again."""
        first = self.heard.focus
        order = [describe(first)]
        for _ in range(limit):
            now = self.key_to_focus(["Tab"], f"Tab to leave {order[-1]}")
            if now == first:
                return order
            order.append(describe(now))
        raise Failure(f"Tab did not come round in {limit} steps: {order}")

    def tab_to(self, role_name, name, limit=40):
        for _ in range(limit):
            if self.heard.focus.getRoleName() == role_name and self.heard.focus.name == name:
                return self.heard.focus
            self.key_to_focus(["Tab"])
        raise Failure(f"Tab never reached {role_name} {name!r}")

    # Looking ----------------------------------------------------------------------------------

    def nameless(self, window=None):
        """Showing objects of the window (the main one by default) a screen reader would
        announce without a name (structure such as fillers, scroll bars and menus' own popups
        is left out)."""
        quiet = {"filler", "panel", "layered pane", "scroll bar", "separator", "popup menu",
                 "menu bar", "status bar", "table cell", "list item"}
        found = []
        for node, _ in walk(window or self.window, showing_only=True):
            role_name = node.getRoleName()
            inside_combo = role_name == "list" and node.parent.getRoleName() == "combo box"
            if not node.name.strip() and role_name not in quiet and not inside_combo:
                found.append(describe(node))
        return found

    def layout_faults(self):
        """Controls that stick out of the window or overlap a neighbour, in the window's own
        coordinates: what a person would see as cut off or drawn over."""
        frame = self.window.queryComponent().getExtents(pyatspi.WINDOW_COORDS)
        faults = []

        def box(node):
            e = node.queryComponent().getExtents(pyatspi.WINDOW_COORDS)
            return e.x, e.y, e.x + e.width, e.y + e.height

        def visit(node):
            controls = []
            for i in range(node.childCount):
                child = node.getChildAtIndex(i)
                if child is None or "showing" not in states(child):
                    continue
                role_name = child.getRoleName()
                if role_name in _CONTROLS:
                    left, top, right, bottom = box(child)
                    if left < 0 or top < 0 or right > frame.width or bottom > frame.height:
                        faults.append(f"{describe(child)} outside the window")
                    controls.append((child, (left, top, right, bottom)))
                if role_name not in _SCROLLED:
                    visit(child)
            for i, (a, (al, at, ar, ab)) in enumerate(controls):
                for b, (bl, bt, br, bb) in controls[i + 1:]:
                    if min(ar, br) > max(al, bl) and min(ab, bb) > max(at, bt):
                        faults.append(f"{describe(a)} overlaps {describe(b)}")
        visit(self.window)
        return faults

    def grab(self, node=None):
        """The pixels of node's extents (the main window by default), as raw RGB. With no
        window manager there are no frames: the extents are exactly what a person sees."""
        box = (node or self.window).queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        # The bus gives device-independent pixels; the screen has QT_SCALE_FACTOR times more.
        x, y, w, h = (round(v * float(self.sandbox.scale or 1))
                      for v in (box.x, box.y, box.width, box.height))
        pixels = subprocess.run(["import", "-window", "root", "-crop", f"{w}x{h}+{x}+{y}",
                                 "+repage", "-depth", "8", "rgb:-"], env=self.sandbox.env,
                                check=True, capture_output=True, timeout=20).stdout
        return pixels, (w, h)

    def screenshot(self, path, node=None, settle=10.0):
        """A PNG of node once it looks the same twice in a row (the gauges move for a while
        after a city is shown; a resized window lays itself out again)."""
        shot, deadline = None, time.monotonic() + settle
        while True:
            again = self.grab(node)
            if again == shot or time.monotonic() > deadline:
                break
            shot = again
            time.sleep(0.3)
        pixels, (w, h) = again
        subprocess.run(["convert", "-size", f"{w}x{h}", "-depth", "8", "rgb:-", path],
                       input=pixels, check=True, timeout=20)
        return path

    # Ending -----------------------------------------------------------------------------------

    def quit(self, timeout=15):
        """"&Exit" in the File menu; the status the program ended with."""
        self.menu("File", "Exit")
        return self.wait_ended(timeout)

    def wait_ended(self, timeout=15):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure("olvenar did not end") from None

    def dump_output(self):
        self.output.flush()
        self.output.seek(0)
        text = self.output.read()
        if text.strip():
            sys.stdout.write("--- olvenar's output ---\n" + text + "------\n")

    def tree(self, node=None):
        return "\n".join("  " * depth + describe(n) + (f" ({n.description})" if n.description
                                                       else "")
                         for n, depth in walk(node or self.window))
