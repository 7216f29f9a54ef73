#!/usr/bin/env bash
# The importer on large books, against hledger itself in the same run: the generated company
# (bench/velmora-make-company) written as an hledger journal, then `hledger print -O json`
# of it (the peer, and the first half of every journal import), `orbeck-import` of the
# journal into a host data document (it runs that same hledger print, then reads its JSON
# and builds the document), and `orbeck-import` of the saved JSON alone. The goal: the
# journal's import at most twice hledger's print, with memory bounded.
# Usage: bench/import-bench.sh [--preset P] [JOURNALS...]
# Defaults: the release preset and 300000 journals (about a million postings).
set -euo pipefail
cd "$(dirname "$0")/.."

preset=release
sizes=()
while [ $# -gt 0 ]; do
  case "$1" in
    --preset) preset="$2"; shift 2 ;;
    *) sizes+=("$1"); shift ;;
  esac
done
[ ${#sizes[@]} -gt 0 ] || sizes=(300000)

wanted=()
[ -x /usr/bin/time ] || wanted+=(time)
command -v hledger >/dev/null || wanted+=(hledger)
if [ ${#wanted[@]} -gt 0 ]; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  { $SUDO apt-get update -qq && $SUDO apt-get install -y -qq --no-install-recommends "${wanted[@]}"; } >/dev/null 2>&1 ||
    { echo "import-bench: could not install ${wanted[*]}" >&2; exit 1; }
fi

cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)" --target orbeck-import velmora-make-company >/dev/null
build="build/$preset"
import="$build/tools/orbeck-import/orbeck-import"
make_company="$build/bench/velmora-make-company"

work="$(mktemp -d /tmp/velmora-import-bench-XXXXXX)"
trap 'rm -rf "$work"' EXIT

# Runs a command under GNU time; sets wall, cpu (user + system) and rss (KiB, the largest
# of the process and the children it waited for).
measure() {
  /usr/bin/time -o "$work/time" -f '%e %U %S %M' "$@"
  read -r wall user sys rss < "$work/time"
  cpu=$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.2f", u + s }')
}

period=(--period-start 2024-04-01 --period-end 2025-03-31)
printf '| journals | postings | hledger print s (CPU) | MiB | import of the journal s (CPU) | MiB | × hledger (CPU) | import of the JSON s (CPU) | MiB |\n'
printf '|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n'
for journals in "${sizes[@]}"; do
  "$make_company" --journals "$journals" --out "$work/company.json" --hledger "$work/books.journal" >/dev/null
  postings=$(grep -c '^    ' "$work/books.journal")
  measure sh -c 'exec hledger print -O json -f "$1" > "$2"' - "$work/books.journal" "$work/books.json"
  h_wall=$wall; h_cpu=$cpu; h_rss=$rss
  measure "$import" "$work/books.journal" "${period[@]}" --json "$work/out.json" >/dev/null
  j_wall=$wall; j_cpu=$cpu; j_rss=$rss
  measure "$import" "$work/books.json" "${period[@]}" --json "$work/out.json" >/dev/null
  s_wall=$wall; s_cpu=$cpu; s_rss=$rss
  [ -s "$work/out.json" ] || { echo "import-bench: no document written ($journals journals)" >&2; exit 1; }
  awk -v n="$journals" -v p="$postings" -v hw="$h_wall" -v hc="$h_cpu" -v hr="$h_rss" -v jw="$j_wall" \
    -v jc="$j_cpu" -v jr="$j_rss" -v sw="$s_wall" -v sc="$s_cpu" -v sr="$s_rss" 'BEGIN {
      printf "| %d | %d | %.2f (%.2f) | %.0f | %.2f (%.2f) | %.0f | %.2f (%.2f) | %.2f (%.2f) | %.0f |\n",
        n, p, hw, hc, hr / 1024, jw, jc, jr / 1024, jw / hw, jc / hc, sw, sc, sr / 1024 }'
  rm -f "$work/books.json" "$work/out.json"
done
