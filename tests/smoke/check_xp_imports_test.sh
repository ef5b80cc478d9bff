#!/usr/bin/env bash
# Drives scripts/check-xp-imports over two probe programs with known imports.
#   check_xp_imports_test.sh CHECK VISTA_PROBE.exe XP_PROBE.exe WORK_FOLDER
set -uo pipefail

check=$1 vista=$2 xp=$3 work=$4
failures=0
output=""
status=0

run() {
  output=$("$check" "$@" 2>&1)
  status=$?
}

fail() {
  echo "FAILED: $1"
  echo "  exit code $status, output:"
  sed 's/^/  | /' <<<"$output"
  failures=$((failures + 1))
}

expect_status() {
  ((status == $1)) || fail "$2: expected exit code $1"
}

expect_line() {
  grep -qxF -- "$1" <<<"$output" || fail "$2: expected the line '$1'"
}

expect_no_match() {
  ! grep -qE -- "$1" <<<"$output" || fail "$2: unexpected output matching '$1'"
}

mkdir -p "$work"

# Every function XP lacks is named, with its DLL, and nothing passes.
run "$vista"
expect_status 1 "vista probe"
for import in KERNEL32.dll:InitializeSRWLock KERNEL32.dll:InitializeConditionVariable \
  KERNEL32.dll:GetUserDefaultLocaleName KERNEL32.dll:GetLocaleInfoEx \
  KERNEL32.dll:FlsAlloc KERNEL32.dll:GetTickCount64 dwmapi.dll:DwmIsCompositionEnabled; do
  function=${import#*:} dll=${import%%:*}
  grep -qiE "^xp-imports: FAIL $vista: imports $function from $dll, which Windows XP lacks$" \
    <<<"$output" || fail "vista probe: $function from $dll not reported"
done
grep -qiE "imports RegGetValueW from (advapi32|api-ms-win-[a-z0-9-]+)\.dll" <<<"$output" ||
  fail "vista probe: RegGetValueW not reported"
expect_no_match "^xp-imports: OK" "vista probe"

# Names close to denied ones (GetTickCount, GetLocaleInfoW, FlushFileBuffers,
# GetVersionExW) pass.
run "$xp"
expect_status 0 "xp probe"
expect_line "xp-imports: OK $xp" "xp probe"
expect_no_match "FAIL" "xp probe"

# --expect-32 refuses a 64-bit file even when its imports are fine.
run --expect-32 "$xp"
expect_status 1 "xp probe, --expect-32"
expect_line "xp-imports: FAIL $xp: file format pei-x86-64, expected pei-i386 (32-bit x86)" \
  "xp probe, --expect-32"
expect_no_match "^xp-imports: OK" "xp probe, --expect-32"

# Every file is checked: a failing one does not hide the verdict on the next.
run "$vista" "$xp"
expect_status 1 "two files"
expect_line "xp-imports: OK $xp" "two files"

# What cannot be inspected fails, never passes unseen.
printf 'MZ not really a program\n' >"$work/text.exe"
head -c 1024 "$xp" >"$work/truncated.exe"
: >"$work/empty.dll"
for file in "$work/text.exe" "$work/truncated.exe" "$work/empty.dll" "$work/missing.exe"; do
  run "$file"
  expect_status 1 "$file"
  grep -q "^xp-imports: FAIL $file: " <<<"$output" || fail "$file: no FAIL line"
  expect_no_match "^xp-imports: OK" "$file"
done

# Wrong usage is told apart from a failed check.
run
expect_status 2 "no files"
run --expect-64 "$xp"
expect_status 2 "unknown option"

if ((failures)); then
  echo "check-xp-imports: $failures failed expectations"
  exit 1
fi
echo "check-xp-imports: all expectations met"
