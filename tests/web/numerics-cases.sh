#!/bin/bash
# exp, log and pow in WebAssembly against the native build on one fixed
# argument set: both programs must succeed (no lane of a vector form differs
# from the scalar function; natively, nothing misrounded against MPFR) and
# print the same hash of each function's results.
# usage: numerics-cases.sh NATIVE_NUMERICS_CASES NUMERICS_CASES_JS
set -u
native=$("$1") || { echo "native numerics_cases failed" >&2; exit 1; }
web=$(node "$2") || { echo "WebAssembly numerics-cases failed" >&2; exit 1; }
echo "$native"
if [ "$native" != "$web" ]; then
  echo "DIFFERENT from the native results:" >&2
  echo "$web" >&2
  exit 1
fi
echo "numerics-cases: WebAssembly gives the native bits"
