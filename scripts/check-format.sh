#!/usr/bin/env bash
# Checks that C and C++ sources are laid out as .clang-format says, listing those that are not.
#
#   scripts/check-format.sh [--fix] [--all | BASE]
#
# Which files:
#   --all                 every tracked C/C++ file
#   BASE (or FORMAT_BASE) the files changed since BASE: in commits, uncommitted, or new
#   neither               the files changed since origin/main; every tracked file when there is
#                         no origin/main, or when HEAD is origin/main and nothing is changed
#                         (a clean clone of main, as in CI)
# --fix formats those files in place instead. CLANG_FORMAT picks the binary (version 14 or later).
set -euo pipefail
cd "$(git rev-parse --show-toplevel)"

clang_format=${CLANG_FORMAT:-clang-format}
patterns=('*.c' '*.cc' '*.cpp' '*.h' '*.hpp')
fix=false all=false base=${FORMAT_BASE:-}
for arg in "$@"; do
  case $arg in
    --fix) fix=true ;;
    --all) all=true ;;
    -h|--help) sed -n '2,13p' "$0"; exit 0 ;;
    -*) echo "check-format: unknown option $arg" >&2; exit 2 ;;
    *) base=$arg ;;
  esac
done

if ! $all && [ -z "$base" ] && git rev-parse -q --verify origin/main >/dev/null; then
  if [ "$(git rev-parse HEAD)" != "$(git rev-parse origin/main)" ] || [ -n "$(git status --porcelain)" ]; then
    base=origin/main
  fi
fi

if ! $all && [ -n "$base" ]; then
  git rev-parse -q --verify "$base^{commit}" >/dev/null || { echo "check-format: unknown base $base" >&2; exit 2; }
  from=$(git merge-base "$base" HEAD 2>/dev/null || echo "$base")  # a shallow clone may lack the merge base
  mapfile -d '' files < <(git diff -z --name-only --diff-filter=d "$from" -- "${patterns[@]}"
                          git ls-files -z --others --exclude-standard -- "${patterns[@]}")
else
  mapfile -d '' files < <(git ls-files -z -- "${patterns[@]}")
fi

if [ ${#files[@]} -eq 0 ]; then
  echo "check-format: no C/C++ files to check"
  exit 0
fi
command -v "$clang_format" >/dev/null || { echo "check-format: $clang_format not found" >&2; exit 2; }
"$clang_format" --dump-config >/dev/null  # stops here, with clang-format's message, on a bad .clang-format

if $fix; then
  "$clang_format" -i -- "${files[@]}"
  echo "check-format: formatted ${#files[@]} file(s)"
  exit 0
fi

unformatted=()
for f in "${files[@]}"; do
  "$clang_format" --dry-run --Werror -- "$f" >/dev/null 2>&1 || unformatted+=("$f")
done
if [ ${#unformatted[@]} -gt 0 ]; then
  echo "check-format: ${#unformatted[@]} of ${#files[@]} file(s) are not formatted:" >&2
  printf '  %s\n' "${unformatted[@]}" >&2
  $all && base=--all
  echo "See the changes with 'clang-format --dry-run FILE'; apply them with '$0 --fix${base:+ $base}'." >&2
  exit 1
fi
echo "check-format: ${#files[@]} file(s) formatted"
