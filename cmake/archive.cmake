# Builds build/adatok.vbf, the archive the game reads all its assets from. Every member is
# generated at build time, as game/asset_manifest.h lists them; KX_ARCHIVE_MEMBERS holds their
# files, packed under their base names.

set(KX_ARCHIVE_FILE ${CMAKE_BINARY_DIR}/adatok.vbf)
include(${CMAKE_CURRENT_LIST_DIR}/asset_manifest.cmake)

# The board definition, derived from the squares' side vectors.
kx_archive_members(KX_SQUARES_MEMBERS Squares)
foreach(member ${KX_SQUARES_MEMBERS})
  add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/${member}
    COMMAND koravex-squares ${CMAKE_BINARY_DIR}/${member}
    DEPENDS koravex-squares
    COMMENT "Writing the board definition")
endforeach()

# Packed in the manifest's order, which is the order the game loads them in; the models and
# pictures are drawn by koravex-assetgen (tools/assetgen) into KX_ASSET_DIR.
kx_archive_members(KX_ALL_MEMBERS)
set(KX_ARCHIVE_MEMBERS "")
foreach(member ${KX_ALL_MEMBERS})
  if(member IN_LIST KX_SQUARES_MEMBERS)
    list(APPEND KX_ARCHIVE_MEMBERS ${CMAKE_BINARY_DIR}/${member})
  else()
    list(APPEND KX_ARCHIVE_MEMBERS ${KX_ASSET_DIR}/${member})
  endif()
endforeach()

add_custom_command(
  OUTPUT ${KX_ARCHIVE_FILE}
  COMMAND koravex-archive pack ${KX_ARCHIVE_FILE} ${KX_ARCHIVE_MEMBERS}
  DEPENDS koravex-archive ${KX_ARCHIVE_MEMBERS}
  COMMENT "Packing adatok.vbf")
add_custom_target(koravex_archive ALL DEPENDS ${KX_ARCHIVE_FILE})
add_dependencies(koravex_archive koravex_assets)
add_dependencies(koravex koravex_archive)
