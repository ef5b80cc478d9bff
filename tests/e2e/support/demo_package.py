"""The demo product's installer, put together the way a vendor does it:
the installer's standard package, the demo product's own package files and
the built product, packed with vornpack into a copy of the installer stub.

    paths = BuildPaths.find(source_dir, build_dir)
    setup_exe = build_setup(paths, out_dir, variant="default")

Variants (for the tests):
  default  the demo as it ships
  old      the same product as an older version (0.9) with one file that
           the current version no longer has
  corrupt  the default package with one flipped byte in the entry header of
           a product file (its checksum no longer matches)
  big      the default package with a large data file, packed with the
           slowest decoder, so that the copy lasts long enough to be watched
           and canceled (BIG_FILE_MIB, or VORN_E2E_BIG_MIB)
"""

import fcntl
import os
import re
import shutil
import struct
import subprocess
import zlib

# A file only the old version installs: an upgrade must remove it.
OLD_ONLY_FILE = "Product/OldRelease.txt"
# The product file whose package entry the corrupt variant breaks.
CORRUPT_ENTRY = "Product/ReadMe.txt"
BIG_FILE = "Product/Data/Samples.bin"
BIG_FILE_MIB = int(os.environ.get("VORN_E2E_BIG_MIB", "48"))


class Missing(Exception):
    """A program the installer needs was not built."""


def _find_file(top, name):
    for folder, dirs, names in os.walk(top):
        dirs[:] = [d for d in dirs if d not in ("CMakeFiles", "e2e", "wine-prefix", "demo")]
        if name in names:
            return os.path.join(folder, name)
    return None


class BuildPaths:
    def __init__(self, source_dir, stub, product, vornpack, wine_vornpack=False):
        self.source_dir = source_dir
        self.stub = stub
        self.product = product
        self.vornpack = vornpack
        # True when vornpack is the Windows program, run through wine-run.
        self.wine_vornpack = wine_vornpack

    @staticmethod
    def find(source_dir, build_dir, stub=None, product=None, vornpack=None):
        """The installer stub and the product of a build folder, and a
        vornpack for this machine: the build's host tool, a native build's,
        or else the build's own vornpack.exe through Wine."""
        source_dir = os.path.abspath(source_dir)
        build_dir = os.path.abspath(build_dir)

        def existing(*candidates):
            for candidate in candidates:
                if candidate and os.path.isfile(candidate):
                    return candidate
            return None

        stub = existing(stub, os.path.join(build_dir, "src", "setup", "VornSetup.exe"))
        # The product with its own package written in (not the linker's output).
        product = existing(product, os.path.join(build_dir, "examples", "demo", "product", "VornDemo.exe"))
        if not stub:
            raise Missing("VornSetup.exe is not built in %s" % build_dir)
        if not product:
            raise Missing("VornDemo.exe is not built in %s" % build_dir)
        vornpack = existing(vornpack, os.path.join(build_dir, "host-tools", "tools", "vornpack", "vornpack"),
                            *[os.path.join(source_dir, "build", preset, "tools", "vornpack", "vornpack")
                              for preset in ("native-release", "native")])
        wine_vornpack = False
        if not vornpack:
            vornpack = _find_file(os.path.join(build_dir, "tools"), "vornpack.exe")
            wine_vornpack = vornpack is not None
        if not vornpack:
            raise Missing("no vornpack is built")
        return BuildPaths(source_dir, stub, product, vornpack, wine_vornpack)

    def run_vornpack(self, args, log):
        command = [self.vornpack] + args
        if self.wine_vornpack:
            prefix = os.path.join(os.path.dirname(os.path.dirname(os.path.dirname(self.vornpack))),
                                  "wine-prefix")
            command = [os.path.join(self.source_dir, "scripts", "wine-run"), "--prefix", prefix] + \
                [a if not a.startswith("/") else "Z:" + a.replace("/", "\\") for a in command]
        with open(log, "ab") as out:
            subprocess.run(command, stdout=out, stderr=subprocess.STDOUT, check=True, timeout=600)


