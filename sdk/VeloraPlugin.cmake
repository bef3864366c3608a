# velora_add_plugin(<target> SOURCES <files...> [OUTPUT_DIRECTORY <dir>])
#
# Builds a plug-in: a loadable module named <target>.vlp, compiled against
# velora_plugin.h, placed by default in the run folder's plugins/ folder.
# Link further libraries to <target> as usual.
function(velora_add_plugin target)
  cmake_parse_arguments(ARG "" "OUTPUT_DIRECTORY" "SOURCES" ${ARGN})
  if(NOT ARG_SOURCES)
    message(FATAL_ERROR "velora_add_plugin(${target}): no SOURCES")
  endif()
  if(NOT ARG_OUTPUT_DIRECTORY)
    set(ARG_OUTPUT_DIRECTORY ${VELORA_APPDIR}/plugins)
  endif()
  add_library(${target} MODULE ${ARG_SOURCES})
  target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_FUNCTION_LIST_DIR})
  target_link_libraries(${target} PRIVATE ${CMAKE_DL_LIBS})
  set_target_properties(${target} PROPERTIES
    PREFIX ""
    SUFFIX ".vlp"
    CXX_VISIBILITY_PRESET hidden
    C_VISIBILITY_PRESET hidden
    LIBRARY_OUTPUT_DIRECTORY ${ARG_OUTPUT_DIRECTORY})
endfunction()
