# Utility functions: command-line options, date texts, time values, files,
# aspect fitting, text line layout, resource headers, tool-tip texts and
# bitmaps (core); dialogs fitting the screen, combo-box and window-text
# helpers, bitmap drawing and the translation fit checker (windowed).
set(_utils_dir ${CMAKE_CURRENT_LIST_DIR})
target_sources(Rodezir PRIVATE
  ${_utils_dir}/Util.cpp
  ${_utils_dir}/DateText.cpp
  ${_utils_dir}/TextLines.cpp
  ${_utils_dir}/StringTokenizer.cpp
  ${_utils_dir}/ResourceHeader.cpp
  ${_utils_dir}/ToolTipText.cpp
  ${_utils_dir}/DibImage.cpp
  ${_utils_dir}/AviClip.cpp)

if(TARGET Rodezir_gui)
  target_sources(Rodezir_gui PRIVATE
    ${_utils_dir}/PainterTextDevice.cpp
    ${_utils_dir}/DialogUtil.cpp
    ${_utils_dir}/FitChecker.cpp
    ${_utils_dir}/WindowTextUtil.cpp
    ${_utils_dir}/ComboUtil.cpp
    ${_utils_dir}/BitmapDraw.cpp
    ${_utils_dir}/InitLanguage.cpp)
endif()
