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

# The platform layers: a host executable holds them (pigmentor_export_platform), plug-ins never.
set(PIGMENTOR_PLATFORM_LIBS CoreFoundation CarbonCore PrintCore HIToolbox)

# pigmentor_add_plugin_executable(TARGET BUNDLE_DIR dir NAME name SOURCES a.cpp LIBS lib1 lib2)
# The executable of a plug-in bundle, BUNDLE_DIR/Contents/Linux/NAME.so. It links the static
# libraries of the tree named in LIBS (in link order) and none of the platform layers, whose
# calls it binds to the host that loads it; its own symbols bind to itself (-Bsymbolic), so that
# its statics stay its own even in a host that links the same libraries.
function(pigmentor_add_plugin_executable target)
  cmake_parse_arguments(ARG "" "BUNDLE_DIR;NAME" "SOURCES;LIBS" ${ARGN})
  add_library(${target} MODULE ${ARG_SOURCES})
  set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME "${ARG_NAME}"
    LIBRARY_OUTPUT_DIRECTORY "${ARG_BUNDLE_DIR}/Contents/Linux")
  foreach(lib IN LISTS ARG_LIBS PIGMENTOR_PLATFORM_LIBS)
    target_include_directories(${target} PRIVATE
      $<TARGET_PROPERTY:${lib},INTERFACE_INCLUDE_DIRECTORIES>)
    target_compile_definitions(${target} PRIVATE
      $<TARGET_PROPERTY:${lib},INTERFACE_COMPILE_DEFINITIONS>)
  endforeach()
  foreach(lib IN LISTS ARG_LIBS)
    target_link_libraries(${target} PRIVATE $<TARGET_FILE:${lib}>)
    add_dependencies(${target} ${lib})
  endforeach()
  # Only what the plug-in's own sources export is visible: the libraries stay private to it.
  target_link_options(${target} PRIVATE "LINKER:-Bsymbolic" "LINKER:--exclude-libs,ALL")
endfunction()

# pigmentor_add_bundle_data(TARGET BUNDLE_DIR dir SOURCE_DIR dir FILES Info.plist Resources/...)
# A target that copies the bundle's data files, named relative to SOURCE_DIR, to the same
# places under BUNDLE_DIR/Contents/, again whenever one changes.
function(pigmentor_add_bundle_data target)
  cmake_parse_arguments(ARG "" "BUNDLE_DIR;SOURCE_DIR" "FILES" ${ARGN})
  set(outputs)
  foreach(f IN LISTS ARG_FILES)
    set(out "${ARG_BUNDLE_DIR}/Contents/${f}")
    add_custom_command(OUTPUT "${out}"
      COMMAND ${CMAKE_COMMAND} -E copy "${ARG_SOURCE_DIR}/${f}" "${out}"
      DEPENDS "${ARG_SOURCE_DIR}/${f}" VERBATIM)
    list(APPEND outputs "${out}")
  endforeach()
  add_custom_target(${target} ALL DEPENDS ${outputs})
endfunction()
