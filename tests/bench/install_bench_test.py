#!/usr/bin/env python3
"""The installer benchmark's own logic, without Wine: the NSIS script it
writes (compiled by makensis when installed, and holding every payload
file for removal), the stub's contributors read from a link map, and the
figures it prints (medians; n/a with a reason, never a number, when a side
is missing)."""
import contextlib
import importlib.machinery
import importlib.util
import io
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
SCRIPT = os.path.join(HERE, "..", "..", "bench", "install_bench")


def load_bench():
    loader = importlib.machinery.SourceFileLoader("install_bench", SCRIPT)
    spec = importlib.util.spec_from_loader("install_bench", loader)
    module = importlib.util.module_from_spec(spec)
    loader.exec_module(module)
    return module


bench = load_bench()

# A link map as GNU ld writes it for a PE program: discarded sections first,
# then the memory map, with a long section name on a line of its own.
LINK_MAP = """Archive member included to satisfy reference by file (symbol)

libvorn_ui.a(window.cpp.obj)  main.cpp.obj (_ZN4vorn6WindowC1Ev)

Discarded input sections

 .text          0x00000000      0x400 libvorn_ui.a(window.cpp.obj)

Memory Configuration

Linker script and memory map

 .text          0x00401000      0x200 CMakeFiles/VornSetup.dir/program/setup_main.cpp.obj
 .text          0x00401200     0x1000 ../ui/libvorn_ui.a(window.cpp.obj)
                0x00401200                vorn::Window::Window()
 .text$_ZN4vorn6String6AssignEPKDsj
                0x00402200       0x80 ../foundation/libvorn_foundation.a(string.cpp.obj)
 .rdata         0x00403000      0x300 ../ui/libvorn_ui.a(dialog_box.cpp.obj)
 .debug_info    0x00000000     0x9000 ../ui/libvorn_ui.a(window.cpp.obj)
 .data          0x00404000        0x0 ../ui/libvorn_ui.a(window.cpp.obj)
"""


class NsisScriptTest(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="install-bench-test-")
        self.payload = os.path.join(self.work, "payload")
        self.files = [("Bin/module-000.dll", 3), ("Data/Sub/media-000.pak", 2),
                      ("Licences/licence-000.txt", 5)]
        for path, size in self.files:
            os.makedirs(os.path.dirname(os.path.join(self.payload, path)), exist_ok=True)
            with open(os.path.join(self.payload, path), "wb") as out:
                out.write(b"x" * size)

    def tearDown(self):
        shutil.rmtree(self.work)

    def test_script_installs_registers_and_removes_the_same_files(self):
        text = bench.nsis_script(self.payload, self.files, "/tmp/out.exe")
        lines = text.splitlines()
        for expected in ("Unicode true", "Target amd64-unicode", "SetCompressor /SOLID lzma",
                         "RequestExecutionLevel admin"):
            self.assertIn(expected, lines)
        self.assertIn(f'  File /r "{self.payload}/*"', lines)
        self.assertIn('  WriteUninstaller "$INSTDIR\\uninst.exe"', lines)
        for path, _ in self.files:
            self.assertIn('  Delete "$INSTDIR\\%s"' % path.replace("/", "\\"), lines)
        # Deeper folders are removed before their parents, the install
        # folder last, then the registry entry.
        removals = [line for line in lines if line.startswith("  RMDir")]
        self.assertLess(removals.index('  RMDir "$INSTDIR\\Data\\Sub"'),
                        removals.index('  RMDir "$INSTDIR\\Data"'))
        self.assertEqual(removals[-1], '  RMDir "$INSTDIR"')
        self.assertTrue(any("DeleteRegKey HKLM" in line and bench.NSIS_KEY_NAME in line
                            for line in lines))
        self.assertIn(r"$PROGRAMFILES64\Vorn Software\Vorn Demo", text)

    @unittest.skipIf(shutil.which("makensis") is None, "makensis is not installed")
    def test_makensis_builds_it_and_rebuilds_only_when_the_payload_changes(self):
        with contextlib.redirect_stdout(io.StringIO()) as out:
            setup, missing = bench.build_nsis(self.work, self.payload, self.files)
        self.assertIsNone(missing)
        self.assertTrue(os.path.getsize(setup) > 30000)
        self.assertIn("nsis_build_seconds", out.getvalue())
        with contextlib.redirect_stdout(io.StringIO()) as out:
            bench.build_nsis(self.work, self.payload, self.files)
        self.assertEqual(out.getvalue(), "", "an unchanged payload was packed again")
        with open(os.path.join(self.payload, self.files[0][0]), "ab") as more:
            more.write(b"y")
        with contextlib.redirect_stdout(io.StringIO()) as out:
            bench.build_nsis(self.work, self.payload, self.files)
        self.assertIn("nsis_build_seconds", out.getvalue())


class FiguresTest(unittest.TestCase):
    def test_map_contributors_count_kept_sections_only(self):
        with tempfile.NamedTemporaryFile("w", suffix=".map", delete=False) as out:
            out.write(LINK_MAP)
        try:
            by_library, by_object = bench.map_contributors(out.name)
        finally:
            os.remove(out.name)
        self.assertEqual(by_library["libvorn_ui.a"], 0x1000 + 0x300)
        self.assertEqual(by_library["libvorn_foundation.a"], 0x80)
        self.assertEqual(by_library["setup_main.cpp.obj"], 0x200)
        self.assertEqual(by_object["libvorn_ui.a(window.cpp.obj)"], 0x1000)
        self.assertEqual(by_object["libvorn_ui.a(dialog_box.cpp.obj)"], 0x300)

    def test_ratios_are_medians_and_a_missing_side_is_not_a_number(self):
        series = bench.Series()
        for value in (900, 100, 120, 110, 5000):
            series.add("install_ms", value)
        self.assertEqual(series.median("install_ms"), 120)
        self.assertIsNone(series.median("nsis_install_ms"))
        with contextlib.redirect_stdout(io.StringIO()) as out:
            bench.ratio("install_vs_nsis", 240.0, series.median("install_ms"), "no NSIS")
            bench.ratio("uninstall_vs_nsis", None, 50.0, "no NSIS uninstaller")
            bench.ratio("first_window_vs_nsis", 10.0, None, "our installer is not built yet")
        self.assertEqual(out.getvalue().splitlines(), [
            "install_vs_nsis: 2.000",
            "uninstall_vs_nsis: n/a (no NSIS uninstaller)",
            "first_window_vs_nsis: n/a (our installer is not built yet)",
        ])

    def test_bad_arguments_are_refused_before_any_work(self):
        with tempfile.TemporaryDirectory() as work:
            for bad in (["--runs", "0"], ["--scale", "0"], ["--scale", "2"], ["--runs", "x"]):
                result = subprocess.run([sys.executable, SCRIPT, "--work", work] + bad,
                                        capture_output=True, text=True)
                self.assertEqual(result.returncode, 2, bad)
                self.assertIn("usage", result.stderr)
            self.assertEqual(os.listdir(work), [])


if __name__ == "__main__":
    unittest.main()
