#!/usr/bin/env bash
# Runs a Windows program under Debian's wine64, with nothing to answer and no display:
#
#   scripts/wine-run.sh --prefix DIR [--dll-path DIR]... [--] PROGRAM.exe [ARGUMENTS...]
#   scripts/wine-run.sh --prefix DIR --prepare     make the prefix if it is not there yet
#   scripts/wine-run.sh --prefix DIR --stop        end the prefix's Wine processes
#
# The Wine prefix DIR is made on first use (wineboot, about 10 s; without Mono and Gecko,
# which nothing here needs, and without asking for them); concurrent first uses wait for one
# another. --dll-path folders are searched for DLLs after the program's own folder. The
# program's exit status is this script's; Wine's own chatter is silenced (WINEDEBUG=-all).
# WINE64 and WINESERVER pick other Wine binaries.
set -euo pipefail

prefix=
dll_paths=()
action=run
while (($# > 0)); do
    case $1 in
        --prefix) prefix=$2; shift 2 ;;
        --dll-path) dll_paths+=("$2"); shift 2 ;;
        --prepare) action=prepare; shift ;;
        --stop) action=stop; shift ;;
        --) shift; break ;;
        -*) echo "wine-run.sh: unknown option $1" >&2; exit 2 ;;
        *) break ;;
    esac
done
if [[ -z $prefix || ($action == run && $# -eq 0) ]]; then
    echo "usage: $0 --prefix DIR [--dll-path DIR]... [--] PROGRAM.exe [ARGUMENTS...]" >&2
    exit 2
fi

find_wine_binary() {  # NAME in Debian's wine64 package, or on PATH
    if [[ -x /usr/lib/wine/$1 ]]; then
        echo "/usr/lib/wine/$1"
    elif command -v "$1" >/dev/null; then
        command -v "$1"
    else
        echo "wine-run.sh: $1 not found (Debian package wine64)" >&2
        return 1
    fi
}
wine=${WINE64:-$(find_wine_binary wine64)}
wineserver=${WINESERVER:-$(find_wine_binary wineserver64)}

mkdir -p "$(dirname "$prefix")"
prefix=$(cd "$(dirname "$prefix")" && pwd)/$(basename "$prefix")

export WINEPREFIX=$prefix
export WINEARCH=win64
export WINEDEBUG=-all
export WINESERVER=$wineserver

if [[ $action == stop ]]; then
    [[ -d $prefix ]] && "$wineserver" -k 2>/dev/null || true
    exit 0
fi
# No dialogs offering to install Mono or Gecko, no debugger waiting on a crash, no menu
# entries written into the desktop of the user.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe,winemenubuilder.exe=d"
# Windows paths of the DLL folders, as Wine maps the Linux root to Z:.
winepath=
for dir in "${dll_paths[@]}"; do
    dir=$(cd "$dir" && pwd)
    winepath+="${winepath:+;}Z:${dir//\//\\}"
done
export WINEPATH=$winepath

# The prefix is ready once .solvena-ready exists; a prefix left half made by an interrupted
# wineboot is made again.
ready=$prefix/.solvena-ready
if [[ ! -e $ready ]]; then
    exec 9>"$prefix.lock"
    flock 9
    if [[ ! -e $ready ]]; then
        # Wine processes of an interrupted start would go on writing into it.
        [[ -d $prefix ]] && { "$wineserver" -k 2>/dev/null || true; }
        rm -rf "$prefix"
        log=$prefix.wineboot.log
        if ! DISPLAY= WAYLAND_DISPLAY= "$wine" wineboot --init >"$log" 2>&1 || ! "$wineserver" -w; then
            echo "wine-run.sh: could not make the Wine prefix $prefix:" >&2
            cat "$log" >&2
            exit 1
        fi
        touch "$ready"
    fi
    flock -u 9
    exec 9>&-
fi

[[ $action == prepare ]] && exit 0
exec "$wine" "$@"
