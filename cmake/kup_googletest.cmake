# GoogleTest for the Windows builds: from the sources Debian ships when cross-building (there is
# no Windows package of it), linked statically into each test program; on Windows itself the
# installed one (vcpkg).
if(NOT TARGET GTest::gtest)
  if(EXISTS /usr/src/googletest/CMakeLists.txt)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  else()
    find_package(GTest REQUIRED)
  endif()
endif()
