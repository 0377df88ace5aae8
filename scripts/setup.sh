#!/usr/bin/env bash
# Installs what building and testing Tesmora needs on a Debian or Ubuntu
# machine. Safe to run again: when everything is present it only checks.
set -euo pipefail

packages=(
  cmake ninja-build g++ make python3 ccache
  libgtest-dev googletest
  qt6-base-dev libgl-dev qt6-svg-dev qt6-translations-l10n
  xvfb xauth fonts-dejavu-core
)
# --fuzz: clang with libFuzzer and its sanitizer runtimes, for `make fuzz`.
for flag in "$@"; do
  case "$flag" in
    --fuzz) packages+=(clang libclang-rt-14-dev) ;;
  esac
done

# --tex: TeX Live for the exam papers in PDF (tesmora-run --pdf, the
# desktop's PDF export) and the PDF tools their tests use.
for arg in "$@"; do
  if [ "$arg" = "--tex" ]; then
    packages+=(texlive-latex-base texlive-latex-recommended texlive-lang-cyrillic
               cm-super poppler-utils)
  fi
done

missing=()
for package in "${packages[@]}"; do
  if ! dpkg -s "$package" >/dev/null 2>&1; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if ! command -v apt-get >/dev/null 2>&1; then
  echo "setup: missing packages (${missing[*]}), and apt-get is not available." >&2
  echo "setup: install them with your system's package manager." >&2
  exit 1
fi

sudo=()
if [ "$(id -u)" -ne 0 ]; then
  sudo=(sudo)
fi

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
