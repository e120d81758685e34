#!/usr/bin/env bash
# Prints the path of a tarball holding a clean Debian 12 root (minbase: the required packages and
# apt), made with mmdebstrap from the Debian mirrors this machine's apt uses, with their package
# lists. It is cached under ~/.cache/quelvane/ and made anew when what it is made from changes
# (mirrors, suites, variant, mmdebstrap) or after a week, since the mirror moves on.
# Usage (as root): debian_root.sh
set -euo pipefail
cache="${XDG_CACHE_HOME:-$HOME/.cache}/quelvane"
max_age_days=7
variant=minbase

# One line per Debian suite this machine reads, as sources.list lines. Debian's archive only: the
# root must not depend on other registries the machine may also use.
sources="$(apt-get indextargets --no-release-info --format '$(REPO_URI) $(RELEASE) $(COMPONENT)' \
  'Created-By: Packages' | awk '$2 ~ /^bookworm(-updates|-security)?$/' | sort -u |
  awk '{uri = $1; suite = $2; sub(/\/$/, "", uri)
        comps[uri " " suite] = comps[uri " " suite] " " $3}
       END {for (k in comps) print k comps[k]}' | sort |
  sed 's|^|deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] |')"
grep -q ' bookworm main' <<<"$sources" || {
  echo "debian_root: this machine's apt reads no Debian 12 (bookworm) main" >&2
  exit 1
}

key="$(printf '%s\n' "$variant" "$sources" "$(mmdebstrap --version)" | sha256sum | cut -c1-16)"
tarball="$cache/debian12-$variant-$key.tar"
mkdir -p "$cache"
if [ -f "$tarball" ] && [ -z "$(find "$tarball" -mtime +"$max_age_days")" ]; then
  echo "$tarball"
  exit 0
fi

rm -rf "$cache"/debian12-*.tar "$cache"/debian12-*.tar.partial
mapfile -t lines <<<"$sources"
# The package lists stay in the root so that installing into a copy needs no update first.
mmdebstrap --quiet --variant="$variant" --mode=root --skip=cleanup/apt/lists --format=tar bookworm \
  "$tarball.partial" "${lines[@]}" >&2
mv "$tarball.partial" "$tarball"
echo "$tarball"
