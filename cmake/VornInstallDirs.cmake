# Where an install puts things. The programs and the regular-expression module they load from
# beside themselves share one private folder, linked from bin/; the shipped files go to share/.
include(GNUInstallDirs)
set(VORN_PROGRAM_DIR ${CMAKE_INSTALL_LIBEXECDIR}/VornEditor)
set(VORN_DATA_DIR ${CMAKE_INSTALL_DATADIR}/VornEditor)
# The programs find their data relative to themselves, so any prefix (and a package staged
# under another root) works without rebuilding.
file(RELATIVE_PATH VORN_DATA_FROM_PROGRAMS /prefix/${VORN_PROGRAM_DIR} /prefix/${VORN_DATA_DIR})
set(VORN_DATA_FROM_PROGRAMS "${VORN_DATA_FROM_PROGRAMS}/")
