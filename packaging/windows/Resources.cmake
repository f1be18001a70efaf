# Calvorin.exe's resources: the icon, the manifest and the version resource (the program reads its own
# version there, as FCM's plug-ins do). The comment is shown after the version when it is set.
enable_language(RC)
set(ICON_PATH ${PROJECT_SOURCE_DIR}/packaging/windows/calvorin.ico)
set(MANIFEST_PATH ${PROJECT_BINARY_DIR}/Calvorin.manifest)
if(CALVORIN_COMMENTS)
  set(COMMENTS_LINE "      VALUE \"Comments\", \"${CALVORIN_COMMENTS}\"")
else()
  set(COMMENTS_LINE "")
endif()
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/Calvorin.manifest ${MANIFEST_PATH} @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/Calvorin.rc.in ${PROJECT_BINARY_DIR}/Calvorin.rc @ONLY)
target_sources(calvorin PRIVATE ${PROJECT_BINARY_DIR}/Calvorin.rc)
set_source_files_properties(${PROJECT_BINARY_DIR}/Calvorin.rc PROPERTIES
  OBJECT_DEPENDS "${ICON_PATH};${MANIFEST_PATH}")
# The window subsystem: FCM starts it without a console; /batch takes its parent's (AttachConsole).
set_target_properties(calvorin PROPERTIES OUTPUT_NAME Calvorin WIN32_EXECUTABLE ON)
