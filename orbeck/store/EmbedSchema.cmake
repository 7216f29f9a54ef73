# Writes OUTPUT, a C++ source defining NAME() that returns the text of INPUT.
file(READ "${INPUT}" sql)
get_filename_component(source "${INPUT}" NAME)
set(delimiter "orbeck_schema")
file(WRITE "${OUTPUT}.tmp"
  "// Generated from ${source} at build time.\n"
  "#include \"orbeck/store/StoreSchema.h\"\n\n"
  "namespace orbeck::store {\n\n"
  "const char* ${NAME}() {\n"
  "  return R\"${delimiter}(${sql})${delimiter}\";\n"
  "}\n\n"
  "}  // namespace orbeck::store\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
