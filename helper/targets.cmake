# Gleanix.dll: the browser helper. It links the shared platform code only,
# never Archivon's own.
set(gleanix_gen ${CMAKE_BINARY_DIR}/gleanix_gen)
file(MAKE_DIRECTORY ${gleanix_gen})
find_program(WIDL NAMES x86_64-w64-mingw32-widl widl REQUIRED)
# widl's own imports (oaidl.idl, ocidl.idl) and stdole2.tlb come with Wine.
set(wine_idl_dir /usr/include/wine/wine/windows)
set(wine_tlb_dir /usr/lib/x86_64-linux-gnu/wine/x86_64-windows)
add_custom_command(
  OUTPUT ${gleanix_gen}/gleanix.tlb ${gleanix_gen}/gleanix_idl.h
  COMMAND ${WIDL} -m64 -I${wine_idl_dir} -L${wine_tlb_dir} -t -T ${gleanix_gen}/gleanix.tlb
          -h -H ${gleanix_gen}/gleanix_idl.h ${CMAKE_SOURCE_DIR}/helper/gleanix.idl
  DEPENDS ${CMAKE_SOURCE_DIR}/helper/gleanix.idl
  COMMENT "Compiling the Gleanix type library")
add_custom_target(gleanix_idl DEPENDS ${gleanix_gen}/gleanix.tlb ${gleanix_gen}/gleanix_idl.h)

set(gleanix_rc ${CMAKE_SOURCE_DIR}/helper/gleanix.rc)
set_source_files_properties(${gleanix_rc} PROPERTIES
  OBJECT_DEPENDS "${gleanix_gen}/gleanix.tlb;${CMAKE_SOURCE_DIR}/helper/browse.bmp")

add_library(Gleanix SHARED ${HELPER_SOURCES} ${gleanix_rc} ${CMAKE_SOURCE_DIR}/helper/gleanix.def)
add_dependencies(Gleanix gleanix_idl)
set_target_properties(Gleanix PROPERTIES PREFIX "" OUTPUT_NAME Gleanix)
target_include_directories(Gleanix PRIVATE ${gleanix_gen} ${CMAKE_SOURCE_DIR})
target_link_libraries(Gleanix PRIVATE archivon_platform)
