# Read by CPack twice for each generator (cmake/packaging.cmake names it):
# before it packages, to choose that generator's component and file name, and
# after (CPACK_PACKAGE_FILES set), to write SHA256SUMS for the packages of
# this version.
if(NOT DEFINED CPACK_PACKAGE_FILES)
  if(CPACK_GENERATOR STREQUAL "TGZ")
    set(component android-arm64)
    list(GET CPACK_APPLIST_PACKAGES 0 tarball)
    string(REPLACE ".tar.gz" "" CPACK_PACKAGE_FILE_NAME ${tarball})
  else()
    set(component deb)
  endif()
  # Build directory, project, component, subdirectory.
  set(CPACK_INSTALL_CMAKE_PROJECTS "${CPACK_APPLIST_BINARY_DIR};${CPACK_PACKAGE_NAME};${component};/")
  return()
endif()

# This generator's files are still in CPack's own directory; an earlier one's
# are in dist/ already.
set(sums "")
foreach(name IN LISTS CPACK_APPLIST_PACKAGES)
  set(path ${CPACK_OUTPUT_FILE_PREFIX}/${name})
  foreach(package IN LISTS CPACK_PACKAGE_FILES)
    get_filename_component(package_name ${package} NAME)
    if(package_name STREQUAL name)
      set(path ${package})
    endif()
  endforeach()
  if(EXISTS ${path})
    file(SHA256 ${path} sum)
    string(APPEND sums "${sum}  ${name}\n")
  endif()
endforeach()
file(WRITE ${CPACK_OUTPUT_FILE_PREFIX}/SHA256SUMS "${sums}")
