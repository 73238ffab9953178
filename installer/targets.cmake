# The installer of both deliverables and the files beside the program
# (NSIS from Debian), built with every build.
find_program(MAKENSIS makensis REQUIRED)
set(stage ${CMAKE_BINARY_DIR}/installer)
# The installer carries the programs without their debugging information.
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/ArchivonSetup.exe
  COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}
  COMMAND ${CMAKE_STRIP} -o ${stage}/Archivon.exe $<TARGET_FILE:Archivon>
  COMMAND ${CMAKE_STRIP} -o ${stage}/Gleanix.dll $<TARGET_FILE:Gleanix>
  COMMAND ${MAKENSIS} -V2 -DSTAGE=${stage} -DBESIDE=${CMAKE_BINARY_DIR}
          -DOUTFILE=${CMAKE_BINARY_DIR}/ArchivonSetup.exe ${CMAKE_SOURCE_DIR}/installer/archivon.nsi
  DEPENDS Archivon Gleanix ${CMAKE_BINARY_DIR}/splash.bmp ${CMAKE_BINARY_DIR}/Archivon.htm
          ${CMAKE_SOURCE_DIR}/installer/archivon.nsi
  COMMENT "Building ArchivonSetup.exe")
add_custom_target(installer ALL DEPENDS ${CMAKE_BINARY_DIR}/ArchivonSetup.exe)
