# The reporting of a shell check run by CTest, sourced by the checks: one
# step (in $step) counts its failures, skips with exit code 77 when a tool it
# needs is missing, and ends with 1 when anything failed.
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
skip() {
    echo "SKIPPED: $*"
    exit 77
}
finish() {
    if ((failures)); then
        echo "$failures problem(s) found in $step" >&2
        exit 1
    fi
    echo "$step: passed"
}
