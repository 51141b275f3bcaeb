# Target helpers shared by every subsystem.
#
# Source layout of a subsystem folder:
#   *.cpp, *.c            portable code, built in both builds
#   win32/ or *_win32.cpp Windows-only code (Win32, GDI, Direct3D ...)
#   tests/*_test.cpp      one GoogleTest executable per file, both builds
#   tests/data/           fixtures (TESS_TEST_DATA in the tests)
#   tests/win32/*_test.cpp Windows-only tests, run under Wine
#   fuzz/*_fuzz.cpp       libFuzzer targets (TESS_FUZZ builds only)

set(TESS_SRC_ROOT ${CMAKE_SOURCE_DIR}/src)

set(TESS_WARNINGS -Wall -Wextra)
# The native g++ debug build treats warnings as errors (CI's gate); the cross,
# fuzz and optimised builds only report them (the optimiser's flow warnings
# are not stable across compiler versions).
if(TESS_WERROR AND NOT TESS_WINDOWS AND NOT TESS_FUZZ AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU"
   AND CMAKE_BUILD_TYPE STREQUAL "Debug")
  list(APPEND TESS_WARNINGS -Werror)
endif()
if(NOT TESS_WINDOWS AND TESS_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -g -O1)
  add_link_options(-fsanitize=address,undefined)
