"""The demo installer as the tests see it: its window class, pages and
controls, the entries it writes, and small checks that collect every
mismatch of a test before failing it."""

import datetime
import os
import re
import time
import xml.etree.ElementTree as ElementTree

import snapshot

SETUP_CLASS = "Vorn Demo Setup::Window"
SETUP_NAME = "Vorn Demo Setup"
PRODUCT_NAME = "Vorn Demo"
PRODUCT_CLASS = "Vorn Demo::Window"
PRODUCT_EXE = "VornDemo.exe"
PRODUCT_UUID = "A3F7E25B-8DDD-4295-AABA-AA8422105818"
COMPANY = "Vorn Software"
UNINSTALL_ROOT = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall"
UNINSTALL_KEY = UNINSTALL_ROOT + "\\{%s}" % PRODUCT_UUID
APP_PATHS_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths" + "\\" + PRODUCT_EXE
DEFAULT_FOLDER = r"C:\Program Files\Vorn Software\Vorn Demo"
LAST_PAGES = ("SuccessPage", "FailurePage", "CanceledPage")
# Wine's all-users Programs folder and the user's desktop in a prefix.
COMMON_PROGRAMS = r"C:\ProgramData\Microsoft\Windows\Start Menu\Programs"

# What may change on a machine without anything of the product being left:
# Wine's own churn, and the installer's own preferences (the choices it
# remembers for its next run) and analytics client identifier.
NOT_THE_PRODUCT = snapshot.WINE_NOISE + [
    r"^HKCU\\Software\\%s\\%s(\\|$)" % (COMPANY, SETUP_NAME),
    r"^HKCU\\Software\\%s$" % COMPANY,
]


class CheckFailed(AssertionError):
    pass


class Checks:
    """Collects mismatches; fail() raises them all at once."""

    def __init__(self, name):
        self.name = name
        self.failures = []

    def that(self, condition, what):
        if not condition:
            self.failures.append(what)
            print("  FAIL: " + what, flush=True)
        return condition

    def equal(self, actual, expected, what):
        return self.that(actual == expected, "%s: %r, expected %r" % (what, actual, expected))

    def require(self, condition, what):
        """A check the rest of the test depends on."""
        if not self.that(condition, what):
            self.fail()

    def fail(self):
        if self.failures:
            raise CheckFailed("%s: %d check(s) failed:\n  %s" % (
                self.name, len(self.failures), "\n  ".join(self.failures)))


def read_strings(source_dir, language):
    """The installer's and the demo's texts of one language, by key."""
    texts = {}
    for folder, name in (("src/setup/package/Data/Xml", "VornSetup-Strings-%s.xml"),
                         ("examples/demo/package/Data/Xml", "VornSetup-Custom-Strings-%s.xml")):
        path = os.path.join(source_dir, folder, name % language)
        if os.path.exists(path):
            for element in ElementTree.parse(path).getroot().iter("String"):
                texts[element.get("ID")] = element.text or ""
    return texts


def without_mnemonic(text):
    return text.replace("&&", "\0").replace("&", "").replace("\0", "&")


def read_file_list(path):
    """[(relative path, size, date as datetime)] in the installer's order."""
    entries = []

    def walk(element, prefix):
        here = prefix + element.get("Path", "") if prefix is not None else ""
        for child in element:
            if child.tag == "Files":
                walk(child, here)
            else:
                date = datetime.datetime.strptime(child.get("Date"), "%Y-%m-%dT%H:%M:%S.%fZ")
                entries.append((here + child.text, int(child.get("Size")),
                                date.replace(tzinfo=datetime.timezone.utc)))

    root = ElementTree.parse(path).getroot()
    files = root if root.tag == "Files" else root.find("Files")
    walk(files, None)
    return entries


