# Sourced by scripts/demo.sh and scripts/import-demo.sh after scripts/headless-setup.sh:
# runs an edition headless over a host home that holds a store, through the automation
# backend with the demo script, and prints the document's path, the run status and, when
# the run did not complete, the texts of its message boxes. Needs: root, home, outdir,
# outname, output, program.
# Exits with the run's status.

# C: is the output folder; the rest of the file system (the program's own folder with its
# definition and support files, the host's folders) is Z:.
printf 'Z: / fixed\nC: "%s" fixed\n' "$outdir" > "$home/drives"
script="$home/demo.script"
# The name goes into a sed replacement: its backslashes, ampersands and bars stay literal.
sedname="$(printf '%s' "$outname" | sed 's/[\\&|]/\\&/g')"
sed "s|^set 1015 C:\\\\kessan.xml\$|set 1015 C:\\\\$sedname|" "$root/data/demo.script" > "$script"
transcript="$home/transcript.jsonl"

set +e
ORBECK_HOME="$home" VELMORA_DRIVES="$home/drives" VELMORA_UI_SCRIPT="$script" \
  VELMORA_UI_TRANSCRIPT="$transcript" "$program"
status=$?
set -e

case "$status" in
  0) meaning="completed" ;;
  1) meaning="cancelled" ;;
  2) meaning="failed" ;;
  *) meaning="unexpected" ;;
esac
if [ "$status" -eq 0 ] && [ -f "$output" ]; then
  echo "document:   $output"
else
  echo "document:   not written ($output)"
fi
echo "run status: $status ($meaning)"
echo "transcript: $transcript"
if [ "$status" -ne 0 ] && [ -f "$transcript" ]; then
  # The program says why in its message boxes; the transcript keeps their texts.
  echo "messages:"
  jq -r 'select(.event == "messageBox") | .text | gsub("\n+"; " ") | "  " + .' "$transcript"
fi
exit "$status"
