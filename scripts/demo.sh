#!/usr/bin/env bash
# Installs what is missing, builds the main program and the radar simulator, starts the
# simulator and then the program connected to it; the simulator stops when the program
# closes. The program runs in build/demo/, with its own configuration file there, so the
# user's own configuration is never touched. Without a display both run under Xvfb for a
# short while and a screenshot of the window is saved.
#
# Settings (environment): VANTOR_BUILD_DIR (default build), VANTOR_DEMO_PORT (default
# 7578), VANTOR_DEMO_DISPLAY (Xvfb display when there is none, default :11),
# VANTOR_DEMO_SECONDS (how long the headless run lasts, default 10).
set -euo pipefail
cd "$(dirname "$0")/.."

build=${VANTOR_BUILD_DIR:-build}
port=${VANTOR_DEMO_PORT:-7578}
headless=0
[[ -z "${DISPLAY:-}" ]] && headless=1

if ((headless)); then
    scripts/install-deps.sh xvfb imagemagick
else
    scripts/install-deps.sh
fi
cmake -S . -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target vantor-road-app-gui vantor-radar-sim --parallel "$(nproc)"

demo="$build/demo"
mkdir -p "$demo"
demo=$(cd "$demo" && pwd)
bin=$(cd "$build/bin" && pwd)
url="ws://127.0.0.1:$port/"
config="$demo/.vantor-road-app-gui_config.json"
# A profile pointing at the simulator; kept between runs (the program saves it on close)
# as long as it points at the same port.
if ! grep -qF "\"$url\"" "$config" 2>/dev/null; then
    cat >"$config" <<JSON
{
    "current_id": 0,
    "profiles": [
        {
            "name": "Demo on the radar simulator",
            "connection": {"radar_protocol": 0, "protocol_forcing": true, "radar_server_url": "$url"},
            "view": {
                "controls": {
                    "0": {"visible": true, "collapsed": false}, "1": {"visible": true, "collapsed": false},
                    "2": {"visible": true, "collapsed": false}, "3": {"visible": true, "collapsed": false},
                    "4": {"visible": true, "collapsed": false}, "5": {"visible": true, "collapsed": false},
                    "6": {"visible": true, "collapsed": false}, "7": {"visible": true, "collapsed": false},
                    "8": {"visible": true, "collapsed": false}, "9": {"visible": true, "collapsed": false},
                    "10": {"visible": false, "collapsed": false}, "11": {"visible": false, "collapsed": false},
                    "12": {"visible": false, "collapsed": false}, "13": {"visible": false, "collapsed": false}
                },
                "traffic_scheme": {"draw_vertical": false, "keep_aspect_ratio": true, "show_sightline": true,
                                   "show_current_tracks": true, "show_average_tracks": true,
                                   "tracks_display_mode": 2,
                                   "road_config": {"origin_offset": 7, "parts": {
                                       "-3": {"is_lane": false, "width": 2.5}, "-2": {"is_lane": true, "width": 3.5},
                                       "-1": {"is_lane": true, "width": 3.5}, "0": {"is_lane": false, "width": 1},
                                       "1": {"is_lane": true, "width": 3.5}, "2": {"is_lane": true, "width": 3.5},
                                       "3": {"is_lane": false, "width": 2.5}},
                                       "sections": [{"is_curved": false, "length": 120, "radius": 0},
                                                    {"is_curved": true, "length": 120, "radius": 400}]}},
                "monitoring_system": {"show_lane_boundaries": true, "show_distance_lines": false,
                                      "show_object_dimensions": false, "show_current_tracks": true,
                                      "show_average_tracks": false, "tvms_config": {}},
                "paint_objects": true,
                "auto_change_view": true
            },
            "data": {"auto_get_data": true},
            "presets": {}
        }
    ]
}
JSON
fi

pids=()
cleanup() {
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
        wait "${pids[i]}" 2>/dev/null || true
    done
}
trap cleanup EXIT

# Traffic follows the lanes of the profile's road.
"$bin/vantor-radar-sim" --port "$port" --road "$config" 2>"$demo/radar-sim.log" &
pids+=($!)
for _ in $(seq 50); do
    grep -qs "Listening on" "$demo/radar-sim.log" && break
    kill -0 "${pids[0]}" 2>/dev/null || { cat "$demo/radar-sim.log" >&2; echo "The simulator did not start (is port $port in use? set VANTOR_DEMO_PORT)." >&2; exit 1; }
    sleep 0.1
done
echo "Radar simulator on $url (log: $demo/radar-sim.log)"

if ((headless)); then
    display=${VANTOR_DEMO_DISPLAY:-:11}
    if [[ ! -e "/tmp/.X${display#:}-lock" ]]; then
        Xvfb "$display" -screen 0 1366x768x24 >/dev/null 2>&1 &
        pids+=($!)
        sleep 1
    fi
    (cd "$demo" && DISPLAY=$display exec "$bin/vantor-road-app-gui") &
    pids+=($!)
    sleep "${VANTOR_DEMO_SECONDS:-10}"
    DISPLAY=$display import -window root "$demo/main-window.png"
    echo "No display: ran under Xvfb ($display). Screenshot of the window: $demo/main-window.png"
else
    echo "Starting vantor-road-app-gui in $demo; close it to stop the simulator."
    (cd "$demo" && exec "$bin/vantor-road-app-gui")
fi
