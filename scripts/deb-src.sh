#!/usr/bin/env bash
# Makes Debian's or Ubuntu's source packages reachable for apt-get source, from
# the archive this machine is already set up with: every enabled entry of the
# system's own release (its suites are the codename and codename-*) is copied as
# a deb-src entry, unless source packages are reachable already. No host is
# named here; the URIs are the machine's own.
set -euo pipefail
package=${1:-qt6-base}
apt-cache showsrc "$package" 2>/dev/null | grep -q "^Package: $package\$" && exit 0

. /etc/os-release
codename=${VERSION_CODENAME:?no VERSION_CODENAME in /etc/os-release}
out=/etc/apt/sources.list.d/sorelin-deb-src.sources
entries=$(
    # deb822 files: one stanza per paragraph.
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] && [ "$f" != "$out" ] && awk -v RS= -v ORS='\n\n' '{print}' "$f"
    done | awk -v RS= -v codename="$codename" '
        {
            types = ""; uris = ""; suites = ""; comps = ""; key = ""; enabled = "yes"
            n = split($0, line, "\n")
            for (i = 1; i <= n; i++) {
                if (line[i] ~ /^#/) continue
                split(line[i], kv, ":[ \t]*")
                v = substr(line[i], length(kv[1]) + 2); sub(/^[ \t]+/, "", v)
                if (kv[1] == "Types") types = v
                else if (kv[1] == "URIs") uris = v
                else if (kv[1] == "Suites") suites = v
                else if (kv[1] == "Components") comps = v
                else if (kv[1] == "Signed-By") key = v
                else if (kv[1] == "Enabled") enabled = v
            }
            if (enabled == "no" || (" " types " ") !~ / deb /) next
            own = ""
            m = split(suites, s, /[ \t]+/)
            for (i = 1; i <= m; i++)
                if (s[i] == codename || index(s[i], codename "-") == 1) own = own " " s[i]
            if (own == "") next
            printf "Types: deb-src\nURIs: %s\nSuites:%s\nComponents: %s\n", uris, own, comps
            if (key != "") printf "Signed-By: %s\n", key
            printf "\n"
        }'
    # One-line files: "deb [options] uri suite components…".
    { cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null || true; } \
        | awk -v codename="$codename" '
            $1 == "deb" {
                i = 2; opts = ""
                if ($2 ~ /^\[/) { while ($i !~ /\]$/) { opts = opts " " $i; i++ } opts = opts " " $i; i++ }
                uri = $i; suite = $(i + 1); comps = ""
                for (j = i + 2; j <= NF; j++) comps = comps " " $j
                if (suite != codename && index(suite, codename "-") != 1) next
                sub(/^ /, "", opts)
                printf "Types: deb-src\nURIs: %s\nSuites: %s\nComponents:%s\n", uri, suite, comps
                if (opts ~ /signed-by=/) { k = opts; sub(/.*signed-by=/, "", k); sub(/[ \]].*/, "", k); printf "Signed-By: %s\n", k }
                printf "\n"
            }'
)
if [ -z "$entries" ]; then
    echo "deb-src: no enabled archive entry of $codename to take source packages from" >&2
    exit 1
fi
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "deb-src: adding source entries for the archive this machine uses ($codename)" >&2
printf '%s\n' "$entries" | "${sudo[@]}" tee "$out" >/dev/null
"${sudo[@]}" apt-get update -qq
