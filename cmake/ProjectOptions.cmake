# Warnings and sanitizers for our own targets only (third-party headers are
# included as system headers and stay out of -Werror). Warnings are errors in
# the presets and in CI; a packager's plain build only reports them, since a
# newer compiler's new warning must not break it.
add_library(zr_options INTERFACE)
target_compile_options(zr_options INTERFACE -Wall -Wextra -Wno-unused-parameter)
if(ZR_WERROR)
  target_compile_options(zr_options INTERFACE -Werror)
  # GCC 12 at -O3 reports overlapping copies inside std::string's own
  # operator+ (a false positive fixed in GCC 13); it stays a warning there.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(zr_options INTERFACE -Wno-error=restrict)
  endif()
endif()
if(ZR_SANITIZE)
  target_compile_options(zr_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                                              -fno-sanitize-recover=undefined)
  target_link_options(zr_options INTERFACE -fsanitize=address,undefined)
endif()

# A library whose symbols are hidden unless marked for export.
function(zr_hidden_visibility target)
  set_target_properties(${target} PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
endfunction()

# The fuzzer build instruments our code for coverage as well as for the sanitizers.
if(ZR_FUZZ)
  target_compile_options(zr_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  target_link_options(zr_options INTERFACE -fsanitize=address,undefined)
endif()

# Compiles a file's bytes into a target as `const unsigned char symbol[]` and `symbol_size`.
function(zr_embed_file target input symbol)
  set(output ${CMAKE_CURRENT_BINARY_DIR}/embedded/${symbol}.cpp)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${input} -DOUTPUT=${output} -DSYMBOL=${symbol} -P ${PROJECT_SOURCE_DIR}/cmake/EmbedFile.cmake
    DEPENDS ${input} ${PROJECT_SOURCE_DIR}/cmake/EmbedFile.cmake
    COMMENT "Embedding ${input}")
  target_sources(${target} PRIVATE ${output})
endfunction()
