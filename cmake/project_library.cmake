# hoofer_library(<name> <source>... [PUBLIC <item>...] [PRIVATE <item>...])
#
# One static library of the program: its sources, src/ as the include root for
# it and for everything that links it, and the libraries it links. The
# warnings come from the top level's add_compile_options, which every target
# of the tree gets.
function(hoofer_library name)
  cmake_parse_arguments(PARSE_ARGV 1 LIB "" "" "PUBLIC;PRIVATE")
  add_library(${name} STATIC ${LIB_UNPARSED_ARGUMENTS})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  if(LIB_PUBLIC)
    target_link_libraries(${name} PUBLIC ${LIB_PUBLIC})
  endif()
  if(LIB_PRIVATE)
    target_link_libraries(${name} PRIVATE ${LIB_PRIVATE})
  endif()
endfunction()
