# Warnings and sanitizers for every target of the project.
add_compile_options(-Wall -Wextra -Wpedantic)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  # GCC 12 reports std::string concatenation at -O3 as overlapping memcpy (GCC bug 105651).
  add_compile_options(-Wno-restrict)
endif()
if(TENMIREL_WERROR)
  add_compile_options(-Werror)
endif()
if(TENMIREL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
add_compile_options(-ffp-contract=off)  # the arithmetic must match the worked examples to the last bit
