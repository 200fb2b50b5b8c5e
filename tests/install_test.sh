#!/usr/bin/env bash
# Installs the built program into a temporary prefix, checks what is installed
# and runs the installed program on the installed answer file. Where cpack and
# dpkg-deb are present it also builds the Debian package, checks its contents
# and its dependency on the GSL runtime library, unpacks it into a scratch root
# and runs the program from there.
#   bash tests/install_test.sh BUILD_DIR [CMAKE [CPACK]]
set -euo pipefail
build=${1:?usage: install_test.sh BUILD_DIR [CMAKE [CPACK]]}
cmake_cmd=${2:-cmake}
cpack_cmd=${3:-cpack}

scratch=$(mktemp -d "${TMPDIR:-/tmp}/korvel-install.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The report lines that the session must produce, from values computed
# independently (tests/reference/check_reports.py; cats, SMA, with an
# intercept): common slope 5.338004224 with limits 4.777904343 and
# 5.965400125, statistic 0.4311063788 with chi-squared p 0.5114465638;
# elevation Wald statistic 6.207706327 with p 0.01271953326.
expected_lines=(
  "SMA analysis"
  $'No. groups:\t2'
  $'No. datapoints:\t144'
  $'2      \t144    \t5.338  \t4.778  \t5.965  \t'
  $'Test statistic:\t0.431\tp =\t0.511'
  $'1\t6.208  \t0.013  \tna'
  "Significant elevation shift between groups!"
)

# Runs PROGRAM with the answer file of EXAMPLES (a folder) in a fresh copy of
# that folder, and checks the exit status and the report.
run_session() { # label, program, examples folder
  local label=$1 program=$2 examples=$3 work status=0 line
  work=$(mktemp -d "$scratch/run.XXXXXX")
  cp "$examples/input.txt" "$examples/session.txt" "$work/"
  (cd "$work" && "$program" < session.txt > console.txt 2> errors.txt) || status=$?
  [ "$status" = 1 ] || fail "$label: exit status $status, expected 1"
  [ -s "$work/errors.txt" ] && fail "$label: wrote to standard error: $(cat "$work/errors.txt")"
  grep -q 'GoodBye' "$work/console.txt" || fail "$label: no GoodBye on the console"
  if [ ! -f "$work/output.txt" ]; then
    fail "$label: no report output.txt"
    return
  fi
  for line in "${expected_lines[@]}"; do
    grep -qxF -- "$line" "$work/output.txt" || fail "$label: report lacks the line [$line]"
  done
  [ "$(grep -c '^-\{100\}$' "$work/output.txt")" = 1 ] || fail "$label: report lacks its closing line of 100 hyphens"
  echo "ok: $label"
}

expect_file() { # label, path
  if [ -f "$2" ]; then echo "ok: $1 installed"; else fail "$1 missing: $2"; fi
}

# 1. cmake --install into a temporary prefix.
prefix="$scratch/prefix"
"$cmake_cmd" --install "$build" --prefix "$prefix" > "$scratch/install.log"
expect_file "program" "$prefix/bin/korvel"
[ -x "$prefix/bin/korvel" ] || fail "bin/korvel is not executable"
expect_file "manual page" "$prefix/share/man/man1/korvel.1"
expect_file "example data" "$prefix/share/korvel/examples/input.txt"
expect_file "example answer file" "$prefix/share/korvel/examples/session.txt"
if [ -x "$prefix/bin/korvel" ] && [ -f "$prefix/share/korvel/examples/session.txt" ]; then
  run_session "installed program on the installed examples" "$prefix/bin/korvel" "$prefix/share/korvel/examples"
fi

# 2. The Debian package.
if ! command -v "$cpack_cmd" >/dev/null 2>&1 || ! command -v dpkg-deb >/dev/null 2>&1; then
  echo "note: cpack or dpkg-deb not available; the Debian package was not checked"
elif [ ! -f "$build/CPackConfig.cmake" ]; then
  fail "no CPackConfig.cmake in $build"
else
  (cd "$scratch" && "$cpack_cmd" -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/package") > "$scratch/cpack.log" 2>&1 \
    || { cat "$scratch/cpack.log"; fail "cpack -G DEB failed"; }
  shopt -s nullglob
  debs=("$scratch"/package/*.deb)
  shopt -u nullglob
  if [ ${#debs[@]} != 1 ]; then
    fail "expected one .deb, found ${#debs[@]}"
  else
    deb=${debs[0]}
    echo "ok: built $(basename "$deb")"
    [ "$(dpkg-deb -f "$deb" Package)" = korvel ] || fail "package name is not korvel"
    depends=$(dpkg-deb -f "$deb" Depends || true)
    echo "Depends: $depends"
    for library in 'libgsl[0-9]+' libcairo2 libcsv3; do
      grep -Eq "(^|[ ,])$library([ ,(]|\$)" <<<"$depends" || fail "the package does not depend on $library"
    done
    contents=$(dpkg-deb -c "$deb")
    for path in ./usr/bin/korvel ./usr/share/man/man1/korvel.1 \
                ./usr/share/korvel/examples/input.txt ./usr/share/korvel/examples/session.txt; do
      grep -q " $path\$" <<<"$contents" || fail "the package lacks $path"
    done
    root="$scratch/root"
    dpkg-deb -x "$deb" "$root"
    if [ -x "$root/usr/bin/korvel" ]; then
      run_session "program unpacked from the .deb" "$root/usr/bin/korvel" "$root/usr/share/korvel/examples"
      # The example of --help, as written but for the root it is unpacked in: it names files the package ships.
      example=$("$root/usr/bin/korvel" --help | sed -n '/^  korvel /,/[^\\]$/p' | sed 's/\\$//; s/^ *//' | tr '\n' ' ')
      example=${example//\/usr\//$root/usr/}
      (cd "$scratch" && eval "$root/usr/bin/$example" > example.txt 2>&1 && [ -s korvel-1.svg ]) &&
        echo "ok: the --help example" || fail "the --help example: $example: $(cat "$scratch/example.txt")"
    else
      fail "no executable usr/bin/korvel in the unpacked package"
    fi
  fi
fi

if [ "$failures" != 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "install checks passed"
