# What `cmake --graphviz` draws for docs/architecture.md (scripts/draw-layers.sh configures
# without tests): the program's own libraries and executables, without benchmarks, the
# tests' convenience target or external packages.
set(GRAPHVIZ_GRAPH_NAME "Velmora layers")
set(GRAPHVIZ_EXTERNAL_LIBS FALSE)
set(GRAPHVIZ_GENERATE_PER_TARGET FALSE)
set(GRAPHVIZ_GENERATE_DEPENDERS FALSE)
set(GRAPHVIZ_IGNORE_TARGETS ".*_bench$" "velmora_bench_company" "velmora-make-company" "velmora-ledger-floor"
    "velmora_program")
