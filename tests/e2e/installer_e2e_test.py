#!/usr/bin/env python3
"""Whole installations of the demo product under wine64 on a private X
display, driven like a user drives them. One test per run:

  installer_e2e_test.py --test NAME --source-dir DIR --build-dir DIR \
      --driver e2e_driver.exe --screens DIR [--work DIR]

Tests: full_install, options, cancel, failure, upgrade, uninstall, instances,
language_and_corrupt, no_trace_cycles, killed_installer, worker_crash. Each
takes a fresh copy of a prepared Wine prefix and keeps a screenshot of every
page it passes (<screens>/<test>-<page>.png).
Exit code 0 passed, 1 failed, 77 skipped (the installer or the product is
not built).
"""

import argparse
import copy
import os
import re
import signal
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
# No bytecode caches in the source tree.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(HERE, "support"))

import demo_package  # noqa: E402
import snapshot  # noqa: E402
from installer import (APP_PATHS_KEY, COMMON_PROGRAMS, COMPANY, DEFAULT_FOLDER,  # noqa: E402
                       LAST_PAGES, NOT_THE_PRODUCT, PRODUCT_CLASS, PRODUCT_EXE, PRODUCT_NAME, SETUP_CLASS,
                       Checks, Installer, local_today, lnk_target_matches,
                       product_entries, product_traces, read_file_list, read_strings,
                       uninstall_entry, wait_until, without_mnemonic)
from wine_session import WineSession  # noqa: E402

SKIPPED = 77


class Context:
    def __init__(self, args):
        self.args = args
        self.source_dir = os.path.abspath(args.source_dir)
        self.build_dir = os.path.abspath(args.build_dir)
        self.work = os.path.abspath(args.work or os.path.join(self.build_dir, "tests", "e2e", "work"))
        self.screens = os.path.abspath(args.screens)
        self.paths = demo_package.BuildPaths.find(self.source_dir, self.build_dir, stub=args.stub,
                                                  product=args.product, vornpack=args.vornpack)
        self.en = read_strings(self.source_dir, "en")
        self.fr = read_strings(self.source_dir, "fr")
        standard = os.path.join(self.build_dir, "setup-package")
        self.standard_package = standard if os.path.isdir(standard) else None

    def setup(self, variant="default"):
        return demo_package.build_setup(self.paths, os.path.join(self.work, "packages"), variant,
                                        self.standard_package)

    def files(self, variant="default"):
        return read_file_list(demo_package.file_list_of(self.setup(variant), variant))

    def session(self, name):
        return WineSession(os.path.join(self.work, name), self.args.driver,
                           template=os.path.join(self.work, "template-prefix"))


# ---------------------------------------------------------------- helpers

def run_through(setup, checks, folder=None, tabs=False, desktop=None, quick_launch=None,
                progress_shot=False):
    """Main page → Install → the last page; returns that page's name."""
    checks.require(setup.wait_page("MainPage", timeout=90000, shot=False) == "MainPage",
                   "the main page shows")
    setup.shot("MainPage-welcome" if tabs else "MainPage")
    if tabs or folder is not None or desktop is not None or quick_launch is not None:
        checks.that(setup.select_tab(1).ok, "the licence tab can be chosen")
        checks.that(setup.driver("wait-control", SETUP_CLASS, "LicensePage", timeout=5000).ok,
                    "the licence page shows")
        if tabs:
            setup.shot("MainPage-license")
        checks.that(setup.select_tab(2).ok, "the options tab can be chosen")
        checks.that(setup.driver("wait-control", SETUP_CLASS, "InstallFolder", timeout=5000).ok,
                    "the options page shows")
        if folder is not None:
            checks.that(setup.install_button_after("InstallFolder", folder, True),
                        "Install is enabled for the folder %r" % folder)
        if desktop is not None:
            setup.driver("set-check", SETUP_CLASS, "CreateDesktopShortcut", int(desktop))
        if quick_launch is not None:
            setup.driver("set-check", SETUP_CLASS, "CreateQuickLaunchShortcut", int(quick_launch))
        if tabs:
            setup.shot("MainPage-options")
    checks.require(setup.click("InstallCmd").ok, "Install can be clicked")
    if progress_shot:
        if setup.wait_page("FileTransferPage", timeout=30000, shot=False):
            # A moment later the bar, the percentage and the time have moved.
            time.sleep(1.5)
            setup.shot("FileTransferPage")
    page = setup.wait_page(LAST_PAGES, timeout=600000)
    checks.require(page is not None, "a last page shows after the copy")
    return page


def install_defaults(ctx, wine, checks, test, variant="default", **options):
    setup = Installer(wine, ctx.setup(variant), ctx.screens, test)
    setup.start()
    page = run_through(setup, checks, **options)
    checks.require(page == "SuccessPage", "the installation succeeds (shown: %s)" % page)
    checks.equal(setup.quit(), 0, "exit code after Quit on the success page")
    return setup


def install_fails(ctx, wine, checks, test, what, variant="default", **options):
    """Runs an installation that must end on the failure page, then quits."""
    setup = Installer(wine, ctx.setup(variant), ctx.screens, test)
    setup.start()
    page = run_through(setup, checks, **options)
    checks.equal(page, "FailurePage", "%s ends on the failure page" % what)
    checks.equal(setup.quit(), 0, "exit code after Quit on the failure page")


def check_files(wine, checks, folder, files, present=True):
    for relative, size, date in files:
        path = wine.host_path(folder + "\\" + relative.replace("/", "\\"))
        if not present:
            checks.that(not os.path.exists(path), "%s is removed" % relative)
            continue
        if not checks.that(os.path.isfile(path), "%s is installed" % relative):
            continue
        info = os.stat(path)
        checks.equal(info.st_size, size, "size of %s" % relative)
        expected = int(date.timestamp() * 1_000_000)
        actual = info.st_mtime_ns // 1000
        checks.that(abs(actual - expected) <= 1, "modification time of %s: %d µs, expected %d µs"
                    % (relative, actual, expected))


def nothing_left(wine, checks, before, what, allowed=()):
    after = snapshot.take(wine)
    left = product_traces(snapshot.diff(before, after)).without(list(allowed))
    checks.that(left.empty(), "%s: nothing of the product is left, but:\n%s" % (what, left.report()))


