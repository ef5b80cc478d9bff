#!/usr/bin/env python3
"""The README's vendor workflow from a folder of product files to an
installed product, under Wine. The commands are read from the README's
vendor section and run as they stand, in a work folder: `vornpack init`, the
copy of the product's files (a built test program that handles "/Install"
and "/Uninstall /Quiet", and a help file), `vornpack build` and `vornpack
setup`. Two options are added, both documented beside the commands: `init
--uuid` gives the product the UUID its program knows itself by (it finds its
own uninstall entry with it), and `setup --arch x64` takes the 64-bit
installer, the one wine64 runs.

The Setup.exe made so is installed unattended into a given folder (exit 0,
every product file, the uninstall entry with the name, company, version and
website given to init), then removed through the entry's
"QuietUninstallString" run exactly as written: no folder, entry or shortcut
is left. The Wine prefix is the test's own, kept in the work folder."""
import argparse
import os
import re
import shlex
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "setup"))
from setup_pages_test import Display, Wine  # noqa: E402
from unattended_test import (PRODUCT_UUID, Checks, Machine, case_quiet_uninstall,  # noqa: E402
                             end_session)

ENTRY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall" + "\\{" + PRODUCT_UUID + "}"
FOLDER = r"C:\Acme Vendor\Writer"


def readme_commands(readme):
    """The commands of the first sh block of the vendor section, one
    argument list each, continuation lines joined and comments left out."""
    with open(readme, encoding="utf-8") as source:
        text = source.read()
    section = text.split("## For vendors", 1)[1]
    block = re.search(r"```sh\n(.*?)```", section, re.S).group(1)
    commands = []
    for line in block.replace("\\\n", " ").splitlines():
        if line.strip() and not line.lstrip().startswith("#"):
            commands.append(shlex.split(line))
    return commands


def run_workflow(options, wine, work, checks):
    """Runs the README's commands in the work folder. Gives the Setup.exe
    they made, or None after a failed command."""
    commands = readme_commands(options.readme)
    programs = [command[0] for command in commands]
    checks.expect(programs == ["vornpack", "cp", "vornpack", "vornpack"] and
                  [commands[i][1] for i in (0, 2, 3)] == ["init", "build", "setup"],
                  f"the README's vendor commands: init, a copy, build, setup ({programs})")
    setup = None
    for command in commands:
        if command[0] == "cp":
            # The vendor's product files, where the README copies them from.
            source = os.path.normpath(command[-2])
            os.makedirs(os.path.join(work, source, "Bin"))
            os.makedirs(os.path.join(work, source, "Help"))
            shutil.copy(options.product, os.path.join(work, source, "Bin", "Writer.exe"))
            with open(os.path.join(work, source, "Help", "Guide.txt"), "wb") as guide:
                guide.write(b"How to write with Acme Writer.\r\n" * 200)
            status = subprocess.run(command, cwd=work).returncode
        else:
            args = command[1:]
            if args[0] == "init":
                args += ["--uuid", PRODUCT_UUID]
            elif args[0] == "setup":
                args += ["--arch", "x64"]
                setup = os.path.join(work, args[args.index("-o") + 1])
            status = wine.run(options.vornpack, *args, log=os.path.join(work, args[0] + ".log"))
            with open(os.path.join(work, args[0] + ".log"), encoding="utf-8", errors="replace") as log:
                sys.stdout.write(log.read())
        checks.expect(status == 0, f"{shlex.join(command)}: ends with 0 (got {status})")
        if status != 0:
            return None
    return setup


def main():
    parser = argparse.ArgumentParser()
    for name in ("wine-run", "vornpack", "product", "readme", "work"):
        parser.add_argument("--" + name, required=True)
    options = parser.parse_args()
    options.prefix = os.path.join(options.work, "wine-prefix")
    # The commands' relative paths start in the work folder, kept empty
    # but for the prefix.
    os.makedirs(options.work, exist_ok=True)
    for name in os.listdir(options.work):
        if name != "wine-prefix":
            path = os.path.join(options.work, name)
            shutil.rmtree(path) if os.path.isdir(path) else os.remove(path)
    display = Display()
    checks = Checks()
    old_cwd = os.getcwd()
    try:
        os.chdir(options.work)
        wine = Wine(options, display)
        machine = Machine(wine, options.prefix)
        wine.run("cmd", "/c", "exit", "0")
        # Left by an earlier run that stopped half-way.
        wine.run("reg", "delete", ENTRY, "/f")
        shutil.rmtree(machine.unix(r"C:\Acme Vendor"), ignore_errors=True)

        setup = run_workflow(options, wine, options.work, checks)
        if setup is not None:
            status = wine.run(setup, "/Unattended", "/InstallFolder=" + FOLDER)
            checks.expect(status == 0, f"install: ends with 0 (got {status})")
            for name in ("Bin/Writer.exe", "Help/Guide.txt"):
                with open(os.path.join(options.work, "dist", name), "rb") as given:
                    installed = os.path.join(machine.unix(FOLDER), name)
                    checks.expect(os.path.isfile(installed) and open(installed, "rb").read() == given.read(),
                                  f"install: {name} is there as given")
            entry = machine.query(ENTRY) or {}
            program = FOLDER + r"\Bin\Writer.exe"
            checks.expect(entry.get("DisplayName") == "Acme Writer", f"install: DisplayName ({entry.get('DisplayName')})")
            checks.expect(entry.get("Publisher") == "Acme", f"install: Publisher ({entry.get('Publisher')})")
            checks.expect(entry.get("DisplayVersion") == "2.1", f"install: DisplayVersion ({entry.get('DisplayVersion')})")
            checks.expect(entry.get("HelpLink") == "https://acme.example/writer",
                          f"install: HelpLink ({entry.get('HelpLink')})")
            checks.expect(entry.get("QuietUninstallString") == f'"{program}" /Uninstall /Quiet',
                          f"install: QuietUninstallString ({entry.get('QuietUninstallString')})")
            shortcuts = list((machine.query(ENTRY + r"\ShortcutsList") or {}).values())
            checks.expect(bool(shortcuts) and all(os.path.isfile(machine.unix(s)) for s in shortcuts),
                          f"install: the shortcuts exist ({shortcuts})")
            case_quiet_uninstall(wine, machine, checks, shortcuts, entry=ENTRY, folder=FOLDER)
    finally:
        os.chdir(old_cwd)
        end_session(options.prefix, display)
    return checks.exit_status()


if __name__ == "__main__":
    sys.exit(main())