def assemble_package_folder(paths, folder, standard_package=None):
    """The package folder: standard package, pictures, demo files, product."""
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    if standard_package and os.path.isdir(os.path.join(standard_package, "Data", "Pictures")):
        shutil.copytree(os.path.join(standard_package, "Data"), os.path.join(folder, "Data"))
    else:
        shutil.copytree(os.path.join(paths.source_dir, "src", "setup", "package", "Data"),
                        os.path.join(folder, "Data"))
        subprocess.run([os.path.join(paths.source_dir, "scripts", "make-pictures"), folder],
                       check=True, stdout=subprocess.DEVNULL, timeout=600)
    shutil.copytree(os.path.join(paths.source_dir, "examples", "demo", "package"), folder,
                    dirs_exist_ok=True)
    shutil.copy2(paths.product, os.path.join(folder, "Product", os.path.basename(paths.product)))


def make_old_version(folder):
    """Turns a package folder into the same product's older version."""
    configuration = os.path.join(folder, "Data", "Xml", "Configuration.xml")
    with open(configuration, encoding="utf-8-sig") as f:
        text = f.read()
    # The product's version only (inside InstallationSettings), not the installer's.
    head, sep, tail = text.partition("<InstallationSettings>")
    tail = re.sub(r'(<Application\b[^>]*\bVersion=")[^"]*(")', r"\g<1>0.9\2", tail, count=1)
    with open(configuration, "w", encoding="utf-8") as f:
        f.write(head + sep + tail)
    with open(os.path.join(folder, OLD_ONLY_FILE), "w") as f:
        f.write("Notes of release 0.9, which the next release no longer has.\r\n")
    with open(os.path.join(folder, "Product", "ReadMe.txt"), "a") as f:
        f.write("\r\nRelease 0.9.\r\n")


def add_big_file(folder, mib):
    """A data file of mib MiB that compresses well but decodes slowly:
    lines of pseudo-random words (the same every time)."""
    words = [w.encode() for w in (
        "alpha bravo charlie delta echo foxtrot golf hotel india juliet kilo lima mike "
        "november oscar papa quebec romeo sierra tango uniform victor whiskey xray yankee "
        "zulu").split()]
    state, chunk = 12345, bytearray()
    while len(chunk) < 1 << 20:
        line = []
        for _ in range(12):
            state = (state * 1103515245 + 12345) & 0x7FFFFFFF
            line.append(words[state % len(words)])
        chunk += b" ".join(line) + b"\r\n"
    chunk = bytes(chunk[:1 << 20])
    path = os.path.join(folder, BIG_FILE)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        for i in range(mib):
            # Each MiB differs a little, so no block repeats another.
            f.write(b"%08d" % i + chunk[8:])


def archive_entries(data):
    """(offset, method, packed size) of every entry of a package archive."""
    entries, offset = [], 57
    size = struct.unpack_from("<Q", data, 14)[0]
    while offset + 33 <= size:
        method, packed = struct.unpack_from("<HQ", data, offset)
        entries.append((offset, method, packed))
        offset += 33 + packed
    return entries


def corrupt_entry(setup_exe, kelp, folder, package_path):
    """Flips one byte of the header of package_path's entry inside the
    installer (vornpack refuses to embed an unsound archive, so the damage
    is done afterwards, as a bad download would). Entries are written in the
    order of their sorted paths, the directory last."""
    paths = []
    for top, dirs, names in os.walk(folder):
        for name in names:
            paths.append(os.path.relpath(os.path.join(top, name), folder).replace(os.sep, "/"))
    if "Data/Xml/FileList.xml" not in paths:
        paths.append("Data/Xml/FileList.xml")
    paths.sort()
    with open(kelp, "rb") as f:
        archive = f.read()
    entries = archive_entries(archive)
    if len(entries) != len(paths) + 1:
        raise RuntimeError("%d entries for %d files" % (len(entries), len(paths)))
    with open(setup_exe, "rb") as f:
        data = bytearray(f.read())
    start = data.find(archive)
    if start < 0:
        raise RuntimeError("the package is not embedded as it is in " + setup_exe)
    offset = start + entries[paths.index(package_path)][0]
    # Byte 10 is the lowest byte of the unpacked size: the header stays
    # plausible, only its checksum tells.
    data[offset + 10] ^= 0x01
    assert zlib.crc32(bytes(data[offset:offset + 22] + data[offset + 26:offset + 33])) != \
        struct.unpack_from("<I", data, offset + 22)[0]
    with open(setup_exe, "wb") as f:
        f.write(data)


