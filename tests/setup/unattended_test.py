#!/usr/bin/env python3
"""Unattended installations of a packed Setup.exe under Wine, as a deployment
tool runs them: no window, the exit code and the log say how it went. The
package is the demo's with the test product as its executable (the product's
own "/Uninstall /Quiet" then removes it again), packed with the helpers of
the page test. Each case checks the machine afterwards: files, uninstall
entry, shortcuts, or that nothing was written.

The Wine prefix is the test's own, kept in the work folder."""
import argparse
import os
import re
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from setup_pages_test import Display, Wine, build_setup, windows  # noqa: E402

PRODUCT_UUID = "5A0C1E27-9B3D-4F61-8C2E-7D4B9A0F1E36"
DEMO_PRODUCT_UUID = "A3F7E25B-8DDD-4295-AABA-AA8422105818"
ENTRY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall" + "\\{" + PRODUCT_UUID + "}"
EXECUTABLE = "VornTestProduct.exe"
FOLDER = r"C:\Vorn Unattended\Test Product"
GROUP = r"Vorn Unattended\Test Product"


class Machine:
    """The Wine prefix seen from outside: its drives, its registry."""

    def __init__(self, wine, prefix):
        self.wine = wine
        self.prefix = prefix

    def unix(self, path):
        drive, rest = path[0].lower(), path[3:].replace("\\", "/")
        return os.path.join(self.prefix, "dosdevices", drive + ":", rest)

    def query(self, key, value=None):
        """The key's values as a dict (value name: data), or None without the key."""
        args = ["reg", "query", key] + (["/v", value] if value else [])
        result = subprocess.run(self.wine.command(*args), capture_output=True, env=self.wine.env,
                                timeout=120)
        if result.returncode != 0:
            return None
        values = {}
        for line in result.stdout.decode("utf-8", "replace").splitlines():
            match = re.match(r"\s+(\S.*?)\s+(REG_\w+)\s*(.*)$", line)
            if match:
                values[match.group(1)] = match.group(3).strip()
        return values


class Checks:
    def __init__(self):
        self.failures = []

    def expect(self, condition, what):
        print(("ok   " if condition else "FAIL ") + what)
        if not condition:
            self.failures.append(what)

    def exit_status(self):
        if self.failures:
            print("FAILED:", "; ".join(self.failures))
            return 1
        print("all cases passed")
        return 0


