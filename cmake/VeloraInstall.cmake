# Installed layout (cmake --install, CPack):
#   bin/velora              -> ../lib/velora/velora (relative link)
#   lib/velora/             the program, libvlrplatform.so, the modules, plugins/,
#                           the marker "velora-installed", and links to the data:
#   lib/velora/{templates,swatches,snippets,schemes,help,completion} -> ../../share/velora/...
#   share/velora/           templates, swatches, snippets, schemes, help, completion, and
#                           examples/site (the example project, its sources only)
#   share/applications, share/mime/packages, share/icons/hicolor, share/metainfo,
#   share/man/man1          desktop integration
#   include/velora, lib/cmake/Velora   the plug-in SDK (when sdk/ installs it)
# The program finds its folder from /proc/self/exe, which names the real file
# in lib/velora/, so AppDir is lib/velora/ and every file it looks for beside
# itself is there. The marker makes the program write nothing into it: its own
# files go to the user's folder ($XDG_CONFIG_HOME/velora/).
set(VELORA_INSTALL_APPDIR lib/velora)
set(VELORA_INSTALL_DATADIR share/velora)
set(VELORA_DATA_FOLDERS templates swatches snippets schemes help completion)

# Every target whose output lands in the run folder belongs in lib/velora:
# the program, the platform library and the modules, wherever they are defined.
function(velora_collect_run_folder_targets dir out)
  set(found)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(t ${targets})
    get_target_property(type ${t} TYPE)
    if(type STREQUAL "EXECUTABLE")
      get_target_property(where ${t} RUNTIME_OUTPUT_DIRECTORY)
    elseif(type STREQUAL "MODULE_LIBRARY" OR type STREQUAL "SHARED_LIBRARY")
      get_target_property(where ${t} LIBRARY_OUTPUT_DIRECTORY)
    else()
      continue()
    endif()
    if(where STREQUAL VELORA_APPDIR)
      list(APPEND found ${t})
    endif()
  endforeach()
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub ${subdirs})
    velora_collect_run_folder_targets(${sub} more)
    list(APPEND found ${more})
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

velora_collect_run_folder_targets(${CMAKE_SOURCE_DIR} VELORA_RUN_FOLDER_TARGETS)
install(TARGETS ${VELORA_RUN_FOLDER_TARGETS}
  RUNTIME DESTINATION ${VELORA_INSTALL_APPDIR} COMPONENT program
  LIBRARY DESTINATION ${VELORA_INSTALL_APPDIR} COMPONENT program)

# Sample plug-ins built into the run folder's plugins/ (the folder itself always exists).
install(DIRECTORY ${VELORA_APPDIR}/plugins DESTINATION ${VELORA_INSTALL_APPDIR}
  USE_SOURCE_PERMISSIONS COMPONENT program)
install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/velora-installed
  DESTINATION ${VELORA_INSTALL_APPDIR} COMPONENT program)

# Data made at build time (compiled scheme, generated palette) is taken from
# the run folder; the folders hold only what the build put there.
foreach(d ${VELORA_DATA_FOLDERS})
  install(DIRECTORY ${VELORA_APPDIR}/${d} DESTINATION ${VELORA_INSTALL_DATADIR} COMPONENT program)
endforeach()

# The example project as a user copies it: the project file, the source pages
# and the published folder's style sheet and pictures, never pages a build in
# the source tree may have left in public/.
set(example ${CMAKE_SOURCE_DIR}/examples/site)
install(FILES ${example}/site.vlr ${example}/README.md DESTINATION ${VELORA_INSTALL_DATADIR}/examples/site
  COMPONENT program)
install(DIRECTORY ${example}/src DESTINATION ${VELORA_INSTALL_DATADIR}/examples/site COMPONENT program)
install(FILES ${example}/public/style.css DESTINATION ${VELORA_INSTALL_DATADIR}/examples/site/public
  COMPONENT program)
install(DIRECTORY ${example}/public/images DESTINATION ${VELORA_INSTALL_DATADIR}/examples/site/public
  COMPONENT program)

# Relative links, so the tree works under any prefix and inside a package.
set(VELORA_INSTALL_LINKS "bin/velora=../${VELORA_INSTALL_APPDIR}/velora")
foreach(d ${VELORA_DATA_FOLDERS})
  list(APPEND VELORA_INSTALL_LINKS "${VELORA_INSTALL_APPDIR}/${d}=../../${VELORA_INSTALL_DATADIR}/${d}")
endforeach()
install(CODE "
  foreach(link ${VELORA_INSTALL_LINKS})
    string(REPLACE \"=\" \";\" parts \"\${link}\")
    list(GET parts 0 where)
    list(GET parts 1 target)
    set(path \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/\${where}\")
    get_filename_component(parent \"\${path}\" DIRECTORY)
    file(MAKE_DIRECTORY \"\${parent}\")
    file(REMOVE \"\${path}\")
    file(CREATE_LINK \"\${target}\" \"\${path}\" SYMBOLIC)
    message(STATUS \"Installing link: \${path} -> \${target}\")
  endforeach()
" COMPONENT program)

# Desktop integration.
set(desk ${CMAKE_SOURCE_DIR}/resources/desktop)
install(FILES ${desk}/velora.desktop DESTINATION share/applications COMPONENT program)
install(FILES ${desk}/velora-mime.xml DESTINATION share/mime/packages RENAME velora.xml COMPONENT program)
install(FILES ${desk}/velora.svg DESTINATION share/icons/hicolor/scalable/apps COMPONENT program)
install(FILES ${CMAKE_BINARY_DIR}/desktop/org.velora.Velora.metainfo.xml DESTINATION share/metainfo COMPONENT program)
install(FILES ${CMAKE_BINARY_DIR}/desktop/velora.1.gz DESTINATION share/man/man1 COMPONENT program)
foreach(size ${VELORA_ICON_SIZES})
  install(FILES ${CMAKE_BINARY_DIR}/desktop/icons/${size}/velora.png
    DESTINATION share/icons/hicolor/${size}x${size}/apps COMPONENT program)
endforeach()

install(FILES ${desk}/copyright ${CMAKE_BINARY_DIR}/desktop/changelog.Debian.gz
  DESTINATION share/doc/velora COMPONENT program)
install(FILES ${desk}/lintian-overrides DESTINATION share/lintian/overrides RENAME velora COMPONENT program)

# The plug-in SDK: sdk/CMakeLists.txt installs its header under include/velora
# and its CMake function under lib/cmake/Velora with
#   install(FILES ... DESTINATION ${VELORA_INSTALL_INCLUDEDIR} COMPONENT sdk)
#   install(FILES ... DESTINATION ${VELORA_INSTALL_CMAKEDIR} COMPONENT sdk)
# (both variables are set before the source folders are read).
