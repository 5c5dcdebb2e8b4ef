# Embeds every file under res/ into the executable as a byte array, so the
# program never looks for its pictures on disk.
file(GLOB VM_RESOURCE_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/*.bmp)
set(VM_RESOURCE_CPP ${CMAKE_BINARY_DIR}/generated/embedded_resources.cpp)
add_custom_command(
  OUTPUT ${VM_RESOURCE_CPP}
  COMMAND ${CMAKE_COMMAND} -DOUT=${VM_RESOURCE_CPP} -DRES_DIR=${CMAKE_SOURCE_DIR}/res
          -P ${CMAKE_SOURCE_DIR}/cmake/embed.cmake
  DEPENDS ${VM_RESOURCE_FILES} ${CMAKE_SOURCE_DIR}/cmake/embed.cmake
  COMMENT "Embedding resources")
set(VM_RESOURCE_SOURCES ${VM_RESOURCE_CPP})
