#!/usr/bin/env bash
# The lint gates: every source file formatted, and clang-tidy clean on the
# portable core (bugprone, performance and the project's naming).
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
clang-format --dry-run --Werror "${files[@]}"
echo "clang-format: ${#files[@]} files clean"

build=${LINT_BUILD:-build/linux}
[ -f "$build/compile_commands.json" ] || { echo "no $build/compile_commands.json: build it first"; exit 1; }
mapfile -t core < <(git ls-files 'src/*.cpp' | grep -v '^src/platform/win32/')
clang-tidy --quiet -p "$build" "${core[@]}" 2>/dev/null
echo "clang-tidy: ${#core[@]} files clean"
