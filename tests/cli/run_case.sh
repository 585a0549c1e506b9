#!/usr/bin/env bash
# Runs one folder of tests/cases: `args` holds the tobiuox-cli arguments ($IN is the
# folder's `in` file, $TMP a scratch folder), `out` the exact expected standard output,
# `status` the exit status (0 when absent), `err` text that standard error must contain,
# `after` shell lines run afterwards whose output joins the standard output (to look at
# files the command wrote).
set -u
cli=$1
dir=$2
IN="$dir/in"
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
eval "set -- $(cat "$dir/args")"
if [ -f "$dir/stdin" ]; then
  "$cli" "$@" <"$dir/stdin" >"$TMP/stdout" 2>"$TMP/stderr"
else
  "$cli" "$@" </dev/null >"$TMP/stdout" 2>"$TMP/stderr"
fi
status=$?
if [ -f "$dir/after" ]; then
  (eval "$(cat "$dir/after")") >>"$TMP/stdout" 2>&1
fi
want_status=0
[ -f "$dir/status" ] && want_status=$(cat "$dir/status")
fail=0
if [ "$status" != "$want_status" ]; then
  echo "exit status $status, expected $want_status"; fail=1
fi
if [ -f "$dir/out" ] && ! cmp -s "$TMP/stdout" "$dir/out"; then
  echo "standard output differs:"; diff <(od -An -tx1 -v "$dir/out") <(od -An -tx1 -v "$TMP/stdout") | head -20; fail=1
fi
if [ -f "$dir/err" ] && ! grep -qF -- "$(cat "$dir/err")" "$TMP/stderr"; then
  echo "standard error lacks: $(cat "$dir/err")"; cat "$TMP/stderr"; fail=1
fi
if [ "$status" = 2 ] && [ "$(wc -l <"$TMP/stderr")" != 1 ]; then
  echo "a usage error must be one line on standard error:"; cat "$TMP/stderr"; fail=1
fi
exit $fail
