#!/usr/bin/env bash
# Drives scripts/check-dll-imports over two probe programs with known imports.
#   check_dll_imports_test.sh CHECK VISTA_PROBE.exe XP_PROBE.exe
set -uo pipefail

check=$1 vista=$2 xp=$3
failures=0

run() {
  output=$("$check" "$@" 2>&1)
  status=$?
}

fail() {
  echo "FAILED: $1 (exit code $status)"
  sed 's/^/  | /' <<<"$output"
  failures=$((failures + 1))
}

# dwmapi is no known DLL: named, and the file fails.
run "$vista"
((status == 1)) || fail "vista probe: expected exit code 1"
grep -qiE "^dll-imports: FAIL $vista: imports dwmapi\.dll at load time" <<<"$output" ||
  fail "vista probe: dwmapi.dll not reported"
grep -qiE "imports (kernel32|advapi32|msvcrt)\.dll" <<<"$output" &&
  fail "vista probe: a known DLL was reported"

# kernel32, advapi32 and the C runtime pass.
run "$xp"
((status == 0)) || fail "xp probe: expected exit code 0"
grep -qxF "dll-imports: OK $xp" <<<"$output" || fail "xp probe: not reported OK"

# Both at once: one failure fails the run, the clean file is still named.
run "$xp" "$vista"
((status == 1)) || fail "both probes: expected exit code 1"
grep -qxF "dll-imports: OK $xp" <<<"$output" || fail "both probes: clean file not reported OK"

run
((status == 2)) || fail "no file: expected exit code 2"

((failures == 0)) && echo "check-dll-imports: all cases passed"
exit $((failures > 0))
