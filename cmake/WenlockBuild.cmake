# Build settings and helper functions shared by every folder of the project.

option(WENLOCK_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(WENLOCK_FUZZ "Build the fuzz targets as libFuzzer programs (clang)" OFF)

# Programs and DLLs side by side, so test programs find the DLLs they load (Windows and Wine search
# the program's folder first).
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/lib)

add_compile_options(-Wall -Wextra)
if(WIN32)
  # Core code must not depend on windows.h macros leaking in (min/max), and we target Windows 7 on.
  add_compile_definitions(NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(WENLOCK_WIN32_X86 ON)
  endif()
endif()
if(WENLOCK_SANITIZE OR WENLOCK_FUZZ)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
if(WENLOCK_FUZZ)
  # Coverage for every unit the targets reach; only the targets themselves get libFuzzer's main.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

macro(wenlock_find_gtest)
  if(CMAKE_CROSSCOMPILING)
    # Debian ships GoogleTest as source; build it with the cross compiler.
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  else()
    find_package(GTest REQUIRED)
  endif()
  include(GoogleTest)
endmacro()

# wenlock_add_gtest(<target> SOURCES <files...> LIBS <libs...>)
# Natively each test case becomes its own CTest test; under Wine one CTest test runs the whole program,
# since every Wine process start costs time.
function(wenlock_add_gtest target)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} GTest::gtest_main GTest::gmock)
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${target} COMMAND ${target} --gtest_color=no)
  else()
    gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60)
  endif()
endfunction()

# An export list is a CMake list of entries "Name:ArgBytes:Ordinal[:Implementation][:PRIVATE]".
#   Name            the exported name
#   ArgBytes        the stdcall argument size (the @N decoration of 32-bit Windows)
#   Implementation  the C function behind the export when it is named differently
# From one list come the module-definition file of a DLL (decorated names on 32-bit Windows, where
# --kill-at then strips the decoration) and the version script of the Linux shared object.
function(wenlock_write_export_files target library_name export_list)
  set(def "LIBRARY ${library_name}\nEXPORTS\n")
  set(ver "{\n  global:\n")
  foreach(entry IN LISTS export_list)
    string(REPLACE ":" ";" fields "${entry}")
    list(GET fields 0 name)
    list(GET fields 1 arg_bytes)
    list(GET fields 2 ordinal)
    set(impl ${name})
    set(private "")
    list(LENGTH fields count)
    foreach(i RANGE 3 ${count})
      if(i LESS count)
        list(GET fields ${i} extra)
        if(extra STREQUAL "PRIVATE")
          set(private " PRIVATE")
        else()
          set(impl ${extra})
        endif()
      endif()
    endforeach()
    if(WENLOCK_WIN32_X86)
      set(symbol "${impl}@${arg_bytes}")
    else()
      set(symbol "${impl}")
    endif()
    if(symbol STREQUAL name)
      string(APPEND def "  ${name} @${ordinal}${private}\n")
    else()
      string(APPEND def "  ${name} = ${symbol} @${ordinal}${private}\n")
    endif()
    string(APPEND ver "    ${name};\n")
    # The import library for compiled clients keeps the decorated names, so callers' references
    # (Name@N on 32-bit Windows) resolve to the undecorated exports.
    if(WENLOCK_WIN32_X86)
      string(APPEND imp "  ${name}@${arg_bytes} @${ordinal}\n")
    else()
      string(APPEND imp "  ${name} @${ordinal}\n")
    endif()
  endforeach()
  string(APPEND ver "  local: *;\n};\n")
  set(dir ${CMAKE_CURRENT_BINARY_DIR})
  file(WRITE ${dir}/${library_name}.def "${def}")
  file(WRITE ${dir}/${library_name}.ver "${ver}")
  file(WRITE ${dir}/${library_name}.imp.def "LIBRARY ${library_name}.dll\nEXPORTS\n${imp}")

  if(WIN32)
    set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${library_name})
    target_sources(${target} PRIVATE ${dir}/${library_name}.def)
    if(WENLOCK_WIN32_X86)
      target_link_options(${target} PRIVATE -Wl,--kill-at)
    endif()
    set(implib ${CMAKE_BINARY_DIR}/lib/lib${library_name}.imp.a)
    set(kill_at "")
    if(WENLOCK_WIN32_X86)
      set(kill_at -k)
    endif()
    add_custom_command(OUTPUT ${implib}
      COMMAND ${WENLOCK_DLLTOOL} ${kill_at} -d ${dir}/${library_name}.imp.def -l ${implib} -D ${library_name}.dll
      DEPENDS ${dir}/${library_name}.imp.def
      COMMENT "Import library for ${library_name}.dll")
    add_custom_target(${target}_implib DEPENDS ${implib})
    add_library(${target}_import INTERFACE)
    add_dependencies(${target}_import ${target}_implib ${target})
    target_link_libraries(${target}_import INTERFACE ${implib} wenlock_common_abi)
    target_include_directories(${target}_import INTERFACE
      $<TARGET_PROPERTY:${target},INTERFACE_INCLUDE_DIRECTORIES>)
  else()
    set_target_properties(${target} PROPERTIES OUTPUT_NAME ${library_name})
    target_link_options(${target} PRIVATE -Wl,--version-script=${dir}/${library_name}.ver)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${dir}/${library_name}.ver)
    add_library(${target}_import INTERFACE)
    target_link_libraries(${target}_import INTERFACE ${target})
  endif()
endfunction()

# wenlock_add_regsvr32_test(<test name> <server target> <CLSID> <LIBID> <ProgID> <description>)
#   Registers the server with the real regsvr32 of its bitness under Wine, checks every key in both
#   registry views, unregisters it and checks nothing is left.
function(wenlock_add_regsvr32_test name server clsid libid prog_id description)
  add_test(NAME ${name}
    COMMAND sh ${PROJECT_SOURCE_DIR}/tests/support/regsvr32_check.sh
            ${PROJECT_SOURCE_DIR}/cmake/wine-run ${WENLOCK_WINE_BITS} $<TARGET_FILE:${server}>
            ${clsid} ${libid} ${prog_id} "${description}")
  set_tests_properties(${name} PROPERTIES
    PASS_REGULAR_EXPRESSION "registered and unregistered ${prog_id}"
    FAIL_REGULAR_EXPRESSION "FAIL:"
    RESOURCE_LOCK wine_registry)
endfunction()
