# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 compilers.
# The posix thread model is used so that std::thread, std::mutex and Qt's
# threads all sit on one runtime (libwinpthread), as Qt's own MinGW builds do.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLE}-windres)

# Headers, libraries and CMake packages come from the MinGW root only, so
# nothing of the Linux host (its Qt, its zlib, its X11) leaks into the build;
# programs (moc, rcc, uic, perl) are the host's own.
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# A Windows Qt named in CMAKE_PREFIX_PATH lies outside the MinGW root; making
# each such prefix a root too lets find_package(Qt6) reach it while the
# search stays away from the host's own Qt.
foreach(prefix IN LISTS CMAKE_PREFIX_PATH)
  list(APPEND CMAKE_FIND_ROOT_PATH "${prefix}")
endforeach()

# A cross-built Qt runs moc, rcc and uic from a Qt built for the build
# machine: Debian's qt6-base-dev-tools, whose CMake packages sit in the
# multiarch folder rather than in <host>/lib/cmake where Qt would look first.
if(NOT DEFINED QT_HOST_PATH)
  set(QT_HOST_PATH /usr CACHE PATH "Qt for the build machine")
endif()
if(NOT DEFINED QT_HOST_PATH_CMAKE_DIR)
  file(GLOB _host_qt_info "${QT_HOST_PATH}/lib/*/cmake/Qt6HostInfo")
  if(_host_qt_info)
    list(GET _host_qt_info 0 _host_qt_info)
    get_filename_component(_host_cmake_dir "${_host_qt_info}" DIRECTORY)
    set(QT_HOST_PATH_CMAKE_DIR "${_host_cmake_dir}" CACHE PATH "CMake packages of the host Qt")
  endif()
endif()
