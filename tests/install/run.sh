#!/usr/bin/env bash
# Installs the engine built in the folder $1 into a temporary prefix, compiles every
# installed header, then builds and runs against it: headless/ with find_package (on
# corvex::headless, and on modules through corvex_program), checking the recording
# driver's trace; x11/ with pkg-config and one compiler line, under Xvfb; and the first
# program of docs/getting-started.md as printed, headless, ended by a script that
# presses Escape. Every ```cpp block of the other pages in docs/ is compiled and linked.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
cmake --install "$1" --prefix "$prefix" >/dev/null
strict="-Wall -Wextra -Werror"
# Where programs linked by pkg-config find an engine built with shared libraries.
export LD_LIBRARY_PATH=$prefix/lib${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}

cmake -S "$here/headless" -B "$work/headless" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_CXX_FLAGS="$strict" >/dev/null
cmake --build "$work/headless" -j "${JOBS:-2}" >/dev/null
for program in headless_consumer headless_modules; do
  CORVEX_DRAW_TRACE="$work/$program.trace" "$work/headless/$program"
  grep -qx "rect 0 0 30 40 10 20" "$work/$program.trace" || { echo "$program drew no rectangle"; exit 1; }
done

export PKG_CONFIG_PATH=$prefix/lib/pkgconfig
# Every installed header, on the include path the package gives and nothing else.
(cd "$prefix/include/corvex" && find . -name '*.h' | sort | sed 's|^\./\(.*\)|#include "\1"|') >"$work/headers.cpp"
# shellcheck disable=SC2046,SC2086
c++ -std=c++20 $strict -Wshadow -fsyntax-only "$work/headers.cpp" $(pkg-config --cflags corvex)
# shellcheck disable=SC2046,SC2086  # the flags are words
c++ -std=c++20 $strict "$here/x11/main.cpp" -o "$work/x11_consumer" $(pkg-config --cflags --libs corvex)
bash "$root/scripts/with-xvfb.sh" "$work/x11_consumer"

first=$work/first
mkdir "$first"
# shellcheck disable=SC2016  # backquotes, not an expansion
sed -n '/^```cpp$/,/^```$/{/^```/d;p}' "$root/docs/getting-started.md" >"$first/first.cpp"
# shellcheck disable=SC2046,SC2086
c++ -std=c++20 $strict "$first/first.cpp" -o "$first/first" $(pkg-config --cflags --libs corvex-headless)
cp "$root/docs/meadow.png" "$first/picture.png"
echo "3 keydown 27" >"$first/escape.txt"
CORVEX_INPUT_SCRIPT="$first/escape.txt" CORVEX_DRAW_TRACE="$first/trace" "$first/first"
[ "$(grep -c "^flip" "$first/trace")" = 3 ] || { echo "the first program did not end on Escape"; exit 1; }
# Every other page's examples are whole programs: each is compiled and linked as printed.
for page in "$root"/docs/*.md; do
  [ "$page" = "$root/docs/getting-started.md" ] && continue
  awk -v out="$work/$(basename "$page" .md)" '/^```cpp$/ {n++; file = out "-" n ".cpp"; next}
    /^```$/ {file = ""; next} file {print > file}' "$page"
done
for example in "$work"/*-[0-9]*.cpp; do
  [ -e "$example" ] || continue
  # shellcheck disable=SC2046,SC2086
  c++ -std=c++20 $strict "$example" -o "${example%.cpp}" $(pkg-config --cflags --libs corvex-headless) ||
    { echo "the example $(basename "$example") of docs/ does not build"; exit 1; }
done
echo "install: all consumers ran"
