#!/usr/bin/env python3
"""Crashes of programs built on the framework, on a private X display: the
dump in Wine's temporary folder, the text of the report box (answered by a
driver program), and the exit status, which is the exception code."""
import argparse
import os
import subprocess
import sys
import tempfile
import time

FAILURES = []

DUMP_WRITTEN = (
    "This application has encountered a critical error.\n\nException: 0x{code:08X}\n\n"
    "Please email the log file saved as [{path}] to the technical support team at [{support}]"
    "\n\nProvide as much detail as possible about your system and how to reproduce the bug. "
    "Your feedback is highly appreciated and will help us to fix the issue as quickly as "
    "possible.")
NO_DEBUG_HELP = (
    "This application has encountered a critical error.\n\nException: 0x{code:08X}\n\n"
    "Please download and install a recent version of [DbgHelp.dll] in its default folder or "
    "in the same folder as this application. Then re-launch the application to get a more "
    "detailed crash report to email us at [{support}].")


def check(condition, message):
    if not condition:
        FAILURES.append(message)
        print("FAIL:", message)


def start_display():
    for number in range(70, 200):
        if os.path.exists("/tmp/.X11-unix/X%d" % number) or os.path.exists("/tmp/.X%d-lock" % number):
            continue
        server = subprocess.Popen(["Xvfb", ":%d" % number, "-nolisten", "tcp"],
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(100):
            if os.path.exists("/tmp/.X11-unix/X%d" % number):
                return server, ":%d" % number
            if server.poll() is not None:
                break
            time.sleep(0.1)
        server.kill()
    raise RuntimeError("no free X display")


def unix_path(prefix, windows_path):
    drive, rest = windows_path[0].lower(), windows_path[2:].replace("\\", "/")
    if drive == "z":
        return rest
    return os.path.join(prefix, "drive_" + drive) + rest


def run_crash(options, scenario, attempts=1, leave_box=False):
    output = os.path.join(tempfile.mkdtemp(prefix="vorn-crash-"), "report.txt")
    programs = options.programs
    probe = "Z:" + os.path.join(programs, "framework_probe.exe").replace("/", "\\")
    command = [options.wine_run, "--prefix", options.prefix,
               os.path.join(programs, "crash_box_driver.exe")]
    command += ["--leave-box"] if leave_box else []
    command += ["Z:" + output.replace("/", "\\"), probe, scenario]
    for attempt in range(attempts):
        driver = subprocess.run(command, timeout=300, capture_output=True)
        if driver.returncode == 0:
            break
        print("%s: driver ended with %d: %s" % (
            scenario, driver.returncode, driver.stderr.decode("utf-8", "replace").strip()))
    check(driver.returncode == 0, "%s: driver ended with %d" % (scenario, driver.returncode))
    report = {"text": None}
    if os.path.exists(output):
        content = open(output, encoding="utf-8").read()
        head, _, text = content.partition("text:\n")
        for line in head.splitlines():
            key, _, value = line.partition("=")
            report[key] = value
        report["text"] = text.replace("\r\n", "\n") if "text:\n" in content else None
    return report


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--wine-run", required=True)
    parser.add_argument("--prefix", required=True)
    parser.add_argument("--programs", required=True)
    parser.add_argument("--support-address", required=True)
    options = parser.parse_args()
    os.environ.setdefault("WINEDEBUG", "-all")
    # The test run's own display when it has one: every Wine process of the
    # run must share a display for the box to be shown (see scripts/test).
    display, name = None, os.environ.get("VORN_TEST_DISPLAY")
    if not name:
        display, name = start_display()
    os.environ["DISPLAY"] = name
    try:
        # The box is owned by the main window only when that has a visible
        # system window.
        # A main window whose object is garbage by the time of the crash
        # still owns the box: its handle is known without calling into it.
        owners = {"crash-main": "0", "crash-thread": "0", "crash-no-dbghelp": "0",
                  "crash-shown-window": "1", "crash-hidden-window": "0",
                  "crash-freed-window": "1", "terminate-main": "0", "pure-virtual-main": "0"}
        # A terminate of the C++ runtime (our code has no exceptions: a fatal
        # fault) is reported like any crash, with a code of its own.
        codes = {"terminate-main": 0xE0564F54, "pure-virtual-main": 0xE0564F54}
        for scenario in owners:
            code = codes.get(scenario, 0xC0000005)
            # A dump left by an earlier case must not count for this one. This
            # run only asks for the temporary folder: a start that fails while
            # the Wine server is busy with other tests is tried again.
            first = run_crash(options, "quit-at-start 0", attempts=3)
            temp = first.get("temp", "")
            dump_windows = temp + "VornLib-CrashReport.dmp"
            dump = unix_path(options.prefix, dump_windows)
            if os.path.exists(dump):
                os.remove(dump)
            report = run_crash(options, scenario)
            check(report.get("exit") == "0x%08X" % code,
                  "%s: exit status %s" % (scenario, report.get("exit")))
            check(report.get("owner") == owners[scenario],
                  "%s: box owner %s, expected %s" % (scenario, report.get("owner"), owners[scenario]))
            if scenario == "crash-no-dbghelp":
                expected = NO_DEBUG_HELP.format(code=code, support=options.support_address)
                check(not os.path.exists(dump), "%s: no dump without DbgHelp" % scenario)
            else:
                expected = DUMP_WRITTEN.format(code=code, path=dump_windows,
                                               support=options.support_address)
                check(os.path.exists(dump) and os.path.getsize(dump) > 0,
                      "%s: dump %s written" % (scenario, dump))
            check(report["text"] == expected,
                  "%s: report text\n%r\nexpected\n%r" % (scenario, report["text"], expected))
            print("%s: exit %s, owner %s, dump %s" % (scenario, report.get("exit"), report.get("owner"),
                                             os.path.getsize(dump) if os.path.exists(dump) else "none"))
        # Faults while a report is in progress end the process with the code
        # of the crash being reported: at once on the reporting thread (here
        # the dump writer faults, before any box), after a bounded wait on
        # another thread (here the box is left up, and only the second
        # thread's fault can end the process).
        in_report = run_crash(options, "crash-in-report")
        check(in_report.get("exit") == "0xE0564F01",
              "crash-in-report: exit status %s" % in_report.get("exit"))
        check(int(in_report.get("elapsed", "999999")) < 15000,
              "crash-in-report: ended after %s ms" % in_report.get("elapsed"))
        check(in_report["text"] is None, "crash-in-report: a box was shown")
        two = run_crash(options, "crash-two-threads", leave_box=True)
        check(two.get("exit") == "0xE0564F02",
              "crash-two-threads: exit status %s" % two.get("exit"))
        check(two["text"] is not None, "crash-two-threads: no report box")
        check(int(two.get("elapsed", "999999")) < 60000,
              "crash-two-threads: ended after %s ms" % two.get("elapsed"))
        print("crash-in-report: exit %s after %s ms" % (in_report.get("exit"), in_report.get("elapsed")))
        print("crash-two-threads: exit %s after %s ms" % (two.get("exit"), two.get("elapsed")))
    finally:
        if display:
            display.terminate()
            display.wait()
    print("crash reports: %s" % ("%d failures" % len(FAILURES) if FAILURES else "ok"))
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main())
