"""Registry and file-tree snapshots of a Wine prefix, and their differences:
the "nothing left" checks of installation and removal tests.

    before = take(wine)                 # wine: a WineSession
    ... install, uninstall ...
    after = take(wine)
    changes = diff(before, after).without(WINE_NOISE + [r"Vorn Demo Setup"])
    assert changes.empty(), changes.report()

A snapshot holds
  files:    {relative path under drive_c: (kind "f"/"d", size, mtime in ns)}
  registry: {key path: {value name: (type, data)}}  for the roots given
"""

import os
import re

DEFAULT_ROOTS = (r"HKLM\Software", r"HKCU\Software")
# drive_c/windows holds Wine's own files, which no installation touches.
DEFAULT_SKIP_DIRS = ("windows",)

# What Wine itself changes while programs run: its device and font caches,
# the temporary folder's churn, the shell's recent lists and window places.
WINE_NOISE = [
    r"^HKLM\\Software\\Wine\\",
    r"^HKCU\\Software\\Wine\\",
    r"^HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\(Fonts|Perflib)",
    r"^HKLM\\Software\\Microsoft\\Cryptography",
    r"^HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\",
    r"^HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\",
    r"^HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Fonts",
    r"^HKLM\\Software\\Microsoft\\RPC",
    r"^HKLM\\Software\\Classes\\Local Settings",
    r"^file:users/[^/]+/AppData/Local/Temp(/|$)",
    r"^file:users/[^/]+/Temp(/|$)",
    r"^file:users/[^/]+/AppData/Local/Microsoft/Windows/(History|INetCache|INetCookies|Temporary Internet Files)",
    r"^file:users/[^/]+/AppData/Roaming/Microsoft/Windows/Recent",
]


def _unescape(text):
    out, i = [], 0
    while i < len(text):
        c = text[i]
        if c == "\\" and i + 1 < len(text):
            nxt = text[i + 1]
            out.append({"\\": "\\", "t": "\t", "n": "\n", "r": "\r", "0": "\0"}.get(nxt, nxt))
            i += 2
        else:
            out.append(c)
            i += 1
    return "".join(out)


def parse_registry_dump(text):
    """The driver's reg-dump text as {key path: {value name: (type, data)}}."""
    keys, current = {}, None
    for line in text.splitlines():
        parts = line.split("\t")
        if parts[0] == "K" and len(parts) == 2:
            current = keys.setdefault(_unescape(parts[1]), {})
        elif parts[0] == "V" and len(parts) == 4 and current is not None:
            current[_unescape(parts[1])] = (parts[2], _unescape(parts[3]))
    return keys


def read_registry(wine, root):
    """One registry sub-tree read through the driver; {} when it is missing."""
    path = os.path.join(wine.work_dir, "registry-dump.txt")
    result = wine.driver("reg-dump", root, wine.windows_path(path))
    if result.code not in (0, 2):
        raise RuntimeError("reg-dump %s failed: %r" % (root, result))
    with open(path, encoding="utf-8") as f:
        text = f.read()
    os.unlink(path)
    return parse_registry_dump(text)


def read_files(top, skip_dirs=DEFAULT_SKIP_DIRS):
    files = {}
    for folder, dirs, names in os.walk(top):
        relative_folder = os.path.relpath(folder, top)
        if relative_folder == ".":
            dirs[:] = [d for d in dirs if d not in skip_dirs]
            relative_folder = ""
        for name in dirs:
            path = os.path.join(relative_folder, name)
            if os.path.islink(os.path.join(folder, name)):
                continue
            files[path] = ("d", 0, 0)
        for name in names:
            full = os.path.join(folder, name)
            try:
                info = os.lstat(full)
            except OSError:
                continue
            files[os.path.join(relative_folder, name)] = ("f", info.st_size, info.st_mtime_ns)
    return files


class Snapshot:
    def __init__(self, files, registry):
        self.files = files
        self.registry = registry


def take(wine, roots=DEFAULT_ROOTS, skip_dirs=DEFAULT_SKIP_DIRS):
    registry = {}
    for root in roots:
        registry.update(read_registry(wine, root))
    return Snapshot(read_files(wine.drive_c(), skip_dirs), registry)


class Diff:
    """Changes between two snapshots, each a text line:
    "+file:PATH", "-file:PATH", "~file:PATH" (size or time changed),
    "+key:PATH", "-key:PATH", "+value:KEY\\NAME", "-value:...", "~value:..."."""

    def __init__(self, changes):
        self.changes = sorted(changes)

    def without(self, patterns):
        """The changes that none of the patterns matches. A pattern is tried on
        the change without its sign, e.g. "file:Program Files/X" or "HKLM\\...":
        key and value changes are given as their key path (and value name)."""
        compiled = [re.compile(p, re.IGNORECASE) for p in patterns]

        def subject(change):
            body = change[1:]
            kind, _, rest = body.partition(":")
            return rest if kind in ("key", "value") else body

        return Diff([c for c in self.changes if not any(p.search(subject(c)) for p in compiled)])

    def matching(self, patterns):
        compiled = [re.compile(p, re.IGNORECASE) for p in patterns]
        return Diff([c for c in self.changes if any(p.search(c) for p in compiled)])

    def empty(self):
        return not self.changes

    def report(self, limit=60):
        lines = self.changes[:limit]
        if len(self.changes) > limit:
            lines.append("... and %d more" % (len(self.changes) - limit))
        return "\n".join(lines)


def diff(before, after):
    changes = []
    for path in set(before.files) | set(after.files):
        old, new = before.files.get(path), after.files.get(path)
        if old is None:
            changes.append("+file:" + path)
        elif new is None:
            changes.append("-file:" + path)
        elif old[0] != new[0] or (old[0] == "f" and old[1:] != new[1:]):
            changes.append("~file:" + path)
    for key in set(before.registry) | set(after.registry):
        old, new = before.registry.get(key), after.registry.get(key)
        if old is None:
            changes.append("+key:" + key)
            changes.extend("+value:%s\\%s" % (key, name) for name in new)
        elif new is None:
            changes.append("-key:" + key)
            changes.extend("-value:%s\\%s" % (key, name) for name in old)
        else:
            for name in set(old) | set(new):
                if name not in old:
                    changes.append("+value:%s\\%s" % (key, name))
                elif name not in new:
                    changes.append("-value:%s\\%s" % (key, name))
                elif old[name] != new[name]:
                    changes.append("~value:%s\\%s" % (key, name))
    return Diff(changes)
