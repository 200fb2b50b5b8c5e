#!/usr/bin/env bash
# Replays a fuzz_dialogue input with the real program, as a person would run
# it: DATA (before the first "%%" line) becomes input.txt in a fresh temporary
# folder, and "N", "9" and then the SCRIPT (after it) are the standard input.
# Prints the exit status, the end of the console output, the standard error
# and the files the run left. Usage: fuzz/replay-dialogue.sh INPUT [KORVEL]
# (KORVEL defaults to build/korvel; build-asan/korvel gives sanitizer reports).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
input=$(realpath "${1:?input file}")
korvel=$(realpath "${2:-$root/build/korvel}")
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
perl -e '
  local $/; open(my $f, "<:raw", $ARGV[0]) or die; my $all = <$f>;
  my $at = index($all, "%%\n"); my $script = $all;
  if ($at >= 0) {
    open(my $d, ">:raw", "$ARGV[1]/input.txt") or die; print $d substr($all, 0, $at);
    $script = substr($all, $at + 3);
  }
  open(my $s, ">:raw", "$ARGV[1]/.stdin") or die; print $s "N\n9\n" . $script;
' "$input" "$dir"
(cd "$dir" && "$korvel" <.stdin >.stdout 2>.stderr)
echo "exit status: $?"
echo "--- console output (last 20 lines)"
tail -n 20 "$dir/.stdout"
echo "--- standard error"
cat "$dir/.stderr"
for f in "$dir"/*; do
  [ -e "$f" ] || continue
  echo "--- file $(basename "$f") (first 40 lines)"
  head -n 40 "$f"
done
