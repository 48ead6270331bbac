# GoogleTest for the Windows builds: from the sources Debian ships when cross-building (there is
# no Windows package of it), linked statically into each test program; on Windows itself the
# installed one (vcpkg).
if(NOT TARGET GTest::gtest)
  find_path(KUP_GTEST_SOURCE CMakeLists.txt PATHS /usr/src/googletest NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  if(KUP_GTEST_SOURCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(${KUP_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  else()
    find_package(GTest REQUIRED)
  endif()
endif()
