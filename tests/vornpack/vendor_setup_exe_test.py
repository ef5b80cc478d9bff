#!/usr/bin/env python3
"""The vendor's three commands with the Windows vornpack.exe under Wine and
the installer it carries: `init` writes a package folder (Windows paths, a
name outside ASCII), `check` names the missing product program by file,
line and column, the product's files are copied in, `build` checks and packs
them, and `setup` without --stub writes the package into the installer found
next to vornpack.exe. The result is the installer with the product's
package: it lists, verifies and gives back the configuration init wrote."""
import argparse
import os
import re
import shutil
import subprocess
import sys

# The checks and paths of the other Setup.exe test.
from setup_exe_test import FAILURES, check, windows


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--wine-run", required=True)
    parser.add_argument("--prefix", required=True)
    parser.add_argument("--vornpack", required=True)
    parser.add_argument("--work", required=True)
    options = parser.parse_args()
    carried = os.path.join(os.path.dirname(options.vornpack), "vornpack-stub-x64.exe")
    if not check(os.path.exists(carried), "no installer next to vornpack.exe: " + carried):
        return 1
    shutil.rmtree(options.work, ignore_errors=True)
    os.makedirs(options.work)
    env = dict(os.environ, LC_ALL="C.UTF-8")

    def vornpack(*args):
        result = subprocess.run([options.wine_run, "--prefix", options.prefix, options.vornpack]
                                + list(args), capture_output=True, timeout=300, env=env)
        return (result.returncode, result.stdout.decode("utf-8", "replace"),
                result.stderr.decode("utf-8", "replace"))

    folder = os.path.join(options.work, "Writer")
    status, out, err = vornpack("init", windows(folder), "--name", "Acme \u00c9crivain",
                                "--company", "Acme", "--version", "3.0", "--executable",
                                "Bin\\Writer.exe", "--website", "https://acme.example/")
    if not check(status == 0, "init: %d %s%s" % (status, out, err)):
        return 1

    status, out, err = vornpack("check", windows(folder))
    place = re.search(r"Configuration\.xml:(\d+):(\d+): the product executable", out)
    check(status == 1 and place is not None, "check before the files: %d %s%s" % (status, out, err))
    if place:
        with open(os.path.join(folder, "Data", "Xml", "Configuration.xml"), encoding="utf-8-sig") as f:
            line = f.read().splitlines()[int(place.group(1)) - 1]
        check(line[int(place.group(2)) - 1:].startswith("<Executable>"), "check points at " + line)

    product = {"Bin/Writer.exe": os.urandom(40000), "Help/Guide \u00e9t\u00e9.txt": b"guide " * 500}
    for path, content in product.items():
        full = os.path.join(folder, "Product", path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "wb") as f:
            f.write(content)
    status, out, err = vornpack("check", windows(folder))
    check(status == 0 and "no problems" in out, "check with the files: %d %s%s" % (status, out, err))

    kelp, setup = os.path.join(options.work, "Writer.kelp"), os.path.join(options.work, "Setup.exe")
    status, out, err = vornpack("build", windows(folder), "-o", windows(kelp), "--quiet",
                                "--file-list", windows(os.path.join(folder, "Product")))
    if not check(status == 0, "build: %d %s%s" % (status, out, err)):
        return 1
    status, out, err = vornpack("setup", "--arch", "x64", "--package", windows(kelp), "-o",
                                windows(setup))
    if not check(status == 0, "setup with the carried installer: %d %s%s" % (status, out, err)):
        return 1
    with open(carried, "rb") as f:
        stub = f.read()
    with open(setup, "rb") as f:
        written = f.read()
    # The installer's code follows its headers unchanged (the headers change
    # with the resource section that now holds the package).
    pe = int.from_bytes(stub[0x3C:0x40], "little")
    headers = int.from_bytes(stub[pe + 24 + 60:pe + 24 + 64], "little")
    check(written[headers:headers + 65536] == stub[headers:headers + 65536] and
          len(written) > len(stub), "Setup.exe is not the carried installer with a package")

    status, out, err = vornpack("verify", windows(setup))
    check(status == 0, "verify: %d %s%s" % (status, out, err))
    status, out, err = vornpack("list", windows(setup))
    for path in ["Product/" + p for p in product] + ["Data/Xml/Configuration.xml",
                                                     "Data/Xml/FileList.xml"]:
        check(path in out, "list lacks %s:\n%s" % (path, out))
    extracted = os.path.join(options.work, "extracted")
    status, out, err = vornpack("extract", windows(setup), "-o", windows(extracted))
    check(status == 0, "extract: %d %s%s" % (status, out, err))
    for path in ["Data/Xml/Configuration.xml", "Data/Xml/VornSetup-License-zh.xml"]:
        with open(os.path.join(folder, path), "rb") as f, \
                open(os.path.join(extracted, path), "rb") as g:
            check(f.read() == g.read(), "%s changed on its way into Setup.exe" % path)

    print("%d failures" % len(FAILURES))
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main())
