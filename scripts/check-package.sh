#!/bin/sh
# Builds the Debian package, has lintian judge it, and checks it installed:
#  - lintian: any error (E:) or warning (W:) fails; the informational notes are shown;
#  - the package owns every file it installs (no maintainer script makes files), the helpers are
#    in /usr/libexec/corvel3 and answer --help and --version;
#  - unpacked into a scratch root, the installed programs write nothing under it while they run,
#    and the program finds its helpers in their folder, not on PATH;
#  - with APT_CHECK=1 (as root): apt installs it, apt removes it, and no file of it is left.
#   scripts/check-package.sh            BUILD_DIR (default build) holds a configured build
set -eu
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
fail() { echo "check-package: $*" >&2; exit 1; }

cmake --build "$BUILD_DIR" --target package
deb=$(ls -t "$BUILD_DIR"/corvel3_*.deb | head -n 1)
[ -f "$deb" ] || fail "no package in $BUILD_DIR"
echo "check-package: $deb"

scratch=$(mktemp -d)
drive=$(mktemp -d /dev/shm/corvel3-drive.XXXXXX 2>/dev/null || mktemp -d)
trap 'rm -rf "$scratch" "$drive"' EXIT

# lintian, with the pedantic and informational notes shown; only errors and warnings fail.
lintian_rc=0
lintian --pedantic --display-info --info --fail-on error,warning "$deb" > "$scratch/lintian.txt" 2>&1 || lintian_rc=$?
cat "$scratch/lintian.txt"
if [ $lintian_rc != 0 ] || grep -E '^[EW]: ' "$scratch/lintian.txt" > /dev/null; then
  fail "lintian reports errors or warnings"
fi

# What it holds, and no script of its own that could make files dpkg does not know about.
dpkg-deb -e "$deb" "$scratch/control"
for f in "$scratch"/control/*; do
  case $(basename "$f") in
    control | md5sums | shlibs | triggers) ;;
    *) fail "unexpected control file $(basename "$f")" ;;
  esac
done
root="$scratch/root"
dpkg-deb -x "$deb" "$root"
for f in usr/bin/corvel3 usr/bin/corvel3-cli \
         usr/libexec/corvel3/corvel3-attrib usr/libexec/corvel3/corvel3-nodefrag usr/libexec/corvel3/corvel3-titles \
         usr/share/doc/corvel3/copyright usr/share/doc/corvel3/changelog.Debian.gz \
         usr/share/man/man1/corvel3.1.gz usr/share/man/man1/corvel3-cli.1.gz usr/share/man/it/man1/corvel3-cli.1.gz \
         usr/share/bash-completion/completions/corvel3-cli usr/share/applications/corvel3.desktop \
         usr/share/metainfo/org.corvel3.maintenance.metainfo.xml; do
  [ -f "$root/$f" ] || fail "the package has no /$f"
done
for h in corvel3-attrib corvel3-nodefrag corvel3-titles; do
  [ ! -e "$root/usr/bin/$h" ] || fail "$h is still in /usr/bin"
done

# Every helper answers --help (usage on stdout) and --version, and takes neither for a file.
for h in corvel3-attrib corvel3-nodefrag corvel3-titles; do
  out=$("$root/usr/libexec/corvel3/$h" --help) || fail "$h --help failed"
  echo "$out" | grep -q "^usage: $h" || fail "$h --help: $out"
  out=$("$root/usr/libexec/corvel3/$h" --version) || fail "$h --version failed"
  [ "$out" = "$h $(sed -n '1s/^corvel3 (\([^-]*\)-.*/\1/p' packaging/changelog)" ] || fail "$h --version: $out"
done

