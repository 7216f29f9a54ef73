#!/usr/bin/env bash
# The general-ledger export benchmark. For each size (journals of a generated company of
# 2,000 accounts) it loads the host data, exports the whole year with and without the
# general ledger, and measures in the same run two floors (velmora-ledger-floor: every
# ledger row of the store stepped through in ledger order; velmora-ledger-tight-floor: the
# same postings read by one scan inside SQLite of a table laid out for the ledger; each plus
# the document's bytes written with fdatasync; the ratio is to the lower) and the
# reference tool's register report (`ledger reg`) of the same postings. The export with the
# ledger and both floors run --repeat times in turns, and the table gives their medians, so
# that one slow turn on the shared machine moves no ratio. It prints one table with the
# ratios and, with --plot, draws time and memory against postings. Then, for the same
# sizes, the importer on the same books as an hledger journal against hledger's own print
# (bench/import-bench.sh).
#   scripts/bench.sh [--preset P] [--plot OUT.png] [--data OUT.dat] [--repeat N]
#                    [--baseline PROGRAM] [--no-reference] [--no-import] [JOURNALS...]
# Defaults: the release preset, three turns, sizes 60000 150000 300000 (about 1M postings
# at the top). --baseline runs another build's Velmora1 (with its ZentorDef.ini and
# SUPPORT.INF beside it) in the same turns and adds its median and the ratio to it, so that
# a change is measured before and after in one run. --no-reference leaves out the reference
# tool, which takes most of the run's time; --no-import the importer's benchmark.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"

preset=release
plot=""
data=""
reference=1
import=1
repeat=3
baseline=""
sizes=()
while [ $# -gt 0 ]; do
  case "$1" in
    --preset) preset="$2"; shift 2 ;;
    --plot) plot="$2"; shift 2 ;;
    --data) data="$2"; shift 2 ;;
    --repeat) repeat="$2"; shift 2 ;;
    --baseline) baseline="$(realpath "$2")"; shift 2 ;;
    --no-reference) reference=0; shift ;;
    --no-import) import=0; shift ;;
    *) sizes+=("$1"); shift ;;
  esac
