# Third-party libraries: GoogleTest from Debian's sources (both builds), Lua 5.4,
# LibTomCrypt and LibTomMath (Debian's -dev packages natively, our mingw prefix
# when cross building), Google Benchmark natively.

if(NOT TESS_FUZZ)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()

function(_tess_import name header lib)
  find_path(${name}_INC ${header} PATH_SUFFIXES ${ARGN})
  find_library(${name}_LIB ${lib})
  if(NOT ${name}_INC OR NOT ${name}_LIB)
    message(FATAL_ERROR "${name} not found (header ${header}, library ${lib}); run scripts/setup.sh")
  endif()
  add_library(tess::${name} INTERFACE IMPORTED GLOBAL)
  target_include_directories(tess::${name} INTERFACE ${${name}_INC})
  target_link_libraries(tess::${name} INTERFACE ${${name}_LIB})
endfunction()

if(TESS_WINDOWS)
  _tess_import(lua lua.h lua)
  _tess_import(tommath tommath.h tommath)
  _tess_import(tomcrypt tomcrypt.h tomcrypt)
else()
  _tess_import(lua lua.h lua5.4 lua5.4)
  _tess_import(tommath tommath.h tommath)
  _tess_import(tomcrypt tomcrypt.h tomcrypt)
  if(TESS_BENCH AND NOT TESS_FUZZ)
    find_package(benchmark REQUIRED)
  endif()
endif()
# LibTomCrypt uses LibTomMath as its math provider.
target_link_libraries(tess::tomcrypt INTERFACE tess::tommath)
target_compile_definitions(tess::tomcrypt INTERFACE USE_LTM LTM_DESC)
