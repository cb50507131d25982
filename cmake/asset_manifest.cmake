# The archive's members as game/asset_manifest.h lists them, for the rules that make and pack them.
set(KX_ASSET_MANIFEST ${CMAKE_SOURCE_DIR}/game/asset_manifest.h)
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${KX_ASSET_MANIFEST})

# kx_archive_members(<variable> [<maker>]): the members' names in the manifest's order, only
# those the maker (Squares or Assetgen) writes when one is given.
function(kx_archive_members variable)
  file(STRINGS ${KX_ASSET_MANIFEST} rows
       REGEX "^ *[{]\"[^\"]+\", *[^,]+, *Maker::[A-Za-z]+, *Loader::[A-Za-z]+}")
  set(names "")
  foreach(row ${rows})
    string(REGEX MATCH "\"([^\"]+)\", *[^,]+, *Maker::([A-Za-z]+)" ignored "${row}")
    if(ARGC EQUAL 1 OR CMAKE_MATCH_2 STREQUAL ARGV1)
      list(APPEND names ${CMAKE_MATCH_1})
    endif()
  endforeach()
  if(NOT rows)
    message(FATAL_ERROR "No archive members found in ${KX_ASSET_MANIFEST}")
  endif()
  set(${variable} ${names} PARENT_SCOPE)
endfunction()
