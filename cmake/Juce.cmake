# The JUCE modules from Debian's juce-modules-source, compiled once as one static library.
set(HV_JUCE_MODULES_DIR "/usr/share/juce/modules" CACHE PATH "Folder holding the JUCE modules")
set(HV_JUCE_MODULES juce_core juce_events juce_data_structures juce_graphics juce_gui_basics juce_cryptography)

find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
pkg_check_modules(HV_JUCE_SYSLIBS REQUIRED IMPORTED_TARGET freetype2 libcurl libpng libjpeg zlib fontconfig)

set(_juce_sources)
foreach(module IN LISTS HV_JUCE_MODULES)
  list(APPEND _juce_sources "${HV_JUCE_MODULES_DIR}/${module}/${module}.cpp")
endforeach()

add_library(hv_juce STATIC ${_juce_sources})
target_include_directories(hv_juce SYSTEM PUBLIC "${HV_JUCE_MODULES_DIR}")
target_compile_definitions(hv_juce PUBLIC
  JUCE_GLOBAL_MODULE_SETTINGS_INCLUDED=1
  JUCE_STANDALONE_APPLICATION=1
  JUCE_USE_CURL=1
  JUCE_LOAD_CURL_SYMBOLS_LAZILY=0
  JUCE_WEB_BROWSER=0
  JUCE_MODAL_LOOPS_PERMITTED=1
  JUCE_DISPLAY_SPLASH_SCREEN=0
  JUCE_LOG_ASSERTIONS=1
  JUCE_DEBUG_XERRORS=0
  JUCE_CATCH_UNHANDLED_EXCEPTIONS=1
  JUCE_USE_XRANDR=1
  JUCE_USE_XINERAMA=1
  JUCE_USE_XCURSOR=1
  $<IF:$<CONFIG:Debug>,DEBUG=1 _DEBUG=1,NDEBUG=1>)
foreach(module IN LISTS HV_JUCE_MODULES)
  target_compile_definitions(hv_juce PUBLIC JUCE_MODULE_AVAILABLE_${module}=1)
endforeach()
target_compile_options(hv_juce PRIVATE -w)
target_link_libraries(hv_juce PUBLIC PkgConfig::HV_JUCE_SYSLIBS Threads::Threads ${CMAKE_DL_LIBS} rt)
