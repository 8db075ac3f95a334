# tessalune_link_warnings(DIR): links the warnings target (tessalune_warnings) into every
# target that compiles code, in DIR and the folders below it, so that a target added later
# gets the warnings without a line of its own.
function(tessalune_link_warnings dir)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY|EXECUTABLE)$")
      target_link_libraries(${target} PRIVATE tessalune_warnings)
    endif()
  endforeach()
  get_property(folders DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(folder IN LISTS folders)
    tessalune_link_warnings(${folder})
  endforeach()
endfunction()
