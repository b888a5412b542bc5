# Release packages, made by `cmake --workflow --preset release` (which sets
# APPLIST_RELEASE): this native build also builds the static AArch64 programs
# in a build of its own, inside it, with the cross toolchain file; CPack then
# writes to dist/ in the source tree, and nowhere else there:
#   applist-check-<version>-android-arm64.tar.gz  the phone's programs and docs
#   applist-check_<version>_<arch>.deb             this machine's programs
#   SHA256SUMS                                     for both
option(APPLIST_RELEASE "Build the AArch64 programs too and package both for dist/" OFF)
if(NOT APPLIST_RELEASE)
  return()
endif()
set(APPLIST_MAINTAINER "the applist-check authors" CACHE STRING
  "Maintainer field of the .deb: whoever publishes it sets their own 'Name <address>'")

set(packaged_programs applist-check applist-check-for)
if(TARGET applist-lint)
  list(APPEND packaged_programs applist-lint)
endif()
set(packaged_pages)
foreach(program ${packaged_programs})
  if(EXISTS ${PROJECT_SOURCE_DIR}/man/${program}.1)
    list(APPEND packaged_pages ${PROJECT_SOURCE_DIR}/man/${program}.1)
  endif()
endforeach()
# The phone's half: Release, stripped, static (the toolchain file), no tests.
include(ExternalProject)
set(phone_build ${CMAKE_BINARY_DIR}/android-arm64)
ExternalProject_Add(android-arm64
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${phone_build}
  CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/aarch64-linux-gnu.cmake
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_EXE_LINKER_FLAGS_RELEASE=-s -DBUILD_TESTING=OFF
    -DAPPLIST_WERROR=${APPLIST_WERROR}
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON)

# The tarball, under one folder named as the file.
list(TRANSFORM packaged_programs PREPEND ${phone_build}/ OUTPUT_VARIABLE phone_programs)
install(PROGRAMS ${phone_programs} DESTINATION bin COMPONENT android-arm64)
install(FILES ${packaged_pages} DESTINATION man COMPONENT android-arm64)
install(FILES README.md README.zh-CN.md LICENSE DESTINATION . COMPONENT android-arm64)
install(FILES examples/applist.conf DESTINATION examples COMPONENT android-arm64)

# The .deb: manual pages and changelog compressed as Debian wants them.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(deb_docs ${CMAKE_BINARY_DIR}/deb-docs)
configure_file(cmake/changelog.in ${deb_docs}/changelog @ONLY)
set(compressed ${deb_docs}/changelog.gz)
foreach(page ${packaged_pages})
  get_filename_component(name ${page} NAME)
  list(APPEND compressed ${deb_docs}/${name}.gz)
  add_custom_command(OUTPUT ${deb_docs}/${name}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${page} ${deb_docs}/${name}
    COMMAND ${GZIP_PROGRAM} -9nf ${deb_docs}/${name}
    DEPENDS ${page})
endforeach()
add_custom_command(OUTPUT ${deb_docs}/changelog.gz
  COMMAND ${GZIP_PROGRAM} -9nkf ${deb_docs}/changelog DEPENDS ${deb_docs}/changelog)
add_custom_target(deb-docs ALL DEPENDS ${compressed})
list(FILTER compressed EXCLUDE REGEX "changelog")
install(TARGETS ${packaged_programs} RUNTIME DESTINATION bin COMPONENT deb)
install(FILES ${compressed} DESTINATION share/man/man1 COMPONENT deb)
install(FILES ${deb_docs}/changelog.gz DESTINATION share/doc/applist-check COMPONENT deb)
install(FILES LICENSE DESTINATION share/doc/applist-check RENAME copyright COMPONENT deb)

set(CPACK_PACKAGE_NAME applist-check)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "check rule files that pin Android apps to CPUs")
set(CPACK_PACKAGE_DESCRIPTION "applist-check reads a rule file that pins Android app packages, or
one named thread of a package, to lists of CPUs. It reports every faulty
line with its line number, prints a summary of the rules loaded and exits 0
only when every line was valid. applist-check-for runs the same check for a
device whose CPU list is given on the command line, so that a file can be
checked for a phone on a PC or in CI.")
if(TARGET applist-lint)
  string(APPEND CPACK_PACKAGE_DESCRIPTION "
applist-lint also warns of rules that pass but do not mean what they seem,
with file, line and column for editors and CI.")
endif()
set(CPACK_APPLIST_BINARY_DIR ${CMAKE_BINARY_DIR})
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_SOURCE_DIR}/dist)
set(CPACK_STRIP_FILES ON)
execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE arch OUTPUT_STRIP_TRAILING_WHITESPACE
  COMMAND_ERROR_IS_FATAL ANY)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${arch})
set(CPACK_DEBIAN_FILE_NAME applist-check_${PROJECT_VERSION}_${arch}.deb)
set(CPACK_APPLIST_PACKAGES applist-check-${PROJECT_VERSION}-android-arm64.tar.gz ${CPACK_DEBIAN_FILE_NAME})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${APPLIST_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Each generator packages one component, chosen in this file.
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/cpack_each.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/cpack_each.cmake)
include(CPack)
