# Dialogs as data: tables, template bytes and the registry of dialogs (core),
# and the windowed part: fonts, dialog templates with their base units, the
# dialog builder, control notifications, the layout engine, layout dialogs,
# window geometry and dialog translation.
set(_dialogs_dir ${CMAKE_CURRENT_LIST_DIR})
target_sources(Rodezir PRIVATE
  ${_dialogs_dir}/DialogTable.cpp
  ${_dialogs_dir}/DialogTemplateCodec.cpp
  ${_dialogs_dir}/DialogRegistry.cpp)

kova_library(Rodezir_gui GUI
  SOURCES
    ${_dialogs_dir}/FontUtil.cpp
    ${_dialogs_dir}/DialogTemplate.cpp
    ${_dialogs_dir}/DialogItem.cpp
    ${_dialogs_dir}/DialogBuilder.cpp
    ${_dialogs_dir}/ControlNotifier.cpp
    ${_dialogs_dir}/DialogTranslation.cpp
    ${_dialogs_dir}/TemplateDialog.cpp
    ${_dialogs_dir}/LayoutDialog.cpp
    ${_dialogs_dir}/WindowGeometry.cpp
    ${_dialogs_dir}/WindowGroup.cpp
    ${_dialogs_dir}/LayoutItem.cpp
    ${_dialogs_dir}/BoxLayout.cpp
    ${_dialogs_dir}/LayoutSpacer.cpp
    ${_dialogs_dir}/ControlGroup.cpp
    ${_dialogs_dir}/FrameLayout.cpp
    ${_dialogs_dir}/AspectLayout.cpp
    ${_dialogs_dir}/AreaGroup.cpp
    ${_dialogs_dir}/MenuBuilder.cpp
  PUBLIC_LIBS Rodezir gettext_layer Qt6::Widgets)
