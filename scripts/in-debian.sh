#!/usr/bin/env bash
# Runs a command as root in a minimal root of the named Debian release, on a
# fresh copy of this working tree (/kel in the root), to try the other
# release without a second machine. The root is made once with debootstrap in
# build/debian/RELEASE (KEL_DEBIAN_ROOT names another folder) and kept, with
# what setup installed in it and its copy's build folder, so that later runs
# build incrementally. /proc, /dev and /dev/shm are mounted for the command
# and unmounted when it ends, fails or is interrupted; processes it leaves in
# the root are stopped first. Only Debian's archive is used.
# Usage: scripts/in-debian.sh RELEASE COMMAND...  (e.g. trixie scripts/test.sh)
set -euo pipefail
if [ $# -lt 2 ]; then
  echo "usage: scripts/in-debian.sh RELEASE COMMAND... (e.g. trixie scripts/test.sh)" >&2
  exit 2
fi
release=$1
shift
source=$(cd "$(dirname "$0")/.." && pwd)
root=$(realpath -m "${KEL_DEBIAN_ROOT:-$source/build/debian/$release}")
mirror=http://deb.debian.org/debian

if [ "$(id -u)" -ne 0 ]; then
  echo "in-debian: making a root and running in it need root; run this script as root" >&2
  exit 1
fi
mkdir -p "$(dirname "$root")"
# One run at a time in a root: a second would share its mounts and build folder.
exec 9>"$root.lock"
if ! flock -n 9; then
  echo "in-debian: another run is using $root; wait for it to end" >&2
  exit 1
fi

if [ ! -f "$root/etc/os-release" ]; then
  if ! command -v debootstrap >/dev/null; then
    echo "in-debian: installing debootstrap"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap >/dev/null
  fi
  echo "in-debian: making a minimal $release root in $root (takes some minutes, once)"
  log=$root.debootstrap.log
  rm -rf "$root.part"
  if ! debootstrap --variant=minbase "$release" "$root.part" "$mirror" >"$log" 2>&1; then
    echo "in-debian: cannot make the $release root: $(grep -m1 -E '^E: ' "$log" || tail -n 1 "$log") (whole log: $log)" >&2
    rm -rf "$root.part"
    exit 1
  fi
  # As a fresh machine has them: the release's updates and security fixes.
  cat >"$root.part/etc/apt/sources.list" <<EOF
deb $mirror $release main
deb $mirror $release-updates main
deb ${mirror%/debian}/debian-security $release-security main
EOF
  # Packages installed in the root start no services.
  printf '#!/bin/sh\nexit 101\n' >"$root.part/usr/sbin/policy-rc.d"
  chmod 755 "$root.part/usr/sbin/policy-rc.d"
  mv "$root.part" "$root"
  rm -f "$log"
fi
# The root reaches the network as this machine does: its resolver, and the
# certificate authorities added to it locally (an intercepting proxy's, say),
# made part of the root's bundle below; Node.js, which otherwise trusts only
# its own built-in list, is pointed at that bundle.
cp -L /etc/resolv.conf "$root/etc/resolv.conf"
local_cas=/usr/local/share/ca-certificates
rm -rf "${root:?}$local_cas"
mkdir -p "$root$local_cas"
[ ! -d $local_cas ] || cp -rL $local_cas/. "$root$local_cas/"

# The working tree as it is now, beside the build folder of earlier runs,
# with its history, so that the release there names the same commit and sees
# the same uncommitted changes.
# A file that is the same as in the last run's copy keeps that copy's time,
# so that the build there stays incremental; every other file is dated now,
# so that make rebuilds from it even when it is older than what the last run
# (of another checkout, say) built.
copy=$root/kel incoming=$root/kel.incoming
mkdir -p "$copy"
rm -rf "$incoming"
mkdir "$incoming"
tar -C "$source" --exclude=./build --exclude=./.git -cf - . | tar -C "$incoming" -xf -
while IFS= read -r -d '' file; do
  if cmp -s "$incoming/$file" "$copy/$file"; then
    touch -r "$copy/$file" "$incoming/$file"
  else
    touch "$incoming/$file"
  fi
done < <(cd "$incoming" && find . -type f -print0)
find "$copy" -mindepth 1 -maxdepth 1 ! -name build -exec rm -rf {} +
find "$incoming" -mindepth 1 -maxdepth 1 -exec mv -t "$copy" {} +
rmdir "$incoming"
git clone -q --no-checkout "$source" "$copy/history"
mv "$copy/history/.git" "$copy/.git"
rmdir "$copy/history"
git -C "$copy" reset -q

mounted=()
stop_and_unmount() {
  local attempt i left
  # A process left in the root (a wineserver, say) would keep /dev busy.
  for attempt in TERM TERM TERM KILL; do
    mapfile -t left < <(find /proc -mindepth 2 -maxdepth 2 -name root -lname "$root" -printf '%h\n' 2>/dev/null |
                        sed 's|^/proc/||')
    [ ${#left[@]} -eq 0 ] && break
    kill -"$attempt" "${left[@]}" 2>/dev/null || true
    sleep 1
  done
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    umount "${mounted[i]}" 2>/dev/null || umount -l "${mounted[i]}"
  done
  mounted=()
}
trap stop_and_unmount EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

for point in proc dev dev/shm; do
  if mountpoint -q "$root/$point"; then
    echo "in-debian: $root/$point is still mounted from an earlier run; unmount it first" >&2
    exit 1
  fi
done
mount -t proc proc "$root/proc" && mounted+=("$root/proc")
mount --bind /dev "$root/dev" && mounted+=("$root/dev")
# Private, so that the root's /dev/shm does not reach the machine's /dev.
mount --make-private "$root/dev"
mount -t tmpfs -o nosuid,nodev,mode=1777 shm "$root/dev/shm" && mounted+=("$root/dev/shm")

environment=(PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root TERM="${TERM:-dumb}")
[ -z "${SOURCE_DATE_EPOCH-}" ] || environment+=(SOURCE_DATE_EPOCH="$SOURCE_DATE_EPOCH")
while IFS= read -r name; do
  environment+=("$name=${!name}")
done < <(compgen -e | grep '^KEL_' || true)

# Where setup has not installed ca-certificates yet, its installation does this.
if [ -x "$root/usr/sbin/update-ca-certificates" ] &&
   ! chroot "$root" /usr/bin/env -i "${environment[@]}" update-ca-certificates >/dev/null 2>&1; then
  echo "in-debian: cannot add this machine's certificate authorities to the root's" >&2
  exit 1
fi
[ -z "$(ls -A "$root$local_cas")" ] || environment+=(NODE_EXTRA_CA_CERTS=/etc/ssl/certs/ca-certificates.crt)

echo "in-debian: running in $release ($root): $*"
# In the background, so that a signal reaches the traps at once.
chroot "$root" /usr/bin/env -i "${environment[@]}" /bin/bash -c 'cd /kel && exec "$@"' in-debian "$@" &
status=0
wait $! || status=$?
exit "$status"