def file_list_of(setup_exe, label):
    return os.path.join(os.path.dirname(setup_exe), "FileList-%s.xml" % label)


def build_setup(paths, out_dir, variant="default", standard_package=None, name=None, label=None):
    """Builds (once per out_dir and label, which defaults to the variant)
    and returns the Setup.exe path."""
    os.makedirs(out_dir, exist_ok=True)
    label = label or variant
    name = name or "Setup-%s.exe" % label
    setup_exe = os.path.join(out_dir, name)
    stamp = setup_exe + ".inputs"
    inputs = "\n".join("%s %d" % (p, os.stat(p).st_mtime_ns) for p in (paths.stub, paths.product))
    with open(os.path.join(out_dir, ".lock"), "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if os.path.exists(setup_exe) and os.path.exists(stamp) and open(stamp).read() == inputs:
            return setup_exe
        folder = os.path.join(out_dir, "package-" + label)
        kelp = os.path.join(out_dir, "Demo-%s.kelp" % label)
        log = os.path.join(out_dir, "vornpack-%s.log" % label)
        open(log, "w").close()
        assemble_package_folder(paths, folder, standard_package)
        if variant == "old":
            make_old_version(folder)
        if variant == "big":
            add_big_file(folder, BIG_FILE_MIB)
        method = ["--method", "%s=0" % CORRUPT_ENTRY] if variant == "corrupt" else []
        if variant == "big":
            method = ["--method", "%s=4" % BIG_FILE]
        paths.run_vornpack(["build", folder, "-o", kelp, "--quiet", "--file-list",
                            os.path.join(folder, "Product")] + method, log)
        paths.run_vornpack(["setup", "--stub", paths.stub, "--package", kelp, "-o", setup_exe], log)
        if variant == "corrupt":
            corrupt_entry(setup_exe, kelp, folder, CORRUPT_ENTRY)
        # The generated file list, as the installer reads it.
        extracted = os.path.join(out_dir, "extract-" + label)
        shutil.rmtree(extracted, ignore_errors=True)
        paths.run_vornpack(["extract", kelp, "-o", extracted], log)
        shutil.copy2(os.path.join(extracted, "Data", "Xml", "FileList.xml"),
                     os.path.join(out_dir, "FileList-%s.xml" % label))
        shutil.rmtree(extracted, ignore_errors=True)
        with open(stamp, "w") as f:
            f.write(inputs)
    return setup_exe


def main():
    import argparse
    parser = argparse.ArgumentParser(description="Packs the demo product's Setup.exe.")
    parser.add_argument("--source-dir", required=True)
    parser.add_argument("--stub", required=True, help="the built VornSetup.exe")
    parser.add_argument("--product", required=True, help="the built VornDemo.exe")
    parser.add_argument("--vornpack", required=True)
    parser.add_argument("--standard-package", help="the build's setup-package folder")
    parser.add_argument("--out", required=True)
    parser.add_argument("--variant", default="default", choices=("default", "old", "corrupt", "big"))
    parser.add_argument("--label")
    parser.add_argument("--name")
    args = parser.parse_args()
    paths = BuildPaths(os.path.abspath(args.source_dir), os.path.abspath(args.stub),
                       os.path.abspath(args.product), os.path.abspath(args.vornpack))
    print(build_setup(paths, os.path.abspath(args.out), args.variant, args.standard_package,
                      args.name, args.label))


if __name__ == "__main__":
    main()
