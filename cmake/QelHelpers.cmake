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

# One test executable per folder under tests/ that holds .cpp files (with its subfolders).
function(qel_add_test_folder dir)
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${dir}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  string(REPLACE "/" "_" name "test_${dir}")
  qel_test_library(${dir} lib)
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE ${lib} qel_testsupport GTest::gtest GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE QEL_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                                             QEL_BINARY_DIR="${CMAKE_BINARY_DIR}")
  # The application tests start Xvfb servers and real windows: one at a time, so that two
  # servers never race for a display number and the 2-core machine keeps their timing.
  set(lock "")
  if(name STREQUAL "test_apps")
    set(lock RESOURCE_LOCK qel_x_display)
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "QEL_BACKEND=headless" ${lock})
endfunction()

# A static library of the given sources on top of `dep`; an interface library standing for `dep`
# while the folder has no sources yet.
function(qel_add_layer name sources dep)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_link_libraries(${name} PUBLIC ${dep})
  else()
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${dep})
  endif()
endfunction()

# Which library a test folder links: the lowest layer that holds what it tests.
function(qel_test_library dir out)
  if(dir MATCHES "^platform/rtl")
    set(lib qel_rtl)
  elseif(dir MATCHES "^platform/graphics")
    set(lib qel_graphics)
  elseif(dir MATCHES "^platform/(controls|backends|forms)")
    set(lib qel_controls)
  elseif(dir MATCHES "^platform/(widgets|grids)")
    set(lib qel_widgets)
  elseif(dir MATCHES "^frame")
    set(lib qel_frame)
  else()
    set(lib qel)
  endif()
  set(${out} ${lib} PARENT_SCOPE)
endfunction()
