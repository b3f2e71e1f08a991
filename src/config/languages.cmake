# The table of the languages a REV Evezodidaz controller can hold, shared by
# the configuration pages and the controller transfer.
target_sources(config PRIVATE LangStruct.cpp)
target_link_libraries(config PUBLIC gettext_layer)
