# Finds libpurple (Pidgin's and Finch's library) through pkg-config, for find_package(Purple):
# sets Purple_FOUND and Purple_VERSION, the imported target PkgConfig::PURPLE, and
# Purple_PLUGIN_DIR, the folder of the clients' plug-ins relative to libpurple's prefix.
find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
  pkg_check_modules(PURPLE QUIET IMPORTED_TARGET purple)
endif()
if(PURPLE_FOUND)
  set(Purple_VERSION ${PURPLE_VERSION})
  pkg_get_variable(purple_prefix purple prefix)
  pkg_get_variable(purple_plugin_dir purple plugindir)
  file(RELATIVE_PATH Purple_PLUGIN_DIR ${purple_prefix} ${purple_plugin_dir})
endif()
include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(Purple REQUIRED_VARS Purple_PLUGIN_DIR VERSION_VAR Purple_VERSION)
