#!/usr/bin/env bash
# Runs every test executable of a build under valgrind's memcheck: any invalid
# read or write, use of uninitialised memory or definite leak fails the run
# (only Qt's own leaks are suppressed, in tests/sanitizer/valgrind.supp).
# Usage: tools/run-valgrind.sh [BUILD_DIR]   (default build-tests, as run-tests.sh builds it)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build-tests}
export QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software

status=0
for test in "$build"/tests/tst_*; do
    [ -f "$test" ] && [ -x "$test" ] || continue
    echo "== $test"
    valgrind --quiet --error-exitcode=1 --leak-check=full --show-leak-kinds=definite \
        --errors-for-leak-kinds=definite --num-callers=30 \
        --suppressions=tests/sanitizer/valgrind.supp "$test" -silent || status=1
done
exit $status
