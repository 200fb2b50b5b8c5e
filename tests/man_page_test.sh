#!/usr/bin/env bash
# The manual page renders without a single warning, and holds the sections,
# screen letters and options a user looks for (every option --help lists).
# Skips (exit 77) where groff is missing.
#   bash tests/man_page_test.sh docs/korvel.1 [KORVEL]
set -uo pipefail
page=${1:?usage: man_page_test.sh PAGE}
skip=77

if ! command -v groff >/dev/null 2>&1; then
  echo "SKIP: groff is not installed (Debian package groff-base)"
  exit $skip
fi
fail=0
err=$(mktemp)
trap 'rm -f "$err"' EXIT

check_quiet() { # description, command...
  local what=$1; shift
  if ! "$@" >/dev/null 2>"$err"; then
    echo "FAIL: $what exited with status $?"; cat "$err"; fail=1
  elif [ -s "$err" ]; then
    echo "FAIL: $what wrote to standard error:"; cat "$err"; fail=1
  else
    echo "ok: $what"
  fi
}

check_quiet "groff -ww -man -Tutf8" groff -ww -man -Tutf8 "$page"
for width in 60 80 120; do
  check_quiet "groff -ww at line length $width" groff -ww -man -Tutf8 -rLL=${width}n "$page"
done
if command -v man >/dev/null 2>&1; then
  check_quiet "man -l" env MANPAGER=cat PAGER=cat man -l "$page"
else
  echo "note: man is not installed; only groff was checked"
fi

# Sections of a real manual page.
for section in NAME SYNOPSIS DESCRIPTION OPTIONS "SETTINGS SCREEN" "DATA-INPUT SCREEN" \
               "COMPARISON MENU" "DATA FILE FORMAT" REPORT "BATCH USE" FILES \
               "EXIT STATUS" EXAMPLE; do
  if ! grep -qx "\.SH \"\{0,1\}$section\"\{0,1\}" "$page"; then
    echo "FAIL: no section $section"; fail=1
  fi
done

# Every letter of the two screens and of the comparison menu has its entry:
# a tagged paragraph whose tag is the letter in bold.
entries() { # from-section, to-section
  sed -n "/^\.SH $1/,/^\.SH $2/p" "$page" | awk '/^\.TP/ { getline; print }'
}
settings=$(entries "SETTINGS SCREEN" "DATA-INPUT SCREEN")
input=$(entries "DATA-INPUT SCREEN" "THE ANALYSIS")
menu=$(entries "COMPARISON MENU" "DATA FILE FORMAT")
for letter in I O M T E C G R N P L x; do
  grep -qx "\.B $letter" <<<"$settings" || { echo "FAIL: settings letter $letter not described"; fail=1; }
done
for letter in G Y X F T B A D L; do
  grep -qx "\.B $letter" <<<"$input" || { echo "FAIL: data-input letter $letter not described"; fail=1; }
done
for letter in S R F X; do
  grep -qx "\.B $letter" <<<"$menu" || { echo "FAIL: comparison menu letter $letter not described"; fail=1; }
done

# The report columns, by the names the report prints.
for column in Group n R2 p Slope LowCI UppCI Interc Ymean Xmean H0_b H0_a Grps N \
              YgrandX XgrandY Fmean Rmean df stat A_com; do
  grep -q "^\.BR\{0,1\} \(.*[ \"]\)\{0,1\}$column\b" "$page" || { echo "FAIL: report column $column not described"; fail=1; }
done

if [ -n "${2:-}" ]; then
  text=$(sed 's/\\-/-/g' "$page")
  for option in $("$2" --help | grep -o -- '--[a-z0-9-]*' | sort -u); do
    grep -q -- "$option" <<<"$text" || { echo "FAIL: option $option not described"; fail=1; }
  done
fi

[ $fail = 0 ] && echo "manual page checks passed"
exit $fail
