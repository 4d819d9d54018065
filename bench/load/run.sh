#!/usr/bin/env bash
# Builds the main program and the radar simulator in Release and runs the load harness
# (bench/load/loadrun.py) with the arguments given, for example
#   bench/load/run.sh --views all --cycle-ms 50
#   bench/load/run.sh --soak 60
# Settings (environment): VANTOR_BUILD_DIR (default build-release), VANTOR_LOAD_DISPLAY
# (Xvfb display, default :35), VANTOR_LOAD_PORT (simulator port, default 17535).
set -euo pipefail
cd "$(dirname "$0")/../.."

build=${VANTOR_BUILD_DIR:-build-release}
scripts/install-deps.sh xvfb xdotool x11-utils python3
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target vantor-road-app-gui vantor-radar-sim --parallel "$(nproc)"
exec python3 bench/load/loadrun.py --build "$build" --display "${VANTOR_LOAD_DISPLAY:-:35}" \
    --port "${VANTOR_LOAD_PORT:-17535}" "$@"
