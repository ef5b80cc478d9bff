"""One Wine machine for a test: a private X display (Xvfb), a copy of a
prepared Wine prefix, one persistent wineserver, and the test driver.

    with WineSession(work_dir, driver_exe) as wine:
        wine.start("C:\\...\\Setup.exe")            # a Windows program, not waited for
        wine.driver("wait-window", "Vorn Demo Setup::Window")
        wine.screenshot("screens/main.png")

Every prefix is copied from one template made once per work folder (with
Wine's own frames and captions, which is what a user sees), so what one test
installs or leaves behind never reaches another.
"""

import fcntl
import os
import shutil
import subprocess
import tempfile
import time

WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"


class DriverResult:
    """What one driver command printed: its exit code and key=value lines."""

    DONE, TIMED_OUT, NOT_FOUND, USAGE, WRONG_STATE, SYSTEM_FAILURE = range(6)

    def __init__(self, code, output):
        self.code = code
        self.output = output
        self.pairs = []
        for line in output.splitlines():
            key, sep, value = line.partition("=")
            if sep:
                self.pairs.append((key, value))

    @property
    def ok(self):
        return self.code == self.DONE

    def get(self, key, default=None):
        for name, value in self.pairs:
            if name == key:
                return value
        return default

    def all(self, key):
        return [value for name, value in self.pairs if name == key]

    def __repr__(self):
        return "DriverResult(code=%d, %r)" % (self.code, self.output.strip())


