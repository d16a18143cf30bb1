# Source lists are globbed so that adding a file needs no edit here; CONFIGURE_DEPENDS
# re-runs the glob on every build.
function(qel_glob_sources out)
  set(files)
  foreach(dir ${ARGN})
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
    list(APPEND files ${found})
  endforeach()
  set(${out} ${files} PARENT_SCOPE)
endfunction()

# One test executable per folder under tests/ that holds .cpp files.
function(qel_add_test_folder dir)
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${dir}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  string(REPLACE "/" "_" name "test_${dir}")
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE qel qel_testsupport GTest::gtest GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE QEL_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                                             QEL_BINARY_DIR="${CMAKE_BINARY_DIR}")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "QEL_BACKEND=headless")
endfunction()
