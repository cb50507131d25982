# Builds build/adatok.vbf, the archive the game reads all its assets from. Every member is
# generated at build time; KX_ARCHIVE_MEMBERS lists their files, packed under their base names.

set(KX_ARCHIVE_FILE ${CMAKE_BINARY_DIR}/adatok.vbf)

# The board definition, derived from the squares' side vectors.
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/negyzetek.dat
  COMMAND koravex-squares ${CMAKE_BINARY_DIR}/negyzetek.dat
  DEPENDS koravex-squares
  COMMENT "Writing the board definition")
set(KX_ARCHIVE_MEMBERS ${CMAKE_BINARY_DIR}/negyzetek.dat)

# ---- Placeholder members -------------------------------------------------------------------
# Stand-ins for the models and pictures until they are generated for real. To replace one,
# drop its name from KX_PLACEHOLDER_NAMES and append the generated file to KX_ARCHIVE_MEMBERS.
set(KX_PLACEHOLDER_NAMES
  tabla.3ds babu.3ds
  wood.bmp wood2.bmp help.bmp backg.bmp menujel.bmp menu.bmp pc.bmp ember.bmp iq.bmp jelol.bmp
  ures.bmp)
set(KX_PLACEHOLDER_DIR ${CMAKE_BINARY_DIR}/placeholders)
list(TRANSFORM KX_PLACEHOLDER_NAMES PREPEND ${KX_PLACEHOLDER_DIR}/ OUTPUT_VARIABLE KX_PLACEHOLDER_FILES)
if(KX_PLACEHOLDER_NAMES)
  add_custom_command(
    OUTPUT ${KX_PLACEHOLDER_FILES}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${KX_PLACEHOLDER_DIR}
    COMMAND koravex-placeholders ${KX_PLACEHOLDER_DIR} ${KX_PLACEHOLDER_NAMES}
    DEPENDS koravex-placeholders
    COMMENT "Writing placeholder models and pictures")
  list(APPEND KX_ARCHIVE_MEMBERS ${KX_PLACEHOLDER_FILES})
endif()
# ---- End of placeholder members -------------------------------------------------------------

add_custom_command(
  OUTPUT ${KX_ARCHIVE_FILE}
  COMMAND koravex-archive pack ${KX_ARCHIVE_FILE} ${KX_ARCHIVE_MEMBERS}
  DEPENDS koravex-archive ${KX_ARCHIVE_MEMBERS}
  COMMENT "Packing adatok.vbf")
add_custom_target(koravex_archive ALL DEPENDS ${KX_ARCHIVE_FILE})
add_dependencies(koravex koravex_archive)
