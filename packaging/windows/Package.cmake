# The Windows download: build-windows/Calvorin-<version>-win64.zip with Calvorin.exe and an Italian
# read-me (LEGGIMI.txt). Built by the target calvorin_windows_zip, which tools/build-windows.sh runs.
set(CALVORIN_RELEASE ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH})
set(VERSION ${CALVORIN_RELEASE})
set(staging ${PROJECT_BINARY_DIR}/zip-staging)
set(windows_zip ${PROJECT_BINARY_DIR}/Calvorin-${CALVORIN_RELEASE}-win64.zip)
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/LEGGIMI.txt ${staging}/LEGGIMI.txt @ONLY NEWLINE_STYLE CRLF)
add_custom_command(OUTPUT ${windows_zip}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:calvorin> ${staging}/Calvorin.exe
  COMMAND ${CMAKE_COMMAND} -E chdir ${staging} ${CMAKE_COMMAND} -E tar cf ${windows_zip} --format=zip
          Calvorin.exe LEGGIMI.txt
  DEPENDS calvorin ${staging}/LEGGIMI.txt VERBATIM)
add_custom_target(calvorin_windows_zip ALL DEPENDS ${windows_zip})
