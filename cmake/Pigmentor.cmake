# Small helpers shared by the CMakeLists of the tree.

# pigmentor_add_test(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2)
# One GoogleTest executable; every TEST in it becomes a CTest test.
function(pigmentor_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  find_package(GTest REQUIRED)
  include(GoogleTest)
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}/tests/support")
  target_compile_definitions(${name} PRIVATE
    PIGMENTOR_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    PIGMENTOR_FIXTURES_DIR="${PROJECT_SOURCE_DIR}/tests/fixtures"
    PIGMENTOR_BUNDLE_DIR="${PIGMENTOR_BUNDLE_DIR}")
  add_dependencies(${name} pigmentor_bundle)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()

# pigmentor_export_platform(TARGET lib1 lib2 ...)
# Makes the executable TARGET a host of plug-ins: the platform libraries named are linked whole
# and exported, so that a plug-in's executable, which links none of them, binds its platform
# calls to the host's one copy (one CF type registry, one ticket table, one Gestalt registry).
function(pigmentor_export_platform target)
  set_target_properties(${target} PROPERTIES ENABLE_EXPORTS ON)
  foreach(lib IN LISTS ARGN)
    target_link_libraries(${target} PRIVATE ${lib})
    target_link_options(${target} PRIVATE
      "SHELL:-Wl,--whole-archive $<TARGET_FILE:${lib}> -Wl,--no-whole-archive")
  endforeach()
endfunction()
