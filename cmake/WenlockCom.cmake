# Helpers for the project's COM servers (Windows builds only).
#
# wenlock_add_type_library(<target> <idl file>)
#   Compiles the IDL with widl into <name>_h.h (interfaces), <name>_i.c (GUID definitions) and
#   <name>.tlb, embeds the type library as resource TYPELIB 1 of <target>, and puts the generated
#   header on the target's include path. <name> is the IDL file's name without extension.
#
# Languages are enabled in the including folder: a language enabled in one folder is not usable in
# its siblings, so each folder with a COM server includes this file itself.
if(NOT WIN32)
  return()
endif()

enable_language(C RC)

find_program(WENLOCK_WIDL widl REQUIRED)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(WENLOCK_WIDL_TARGET --win64)
  set(_wenlock_wine_windows_dirs /usr/lib/x86_64-linux-gnu/wine/x86_64-windows)
else()
  set(WENLOCK_WIDL_TARGET --win32)
  # Debian puts the 32-bit Wine libraries under the i386 multiarch folder.
  set(_wenlock_wine_windows_dirs /usr/lib/i386-linux-gnu/wine/i386-windows
                                 /usr/lib/x86_64-linux-gnu/wine/i386-windows)
endif()
# widl resolves importlib("stdole2.tlb") through -L; mingw ships no .idl files, Wine's include them.
find_path(WENLOCK_WINE_TLB_DIR stdole2.tlb PATHS ${_wenlock_wine_windows_dirs} NO_DEFAULT_PATH
          NO_CMAKE_FIND_ROOT_PATH REQUIRED)
find_path(WENLOCK_WINE_IDL_DIR oaidl.idl PATHS /usr/include/wine/wine/windows NO_DEFAULT_PATH
          NO_CMAKE_FIND_ROOT_PATH REQUIRED)

function(wenlock_add_type_library target idl)
  get_filename_component(idl_path ${idl} ABSOLUTE)
  get_filename_component(name ${idl} NAME_WE)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${name}_com)
  set(header ${out}/${name}_h.h)
  set(guids ${out}/${name}_i.c)
  set(tlb ${out}/${name}.tlb)
  set(rc ${out}/${name}_tlb.rc)
  file(MAKE_DIRECTORY ${out})
  add_custom_command(OUTPUT ${header} ${guids} ${tlb}
    COMMAND ${WENLOCK_WIDL} ${WENLOCK_WIDL_TARGET} -I ${WENLOCK_WINE_IDL_DIR} -L ${WENLOCK_WINE_TLB_DIR}
            -h -H ${header} -u -U ${guids} -t -T ${tlb} ${idl_path}
    DEPENDS ${idl_path}
    COMMENT "widl ${name}.idl")
  file(WRITE ${rc} "1 TYPELIB \"${tlb}\"\n")
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${tlb})
  target_sources(${target} PRIVATE ${header} ${guids} ${rc})
  target_include_directories(${target} PUBLIC ${out})
endfunction()
