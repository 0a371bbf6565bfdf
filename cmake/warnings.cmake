# Warnings and sanitizers for every target of the project.
add_compile_options(-Wall -Wextra -Wpedantic)
if(TENMIREL_WERROR)
  add_compile_options(-Werror)
endif()
if(TENMIREL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
add_compile_options(-ffp-contract=off)  # the arithmetic must match the worked examples to the last bit
