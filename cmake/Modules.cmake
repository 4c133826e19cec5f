# pyx_area_library(NAME DIRS DEPS...)
# A static library from every .cpp of the folders DIRS (a ;-list); an
# interface library while they hold no sources yet, so dependants link
# either way.
function(pyx_area_library name dirs)
  set(_srcs "")
  foreach(_d IN LISTS dirs)
    file(GLOB_RECURSE _found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${_d}/*.cpp)
    list(APPEND _srcs ${_found})
  endforeach()
  # Each platform builds its own implementations only.
  if(WIN32)
    list(FILTER _srcs EXCLUDE REGEX "(Posix|X11)\\.cpp$")
  else()
    list(FILTER _srcs EXCLUDE REGEX "Win32\\.cpp$")
  endif()
  if(_srcs)
    add_library(${name} STATIC ${_srcs})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARGN})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARGN})
  endif()
endfunction()

# pyx_test_suite(NAME DIR DEPS... [LABELS l1;l2] [EXCLUDE regex] [SERIAL file.cpp...])
# One GoogleTest executable from every .cpp of DIR (less the files whose
# path matches EXCLUDE), registered with CTest: each test on its own, or,
# when cross-built for Windows, the whole executable as one test that the
# cross-compiling emulator (Wine) runs.
# The SERIAL files of DIR become a second executable, NAME_serial, whose
# tests run while no other test runs: they drive the shared X server's
# keyboard, pointer and focus through XTest, which every window of a test
# running beside them would see.
function(pyx_test_suite name dir)
  cmake_parse_arguments(ARG "" "EXCLUDE" "DEPS;LABELS;SERIAL" ${ARGN})
  file(GLOB_RECURSE _srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
  if(ARG_EXCLUDE)
    list(FILTER _srcs EXCLUDE REGEX "${ARG_EXCLUDE}")
  endif()
  if(NOT _srcs)
    return()
  endif()
  set(_serial "")
  foreach(_file ${ARG_SERIAL})
    list(REMOVE_ITEM _srcs ${CMAKE_SOURCE_DIR}/${dir}/${_file})
    list(APPEND _serial ${CMAKE_SOURCE_DIR}/${dir}/${_file})
  endforeach()
  # One label per suite, its words joined by "-": ctest's -L and -LE take
  # regular expressions, and a list would be split into separate properties
  # by the discovery script.
  string(REPLACE ";" "-" _labels "${ARG_LABELS}")
  set(_props LABELS "${_labels}")
  # Runs of the real game share one X display and find their window by its
  # title, so they must never overlap.
  if("e2e" IN_LIST ARG_LABELS)
    list(APPEND _props RUN_SERIAL TRUE)
  endif()
  _pyx_test_executable(${name} "${_srcs}" "${ARG_DEPS}" "${_props}")
  if(_serial)
    _pyx_test_executable(${name}_serial "${_serial}" "${ARG_DEPS}" "${_props};RUN_SERIAL;TRUE")
  endif()
endfunction()

function(_pyx_test_executable name srcs deps props)
  add_executable(${name} ${srcs})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${deps} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    IRONMOAT_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    IRONMOAT_BINARY_DIR="${CMAKE_BINARY_DIR}")
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES LABELS windows TIMEOUT 900)
    return()
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${props})
endfunction()
