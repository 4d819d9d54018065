#!/usr/bin/env bash
# Builds the Debian packages (Release), installs them with apt into a fresh Debian 12
# root, and starts each program there: the GUI programs under Xvfb in English and in
# Russian, one screenshot each, the simulator in the background so the main program
# finds a radar. Slow (a few minutes, a few hundred MB from the Debian mirror); not part
# of scripts/test.sh. Needs root (chroot and mounts).
#
#   scripts/package-test.sh                      # results in build-package/package-test/
#   BUILD_DIR=/tmp/b REVISION=worktree KEEP_ROOT=1 scripts/package-test.sh
#
# REVISION is the commit to package (default HEAD, exported with git archive so that
# unfinished work in the tree stays out), or "worktree" for the working tree as it is.
# MIRROR overrides the Debian mirror (default: the one apt on this machine uses for
# bookworm); KEEP_ROOT=1 keeps the Debian root for a look around.
set -euo pipefail

if [[ ${1:-} == run-in-root ]]; then
    # Called by mmdebstrap as a customize hook: $2 is the root, $3 the output folder.
    # /proc, /sys and /dev are mounted in the root for the duration of the hook.
    root=$2
    out=$3
    programs=(vantor-road-app-gui qel-udp-client)
    # A command array, not a function, so that $! of a background start is the program's
    # own process (chroot and env exec it) and kill reaches it.
    in_root=(chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root)

    echo "== Installing the packages with apt"
    "${in_root[@]}" sh -c 'DEBIAN_FRONTEND=noninteractive apt-get install -y -q /tmp/debs/*.deb'
    rm -rf "$root/tmp/debs"
    for package in vantor-road-app-gui qel-udp-client vantor-radar-sim; do
        "${in_root[@]}" dpkg-query -W "$package" >>"$out/installed-files.txt" 2>/dev/null || continue
        "${in_root[@]}" dpkg -L "$package" | while read -r file; do
            if [[ -f $root$file ]]; then echo "    $file"; fi
        done >>"$out/installed-files.txt"
    done

    # A display number that neither this machine nor the root uses (the X socket lives in
    # the abstract namespace too, so one display is visible from both).
    display=90
    while [[ -e /tmp/.X11-unix/X$display || -e /tmp/.X$display-lock ]] \
            || ss -xl | grep -q "@/tmp/.X11-unix/X$display\b"; do
        display=$((display + 1))
    done
    pids=()
    cleanup() { for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; wait; }
    trap cleanup EXIT

    echo "== Xvfb :$display in the root"
    "${in_root[@]}" Xvfb ":$display" -screen 0 1366x768x24 -nolisten tcp >"$out/xvfb.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 50); do
        [[ -S $root/tmp/.X11-unix/X$display ]] && break
        sleep 0.2
    done
    [[ -S $root/tmp/.X11-unix/X$display ]] || { echo "Xvfb did not start" >&2; exit 1; }

    if "${in_root[@]}" sh -c 'command -v vantor-radar-sim' >/dev/null; then
        echo "== vantor-radar-sim on ws://127.0.0.1:7578/"
        "${in_root[@]}" vantor-radar-sim >"$out/vantor-radar-sim.log" 2>&1 &
        pids+=($!)
        sleep 2
        kill -0 "${pids[-1]}" 2>/dev/null \
            || echo "vantor-radar-sim: not running (port 7578 taken?), see $out/vantor-radar-sim.log"
    fi

    for program in "${programs[@]}"; do
        "${in_root[@]}" sh -c "command -v $program" >/dev/null || { echo "$program: not packaged"; continue; }
        # Qt takes the language from LANG; the C library keeps a UTF-8 character type.
        for lang in en ru; do
            locale=C.UTF-8
            [[ $lang == ru ]] && locale=ru_RU.UTF-8
            shot="$out/$program-$lang.png"
            "${in_root[@]}" sh -c "cd /root && exec env DISPLAY=:$display LANG=$locale LC_CTYPE=C.UTF-8 \
                XDG_RUNTIME_DIR=/tmp/runtime-root $program" >"$out/$program-$lang.log" 2>&1 &
            local_pid=$!
            sleep 6
            if kill -0 "$local_pid" 2>/dev/null; then
                import -display ":$display" -window root "$shot"
                echo "$program ($lang): running, screenshot $shot"
                kill "$local_pid"
                wait "$local_pid" 2>/dev/null || true
            else
                wait "$local_pid" && status=0 || status=$?
                echo "$program ($lang): exited early with $status, see $out/$program-$lang.log"
            fi
        done
    done
    [[ -f $out/vantor-radar-sim.log ]] && grep -E 'started|Listening|connected' \
        "$out/vantor-radar-sim.log" | sed 's/^/vantor-radar-sim: /' | head -n 8 || true
    exit 0
fi

cd "$(dirname "$0")/.."
script=$PWD/scripts/package-test.sh
base=$(realpath -m "${BUILD_DIR:-build-package}")
revision=${REVISION:-HEAD}
out=$base/package-test
root=$out/root

scripts/install-deps.sh mmdebstrap dpkg-dev imagemagick

if [[ $revision == worktree ]]; then
    source_dir=$PWD
else
    source_dir=$base/source
    rm -rf "$source_dir"
    mkdir -p "$source_dir"
    git archive "$revision" | tar -x -C "$source_dir"
fi
build=$base/build
echo "== Building the packages of $revision in $build"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$source_dir" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DVANTOR_BUILD_TESTS=OFF "${launcher[@]}" >/dev/null
cmake --build "$build" --target vantor-packaged --parallel "$(nproc)"
rm -rf "$out"
mkdir -p "$out/debs"
(cd "$build" && cpack -B "$out/debs" >/dev/null)
rm -rf "$out/debs/_CPack_Packages"
for deb in "$out"/debs/*.deb; do
    echo "$(basename "$deb"): $(dpkg-deb -f "$deb" Depends)"
done

mirror=${MIRROR:-$(apt-get indextargets --format '$(REPO_URI) $(CODENAME)' \
    'Identifier: Packages' | awk '$2 == "bookworm" { print $1; exit }')}
mirror=${mirror:-http://deb.debian.org/debian}

echo "== A fresh Debian 12 root from $mirror (log: $out/mmdebstrap.log)"
status=0
mmdebstrap --mode=root --variant=apt --include=xvfb \
    --customize-hook="mkdir -p \"\$1/tmp/debs\"" \
    --customize-hook="copy-in $(printf '%q ' "$out"/debs/*.deb) /tmp/debs" \
    --customize-hook="'$script' run-in-root \"\$1\" '$out'" \
    bookworm "$root" "$mirror" >"$out/mmdebstrap.log" 2>&1 || status=$?
grep -E '^(== |(vantor|qel)[a-z-]*( \((en|ru)\))?: |E: )' "$out/mmdebstrap.log" || true

[[ ${KEEP_ROOT:-0} == 1 ]] || rm -rf "$root"
echo "== Installed files"
cat "$out/installed-files.txt" 2>/dev/null || true
echo "== Results in $out (log: $out/mmdebstrap.log)"
ls "$out"/*.png 2>/dev/null || echo "no screenshots"
exit "$status"
