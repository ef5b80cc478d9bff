#!/usr/bin/env python3
"""The installer program under Wine on an X display. The demo product's
package is put together with the standard package, packed by the built
vornpack.exe and written into a copy of VornSetup.exe; a driver program then
works through the first page from another process (tabs, options rules,
shortcut preference, quit), through the two-process start, a running
product and the French texts. Screenshots of every page the driver asks for
are kept in the screens folder.

The Wine prefix is the test's own (made on first use, kept in the work
folder): the runs change preferences and look at the window manager's
frames, which the other tests' prefix should not see."""
import argparse
import os
import shutil
import subprocess
import sys
import time

# The demo installer's Name + "::Window".
WINDOW_CLASS = "Vorn Demo Setup::Window"
SCENARIOS = ["pages", "two-processes", "product-running", "languages", "last-pages"]


def windows(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Display:
    """The X display to show the windows on: the test run's, else a private Xvfb."""

    def __init__(self):
        self.process = None
        self.name = os.environ.get("VORN_TEST_DISPLAY") or os.environ.get("DISPLAY")
        if self.name:
            return
        for number in range(150, 199):
            if os.path.exists(f"/tmp/.X11-unix/X{number}") or os.path.exists(f"/tmp/.X{number}-lock"):
                continue
            self.process = subprocess.Popen(["Xvfb", f":{number}", "-nolisten", "tcp", "-screen",
                                             "0", "1024x768x24"],
                                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            for _ in range(100):
                if os.path.exists(f"/tmp/.X11-unix/X{number}"):
                    self.name = f":{number}"
                    return
                time.sleep(0.1)
            self.process.kill()
            self.process = None
        raise RuntimeError("no X display")

    def close(self):
        if self.process is not None:
            self.process.kill()
            self.process.wait()


class Wine:
    def __init__(self, options, display):
        self.options = options
        self.env = dict(os.environ, DISPLAY=display.name, WINEPREFIX=options.prefix,
                        WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d", LC_ALL="C.UTF-8")

    def command(self, program, *args):
        return [self.options.wine_run, "--prefix", self.options.prefix, program] + list(args)

    def run(self, program, *args, log=None):
        with open(log or os.devnull, "wb") as out:
            return subprocess.run(self.command(program, *args), stdout=out, stderr=subprocess.STDOUT,
                                  env=self.env, timeout=600).returncode

    def prepare(self):
        """Frames and captions drawn by Wine, as a user sees them (no window
        manager runs on the test display)."""
        self.run("cmd", "/c", "exit", "0")
        for value in ("Managed", "Decorated"):
            self.run("reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", value, "/d", "N", "/f")
        # Windows links its interface fonts to a CJK font for Chinese text;
        # Wine does so only when told which one (the machine's WenQuanYi).
        link = r"HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink"
        for face in ("Tahoma", "MS Shell Dlg", "MS Shell Dlg 2", "Microsoft Sans Serif",
                     "Segoe UI"):
            self.run("reg", "add", link, "/v", face, "/t", "REG_MULTI_SZ", "/d",
                     "wqy-microhei.ttc,WenQuanYi Micro Hei", "/f")


def build_setup(options, wine, work):
    package = os.path.join(work, "package")
    shutil.rmtree(package, ignore_errors=True)
    shutil.copytree(os.path.join(options.standard_package, "Data"), os.path.join(package, "Data"))
    shutil.copytree(options.product_package, package, dirs_exist_ok=True)
    kelp = os.path.join(work, "Demo.kelp")
    setup = os.path.join(work, "Setup.exe")
    for path in (kelp, setup):
        if os.path.exists(path):
            os.remove(path)
    # The pages need no product program, which this package leaves out:
    # --no-check packs it all the same.
    status = wine.run(options.vornpack, "build", windows(package), "-o", windows(kelp),
                      "--file-list", windows(os.path.join(package, "Product")), "--no-check",
                      log=os.path.join(work, "vornpack-build.log"))
    if status != 0:
        raise RuntimeError("vornpack build failed")
    status = wine.run(options.vornpack, "setup", "--stub", windows(options.stub), "--package",
                      windows(kelp), "-o", windows(setup), log=os.path.join(work, "vornpack-setup.log"))
    if status != 0:
        raise RuntimeError("vornpack setup failed")
    return setup


def run_scenario(options, wine, display, work, setup, scenario):
    """Runs the driver, taking the screenshots it asks for. Gives its exit status."""
    for name in os.listdir(work):
        if name.startswith("shot-"):
            os.remove(os.path.join(work, name))
    log_path = os.path.join(work, f"driver-{scenario}.log")
    with open(log_path, "wb") as log:
        driver = subprocess.Popen(wine.command(options.driver, windows(work), windows(setup),
                                               WINDOW_CLASS, scenario),
                                  stdout=log, stderr=subprocess.STDOUT, env=wine.env)
        deadline = time.time() + 300
        while driver.poll() is None and time.time() < deadline:
            for name in sorted(os.listdir(work)):
                if not name.startswith("shot-"):
                    continue
                picture = os.path.join(options.screens, name[len("shot-"):] + ".png")
                subprocess.run(["import", "-display", display.name, "-window", "root", picture],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                os.remove(os.path.join(work, name))
            time.sleep(0.1)
        if driver.poll() is None:
            driver.kill()
            driver.wait()
    with open(log_path, encoding="utf-8", errors="replace") as log:
        output = log.read()
    sys.stdout.write(f"--- {scenario}\n{output}")
    return driver.returncode


def main():
    parser = argparse.ArgumentParser()
    for name in ("wine-run", "vornpack", "stub", "driver", "standard-package",
                 "product-package", "work", "screens"):
        parser.add_argument("--" + name, required=True)
    options = parser.parse_args()
    # The test's own prefix, next to its work folder.
    options.prefix = os.path.join(options.work, "wine-prefix")
    os.makedirs(options.work, exist_ok=True)
    os.makedirs(options.screens, exist_ok=True)
    display = Display()
    failed = []
    try:
        wine = Wine(options, display)
        wine.prepare()
        setup = build_setup(options, wine, options.work)
        for scenario in SCENARIOS:
            status = run_scenario(options, wine, display, options.work, setup, scenario)
            if status != 0:
                failed.append(f"{scenario} (exit {status})")
    finally:
        subprocess.run(["/usr/lib/wine/wineserver", "-k"], env=dict(os.environ, WINEPREFIX=options.prefix),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        display.close()
    print(f"screenshots in {options.screens}")
    if failed:
        print("FAILED:", ", ".join(failed))
        return 1
    print("all scenarios passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
