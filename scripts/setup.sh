#!/usr/bin/env bash
# Installs the Debian packages the build needs, when they are missing.
# Sourced by the other scripts; installs only as root (through apt-get).
set -euo pipefail

korvel_packages=(g++ make cmake pkg-config libgsl-dev libcsv-dev libcli11-dev libcairo2-dev nlohmann-json3-dev
                 libgtest-dev groff-base python3-numpy python3-scipy python3-statsmodels python3-jsonschema python3-pil
                 librsvg2-bin poppler-utils fonts-dejavu-core r-base-core)
# The Python package's build and tests (scripts/python-package).
korvel_packages+=(python3-pybind11 python3-dev python3-setuptools python3-wheel python3-venv python3-pandas
                  python3-numpy python3-pytest python3-matplotlib)
# The R package's build, check and tests (scripts/r-package).
korvel_packages+=(r-base-dev r-cran-rcpp r-cran-testthat r-cran-generics r-cran-jsonlite r-cran-mass)

korvel_missing_packages() {
  local missing=()
  local p
  for p in "${korvel_packages[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  echo "${missing[@]:-}"
}

korvel_install_packages() {
  local missing
  missing=$(korvel_missing_packages "$@")
  [ -z "$missing" ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing Debian packages: $missing (install them as root with apt-get)" >&2
    return 1
  fi
  echo "Installing: $missing"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  # shellcheck disable=SC2086
  apt-get install -y -qq $missing >/dev/null
}
