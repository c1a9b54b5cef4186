#!/usr/bin/env bash
# Run one end-to-end flow against the real editor in a private X server.
#
#   run-flow.sh SOLVENA FLOW_SCRIPT ARTIFACTS_DIR
#
# The flow script defines a function `flow`; it runs with the helpers of lib.sh, a private Xvfb
# on $DISPLAY and fresh scratch folders. Screenshots, the program's output and, on failure, a
# screenshot of the moment go to ARTIFACTS_DIR, which is kept; everything started is ended.
set -Eeuo pipefail

if (($# != 3)); then
    echo "usage: $0 SOLVENA FLOW_SCRIPT ARTIFACTS_DIR" >&2
    exit 2
fi
E2E_APP=$(realpath "$1")
flow_script=$(realpath "$2")
E2E_ARTIFACTS=$3
E2E_FLOW=$(basename "$flow_script" .sh)

export LC_ALL=C.UTF-8
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$here/lib.sh"

for tool in Xvfb xdotool import convert xclip xdpyinfo; do
    command -v "$tool" >/dev/null ||
        { echo "[e2e] FAIL: '$tool' is not installed (scripts/deps.sh installs it)" >&2; exit 1; }
done
[[ -x $E2E_APP ]] || { echo "[e2e] FAIL: no program at $E2E_APP" >&2; exit 1; }

rm -rf "$E2E_ARTIFACTS"
mkdir -p "$E2E_ARTIFACTS"
E2E_ARTIFACTS=$(realpath "$E2E_ARTIFACTS")
E2E_WORK=$(mktemp -d "${TMPDIR:-/tmp}/solvena-e2e-$E2E_FLOW.XXXXXX")
# The program runs as a copy in the flow's scratch folder: the preferences file it keeps beside
# itself is the flow's own, so no flow sees another's and none is left in the build tree.
mkdir -p "$E2E_WORK/bin"
cp "$E2E_APP" "$E2E_WORK/bin/"
E2E_APP=$E2E_WORK/bin/$(basename "$E2E_APP")

e2e_cleanup() {
    local status=$?
    trap - ERR
    e2e_stop_app
    if [[ -n $E2E_XVFB_PID ]]; then
        kill -TERM "$E2E_XVFB_PID" 2>/dev/null || true
        wait "$E2E_XVFB_PID" 2>/dev/null || true
    fi
    # Flows may make folders read-only, as an installed program's are.
    chmod -R u+w "$E2E_WORK" 2>/dev/null || true
    rm -rf "$E2E_WORK"
    if ((status == 0)); then
        e2e_log "flow '$E2E_FLOW' passed; screenshots in $E2E_ARTIFACTS"
    else
        echo "[e2e] flow '$E2E_FLOW' FAILED; screenshots and logs in $E2E_ARTIFACTS" >&2
    fi
    exit "$status"
}
trap e2e_cleanup EXIT
trap 'e2e_on_error $? $LINENO "$BASH_COMMAND"' ERR
trap 'e2e_fail "interrupted"' INT TERM

# shellcheck source=/dev/null
source "$flow_script"
declare -F flow >/dev/null || e2e_fail "$flow_script defines no function 'flow'"

e2e_start_xvfb
flow
