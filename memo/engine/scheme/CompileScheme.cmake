# velora_compile_scheme(TARGET_NAME SCRIPT OUTPUT): a target that compiles the scheme script
# SCRIPT into its stored form OUTPUT with schemec at build time. The command depends on the
# script and on every file of its folder, so editing an #include file rebuilds it too, and a
# broken script fails the build with the compiler's error message.
function(velora_compile_scheme TARGET_NAME SCRIPT OUTPUT)
  get_filename_component(script_abs "${SCRIPT}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  get_filename_component(output_abs "${OUTPUT}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_BINARY_DIR}")
  get_filename_component(script_dir "${script_abs}" DIRECTORY)
  get_filename_component(output_dir "${output_abs}" DIRECTORY)
  file(GLOB_RECURSE script_includes CONFIGURE_DEPENDS "${script_dir}/*")
  add_custom_command(
    OUTPUT "${output_abs}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${output_dir}"
    COMMAND $<TARGET_FILE:schemec> "${script_abs}" "${output_abs}"
    DEPENDS schemec "${script_abs}" ${script_includes}
    COMMENT "Compiling scheme ${SCRIPT}"
    VERBATIM)
  add_custom_target(${TARGET_NAME} ALL DEPENDS "${output_abs}")
endfunction()
