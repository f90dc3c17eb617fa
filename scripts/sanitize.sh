#!/usr/bin/env bash
# Builds the C++ tests under AddressSanitizer with UndefinedBehaviorSanitizer
# and under ThreadSanitizer, each in a build folder of its own (the presets
# address and thread: build-address, build-thread), and runs them; any report
# fails the run. For developers before submitting: it takes far longer than
# CI's budget allows.
#   scripts/sanitize.sh [address|thread|both, default both] [test program...]
# Without test programs it builds everything and runs the whole suite under
# CTest; with some (for instance session_tests transport_tests) it builds and
# runs only those.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
which="${1:-both}"
shift || true
programs=("$@")
case "$which" in
  address) kinds=(address) ;;
  thread) kinds=(thread) ;;
  both) kinds=(address thread) ;;
  *) echo "usage: $0 [address|thread|both] [test program...]" >&2; exit 2 ;;
esac

run_setup

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1"

# ThreadSanitizer of this compiler cannot map its shadow memory when the
# kernel randomises addresses with many bits; it runs without randomisation.
launcher=()
if [[ "$which" != address ]] && setarch "$(uname -m)" -R true 2>/dev/null; then
  launcher=(setarch "$(uname -m)" -R)
fi

status=0
for kind in "${kinds[@]}"; do
  build="$root/build-$kind"
  echo "sanitize: $kind in $build"
  configure_preset "$kind" "$build"
  runner=()
  [[ "$kind" == thread ]] && runner=("${launcher[@]}")
  # Test discovery runs the test programs, so the build needs the launcher too.
  if [[ ${#programs[@]} -eq 0 ]]; then
    "${runner[@]}" cmake --build "$build" --parallel "$jobs"
    if ! "${runner[@]}" ctest --test-dir "$build" --output-on-failure -j "${MARLEK_TEST_JOBS:-4}"; then
      echo "sanitize: $kind run FAILED" >&2
      status=1
    fi
    continue
  fi
  "${runner[@]}" cmake --build "$build" --parallel "$jobs" --target "${programs[@]}"
  for program in "${programs[@]}"; do
    if ! "${runner[@]}" "$build/tests/$program" --gtest_brief=1; then
      echo "sanitize: $kind $program FAILED" >&2
      status=1
    fi
  done
done
exit "$status"
