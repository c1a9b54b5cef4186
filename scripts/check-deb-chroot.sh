#!/usr/bin/env bash
# Installs the Debian package into a bare Debian 12 (debootstrap --variant=minbase) and checks it
# as a user's system would see it: apt-get pulls only Debian packages, the programs run, xdg-mime
# knows the chart type, and apt-get remove leaves nothing of the package behind.
#
#   scripts/check-deb-chroot.sh DEB [CHROOT_DIR]
#
# Run as root. CHROOT_DIR (default /var/tmp/solvena-chroot) keeps a tarball of the bare system so
# that later runs skip debootstrap; every run starts from that tarball, so each is a fresh system.
# MIRROR picks the Debian mirror (default http://deb.debian.org/debian).
set -euo pipefail

if (($# < 1 || $# > 2)); then
    echo "usage: $0 DEB [CHROOT_DIR]" >&2
    exit 2
fi
if ((EUID != 0)); then
    echo "error: run as root (debootstrap and chroot need it)" >&2
    exit 2
fi
deb=$(realpath "$1")
dir=$(realpath -m "${2:-/var/tmp/solvena-chroot}")
mirror=${MIRROR:-http://deb.debian.org/debian}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
chart=$here/../tests/data/charts/example.sbn
[[ -f $deb ]] || { echo "error: no package at $deb" >&2; exit 2; }

if ! command -v debootstrap >/dev/null; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends debootstrap
fi

root=$dir/root
base=$dir/bookworm-minbase.tar
mkdir -p "$dir"

mounted() { mountpoint -q "$root/proc"; }
unmount() {
    if [[ -d $root/proc ]] && mounted; then
        umount "$root/proc"
    fi
}
trap unmount EXIT
unmount
if mounted; then
    echo "error: $root/proc is still mounted; not touching $root" >&2
    exit 1
fi

if [[ ! -f $base ]]; then
    echo "== debootstrap --variant=minbase bookworm ($mirror)"
    rm -rf "$root"
    debootstrap --variant=minbase bookworm "$root" "$mirror" >"$dir/debootstrap.log" 2>&1 ||
        { tail -20 "$dir/debootstrap.log" >&2; exit 1; }
    tar -C "$root" -cf "$base" .
fi
echo "== fresh system from $base"
rm -rf "$root"
mkdir -p "$root"
tar -C "$root" -xf "$base"
cat >"$root/etc/apt/sources.list" <<EOF
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb ${mirror%/debian}/debian-security bookworm-security main
EOF
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
mount -t proc proc "$root/proc"

in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
    DEBIAN_FRONTEND=noninteractive "$@"; }

failures=0
pass() { echo "ok:   $1"; }
fail() {
    echo "FAIL: $1"
    failures=$((failures + 1))
}

in_root apt-get update -q >"$dir/apt-update.log" 2>&1 || { cat "$dir/apt-update.log" >&2; exit 1; }
# shellcheck disable=SC2016 # dpkg-query's own ${...} fields
packages_query=(dpkg-query -W -f '${Package}\n')
in_root "${packages_query[@]}" | sort >"$dir/before.txt"

name=$(basename "$deb")
cp "$deb" "$root/tmp/$name"
echo "== apt-get install ./$name"
if in_root sh -c "cd /tmp && apt-get install -y ./$name" >"$dir/install.log" 2>&1; then
    pass "apt-get install ./$name"
else
    fail "apt-get install ./$name"
    tail -30 "$dir/install.log"
    exit 1
fi
in_root "${packages_query[@]}" | sort >"$dir/after.txt"
mapfile -t pulled < <(comm -13 "$dir/before.txt" "$dir/after.txt" | grep -vx solvena)
echo "pulled ${#pulled[@]} packages besides solvena"
# Every one of them must have come from a Debian archive: apt knows a source for each.
foreign=()
for p in "${pulled[@]}"; do
    policy=$(in_root apt-cache policy "$p")
    grep -qF "${mirror#http://}" <<<"$policy" || foreign+=("$p")
done
if ((${#foreign[@]} == 0)); then
    pass "every pulled package comes from Debian ($mirror)"
else
    fail "packages without a Debian source: ${foreign[*]}"
fi
grep -E "^(Setting up solvena|Processing triggers)" "$dir/install.log" | sed 's/^/      /'

in_root dpkg -L solvena | sort >"$dir/files.txt"
# The install itself (the package's postinst, or shared-mime-info's trigger) has updated the
# MIME database when shared-mime-info came with it.
if [[ -f $root/usr/share/mime/globs2 ]]; then
    if grep -q ':application/x-solvena-chart:\*\.sbn$' "$root/usr/share/mime/globs2"; then
        pass "the MIME database maps *.sbn to application/x-solvena-chart after the install"
    else
        fail "the MIME database has no *.sbn entry after the install"
    fi
else
    echo "note: no MIME database after the install (shared-mime-info was not pulled in)"
fi
run_check() {
    local what=$1 out
    shift
    if out=$(in_root "$@" 2>&1); then
        pass "$what: $(head -1 <<<"$out")"
    else
        fail "$what"
        printf '%s\n' "$out" | sed 's/^/      /'
    fi
}
run_check "solvena --version" solvena --version
if grep -qx /usr/bin/solvena-render "$dir/files.txt"; then
    run_check "solvena-render --version" solvena-render --version
    cp "$chart" "$root/tmp/example.sbn"
    run_check "solvena-render renders a chart" solvena-render /tmp/example.sbn /tmp/example.png
    if [[ $(od -An -tx1 -N8 "$root/tmp/example.png" 2>/dev/null | tr -d ' ') == 89504e470d0a1a0a ]]; then
        pass "the output is a PNG ($(stat -c %s "$root/tmp/example.png") bytes)"
    else
        fail "the output is not a PNG"
    fi
else
    fail "the package has no /usr/bin/solvena-render (built without tools/?)"
fi

# xdg-mime outside a desktop asks File::MimeInfo's mimetype, which reads the MIME database.
echo "== apt-get install xdg-utils libfile-mimeinfo-perl (tools of this check)"
in_root apt-get install -y --no-install-recommends xdg-utils libfile-mimeinfo-perl \
    shared-mime-info desktop-file-utils >"$dir/tools.log" 2>&1 || { tail -20 "$dir/tools.log"; exit 1; }
printf 'x\r\n' >"$root/tmp/x.sbn"
printf 'x\r\n' >"$root/tmp/x.txt"
# expect WHAT ACTUAL EXPECTED
expect() {
    if [[ $2 == "$3" ]]; then
        pass "$1: $2"
    else
        fail "$1: '$2' (expected $3)"
    fi
}
expect "xdg-mime query filetype x.sbn" "$(in_root xdg-mime query filetype /tmp/x.sbn 2>&1)" \
    application/x-solvena-chart
expect "xdg-mime query filetype x.txt" "$(in_root xdg-mime query filetype /tmp/x.txt 2>&1)" \
    text/plain
desktop=$(grep '^/usr/share/applications/.*\.desktop$' "$dir/files.txt" | xargs -r basename)
expect "xdg-mime query default application/x-solvena-chart" \
    "$(in_root xdg-mime query default application/x-solvena-chart 2>&1)" "$desktop"

echo "== apt-get remove solvena"
if in_root apt-get remove -y solvena >"$dir/remove.log" 2>&1; then
    pass "apt-get remove solvena"
else
    fail "apt-get remove solvena"
    tail -20 "$dir/remove.log"
fi
# shellcheck disable=SC2016 # dpkg-query's own ${...} field
echo "dpkg status afterwards: $(in_root dpkg-query -W -f '${db:Status-Abbrev}' solvena 2>&1 || true)"
# Leftovers: files the package had, anything named after it or its file type, and entries in
# the generated databases (MIME, menu cache, icon cache).
leftovers=()
while read -r f; do
    [[ -f $root$f || -L $root$f ]] && leftovers+=("$f")
done <"$dir/files.txt"
while read -r f; do
    leftovers+=("${f#"$root"}")
done < <(find "$root" -xdev \( -path "$root/tmp" -o -path "$root/proc" \) -prune -o \
    \( -iname '*solvena*' -o -iname '*x-solvena-chart*' \) -print)
while read -r f; do
    leftovers+=("${f#"$root"} (mentions solvena)")
done < <(grep -rlas -e solvena "$root/usr/share/mime" "$root/usr/share/applications" \
    "$root/usr/share/icons" "$root/usr/share/metainfo" "$root/usr/share/man" "$root/usr/bin" \
    "$root/var/lib/dpkg/info" 2>/dev/null || true)
mapfile -t leftovers < <(printf '%s\n' "${leftovers[@]}" | sed '/^$/d' | sort -u)
if ((${#leftovers[@]} == 0)); then
    pass "nothing of the package is left after apt-get remove"
else
    fail "left after apt-get remove:"
    printf '      %s\n' "${leftovers[@]}"
fi

echo "logs in $dir (install.log, remove.log, files.txt)"
if ((failures)); then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all chroot checks passed"
