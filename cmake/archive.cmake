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

# The models and pictures, drawn by koravex-assetgen (tools/assetgen) in the order the game
# loads them.
list(APPEND KX_ARCHIVE_MEMBERS ${KX_ASSET_FILES})

add_custom_command(
  OUTPUT ${KX_ARCHIVE_FILE}
  COMMAND koravex-archive pack ${KX_ARCHIVE_FILE} ${KX_ARCHIVE_MEMBERS}
  DEPENDS koravex-archive ${KX_ARCHIVE_MEMBERS}
  COMMENT "Packing adatok.vbf")
add_custom_target(koravex_archive ALL DEPENDS ${KX_ARCHIVE_FILE})
add_dependencies(koravex_archive koravex_assets)
add_dependencies(koravex koravex_archive)
