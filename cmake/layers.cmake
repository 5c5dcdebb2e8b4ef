# One static library per top-level folder, linked only to the layers below
# it, and a build step that fails when a file includes from a folder its
# layer may not use.

set(VM_LAYER_RULES "")
set(VM_LAYER_FILES "")

# vm_layer(FOLDER [LOWER...]): library vm_FOLDER from FOLDER/*.cpp, linked to
# vm_LOWER. Its files may include from FOLDER, the LOWER layers and
# everything those may include.
function(vm_layer folder)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
  list(FILTER sources EXCLUDE REGEX ".*/(main|cli_main)\\.cpp$")
  add_library(vm_${folder} STATIC ${sources})
  target_include_directories(vm_${folder} PUBLIC ${CMAKE_SOURCE_DIR})
  set(allowed ${folder})
  foreach(lower ${ARGN})
    target_link_libraries(vm_${folder} PUBLIC vm_${lower})
    list(APPEND allowed ${VM_LAYER_ALLOWS_${lower}})
  endforeach()
  list(REMOVE_DUPLICATES allowed)
  set(VM_LAYER_ALLOWS_${folder} ${allowed} PARENT_SCOPE)
  list(JOIN allowed " " line)
  set(VM_LAYER_RULES "${VM_LAYER_RULES}${folder} ${line}\n" PARENT_SCOPE)
  file(GLOB_RECURSE files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp
       ${CMAKE_SOURCE_DIR}/${folder}/*.h)
  set(VM_LAYER_FILES ${VM_LAYER_FILES} ${files} PARENT_SCOPE)
endfunction()

# Runs the include check whenever a file of a layer changes; every layer
# library waits for it.
function(vm_check_layers)
  set(rules ${CMAKE_BINARY_DIR}/layers.txt)
  file(WRITE ${rules}.new "${VM_LAYER_RULES}")
  file(COPY_FILE ${rules}.new ${rules} ONLY_IF_DIFFERENT)
  set(stamp ${CMAKE_BINARY_DIR}/layers.checked)
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DRULES=${rules}
            -P ${CMAKE_SOURCE_DIR}/cmake/check_layers.cmake
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${VM_LAYER_FILES} ${rules} ${CMAKE_SOURCE_DIR}/cmake/check_layers.cmake
    COMMENT "Checking the include directions of the layers")
  add_custom_target(vm_layers ALL DEPENDS ${stamp})
  string(REGEX MATCHALL "(^|\n)[a-z]+" folders "${VM_LAYER_RULES}")
  foreach(folder ${folders})
    string(STRIP "${folder}" folder)
    add_dependencies(vm_${folder} vm_layers)
  endforeach()
endfunction()