# The installed programs at work: a player drive with a folder to split (whose end runs the
# defragmentation step: on tmpfs, the nodefrag helper), a home of their own, a PATH without the
# build. Nothing under the scratch root may change.
home="$scratch/home"
mkdir -p "$home" "$drive/Songs"
i=0
while [ $i -le 1000 ]; do : > "$drive/Songs/song $i.mp3"; i=$((i + 1)); done
before=$(cd "$root" && find . -printf '%p %M %s %T@\n' | sort)
run() {
  env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 CORVEL3_VOLUMES="corvel3=$drive" \
    CORVEL3_UPDATE_SERVER=http://127.0.0.1:9 "$@" >> "$scratch/run.log" 2>&1
}
cli="$root/usr/bin/corvel3-cli"
run "$cli" --help || fail "corvel3-cli --help failed"
run "$cli" --version || fail "corvel3-cli --version failed"
run "$cli" --lang en check || [ $? = 1 ] || fail "corvel3-cli check: unexpected exit"
run "$cli" --lang it --yes --json optimise --split || fail "corvel3-cli optimise failed (see below)"
after=$(cd "$root" && find . -printf '%p %M %s %T@\n' | sort)
if [ "$before" != "$after" ]; then
  echo "$before" > "$scratch/before"; echo "$after" > "$scratch/after"
  diff "$scratch/before" "$scratch/after" >&2 || true
  fail "the installed programs changed files under the install root"
fi

# The completion offers the commands corvel3-cli's help lists, and --lang's two values.
if [ -f /usr/share/bash-completion/bash_completion ]; then
  complete_words() {
    bash -c '. /usr/share/bash-completion/bash_completion; . "$1"; shift
             COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
             _corvel3_cli; printf "%s\n" "${COMPREPLY[@]}" | sort' \
      sh "$root/usr/share/bash-completion/completions/corvel3-cli" "$@"
  }
  listed=$("$cli" --lang en --help | sed -n '/^Commands:/,/^$/s/^  \([a-z][a-z-]*\).*/\1/p' | sort)
  [ -n "$listed" ] || fail "no commands in corvel3-cli --help"
  [ "$(complete_words corvel3-cli "")" = "$listed" ] || fail "the completion's commands are not: $listed"
  [ "$(complete_words corvel3-cli --lang "")" = "$(printf 'en\nit')" ] || fail "the completion of --lang"
fi

# The helper is found in /usr/libexec/corvel3 of the install: stand a recording one in its place.
real="$root/usr/libexec/corvel3/corvel3-nodefrag"
mv "$real" "$real.real"
printf '#!/bin/sh\necho "$0" > "%s/helper-ran"\nexec "$0.real" "$@"\n' "$scratch" > "$real"
chmod 755 "$real"
rm -rf "$drive/Songs" && mkdir -p "$drive/Songs"
i=0
while [ $i -le 1000 ]; do : > "$drive/Songs/song $i.mp3"; i=$((i + 1)); done
run "$cli" --lang en --yes optimise --split || fail "corvel3-cli optimise failed"
[ -f "$scratch/helper-ran" ] || { tail -n 20 "$scratch/run.log" >&2; fail "corvel3-cli did not run the helper from /usr/libexec/corvel3"; }

# A real install and removal, when asked for (it changes the machine).
if [ "${APT_CHECK:-0}" = 1 ]; then
  [ "$(id -u)" = 0 ] || fail "APT_CHECK=1 needs root"
  ! dpkg -s corvel3 > /dev/null 2>&1 || fail "corvel3 is installed already; remove it first"
  files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {sub(/^\./, "", $6); print $6}')
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$(cd "$(dirname "$deb")" && pwd)/$(basename "$deb")"
  for f in $files; do [ -e "$f" ] || fail "installed, but /$f is missing"; done
  owned=$(dpkg -L corvel3)
  for f in $files; do echo "$owned" | grep -qx "$f" || fail "dpkg does not own $f"; done
  env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 CORVEL3_VOLUMES="corvel3=$drive" corvel3-cli --lang en check \
    >> "$scratch/run.log" 2>&1 || true
  DEBIAN_FRONTEND=noninteractive apt-get remove -y -q corvel3
  for f in $files; do [ ! -e "$f" ] || fail "removed, but $f is still there"; done
  [ ! -e /usr/libexec/corvel3 ] || fail "removed, but /usr/libexec/corvel3 is still there"
  [ ! -e /usr/share/doc/corvel3 ] || fail "removed, but /usr/share/doc/corvel3 is still there"
  ! dpkg -s corvel3 2>/dev/null | grep -q '^Status: .* config-files' || fail "removed, but config files remain"
fi
echo "check-package: passed"
