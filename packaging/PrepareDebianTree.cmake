# Run by cpack -G DEB on the staging tree, after the install and before the package is made:
# Debian wants manual pages and the changelog compressed (without time stamps, so that the
# package is the same from one build to the next) and a copyright file beside the changelog.
set(usr "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr")
if(NOT IS_DIRECTORY "${usr}")
  message(FATAL_ERROR "no usr/ in the staging tree ${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
endif()

file(GLOB_RECURSE pages "${usr}/share/man/*")
foreach(page IN LISTS pages)
  if(NOT page MATCHES "\\.gz$")
    execute_process(COMMAND gzip -9nf "${page}" COMMAND_ERROR_IS_FATAL ANY)
  endif()
endforeach()

set(doc "${usr}/share/doc/${CPACK_PACKAGE_NAME}")
file(MAKE_DIRECTORY "${doc}")
file(COPY "${CPACK_VOKARI_DEBIAN_DIR}/copyright" DESTINATION "${doc}"
     FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
execute_process(COMMAND gzip -9n -c "${CPACK_VOKARI_DEBIAN_DIR}/changelog"
                OUTPUT_FILE "${doc}/changelog.gz" COMMAND_ERROR_IS_FATAL ANY)
file(CHMOD "${doc}/changelog.gz" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
