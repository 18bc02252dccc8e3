#!/usr/bin/env bash
# The lint gates: every source file formatted, and clang-tidy clean on the
# portable core and the Windows layer (bugprone, performance and the
# project's naming, as .clang-tidy sets them).
#
# The Windows layer is checked with the MinGW build's compile commands
# (build/windows, from `make build-windows`).
set -euo pipefail
cd "$(dirname "$0")/.."
# Every file under src/ has its place in README's Layout: named there as
# itself, or with its header (`name.h` or `name.*` for name.cpp). New files
# count before they are added to git.
layout=$(sed -n '/^## Layout/,/^## [^L]/p' README.md)
unnamed=0
while read -r file; do
  base=${file##*/}
  stem=${base%.*}
  if ! grep -qF -e "\`$base\`" -e "/$base\`" -e "/$stem.*\`" -e "\`$stem.*\`" -e "\`$stem.h\`" <<<"$layout"; then
    echo "$file: not named in README.md's Layout; give it its place there" \
      "(as \`$base\`, or \`$stem.*\` with its header, and what it is for)"
    unnamed=1
  fi
done < <(git ls-files --cached --others --exclude-standard -- src)
((unnamed == 0)) || exit 1
echo "layout: every file under src/ is named in README.md"

mapfile -t files < <(git ls-files '*.cpp' '*.h')
clang-format --dry-run --Werror "${files[@]}"
echo "clang-format: ${#files[@]} files clean"

# Includes only look down the layers (README, Layout): a file includes its
# own folder's headers and those of the layers below it, never above or
# beside it. Tests sit above everything.
layers=(common platform settings controller "timer_dialog help_window" program win32)
layer_of() {
  local i
  for i in "${!layers[@]}"; do
    [[ " ${layers[$i]} " == *" $1 "* ]] && { echo "$i"; return; }
  done
  echo -1
}
upward=0
while IFS=: read -r file line text; do
  from=${file#src/}; from=${from%%/*}
  to=$(sed -n 's/^#include "\([a-z_0-9]*\)\/.*/\1/p' <<<"$text")
  [ -n "$to" ] && [ "$to" != "$from" ] || continue
  if (($(layer_of "$to") >= $(layer_of "$from"))); then
    echo "$file:$line: $from includes $to, which is not below it: $text"
    upward=1
  fi
done < <(git grep -n '^#include "' -- 'src/*.cpp' 'src/*.h')
((upward == 0)) || exit 1
echo "includes: every one looks down the layers"

build=${LINT_BUILD:-build/linux}
[ -f "$build/compile_commands.json" ] || { echo "no $build/compile_commands.json: build it first"; exit 1; }
mapfile -t core < <(git ls-files 'src/*.cpp' | grep -v '^src/win32/')
# Four files a run, two runs at a time: the machines this runs on have two cores.
tidy() { xargs -0 -n 4 -P "${JOBS:-2}" clang-tidy --quiet "$@" 2>/dev/null; }
printf '%s\0' "${core[@]}" | tidy -p "$build"
echo "clang-tidy: ${#core[@]} files clean"

windows=${LINT_WINDOWS_BUILD:-build/windows}
[ -f "$windows/compile_commands.json" ] || { echo "no $windows/compile_commands.json: build it first"; exit 1; }
# clang with the MinGW C++ library and headers; its own intrinsics.
gcc_dir=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
args=(--extra-arg=--target=x86_64-w64-mingw32 --extra-arg=-nostdinc++)
for dir in "$gcc_dir/include/c++" "$gcc_dir/include/c++/x86_64-w64-mingw32" \
  "$gcc_dir/include/c++/backward" /usr/x86_64-w64-mingw32/include; do
  args+=("--extra-arg=-isystem$dir")
done
mapfile -t win32 < <(git ls-files 'src/win32/*.cpp')
printf '%s\0' "${win32[@]}" | tidy -p "$windows" "${args[@]}"
echo "clang-tidy, Windows layer: ${#win32[@]} files clean"
