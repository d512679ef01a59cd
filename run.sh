#!/usr/bin/env bash
# Builds everything and runs the main job: the quorvel program turns the sample
# recap into the running recap (_recap/histo.qv2) and its HTML page (_recap/histo.html).
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh
qv_install_missing "${QV_PACKAGES[@]}"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$QV_JOBS"
mkdir -p out
# The game reads its data (game parameters, word lists, definitions) from its
# working folder: the sample's come with it.
cp -R samples/. out/
cd out
../build/quorvel ../samples/partie_normale.qv2
