# Any 3.x request is met: the Debian package in use is a 3.x release.
set(PACKAGE_VERSION 3)
if(NOT PACKAGE_FIND_VERSION OR PACKAGE_FIND_VERSION_MAJOR EQUAL 3)
  set(PACKAGE_VERSION_COMPATIBLE TRUE)
endif()
