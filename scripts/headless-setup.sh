# Sourced by scripts/demo.sh and scripts/import-demo.sh before they fill a host store: makes
# the output's folder, builds the edition and the tool that fills the store (or takes the
# build DEMO_BUILD_DIR names, as it is) and leaves an empty host home for the store.
# Needs: root, output (absolute), tool (orbeck-admin or orbeck-import), homeName (the host
# home's folder: build/HOMENAME, or DEMO_BUILD_DIR/HOMENAME).
# Sets: outdir, outname, output (its folder resolved), build, home, program, toolPath.

outdir="$(dirname "$output")"
outname="$(basename "$output")"
mkdir -p "$outdir"
outdir="$(cd "$outdir" && pwd)"
output="$outdir/$outname"

if [ -n "${DEMO_BUILD_DIR:-}" ]; then
  build="$(cd "$DEMO_BUILD_DIR" && pwd)"
  home="$build/$homeName"
else
  bash "$root/scripts/install-deps.sh"
  cmake --preset default >/dev/null
  cmake --build --preset default -j "$(nproc)" --target Velmora1 "$tool"
  build="$root/build/default"
  home="$root/build/$homeName"
fi
toolPath="$build/tools/$tool/$tool"
program="$build/editions/Velmora1"
if [ ! -x "$toolPath" ] || [ ! -x "$program" ]; then
  echo "$(basename "$0" .sh): the build did not produce $tool and Velmora1" >&2
  exit 2
fi

rm -rf "$home"
mkdir -p "$home"
