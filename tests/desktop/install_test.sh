#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks what a desktop needs to find there: the two
# programs and their photo library (found without any library path), the launcher and the
# metainfo (each passing its validator), the icons at every size, and the man page.
# usage: install_test.sh BUILD_DIR
set -euo pipefail
build=$1
id=io.mirvane.Mirvane
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/prefix
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

cmake --install "$build" --prefix "$prefix" >"$tmp/install.log"

# The programs, and the private photo library they find through their own run path.
for program in mirvane mirvane-sheet; do
  [ -x "$prefix/bin/$program" ] || fail "bin/$program missing"
done
library=$(find "$prefix" -name libmirvane_photos.so -path '*/mirvane/*' -print -quit)
[ -n "$library" ] || fail "libmirvane_photos.so missing from a private lib folder"
for program in mirvane mirvane-sheet; do
  runpath=$(readelf -d "$prefix/bin/$program" | grep -E 'RUNPATH|RPATH' || true)
  case $runpath in
    *'$ORIGIN'*) ;;
    *) fail "$program: no run path relative to itself: $runpath" ;;
  esac
  case $runpath in
    *"$build"*) fail "$program: run path still points into the build: $runpath" ;;
  esac
  if env -u LD_LIBRARY_PATH ldd "$prefix/bin/$program" | grep -q 'not found'; then
    fail "$program: unresolved libraries: $(env -u LD_LIBRARY_PATH ldd "$prefix/bin/$program" | grep 'not found')"
  fi
  loaded=$(env -u LD_LIBRARY_PATH ldd "$prefix/bin/$program" |
    sed -n 's|^[[:space:]]*libmirvane_photos\.so => \(/[^ ]*\).*|\1|p')
  if [ -z "$library" ] || [ -z "$loaded" ] ||
      [ "$(realpath "$loaded")" != "$(realpath "$library")" ]; then
    fail "$program loads the photo library from '$loaded', not the installed one"
  fi
done

# The installed companion runs: its help, and the archive it reads from the installed library.
if ! env -u LD_LIBRARY_PATH "$prefix/bin/mirvane-sheet" --help >"$tmp/help.txt"; then
  fail "mirvane-sheet --help did not exit 0"
fi
grep -q '^usage: mirvane-sheet list$' "$tmp/help.txt" || fail "mirvane-sheet --help prints no usage"
env -u LD_LIBRARY_PATH "$prefix/bin/mirvane-sheet" -h | cmp -s - "$tmp/help.txt" ||
  fail "mirvane-sheet -h differs from --help"
if env -u LD_LIBRARY_PATH "$prefix/bin/mirvane-sheet" list >"$tmp/list.txt"; then
  rows=$(wc -l <"$tmp/list.txt")
  [ "$rows" -eq 71 ] || fail "mirvane-sheet list printed $rows rows, not 71"
  # The last field is the photograph's size in bytes: every one found in the library.
  if awk -F'\t' '$5 == 0 { found = 1 } END { exit !found }' "$tmp/list.txt"; then
    fail "mirvane-sheet list: photographs missing from the installed library"
  fi
else
  fail "the installed mirvane-sheet list failed"
fi

# The launcher and the metainfo, under the application id, each valid.
desktop=$prefix/share/applications/$id.desktop
metainfo=$prefix/share/metainfo/$id.metainfo.xml
if [ -f "$desktop" ]; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate refuses $desktop"
  grep -qx "Icon=$id" "$desktop" || fail "the launcher's icon is not $id"
  exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
  [ -x "$prefix/bin/$exec_name" ] || fail "the launcher runs $exec_name, which is not installed"
  ! grep -q '^MimeType=' "$desktop" || fail "the launcher declares MIME types"
else
  fail "$desktop missing"
fi
if [ -f "$metainfo" ]; then
  appstreamcli validate --no-net --strict "$metainfo" || fail "appstreamcli refuses $metainfo"
  grep -q "<id>$id</id>" "$metainfo" || fail "the metainfo's id is not $id"
else
  fail "$metainfo missing"
fi

# The icons: each bitmap of the pixel size its folder says (a PNG's width and height are the
# big-endian words at bytes 16 and 20), and the scalable drawing.
png_size() {
  local bytes
  bytes=$(od -An -tu1 -j16 -N8 "$1" | tr -s ' \n' ' ')
  read -r w1 w2 w3 w4 h1 h2 h3 h4 <<<"$bytes"
  echo "$(((w1 << 24) | (w2 << 16) | (w3 << 8) | w4))x$(((h1 << 24) | (h2 << 16) | (h3 << 8) | h4))"
}
hicolor=$prefix/share/icons/hicolor
for size in 16 24 32 48 64 128 256; do
  icon=$hicolor/${size}x${size}/apps/$id.png
  if [ ! -f "$icon" ]; then
    fail "${size}x${size} icon missing"
  elif [ "$(head -c 8 "$icon" | od -An -tx1 | tr -d ' \n')" != 89504e470d0a1a0a ]; then
    fail "${size}x${size} icon is no PNG"
  elif [ "$(png_size "$icon")" != "${size}x${size}" ]; then
    fail "${size}x${size} icon is $(png_size "$icon") pixels"
  fi
done
grep -q '<svg' "$hicolor/scalable/apps/$id.svg" 2>/dev/null || fail "scalable icon missing"

# The man page, and groff finds nothing to warn about in it.
manpage=$prefix/share/man/man1/mirvane-sheet.1
if [ -f "$manpage" ]; then
  warnings=$(LC_ALL=C.UTF-8 groff -man -ww -z -Tutf8 "$manpage" 2>&1)
  [ -z "$warnings" ] || fail "groff warns about the man page: $warnings"
else
  fail "$manpage missing"
fi

if [ "$failures" -ne 0 ]; then
  echo "installed files:" >&2
  (cd "$prefix" && find . -type f | sort) >&2
  exit 1
fi
echo "install into $prefix: every file in place and valid"
