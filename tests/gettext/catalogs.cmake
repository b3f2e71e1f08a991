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
  set(_outputs ${_catalogs}/sample-hashed.mo ${_catalogs}/sample-nohash.mo ${_catalogs}/sample-big.mo)

  # A catalog large enough that many ids share hash slots, so lookups walk
  # the probe sequence the GNU tools wrote.
  set(_many "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=CP1252\\n\"\n")
  foreach(_n RANGE 1 2000)
    string(APPEND _many "\nmsgid \"Message ${_n} of the station\"\nmsgstr \"Nachricht ${_n}\"\n")
  endforeach()
  file(CONFIGURE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/many.po CONTENT "${_many}")
  add_custom_command(
    OUTPUT ${_catalogs}/many-hashed.mo ${_catalogs}/many-nohash.mo ${_catalogs}/many-big.mo
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_catalogs}
    COMMAND ${KOVA_MSGFMT} -o ${_catalogs}/many-hashed.mo ${CMAKE_CURRENT_BINARY_DIR}/many.po
    COMMAND ${KOVA_MSGFMT} --no-hash -o ${_catalogs}/many-nohash.mo ${CMAKE_CURRENT_BINARY_DIR}/many.po
    COMMAND ${KOVA_MSGFMT} --endianness=big -o ${_catalogs}/many-big.mo ${CMAKE_CURRENT_BINARY_DIR}/many.po
    DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/many.po
    VERBATIM)
  list(APPEND _outputs ${_catalogs}/many-hashed.mo ${_catalogs}/many-nohash.mo ${_catalogs}/many-big.mo)

  # The station keeps each language's catalog in that language's code page.
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