done
[ ${#sizes[@]} -gt 0 ] || sizes=(60000 150000 300000)

# The reference tool and the plotter come from Debian; the benchmark runs without them.
# GNU time measures every run.
wanted=()
[ -x /usr/bin/time ] || wanted+=(time)
[ "$reference" -eq 0 ] || command -v ledger >/dev/null || wanted+=(ledger)
[ -z "$plot" ] || command -v gnuplot >/dev/null || wanted+=(gnuplot-nox)
if [ ${#wanted[@]} -gt 0 ]; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  { $SUDO apt-get update -qq && $SUDO apt-get install -y -qq --no-install-recommends "${wanted[@]}"; } \
    >/dev/null 2>&1 || echo "bench: could not install ${wanted[*]}; going on without" >&2
fi

cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)" --target Velmora1 orbeck-admin velmora-make-company velmora-ledger-floor \
  velmora-ledger-tight-floor >/dev/null
build="$root/build/$preset"
admin="$(find "$build/tools" -type f -name orbeck-admin -perm -u+x | head -n 1)"
program="$build/editions/Velmora1"
make_company="$build/bench/velmora-make-company"
floor="$build/bench/velmora-ledger-floor"
tight_floor="$build/bench/velmora-ledger-tight-floor"

work="$(mktemp -d /tmp/velmora-bench-XXXXXX)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/out" "$work/home"
printf 'Z: / fixed\nC: "%s" fixed\n' "$work/out" > "$work/drives"
# Both exports name their choice: the dialog starts from the settings the last run saved.
printf 'check 1021 1\nset 1015 C:\\ledger.xml\nclick 1002\nanswer yes\n' > "$work/ledger.script"
printf 'check 1021 0\nset 1015 C:\\plain.xml\nclick 1002\nanswer yes\n' > "$work/plain.script"

# Runs a command under GNU time; sets wall, cpu and rss (KiB) from its report.
measure() {
  local report="$work/time"
  /usr/bin/time -o "$report" -f '%e %U %S %M' "$@"
  read -r wall user sys rss < "$report"
  cpu=$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.2f", u + s }')
}

# A program ($2, the build's by default), exporting through the automation script $1.script.
export_run() {
  measure env ORBECK_HOME="$work/home" VELMORA_DRIVES="$work/drives" VELMORA_UI_SCRIPT="$work/$1.script" \
    VELMORA_UI_TRANSCRIPT="$work/transcript" "${2:-$program}"
}

# The median of the numbers given.
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# A floor program's read plus write seconds for a document of $2 bytes.
floor_run() {
  local read_s write_s
  read -r _ _ _ read_s _ write_s _ < <("$1" "$work/home/orbeck.db" "$2" "$work/out/floor.bin")
  rm -f "$work/out/floor.bin"
  awk -v r="$read_s" -v w="$write_s" 'BEGIN { printf "%.3f", r + w }'
}

results="$work/results"
: > "$results"
for journals in "${sizes[@]}"; do
  "$make_company" --journals "$journals" --out "$work/company.json" --journal "$work/company.ledger" > /dev/null
  rm -rf "$work/home"
  measure "$admin" load "$work/company.json" --home "$work/home" > /dev/null
  load_wall=$wall; load_rss=$rss
  walls=(); cpus=(); rsses=(); floors=(); tights=(); base_walls=(); base_cpus=(); base_rsses=()
  for turn in $(seq "$repeat"); do
    rm -f "$work/out/ledger.xml"
    export_run ledger
    walls+=("$wall"); cpus+=("$cpu"); rsses+=("$rss")
    if [ ! -s "$work/out/ledger.xml" ]; then
      echo "bench: the export with the ledger wrote no document ($journals journals)" >&2
      exit 1
    fi
    bytes=$(stat -c %s "$work/out/ledger.xml")
    if [ -n "$baseline" ]; then
      digest=$(sha256sum < "$work/out/ledger.xml")
      rm -f "$work/out/ledger.xml"
      export_run ledger "$baseline"
      base_walls+=("$wall"); base_cpus+=("$cpu"); base_rsses+=("$rss")
      if [ "$(sha256sum < "$work/out/ledger.xml")" != "$digest" ]; then
        echo "bench: the baseline's document differs from this build's ($journals journals)" >&2
        exit 1
      fi
    fi
    floors+=("$(floor_run "$floor" "$bytes")")
    tights+=("$(floor_run "$tight_floor" "$bytes")")
  done
  ledger_wall=$(median "${walls[@]}"); ledger_cpu=$(median "${cpus[@]}"); ledger_rss=$(median "${rsses[@]}")
  floor_total=$(median "${floors[@]}"); tight_total=$(median "${tights[@]}")
  base_wall="-"; base_cpu="-"; base_rss="-"
  if [ -n "$baseline" ]; then
    base_wall=$(median "${base_walls[@]}"); base_cpu=$(median "${base_cpus[@]}"); base_rss=$(median "${base_rsses[@]}")
  fi
  postings=$(grep -c '<HJ00780S02>' "$work/out/ledger.xml" || true)
  rm -f "$work/out/plain.xml"
  export_run plain
  plain_wall=$wall
  ref_wall="-"; ref_rss="-"
  if [ "$reference" -eq 1 ] && command -v ledger >/dev/null; then
    measure ledger -f "$work/company.ledger" reg > /dev/null
    ref_wall=$wall; ref_rss=$rss
  fi
  echo "$journals $postings $bytes $load_wall $load_rss $ledger_wall $ledger_cpu $ledger_rss $plain_wall $floor_total $ref_wall $ref_rss $tight_total $base_wall $base_cpu $base_rss" >> "$results"
done

printf '\nMedians of %s turns.\n' "$repeat"
printf '\n| journals | postings | document MB | load s | load MiB | export s (CPU) | peak MiB | B/posting over 64 MB | no ledger s | floor s (store / tight) | × floor | ledger-cli s | × faster |'
[ -z "$baseline" ] || printf ' baseline s (CPU) | baseline MiB | × baseline |'
printf '\n|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|'
[ -z "$baseline" ] || printf -- '---:|---:|---:|'
printf '\n'
awk -v baseline="$baseline" '{
  low = $13 < $10 ? $13 : $10;
  ratio = low > 0 ? sprintf("%.2f", $6 / low) : "-";
  per = $2 <= 0 ? "-" : $8 * 1024 <= 64e6 ? "within 64 MB" : sprintf("%.0f", ($8 * 1024 - 64e6) / $2);
  ref = $11 == "-" ? "-" : sprintf("%.1f", $11 / $6);
  printf "| %d | %d | %.1f | %.2f | %.0f | %.2f (%.2f) | %.0f | %s | %.2f | %.2f / %.2f | %s | %s | %s |",
    $1, $2, $3 / 1e6, $4, $5 / 1024, $6, $7, $8 / 1024, per, $9, $10, $13, ratio, $11, ref
  if (baseline != "") printf " %.2f (%.2f) | %.0f | %.2f |", $14, $15, $16 / 1024, $14 / $6
  printf "\n" }' "$results"

[ -z "$data" ] || cp "$results" "$data"
if [ -n "$plot" ] && command -v gnuplot >/dev/null; then
  gnuplot <<EOF
set terminal pngcairo size 900,420 noenhanced
set output "$plot"
set multiplot layout 1,2
set key left top
set xlabel "ledger postings (millions)"
set ylabel "seconds"
plot "$results" using (\$2/1e6):6 with linespoints title "export with ledger", \
     "$results" using (\$2/1e6):(\$13 < \$10 ? \$13 : \$10) with linespoints title "floor (the lower)", \
     "$results" using (\$2/1e6):4 with linespoints title "load"
set ylabel "peak RSS (MiB)"
plot "$results" using (\$2/1e6):(\$8/1024) with linespoints title "export with ledger", \
     "$results" using (\$2/1e6):(\$5/1024) with linespoints title "load", \
     "$results" using (\$2/1e6):((\$2*120+64e6)/1048576) with lines title "120 B/posting + 64 MB"
unset multiplot
EOF
  echo "plot: $plot"
fi

if [ "$import" -eq 1 ]; then
  echo
  bash bench/import-bench.sh --preset "$preset" "${sizes[@]}"
fi
