#!/usr/bin/env bash
# Checks the Debian package that `make package` leaves: check_package.sh BUILD_DIR VERSION
# What it holds, that its programs run from the unpacked tree, that the desktop entry, the file
# type and the manual pages are sound, and that the manual pages name every option the programs take.
set -euo pipefail
build=$1
version=$2
deb=$build/dvr-viewer_${version}_$(dpkg --print-architecture).deb
[[ -f $deb ]] || { echo "no package $deb (run make package)" >&2; exit 1; }

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
have() { command -v "$1" >/dev/null; }

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"

# The files a desktop needs, each where Debian looks for it.
for path in usr/bin/dvr-viewer usr/bin/dvrtool \
    usr/share/applications/dvr-viewer.desktop usr/share/mime/packages/dvr-viewer.xml \
    usr/share/icons/hicolor/16x16/apps/dvr-viewer.png usr/share/icons/hicolor/48x48/apps/dvr-viewer.png \
    usr/share/icons/hicolor/256x256/apps/dvr-viewer.png \
    usr/share/man/man1/dvr-viewer.1.gz usr/share/man/man1/dvrtool.1.gz \
    usr/share/doc/dvr-viewer/copyright usr/share/doc/dvr-viewer/changelog.gz; do
  [[ -f $root/$path ]] || fail "$path is not in the package"
done
dpkg-deb -f "$deb" Depends | grep -q libqt6gui6 || fail "Depends lacks the Qt libraries"
for icon in "$root"/usr/share/icons/hicolor/*/apps/dvr-viewer.png; do
  size=$(basename "$(dirname "$(dirname "$icon")")")
  file -b "$icon" | grep -q ", ${size/x/ x }," || fail "$icon is not $size: $(file -b "$icon")"
done

# The unpacked programs answer --version without a display.
for program in dvrtool dvr-viewer; do
  answer=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/$program" --version) ||
    fail "$program --version exits with $?"
  [[ $answer == "$program $version" ]] || fail "$program --version says '$answer'"
done

if have desktop-file-validate; then
  desktop-file-validate "$root/usr/share/applications/dvr-viewer.desktop" ||
    fail "desktop-file-validate"
else
  echo "skipped: desktop-file-validate is not installed"
fi

# The file type, compiled as the desktop compiles it: both cases, matched case by case.
if have update-mime-database; then
  mkdir -p "$root/mime/packages"
  cp "$root/usr/share/mime/packages/dvr-viewer.xml" "$root/mime/packages/"
  update-mime-database "$root/mime"
  for glob in '*.NDF' '*.ndf'; do
    grep -qxF "50:video/x-dvr-ndf:$glob:cs" "$root/mime/globs2" || fail "no case-sensitive $glob glob"
  done
else
  echo "skipped: update-mime-database is not installed"
fi

# Manual pages render without a warning.
if have groff; then
  for page in "$root"/usr/share/man/man1/*.1.gz; do
    warnings=$(zcat "$page" | groff -man -Tutf8 -ww -z 2>&1)
    [[ -z $warnings ]] || fail "$(basename "$page"): $warnings"
  done
else
  echo "skipped: groff is not installed"
fi

# Every option --help lists is in the manual page, as a whole word.
options_of() { grep -oE -- '(^|[ ,])--[a-z][a-z0-9-]*' | grep -oE -- '--[a-z][a-z0-9-]*' | sort -u; }
check_options() {
  local page=$1 text checked=0
  text=$(zcat "$root/usr/share/man/man1/$page.1.gz" | sed 's/\\-/-/g')
  while read -r option; do
    checked=$((checked + 1))
    grep -qE -- "(^|[^a-z0-9-])$option([^a-z0-9-]|\$)" <<<"$text" || fail "$page.1 does not describe $option"
  done
  ((checked > 5)) || fail "$page --help listed only $checked options"
}
dvrtool=$root/usr/bin/dvrtool
dvrtool_help() {
  "$dvrtool" --help
  for command in $("$dvrtool" --help | awk '/^Subcommands:/ {on = 1; next} on && NF {print $1}'); do
    "$dvrtool" "$command" --help
  done
}
check_options dvrtool < <(dvrtool_help | options_of)
check_options dvr-viewer < <(QT_QPA_PLATFORM=offscreen "$root/usr/bin/dvr-viewer" --help | options_of)

((failures == 0)) || { echo "$failures check(s) failed" >&2; exit 1; }
echo "package checks passed"
