#!/usr/bin/env bash
# Runs the make rule and the CMake snippet of the README as they stand there, and checks that
# each regenerates the listing lumigrid-cli makes directly.
set -euo pipefail
readme=$1
cli=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export PATH="$(dirname "$cli"):$PATH"

# The fenced block after a marker line of the README.
block() {
  awk -v marker="<!-- $1 -->" '
    $0 == marker { found = 1; next }
    found && /^```/ { if (inside) exit; inside = 1; next }
    inside { print }' "$readme"
}

head -c 1024 /dev/urandom > "$work/logo.chr"
"$cli" listing "$work/logo.chr" -o "$work/expected.asm"

mkdir "$work/make"
cp "$work/logo.chr" "$work/make/"
block make-rule > "$work/make/Makefile"
[ -s "$work/make/Makefile" ] || { echo "no make rule in the README"; exit 1; }
make -s -C "$work/make" logo.asm
cmp "$work/make/logo.asm" "$work/expected.asm"

mkdir -p "$work/cmake/build"
cp "$work/logo.chr" "$work/cmake/"
{
  echo 'cmake_minimum_required(VERSION 3.16)'
  echo 'project(firmware NONE)'
  block cmake-rule
} > "$work/cmake/CMakeLists.txt"
grep -q add_custom_command "$work/cmake/CMakeLists.txt" || { echo "no CMake rule in the README"; exit 1; }
cmake -S "$work/cmake" -B "$work/cmake/build" > /dev/null
cmake --build "$work/cmake/build" > /dev/null
cmp "$work/cmake/build/logo.asm" "$work/expected.asm"

# A changed picture is picked up by the next build.
head -c 1024 /dev/urandom > "$work/cmake/logo.chr"
touch -d '+2 seconds' "$work/cmake/logo.chr"
cmake --build "$work/cmake/build" > /dev/null
"$cli" listing "$work/cmake/logo.chr" | cmp - "$work/cmake/build/logo.asm"
echo "both README rules regenerate the listing"
