#!/usr/bin/env bash
# velmora-inspect on large documents, against libxml2's own streaming reader on the same file
# in the same run (xmllint --stream, which decodes and parses but checks nothing): the ratio
# says what the checks cost beyond reading, the peak memory that it stays flat as the
# document grows. The documents are the demo company's export with its general ledger
# repeated until the size is reached; every repeated account still holds together.
# Usage: bench/inspect-bench.sh [MEGABYTES...]   (default: 100 400; uses the release preset)
set -euo pipefail
cd "$(dirname "$0")/.."
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(100 400)
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target velmora-inspect >/dev/null
tool=build/release/tools/velmora-inspect/velmora-inspect
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
trap 'exit 1' INT TERM

demo=tests/data/e2e/demo-company.xml
first=$(grep -n -m1 $'^\t\t\t<HJ00780S01>' "$demo" | cut -d: -f1)
last=$(grep -n $'^\t\t</HJ00780S>' "$demo" | cut -d: -f1)
head -n $((first - 1)) "$demo" >"$work/head"
sed -n "${first},$((last - 1))p" "$demo" >"$work/forms"
tail -n +"$last" "$demo" >"$work/tail"

# Best of three: wall seconds, user seconds, peak resident kilobytes.
measure() {
  local best="" line
  for _ in 1 2 3; do
    /usr/bin/time -o "$work/time" -f "%e %U %M" "$@" >/dev/null 2>&1 || true
    line=$(tail -1 "$work/time")
    if [ -z "$best" ] || awk -v a="${line%% *}" -v b="${best%% *}" 'BEGIN { exit !(a < b) }'; then best=$line; fi
  done
  echo "$best"
}

# The ratio of user times: on a shared machine the wall clock mostly measures the others.
printf '%-8s %-32s %-32s %s\n' "size" "velmora-inspect check" "xmllint --stream (peer)" "ratio (user, wall)"
for mb in "${sizes[@]}"; do
  doc="$work/big-$mb.xml"
  formsBytes=$(stat -c %s "$work/forms")
  repeat=$(( (mb * 1000000) / formsBytes ))
  { cat "$work/head"; for ((i = 0; i < repeat; i++)); do cat "$work/forms"; done; cat "$work/tail"; } >"$doc"
  "$tool" check "$doc" >/dev/null || { echo "check failed on the generated document" >&2; exit 1; }
  read -r iw iu im <<<"$(measure "$tool" check "$doc")"
  read -r xw xu xm <<<"$(measure xmllint --stream --noout "$doc")"
  printf '%-8s %-32s %-32s %s\n' "$(( $(stat -c %s "$doc") / 1000000 )) MB" \
    "${iw} s (user ${iu} s, ${im} KB)" "${xw} s (user ${xu} s, ${xm} KB)" \
    "$(awk -v a="$iu" -v b="$xu" -v c="$iw" -v d="$xw" 'BEGIN { printf "%.2f, %.2f", a / b, c / d }')"
  rm -f "$doc"
done
uptime
