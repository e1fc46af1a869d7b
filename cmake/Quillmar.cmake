# Helpers that keep each folder's CMakeLists.txt to a few lines: a folder is
# one library target whose sources are the folder's own files.

# quillmar_library(<target> [PUBLIC <targets>...] [PRIVATE <targets>...])
# PUBLIC: what the folder's headers include; PRIVATE: what only its sources use.
function(quillmar_library target)
  cmake_parse_arguments(ARG "" "" "PUBLIC;PRIVATE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h
       ${CMAKE_CURRENT_SOURCE_DIR}/*.ui ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${target} PUBLIC ${ARG_PUBLIC} PRIVATE ${ARG_PRIVATE})
endfunction()

# quillmar_test(<name> [LINKS <targets>...] [MAIN widgets] [PLATFORM <qpa>]
# [SOURCES <files>...]): every *_test.cpp of the folder and the SOURCES in one
# binary, run by ctest with the offscreen platform (or PLATFORM, such as the
# offscreen one with a screen configuration) and sanitizer options. MAIN
# widgets gives the binary a QApplication instead of a QGuiApplication.
function(quillmar_test name)
  cmake_parse_arguments(ARG "" "MAIN;PLATFORM" "LINKS;SOURCES" ${ARGN})
  if(NOT ARG_PLATFORM)
    set(ARG_PLATFORM offscreen)
  endif()
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_executable(${name} ${sources} ${ARG_SOURCES})
  if(ARG_MAIN STREQUAL "widgets")
    set(support quillmar_test_support_widgets)
  else()
    set(support quillmar_test_support)
  endif()
  target_link_libraries(${name} PRIVATE ${ARG_LINKS} ${support} GTest::gtest GTest::gmock)
  target_compile_definitions(${name} PRIVATE
    QUILLMAR_FIXTURES="${PROJECT_SOURCE_DIR}/tests/fixtures")
  quillmar_discover_tests(${name} ${ARG_PLATFORM})
endfunction()

# quillmar_test_again(<name> PREFIX <prefix> PLATFORM <qpa> FILTER <filter>):
# the tests of the binary <name> that match the GoogleTest filter run once
# more on another platform, named <prefix>.<suite>.<test>.
function(quillmar_test_again name)
  cmake_parse_arguments(ARG "" "PREFIX;PLATFORM;FILTER" "" ${ARGN})
  quillmar_discover_tests(${name} ${ARG_PLATFORM}
    TEST_PREFIX "${ARG_PREFIX}." TEST_LIST ${name}_${ARG_PREFIX} TEST_FILTER "${ARG_FILTER}")
endfunction()

function(quillmar_discover_tests name platform)
  gtest_discover_tests(${name} ${ARGN}
    DISCOVERY_MODE PRE_TEST
    # Bounds for a hang only: on a saturated machine a sanitized binary
    # takes many times its usual time.
    DISCOVERY_TIMEOUT 300
    PROPERTIES
      TIMEOUT 600
      ENVIRONMENT "QT_QPA_PLATFORM=${platform};LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1;ASAN_OPTIONS=detect_leaks=1")
endfunction()

# quillmar_launcher(NAME TARGET): a small program NAME that starts the program
# TARGET, built beside it, with the allocator settings of
# platform/LaunchEnvironment.h. It links nothing but the C library.
function(quillmar_launcher name target)
  add_executable(${name} ${PROJECT_SOURCE_DIR}/src/app/launcher/Launcher.cpp)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src)
  target_compile_definitions(${name} PRIVATE QUILLMAR_LAUNCH_TARGET="${target}")
  set_target_properties(${name} PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
  add_dependencies(${name} ${target})
endfunction()
