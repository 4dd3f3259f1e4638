# SPDX-License-Identifier: GPL-3.0-or-later
# lorvane_hygiene: the compiler settings every target of ours links, so that a
# warning or a sanitizer finding anywhere in the tree is seen the same way.
#
#   -DLORVANE_WERROR=ON     warnings fail the build (CI)
#   -DLORVANE_SANITIZE=ON   AddressSanitizer and UndefinedBehaviorSanitizer;
#                           give it a build folder of its own (make asan)
option(LORVANE_WERROR "Treat compiler warnings as errors" OFF)
option(LORVANE_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

add_library(lorvane_hygiene INTERFACE)
target_compile_options(lorvane_hygiene INTERFACE
  -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual)
if(LORVANE_WERROR)
  target_compile_options(lorvane_hygiene INTERFACE -Werror)
endif()
if(LORVANE_SANITIZE)
  # An undefined-behaviour finding stops the program, so that a test fails on it
  # instead of printing a line nobody reads.
  set(lorvane_sanitize_flags -fsanitize=address,undefined -fno-sanitize-recover=undefined
      -fno-omit-frame-pointer)
  target_compile_options(lorvane_hygiene INTERFACE ${lorvane_sanitize_flags})
  target_link_options(lorvane_hygiene INTERFACE ${lorvane_sanitize_flags})
endif()
