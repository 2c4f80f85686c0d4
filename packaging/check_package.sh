#!/bin/sh
# Builds the Debian package from a built tree into a temporary folder and
# checks what it would install: the files and their places, the Depends line,
# the validators on the installed .desktop and metainfo copies, and that the
# unpacked program answers and finds its own lesson library.
#   check_package.sh BUILD_DIR VERSION
# Exit 77 (skipped) when a packaging tool is missing; `make setup` installs them.
set -u
build=$1
version=$2

for tool in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli; do
    if ! command -v $tool >/dev/null 2>&1; then
        echo "SKIP: $tool is missing (make setup installs it)"
        exit 77
    fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 \
    || { cat "$work/cpack.log"; fail "cpack could not build the package"; }
deb="$work/out/palcomir_${version}_amd64.deb"
[ -f "$deb" ] || fail "no $deb"

# Every file in its place, and nothing else.
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' | sort >"$work/files"
sort >"$work/expected" <<LIST
usr/bin/palcomir
usr/lib/palcomir/libpalcomir_sound.so
usr/share/applications/palcomir.desktop
usr/share/doc/palcomir/changelog.gz
usr/share/doc/palcomir/copyright
usr/share/icons/hicolor/128x128/apps/palcomir.png
usr/share/icons/hicolor/16x16/apps/palcomir.png
usr/share/icons/hicolor/22x22/apps/palcomir.png
usr/share/icons/hicolor/24x24/apps/palcomir.png
usr/share/icons/hicolor/256x256/apps/palcomir.png
usr/share/icons/hicolor/32x32/apps/palcomir.png
usr/share/icons/hicolor/48x48/apps/palcomir.png
usr/share/icons/hicolor/64x64/apps/palcomir.png
usr/share/icons/hicolor/scalable/apps/palcomir.svg
usr/share/man/man1/palcomir.1.gz
usr/share/metainfo/palcomir.metainfo.xml
usr/share/palcomir/pisarz.src
usr/share/palcomir/serwer/palcomir.sql
LIST
diff -u "$work/expected" "$work/files" || fail "the package's files differ from the list above"

# The libraries come from the binary; what Qt loads at run time is named by hand.
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libqt6multimedia6 libqt6printsupport6 libc6 qt6-qpa-plugins libqt6sql6-sqlite; do
    echo "$depends" | grep -Eq "(^|, )$package( |,|$)" || fail "Depends lacks $package: $depends"
done

root="$work/root"
dpkg-deb -x "$deb" "$root" || fail "cannot unpack"
desktop-file-validate "$root/usr/share/applications/palcomir.desktop" || fail "desktop-file-validate"
grep -qx 'Exec=palcomir' "$root/usr/share/applications/palcomir.desktop" || fail "Exec is not the program"
grep -qx 'Icon=palcomir' "$root/usr/share/applications/palcomir.desktop" || fail "Icon is not the theme icon"
appstreamcli validate --no-net --no-color "$root/usr/share/metainfo/palcomir.metainfo.xml" >"$work/as.log" 2>&1
cat "$work/as.log"
grep -q '^E:' "$work/as.log" && fail "appstreamcli reports errors"
grep -q "<release version=\"$version\"" "$root/usr/share/metainfo/palcomir.metainfo.xml" || fail "metainfo release"
zcat "$root/usr/share/man/man1/palcomir.1.gz" | grep -qF 'data\-dir' || fail "manual page"
zcat "$root/usr/share/man/man1/palcomir.1.gz" | grep -qF '/usr/share/palcomir/pisarz.src' || fail "manual page names the library"

# The unpacked program: --version with no display, and the library found beside it.
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME="$work" "$root/usr/bin/palcomir" --version)
[ "$out" = "Palcomir $version" ] || fail "--version said: $out"
err=$(QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work" HOME="$work" \
      "$root/usr/bin/palcomir" --data-dir "$work/home" --lesson 1299 2>&1)
case "$err" in
    *"$root/usr/share/palcomir/pisarz.src nie ma lekcji 1299"*) ;;
    *) fail "the unpacked program did not read its own library: $err" ;;
esac
echo "package checked: $deb"