def registered_classes(wine):
    """The product's registrations under the classes roots, as two lists:
    file types (an extension key naming a class that the product opens) and
    URL protocols (a class with "URL Protocol" that the product opens)."""
    keys = {}
    for root in (r"HKLM\Software\Classes", r"HKCU\Software\Classes"):
        keys.update(snapshot.read_registry(wine, root))
    opened = set()
    for key, values in keys.items():
        head, sep, _ = key.lower().partition("\\shell\\")
        if sep and any(PRODUCT_EXE.lower() in data.lower() for _, data in values.values()):
            opened.add(head)
    protocols = sorted(k for k in opened if "url protocol" in {n.lower() for n in keys.get(
        next((key for key in keys if key.lower() == k), ""), {})})
    file_types = []
    for key, values in keys.items():
        root, _, name = key.rpartition("\\")
        target = values.get("", ("", ""))[1]
        if name.startswith(".") and target and (root + "\\" + target).lower() in opened:
            file_types.append(name)
    return sorted(file_types), protocols


# ---------------------------------------------------------------- tests

def test_full_install(ctx):
    """Defaults through both processes; the entry, lists, files, shortcuts and
    registrations read back; Run in the child gives 41 and the parent starts
    the product."""
    checks = Checks("full_install")
    files = ctx.files()
    with ctx.session("full_install") as wine:
        setup = Installer(wine, ctx.setup(), ctx.screens, "full_install")
        parent = setup.start()
        checks.require(setup.wait_page("MainPage", timeout=90000, shot=False) == "MainPage",
                       "the main page shows")
        windows = setup.driver("windows", SETUP_CLASS)
        pids = set(windows.all("pid"))
        checks.that(len(pids) == 2, "two installer processes, each with a main window (%s)"
                    % windows.output.strip().replace("\n", " "))
        checks.that(windows.all("visible").count("0") == 1,
                    "the first process's window stays hidden")
        checks.equal(setup.driver("info", SETUP_CLASS).get("title"), "%s Setup" % PRODUCT_NAME,
                     "window caption")
        checks.equal(setup.text("Header/Text"), ctx.en["InstallLabel"].replace("{0}", "Vorn Demo 1.0"),
                     "header text")
        setup.shot("MainPage-welcome")
        checks.equal(setup.text("Title"), ctx.en["WelcomeTitle"].replace("{0}", PRODUCT_NAME),
                     "welcome title")
        checks.that(setup.select_tab(1).ok, "the licence tab")
        setup.shot("MainPage-license")
        checks.that(setup.select_tab(2).ok, "the options tab")
        checks.that(setup.driver("wait-control", SETUP_CLASS, "InstallFolder", timeout=5000).ok,
                    "the options page shows")
        setup.shot("MainPage-options")
        checks.equal(setup.text("InstallFolder"), DEFAULT_FOLDER, "default install folder")
        checks.equal(setup.text("ProgramGroup"), PRODUCT_NAME, "default program group")
        checks.that(setup.checked("CreateDesktopShortcut"), "desktop shortcut on by default")
        checks.that(not setup.checked("CreateQuickLaunchShortcut"), "quick launch off by default")
        checks.equal(setup.text("InstallFolderLabel"),
                     ctx.en["InstallFolderLabel"].replace("{0}", PRODUCT_NAME), "folder label")
        checks.require(setup.click("InstallCmd").ok, "Install can be clicked")
        page = setup.wait_page(LAST_PAGES, timeout=600000)
        checks.require(page == "SuccessPage", "the success page follows (shown: %s)" % page)
        checks.equal(without_mnemonic(setup.text("RunCmd")),
                     without_mnemonic(ctx.en["RunButton"].replace("{0}", PRODUCT_NAME)), "Run button")
        checks.equal(setup.text("Message"), ctx.en["SuccessMessage"].replace("{0}", PRODUCT_NAME),
                     "success message")

        entry = uninstall_entry(wine)
        checks.require(entry is not None, "the uninstall entry exists")
        exe = DEFAULT_FOLDER + "\\" + PRODUCT_EXE
        total = sum(size for _, size, _ in files)
        expected = {
            "UninstallString": ("sz", '"%s" /Uninstall' % exe),
            "DisplayName": ("sz", PRODUCT_NAME),
            "Contact": ("sz", "support@vorn-software.example"),
            "Comments": ("sz", ctx.en["DemoDescription"]),
            "DisplayIcon": ("sz", exe),
            "DisplayVersion": ("sz", "1.0 "),
            "Publisher": ("sz", COMPANY),
            "HelpLink": ("sz", "https://www.vorn-software.example/demo/"),
            "URLInfoAbout": ("sz", "https://www.vorn-software.example/support/"),
            "URLUpdateInfo": ("sz", "https://www.vorn-software.example/demo/updates"),
            "Size": ("sz", ""),
            "InstallDate": ("sz", local_today()),
            "InstallLocation": ("sz", DEFAULT_FOLDER + "\\"),
            "EstimatedSize": ("dword", str((total // 1024) & 0xFFFFFFFF)),
            "NoModify": ("dword", "1"),
            "NoRepair": ("dword", "1"),
            "VornLib.InstallFolder": ("sz", DEFAULT_FOLDER),
            "VornLib.ProgramGroup": ("sz", PRODUCT_NAME),
            "VornLib.UninstallProgram": ("sz", exe),
        }
        for name, value in expected.items():
            checks.equal(entry.get(name), value, "uninstall value " + name)
        checks.equal(entry["FilesList"], [path for path, _, _ in files], "FilesList")
        check_files(wine, checks, DEFAULT_FOLDER, files)

        group = COMMON_PROGRAMS + "\\" + PRODUCT_NAME
        shortcuts = [(group + "\\Vorn Demo.lnk", exe),
                     (group + "\\" + ctx.en["DemoReadMeShortcut"] + ".lnk", DEFAULT_FOLDER + "\\ReadMe.txt"),
                     (group + "\\" + ctx.en["DemoGuideShortcut"] + ".lnk",
                      DEFAULT_FOLDER + "\\Documentation\\Guide.html")]
        listed = entry["ShortcutsList"]
        checks.equal(listed[:3], [path for path, _ in shortcuts], "ShortcutsList (program group)")
        checks.that(len(listed) == 4 and listed[3].lower().endswith("\\desktop\\vorn demo.lnk"),
                    "ShortcutsList ends with the desktop shortcut: %r" % listed[3:])
        if len(listed) == 4:
            shortcuts.append((listed[3], exe))
        for path, target in shortcuts:
            checks.that(lnk_target_matches(wine.host_path(path), target),
                        "%s exists and starts %s" % (path, target))

        checks.that(snapshot.read_registry(wine, APP_PATHS_KEY), "the product's App Paths key")
        file_types, protocols = registered_classes(wine)
        checks.that(file_types, "a file type of the product is registered")
        checks.that(protocols, "a URL protocol of the product is registered")

        # Run: the elevated child ends with 41, and the parent starts the product.
        run = setup.click("RunCmd", "--wait-exit", "60000")
        checks.equal(run.get("exit"), "41", "exit code of the elevated child after Run")
        checks.equal(setup.wait_exit(60), 0, "exit code of the first process")
        started = setup.driver("wait-process", PRODUCT_EXE, timeout=30000)
        checks.that(started.ok, "the parent started the product")
        if setup.driver("wait-window", PRODUCT_CLASS, timeout=20000).ok:
            setup.shot("product")
            setup.driver("close", PRODUCT_CLASS)
    checks.fail()


def test_options(ctx):
    """Folder and group validation, the picked-group rule, and shortcut
    choices remembered for the next run (and honoured by the installation)."""
    checks = Checks("options")
    with ctx.session("options") as wine:
        # A group that exists, to pick from the list.
        os.makedirs(wine.host_path(COMMON_PROGRAMS + "\\Tools"), exist_ok=True)
        setup = Installer(wine, ctx.setup(), ctx.screens, "options")
        setup.start()
        checks.require(setup.wait_page("MainPage", timeout=90000) == "MainPage", "the main page shows")
        setup.select_tab(2)
        checks.require(setup.driver("wait-control", SETUP_CLASS, "InstallFolder", timeout=5000).ok,
                       "the options page shows")
        bad_folders = ["Program Files\\Vorn Demo",           # no drive
                       "C:\\Program Files\\Vorn Demo\\",     # trailing separator
                       "C:\\Program Files\\Vorn*Demo",       # a wildcard
                       "C:\\Program Files\\Vorn?Demo",
                       "C:Vorn Demo",                        # drive-relative
                       "C:.",
                       "C:..\\Windows",
                       "C:\\Program Files\\..\\Windows",     # a dotted segment
                       "C:\\Program Files\\.\\Vorn Demo",
                       "C:\\Program Files\\\\Vorn Demo",
                       ""]
        # Each bad text follows a good one, so that every verdict is fresh.
        good_folder, good_group = "D:\\Apps\\Vorn Demo", "Vorn Software\\Vorn Demo"
        for folder in bad_folders:
            checks.that(setup.install_button_after("InstallFolder", good_folder, True),
                        "Install is enabled for the folder %r" % good_folder)
            checks.that(setup.install_button_after("InstallFolder", folder, False),
                        "Install is disabled for the folder %r" % folder)
            if folder == bad_folders[0]:
                setup.shot("MainPage-invalid-folder")
        checks.that(setup.install_button_after("InstallFolder", good_folder, True),
                    "a corrected folder enables Install")

        # The folder browser: canceled it changes nothing; a folder chosen in
        # it becomes that folder and the product's display name.
        checks.that(setup.install_button_after("InstallFolder", DEFAULT_FOLDER, True),
                    "the default folder enables Install")
        for answer, expected in (("Cancel", DEFAULT_FOLDER), ("OK", "C:\\" + PRODUCT_NAME)):
            checks.require(setup.click("BrowseFolder").ok, "Browse can be clicked")
            box = setup.driver("wait-dialog", "--owner", SETUP_CLASS, timeout=10000)
            checks.require(box.ok, "the folder browser opens")
            if answer == "Cancel":
                # It opens on the nearest existing folder above the proposed one.
                setup.shot("BrowseInstallFolderDialog-opened")
            if answer == "OK":
                # The tree's first item is the computer, its first child drive C:.
                checks.that(setup.driver("tree-select", "0/0", "--owner", SETUP_CLASS, timeout=5000).ok,
                            "drive C: can be chosen in the browser")
                setup.shot("BrowseInstallFolderDialog")
            setup.driver("press-dialog", answer, "--owner", SETUP_CLASS, timeout=10000)
            checks.that(wait_until(lambda: setup.text("InstallFolder") == expected, 5),
                        "after %s in the browser the folder is %r (it is %r)"
                        % (answer, expected, setup.text("InstallFolder")))
        checks.that(setup.enabled("InstallCmd"), "the browsed folder enables Install")
        for group in ("\\Vorn Demo", "/Vorn Demo", "C:\\Vorn Demo", "C:Vorn", "Vorn Demo\\", "Vorn|Demo"):
            checks.that(setup.install_button_after("ProgramGroup", good_group, True),
                        "Install is enabled for the group %r" % good_group)
            checks.that(setup.install_button_after("ProgramGroup", group, False),
                        "Install is disabled for the group %r" % group)
        checks.that(setup.install_button_after("ProgramGroup", good_group, True),
                    "a relative group enables Install")

        items = setup.driver("items", SETUP_CLASS, "ProgramGroup").all("item")
        checks.that("Tools" in items, "the group list holds the Programs sub-folders: %r" % items)
        picked = setup.driver("select-item", SETUP_CLASS, "ProgramGroup", "Tools")
        checks.that(picked.ok, "a group can be picked from the list")
        typed = setup.set_text("ProgramGroup", "Tools")
        checks.equal(setup.text("ProgramGroup"), "Tools\\" + PRODUCT_NAME,
                     "typing after picking a group (%s)" % typed.get("text"))
        setup.set_text("ProgramGroup", "Tools\\Vorn Demo 2")
        checks.equal(setup.text("ProgramGroup"), "Tools\\Vorn Demo 2",
                     "the display name is added once only")
        checks.that(setup.enabled("InstallCmd"), "Install is enabled for the picked group")
        setup.shot("MainPage-group-picked")

        setup.driver("set-check", SETUP_CLASS, "CreateQuickLaunchShortcut", 1)
        setup.driver("set-check", SETUP_CLASS, "CreateQuickLaunchShortcut", 0)
        setup.driver("set-check", SETUP_CLASS, "CreateDesktopShortcut", 0)
        setup.shot("MainPage-shortcuts-cleared")
        checks.equal(setup.quit(), 0, "exit code after Quit on the main page")
        checks.that(uninstall_entry(wine) is None, "Quit installs nothing")

        # The next run remembers both boxes cleared; installing then makes
        # only the program group's shortcuts.
        setup = Installer(wine, ctx.setup(), ctx.screens, "options-second-run")
        setup.start()
        checks.require(setup.wait_page("MainPage", timeout=90000, shot=False) == "MainPage",
                       "the main page shows again")
        setup.select_tab(2)
        setup.driver("wait-control", SETUP_CLASS, "CreateDesktopShortcut", timeout=5000)
        setup.shot("MainPage-options")
        checks.that(not setup.checked("CreateDesktopShortcut"), "desktop shortcut stays cleared")
        checks.that(not setup.checked("CreateQuickLaunchShortcut"), "quick launch stays cleared")
        checks.require(setup.click("InstallCmd").ok, "Install can be clicked")
        page = setup.wait_page(LAST_PAGES, timeout=600000)
        checks.require(page == "SuccessPage", "the installation succeeds (shown: %s)" % page)
        entry = uninstall_entry(wine)
        listed = entry["ShortcutsList"] if entry else []
        checks.equal(len(listed), 3, "only the program group's shortcuts: %r" % listed)
        checks.that(all(path.startswith(COMMON_PROGRAMS + "\\" + PRODUCT_NAME + "\\") for path in listed),
                    "every shortcut is in the program group")
        setup.quit()
    checks.fail()


def cancel_run(ctx, wine, checks, answer, test):
    setup = Installer(wine, ctx.setup("big"), ctx.screens, test)
    setup.start()
    checks.require(setup.wait_page("MainPage", timeout=90000, shot=False) == "MainPage",
                   "the main page shows")
    checks.require(setup.click("InstallCmd").ok, "Install can be clicked")
    checks.require(setup.wait_page("FileTransferPage", timeout=30000, shot=False) is not None,
                   "the transfer page shows")
    # Some progress first, so that there is something to keep or to undo.
    wait_until(lambda: (setup.text("ProgressionLabel") or "0").lstrip()[:1] not in ("0", ""), 20)
    setup.shot("FileTransferPage")
    percent = setup.text("ProgressionLabel") or ""
    checks.that(percent[:1].isdigit() and "%" in percent, "the percentage shows: %r" % percent)
    remaining = setup.text("ProgressionTime") or ""
    checks.that(remaining.startswith(ctx.en["TimeRemaining"]) and len(remaining) > len(ctx.en["TimeRemaining"]) + 1,
                "the time remaining shows: %r" % remaining)
    checks.require(setup.click("CancelCmd").ok, "Cancel can be clicked during the copy")
    box = setup.driver("wait-dialog", "--owner", SETUP_CLASS, timeout=10000)
    checks.require(box.ok, "the cancel confirmation shows")
    checks.that(any(PRODUCT_NAME in text for text in box.all("text")),
                "the confirmation names the product: %r" % box.all("text"))
    setup.shot("CancelConfirmation")
    checks.require(setup.driver("press-dialog", answer, "--owner", SETUP_CLASS, timeout=10000).ok,
                   "the confirmation can be answered %s" % answer)
    return setup


def test_cancel(ctx):
    """Cancel during the copy: No keeps copying to success; Yes leaves nothing."""
    checks = Checks("cancel")
    files = ctx.files("big")
    with ctx.session("cancel-no") as wine:
        setup = cancel_run(ctx, wine, checks, "No", "cancel-no")
        page = setup.wait_page(LAST_PAGES, timeout=600000)
        checks.equal(page, "SuccessPage", "after No the copy goes on and succeeds")
        check_files(wine, checks, DEFAULT_FOLDER, files)
        checks.that(uninstall_entry(wine) is not None, "the installation is recorded")
        setup.quit()
    with ctx.session("cancel-yes") as wine:
        before = snapshot.take(wine)
        setup = cancel_run(ctx, wine, checks, "Yes", "cancel-yes")
        page = setup.wait_page(LAST_PAGES, timeout=600000)
        checks.equal(page, "CanceledPage", "after Yes the canceled page shows")
        checks.equal(setup.quit(), 0, "exit code after Quit on the canceled page")
        check_files(wine, checks, DEFAULT_FOLDER, files, present=False)
        nothing_left(wine, checks, before, "after a canceled installation")
    checks.fail()


def tmpfs_drive(wine, letter, size):
    """A small tmpfs mounted as a Wine drive, or None when mounting is not
    allowed here."""
    mount_point = os.path.join(wine.work_dir, "small-disk")
    os.makedirs(mount_point, exist_ok=True)
    # One left mounted by an interrupted run goes first.
    subprocess.run(["umount", mount_point], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    mounted = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=%s" % size, "tmpfs", mount_point],
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0
    if not mounted:
        return None
    link = os.path.join(wine.prefix, "dosdevices", letter.lower() + ":")
    if os.path.lexists(link):
        os.unlink(link)
    os.symlink(mount_point, link)
    return mount_point


def test_failure(ctx):
    """A read-only target file, a full disk, and a file list that would write
    outside the install folder: the failure page, and nothing of the product
    left."""
    checks = Checks("failure")
    files = ctx.files()
    with ctx.session("failure-escape") as wine:
        before = snapshot.take(wine)
        install_fails(ctx, wine, checks, "failure-escape", "a list entry outside the install folder", variant="escape")
        checks.that(not os.path.exists(wine.host_path("C:\\Program Files\\Escaped.txt")),
                    "nothing is written outside the install folder")
        nothing_left(wine, checks, before, "after a list that leaves the install folder")
    with ctx.session("failure-read-only") as wine:
        # The last file of the list exists read-only, so that the files
        # copied before it are there to be undone.
        last = DEFAULT_FOLDER + "\\" + files[-1][0].replace("/", "\\")
        target = wine.host_path(last)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "w") as f:
            f.write("a file the user protected\n")
        wine.wine("cmd", "/c", "attrib", "+r", last)
        # Wine keeps the read-only attribute as the file's Unix mode, which
        # root may write anyway: the immutable flag makes it hold for root.
        immutable = subprocess.run(["chattr", "+i", target], stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL).returncode == 0
        try:
            before = snapshot.take(wine)
            install_fails(ctx, wine, checks, "failure-read-only", "a read-only target")
            check_files(wine, checks, DEFAULT_FOLDER, files[:-1], present=False)
            with open(target) as f:
                checks.equal(f.read(), "a file the user protected\n", "the read-only file is untouched")
            nothing_left(wine, checks, before, "after a read-only target")
        finally:
            if immutable:
                subprocess.run(["chattr", "-i", target], check=False)
    with ctx.session("failure-disk-full") as wine:
        mount_point = tmpfs_drive(wine, "x", "256k")
        try:
            if mount_point is None:
                print("  note: cannot mount a tmpfs here (not root or no permission); "
                      "the disk-full case is skipped", flush=True)
            else:
                before = snapshot.take(wine)
                install_fails(ctx, wine, checks, "failure-disk-full", "a full disk", folder="X:\\Vorn Demo")
                checks.equal(os.listdir(mount_point), [], "the small disk is empty again")
                nothing_left(wine, checks, before, "after a full disk")
        finally:
            if mount_point is not None:
                wine.close()
                subprocess.run(["umount", mount_point], check=False)
    checks.fail()


def test_upgrade(ctx):
    """An older version installed first; the newer installer removes it with
    the old product's own quiet update, replaces its files, and one entry
    remains."""
    checks = Checks("upgrade")
    old_files = ctx.files("old")
    new_files = ctx.files()
    with ctx.session("upgrade") as wine:
        install_defaults(ctx, wine, checks, "upgrade-old", variant="old")
        entry = uninstall_entry(wine)
        checks.equal(entry and entry.get("DisplayVersion"), ("sz", "0.9 "), "old version recorded")
        old_only = DEFAULT_FOLDER + "\\" + demo_package.OLD_ONLY_FILE.split("/", 1)[1].replace("/", "\\")
        checks.require(os.path.exists(wine.host_path(old_only)), "the old version's own file is installed")
        check_files(wine, checks, DEFAULT_FOLDER, old_files)

        setup = Installer(wine, ctx.setup(), ctx.screens, "upgrade-new")
        setup.start()
        checks.require(setup.wait_page("MainPage", timeout=90000) == "MainPage", "the main page shows")
        setup.select_tab(2)
        setup.driver("wait-control", SETUP_CLASS, "InstallFolder", timeout=5000)
        checks.equal(setup.text("InstallFolder"), DEFAULT_FOLDER, "the installed folder is offered")
        setup.click("InstallCmd")
        page = setup.wait_page(LAST_PAGES, timeout=600000)
        checks.require(page == "SuccessPage", "the upgrade succeeds (shown: %s)" % page)
        setup.quit()
        checks.that(not os.path.exists(wine.host_path(old_only)),
                    "the old version's own file was removed by its quiet update")
        check_files(wine, checks, DEFAULT_FOLDER, new_files)
        with open(wine.host_path(DEFAULT_FOLDER + "\\ReadMe.txt"), encoding="utf-8", errors="replace") as f:
            checks.that("Release 0.9" not in f.read(), "ReadMe.txt is the new version's")
        entry = uninstall_entry(wine)
        checks.equal(entry and entry.get("DisplayVersion"), ("sz", "1.0 "), "new version recorded")
        checks.equal(len(product_entries(wine)), 1, "one uninstall entry of the product")
        checks.equal(entry and entry["FilesList"], [p for p, _, _ in new_files], "FilesList of the new version")
    checks.fail()


def uninstall_command(entry, name="UninstallString"):
    command = entry[name][1]
    exe, _, switches = command[1:].partition('" ')
    return exe, switches.split()


def test_uninstall(ctx):
    """The entry's UninstallString: declined, then confirmed, then quiet;
    files, shortcuts, group, keys and (through the batch) program and
    folder are gone."""
    checks = Checks("uninstall")
    files = ctx.files()
    with ctx.session("uninstall") as wine:
        before = snapshot.take(wine)
        for round_name, quiet in (("interactive", False), ("quiet", True)):
            install_defaults(ctx, wine, checks, "uninstall-%s-install" % round_name)
            entry = uninstall_entry(wine)
            checks.require(entry is not None, "installed")
            exe, switches = uninstall_command(entry)
            checks.equal(switches, ["/Uninstall"], "the uninstall switches")
            if not quiet:
                product = wine.start(exe, *switches)
                box = wine.driver("wait-dialog", timeout=30000)
                checks.require(box.ok, "the uninstallation asks for confirmation")
                wine.screenshot(os.path.join(ctx.screens, "uninstall-confirmation.png"))
                wine.driver("press-dialog", "No", timeout=10000)
                checks.equal(product.wait(timeout=60), 8, "exit code when declined")
                checks.that(uninstall_entry(wine) is not None, "declining removes nothing")
                product = wine.start(exe, *switches)
                checks.require(wine.driver("press-dialog", "Yes", timeout=30000).ok, "confirmed")
                done = wine.driver("wait-dialog", timeout=30000)
                checks.that(done.ok, "the uninstallation reports its success")
                wine.screenshot(os.path.join(ctx.screens, "uninstall-succeeded.png"))
                wine.driver("press-dialog", "OK", timeout=10000)
                checks.equal(product.wait(timeout=60), 0, "exit code of the uninstallation")
            else:
                product = wine.start(exe, *(switches + ["/Quiet"]))
                checks.equal(product.wait(timeout=120), 0, "exit code of the quiet uninstallation")
                checks.that(not wine.driver("wait-dialog", timeout=1000).ok, "no message when quiet")
            # The batch file removes the program and the folder once the
            # program has ended.
            gone = wait_until(lambda: not os.path.exists(wine.host_path(DEFAULT_FOLDER)), 30)
            checks.that(gone, "%s: the install folder is removed (left: %r)" % (
                round_name, os.listdir(wine.host_path(DEFAULT_FOLDER)) if not gone else []))
            check_files(wine, checks, DEFAULT_FOLDER, files, present=False)
            checks.that(uninstall_entry(wine) is None, "%s: the entry is removed" % round_name)
            for path in entry["ShortcutsList"]:
                checks.that(not os.path.exists(wine.host_path(path)), "%s: %s is removed" % (round_name, path))
            checks.that(not os.path.exists(wine.host_path(COMMON_PROGRAMS + "\\" + PRODUCT_NAME)),
                        "%s: the program group is removed" % round_name)
            checks.that(not snapshot.read_registry(wine, APP_PATHS_KEY), "%s: App Paths removed" % round_name)
            checks.equal(registered_classes(wine), ([], []), "%s: file types and protocols removed" % round_name)
            # The batch file also removes the company folder above the
            # install folder, which the product left empty.
            checks.that(wait_until(lambda: not os.path.exists(
                wine.host_path("C:\\Program Files\\" + COMPANY)), 30),
                "%s: the emptied company folder is removed" % round_name)
            nothing_left(wine, checks, before, "after the %s uninstallation" % round_name)
    checks.fail()


def test_instances(ctx):
    """A second start brings the first window forward and ends with 0; a
    running product makes the installer ask to close it and end with 0."""
    checks = Checks("instances")
    with ctx.session("instances") as wine:
        setup = Installer(wine, ctx.setup(), ctx.screens, "instances")
        setup.start()
        checks.require(setup.wait_page("MainPage", timeout=90000, shot=False) == "MainPage",
                       "the main page shows")
        setup.driver("show", SETUP_CLASS, "minimize")
        checks.require(wait_until(lambda: setup.driver("info", SETUP_CLASS).get("iconic") == "1", 5),
                       "the first window can be minimized")
        setup.shot("minimized")
        second = Installer(wine, ctx.setup(), ctx.screens, "instances-second")
        second.start()
        checks.equal(second.wait_exit(60), 0, "exit code of the second instance")
        info = setup.driver("info", SETUP_CLASS)
        checks.that(wait_until(lambda: setup.driver("info", SETUP_CLASS).get("iconic") == "0", 5),
                    "the first window is restored: %s" % info.output.strip().replace("\n", " "))
        checks.equal(setup.driver("info", SETUP_CLASS).get("foreground"), "1",
                     "the first window is in front")
        setup.shot("MainPage-brought-forward")
        checks.equal(len(set(setup.driver("windows", SETUP_CLASS).all("pid"))), 2,
                     "still only the first installer's two processes")
        checks.equal(setup.quit(), 0, "exit code of the first instance")

        # The product running: its single-instance marker exists.
        product = wine.start(wine.windows_path(ctx.paths.product))
        checks.require(setup.driver("wait-window", PRODUCT_CLASS, timeout=30000).ok,
                       "the product runs")
        setup = Installer(wine, ctx.setup(), ctx.screens, "instances-product-running")
        setup.start()
        box = setup.driver("wait-dialog", timeout=60000)
        checks.require(box.ok, "a message shows while the product runs")
        setup.shot("CloseBeforeUninstall")
        checks.that(any(PRODUCT_NAME in text for text in box.all("text")),
                    "the message names the product: %r" % box.all("text"))
        checks.that(not setup.driver("wait-window", SETUP_CLASS, timeout=500).ok,
                    "no installer page is shown")
        setup.driver("press-dialog", "OK", timeout=10000)
        checks.equal(setup.wait_exit(60), 0, "exit code when the product runs")
        setup.driver("close", PRODUCT_CLASS)
        try:
            product.wait(timeout=30)
        except subprocess.TimeoutExpired:
            product.kill()
    checks.fail()


def test_language_and_corrupt(ctx):
    """/Language=fr shows French pages and is remembered; the product's
    -uninstall in lower case works; a corrupt package ends on the failure
    page with nothing left."""
    checks = Checks("language_and_corrupt")
    with ctx.session("language") as wine:
        setup = Installer(wine, ctx.setup(), ctx.screens, "language-fr")
        setup.start("/Language=fr")
        checks.require(setup.wait_page("MainPage", timeout=90000, shot=False) == "MainPage",
                       "the main page shows")
        setup.shot("MainPage-welcome")
        checks.equal(without_mnemonic(setup.text("InstallCmd")), without_mnemonic(ctx.fr["InstallButton"]),
                     "the Install button in French")
        checks.equal(setup.text("Title"), ctx.fr["WelcomeTitle"].replace("{0}", PRODUCT_NAME),
                     "the welcome title in French")
        setup.select_tab(2)
        setup.driver("wait-control", SETUP_CLASS, "InstallFolder", timeout=5000)
        setup.shot("MainPage-options")
        checks.equal(setup.quit(), 0, "exit code after Quit")

        setup = Installer(wine, ctx.setup(), ctx.screens, "language-remembered")
        setup.start()
        checks.require(setup.wait_page("MainPage", timeout=90000) == "MainPage", "the main page shows")
        checks.equal(without_mnemonic(setup.text("InstallCmd")), without_mnemonic(ctx.fr["InstallButton"]),
                     "French is remembered for the next run")
        setup.click("InstallCmd")
        page = setup.wait_page(LAST_PAGES, timeout=600000)
        checks.require(page == "SuccessPage", "the installation succeeds (shown: %s)" % page)
        checks.equal(setup.text("Message"), ctx.fr["SuccessMessage"].replace("{0}", PRODUCT_NAME),
                     "the success message in French")
        setup.quit()

        # The installed product removes itself with the switches in lower case.
        entry = uninstall_entry(wine)
        exe, _ = uninstall_command(entry)
        product = wine.start(exe, "-uninstall", "-quiet")
        checks.equal(product.wait(timeout=120), 0, "exit code of -uninstall -quiet")
        checks.that(uninstall_entry(wine) is None, "-uninstall removed the entry")
        checks.that(wait_until(lambda: not os.path.exists(wine.host_path(DEFAULT_FOLDER)), 30),
                    "-uninstall removed the install folder")

        before = snapshot.take(wine)
        install_fails(ctx, wine, checks, "corrupt", "a corrupt package", variant="corrupt")
        nothing_left(wine, checks, before, "after a corrupt package")
    checks.fail()

# ---------------------------------------------------------------- no trace

# Wine's churn without its temporary folder: what an installation leaves in
# the temporary folder counts as a trace here.
NOISE_BUT_TEMP = [p for p in snapshot.WINE_NOISE if "Temp" not in p]
# The choices the installer remembers for its next run: set on purpose.
INSTALLER_PREFERENCES = [p for p in NOT_THE_PRODUCT if p not in snapshot.WINE_NOISE]


def traces(before, after, allowed=()):
    """The changes from before to after that Wine's churn (but for the
    temporary folder) and the installer's remembered choices do not explain."""
    return snapshot.diff(before, after).without(
        NOISE_BUT_TEMP + INSTALLER_PREFERENCES + list(allowed))


def quiet_uninstall(wine, checks, what):
    """Runs the entry's QuietUninstallString and waits until the removal of
    the program and its folder, which goes on after the program ended."""
    entry = uninstall_entry(wine)
    checks.require(entry is not None and "QuietUninstallString" in entry,
                   "%s: the entry has a quiet uninstall command" % what)
    exe, switches = uninstall_command(entry, "QuietUninstallString")
    checks.equal(switches, ["/Uninstall", "/Quiet"], "%s: the quiet uninstall switches" % what)
    checks.equal(wine.start(exe, *switches).wait(timeout=180), 0,
                 "%s: exit code of the quiet uninstall" % what)
    checks.require(uninstall_entry(wine) is None, "%s: the entry is removed" % what)
    # The next installation must not start while the batch file still
    # deletes the folder: it would take the new files with it.
    checks.require(wait_until(lambda: not os.path.exists(wine.host_path(DEFAULT_FOLDER)), 60),
                   "%s: the install folder is removed" % what)
    # The batch file ("<temporary name> Vorn Demo Uninstall.cmd") removes
    # the emptied company folder after the install folder and deletes itself
    # last.
    users = wine.drive_c("users")
    checks.require(wait_until(lambda: not any(name.endswith(" Uninstall.cmd")
                                              for _, _, names in os.walk(users) for name in names),
                              30),
                   "%s: the uninstall batch file has finished" % what)


def install_unattended(ctx, wine, checks, what, quick_launch):
    process = wine.start(wine.windows_path(ctx.setup()), "/Unattended",
                         "/QuickLaunchShortcut=%d" % quick_launch)
    checks.equal(process.wait(timeout=300), 0, "%s: exit code of /Unattended" % what)
    entry = uninstall_entry(wine)
    checks.require(entry is not None, "%s: the entry is written" % what)
    checks.equal(any("Quick Launch" in path for path in entry["ShortcutsList"]), bool(quick_launch),
                 "%s: a quick-launch shortcut is listed: %r" % (what, entry["ShortcutsList"]))


def test_no_trace_cycles(ctx):
    """Twenty installations and quiet removals in one prefix (the first and
    the last through the pages): the registry and the file tree, the
    temporary folder included, end as they began."""
    checks = Checks("no_trace_cycles")
    cycles = 20
    with ctx.session("no_trace_cycles") as wine:
        # Windows has the user's quick-launch folder from the start; a fresh
        # Wine prefix does not, and the installer makes no folder for an
        # optional shortcut.
        roaming = wine.host_path(wine.wine("cmd", "/c", "echo", "%APPDATA%")[1].strip())
        os.makedirs(os.path.join(roaming, "Microsoft", "Internet Explorer", "Quick Launch"),
                    exist_ok=True)
        before = snapshot.take(wine)
        after_first = None
        for cycle in range(1, cycles + 1):
            started = time.time()
            what = "cycle %d" % cycle
            if cycle in (1, cycles):
                install_defaults(ctx, wine, checks, "no_trace-cycle%d" % cycle)
            else:
                # The quick-launch shortcut too, on all but the last of
                # these; that one sets the remembered choice back, so the
                # last cycle's pages start as the first one's did.
                install_unattended(ctx, wine, checks, what, int(cycle < cycles - 1))
            quiet_uninstall(wine, checks, what)
            if cycle == 1:
                after_first = snapshot.take(wine)
            print("%s: %.1f s" % (what, time.time() - started), flush=True)
            checks.fail()
        after = snapshot.take(wine)
        left = traces(before, after)
        checks.that(left.empty(), "after %d cycles something is left:\n%s"
                    % (cycles, left.report()))
        # Every cycle after the first changes nothing but the choices the
        # switches set on purpose (the quick-launch shortcut, which the
        # installer remembers): nothing accumulates.
        drift = snapshot.diff(after_first, after).without(NOISE_BUT_TEMP + INSTALLER_PREFERENCES)
        checks.that(drift.empty(), "cycles 2-%d changed what the first left:\n%s"
                    % (cycles, drift.report()))
    checks.fail()


def session_processes(wine, needle):
    """Linux process ids of this session's Wine processes whose command line
    holds the needle (the prefix tells them from other tests' processes)."""
    found = []
    for name in os.listdir("/proc"):
        if not name.isdigit():
            continue
        try:
            with open("/proc/%s/cmdline" % name, "rb") as f:
                command = f.read().replace(b"\0", b" ").decode("utf-8", "replace")
            with open("/proc/%s/environ" % name, "rb") as f:
                environment = f.read().split(b"\0")
        except OSError:
            continue
        if ("WINEPREFIX=" + wine.prefix).encode() in environment and needle.lower() in command.lower():
            found.append((int(name), command.strip()))
    return found


def without_lnk_times(taken):
    """The snapshot with the shortcuts' times left out: a shortcut is made
    when the installation ends, so two installations' differ by nature."""
    for path, (kind, size, mtime) in list(taken.files.items()):
        if path.lower().endswith(".lnk"):
            taken.files[path] = (kind, size, 0)
    return taken


def test_killed_installer(ctx):
    """The elevated installer killed in the middle of the copy: a rerun
    succeeds and ends as a clean installation does; a quiet removal then
    leaves nothing."""
    checks = Checks("killed_installer")
    files = ctx.files("big")
    setup_exe = ctx.setup("big")
    with ctx.session("killed_installer") as wine:
        before = snapshot.take(wine)
        setup = Installer(wine, setup_exe, ctx.screens, "killed")
        parent = setup.start()
        checks.require(setup.wait_page("MainPage", timeout=90000, shot=False) == "MainPage",
                       "the main page shows")
        checks.require(setup.click("InstallCmd").ok, "Install can be clicked")
        checks.require(setup.wait_page("FileTransferPage", timeout=30000, shot=False) is not None,
                       "the transfer page shows")
        # Well into the copy: some files are there, the large one is not whole.
        wait_until(lambda: (setup.text("ProgressionLabel") or "0").strip()[:2].rstrip("%").isdigit()
                   and int((setup.text("ProgressionLabel") or "0").strip()[:2].rstrip("%")) >= 10, 60)
        setup.shot("FileTransferPage")
        percent = setup.text("ProgressionLabel")
        children = session_processes(wine, "-LaunchedAsAdministrator")
        checks.require(len(children) == 1, "one elevated installer process: %r"
                       % session_processes(wine, os.path.basename(setup_exe)))
        os.kill(children[0][0], signal.SIGKILL)
        print("killed %s at %s" % (children[0], percent), flush=True)
        try:
            code = parent.wait(timeout=60)
        except subprocess.TimeoutExpired:
            code = None
        checks.that(code is not None, "the first process ends when the elevated one is killed")
        print("the first process ended with %r" % code, flush=True)
        folder = wine.host_path(DEFAULT_FOLDER)
        partial = sorted("%s (%d bytes)" % (os.path.relpath(os.path.join(top, name), folder),
                                            os.path.getsize(os.path.join(top, name)))
                         for top, _, names in os.walk(folder) for name in names)
        print("left by the killed copy: %s" % (", ".join(partial) or "nothing"), flush=True)
        checks.that(partial, "the killed copy had begun (files in the install folder)")

        install_defaults(ctx, wine, checks, "killed-rerun", variant="big")
        check_files(wine, checks, DEFAULT_FOLDER, files)
        rerun = snapshot.take(wine)
        quiet_uninstall(wine, checks, "after the rerun")
        left = traces(before, snapshot.take(wine))
        checks.that(left.empty(), "the quiet uninstall after the rerun leaves:\n%s" % left.report())

        # A clean installation into the same prefix: the rerun's end state
        # is the same, file by file (sizes and times) and value by value.
        install_defaults(ctx, wine, checks, "killed-clean", variant="big")
        differs = snapshot.diff(without_lnk_times(rerun),
                                without_lnk_times(snapshot.take(wine))).without(NOISE_BUT_TEMP)
        checks.that(differs.empty(), "the rerun's end state differs from a clean install's:\n%s"
                    % differs.report())
    checks.fail()


ACCESS_VIOLATION = 0xC0000005
CRASH_DUMP = "VornLib-CrashReport.dmp"


def test_worker_crash(ctx):
    """A processor fault in the copy's worker thread (a test-only copy of
    the installer, asked through the environment): the report box names the
    dump, the dump is written, the process ends with the exception code; a
    rerun of the shipped installer repairs everything and a quiet removal
    leaves nothing but the dump."""
    checks = Checks("worker_crash")
    if not ctx.args.faulting_stub:
        print("skipped: the faulting installer copy is not built")
        raise SystemExit(SKIPPED)
    paths = copy.copy(ctx.paths)
    paths.stub = ctx.args.faulting_stub
    faulting = demo_package.build_setup(paths, os.path.join(ctx.work, "packages"), "default",
                                        ctx.standard_package, label="faulting")
    files = ctx.files()
    with ctx.session("worker_crash") as wine:
        before = snapshot.take(wine)
        temp = wine.wine("cmd", "/c", "echo", "%TEMP%")[1].strip()
        dump = wine.host_path(temp + "\\" + CRASH_DUMP)
        # The elevated copy itself, as the first process starts it, run by
        # the driver, which gives its exit code.
        wine.env["VORN_TEST_TRANSFER_FAULT"] = "1"
        log = os.path.join(wine.work_dir, "wine-%d.log" % len(wine.started))
        runner = wine.start(wine.windows_path(ctx.args.driver), "run", "--timeout", "180000",
                            wine.windows_path(faulting), "-LaunchedAsAdministrator",
                            "-AllowMultipleInstances")
        del wine.env["VORN_TEST_TRANSFER_FAULT"]
        setup = Installer(wine, faulting, ctx.screens, "worker_crash")
        checks.require(setup.wait_page("MainPage", timeout=90000, shot=False) == "MainPage",
                       "the main page shows")
        checks.require(setup.click("InstallCmd").ok, "Install can be clicked")
        box = setup.driver("wait-dialog", timeout=60000)
        checks.require(box.ok, "the crash report shows")
        setup.shot("CrashReport")
        checks.that(any(CRASH_DUMP in text for text in box.all("text")),
                    "the report names the dump: %r" % box.all("text"))
        setup.driver("press-dialog", "OK", timeout=10000)
        try:
            runner.wait(timeout=120)
        except subprocess.TimeoutExpired:
            pass
        with open(log, encoding="utf-8", errors="replace") as f:
            output = f.read()
        exits = [line[5:].strip() for line in output.splitlines() if line.startswith("exit=")]
        checks.equal(exits, [str(ACCESS_VIOLATION)], "the crashed installer's exit code")
        checks.that(os.path.isfile(dump) and os.path.getsize(dump) > 0,
                    "the dump is written: %s" % dump)
        folder = wine.host_path(DEFAULT_FOLDER)
        print("left by the crashed copy: %s" % (", ".join(sorted(
            os.path.relpath(os.path.join(top, name), folder)
            for top, _, names in os.walk(folder) for name in names)) or "nothing"), flush=True)

        install_defaults(ctx, wine, checks, "worker_crash-rerun")
        check_files(wine, checks, DEFAULT_FOLDER, files)
        quiet_uninstall(wine, checks, "after the rerun")
        # The dump stays: it is the user's to send with the report.
        left = traces(before, snapshot.take(wine), [
            r"^file:%s$" % re.escape(os.path.relpath(dump, wine.drive_c()))])
        checks.that(left.empty(), "the quiet uninstall after the crash leaves:\n%s" % left.report())
    checks.fail()


TESTS = {
    "full_install": test_full_install,
    "options": test_options,
    "cancel": test_cancel,
    "failure": test_failure,
    "upgrade": test_upgrade,
    "uninstall": test_uninstall,
    "instances": test_instances,
    "language_and_corrupt": test_language_and_corrupt,
    "no_trace_cycles": test_no_trace_cycles,
    "killed_installer": test_killed_installer,
    "worker_crash": test_worker_crash,
}


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawTextHelpFormatter)
    parser.add_argument("--test", required=True, choices=sorted(TESTS))
    parser.add_argument("--source-dir", required=True)
    parser.add_argument("--build-dir", required=True)
    parser.add_argument("--driver", required=True)
    parser.add_argument("--screens", required=True)
    parser.add_argument("--work")
    parser.add_argument("--stub", help="the installer program (default: the build's)")
    parser.add_argument("--product", help="the product program to pack (default: the build's)")
    parser.add_argument("--faulting-stub", help="the test-only installer copy that faults on request")
    parser.add_argument("--vornpack", help="a vornpack for this machine (default: a built one)")
    args = parser.parse_args()
    try:
        ctx = Context(args)
    except demo_package.Missing as missing:
        print("skipped: %s" % missing)
        return SKIPPED
    started = time.time()
    try:
        TESTS[args.test](ctx)
    except AssertionError as failure:
        print(failure)
        print("%s failed in %.0f s" % (args.test, time.time() - started))
        return 1
    print("%s passed in %.0f s" % (args.test, time.time() - started))
    return 0


if __name__ == "__main__":
    sys.exit(main())