elseif(NOT TESS_WINDOWS AND TESS_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
if(TESS_WINDOWS)
  # Every Win32 call is the ANSI one; keep windows.h lean.
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
endif()

function(_tess_filter_platform out)
  set(result)
  foreach(f ${ARGN})
    if(f MATCHES "/(tests|fuzz)/")
      continue()
    endif()
    if(NOT TESS_WINDOWS AND (f MATCHES "/win32/" OR f MATCHES "_win32\\.(cpp|c)$"))
      continue()
    endif()
    if(TESS_WINDOWS AND (f MATCHES "/posix/" OR f MATCHES "_posix\\.(cpp|c)$"))
      continue()
    endif()
    list(APPEND result ${f})
  endforeach()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

# Links each header of a library folder into <build>/include/tess_<name>/<folder>/,
# so that "<folder>/x.h" resolves only for targets that link the library: an
# include of a layer above fails to compile. Sub-folders that are libraries of
# their own (their own CMakeLists.txt), tests and fuzzers are left out.
function(_tess_link_headers name out)
  set(root ${CMAKE_BINARY_DIR}/include/tess_${name})
  file(RELATIVE_PATH folder ${TESS_SRC_ROOT} ${CMAKE_CURRENT_SOURCE_DIR})
  file(GLOB_RECURSE headers CONFIGURE_DEPENDS RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
       ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.hpp)
  file(GLOB_RECURSE sublists RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
       ${CMAKE_CURRENT_SOURCE_DIR}/*/CMakeLists.txt)
  set(skip)
  foreach(l ${sublists})
    get_filename_component(d ${l} DIRECTORY)
    list(APPEND skip "${d}/")
  endforeach()
  file(REMOVE_RECURSE ${root})
  foreach(h ${headers})
    if(h MATCHES "^(tests|fuzz)/")
      continue()
    endif()
    set(inside_sub FALSE)
    foreach(d ${skip})
      string(FIND "${h}" "${d}" at)
      if(at EQUAL 0)
        set(inside_sub TRUE)
      endif()
    endforeach()
    if(inside_sub)
      continue()
    endif()
    get_filename_component(dir ${root}/${folder}/${h} DIRECTORY)
    file(MAKE_DIRECTORY ${dir})
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR}/${h} ${root}/${folder}/${h} SYMBOLIC)
  endforeach()
  set(${out} ${root} PARENT_SCOPE)
endfunction()

# tess_library(<name> [FOLDER_ROOT] [DEPS lib...]) : static library
# tess_<name> from this folder. Its public
# include path holds only its own headers ("<folder>/x.h"); its dependencies
# add theirs. FOLDER_ROOT libraries are included relative to their own folder
# ("bdCore/...").
function(tess_library name)
  cmake_parse_arguments(A "FOLDER_ROOT" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
  # Sources of sub-folders that are libraries of their own belong to those.
  file(GLOB_RECURSE sublists ${CMAKE_CURRENT_SOURCE_DIR}/*/CMakeLists.txt)
  foreach(l ${sublists})
    get_filename_component(d ${l} DIRECTORY)
    list(FILTER srcs EXCLUDE REGEX "^${d}/")
  endforeach()
  _tess_filter_platform(srcs ${srcs})
  if(NOT srcs)
    set(srcs ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  add_library(tess_${name} STATIC ${srcs})
  if(A_FOLDER_ROOT)
    target_include_directories(tess_${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  else()
    _tess_link_headers(${name} include_root)
    target_include_directories(tess_${name} PUBLIC ${include_root})
  endif()
  target_compile_options(tess_${name} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${TESS_WARNINGS}>)
  target_link_libraries(tess_${name} PUBLIC ${A_DEPS})
endfunction()

# tess_tests(<name> [LIBS lib...] [FIXTURES dir...]) : one test executable per
# tests/*_test.cpp; FIXTURES adds the test helpers of the layers below.
function(tess_tests name)
  cmake_parse_arguments(A "" "" "LIBS;FIXTURES" ${ARGN})
  if(TESS_FUZZ)
    return()
  endif()
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/*_test.cpp)
  if(TESS_WINDOWS)
    file(GLOB wtests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/win32/*_test.cpp)
    list(APPEND tests ${wtests})
  endif()
  foreach(t ${tests})
    get_filename_component(stem ${t} NAME_WE)
    set(exe ${name}_${stem})
    add_executable(${exe} ${t})
    target_link_libraries(${exe} PRIVATE tess_${name} ${A_LIBS} tess_testsupport gtest gmock gtest_main)
    if(TESS_WINDOWS)
      # Screenshots and pixel checks (src/gui/tests/support/screenshot.h).
      target_link_libraries(${exe} PRIVATE tess_wintestsupport)
    endif()
    target_compile_options(${exe} PRIVATE ${TESS_WARNINGS})
    target_compile_definitions(${exe} PRIVATE
      TESS_TEST_DATA="${CMAKE_CURRENT_SOURCE_DIR}/tests/data"
      TESS_BUILD_DIR="${CMAKE_BINARY_DIR}")
    target_include_directories(${exe} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tests ${A_FIXTURES})
    add_test(NAME ${exe} COMMAND ${exe} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    set_tests_properties(${exe} PROPERTIES TIMEOUT 300)
    if(t MATCHES "/tests/win32/")
      # Window tests share one desktop: a window of one test can cover or
      # deactivate another's, so they take turns.
      set_tests_properties(${exe} PROPERTIES RESOURCE_LOCK desktop)
    endif()
    set_property(GLOBAL APPEND PROPERTY TESS_TESTS_${name} ${exe})
  endforeach()
endfunction()

# tess_fuzzers(<name> [LIBS lib...]) : libFuzzer targets from fuzz/*_fuzz.cpp.
function(tess_fuzzers name)
  cmake_parse_arguments(A "" "" "LIBS" ${ARGN})
  if(NOT TESS_FUZZ)
    return()
  endif()
  file(GLOB fuzzers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/*_fuzz.cpp)
  foreach(f ${fuzzers})
    get_filename_component(stem ${f} NAME_WE)
    set(exe fuzz_${name}_${stem})
    add_executable(${exe} ${f})
    target_link_libraries(${exe} PRIVATE tess_${name} ${A_LIBS})
    target_link_options(${exe} PRIVATE -fsanitize=fuzzer)
    set_property(GLOBAL APPEND PROPERTY TESS_FUZZERS ${exe})
  endforeach()
endfunction()

# tess_tool(<name> sources... [LIBS lib...]) : a host tool that builds data.
# Natively it is built here (into tools/bin); in a cross build the native one
# from TESS_HOST_TOOLS_DIR is used. Either way TESS_TOOL_<name> names the
# command to run in custom commands, and TESS_TOOLDEP_<name> what to depend on.
function(tess_tool name)
  cmake_parse_arguments(A "" "" "LIBS" ${ARGN})
  if(TESS_WINDOWS)
    if(NOT TESS_HOST_TOOLS_DIR)
      message(FATAL_ERROR "cross build needs TESS_HOST_TOOLS_DIR (a native build's tools/bin)")
    endif()
    set(TESS_TOOL_${name} ${TESS_HOST_TOOLS_DIR}/${name} CACHE INTERNAL "")
    set(TESS_TOOLDEP_${name} ${TESS_HOST_TOOLS_DIR}/${name} CACHE INTERNAL "")
    return()
  endif()
  add_executable(${name} ${A_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${A_LIBS})
  target_include_directories(${name} PRIVATE ${TESS_SRC_ROOT})
  target_compile_options(${name} PRIVATE ${TESS_WARNINGS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools/bin)
  set_property(GLOBAL APPEND PROPERTY TESS_TOOLS ${name})
  set(TESS_TOOL_${name} $<TARGET_FILE:${name}> CACHE INTERNAL "")
  set(TESS_TOOLDEP_${name} ${name} CACHE INTERNAL "")
endfunction()
