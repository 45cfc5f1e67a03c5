# Packaging: the pkg-config file beside the CMake package, and the Debian package of everything that
# `cmake --install` installs (RawBench, the geodex command, the library, its headers and both package files).

# --- pkg-config ---------------------------------------------------------------------------------------------
# The prefix is found from the .pc file's own place, so the file stays right wherever the tree is unpacked.
set(GEODEX_PC_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}" OR IS_ABSOLUTE "${CMAKE_INSTALL_INCLUDEDIR}")
  message(FATAL_ERROR "geodex.pc needs CMAKE_INSTALL_LIBDIR and CMAKE_INSTALL_INCLUDEDIR relative to the prefix")
endif()
string(REGEX REPLACE "[^/]+" ".." GEODEX_PC_TO_PREFIX "${GEODEX_PC_DIR}")  # lib/pkgconfig -> ../..
set(GEODEX_PC_LIBDIR "\${prefix}/${CMAKE_INSTALL_LIBDIR}")
set(GEODEX_PC_INCLUDEDIR "\${prefix}/${CMAKE_INSTALL_INCLUDEDIR}")
configure_file(${PROJECT_SOURCE_DIR}/cmake/geodex.pc.in ${PROJECT_BINARY_DIR}/geodex.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/geodex.pc DESTINATION ${GEODEX_PC_DIR})

# --- Debian package (cpack -G DEB) --------------------------------------------------------------------------
set(GEODEX_PACKAGE_MAINTAINER "Orvale Geodex maintainers <geodex@orvale.example>"
    CACHE STRING "Maintainer field of the Debian package")
set(CPACK_PACKAGE_NAME geodex)
set(CPACK_PACKAGE_VENDOR Orvale)
set(CPACK_PACKAGE_CONTACT "${GEODEX_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "GNSS survey editor RawBench and the Geodex geodetic library")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # geodex_VERSION_ARCH.deb
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${GEODEX_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The summary above is the first line of the package description; this is the rest.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "RawBench opens a field controller's raw survey file, shows its job, coordinate
system, base stations and rover points, lets the surveyor correct antenna set-ups,
names and base coordinates, recalculates, exports CSV and saves a corrected file.

Geodex is a C++ library of geodetic computations: geocentric conversions, datum
shifts, map projections, plane and height adjustments, geoid grids and CRS
catalogues. The package holds the library, its headers, its CMake and pkg-config
files and the geodex command for batch conversion of point lists.")
# Library dependencies come from dpkg-shlibdeps (dpkg-dev); the Qt platform plugins are loaded at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
get_target_property(GEODEX_LIBRARY_DIR Geodex BINARY_DIR)  # where the package's own libGeodex is found
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${GEODEX_LIBRARY_DIR})
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(GEODEX_PACKAGE_DEPENDS)
if(GEODEX_BUILD_APP)
  list(APPEND GEODEX_PACKAGE_DEPENDS qt6-qpa-plugins)
endif()
# The Python module is built for one interpreter version and imports numpy.
if(DEFINED GEODEX_PYTHON_VERSION_MINOR)
  set(GEODEX_PY_MAJOR ${GEODEX_PYTHON_VERSION_MAJOR})
  math(EXPR GEODEX_PY_NEXT_MINOR "${GEODEX_PYTHON_VERSION_MINOR} + 1")
  list(APPEND GEODEX_PACKAGE_DEPENDS "python3 (>= ${GEODEX_PY_MAJOR}.${GEODEX_PYTHON_VERSION_MINOR}~)"
       "python3 (<< ${GEODEX_PY_MAJOR}.${GEODEX_PY_NEXT_MINOR})" python3-numpy)
endif()
list(JOIN GEODEX_PACKAGE_DEPENDS ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
include(CPack)