class Installer:
    """One run of Setup.exe in a WineSession, with page screenshots named
    <test>-<page>.png."""

    def __init__(self, wine, setup_exe, screens, test):
        self.wine = wine
        self.setup_exe = setup_exe
        self.screens = screens
        self.test = test
        self.process = None

    def start(self, *switches):
        self.process = self.wine.start(self.wine.windows_path(self.setup_exe), *switches)
        return self.process

    def wait_exit(self, timeout=60):
        try:
            return self.process.wait(timeout=timeout)
        except Exception:
            return None

    def shot(self, page):
        time.sleep(0.4)  # let the page finish painting
        return self.wine.screenshot(os.path.join(self.screens, "%s-%s.png" % (self.test, page)))

    def driver(self, *args, **kwargs):
        return self.wine.driver(*args, **kwargs)

    def wait_page(self, pages, timeout=60000, shot=True, suffix=""):
        """Waits for one of the pages to show; returns its name or None."""
        if isinstance(pages, str):
            pages = (pages,)
        result = self.driver("wait-control", SETUP_CLASS, "|".join(pages), "--state", "visible",
                             timeout=timeout)
        if not result.ok:
            # What the screen showed instead, for the test's log: a page
            # that never came is otherwise only a failed check.
            print("%s: no page %s (driver exit %d: %s)" % (self.test, "|".join(pages), result.code,
                                                         result.output.strip().replace("\n", "; ")),
                  flush=True)
            self.shot("no-" + pages[0])
            return None
        page = result.get("matched")
        if shot:
            self.shot(page + suffix)
        return page

    def text(self, path):
        return self.driver("text", SETUP_CLASS, path).get("text")

    def state(self, path):
        return self.driver("state", SETUP_CLASS, path)

    def enabled(self, path):
        return self.state(path).get("enabled") == "1"

    def checked(self, path):
        return self.state(path).get("checked") == "1"

    def click(self, path, *options):
        return self.driver("click", SETUP_CLASS, path, *options)

    def set_text(self, path, text):
        return self.driver("set-text", SETUP_CLASS, path, text)

    def select_tab(self, index):
        return self.driver("select-tab", SETUP_CLASS, "Tabs", index)

    def install_button_after(self, path, text, expected, timeout=5000):
        """Types text into a field; returns whether Install then becomes
        enabled (expected True) or disabled (expected False) in time: the
        page tells the main page by a posted message."""
        self.set_text(path, text)
        state = "enabled" if expected else "disabled"
        return self.driver("wait-control", SETUP_CLASS, "InstallCmd", "--state", state,
                           timeout=timeout).ok

    def quit(self, timeout=60):
        self.click("QuitCmd")
        return self.wait_exit(timeout)


def uninstall_entry(wine):
    """{value name: data} of the product's uninstall key, with its sub-keys
    as lists: entry["FilesList"], entry["ShortcutsList"]; None when missing."""
    keys = snapshot.read_registry(wine, UNINSTALL_KEY)
    if UNINSTALL_KEY not in keys:
        return None
    entry = {name: value for name, value in keys[UNINSTALL_KEY].items()}

    def numbered(sub):
        values = keys.get(UNINSTALL_KEY + "\\" + sub, {})
        items, i = [], 0
        while str(i) in values:
            items.append(values[str(i)][1])
            i += 1
        return items

    entry["FilesList"] = numbered("FilesList")
    entry["ShortcutsList"] = numbered("ShortcutsList")
    return entry


def product_entries(wine):
    """Uninstall entries of any version of the demo product."""
    keys = snapshot.read_registry(wine, UNINSTALL_ROOT)
    found = []
    for key, values in keys.items():
        name = values.get("DisplayName", ("", ""))[1]
        if key.count("\\") == UNINSTALL_ROOT.count("\\") + 1 and name.startswith(PRODUCT_NAME):
            found.append(key)
    return found


def local_today():
    return datetime.date.today().strftime("%Y%m%d")


def product_traces(diff):
    """The changes of a snapshot difference that belong to the product."""
    return diff.without(NOT_THE_PRODUCT)


def wait_until(condition, timeout=30.0, step=0.25):
    end = time.time() + timeout
    while time.time() < end:
        if condition():
            return True
        time.sleep(step)
    return condition()


def lnk_target_matches(path, target):
    """Whether a .lnk file names the target (as UTF-16 or 8-bit text)."""
    try:
        with open(path, "rb") as f:
            data = f.read()
    except OSError:
        return False
    lowered = data.lower()
    name = target.lower()
    return name.encode("utf-16-le") in lowered or name.encode("latin-1", "replace") in lowered


def folder_of(entry_value):
    return re.sub(r"[\\/]+$", "", entry_value)
