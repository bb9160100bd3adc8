#!/usr/bin/env bash
# Makes the Debian package of KOVA X from a complete build (scripts/test.sh or run.sh makes
# one) and checks it: extracted with dpkg -x into a scratch root, its file list, its computed
# dependencies, and its kova-mu on its own demo linacs and examples.
# Usage: scripts/package.sh [BUILD_DIR]    Installs with: sudo apt-get install ./kovax_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build}
rm -f "$build_dir"/kovax_*.deb
(cd "$build_dir" && cpack -G DEB)
debs=("$build_dir"/kovax_*.deb)
deb=${debs[0]}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg -x "$deb" "$scratch/root"

# Everything goes under /usr: nothing in /etc (no configuration file to keep after removal).
top=$(cd "$scratch/root" && ls -A)
if [ "$top" != "usr" ]; then
    echo "FAILED: the package installs outside /usr: $top" >&2
    exit 1
fi
# The libraries the programs link come from dpkg-shlibdeps.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for library in libqt6widgets6 libqt6gui6 libqt6charts6 libdcmtk17 zlib1g qt6-qpa-plugins fonts-liberation; do
    if [[ "$depends" != *"$library"* ]]; then
        echo "FAILED: the package does not depend on $library" >&2
        exit 1
    fi
done
# kova-mu links neither Qt nor DCMTK: its plug-ins do. Each plug-in's libraries, as
# dpkg-shlibdeps finds them, are among the package's dependencies.
mkdir -p "$scratch/shlibs/debian"
touch "$scratch/shlibs/debian/control"
for plugin in kova_mu_report:libqt6gui6 kova_mu_dicom:libdcmtk17; do
    file="$scratch/root/usr/lib/kovax/${plugin%%:*}.so"
    needs=$(cd "$scratch/shlibs" && dpkg-shlibdeps -O "$file" 2>/dev/null)
    needs=${needs#shlibs:Depends=}
    if [[ "$needs" != *"${plugin##*:}"* ]]; then
        echo "FAILED: dpkg-shlibdeps does not find ${plugin##*:} for $file: $needs" >&2
        exit 1
    fi
    for name in $(echo "$needs" | tr ',' '\n' | sed 's/(.*//'); do
        if [[ "$depends" != *"$name"* ]]; then
            echo "FAILED: the package does not depend on $name, which $file needs" >&2
            exit 1
        fi
    done
done

cmake -DPREFIX="$scratch/root/usr" -DSOURCE_DIR="$PWD" -DWORK_DIR="$scratch/check" \
    -DWITH_GUI=ON -DREFERENCE_MU="$build_dir/bin/kova-mu" \
    -DREFERENCE_LINACS="$build_dir/Linacs" -P tests/install/check_installed_tree.cmake
echo "$deb: checked"
