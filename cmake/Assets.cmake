# Embeds every assets/*.png into hv_product as byte arrays (namespace AssetData, header
# AssetData.h in the generated folder). Regenerated whenever a PNG changes; a new PNG is picked up
# by the glob at the next configure.
file(GLOB HV_ASSET_FILES CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/assets/*.png")
set(HV_ASSET_OUTPUTS
  "${CMAKE_CURRENT_BINARY_DIR}/generated/AssetData.h"
  "${CMAKE_CURRENT_BINARY_DIR}/generated/AssetData.cpp")

add_custom_command(
  OUTPUT ${HV_ASSET_OUTPUTS}
  COMMAND ${CMAKE_COMMAND}
          "-DHV_ASSET_DIR=${CMAKE_CURRENT_SOURCE_DIR}/assets"
          "-DHV_OUTPUT_DIR=${CMAKE_CURRENT_BINARY_DIR}/generated"
          -P "${CMAKE_CURRENT_SOURCE_DIR}/cmake/EmbedAssets.cmake"
  DEPENDS ${HV_ASSET_FILES} "${CMAKE_CURRENT_SOURCE_DIR}/cmake/EmbedAssets.cmake"
  COMMENT "Embedding assets/*.png"
  VERBATIM)
target_sources(hv_product PRIVATE ${HV_ASSET_OUTPUTS})
