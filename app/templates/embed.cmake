# Writes the bytes of INPUT as a C++ array into OUTPUT (cmake -P).
file(READ "${INPUT}" bytes HEX)
string(LENGTH "${bytes}" hexLength)
math(EXPR size "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," array "${bytes}")
file(WRITE "${OUTPUT}.tmp"
  "// Generated from ${INPUT}; do not edit.\n"
  "#include <cstddef>\n"
  "namespace pemvora::app::templates {\n"
  "extern const char kReferenceDescription[] = {${array} '\\0'};\n"
  "extern const std::size_t kReferenceDescriptionSize = ${size};\n"
  "}\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
