#!/usr/bin/env python3
"""A Setup.exe made by the package tool, under Wine: vornpack.exe packs a
folder (file list included) and writes the package into a stub built without
one; the stub then reads every entry of its own resource through the
installer's file system. The executable is signed with a throwaway
certificate, verified, and must still find and read its package; the tool
lists, verifies and extracts it. Bad input gives one message, a non-zero
exit and no output file."""
import argparse
import os
import random
import re
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ET
import zlib

FAILURES = []


def check(condition, message):
    if not condition:
        FAILURES.append(message)
        print("FAIL:", message)
    return condition


def windows(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Wine:
    def __init__(self, options):
        self.command = [options.wine_run, "--prefix", options.prefix]

    def run(self, program, *args):
        # UTF-8 arguments reach the program as the same UTF-16 names.
        env = dict(os.environ, LC_ALL="C.UTF-8")
        result = subprocess.run(self.command + [program] + list(args), capture_output=True,
                                timeout=300, env=env)
        return (result.returncode, result.stdout.decode("utf-8", "replace"),
                result.stderr.decode("utf-8", "replace"))


def make_package(root):
    """The package folder: every kind of file the tool packs apart, an LZMA
    file over one 4 MiB block, nested product folders, names outside ASCII."""
    rng = random.Random(7)
    words = [b"installer ", b"package ", b"<File/>\n", b"archive ", b"Windows ", b"block "]

    def text(size):
        out = bytearray()
        while len(out) < size:
            out += rng.choice(words)
        return bytes(out[:size])

    files = {
        "Data/Xml/Configuration.xml":
            b'<?xml version="1.0" encoding="utf-8"?>\n<Resources><Application Name="Probe"/>'
            b"</Resources>\n",
        "Data/Pictures/Logo.png": rng.randbytes(5000),
        "Product/probe.exe": text(4 * 1024 * 1024 + 12345),
        "Product/empty.dll": b"",
        "Product/noise.dat": rng.randbytes(300000),
        "Product/Docs/read me.txt": text(20000),
        "Product/Docs/\u00e9t\u00e9/notes.xml": b"<notes>" + text(3000) + b"</notes>",
    }
    for path, content in files.items():
        full = os.path.join(root, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "wb") as f:
            f.write(content)
    return files


def probe(wine, exe, paths):
    """Runs the stub over `paths`: {path: (size, crc)} and the exit status."""
    status, out, err = wine.run(exe, *paths)
    found = {}
    for line in out.splitlines():
        match = re.match(r"^(.*) (\d+) ([0-9A-F]{8})$", line.rstrip("\r"))
        if match:
            found[match.group(1)] = (int(match.group(2)), int(match.group(3), 16))
    return status, found, out + err


def check_reads_everything(wine, exe, files, what):
    status, found, text = probe(wine, exe, list(files))
    check(status == 0, "%s: the stub ended with %d:\n%s" % (what, status, text))
    for path, content in files.items():
        expected = (len(content), zlib.crc32(content))
        check(found.get(path) == expected,
              "%s: %s read as %s, expected %s" % (what, path, found.get(path), expected))
    status, _, text = probe(wine, exe, ["Product/missing.txt", "product/probe.exe"])
    check(status == 1 and text.count("error 29") == 2,
          "%s: paths not in the package give 29:\n%s" % (what, text))


def check_file_list(content, files):
    root = ET.fromstring(content)
    listed = {}

    def walk(element, prefix):
        here = prefix + element.get("Path")
        for child in element:
            if child.tag == "Files":
                walk(child, here)
            else:
                listed[here + child.text] = (child.get("Size"), child.get("Date"))

    walk(root.find("Files"), "")
    product = {p: c for p, c in files.items() if p.startswith("Product/")}
    check(sorted(listed) == sorted(product), "file list paths: %s" % sorted(listed))
    for path, content_bytes in product.items():
        size, date = listed.get(path, (None, ""))
        check(size == str(len(content_bytes)), "file list size of %s: %s" % (path, size))
        check(re.fullmatch(r"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{6}Z", date or "") is not None,
              "file list date of %s: %s" % (path, date))


def sign(work, exe, signed):
    """Signs with a throwaway self-signed certificate; True when verified."""
    key, cert = os.path.join(work, "key.pem"), os.path.join(work, "cert.pem")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key,
                    "-out", cert, "-days", "2", "-subj", "/CN=VornPack Test Signing"],
                   check=True, capture_output=True)
    result = subprocess.run(["osslsigncode", "sign", "-certs", cert, "-key", key, "-n",
                             "Probe Setup", "-h", "sha256", "-in", exe, "-out", signed],
                            capture_output=True, text=True)
    if not check(result.returncode == 0, "osslsigncode sign: %s%s" % (result.stdout, result.stderr)):
        return False
    result = subprocess.run(["osslsigncode", "verify", "-CAfile", cert, "-in", signed],
                            capture_output=True, text=True)
    return check(result.returncode == 0 and "Signature verification: ok" in result.stdout,
                 "osslsigncode verify: %s%s" % (result.stdout, result.stderr))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--wine-run", required=True)
    parser.add_argument("--prefix", required=True)
    parser.add_argument("--vornpack", required=True)
    parser.add_argument("--stub", required=True)
    parser.add_argument("--work", required=True)
    options = parser.parse_args()
    for tool in ("osslsigncode", "openssl"):
        if shutil.which(tool) is None:
            print("%s is missing (scripts/bootstrap installs it)" % tool)
            return 1
    wine = Wine(options)
    work = options.work
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    files = make_package(os.path.join(work, "pkg"))
    vornpack = options.vornpack
    kelp, setup = os.path.join(work, "probe.kelp"), os.path.join(work, "Setup.exe")

    status, _, text = probe(wine, options.stub, ["Data/Xml/Configuration.xml"])
    check(status == 3 and "no package (error 29)" in text, "the bare stub: %d %s" % (status, text))

    status, out, err = wine.run(vornpack, "build", windows(os.path.join(work, "pkg")), "-o",
                                windows(kelp), "--file-list", "Product", "--threads", "2",
                                "--no-check")
    if not check(status == 0, "build: %d %s%s" % (status, out, err)):
        return 1
    check("packing:" in err, "build reports progress in plain lines off a terminal: " + err)
    status, out, err = wine.run(vornpack, "setup", "--stub", windows(options.stub), "--package",
                                windows(kelp), "-o", windows(setup))
    if not check(status == 0, "setup: %d %s%s" % (status, out, err)):
        return 1

    with_list = dict(files)
    status, out, err = wine.run(vornpack, "extract", windows(setup), "-o",
                                windows(os.path.join(work, "extracted")))
    check(status == 0, "extract: %d %s%s" % (status, out, err))
    file_list = os.path.join(work, "extracted", "Data", "Xml", "FileList.xml")
    if check(os.path.exists(file_list), "extract wrote the file list"):
        with open(file_list, "rb") as f:
            with_list["Data/Xml/FileList.xml"] = f.read()
        check_file_list(with_list["Data/Xml/FileList.xml"], files)
    for path, content in files.items():
        extracted = os.path.join(work, "extracted", path)
        same = os.path.exists(extracted) and open(extracted, "rb").read() == content
        check(same or path == "Data/Pictures/Logo.png", "extracted %s" % path)
    check_reads_everything(wine, setup, with_list, "Setup.exe")

    signed = os.path.join(work, "Setup-signed.exe")
    if sign(work, setup, signed):
        check_reads_everything(wine, signed, with_list, "signed Setup.exe")
        for command in ("list", "verify"):
            status, out, err = wine.run(vornpack, command, windows(signed))
            check(status == 0 and "RCDATA 4096" in out if command == "list" else status == 0,
                  "%s of the signed executable: %d %s%s" % (command, status, out, err))
        # A signed executable as the stub of a new package: the signature
        # goes (and the tool says so), the new package is found.
        again = os.path.join(work, "Setup-again.exe")
        status, out, err = wine.run(vornpack, "setup", "--stub", windows(signed), "--package",
                                    windows(kelp), "-o", windows(again))
        check(status == 0 and "signature" in err.lower(),
              "setup over a signed stub: %d %s%s" % (status, out, err))
        check_reads_everything(wine, again, with_list, "re-packaged signed Setup.exe")

    before = sorted(os.listdir(work))
    for args, names in (
            (["setup", "--stub", windows(os.path.join(work, "none.exe")), "--package",
              windows(kelp), "-o", windows(os.path.join(work, "Bad.exe"))], "none.exe"),
            (["setup", "--stub", windows(kelp), "--package", windows(kelp), "-o",
              windows(os.path.join(work, "Bad.exe"))], "probe.kelp"),
            (["verify", windows(os.path.join(work, "pkg", "Product", "noise.dat"))], "noise.dat")):
        status, out, err = wine.run(vornpack, *args)
        check(status == 1 and names in err and err.count("\n") == 1,
              "%s: %d %s%s" % (" ".join(args[:1]), status, out, err))
    check(sorted(os.listdir(work)) == before, "no output is left by a failed command")

    if FAILURES:
        print("%d checks failed" % len(FAILURES))
        return 1
    print("Setup.exe under Wine: every check passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
