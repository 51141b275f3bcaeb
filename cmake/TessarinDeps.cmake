# Third-party libraries: GoogleTest from Debian's sources (both builds), Lua 5.4
# (Debian's -dev package natively, our mingw prefix when cross building),
# LibTomCrypt and LibTomMath (built by scripts/setup.sh from Debian's sources
# into build/deps/native and build/deps/mingw, allocating through the
# networking SDK's hooks), Google Benchmark (Debian's natively, our mingw prefix
# when cross building with TESS_BENCH on).

if(NOT TESS_FUZZ)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()

function(_tess_import name header lib)
  cmake_parse_arguments(A "" "PREFIX" "" ${ARGN})
  if(A_PREFIX)
    find_path(${name}_INC ${header} PATHS ${A_PREFIX}/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
    find_library(${name}_LIB ${lib} PATHS ${A_PREFIX}/lib NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  else()
    find_path(${name}_INC ${header} PATH_SUFFIXES ${A_UNPARSED_ARGUMENTS})
    find_library(${name}_LIB ${lib})
  endif()
  if(NOT ${name}_INC OR NOT ${name}_LIB)
    message(FATAL_ERROR "${name} not found (header ${header}, library ${lib}); run scripts/setup.sh")
  endif()
  # An imported library (not an interface) takes part in CMake's handling of
  # cycles between static libraries.
  add_library(tess::${name} UNKNOWN IMPORTED GLOBAL)
  set_target_properties(tess::${name} PROPERTIES IMPORTED_LOCATION ${${name}_LIB})
  target_include_directories(tess::${name} INTERFACE ${${name}_INC})
endfunction()

if(TESS_WINDOWS)
  _tess_import(lua lua.h lua)
  _tess_import(tommath tommath.h tommath PREFIX ${TESS_MINGW_PREFIX})
  _tess_import(tomcrypt tomcrypt.h tomcrypt PREFIX ${TESS_MINGW_PREFIX})
  if(TESS_BENCH AND NOT TESS_FUZZ)
    find_package(benchmark REQUIRED PATHS ${TESS_MINGW_PREFIX} NO_DEFAULT_PATH)
  endif()
else()
  _tess_import(lua lua.h lua5.4 lua5.4)
  _tess_import(tommath tommath.h tommath PREFIX ${TESS_DEPS_DIR}/native)
  _tess_import(tomcrypt tomcrypt.h tomcrypt PREFIX ${TESS_DEPS_DIR}/native)
  if(TESS_BENCH AND NOT TESS_FUZZ)
    find_package(benchmark REQUIRED)
  endif()
endif()
# LibTomCrypt uses LibTomMath as its math provider; both allocate through the
# networking SDK's hooks, which the SDK library defines (a cycle of static
# libraries, which CMake repeats on the link line).
target_link_libraries(tess::tomcrypt INTERFACE tess::tommath tess_viraredo)
target_link_libraries(tess::tommath INTERFACE tess_viraredo)
target_compile_definitions(tess::tomcrypt INTERFACE USE_LTM LTM_DESC)
