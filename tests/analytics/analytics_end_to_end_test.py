#!/usr/bin/env python3
"""Whole program runs of the usage tracker against a recording HTTP server on
127.0.0.1: exact requests and payloads, the queue time, the stored client id,
going offline, and runs that must send nothing or must not hang."""
import argparse
import http.server
import os
import re
import subprocess
import sys
import tempfile
import threading
import time

FAILURES = []


def check(condition, message):
    if not condition:
        FAILURES.append(message)
        print("FAIL:", message)


class Recorder(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def __init__(self, mode):
        super().__init__(("127.0.0.1", 0), Handler)
        self.mode = mode  # "ok", "error", "slow", "silent"
        self.requests = []
        self.lock = threading.Lock()
        self.released = threading.Event()

    def url(self):
        return "http://127.0.0.1:%d" % self.server_address[1]


class Handler(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        length = int(self.headers.get("Content-Length", "0"))
        body = self.rfile.read(length).decode("utf-8")
        with self.server.lock:
            index = len(self.server.requests)
            self.server.requests.append((self.requestline, dict(self.headers), body))
        mode = self.server.mode
        if mode == "silent":
            # Never answers while the test runs: the program must give up on
            # its own, or the run times out and the test fails.
            self.server.released.wait(170)
            return
        if mode == "slow" and index == 0:
            time.sleep(0.5)
        self.send_response(500 if mode == "error" else 200)
        self.send_header("Content-Type", "image/gif")
        self.send_header("Content-Length", "0")
        self.end_headers()

    def log_message(self, *args):
        pass


class Runner:
    def __init__(self, options):
        self.options = options
        self.company = "VornTest Analytics %d" % os.getpid()
        self.output = os.path.join(tempfile.mkdtemp(prefix="vorn-analytics-"), "cid.txt")

    def windows_path(self, path):
        return "Z:" + path.replace("/", "\\")

    def run(self, endpoint, tracking="UA-TEST-1", rate="-", stored="-", screen="Install",
            events="2", company=None):
        if os.path.exists(self.output):
            os.remove(self.output)
        command = [self.options.wine_run, "--prefix", self.options.prefix, self.options.probe,
                   endpoint, tracking, company or self.company, rate, stored, screen, events,
                   self.windows_path(self.output)]
        started = time.monotonic()
        result = subprocess.run(command, timeout=180, capture_output=True)
        elapsed = time.monotonic() - started
        client_id = open(self.output).read().strip() if os.path.exists(self.output) else ""
        return result.returncode, elapsed, client_id


def serve(mode):
    server = Recorder(mode)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def strip_queue_time(payload):
    match = re.search(r"&qt=(\d+)$", payload)
    return (payload[:match.start()], int(match.group(1))) if match else (payload, None)


def test_exact_requests(runner):
    server = serve("ok")
    code, _, cid = runner.run(server.url(), stored="delete")
    server.shutdown()
    check(code == 0, "normal run exit code %d" % code)
    check(re.fullmatch(r"[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}", cid),
          "client id format: %r" % cid)
    requests = server.requests
    check(len(requests) == 4, "start, two events and end: got %d" % len(requests))
    common = "v=1&tid=UA-TEST-1&cid=%s&an=Vorn+Probe&av=1.5" % cid
    expected = [
        common + "&sc=start&t=screenview&cd=Install",
        common + "&t=event&cd=Install&ec=Maintenance&ea=Install&el=Success",
        common + "&t=event&cd=Install&ec=Maintenance&ea=Install&el=Canceled",
        common + "&sc=end&t=screenview&cd=Install",
    ]
    for index, (line, headers, body) in enumerate(requests[:4]):
        check(line == "POST /collect HTTP/1.1", "request line %r" % line)
        check(headers.get("Content-Type") == "application/x-www-form-urlencoded",
              "content type %r" % headers.get("Content-Type"))
        check(re.fullmatch(r"Mozilla/5\.0 \(Windows NT \d+\.\d+(; WOW64)?\) VornLib/2\.0",
                           headers.get("User-Agent", "")),
              "user agent %r" % headers.get("User-Agent"))
        payload, queue_time = strip_queue_time(body)
        if index == 0:
            # Language and screen size follow the screen name when known.
            check(re.fullmatch(re.escape(expected[0]) + r"(&ul=[a-z]+(-[a-z]+)*)?(&sr=\d+x\d+)?",
                               payload), "start hit %r" % body)
        else:
            check(payload == expected[index], "hit %d: %r" % (index, body))
        check(queue_time is None or queue_time >= 1, "queue time %r" % queue_time)
    print("user agent:", requests[0][1].get("User-Agent") if requests else None)
    return cid


def test_queue_time(runner):
    # The first answer takes half a second: every later hit waits that long
    # in the queue and says so.
    server = serve("slow")
    runner.run(server.url())
    server.shutdown()
    bodies = [body for _, _, body in server.requests]
    check(len(bodies) == 4, "slow server: %d hits" % len(bodies))
    for body in bodies[1:]:
        _, queue_time = strip_queue_time(body)
        check(queue_time is not None and queue_time >= 100, "waited hit without qt: %r" % body)


def test_stored_client_id(runner, first_cid):
    server = serve("ok")
    _, _, cid = runner.run(server.url())
    check(cid == first_cid, "the stored id is reused: %r then %r" % (first_cid, cid))
    _, _, cid = runner.run(server.url(), stored="{0a1b2c3d-4e5f-6071-8293-a4b5c6d7e8f9}")
    check(cid == "0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9", "braced lower-case id: %r" % cid)
    _, _, zero = runner.run(server.url(), stored="00000000-0000-0000-0000-000000000000")
    check(zero not in ("", "00000000-0000-0000-0000-000000000000") and zero != cid,
          "an all-zero id is replaced: %r" % zero)
    _, _, again = runner.run(server.url())
    check(again == zero, "the replacement is stored: %r then %r" % (zero, again))
    server.shutdown()
    sent = [body for _, _, body in server.requests]
    check(any("&cid=0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9&" in body for body in sent),
          "the reused id is sent without braces in upper case")


def test_server_error_goes_offline(runner):
    server = serve("error")
    code, _, _ = runner.run(server.url(), events="5")
    server.shutdown()
    check(code == 0, "exit code after a 500: %d" % code)
    check(len(server.requests) == 1, "after a 500 nothing more is sent: %d" % len(server.requests))


def test_nothing_sent(runner):
    server = serve("ok")
    runner.run(server.url(), tracking="-")
    check(len(server.requests) == 0, "no TrackingID: %d requests" % len(server.requests))
    runner.run(server.url(), rate="0")
    check(len(server.requests) == 0, "sample rate 0: %d requests" % len(server.requests))
    runner.run(server.url(), rate="-2.5")
    check(len(server.requests) == 0, "negative sample rate: %d requests" % len(server.requests))
    server.shutdown()


def test_unreachable_and_silent(runner):
    # Nothing listens on the port of a server that has just closed.
    closed = serve("ok")
    url = closed.url()
    closed.shutdown()
    closed.server_close()
    code, absent_seconds, _ = runner.run(url, events="5")
    check(code == 0, "unreachable endpoint exit code %d" % code)
    # A baseline run that sends nothing, for the same program's start-up.
    _, baseline_seconds, _ = runner.run(url, tracking="-")
    print("exit with the endpoint unreachable: %.2f s (run without analytics: %.2f s)"
          % (absent_seconds, baseline_seconds))

    silent = serve("silent")
    code, silent_seconds, _ = runner.run(silent.url(), events="5")
    count = len(silent.requests)
    silent.released.set()
    silent.shutdown()
    check(code == 0, "silent endpoint exit code %d" % code)
    check(count == 1, "a silent endpoint gets one request, then the run is offline: %d" % count)
    print("exit with an endpoint that never answers: %.2f s" % silent_seconds)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--wine-run", required=True)
    parser.add_argument("--prefix", required=True)
    parser.add_argument("--probe", required=True)
    options = parser.parse_args()
    os.environ.setdefault("WINEDEBUG", "-all")
    # Windowless probes; the test run's shared display stays (see scripts/test).
    if not os.environ.get("VORN_TEST_DISPLAY"):
        os.environ.pop("DISPLAY", None)
    runner = Runner(options)
    cid = test_exact_requests(runner)
    test_queue_time(runner)
    test_stored_client_id(runner, cid)
    test_server_error_goes_offline(runner)
    test_nothing_sent(runner)
    test_unreachable_and_silent(runner)
    print("analytics end to end: %s" % ("%d failures" % len(FAILURES) if FAILURES else "ok"))
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main())
