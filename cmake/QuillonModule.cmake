# quillon_module(NAME SOURCES file... DEPENDS target...)
#
# One library per module. A module whose sources are not written yet is an
# interface library, so that the modules above it can already name it.
function(quillon_module name)
  cmake_parse_arguments(M "" "" "SOURCES;DEPENDS" ${ARGN})
  set(target quillon_${name})
  if(M_SOURCES)
    add_library(${target} STATIC ${M_SOURCES})
    target_include_directories(${target} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/inc
                                         PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/src)
    target_link_libraries(${target} PUBLIC ${M_DEPENDS})
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${CMAKE_CURRENT_SOURCE_DIR}/inc)
    target_link_libraries(${target} INTERFACE ${M_DEPENDS})
  endif()
endfunction()

# quillon_tests(NAME SOURCES file... DEPENDS target... [DEFINITIONS def...] [LABELS label...])
#
# One GoogleTest executable per module, registered with CTest test by test.
function(quillon_tests name)
  if(NOT QUILLON_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;DEPENDS;DEFINITIONS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/src
                                             ${CMAKE_CURRENT_SOURCE_DIR}/test)
  target_link_libraries(${name} PRIVATE ${T_DEPENDS} GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE ${T_DEFINITIONS})
  if(T_LABELS)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS "${T_LABELS}")
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
