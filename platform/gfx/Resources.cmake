# velmora_resources(<target> TYPE <type> FILES <files...>) compiles the files into <target> as
# resources of that type, each named after its file name without the last extension, both
# upper-cased (platform/gfx/Resources.h looks them up). The table is linked in whole, so a static
# library's resources reach every program that links the library.
set(VELMORA_EMBED_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/EmbedResources.cmake CACHE INTERNAL "")

function(velmora_resources target)
  cmake_parse_arguments(ARG "" "TYPE" "FILES" ${ARGN})
  if(NOT ARG_TYPE OR NOT ARG_FILES)
    message(FATAL_ERROR "velmora_resources(${target}): TYPE and FILES are required")
  endif()
  string(TOUPPER "${ARG_TYPE}" type)
  set(files)
  foreach(file IN LISTS ARG_FILES)
    get_filename_component(path ${file} ABSOLUTE)
    list(APPEND files ${path})
  endforeach()
  string(REPLACE ";" "|" fileArgument "${files}")
  set(output ${CMAKE_CURRENT_BINARY_DIR}/${target}_${type}_resources.cpp)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DOUTPUT=${output} -DTYPE=${type} -DFILES=${fileArgument} -P ${VELMORA_EMBED_SCRIPT}
    DEPENDS ${files} ${VELMORA_EMBED_SCRIPT}
    COMMENT "Embedding ${type} resources of ${target}"
    VERBATIM)
  set(library ${target}_${type}_resources)
  add_library(${library} STATIC ${output})
  target_link_libraries(${library} PRIVATE platform_gfx)
  target_link_libraries(${target} PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,${library}>")
endfunction()
