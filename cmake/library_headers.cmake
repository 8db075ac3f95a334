# tessalune_library_headers(TARGET FOLDER [HEADERS header...]): TARGET exposes the headers of
# src/FOLDER, and no other folder of src/, to what links it, under the paths the sources
# include them by ("FOLDER/name.h"). Each library gets an include folder of its own in the
# build tree holding one link, FOLDER -> src/FOLDER, or with HEADERS one link per header
# named, so a library that does not link another cannot include its headers.
function(tessalune_library_headers target folder)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" HEADERS)
  set(root ${PROJECT_BINARY_DIR}/include/${target})
  if(arg_HEADERS)
    file(MAKE_DIRECTORY ${root}/${folder})
    file(GLOB links LIST_DIRECTORIES false ${root}/${folder}/*)  # a header no longer named
    if(links)
      file(REMOVE ${links})
    endif()
    foreach(header IN LISTS arg_HEADERS)
      file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder}/${header} ${root}/${folder}/${header} SYMBOLIC)
    endforeach()
  else()
    get_filename_component(parent ${root}/${folder} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${root}/${folder} SYMBOLIC)
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL INTERFACE_LIBRARY)
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()
