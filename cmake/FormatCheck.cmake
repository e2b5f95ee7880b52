# The test format_check: every .cpp and .h of the project as .clang-format lays it out.
#   cmake -DCLANG_FORMAT=clang-format -DSOURCE_DIR=... -P FormatCheck.cmake
# The files are found when the test runs, so a file added since configuring is checked too.
# Top-level folders that hold a CMake cache are build folders (build/, build-sanitize/, ...) and
# hidden folders are not the project's code: neither is looked at.
if(NOT CLANG_FORMAT OR NOT SOURCE_DIR)
  message(FATAL_ERROR "usage: cmake -DCLANG_FORMAT=PATH -DSOURCE_DIR=PATH -P FormatCheck.cmake")
endif()

file(GLOB top RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*)
set(files)
foreach(entry IN LISTS top)
  set(path ${SOURCE_DIR}/${entry})
  if(entry MATCHES "^\\.")
    continue()
  endif()
  if(IS_DIRECTORY ${path})
    if(EXISTS ${path}/CMakeCache.txt)
      continue()
    endif()
    file(GLOB_RECURSE found ${path}/*.cpp ${path}/*.h)
    list(APPEND files ${found})
  elseif(entry MATCHES "\\.(cpp|h)$")
    list(APPEND files ${path})
  endif()
endforeach()
list(SORT files)
list(LENGTH files count)
if(count EQUAL 0)
  message(FATAL_ERROR "no .cpp or .h file found under ${SOURCE_DIR}")
endif()

execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror --style=file ${files}
                WORKING_DIRECTORY ${SOURCE_DIR}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "files above differ from .clang-format; clang-format -i FILE lays them out")
endif()
message(STATUS "${count} files laid out as .clang-format says")
