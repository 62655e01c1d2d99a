#!/usr/bin/env bash
# Fuzzes what a statement file goes through on its way into gastos (decoding,
# lines, fields, dates, amounts) with libFuzzer for a bounded time, then
# shrinks the corpus kept in fuzz/corpus to the inputs that add coverage.
#
#   scripts/fuzz.sh [SECONDS]     (default 120)
#
# A finding is left as build-fuzz/crash-* (or leak-*, timeout-*); once the
# fault is fixed it goes into fuzz/regressoes under a name saying what it
# showed, and a row of the reader tables in tests/tst_leitores.cpp.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
segundos=${1:-120}

"$here/scripts/install-packages.sh" clang libclang-rt-14-dev cmake make qtbase5-dev libqt5sql5-mysql \
    libqt5charts5-dev

build="$here/build-fuzz"
CC=clang CXX=clang++ cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFINARA_FUZZ=ON >/dev/null
cmake --build "$build" --target fuzz_extrato -j"$(nproc)"

corpus="$here/fuzz/corpus"
# Inputs kept by name for a fault they once showed; never merged away.
regressoes="$here/fuzz/regressoes"
trabalho=$(mktemp -d)
trap 'rm -rf "$trabalho"' EXIT
mkdir "$trabalho/novos" "$trabalho/min"
fuzzer="$build/fuzz/fuzz_extrato"
# Statements are text: long inputs only repeat what short ones reach. New
# inputs go to a scratch directory; the kept corpus is only read here.
"$fuzzer" -max_total_time="$segundos" -max_len=1024 -timeout=5 -artifact_prefix="$build/" \
    -dict="$here/fuzz/extrato.dict" -print_final_stats=1 "$trabalho/novos" "$corpus" "$regressoes"
# Keep only what adds coverage, old and new together.
"$fuzzer" -merge=1 -max_len=1024 "$trabalho/min" "$corpus" "$trabalho/novos" 2>"$trabalho/merge.log" \
    || { cat "$trabalho/merge.log" >&2; exit 1; }
rm -f "$corpus"/*
cp "$trabalho/min"/* "$corpus"/
echo "fuzz: corpus of $(ls "$corpus" | wc -l) inputs, $(du -sk "$corpus" | cut -f1) KB in fuzz/corpus"
