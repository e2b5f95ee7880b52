# One library per source folder: every .cpp of the folder (non-recursive) goes in,
# so adding a file needs no change here. A folder without sources yet gives an
# interface library, so that dependants link all the same.
function(kavelon_library name dir)
  cmake_parse_arguments(ARG "" "" "PUBLIC;EXCLUDE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h ${dir}/*.ui ${dir}/*.qrc)
  foreach(x IN LISTS ARG_EXCLUDE)
    list(REMOVE_ITEM sources ${dir}/${x})
  endforeach()
  set(cpp ${sources})
  list(FILTER cpp INCLUDE REGEX "\\.cpp$")
  if(cpp)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_PUBLIC})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_PUBLIC})
  endif()
endfunction()

# One GoogleTest executable per test folder (its subfolders included), with the shared test main.
function(kavelon_test name dir main)
  cmake_parse_arguments(ARG "" "LABELS" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h ${dir}/*/*.cpp ${dir}/*/*.h)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources} ${main})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} kavelon_testsupport GTest::gtest GTest::gmock)
  target_compile_definitions(${name} PRIVATE
    KAVELON_BUILD_DIR="${PROJECT_BINARY_DIR}"
    KAVELON_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  set(labels)
  if(ARG_LABELS)
    set(labels LABELS ${ARG_LABELS})
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=ru_RU.UTF-8;LANG=ru_RU.UTF-8" ${labels}
    DISCOVERY_TIMEOUT 60)
endfunction()
