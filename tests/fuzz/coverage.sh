#!/usr/bin/env bash
# Line coverage of the core reached by the fuzz corpora: builds the targets
# with clang's source-based coverage (no sanitizers) into BUILD-cov, replays
# BUILD/fuzz/corpus-* once, and prints llvm-cov's summary for src/.
#   tests/fuzz/coverage.sh BUILD
set -euo pipefail
build="$(cd "$1" && pwd)"
root="$(cd "$(dirname "$0")/../.." && pwd)"
cov="$build-cov"
cmake -S "$root" -B "$cov" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_COMPILER=clang++ -DTESMORA_FUZZ=ON \
  -DCMAKE_CXX_FLAGS="-fprofile-instr-generate -fcoverage-mapping" > /dev/null
cmake --build "$cov" -j "${JOBS:-2}" --target tesmora_fuzz_run tesmora_fuzz_loaders
rm -f "$cov"/*.profraw
for target in run loaders; do
  LLVM_PROFILE_FILE="$cov/$target.profraw" \
    "$cov/tests/fuzz/tesmora_fuzz_$target" -runs=0 "$build/fuzz/corpus-$target" \
    > /dev/null 2>&1 || true
done
profdata="$(command -v llvm-profdata || command -v llvm-profdata-14)"
llvmcov="$(command -v llvm-cov || command -v llvm-cov-14)"
"$profdata" merge -o "$cov/fuzz.profdata" "$cov"/*.profraw
"$llvmcov" report "$cov/tests/fuzz/tesmora_fuzz_run" -object "$cov/tests/fuzz/tesmora_fuzz_loaders" \
  -instr-profile="$cov/fuzz.profdata" "$root/src" | tail -1
"$llvmcov" report "$cov/tests/fuzz/tesmora_fuzz_loaders" \
  -instr-profile="$cov/fuzz.profdata" "$root/src/io/Loaders.cpp" "$root/src/io/DataFile.cpp" \
  "$root/src/io/QuoteBase.cpp" "$root/src/builtins/LoaderBuiltins.cpp"
