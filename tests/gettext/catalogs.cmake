# Message catalogs and the translation layer. The test catalogs are written
# by msgfmt at build time from the sources in po/, never kept as binaries.
if(KOVA_TESTS)
  find_program(KOVA_MSGFMT msgfmt REQUIRED)
  find_program(KOVA_MSGCONV msgconv REQUIRED)
  set(_catalogs ${CMAKE_CURRENT_BINARY_DIR}/catalogs)
  set(_po ${CMAKE_CURRENT_SOURCE_DIR}/po)

  add_custom_command(
    OUTPUT ${_catalogs}/sample-hashed.mo ${_catalogs}/sample-nohash.mo ${_catalogs}/sample-big.mo
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_catalogs}
    COMMAND ${KOVA_MSGFMT} --check -o ${_catalogs}/sample-hashed.mo ${_po}/sample.po
    COMMAND ${KOVA_MSGFMT} --check --no-hash -o ${_catalogs}/sample-nohash.mo ${_po}/sample.po
    COMMAND ${KOVA_MSGFMT} --check --endianness=big -o ${_catalogs}/sample-big.mo ${_po}/sample.po
    DEPENDS ${_po}/sample.po
    VERBATIM)

  # The station keeps each language's catalog in that language's code page.
  set(_outputs ${_catalogs}/sample-hashed.mo ${_catalogs}/sample-nohash.mo ${_catalogs}/sample-big.mo)
  foreach(_language_codepage IN ITEMS "ja;CP932" "pl;CP1250")
    list(GET _language_codepage 0 _language)
    list(GET _language_codepage 1 _codepage)
    add_custom_command(
      OUTPUT ${_catalogs}/${_language}.mo
      COMMAND ${CMAKE_COMMAND} -E make_directory ${_catalogs}
      COMMAND ${KOVA_MSGCONV} --to-code=${_codepage} -o ${_catalogs}/${_language}-${_codepage}.po ${_po}/${_language}.po
      COMMAND ${KOVA_MSGFMT} --check -o ${_catalogs}/${_language}.mo ${_catalogs}/${_language}-${_codepage}.po
      DEPENDS ${_po}/${_language}.po
      VERBATIM)
    list(APPEND _outputs ${_catalogs}/${_language}.mo)
  endforeach()
  add_custom_target(gettext_test_catalogs DEPENDS ${_outputs})

  kova_test(GettextTests
    SOURCES MoCatalogTest.cpp GettextTest.cpp CatalogBuilder.cpp
    LIBS gettext_layer)
  add_dependencies(GettextTests gettext_test_catalogs station_catalogs)
  target_compile_definitions(GettextTests PRIVATE
    KOVA_TEST_CATALOGS="${_catalogs}" KOVA_STATION_CATALOGS="${KOVA_STATION_CATALOGS}")
endif()

kova_fuzzer(MoCatalogFuzzer
  SOURCES MoCatalogFuzzer.cpp
  LIBS gettext_layer)