def windows_path(path):
    """A Linux path as Wine's Z: drive shows it."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def _display_free(number):
    return not (os.path.exists("/tmp/.X11-unix/X%d" % number) or
                os.path.exists("/tmp/.X%d-lock" % number))


def display_numbers():
    """The display numbers to try: VORN_E2E_DISPLAYS ("85-99") or a default."""
    spec = os.environ.get("VORN_E2E_DISPLAYS", "85-99,200-299")
    numbers = []
    for part in spec.split(","):
        first, _, last = part.partition("-")
        numbers.extend(range(int(first), int(last or first) + 1))
    return numbers


class Xvfb:
    """A private X server on the first free display number."""

    def __init__(self, size="1024x768x24"):
        self.process = None
        self.display = None
        for number in display_numbers():
            if not _display_free(number):
                continue
            process = subprocess.Popen(
                ["Xvfb", ":%d" % number, "-screen", "0", size, "-nolisten", "tcp"],
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            for _ in range(100):
                if os.path.exists("/tmp/.X11-unix/X%d" % number) or process.poll() is not None:
                    break
                time.sleep(0.1)
            if process.poll() is None and os.path.exists("/tmp/.X11-unix/X%d" % number):
                self.process, self.display = process, ":%d" % number
                return
            process.kill()
            process.wait()
        raise RuntimeError("no free X display in %s" % os.environ.get("VORN_E2E_DISPLAYS", "85-99,200-299"))

    def stop(self):
        if self.process is not None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
            self.process = None


def base_environment(prefix, display=""):
    env = dict(os.environ)
    env.update({
        "WINEPREFIX": prefix,
        "WINEARCH": "win64",
        "WINEDEBUG": "-all",
        # No Mono or Gecko offer: on a display it would wait for a click forever.
        "WINEDLLOVERRIDES": "mscoree,mshtml=",
        "DISPLAY": display,
    })
    return env


def ensure_template(path):
    """Makes the template prefix once (several tests may ask at once)."""
    ready = os.path.join(path, ".vorn-e2e-ready")
    if os.path.exists(ready):
        return path
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path + ".lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if os.path.exists(ready):
            return path
        shutil.rmtree(path, ignore_errors=True)
        env = base_environment(path)
        subprocess.run([WINE, "wineboot", "--init"], env=env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, check=False, timeout=300)
        # Windows-style frames and captions drawn by Wine itself: without a
        # window manager on Xvfb, windows would have neither.
        for name in ("Managed", "Decorated"):
            subprocess.run([WINE, "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", name,
                            "/t", "REG_SZ", "/d", "N", "/f"], env=env, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, check=False, timeout=120)
        subprocess.run([WINESERVER, "-k"], env=env, check=False, timeout=60)
        subprocess.run([WINESERVER, "-w"], env=env, check=False, timeout=60)
        # Wine links the user's Desktop, Documents... to the Linux home
        # folder: a shortcut put on the desktop would land there, outside
        # the prefix and shared by every test. Real folders instead.
        users = os.path.join(path, "drive_c", "users")
        for user in os.listdir(users):
            for name in os.listdir(os.path.join(users, user)):
                link = os.path.join(users, user, name)
                if os.path.islink(link):
                    os.unlink(link)
                    os.mkdir(link)
        open(ready, "w").close()
    return path


class WineSession:
    def __init__(self, work_dir, driver_exe, template=None, display=None):
        self.work_dir = os.path.abspath(work_dir)
        self.driver_exe = os.path.abspath(driver_exe)
        self.template = template or os.path.join(os.path.dirname(self.work_dir), "template-prefix")
        self.prefix = os.path.join(self.work_dir, "prefix")
        self.xvfb = None
        self.display = display
        self.env = None
        self.started = []

    # ---- lifetime ----

    def __enter__(self):
        self.open()
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    def open(self):
        os.makedirs(self.work_dir, exist_ok=True)
        ensure_template(self.template)
        shutil.rmtree(self.prefix, ignore_errors=True)
        subprocess.run(["cp", "-a", "--reflink=auto", self.template, self.prefix], check=True)
        if self.display is None:
            self.xvfb = Xvfb()
            self.display = self.xvfb.display
        self.env = base_environment(self.prefix, self.display)
        # One persistent server for the whole test: every Wine process then
        # starts in a fraction of a second.
        subprocess.run([WINESERVER, "-p"], env=self.env, check=False, timeout=60)
        self.wine("cmd", "/c", "exit", "0", timeout=120)

    def close(self):
        for process in self.started:
            if process.poll() is None:
                process.kill()
        if self.env is not None:
            subprocess.run([WINESERVER, "-k"], env=self.env, check=False, timeout=60,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for process in self.started:
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                pass
        if self.xvfb is not None:
            self.xvfb.stop()
            self.xvfb = None

    def flush_registry(self):
        """Writes the registry files out (the server keeps them in memory)."""
        subprocess.run([WINESERVER, "-k"], env=self.env, check=False, timeout=60)
        subprocess.run([WINESERVER, "-w"], env=self.env, check=False, timeout=60)
        subprocess.run([WINESERVER, "-p"], env=self.env, check=False, timeout=60)

    # ---- programs ----

    def _output_file(self):
        handle, path = tempfile.mkstemp(prefix="out-", suffix=".txt", dir=self.work_dir)
        return os.fdopen(handle, "w+b"), path

    def wine(self, *args, timeout=120):
        """Runs a Windows program to its end; returns (exit code, output).
        Output goes through a file: Wine's helper processes inherit a pipe and
        can hold it open long after the program ended."""
        out, path = self._output_file()
        try:
            completed = subprocess.run([WINE] + list(args), env=self.env, stdout=out,
                                       stderr=subprocess.STDOUT, timeout=timeout, check=False)
            out.seek(0)
            return completed.returncode, out.read().decode("utf-8", "replace")
        finally:
            out.close()
            os.unlink(path)

    def start(self, *args):
        """Starts a Windows program without waiting; returns its Popen."""
        log = open(os.path.join(self.work_dir, "wine-%d.log" % len(self.started)), "wb")
        process = subprocess.Popen([WINE] + list(args), env=self.env, stdout=log,
                                   stderr=subprocess.STDOUT)
        log.close()
        self.started.append(process)
        return process

    def driver(self, command, *args, timeout=None):
        """Runs one driver command; its own --timeout (ms) bounds the wait."""
        wait = 60 + (timeout or 0) / 1000.0
        argv = [self.driver_exe, command] + [str(a) for a in args]
        if timeout is not None:
            argv += ["--timeout", str(int(timeout))]
        code, output = self.wine(*argv, timeout=wait)
        return DriverResult(code, output)

    # ---- files and pictures ----

    def windows_path(self, path):
        return windows_path(path)

    def drive_c(self, *parts):
        return os.path.join(self.prefix, "drive_c", *parts)

    def host_path(self, windows):
        """A Windows path of the prefix (C:\\... or Z:\\...) as a Linux path."""
        drive, rest = windows[0].lower(), windows[2:].replace("\\", "/").lstrip("/")
        if drive == "z":
            return "/" + rest
        return os.path.join(self.prefix, "dosdevices", drive + ":", rest)

    def screenshot(self, path):
        os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
        subprocess.run(["import", "-display", self.display, "-window", "root", path],
                       check=False, timeout=60, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return path
