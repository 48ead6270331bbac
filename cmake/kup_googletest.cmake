# GoogleTest for the Windows builds, from the sources Debian ships (there is no Windows package
# of it). Linked statically into each test program, so nothing of it needs installing.
if(NOT TARGET GTest::gtest)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()
