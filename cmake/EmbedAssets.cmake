# Script mode: cmake -DHV_ASSET_DIR=<folder> -DHV_OUTPUT_DIR=<folder> -P EmbedAssets.cmake
# Writes AssetData.h and AssetData.cpp: for each <name>.png the array <name>_png and its size
# <name>_pngSize.
file(GLOB assets "${HV_ASSET_DIR}/*.png")
list(SORT assets)

set(byte "[0-9a-f][0-9a-f]")
string(REPEAT "${byte}" 24 line_of_bytes)

set(header "// Generated from assets/*.png by cmake/EmbedAssets.cmake; do not edit.\n#pragma once\n\n#include <cstddef>\n\nnamespace AssetData\n{\n")
set(source "// Generated from assets/*.png by cmake/EmbedAssets.cmake; do not edit.\n#include \"AssetData.h\"\n\nnamespace AssetData\n{\n")
foreach(asset IN LISTS assets)
  get_filename_component(name "${asset}" NAME)
  string(MAKE_C_IDENTIFIER "${name}" symbol)
  file(READ "${asset}" hex HEX)
  string(REGEX REPLACE "(${line_of_bytes})" "\\1\n" hex "${hex}")
  string(REGEX REPLACE "(${byte})" "0x\\1," hex "${hex}")
  string(APPEND header "extern const unsigned char ${symbol}[];\nextern const std::size_t ${symbol}Size;\n")
  string(APPEND source "const unsigned char ${symbol}[] = {\n${hex}\n};\nconst std::size_t ${symbol}Size = sizeof(${symbol});\n\n")
endforeach()
string(APPEND header "}\n")
string(APPEND source "}\n")

file(WRITE "${HV_OUTPUT_DIR}/AssetData.h" "${header}")
file(WRITE "${HV_OUTPUT_DIR}/AssetData.cpp" "${source}")
