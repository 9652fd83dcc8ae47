# cmake -DINPUT=file -DOUTPUT=source.cpp -DSYMBOL=name -P EmbedFile.cmake
# Writes a C++ source that holds the file's bytes as `const unsigned char SYMBOL[]`
# and its size as `const std::size_t SYMBOL_size`.
file(READ "${INPUT}" content HEX)
string(LENGTH "${content}" hexLength)
math(EXPR size "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${content}")
file(WRITE "${OUTPUT}" "// Generated from ${INPUT}; do not edit.\n#include <cstddef>\n"
  "extern const unsigned char ${SYMBOL}[];\nextern const std::size_t ${SYMBOL}_size;\n"
  "const unsigned char ${SYMBOL}[] = {${bytes} 0};\nconst std::size_t ${SYMBOL}_size = ${size};\n")