def end_session(prefix, display):
    """Stops the prefix's Wine server (and whatever it still runs) and the display."""
    subprocess.run(["/usr/lib/wine/wineserver", "-k"], env=dict(os.environ, WINEPREFIX=prefix),
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    display.close()


def make_package(options, work):
    """The demo package whose product is the test product (its UUID, its executable)."""
    package = os.path.join(work, "product-package")
    shutil.rmtree(package, ignore_errors=True)
    shutil.copytree(options.product_package, package)
    configuration = os.path.join(package, "Data", "Xml", "Configuration.xml")
    with open(configuration, encoding="utf-8") as source:
        text = source.read()
    text = text.replace(DEMO_PRODUCT_UUID, PRODUCT_UUID)
    text = re.sub(r"<Executable>[^<]*</Executable>", f"<Executable>{EXECUTABLE}</Executable>", text)
    with open(configuration, "w", encoding="utf-8") as target:
        target.write(text)
    shutil.copy(options.product, os.path.join(package, "Product", EXECUTABLE))
    return package


def product_files(package):
    root = os.path.join(package, "Product")
    return sorted(os.path.relpath(os.path.join(folder, name), root)
                  for folder, _, names in os.walk(root) for name in names)


def run_setup(wine, setup, *args, log=None):
    """The installer's exit code. What Wine printed while it ran (its own
    errors: a process that did not start, a crash) is shown when the code is
    one the installer never gives, so that such a run can be told from a
    wrong answer of ours."""
    output = (log or os.path.join(os.path.dirname(setup), "run")) + ".console"
    status = wine.run(setup, *args, log=output)
    if status not in (0, 4, 5, 7, 8, 13, 14, 17, 22, 29, 32, 33):
        with open(output, "rb") as printed:
            print("     console of %s %s (exit %d):\n%s" % (
                os.path.basename(setup), " ".join(args), status,
                printed.read().decode("utf-8", "replace")[-4000:] or "(nothing)"), flush=True)
    return status


def case_invalid(wine, machine, setup, checks, work):
    for args, what in (([r"/InstallFolder=Relative\Folder"], "a relative folder"),
                       ([r"/InstallFolder=C:\Vorn Unattended\..\Elsewhere"], "a folder with '..'"),
                       ([r"/ProgramGroup=..\Startup"], "a group leaving the Programs menu"),
                       (["/DesktopShortcut=yes"], "a shortcut option other than 0 or 1")):
        status = run_setup(wine, setup, "/Unattended", *args)
        checks.expect(status == 5, f"invalid: {what} ends with 5 (got {status})")
    checks.expect(not os.path.exists(machine.unix(FOLDER)) and
                  not os.path.exists(machine.unix(r"C:\Vorn Unattended")),
                  "invalid: no folder was made")
    checks.expect(machine.query(ENTRY) is None, "invalid: no uninstall entry")


def case_installer_running(wine, machine, setup, checks):
    """Another copy of the installer shows its pages: 14, nothing installed."""
    pages = subprocess.Popen(wine.command(setup), env=wine.env, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
    try:
        time.sleep(8)
        status = run_setup(wine, setup, "/Unattended", "/InstallFolder=" + FOLDER)
        checks.expect(status == 14, f"installer running: ends with 14 (got {status})")
        checks.expect(not os.path.exists(machine.unix(FOLDER)), "installer running: nothing installed")
    finally:
        subprocess.run(wine.command("cmd", "/c", "taskkill", "/f", "/im", os.path.basename(setup)),
                       env=wine.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            pages.wait(timeout=30)
        except subprocess.TimeoutExpired:
            pages.kill()


def case_damaged(options, wine, machine, setup, checks, work):
    """The installer without its package, and with a package whose bytes were
    changed on the way: a failure's code, never 0, and nothing installed."""
    status = run_setup(wine, options.stub, "/Unattended", "/InstallFolder=" + FOLDER)
    checks.expect(status not in (0, 5), f"damaged: the installer without a package fails (got {status})")
    with open(setup, "rb") as source:
        data = bytearray(source.read())
    with open(os.path.join(work, "Demo.kelp"), "rb") as source:
        archive = source.read()
    start = data.find(archive)
    checks.expect(start >= 0, "damaged: the package lies in Setup.exe as packed")
    if start < 0:
        return
    # The product executable is the archive's largest part: flip bytes in
    # its middle.
    for offset in range(len(archive) // 2, len(archive) // 2 + 64):
        data[start + offset] ^= 0x5A
    damaged = os.path.join(work, "Damaged.exe")
    with open(damaged, "wb") as target:
        target.write(data)
    status = run_setup(wine, damaged, "/Unattended", "/InstallFolder=" + FOLDER)
    # 7: the compressed data does not decode; 22, 32: a checksum fails.
    checks.expect(status in (7, 22, 32, 33), f"damaged: a changed package ends with 7, 22, 32 or 33 (got {status})")
    checks.expect(not os.path.exists(machine.unix(r"C:\Vorn Unattended")), "damaged: nothing left")
    checks.expect(machine.query(ENTRY) is None, "damaged: no uninstall entry")


def case_product_running(options, wine, machine, setup, checks):
    # The product holds its marker while it runs.
    product = subprocess.Popen(wine.command(options.product), env=wine.env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        time.sleep(5)
        status = run_setup(wine, setup, "/Unattended", "/InstallFolder=" + FOLDER)
        checks.expect(status == 14, f"running: ends with 14 (got {status})")
        checks.expect(not os.path.exists(machine.unix(FOLDER)), "running: nothing installed")
        checks.expect(machine.query(ENTRY) is None, "running: no uninstall entry")
    finally:
        subprocess.run(wine.command("cmd", "/c", "taskkill", "/f", "/im",
                                    os.path.basename(options.product)),
                       env=wine.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            product.wait(timeout=70)
        except subprocess.TimeoutExpired:
            product.kill()


def read_log(path):
    with open(path, "rb") as log:
        data = log.read()
    return data.decode("utf-8").splitlines()


def case_install(wine, machine, setup, package, checks, work):
    log_path = os.path.join(work, "install.log")
    if os.path.exists(log_path):
        os.remove(log_path)
    status = run_setup(wine, setup, "/unattended", "/InstallFolder=" + FOLDER, "/ProgramGroup=" + GROUP,
                       "/DesktopShortcut=1", "/QuickLaunchShortcut=0", "/Log=" + windows(log_path))
    checks.expect(status == 0, f"install: ends with 0 (got {status})")
    for name in product_files(package):
        checks.expect(os.path.isfile(os.path.join(machine.unix(FOLDER), name)), f"install: {name} is there")
    entry = machine.query(ENTRY) or {}
    program = FOLDER + "\\" + EXECUTABLE
    checks.expect(entry.get("UninstallString") == f'"{program}" /Uninstall', "install: UninstallString")
    checks.expect(entry.get("QuietUninstallString") == f'"{program}" /Uninstall /Quiet',
                  f"install: QuietUninstallString ({entry.get('QuietUninstallString')})")
    checks.expect(entry.get("VornLib.InstallFolder") == FOLDER, "install: the folder is recorded")
    checks.expect(entry.get("VornLib.ProgramGroup") == GROUP, "install: the group is recorded")
    shortcuts = list((machine.query(ENTRY + r"\ShortcutsList") or {}).values())
    in_group = [s for s in shortcuts if "\\" + GROUP + "\\" in s]
    desktop = [s for s in shortcuts if "\\Desktop\\" in s]
    quick = [s for s in shortcuts if "Quick Launch" in s]
    # The product's own shortcut and the package's two, as the pages make them.
    checks.expect(len(in_group) == 3, f"install: three shortcuts in the group ({in_group})")
    checks.expect(len(desktop) == 1, f"install: the desktop shortcut ({desktop})")
    checks.expect(not quick, "install: no quick-launch shortcut")
    checks.expect(all(os.path.isfile(machine.unix(s)) for s in shortcuts), "install: every shortcut file exists")

    lines = read_log(log_path)
    print("\n".join("     log: " + line for line in lines))
    checks.expect(bool(lines) and lines[0].startswith("Start: "), "log: the start line")
    checks.expect(any(line.startswith("Copy started: ") for line in lines), "log: the copy's start")
    tenths = [line for line in lines if re.fullmatch(r"Copied \d+ %", line)]
    checks.expect(tenths == [f"Copied {n} %" for n in range(10, 101, 10)], "log: every 10 % once")
    checks.expect("Registration: 0 (success)" in lines, "log: the registration")
    checks.expect(lines[-1:] == ["Result: 0 (success)"], "log: the result with its meaning")
    checks.expect("Previous version removed" not in lines, "log: no previous version the first time")
    return shortcuts


def case_reinstall(wine, machine, setup, checks, work):
    log_path = os.path.join(work, "reinstall.log")
    status = run_setup(wine, setup, "/Unattended", "/Log=" + windows(log_path))
    lines = read_log(log_path)
    checks.expect(status == 0, f"again: ends with 0 (got {status})")
    checks.expect("Previous version removed" in lines, "again: the previous version was removed")
    checks.expect(lines[0].endswith(f'folder "{FOLDER}", group "{GROUP}"'),
                  "again: the existing installation's folder and group are kept")


def case_quiet_uninstall(wine, machine, checks, shortcuts, entry=ENTRY, folder=FOLDER):
    command = (machine.query(entry) or {}).get("QuietUninstallString", "")
    # Run as written: the quoted program, then its switches.
    match = re.fullmatch(r'"([^"]+)"\s+(.*)', command)
    checks.expect(match is not None, f"uninstall: a quoted program and switches ({command})")
    if match is None:
        return
    status = wine.run(match.group(1), *match.group(2).split())
    checks.expect(status == 0, f"uninstall: ends with 0 (got {status})")
    # The program's own file and the folder go with a batch that waits for
    # the program to end.
    for _ in range(600):
        if not os.path.exists(machine.unix(folder)):
            break
        time.sleep(0.1)
    checks.expect(not os.path.exists(machine.unix(folder)), "uninstall: the folder is gone")
    checks.expect(machine.query(entry) is None, "uninstall: the entry is gone")
    checks.expect(not any(os.path.exists(machine.unix(s)) for s in shortcuts), "uninstall: no shortcut left")


def case_disk_full(wine, machine, setup, checks, work):
    mount = os.path.join(work, "small-disk")
    os.makedirs(mount, exist_ok=True)
    subprocess.run(["umount", mount], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    # Room for the small files, not for the product executable.
    if subprocess.run(["mount", "-t", "tmpfs", "-o", "size=64k", "tmpfs", mount],
                      stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode != 0:
        print("SKIP disk full: a tmpfs cannot be mounted here (needs root)")
        return
    drive = os.path.join(machine.prefix, "dosdevices", "x:")
    try:
        if os.path.lexists(drive):
            os.remove(drive)
        os.symlink(mount, drive)
        log_path = os.path.join(work, "disk-full.log")
        status = run_setup(wine, setup, "/Unattended", r"/InstallFolder=X:\Vorn\Test Product",
                           "/Log=" + windows(log_path))
        checks.expect(status == 13, f"disk full: ends with 13 (got {status})")
        checks.expect(os.listdir(mount) == [], f"disk full: nothing left ({os.listdir(mount)})")
        checks.expect(machine.query(ENTRY) is None, "disk full: no uninstall entry")
        checks.expect(read_log(log_path)[-1:] == ["Result: 13 (disk full)"], "disk full: the log says so")
    finally:
        if os.path.lexists(drive):
            os.remove(drive)
        subprocess.run(["umount", mount], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def main():
    parser = argparse.ArgumentParser()
    for name in ("wine-run", "vornpack", "stub", "product", "standard-package", "product-package",
                 "work"):
        parser.add_argument("--" + name, required=True)
    options = parser.parse_args()
    options.prefix = os.path.join(options.work, "wine-prefix")
    os.makedirs(options.work, exist_ok=True)
    display = Display()
    checks = Checks()
    try:
        wine = Wine(options, display)
        machine = Machine(wine, options.prefix)
        wine.run("cmd", "/c", "exit", "0")
        # Left by an earlier run that stopped half-way.
        wine.run("reg", "delete", ENTRY, "/f")
        shutil.rmtree(machine.unix(r"C:\Vorn Unattended"), ignore_errors=True)
        package = make_package(options, options.work)
        options.product_package = package
        setup = build_setup(options, wine, options.work)
        case_invalid(wine, machine, setup, checks, options.work)
        case_product_running(options, wine, machine, setup, checks)
        case_damaged(options, wine, machine, setup, checks, options.work)
        case_installer_running(wine, machine, setup, checks)
        case_disk_full(wine, machine, setup, checks, options.work)
        shortcuts = case_install(wine, machine, setup, package, checks, options.work)
        case_reinstall(wine, machine, setup, checks, options.work)
        case_quiet_uninstall(wine, machine, checks, shortcuts)
    finally:
        end_session(options.prefix, display)
    return checks.exit_status()


if __name__ == "__main__":
    sys.exit(main())
